#pragma once
// Actions that change cells and quarters: a draw gesture, a fill, a colour replacement and a
// background change.

#include "CellRecord.h"
#include "TMode.h"
#include "TUndoAction.h"

#include "core/StitchTypes.h"

#include <QList>
#include <QPoint>

// Writes a recorded content into a cell or quarter: a value with a non-zero top byte is a
// background value and empties the point (with the background in force now).
void writeCellContent(PatternDocument& doc, QPoint p, quint32 content);
void writeQuarterContent(PatternDocument& doc, QPoint p, quint32 content);
void restoreCells(PatternDocument& doc, const CellRecord& record);
void restoreQuarters(PatternDocument& doc, const CellRecord& record);

// One press-drag-release of the draw or quarter-draw tool.
class TDrawAction : public TUndoAction
{
public:
    TDrawAction(TMode mode, const CellRecord& arrCross, quint32 newColor,
                const CellRecord& arrQuarter, quint32 backColor,
                const CellRecord& arrCrossFromQuarter);
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Draw"); }

    CellRecord fArrCross;
    CellRecord fArrQuarter;
    CellRecord fArrCrossFromQuarter;
    quint32 fNewColor;
    quint32 fBackColor;
    TMode fMode;
};

// A filled region: the cells that took the new colour, and the quarters emptied inside them.
class TFillAction : public TUndoAction
{
public:
    TFillAction(const QList<QPoint>& arr, quint32 oldColor, quint32 newColor,
                const CellRecord& quarterArray, quint32 backColor);
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Fill"); }

    QList<QPoint> fArr;
    quint32 fNewColor;
    quint32 fOldColor;
    quint32 fBackColor;
    CellRecord fQuarterArray;
};

// Every cell and back stitch of one colour recoloured with another.
class TReplaceColorAction : public TUndoAction
{
public:
    TReplaceColorAction(const QList<QPoint>& arr, const QList<TBackStitch>& arrBack,
                        quint32 oldColor, quint32 newColor);
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Replace color"); }

    QList<QPoint> fArr;
    QList<TBackStitch> fArrBack; // Index: position in the design's list
    quint32 fNewColor;
    quint32 fOldColor;

private:
    void apply(PatternDocument& doc, quint32 color);
};

// A new background colour: the empty cells and quarters take the new raw value.
class TChangeBackgroundAction : public TUndoAction
{
public:
    TChangeBackgroundAction(const QList<QPoint>& arr, const QList<QPoint>& arrQuarter,
                            quint32 oldColor, quint32 newColor);
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Background color"); }

    QList<QPoint> fArr;
    QList<QPoint> fArrQuarter;
    quint32 fNewColor;
    quint32 fOldColor;

private:
    void apply(PatternDocument& doc, quint32 color);
};
