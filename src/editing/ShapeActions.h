#pragma once
// Actions of the shape tools: the cells of a line, rectangle, circle or border painted in one
// colour, and the back stitches an outline click laid.

#include "CellRecord.h"
#include "TUndoAction.h"

#include "core/StitchTypes.h"

#include <QList>
#include <QPoint>

// A figure painted in one colour. Made from the design as it is before the figure: it records
// each listed cell's content (a cell listed twice once, cells outside the design not at all)
// and each non-empty quarter of those cells; Execute paints the cells and empties the quarters.
// A filled figure may hold a million cells: the records are plain lists, each point once.
class TLineAction : public TUndoAction
{
public:
    using Entry = CellRecord::Entry;

    TLineAction(const PatternDocument& doc, const QList<QPoint>& points, quint32 newColor);
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Line"); }

    QList<Entry> fArrPoints;
    QList<Entry> fArrQPoints;
    quint32 fNewColor;
};

// The back stitches of one outline click, each with the position it was appended at.
class TOutlineAction : public TUndoAction
{
public:
    TOutlineAction(const QList<TBackStitch>& arr, quint32 newColor);
    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Outline"); }

    QList<TBackStitch> fArr;
    quint32 fNewColor;
};
