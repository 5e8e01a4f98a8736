// The design settings applied to a small design: each change reaches the design, the ones the
// history records are undone exactly, the others are plain changes; untouched values change
// nothing, and a size the design cannot take is refused before anything changes.
#include "convert/DesignSettings.h"

#include "editing/TActions.h"
#include "support/SmallDesign.h"

#include <QJsonArray>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

// A 6 x 4 design of the small palette with a second palette and a second symbol set in the
// catalogues; saved.
struct Scene
{
    Scene()
    {
        // A second palette (a darker red and a light grey) and a second symbol set.
        ColorTable other;
        const ColorKey keys[] = {makeColorKey(200, 0, 0), makeColorKey(230, 230, 230)};
        for (int i = 0; i < 2; ++i) {
            TColorInfo e;
            e.colorID = QString::number(900 + i);
            e.colorName = QStringLiteral("Other %1").arg(i);
            e.charID = i;
            e.orderID = i;
            e.matchColor = keys[i];
            other.insert(keys[i], e);
        }
        d.stitch.ColorPalettes.insert(QStringLiteral("Other"), other);
        TCharacterInfo set = *d.stitch.characters.find(QStringLiteral("Shapes"));
        set.Name = QStringLiteral("Reversed");
        std::reverse(set.characters.begin(), set.characters.end());
        d.stitch.characters.insert(set.Name, set);

        // Red in five cells, green in three, blue in one, white in a quarter; saved.
        for (int x = 0; x < 5; ++x)
            d.doc.updatePixel(x, 0, kRed, false);
        for (int x = 0; x < 3; ++x)
            d.doc.updatePixel(x, 1, kGreen, false);
        d.doc.updatePixel(5, 3, kBlue, false);
        d.doc.updateQPixel(1, 5, kWhite, false);
        d.doc.CalcColorUsage();
        d.stitch.Title = QStringLiteral("Roses");
        d.stitch.comment = {QStringLiteral("first line"), QStringLiteral("second line")};
        d.stitch.len = 0.0123;
        d.stitch.backlen = 0.02;
        d.stitch.baseLen = 0.5;
        d.stitch.setFileSaved(true);
        EXPECT_EQ(d.doc.checkInvariant().toStdString(), "");
    }

    SmallDesign d{6, 4};
    TActions history{d.doc};
};

class DesignSettingsTest : public ::testing::Test
{
protected:
    Scene scene;
    SmallDesign& d = scene.d;
    TActions& history = scene.history;
};

TEST_F(DesignSettingsTest, ShowsTheDesign)
{
    const DesignSettingsValues v = DesignSettingsValues::from(d.doc);
    EXPECT_EQ(v.palette, QStringLiteral("Small"));
    EXPECT_EQ(v.characters, QStringLiteral("Shapes"));
    EXPECT_EQ(v.paletteNames, d.stitch.ColorPalettes.keys());
    EXPECT_EQ(v.characterNames, d.stitch.characters.keys());
    EXPECT_EQ(v.title, QStringLiteral("Roses"));
    EXPECT_EQ(v.comment, d.stitch.comment);
    EXPECT_EQ(v.len, 12);
    EXPECT_EQ(v.backLen, 20);
    EXPECT_EQ(v.baseLen, 500);
    EXPECT_EQ(v.background, kWhite);
    EXPECT_EQ(v.colorsCount, 4);
    EXPECT_EQ(v.colorsMinimum, 1);
    EXPECT_EQ(v.colorsMaximum, 4);
    EXPECT_TRUE(v.colorsEnabled);
    EXPECT_EQ(v.width, 6);
    EXPECT_EQ(v.height, 4);
}

TEST_F(DesignSettingsTest, BelowTwoColoursTheCountIsFixed)
{
    struct Case { int used; int minimum; bool enabled; };
    for (const Case c : {Case{0, 0, false}, Case{1, 0, false}, Case{2, 1, true}}) {
        SmallDesign small(3, 1);
        const ColorKey colours[] = {kRed, kGreen};
        for (int i = 0; i < c.used; ++i)
            small.doc.updatePixel(i, 0, colours[i], false);
        const DesignSettingsValues v = DesignSettingsValues::from(small.doc);
        EXPECT_EQ(v.colorsCount, c.used) << c.used;
        EXPECT_EQ(v.colorsMinimum, c.minimum) << c.used;
        EXPECT_EQ(v.colorsMaximum, c.used) << c.used;
        EXPECT_EQ(v.colorsEnabled, c.enabled) << c.used;
    }
}

TEST_F(DesignSettingsTest, OkWithoutChangesChangesNothing)
{
    const QJsonObject before = snapshot(d.doc);
    const DesignSettingsValues shown = DesignSettingsValues::from(d.doc);
    const DesignSettingsResult r = applyDesignSettings(d.doc, history, shown, shown);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ(r.actions, 0);
    EXPECT_TRUE(d.stitch.fileSaved());
    EXPECT_EQ(snapshot(d.doc), before);
    // The stored thread lengths survive, also where the field shows them rounded.
    EXPECT_EQ(d.stitch.len, 0.0123);
    EXPECT_EQ(d.stitch.backlen, 0.02);
    EXPECT_EQ(d.stitch.baseLen, 0.5);
}

