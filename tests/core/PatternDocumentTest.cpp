// The design document: use counts kept exact by every cell and stitch operation, the colour
// list in both views, new designs and their catalogue fallbacks, background and symbols.
#include "core/PatternDocument.h"
#include "core/SymbolFont.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

constexpr ColorKey kRed = makeColorKey(255, 0, 0);
constexpr ColorKey kGreen = makeColorKey(0, 128, 0);
constexpr ColorKey kWhite = makeColorKey(255, 255, 255);
constexpr ColorKey kBlue = makeColorKey(0, 0, 255);

TColorInfo info(const QString& id, const QString& name, int charID, int order)
{
    TColorInfo e;
    e.colorID = id;
    e.colorName = name;
    e.charID = charID;
    e.orderID = order;
    return e;
}

QString fallbackFontFamily()
{
    static const QString family =
        registerSymbolFontFile(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
    return family;
}

// A state object with two palettes and two character sets, and a 6 x 4 design made from them.
struct DocFixture : ::testing::Test
{
    TStitch stitch;
    PatternDocument doc{stitch};

    void SetUp() override
    {
        ColorTable p;
        p.insert(kRed, info("321", "Red", 0, 0));
        p.insert(kGreen, info("B5200", "Green", 1, 1));
        p.insert(kWhite, info("3865", "White", 2, 2));
        p.insert(kBlue, info("310", "Blue", 3, 3));
        for (auto& [k, e] : p)
            e.matchColor = k;
        stitch.ColorPalettes.insert("Sample", p);
        ColorTable q;
        q.insert(kBlue, info("1", "Only blue", 0, 0));
        stitch.ColorPalettes.insert("sample", q);

        TCharacterInfo set;
        set.Name = "Shapes";
        set.fontName = fallbackFontFamily();
        set.characters = "ABCDEFG";
        stitch.characters.insert(set.Name, set);
        TCharacterInfo other = set;
        other.Name = "Digits";
        other.characters = "0123456789";
        stitch.characters.insert(other.Name, other);

        doc.CreateNewTemplate(6, 4, "Shapes", "Sample");
    }

    const TColorInfo& e(ColorKey c) { return *stitch.Colors.find(c); }
    void expectConsistent() { EXPECT_EQ(doc.checkInvariant(), QString()); }
    TColor32 bg() const { return stitch.BackGroundColor; }
};

// ---------------------------------------------------------------------------------------------

struct CountCase
{
    const char* name;
    std::function<void(PatternDocument&, TColor32 bg)> ops;
    qint32 redCount, redQuarters, redBack, used;
};

class CountTable : public DocFixture, public ::testing::WithParamInterface<CountCase> {};

TEST_P(CountTable, OperationsKeepCounts)
{
    const CountCase& c = GetParam();
    c.ops(doc, bg());
    EXPECT_EQ(e(kRed).colorCount, c.redCount);
    EXPECT_EQ(e(kRed).quarterStitchesCount, c.redQuarters);
    EXPECT_EQ(e(kRed).backStitchesCount, c.redBack);
    EXPECT_EQ(stitch.usedColors(), c.used);
    expectConsistent();
}

TBackStitch stitchOf(int x1, int y1, int x2, int y2, ColorKey c)
{
    return TBackStitch{QPoint(x1, y1), QPoint(x2, y2), c, 0};
}

std::unique_ptr<TRhode> rhodeOf(ColorKey c, QList<TBackStitch> stitches)
{
    auto r = std::make_unique<TRhode>();
    r->color = c;
    r->stitches = std::move(stitches);
    return r;
}

INSTANTIATE_TEST_SUITE_P(
    Document, CountTable,
    ::testing::Values(
        CountCase{"one_cell", [](PatternDocument& d, TColor32) { d.updatePixel(0, 0, kRed, true); }, 1, 0, 0, 1},
        CountCase{"same_colour_twice",
                  [](PatternDocument& d, TColor32) {
                      d.updatePixel(0, 0, kRed, true);
                      d.updatePixel(0, 0, kRed, true);
                  }, 1, 0, 0, 1},
        CountCase{"overwrite_with_other",
                  [](PatternDocument& d, TColor32) {
                      d.updatePixel(0, 0, kRed, true);
                      d.updatePixel(0, 0, kGreen, true);
                  }, 0, 0, 0, 1},
        CountCase{"erase", [](PatternDocument& d, TColor32 bg) {
                      d.updatePixel(1, 1, kRed, true);
                      d.updatePixel(1, 1, bg, true);
                  }, 0, 0, 0, 0},
        CountCase{"outside_ignored", [](PatternDocument& d, TColor32) {
                      d.updatePixel(6, 0, kRed, true);
                      d.updatePixel(-1, 0, kRed, true);
                      d.updateQPixel(12, 0, kRed, true);
                  }, 0, 0, 0, 0},
        CountCase{"colour_not_in_table_ignored", [](PatternDocument& d, TColor32) {
                      d.updatePixel(0, 0, makeColorKey(1, 2, 3), true);
                  }, 0, 0, 0, 0},
        CountCase{"one_quarter", [](PatternDocument& d, TColor32) { d.updateQPixel(0, 0, kRed, true); }, 1, 1, 0, 1},
        CountCase{"two_quarters", [](PatternDocument& d, TColor32) {
                      d.updateQPixel(0, 0, kRed, true);
                      d.updateQPixel(1, 0, kRed, true);
                  }, 1, 2, 0, 1},
        CountCase{"three_quarters", [](PatternDocument& d, TColor32) {
                      for (int x = 0; x < 3; ++x)
                          d.updateQPixel(x, 0, kRed, true);
                  }, 2, 3, 0, 1},
        CountCase{"three_quarters_one_erased", [](PatternDocument& d, TColor32 bg) {
                      for (int x = 0; x < 3; ++x)
                          d.updateQPixel(x, 0, kRed, true);
                      d.updateQPixel(0, 0, bg, true);
                  }, 1, 2, 0, 1},
        CountCase{"diagonal_back_stitch", [](PatternDocument& d, TColor32) {
                      d.backStitchesAdd(stitchOf(0, 0, 2, 2, kRed), true);
                  }, 2, 0, 2, 1},
        CountCase{"corner_to_centre", [](PatternDocument& d, TColor32) {
                      d.backStitchesAdd(stitchOf(0, 0, 1, 1, kRed), true);
                  }, 1, 0, 1, 1},
        CountCase{"back_stitch_deleted", [](PatternDocument& d, TColor32) {
                      d.backStitchesAdd(stitchOf(0, 0, 4, 0, kRed), true);
                      d.backStitchesInsert(0, stitchOf(0, 0, 0, 2, kRed), true);
                      d.backStitchesDelete(1, true);
                  }, 2, 0, 2, 1},
        CountCase{"zero_length_stitch_leaves_colour_unused", [](PatternDocument& d, TColor32) {
                      d.backStitchesAdd(stitchOf(3, 3, 3, 3, kRed), true);
                  }, 0, 0, 0, 0},
        CountCase{"zero_length_stitch_deleted_keeps_other_use", [](PatternDocument& d, TColor32) {
                      d.updatePixel(0, 0, kRed, true);
                      d.backStitchesAdd(stitchOf(3, 3, 3, 3, kRed), true);
                      d.backStitchesDelete(0, true);
                  }, 1, 0, 0, 1},
        CountCase{"french_knot", [](PatternDocument& d, TColor32) {
                      d.frenchKnotAdd(TFrenchKnot{QPoint(1, 1), kRed, 0}, true);
                  }, 5, 0, 0, 1},
        CountCase{"knot_after_recount_deleted", [](PatternDocument& d, TColor32) {
                      d.frenchKnotAdd(TFrenchKnot{QPoint(1, 1), kRed, 0}, false);
                      d.updatePixel(2, 2, kRed, false);
                      d.CalcColorUsage();
                      d.frenchKnotDelete(0, true);
                  }, 1, 0, 0, 1},
        CountCase{"rhodes_counted_per_stitch", [](PatternDocument& d, TColor32) {
                      d.RhodeAdd(rhodeOf(kRed, {stitchOf(0, 0, 4, 4, kRed), stitchOf(4, 0, 0, 4, kRed)}), true);
                  }, 10, 0, 10, 1},
        CountCase{"rhodes_deleted", [](PatternDocument& d, TColor32) {
                      d.RhodeAdd(rhodeOf(kRed, {stitchOf(0, 0, 4, 4, kRed)}), true);
                      d.RhodeDelete(0, true);
                  }, 0, 0, 0, 0},
        CountCase{"everything_together", [](PatternDocument& d, TColor32) {
                      d.updatePixel(0, 0, kRed, true);
                      d.updatePixel(1, 0, kGreen, true);
                      d.updateQPixel(4, 4, kRed, true);
                      d.backStitchesAdd(stitchOf(0, 0, 2, 0, kRed), true);
                      d.frenchKnotAdd(TFrenchKnot{QPoint(2, 2), kBlue, 0}, true);
                  }, 4, 1, 2, 3}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------

TEST_F(DocFixture, ColourListFollowsUseInBothViews)
{
    EXPECT_TRUE(doc.allColorsView()); // "All colors" at start
    doc.setAllColorsView(false);
    doc.updatePixel(0, 0, kGreen, true);
    ASSERT_EQ(doc.ColorSymbolsList.size(), 1);
    EXPECT_EQ(doc.ColorSymbolsList[0].Color, kGreen);
    EXPECT_EQ(doc.ColorSymbolsList[0].Symbol, QChar('B'));
    EXPECT_TRUE(doc.ColorSymbolsList[0].hasBitmap);

    doc.updatePixel(0, 0, bg(), true); // last cell of the colour erased: its row goes
    EXPECT_TRUE(doc.ColorSymbolsList.isEmpty());
    EXPECT_EQ(stitch.chars.CharsUsed[1], 0);

    doc.setAllColorsView(true);
    EXPECT_EQ(doc.ColorSymbolsList.size(), 4);
    doc.updatePixel(0, 0, kGreen, true);
    doc.updatePixel(0, 0, bg(), true); // in the all-colours view the row stays, without glyph
    EXPECT_EQ(doc.ColorSymbolsList.size(), 4);
    const int row = doc.colorSymbolsIndexOf(kGreen);
    ASSERT_GE(row, 0);
    EXPECT_FALSE(doc.ColorSymbolsList[row].hasBitmap);
    expectConsistent();
}

TEST_F(DocFixture, SharedSymbolStaysMarkedWhileOneColourUsesIt)
{
    stitch.Colors.find(kGreen)->charID = 0; // red and green share symbol 0
    doc.updatePixel(0, 0, kRed, true);
    doc.updatePixel(1, 0, kGreen, true);
    doc.updatePixel(0, 0, bg(), true);
    EXPECT_EQ(stitch.chars.CharsUsed[0], 1);
    doc.updatePixel(1, 0, bg(), true);
    EXPECT_EQ(stitch.chars.CharsUsed[0], 0);
    expectConsistent();
}

TEST_F(DocFixture, RecountDropsColoursThatBulkChangesLeftUnused)
{
    doc.setAllColorsView(false);
    doc.updatePixel(0, 0, kRed, true);
    doc.updatePixel(1, 0, kGreen, true);
    // A bulk change writes rasters directly, then recounts.
    reinterpret_cast<TColor32*>(doc.CrossCells.scanLine(0))[0] = bg();
    doc.CalcColorUsage();
    EXPECT_EQ(stitch.usedColors(), 1);
    EXPECT_FALSE(stitch.chars.hasGlyph(9, kRed));
    EXPECT_EQ(doc.colorSymbolsIndexOf(kRed), -1);
    expectConsistent();
}

TEST_F(DocFixture, RecountReportsCellsOfUnknownColoursOnce)
{
    int messages = 0;
    QObject::connect(&doc, &PatternDocument::message, [&](const QString& m) {
        EXPECT_EQ(m, "!");
        ++messages;
    });
    auto* row = reinterpret_cast<TColor32*>(doc.CrossCells.scanLine(0));
    row[0] = row[1] = keyToPixel(makeColorKey(9, 9, 9));
    doc.updatePixel(2, 0, kRed, false);
    doc.CalcColorUsage();
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(e(kRed).colorCount, 1);
}

TEST_F(DocFixture, WhiteThreadStaysDistinctFromWhiteBackground)
{
    doc.updatePixel(0, 0, kWhite, true);
    EXPECT_NE(doc.CrossCells.pixel(0, 0), bg());
    EXPECT_EQ(e(kWhite).colorCount, 1);

    const TBackgroundChange change = doc.changeBackgroundColor(makeColorKey(10, 20, 30));
    EXPECT_TRUE(change.changed);
    EXPECT_EQ(change.crossPoints.size(), 6 * 4 - 1);
    EXPECT_EQ(change.quarterPoints.size(), 12 * 8);
    EXPECT_EQ(change.oldColor, 0xFFFFFFFFu);
    EXPECT_EQ(stitch.BackGroundColor, 0xFF0A141Eu);
    EXPECT_EQ(doc.CrossCells.pixel(0, 0), keyToPixel(kWhite));
    EXPECT_EQ(doc.CrossCells.pixel(1, 0), 0xFF0A141Eu);
    doc.CalcColorUsage();
    EXPECT_EQ(e(kWhite).colorCount, 1);

    EXPECT_FALSE(doc.changeBackgroundColor(makeColorKey(10, 20, 30)).changed);
    expectConsistent();
}

TEST_F(DocFixture, NewTemplate)
{
    EXPECT_EQ(doc.width(), 6);
    EXPECT_EQ(doc.height(), 4);
    EXPECT_EQ(doc.QuarterCells.size(), QSize(12, 8));
    EXPECT_EQ(stitch.colorsname(), "Sample");
    EXPECT_EQ(stitch.Colors.size(), 4);
    EXPECT_EQ(stitch.drawcolor(), kRed);
    EXPECT_EQ(stitch.chars.CharsName, "Shapes");
    EXPECT_EQ(stitch.filename(), "New file.qvxp");
    EXPECT_TRUE(stitch.fileSaved());
    EXPECT_FALSE(stitch.FileNameAssigned);
    EXPECT_EQ(stitch.fileMode, fmNew);
    EXPECT_EQ(stitch.BackGroundColor, 0xFFFFFFFFu);
    for (int s : TCharacters::kGlyphSizes)
        for (const auto& [k, info] : stitch.Colors)
            EXPECT_TRUE(stitch.chars.hasSlot(s, k));
    expectConsistent();
}

TEST_F(DocFixture, NewTemplateFallsBackToSmallestCatalogueNames)
{
    // "Digits" < "Shapes"; "Sample" < "sample" since upper case sorts first.
    doc.CreateNewTemplate(3, 3, "missing set", "missing palette");
    EXPECT_EQ(stitch.colorsname(), "Sample");
    EXPECT_EQ(stitch.chars.CharsName, "Digits");
    EXPECT_EQ(stitch.chars.fcharacters, "0123456789");
    EXPECT_EQ(stitch.chars.CharsUsed.size(), 10);
}

TEST_F(DocFixture, CellSizes)
{
    struct Row { int zoom; bool knitting; QSize size; };
    for (const Row& r : {Row{5, false, {5, 5}}, Row{5, true, {5, 4}}, Row{8, true, {8, 6}},
                         Row{15, true, {15, 10}}, Row{10, true, {10, 7}}}) {
        doc.KnittingMode = r.knitting;
        EXPECT_EQ(doc.SetCellWidthAndHeight(r.zoom), r.size) << r.zoom << " " << r.knitting;
    }
}

TEST_F(DocFixture, ChangingCharactersKeepsPositionsAndRebuildsGlyphs)
{
    doc.setAllColorsView(false);
    doc.updatePixel(0, 0, kWhite, true); // charID 2
    ASSERT_TRUE(doc.changeCharacters("Digits"));
    EXPECT_EQ(stitch.chars.CharsName, "Digits");
    EXPECT_EQ(stitch.chars.CharsUsed.size(), 10);
    EXPECT_EQ(doc.ColorSymbolsList.at(0).Symbol, QChar('2'));
    EXPECT_FALSE(doc.changeCharacters("nope"));
    expectConsistent();
}

TEST_F(DocFixture, FontChangeGivesGlyphsExactlyToUsedColours)
{
    doc.updatePixel(0, 0, kRed, true);
    doc.updateQPixel(0, 0, kBlue, true);
    doc.setSymbolFont(fallbackFontFamily());
    for (int s : TCharacters::kGlyphSizes) {
        EXPECT_TRUE(stitch.chars.hasGlyph(s, kRed)) << s;
        EXPECT_TRUE(stitch.chars.hasGlyph(s, kBlue)) << s;
        EXPECT_FALSE(stitch.chars.hasGlyph(s, kGreen)) << s;
        EXPECT_TRUE(stitch.chars.hasSlot(s, kGreen)) << s;
        EXPECT_EQ(stitch.chars.glyph(s, kRed).height(), 2 * s - 1);
    }
    expectConsistent();
}

TEST(SymbolInk, LightnessRule)
{
    struct Row { ColorKey key; bool white; };
    for (const Row& r : {Row{makeColorKey(128, 128, 128), true}, Row{makeColorKey(129, 129, 129), false},
                         Row{makeColorKey(255, 0, 0), true}, Row{makeColorKey(255, 255, 0), true},
                         Row{makeColorKey(0, 0, 0), true}, Row{makeColorKey(255, 255, 255), false},
                         Row{makeColorKey(255, 2, 2), true}, Row{makeColorKey(255, 4, 4), false}}) {
        EXPECT_EQ(symbolInkIsWhite(r.key), r.white) << std::hex << r.key;
    }
    EXPECT_EQ(symbolInk(makeColorKey(200, 200, 200), 2), 2u);
    EXPECT_EQ(symbolInk(makeColorKey(20, 20, 20), 2), 0xFFFFFFu);
}

TEST_F(DocFixture, GlyphsAreDrawnInTheirInk)
{
    doc.updatePixel(0, 0, kBlue, true);  // dark: white ink
    doc.updatePixel(1, 0, kWhite, true); // light: ink value 1
    auto inks = [](const QImage& g) {
        QSet<QRgb> set;
        for (int y = 0; y < g.height(); ++y)
            for (int x = 0; x < g.width(); ++x)
                if (qAlpha(g.pixel(x, y)) != 0)
                    set.insert(g.pixel(x, y) & 0xFFFFFF);
        return set;
    };
    EXPECT_EQ(inks(stitch.chars.glyph(11, kBlue)), QSet<QRgb>{0xFFFFFF});
    EXPECT_EQ(inks(stitch.chars.glyph(11, kWhite)), QSet<QRgb>{0x010000});
}

TEST_F(DocFixture, SortOrders)
{
    doc.setAllColorsView(true);
    doc.updatePixel(0, 0, kBlue, true);
    doc.updatePixel(1, 0, kBlue, true);
    doc.updatePixel(2, 0, kGreen, true);
    auto ids = [&] {
        QStringList out;
        for (const auto& s : doc.ColorSymbolsList)
            out << stitch.Colors.find(s.Color)->colorID;
        return out;
    };
    doc.setColorSortMode(PatternDocument::csPalette);
    EXPECT_EQ(ids(), QStringList({"321", "B5200", "3865", "310"}));
    doc.setColorSortMode(PatternDocument::csName);
    EXPECT_EQ(ids(), QStringList({"310", "B5200", "321", "3865"})); // Blue, Green, Red, White
    doc.setColorSortMode(PatternDocument::csNumber);
    EXPECT_EQ(ids(), QStringList({"310", "321", "3865", "B5200"}));
    doc.setColorSortMode(PatternDocument::csUsage);
    EXPECT_EQ(ids(), QStringList({"310", "B5200", "321", "3865"}));
}

TEST(Translate, UnknownTextsAnswerThemselvesAndAreRemembered)
{
    TStitch s;
    s.Language.insert("Colors", "Farben");
    EXPECT_EQ(s.translate("Colors"), "Farben");
    EXPECT_EQ(s.translate("Symbols"), "Symbols");
    EXPECT_TRUE(s.Language.contains("Symbols"));
}

// Random operations keep the invariant after each step, and agree with a full recount.
TEST_F(DocFixture, RandomOperationsKeepTheInvariant)
{
    QRandomGenerator rng(20261210);
    const ColorKey colours[] = {kRed, kGreen, kWhite, kBlue};
    for (int step = 0; step < 3000; ++step) {
        const quint32 colour = rng.bounded(5) == 0 ? bg() : colours[rng.bounded(4)];
        switch (rng.bounded(7)) {
        case 0: case 1:
            doc.updatePixel(rng.bounded(-1, 7), rng.bounded(-1, 5), colour, true);
            break;
        case 2: case 3:
            doc.updateQPixel(rng.bounded(-1, 13), rng.bounded(-1, 9), colour, true);
            break;
        case 4:
            if (rng.bounded(2) && !doc.DesignBackStitches.isEmpty())
                doc.backStitchesDelete(rng.bounded(int(doc.DesignBackStitches.size())), true);
            else
                doc.backStitchesInsert(rng.bounded(int(doc.DesignBackStitches.size()) + 1),
                                       stitchOf(rng.bounded(13), rng.bounded(9), rng.bounded(13),
                                                rng.bounded(9), colours[rng.bounded(4)]), true);
            break;
        case 5:
            if (rng.bounded(2) && !doc.DesignFrenchKnots.isEmpty())
                doc.frenchKnotDelete(rng.bounded(int(doc.DesignFrenchKnots.size())), true);
            else
                doc.frenchKnotAdd(TFrenchKnot{QPoint(rng.bounded(13), rng.bounded(9)), colours[rng.bounded(4)], 0}, true);
            break;
        case 6:
            if (rng.bounded(2) && !doc.DesignRhodes.empty())
                doc.RhodeDelete(rng.bounded(int(doc.DesignRhodes.size())), true);
            else
                doc.RhodeAdd(rhodeOf(colours[rng.bounded(4)], {stitchOf(0, 0, rng.bounded(13), 8, 0),
                                                                stitchOf(2, 2, 2, 2, 0)}), true);
            break;
        }
        if (step % 500 == 250)
            doc.setAllColorsView(!doc.allColorsView());
        const QString problem = doc.checkInvariant();
        ASSERT_EQ(problem, QString()) << "after step " << step;
    }
    ColorTable before = stitch.Colors;
    doc.CalcColorUsage();
    EXPECT_EQ(stitch.Colors, before);
}

} // namespace
