// Palette change and colour reduction as undoable actions: what they change, that the counts
// stay exact, and that undo and redo give back the design exactly.

#include "convert/ColorMatch.h"
#include "convert/TChangePaletteAction.h"
#include "convert/TReduceColorsAction.h"

#include "session/Session.h"
#include "support/SmallDesign.h"
#include "support/ShippedSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using testsupport::snapshot;

class PaletteActions : public testing::Test
{
protected:
    void SetUp() override
    {
        session = testsupport::startShippedSession();
        doc().CreateNewTemplate(12, 6, st().defaultCharacters, QStringLiteral("DMC"));
        history = std::make_unique<TActions>(doc());
    }
    PatternDocument& doc() { return session->document(); }
    TStitch& st() { return session->stitch(); }
    ColorKey dmc(int i) { return st().Colors.at(i * 37 % st().Colors.size()).first; }

    // Colour i of the chosen twelve fills i + 1 cells, so every count differs; colour 0 also
    // has quarters, colour 1 a back stitch, colour 5 a back stitch, a knot and a Rhodes stitch.
    void paintTwelveColours()
    {
        int cell = 0;
        for (int i = 0; i < 12; ++i) {
            for (int k = 0; k <= i && cell < 72; ++k, ++cell)
                doc().updatePixel(cell % 12, cell / 12, dmc(i), false);
        }
        doc().updatePixel(11, 5, st().BackGroundColor, false);
        doc().updateQPixel(22, 10, dmc(0), false);
        doc().updateQPixel(23, 11, dmc(0), false);
        doc().backStitchesAdd(TBackStitch{QPoint(0, 0), QPoint(2, 0), dmc(1), 0}, false);
        doc().backStitchesAdd(TBackStitch{QPoint(0, 2), QPoint(4, 2), dmc(5), 0}, false);
        doc().frenchKnotAdd(TFrenchKnot{QPoint(3, 3), dmc(5), 0}, false);
        auto r = std::make_unique<TRhode>();
        r->width = 2;
        r->height = 2;
        r->color = dmc(5);
        r->stitches = {TBackStitch{QPoint(4, 4), QPoint(6, 6), 0, 0}};
        doc().RhodeAdd(std::move(r), false);
        ASSERT_EQ(doc().checkInvariant().toStdString(), "");
    }

    void expectUndoRedo(const QJsonObject& before) { testsupport::expectUndoRedo(*history, doc(), before); }

    std::unique_ptr<Session> session;
    std::unique_ptr<TActions> history;
};

} // namespace

TEST_F(PaletteActions, ChangePaletteMapsEveryStitchAndUndoes)
{
    paintTwelveColours();
    const QJsonObject before = snapshot(doc());
    const ColorKey oldFive = dmc(5);
    const ColorTable anchor = *st().ColorPalettes.find(QStringLiteral("Anchor"));
    QList<ColorKey> old;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            old.append(pixelToKey(doc().CrossCells.pixel(x, y)));

    ASSERT_TRUE(changePalette(doc(), *history, QStringLiteral("Anchor")));
    EXPECT_EQ(doc().checkInvariant().toStdString(), "");
    EXPECT_EQ(st().colorsname(), QStringLiteral("Anchor"));
    EXPECT_EQ(st().Colors.keys(), anchor.keys());
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 12; ++x) {
            const TColor32 raw = doc().CrossCells.pixel(x, y);
            if (raw == st().BackGroundColor)
                continue;
            EXPECT_EQ(pixelToKey(raw), nearestColor(old[y * 12 + x], anchor));
        }
    }
    const ColorKey five = nearestColor(oldFive, anchor);
    EXPECT_EQ(doc().DesignBackStitches[1].Color, five);
    EXPECT_EQ(doc().DesignFrenchKnots[0].Color, five);
    EXPECT_EQ(doc().DesignRhodes[0]->color, five);
    EXPECT_TRUE(anchor.contains(st().drawcolor()));
    EXPECT_FALSE(st().fileSaved());
    expectUndoRedo(before);
    EXPECT_EQ(st().colorsname(), QStringLiteral("DMC"));

    EXPECT_FALSE(changePalette(doc(), *history, QStringLiteral("No such palette")));
}