TEST_F(DesignSettingsTest, EachChangeReachesTheDesignAndUndoRestoresIt)
{
    struct Case
    {
        const char* name;
        std::function<void(DesignSettingsValues&)> edit;
        std::function<void(SmallDesign&)> check; // the design after the change
        int actions;                 // recorded in the history (0: a plain change)
    };
    const Case cases[] = {
        {"title", [](DesignSettingsValues& v) { v.title = QStringLiteral("Tulips"); },
         [](SmallDesign& d) { EXPECT_EQ(d.stitch.Title, QStringLiteral("Tulips")); }, 0},
        {"comment", [](DesignSettingsValues& v) { v.comment = {QStringLiteral("only line")}; },
         [](SmallDesign& d) { EXPECT_EQ(d.stitch.comment, QStringList{QStringLiteral("only line")}); }, 0},
        {"empty comment", [](DesignSettingsValues& v) { v.comment.clear(); },
         [](SmallDesign& d) { EXPECT_TRUE(d.stitch.comment.isEmpty()); }, 0},
        {"thread lengths",
         [](DesignSettingsValues& v) { v.len = 15; v.backLen = 25; v.baseLen = 300; },
         [](SmallDesign& d) {
             EXPECT_EQ(d.stitch.len, 0.015);
             EXPECT_EQ(d.stitch.backlen, 0.025);
             EXPECT_EQ(d.stitch.baseLen, 0.3);
         }, 0},
        {"symbol set", [](DesignSettingsValues& v) { v.characters = QStringLiteral("Reversed"); },
         [](SmallDesign& d) {
             EXPECT_EQ(d.stitch.chars.CharsName, QStringLiteral("Reversed"));
             EXPECT_EQ(d.stitch.chars.fcharacters.at(0), QChar(0xA6));
         }, 0},
        {"background", [](DesignSettingsValues& v) { v.background = makeColorKey(10, 20, 30); },
         [](SmallDesign& d) {
             EXPECT_EQ(d.stitch.BackGroundColor, keyToBackground(makeColorKey(10, 20, 30)));
             EXPECT_EQ(d.doc.CrossCells.pixel(5, 2), keyToBackground(makeColorKey(10, 20, 30)));
         }, 1},
        {"palette", [](DesignSettingsValues& v) { v.palette = QStringLiteral("Other"); },
         [](SmallDesign& d) {
             EXPECT_EQ(d.stitch.colorsname(), QStringLiteral("Other"));
             EXPECT_EQ(pixelToKey(d.doc.CrossCells.pixel(0, 0)), makeColorKey(200, 0, 0));
         }, 1},
        {"colours count", [](DesignSettingsValues& v) { v.colorsCount = 2; },
         [](SmallDesign& d) {
             EXPECT_EQ(d.stitch.usedColors(), 2);
             EXPECT_EQ(pixelToKey(d.doc.CrossCells.pixel(0, 1)), kGreen);
             EXPECT_NE(pixelToKey(d.doc.CrossCells.pixel(5, 3)), kBlue);
         }, 1},
        {"size", [](DesignSettingsValues& v) { v.width = 4; v.height = 7; },
         [](SmallDesign& d) {
             EXPECT_EQ(d.doc.width(), 4);
             EXPECT_EQ(d.doc.height(), 7);
             EXPECT_EQ(d.stitch.Colors.value(kRed).colorCount, 4);
         }, 1},
        {"palette, reduction and size together",
         [](DesignSettingsValues& v) {
             v.palette = QStringLiteral("Other");
             v.colorsCount = 1;
             v.width = 3;
         },
         [](SmallDesign& d) {
             EXPECT_EQ(d.stitch.colorsname(), QStringLiteral("Other"));
             EXPECT_EQ(d.stitch.usedColors(), 1);
             EXPECT_EQ(d.doc.width(), 3);
         }, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Scene fresh;
        SmallDesign& d = fresh.d;
        TActions& history = fresh.history;
        const QJsonObject before = snapshot(d.doc);
        const DesignSettingsValues shown = DesignSettingsValues::from(d.doc);
        DesignSettingsValues chosen = shown;
        c.edit(chosen);
        ASSERT_EQ(designSettingsProblem(d.doc, chosen), QString());
        const DesignSettingsResult r = applyDesignSettings(d.doc, history, shown, chosen);
        EXPECT_TRUE(r.changed);
        EXPECT_FALSE(d.stitch.fileSaved());
        EXPECT_EQ(r.actions, c.actions);
        EXPECT_EQ(history.count(), c.actions);
        EXPECT_EQ(d.doc.checkInvariant().toStdString(), "");
        c.check(d);
        if (c.actions == 0)
            continue;
        for (int i = 0; i < c.actions; ++i)
            history.Undo();
        EXPECT_EQ(snapshot(d.doc), before);
        EXPECT_EQ(d.doc.checkInvariant().toStdString(), "");
        for (int i = 0; i < c.actions; ++i)
            history.Redo();
        c.check(d);
    }
}

TEST_F(DesignSettingsTest, ASizeTheDesignCannotTakeIsRefusedFirst)
{
    const QJsonObject before = snapshot(d.doc);
    const DesignSettingsValues shown = DesignSettingsValues::from(d.doc);
    DesignSettingsValues chosen = shown;
    chosen.title = QStringLiteral("Tulips");
    chosen.width = 30000;
    chosen.height = 30000;
    // Far less memory than two rasters of 30000 x 30000 need.
    EXPECT_NE(designSettingsProblem(d.doc, chosen, 1 << 20), QString());
    EXPECT_EQ(designSettingsProblem(d.doc, shown, 1 << 20), QString());
    EXPECT_EQ(snapshot(d.doc), before);
    EXPECT_TRUE(d.stitch.fileSaved());
}

} // namespace
