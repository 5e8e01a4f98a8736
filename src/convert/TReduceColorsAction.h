#pragma once
// Reducing a design to its N most used colours, as one undoable action. Every other colour in
// use is replaced by its nearest kept colour in the cells, quarters, back stitches, French knots
// and placed Rhodes stitches, through the document's operations, so every count stays exact
// at once. The replaced colours stay in the colour table, unused.

#include "editing/TActions.h"
#include "editing/TUndoAction.h"

#include "core/StitchTypes.h"

#include <QList>
#include <QPoint>
#include <memory>

struct TReduceColorsInfo
{
    ColorKey oldColor = 0;
    ColorKey newColor = 0;
    QList<QPoint> points;
    QList<QPoint> qpoints;
    QList<qint32> backstitches; // positions in DesignBackStitches
    QList<qint32> frenchKnots;  // positions in DesignFrenchKnots
    QList<qint32> rhodes;       // positions in DesignRhodes

    bool operator==(const TReduceColorsInfo&) const = default;
};

class TReduceColorsAction : public TUndoAction
{
public:
    // Records the reduction of `doc` to `newCount` colours without applying it; Execute applies
    // it. The colours in use are ranked by count; of equal counts the one earlier in the colour
    // table stays. Null when nothing would change (newCount below 1, or not below the number
    // of colours in use).
    static std::unique_ptr<TReduceColorsAction> prepare(const PatternDocument& doc, int newCount);

    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Reduce colors"); }

    QList<TReduceColorsInfo> fArr; // one per replaced colour, least used first

private:
    void apply(PatternDocument& doc, bool forward);
};

// Records and carries out a colour reduction. False (nothing recorded) when nothing changes.
inline bool reduceColors(PatternDocument& doc, TActions& history, int newCount)
{
    auto action = TReduceColorsAction::prepare(doc, newCount);
    if (!action)
        return false;
    history.recordAndExecute(std::move(action));
    return true;
}
