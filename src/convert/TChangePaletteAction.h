#pragma once
// Moving a design to another palette, as one undoable action. Every colour in use is replaced
// by its nearest colour of the new palette (one search per colour, not per cell), in the cells,
// quarters, back stitches, French knots and placed Rhodes stitches; the design's colour table
// becomes the new palette. The action keeps both colour tables as values, so undo restores the
// old table exactly (also when the old palette is no longer in the catalogue).

#include "editing/TActions.h"
#include "editing/TUndoAction.h"

#include "core/StitchTypes.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <memory>

struct TChangePaletteInfo
{
    ColorKey oldColor = 0;
    ColorKey newColor = 0;
    qint32 ID = 0;
    QList<QPoint> points;
    QList<QPoint> Qpoints;
    QList<qint32> backstitches; // positions in DesignBackStitches
    QList<qint32> frenchKnots;  // positions in DesignFrenchKnots
    QList<qint32> rhodes;       // positions in DesignRhodes

    bool operator==(const TChangePaletteInfo&) const = default;
};

class TChangePaletteAction : public TUndoAction
{
public:
    // Records the change of `doc` to the catalogue palette `newPalette` without applying it;
    // Execute applies it. Null when the palette is not in the catalogue.
    static std::unique_ptr<TChangePaletteAction> prepare(const PatternDocument& doc,
                                                         const QString& newPalette);

    void Undo(PatternDocument& doc) override;
    void Execute(PatternDocument& doc) override;
    QString name() const override { return QStringLiteral("Change palette"); }

    QString fOldPalette;
    QString fNewPalette;
    QList<TChangePaletteInfo> fArr; // one per colour that was in use
    ColorTable fOldColors;          // the design's table before the change
    ColorTable fNewColors;          // the new palette as it was when the change was made

private:
    void apply(PatternDocument& doc, bool forward);
};

// Records and carries out a palette change. False (nothing recorded) when the palette is not
// in the catalogue.
inline bool changePalette(PatternDocument& doc, TActions& history, const QString& newPalette)
{
    auto action = TChangePaletteAction::prepare(doc, newPalette);
    if (!action)
        return false;
    history.recordAndExecute(std::move(action));
    return true;
}
