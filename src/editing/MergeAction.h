#pragma once
// Merge: the clipboard laid over the design at a top-left cell like a stencil, clipped at the
// design's edges. Non-empty clipboard cells replace the cell and empty its quarters, non-empty
// clipboard quarters then replace the quarter and empty its cell (where the block holds both,
// the quarters win); stitches that would leave the design are left out. Nothing outside the
// design is written.

#include "Clipboard.h"
#include "TUndoAction.h"

#include <QPoint>

class TActions;

class TFixAction : public TUndoAction
{
public:
    // Records the design under the block and the stitches that fit; Execute lays the block.
    TFixAction(const PatternDocument& doc, const TClipboard& clip, QPoint topLeft);
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Merge"); }

    QPoint fTopLeft;
    QImage fOldBitmap, fNewBitmap, fOldQBitmap, fNewQBitmap;
    TColor32 fOldBackground = 0; // empty cells of the old rasters
    TColor32 fNewBackground = 0; // empty cells of the clipboard's rasters
    // The stitches the merge appends, in design coordinates; Index: the position appended at.
    QList<TBackStitch> fBackStitches;
    std::vector<std::unique_ptr<TRhode>> fRhodes;
    QList<TFrenchKnot> fFrenchKnots;
};

// Records and carries out a merge of `clip` at `topLeft`; nothing for an empty clipboard.
void actionFix(PatternDocument& doc, TActions& history, const TClipboard& clip, QPoint topLeft);
