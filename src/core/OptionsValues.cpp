#include "OptionsValues.h"

#include "Product.h"
#include "TStitch.h"

#include <algorithm>

namespace {

template <qint32 TStitch::*member>
qint32& field(TStitch& st)
{
    return st.*member;
}

template <qint32 TPrintSettings::*member>
qint32& printField(TStitch& st)
{
    return st.print.*member;
}

} // namespace

const QList<OptionNumberDef>& optionNumbers()
{
    using N = OptionNumber;
    static const QList<OptionNumberDef> defs = {
        {N::ThickLines, "EThickLines", 0, 100, field<&TStitch::thickLines>},
        {N::MediumLines, "eMediumLines", 0, 100, field<&TStitch::mediumLines>},
        {N::ThinLines, "EThinLines", 0, 100, field<&TStitch::thinLines>},
        {N::BackstitchLines, "EBackStitchLine", 0, 100, field<&TStitch::backstitchLines>},
        {N::SymbolSize, "ESymboleSize", 30, 300, field<&TStitch::symbolSize>},
        {N::BorderTop, "EBorderTop", 0, 100, printField<&TPrintSettings::BorderTop>},
        {N::BorderLeft, "EBorderLeft", 0, 100, printField<&TPrintSettings::BorderLeft>},
        {N::BorderRight, "EBorderRight", 0, 100, printField<&TPrintSettings::BorderRight>},
        {N::BorderBottom, "EBorderBottom", 0, 100, printField<&TPrintSettings::BorderBottom>},
        {N::LabelGridHor, "EditLabelGridHor", 0, 1000, field<&TStitch::LabelGridHor>},
        {N::LabelGridVert, "EditLabelGridVert", 0, 1000, field<&TStitch::LabelGridVert>},
        {N::LabelBorderTop, "EditLabelBorderTop", 0, 1000, field<&TStitch::LabelBorderTop>},
        {N::LabelBorderBottom, "EditLabelBorderBottom", 0, 1000, field<&TStitch::LabelBorderBottom>},
        {N::LabelBorderLeft, "EditLabelBorderLeft", 0, 1000, field<&TStitch::LabelBorderLeft>},
        {N::LabelBorderRight, "EditLabelBorderRight", 0, 1000, field<&TStitch::LabelBorderRight>},
        {N::LabelWidth, "EditLabelWidth", 0, 3000, field<&TStitch::LabelWidth>},
        {N::LabelHeight, "EditLabelHeight", 0, 2500, field<&TStitch::LabelHeight>},
        {N::PrintPosTop, "EPrintTop", -100, 100, field<&TStitch::PrintPosTop>},
        {N::PrintPosLeft, "EPrintLeft", -100, 100, field<&TStitch::PrintPosLeft>},
        {N::BagSize, "EBagsSize", 1, 10000, field<&TStitch::BagSize>},
        {N::LegendDistance, "EditDistance", 1, 10000, field<&TStitch::LegendDistance>},
    };
    return defs;
}

const OptionNumberDef& optionNumber(OptionNumber id)
{
    return optionNumbers().at(qsizetype(id));
}

OptionsValues OptionsValues::from(TStitch& st)
{
    OptionsValues v;
    v.paletteNames = st.ColorPalettes.keys();
    v.characterNames = st.characters.keys();
    v.palette = st.defaultPalette;
    v.characters = st.defaultCharacters;
    v.libraryPath = st.libraryPath;
    v.defaultTitle = st.DefaultTitle;
    v.subTitle = st.translate(st.SubTitle);
    v.bookInfo = st.BookInfo;
    v.checkForUpdates = st.checkForUpdates;
    v.allowQuarterOverCross = st.AllowQuarterOverCross;
    for (const OptionNumberDef& d : optionNumbers())
        v.number(d.id) = std::clamp<qint32>(d.field(st), d.minimum, d.maximum);
    return v;
}

void OptionsValues::setDefaults(TStitch& st)
{
    using N = OptionNumber;
    const struct { N id; qint32 value; } defaults[] = {
        {N::BorderTop, 15}, {N::BorderLeft, 10}, {N::BorderBottom, 15}, {N::BorderRight, 10},
        {N::ThickLines, 50}, {N::MediumLines, 20}, {N::ThinLines, 1},
        {N::BackstitchLines, 60}, {N::SymbolSize, 100},
        {N::PrintPosTop, 0}, {N::PrintPosLeft, 0}, {N::BagSize, 200}, {N::LegendDistance, 5},
    };
    for (const auto& d : defaults)
        number(d.id) = d.value;
    checkForUpdates = true;
    allowQuarterOverCross = false;
    subTitle = st.translate(Product::kDefaultSubtitle);
}

bool OptionsValues::applyTo(TStitch& st) const
{
    st.defaultPalette = palette;
    st.defaultCharacters = characters;
    st.DefaultTitle = defaultTitle;
    bool titled = false;
    if (st.Title.isEmpty() && !defaultTitle.isEmpty()) {
        st.Title = defaultTitle;
        titled = true;
    }
    if (subTitle == st.translate(st.SubTitle)) {
        // shown as it was: the stored text stays
    } else if (subTitle == st.translate(Product::kDefaultSubtitle)) {
        st.SubTitle = Product::kDefaultSubtitle;
    } else {
        st.SubTitle = subTitle;
    }
    for (const OptionNumberDef& d : optionNumbers())
        d.field(st) = std::clamp<qint32>(number(d.id), d.minimum, d.maximum);
    st.AllowQuarterOverCross = allowQuarterOverCross;
    st.BookInfo = bookInfo;
    st.libraryPath = libraryPath;
    st.checkForUpdates = checkForUpdates;
    if (titled)
        st.Change();
    return titled;
}
