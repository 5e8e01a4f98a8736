#include "DesignSettings.h"

#include "TChangePaletteAction.h"
#include "TReduceColorsAction.h"

#include "core/PatternDocument.h"
#include "editing/DesignLimits.h"
#include "editing/DimensionActions.h"
#include "editing/TActions.h"

DesignSettingsValues DesignSettingsValues::from(const PatternDocument& doc)
{
    const TStitch& st = doc.stitch();
    DesignSettingsValues v;
    v.paletteNames = st.ColorPalettes.keys();
    v.characterNames = st.characters.keys();
    v.palette = st.colorsname();
    v.characters = st.chars.CharsName;
    v.title = st.Title;
    v.comment = st.comment;
    v.len = Rnd(st.len * 1000);
    v.backLen = Rnd(st.backlen * 1000);
    v.baseLen = Rnd(st.baseLen * 1000);
    v.background = pixelToKey(st.BackGroundColor);
    const qint32 used = st.usedColors();
    v.colorsCount = used;
    v.colorsEnabled = used >= 2;
    v.colorsMinimum = v.colorsEnabled ? 1 : 0;
    v.colorsMaximum = used;
    v.width = doc.width();
    v.height = doc.height();
    return v;
}

QString designSettingsProblem(PatternDocument& doc, const DesignSettingsValues& chosen,
                              qint64 available)
{
    if (chosen.width == doc.width() && chosen.height == doc.height())
        return {};
    return changeDimensionsProblem(doc, chosen.width, chosen.height, available);
}

DesignSettingsResult applyDesignSettings(PatternDocument& doc, TActions& history,
                                         const DesignSettingsValues& shown,
                                         const DesignSettingsValues& chosen, qint64 available)
{
    TStitch& st = doc.stitch();
    DesignSettingsResult result;
    const int before = history.count();
    auto changed = [&] {
        result.changed = true;
        st.Change();
    };

    if (chosen.title != st.Title) {
        st.Title = chosen.title;
        result.titleChanged = true;
        changed();
    }
    if (chosen.comment.join(QLatin1Char('\n')) != st.comment.join(QLatin1Char('\n'))) {
        st.comment = chosen.comment;
        changed();
    }
    const struct { qint32 shownValue, chosenValue; double* field; } lengths[] = {
        {shown.len, chosen.len, &st.len},
        {shown.backLen, chosen.backLen, &st.backlen},
        {shown.baseLen, chosen.baseLen, &st.baseLen},
    };
    for (const auto& l : lengths) {
        const double value = l.chosenValue / 1000.0;
        if (l.chosenValue != l.shownValue && value != *l.field) {
            *l.field = value;
            changed();
        }
    }

    if (keyToBackground(chosen.background) != st.BackGroundColor) {
        const TBackgroundChange change = doc.changeBackgroundColor(chosen.background);
        if (change.changed) {
            history.actionChangebackgroundColor(change.crossPoints, change.quarterPoints,
                                                change.oldColor, change.newColor);
            changed();
        }
    }
    if (chosen.characters != st.chars.CharsName && doc.changeCharacters(chosen.characters)) {
        result.symbolsChanged = true;
        changed();
    }
    if (chosen.palette != st.colorsname() && changePalette(doc, history, chosen.palette))
        changed();
    if (chosen.colorsEnabled && chosen.colorsCount < st.usedColors()
        && reduceColors(doc, history, chosen.colorsCount))
        changed();
    if (chosen.width != doc.width() || chosen.height != doc.height()) {
        actionChangeDimensions(doc, history, chosen.width, chosen.height, available);
        changed();
    }

    result.actions = history.count() - before;
    if (result.changed)
        doc.CalcColorUsage();
    return result;
}
