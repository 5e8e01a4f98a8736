#pragma once
// Changes of the design's size: empty columns or rows inserted at a place, and a new width and
// height. Both are undo actions that play their change both ways; the free functions check the
// size first and refuse (QuillError with a message ready to show) before anything changes.
//
// What moves with an insertion: cells and quarters of the clicked column (row) and beyond; every
// back-stitch end point beyond the insertion line, each end on its own (a stitch crossing the
// line is stretched); French knots beyond the line; Rhodes stitches lying wholly on or beyond
// the line, as a whole. A size change drops the cells, quarters, back stitches, French knots and
// Rhodes stitches that reach beyond the new size and keeps them for its undo.

#include "TUndoAction.h"

#include "core/StitchTypes.h"

#include <QImage>
#include <QList>
#include <memory>
#include <vector>

class TActions;

enum TInsertType { itColumn, itRow };

// `fCount` empty columns (rows) inserted before column (row) `fPosition`.
class TInsertAction : public TUndoAction
{
public:
    TInsertAction(int position, TInsertType insertType, int count)
        : fPosition(position), fInsertType(insertType), fCount(count) {}
    // Both throw QuillError, with the design unchanged, when the new rasters cannot be made.
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Insert"); }

    qint32 fPosition;
    TInsertType fInsertType;
    qint32 fCount;

private:
    void apply(PatternDocument& doc, bool insert);
};

// A new width and height. The cut-off cells and quarters are kept as the two strips that lie
// beyond the new size (right of it over the whole height, below it over the kept width); the
// removed stitches with the positions they had, in order of removal (descending position).
class TChangeDimensionsAction : public TUndoAction
{
public:
    TChangeDimensionsAction(int oldWidth, int oldHeight, int newWidth, int newHeight,
                            TColor32 backGroundColor)
        : fBackGroundColor(backGroundColor), fNewWidth(newWidth), fNewHeight(newHeight),
          fOldWidth(oldWidth), fOldHeight(oldHeight) {}
    // Both throw QuillError, with the design unchanged, when the new rasters cannot be made.
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Change dimensions"); }

    // The cut-off content: cells right of the new width (all rows) and below the new height
    // (kept columns), the same for quarters at double scale. Null where nothing is cut off.
    QImage fRightCells, fBottomCells, fRightQuarters, fBottomQuarters;
    // The removed stitches as they were, and beside them the position each had when removed.
    QList<TBackStitch> fArrBack;
    QList<TFrenchKnot> fArrKnots;
    std::vector<std::unique_ptr<TRhode>> fArrRhodes;
    QList<qint32> fBackPositions, fKnotPositions, fRhodePositions;
    TColor32 fBackGroundColor;
    qint32 fNewWidth, fNewHeight, fOldWidth, fOldHeight;
};

// Records and carries out an insertion of `count` columns or rows before `position` (0 to the
// width or height). Throws QuillError (nothing changed, nothing recorded) when the result would
// exceed the largest design size or the memory; `available` is the free memory to assume
// (-1: ask the system).
void actionInsert(PatternDocument& doc, TActions& history, int position, TInsertType type,
                  int count, qint64 available = -1);

// Records and carries out a size change to `newWidth` x `newHeight`; nothing happens for the
// current size. Throws QuillError (nothing changed, nothing recorded) for a size outside 1 to
// the largest design size or beyond the memory.
void actionChangeDimensions(PatternDocument& doc, TActions& history, int newWidth, int newHeight,
                            qint64 available = -1);

// Empty when the design can take the size `newWidth` x `newHeight`; otherwise the translated
// message saying why not (what actionChangeDimensions would refuse with).
QString changeDimensionsProblem(PatternDocument& doc, int newWidth, int newHeight,
                                qint64 available = -1);