TEST(PaletteChange, SameColoursTakeTheNewNamesOnly)
{
    testsupport::SmallDesign d(3, 2);
    ColorTable renamed = *d.stitch.ColorPalettes.find(QStringLiteral("Small"));
    for (auto& [key, e] : renamed) {
        e.colorName += QStringLiteral(" (new)");
        e.colorID = QStringLiteral("N") + e.colorID;
        e.charID = 6 - e.charID;
    }
    d.stitch.ColorPalettes.insert(QStringLiteral("Renamed"), renamed);
    d.doc.updatePixel(0, 0, testsupport::kRed, false);
    d.doc.updatePixel(2, 1, testsupport::kBlue, false);
    const QJsonObject before = snapshot(d.doc);
    TActions history(d.doc);
    ASSERT_TRUE(changePalette(d.doc, history, QStringLiteral("Renamed")));
    const QJsonObject after = snapshot(d.doc);
    EXPECT_EQ(after["cells"], before["cells"]);
    EXPECT_EQ(d.stitch.Colors.value(testsupport::kRed).colorName, QStringLiteral("Red (new)"));
    EXPECT_EQ(d.stitch.Colors.value(testsupport::kRed).charID, 6);
    EXPECT_EQ(d.doc.checkInvariant(), QString());
    history.Undo();
    EXPECT_EQ(snapshot(d.doc), before);
}

TEST_F(PaletteActions, ReduceTwelveToTen)
{
    paintTwelveColours();
    // Counts: colour i has i + 1 cells (colour 11 one fewer); colour 0 two quarters (+1), and
    // colour 1 a back stitch of length 2 (+2); colour 5 has 6 cells + 4 + 5 + 2. Least used:
    // colour 0 (1 + 1 = 2), then colour 1 (2 + 2 = 4) and colour 2 (3): 2, 3, 4 ... so the
    // two least used are colours 0 and 2.
    const ColorKey c0 = dmc(0), c1 = dmc(1), c2 = dmc(2);
    ASSERT_EQ(st().Colors.value(c0).colorCount, 2);
    ASSERT_EQ(st().Colors.value(c2).colorCount, 3);
    ASSERT_EQ(st().Colors.value(c1).colorCount, 4);
    const QJsonObject before = snapshot(doc());
    ColorTable kept;
    for (const auto& [key, e] : st().Colors) {
        if (e.colorCount > 0 && key != c0 && key != c2)
            kept.insert(key, e);
    }
    ASSERT_EQ(kept.size(), 10);

    ASSERT_TRUE(reduceColors(doc(), *history, 10));
    EXPECT_EQ(doc().checkInvariant().toStdString(), "");
    EXPECT_EQ(st().usedColors(), 10);
    EXPECT_TRUE(st().Colors.contains(c0));
    EXPECT_EQ(st().Colors.value(c0).colorCount, 0);
    EXPECT_EQ(st().Colors.value(c2).colorCount, 0);
    EXPECT_EQ(pixelToKey(doc().CrossCells.pixel(0, 0)), nearestColor(c0, kept));
    EXPECT_EQ(pixelToKey(doc().QuarterCells.pixel(22, 10)), nearestColor(c0, kept));
    EXPECT_EQ(pixelToKey(doc().CrossCells.pixel(1, 0)), c1); // kept colours unchanged
    EXPECT_EQ(doc().DesignBackStitches[0].Color, c1);
    EXPECT_EQ(doc().DesignBackStitches[1].Color, dmc(5));
    expectUndoRedo(before);

    // Nothing to do: no action.
    const int actions = history->count();
    EXPECT_FALSE(reduceColors(doc(), *history, 12));
    EXPECT_FALSE(reduceColors(doc(), *history, 0));
    EXPECT_EQ(history->count(), actions);
}

TEST_F(PaletteActions, ReducedBackStitchMovesItsCountAtOnce)
{
    // A colour used only by a back stitch is replaced: its length moves to the kept colour.
    doc().updatePixel(0, 0, dmc(3), false);
    doc().updatePixel(1, 0, dmc(3), false);
    doc().updatePixel(2, 0, dmc(3), false);
    doc().backStitchesAdd(TBackStitch{QPoint(0, 0), QPoint(0, 2), dmc(4), 0}, false);
    const QJsonObject before = snapshot(doc());
    ASSERT_TRUE(reduceColors(doc(), *history, 1));
    EXPECT_EQ(doc().DesignBackStitches[0].Color, dmc(3));
    EXPECT_EQ(st().Colors.value(dmc(3)).backStitchesCount, 2);
    EXPECT_EQ(st().Colors.value(dmc(4)).backStitchesCount, 0);
    EXPECT_EQ(doc().checkInvariant().toStdString(), "");
    expectUndoRedo(before);
}

TEST_F(PaletteActions, ReductionTiesKeepTheEarlierTableColour)
{
    doc().updatePixel(0, 0, dmc(7), false);
    doc().updatePixel(1, 0, dmc(2), false);
    const ColorKey earlier = st().Colors.indexOf(dmc(7)) < st().Colors.indexOf(dmc(2)) ? dmc(7) : dmc(2);
    ASSERT_TRUE(reduceColors(doc(), *history, 1));
    EXPECT_EQ(pixelToKey(doc().CrossCells.pixel(0, 0)), earlier);
    EXPECT_EQ(pixelToKey(doc().CrossCells.pixel(1, 0)), earlier);
}
