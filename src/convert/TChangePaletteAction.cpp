#include "TChangePaletteAction.h"

#include "ColorMatch.h"
#include "ColorUses.h"

#include "core/PatternDocument.h"

#include <QHash>

std::unique_ptr<TChangePaletteAction> TChangePaletteAction::prepare(const PatternDocument& doc,
                                                                    const QString& newPalette)
{
    const TStitch& st = doc.stitch();
    const ColorTable* palette = st.ColorPalettes.find(newPalette);
    if (!palette)
        return nullptr;
    auto a = std::make_unique<TChangePaletteAction>();
    a->fOldPalette = st.fcolorsName;
    a->fNewPalette = newPalette;
    a->fOldColors = st.Colors;
    a->fNewColors = *palette;

    // One search per colour in use; the position of its record by colour.
    QHash<ColorKey, int> recordOf;
    for (const auto& [key, info] : st.Colors) {
        if (info.colorCount < 1)
            continue;
        TChangePaletteInfo r;
        r.oldColor = key;
        r.newColor = nearestColor(key, *palette);
        recordOf.insert(key, int(a->fArr.size()));
        a->fArr.append(r);
    }
    collectColorUses(doc, recordOf, a->fArr, &TChangePaletteInfo::points, &TChangePaletteInfo::Qpoints);
    return a;
}

void TChangePaletteAction::apply(PatternDocument& doc, bool forward)
{
    TStitch& st = doc.stitch();
    for (const TChangePaletteInfo& r : fArr) {
        const ColorKey c = forward ? r.newColor : r.oldColor;
        const TColor32 pixel = keyToPixel(c);
        // Written directly: the recount below sets every count.
        for (const QPoint& p : r.points) {
            if (doc.CrossCells.valid(p))
                reinterpret_cast<TColor32*>(doc.CrossCells.scanLine(p.y()))[p.x()] = pixel;
        }
        for (const QPoint& p : r.Qpoints) {
            if (doc.QuarterCells.valid(p))
                reinterpret_cast<TColor32*>(doc.QuarterCells.scanLine(p.y()))[p.x()] = pixel;
        }
        for (qint32 i : r.backstitches) {
            if (i >= 0 && i < doc.DesignBackStitches.size())
                doc.DesignBackStitches[i].Color = c;
        }
        for (qint32 i : r.frenchKnots) {
            if (i >= 0 && i < doc.DesignFrenchKnots.size())
                doc.DesignFrenchKnots[i].Color = c;
        }
        for (qint32 i : r.rhodes) {
            if (i >= 0 && i < int(doc.DesignRhodes.size()))
                doc.DesignRhodes[size_t(i)]->color = c;
        }
    }
    st.Colors = forward ? fNewColors : fOldColors;
    for (auto& [key, info] : st.Colors) {
        info.colorCount = 0;
        info.quarterStitchesCount = 0;
        info.backStitchesCount = 0;
    }
    st.setColorsname(forward ? fNewPalette : fOldPalette);
    const ColorKey draw = nearestColor(st.fdrawcolor, st.Colors);
    if (draw != kNoColor)
        st.setDrawcolor(draw);

    doc.ColorSymbolsList.clear();
    st.chars.clearCharsused();
    st.chars.Rebuild(st.Colors);
    doc.rebuildColorSymbols();
    doc.CalcColorUsage();
    // The history refreshes the observers once after every Execute and Undo.
}

void TChangePaletteAction::Execute(PatternDocument& doc)
{
    apply(doc, true);
}

void TChangePaletteAction::Undo(PatternDocument& doc)
{
    apply(doc, false);
}
