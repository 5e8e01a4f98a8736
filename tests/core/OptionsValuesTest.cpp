// The options: what the dialog shows, "Default", and OK reaching the settings file so that a
// new start reads the changed values.
#include "core/OptionsValues.h"
#include "core/Product.h"
#include "core/SettingsStore.h"
#include "core/TStitch.h"
#include "session/Session.h"
#include "support/ShippedSession.h"

#include <gtest/gtest.h>

namespace {

using N = OptionNumber;

// A value of each field's range that no first run writes: the maximum minus the field's
// position, so the fields differ from each other.
qint32 changedValue(const OptionNumberDef& d)
{
    return d.maximum - int(d.id);
}

TEST(OptionsValues, TheTableCoversEveryNumberOnce)
{
    ASSERT_EQ(optionNumbers().size(), int(N::Count));
    for (int i = 0; i < int(N::Count); ++i) {
        EXPECT_EQ(int(optionNumbers().at(i).id), i);
        EXPECT_LT(optionNumbers().at(i).minimum, optionNumbers().at(i).maximum);
    }
    // Each entry edits a field of its own.
    TStitch st;
    for (const OptionNumberDef& d : optionNumbers())
        d.field(st) = -1000;
    for (const OptionNumberDef& d : optionNumbers()) {
        d.field(st) = int(d.id);
        for (const OptionNumberDef& other : optionNumbers()) {
            if (other.id != d.id) {
                EXPECT_NE(other.field(st), int(d.id)) << d.control << " and " << other.control;
            }
        }
        d.field(st) = -1000;
    }
}

TEST(OptionsValues, ChangedOptionsSurviveARestart)
{
    std::unique_ptr<Session> session = testsupport::startShippedSession();
    TStitch& st = session->stitch();
    OptionsValues v = OptionsValues::from(st);
    ASSERT_GE(v.paletteNames.size(), 2);
    ASSERT_GE(v.characterNames.size(), 1);
    EXPECT_EQ(v.palette, st.defaultPalette);
    v.palette = v.paletteNames.last();
    v.characters = v.characterNames.last();
    v.libraryPath = QStringLiteral("/motifs/mine/");
    v.defaultTitle = QStringLiteral("Untitled rose");
    v.subTitle = QStringLiteral("Made at home");
    v.bookInfo = QStringLiteral("<p>Stitched by <b>Anna</b></p>");
    v.checkForUpdates = !v.checkForUpdates;
    v.allowQuarterOverCross = !v.allowQuarterOverCross;
    for (const OptionNumberDef& d : optionNumbers())
        v.number(d.id) = changedValue(d);
    v.applyTo(st);
    ASSERT_TRUE(session->writeSettings());
    const QString file = session->settings().fileName();
    session.reset();

    // A new start reads the file again.
    SettingsStore store(file);
    TStitch again;
    again.ReadGeneralSettings(store);
    OptionsValues read = OptionsValues::from(again);
    read.paletteNames = v.paletteNames;
    read.characterNames = v.characterNames;
    EXPECT_EQ(read.palette, v.palette);
    EXPECT_EQ(read.characters, v.characters);
    EXPECT_EQ(read.libraryPath, v.libraryPath);
    EXPECT_EQ(read.defaultTitle, v.defaultTitle);
    EXPECT_EQ(read.subTitle, v.subTitle);
    EXPECT_EQ(read.bookInfo, v.bookInfo);
    EXPECT_EQ(read.checkForUpdates, v.checkForUpdates);
    EXPECT_EQ(read.allowQuarterOverCross, v.allowQuarterOverCross);
    for (const OptionNumberDef& d : optionNumbers())
        EXPECT_EQ(read.number(d.id), changedValue(d)) << d.control;
    EXPECT_EQ(read, v);
}

TEST(OptionsValues, DefaultSetsTheFixedValuesOnly)
{
    TStitch st;
    OptionsValues v = OptionsValues::from(st);
    for (const OptionNumberDef& d : optionNumbers())
        v.number(d.id) = changedValue(d);
    v.checkForUpdates = false;
    v.allowQuarterOverCross = true;
    v.subTitle = QStringLiteral("mine");
    v.defaultTitle = QStringLiteral("kept");
    const OptionsValues before = v;
    v.setDefaults(st);
    const struct { N id; qint32 value; } fixed[] = {
        {N::BorderTop, 15}, {N::BorderLeft, 10}, {N::BorderBottom, 15}, {N::BorderRight, 10},
        {N::ThickLines, 50}, {N::MediumLines, 20}, {N::ThinLines, 1}, {N::BackstitchLines, 60},
        {N::SymbolSize, 100}, {N::PrintPosTop, 0}, {N::PrintPosLeft, 0}, {N::BagSize, 200},
        {N::LegendDistance, 5}};
    OptionsValues expected = before;
    for (const auto& f : fixed)
        expected.number(f.id) = f.value;
    expected.checkForUpdates = true;
    expected.allowQuarterOverCross = false;
    expected.subTitle = Product::kDefaultSubtitle;
    EXPECT_EQ(v, expected); // the labels, titles, lists and path untouched
}

TEST(OptionsValues, AnUntitledDesignTakesTheDefaultTitle)
{
    struct Case { const char* title; const char* defaultTitle; const char* result; bool titled; };
    const Case cases[] = {
        {"", "Rose", "Rose", true},
        {"Tulip", "Rose", "Tulip", false},
        {"", "", "", false},
    };
    for (const Case& c : cases) {
        TStitch st;
        st.Title = QString::fromLatin1(c.title);
        st.setFileSaved(true);
        OptionsValues v = OptionsValues::from(st);
        v.defaultTitle = QString::fromLatin1(c.defaultTitle);
        EXPECT_EQ(v.applyTo(st), c.titled) << c.title;
        EXPECT_EQ(st.Title, QString::fromLatin1(c.result));
        EXPECT_EQ(st.DefaultTitle, QString::fromLatin1(c.defaultTitle));
        EXPECT_EQ(st.fileSaved(), !c.titled) << c.title;
    }
}

TEST(OptionsValues, TheSubtitleKeepsItsKeyUnlessEdited)
{
    // Shown translated; stored untranslated when it was left as shown or set by "Default",
    // so that the printed subtitle follows the language.
    TStitch st;
    const QString german = QStringLiteral("Erstellt mit KORVALD Quillmark");
    st.Language.insert(Product::kDefaultSubtitle, german);
    st.SubTitle = Product::kDefaultSubtitle;
    OptionsValues v = OptionsValues::from(st);
    EXPECT_EQ(v.subTitle, german);
    v.applyTo(st);
    EXPECT_EQ(st.SubTitle, Product::kDefaultSubtitle);

    v.subTitle = QStringLiteral("Eigenes Werk");
    v.applyTo(st);
    EXPECT_EQ(st.SubTitle, QStringLiteral("Eigenes Werk"));

    v = OptionsValues::from(st);
    v.setDefaults(st);
    EXPECT_EQ(v.subTitle, german);
    v.applyTo(st);
    EXPECT_EQ(st.SubTitle, Product::kDefaultSubtitle);
}

TEST(OptionsValues, NumbersStayWithinTheirRanges)
{
    TStitch st;
    for (const OptionNumberDef& d : optionNumbers())
        d.field(st) = d.maximum + 5;
    OptionsValues v = OptionsValues::from(st);
    for (const OptionNumberDef& d : optionNumbers())
        EXPECT_EQ(v.number(d.id), d.maximum) << d.control;
    for (const OptionNumberDef& d : optionNumbers())
        v.number(d.id) = d.minimum - 5;
    v.applyTo(st);
    for (const OptionNumberDef& d : optionNumbers())
        EXPECT_EQ(d.field(st), d.minimum) << d.control;
}

} // namespace
