// The change-character dialog without its window: which position a grid cell stands for,
// which symbols are in use, when "OK" is allowed, and the design after "OK" (the colour's
// symbol position, the positions in use, its glyphs and its colour-list entry).
#include "core/PatternDocument.h"
#include "core/SymbolFont.h"
#include "core/TStitch.h"
#include "palettes/ChangeCharacter.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

constexpr ColorKey kRed = makeColorKey(200, 0, 0);
constexpr ColorKey kGreen = makeColorKey(0, 160, 0);
constexpr ColorKey kBlue = makeColorKey(0, 0, 180);
constexpr ColorKey kYellow = makeColorKey(250, 240, 0);

// A 4 x 4 design over a ten-symbol set; red uses symbol 0, green and blue share symbol 1,
// yellow (symbol 2) is not used.
class ChangeCharacterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        family = registerSymbolFontFile(testsupport::shippedDataDir()
                                        + QStringLiteral("/fonts/KorvaldArtSymbols110.ttf"));
        ASSERT_FALSE(family.isEmpty());
        TCharacterInfo set;
        set.Name = QStringLiteral("Ten");
        set.fontName = family;
        set.characters = QStringLiteral("ABCDEFGHIJ");
        stitch.characters.insert(set.Name, set);
        ColorTable palette;
        int order = 0;
        for (auto [key, charID] : {std::pair{kRed, 0}, {kGreen, 1}, {kBlue, 1}, {kYellow, 2}}) {
            TColorInfo e;
            e.colorID = QString::number(++order);
            e.colorName = QStringLiteral("c%1").arg(order);
            e.charID = charID;
            e.orderID = order;
            palette.insert(key, e);
        }
        stitch.ColorPalettes.insert(QStringLiteral("Pal"), palette);
        doc.CreateNewTemplate(4, 4, QStringLiteral("Ten"), QStringLiteral("Pal"));
        doc.updatePixel(0, 0, kRed, true);
        doc.updatePixel(1, 0, kRed, true);
        doc.updatePixel(0, 1, kGreen, true);
        doc.updatePixel(0, 2, kBlue, true);
        ASSERT_EQ(doc.checkInvariant(), QString());
        ASSERT_EQ(stitch.chars.CharsUsed, (QList<qint32>{1, 1, 0, 0, 0, 0, 0, 0, 0, 0}));
    }

    const TColorInfo& entry(ColorKey c) { return *stitch.Colors.find(c); }

    QString family;
    TStitch stitch;
    PatternDocument doc{stitch};
};

TEST_F(ChangeCharacterTest, CellsStandForPositionsOfTheSymbolString)
{
    struct Case
    {
        int column, row, position;
        QChar symbol; // null: past the end of the string
        bool used;
    };
    const Case cases[] = {
        {0, 0, 0, 'A', true},    {1, 0, 1, 'B', true},  {2, 0, 2, 'C', false},
        {9, 0, 9, 'J', false},   {10, 0, 10, {}, false}, {24, 0, 24, {}, false},
        {0, 1, 25, {}, false},   {24, 24, 624, {}, false}, {25, 0, -1, {}, false},
        {-1, 3, -1, {}, false},
    };
    ChangeCharacter logic(stitch);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << "," << c.row);
        if (c.position >= 0) {
            EXPECT_EQ(ChangeCharacter::positionOf(c.column, c.row), c.position);
        }
        EXPECT_EQ(logic.symbolAt(c.column, c.row), c.symbol);
        EXPECT_EQ(logic.isUsed(c.column, c.row), c.used);
    }
}

TEST_F(ChangeCharacterTest, OkIsAllowedOnlyForFreeSymbolsInsideTheString)
{
    // A long string shows that the second grid row maps past position 24.
    stitch.chars.fcharacters = QString(30, QLatin1Char('x'));
    stitch.chars.CharsUsed.resize(30, 0);
    stitch.chars.CharsUsed[26] = 1;
    struct Case
    {
        int column, row;
        bool ok;
    };
    const Case cases[] = {
        {0, 0, false}, // red's symbol
        {1, 0, false}, // green's and blue's symbol
        {2, 0, true},  // yellow's symbol: yellow is not used
        {5, 0, true},  {0, 1, true}, {1, 1, false}, {4, 1, true},
        {5, 1, false}, // position 30: past the end
        {24, 24, false},
    };
    ChangeCharacter logic(stitch);
    EXPECT_EQ(logic.selectedPosition(), 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.column << "," << c.row);
        logic.select(c.column, c.row);
        EXPECT_EQ(logic.selectedPosition(), ChangeCharacter::positionOf(c.column, c.row));
        EXPECT_EQ(logic.canAccept(), c.ok);
    }
    logic.select(25, 0); // outside the grid: the selection stays
    EXPECT_EQ(logic.selectedPosition(), ChangeCharacter::positionOf(24, 24));
}

TEST_F(ChangeCharacterTest, OkGivesTheDrawColourTheSymbolWithItsGlyphs)
{
    stitch.setDrawcolor(kRed);
    stitch.setFileSaved(true);
    QSignalSpy listSpy(&doc, &PatternDocument::colorListChanged);
    QSignalSpy cellSpy(&doc, &PatternDocument::cellsChanged);
    ChangeCharacter logic(stitch);
    logic.select(3, 0);
    ASSERT_TRUE(logic.accept(doc));

    EXPECT_EQ(entry(kRed).charID, 3);
    EXPECT_EQ(stitch.chars.CharsUsed, (QList<qint32>{0, 1, 0, 1, 0, 0, 0, 0, 0, 0}));
    for (int size : TCharacters::kGlyphSizes) {
        SCOPED_TRACE(size);
        EXPECT_EQ(stitch.chars.glyph(size, kRed), stitch.chars.CharToBitmap(kRed, entry(kRed), size));
        TColorInfo old = entry(kRed);
        old.charID = 0;
        EXPECT_NE(stitch.chars.glyph(size, kRed), stitch.chars.CharToBitmap(kRed, old, size));
    }
    const int row = doc.colorSymbolsIndexOf(kRed);
    ASSERT_GE(row, 0);
    EXPECT_EQ(doc.ColorSymbolsList[row].Symbol, QChar('D'));
    EXPECT_EQ(doc.ColorSymbolsList[row].SymbolBitmap, stitch.chars.glyph(9, kRed));
    EXPECT_TRUE(doc.ColorSymbolsList[row].hasBitmap);
    EXPECT_EQ(doc.checkInvariant(), QString());
    // The new symbol is stored with the design: closing must ask before it is lost.
    EXPECT_FALSE(stitch.fileSaved());
    EXPECT_GE(listSpy.count(), 1);
    ASSERT_GE(cellSpy.count(), 1);
    EXPECT_EQ(cellSpy.last().at(0).toRect(), QRect(0, 0, 4, 4));

    // The old symbol is free again; the new one now belongs to red.
    EXPECT_TRUE(symbolPositionFree(stitch, 0));
    EXPECT_FALSE(symbolPositionFree(stitch, 3));
    // The counts stay right when red becomes unused and used again.
    doc.updatePixel(0, 0, stitch.BackGroundColor, true);
    doc.updatePixel(1, 0, stitch.BackGroundColor, true);
    EXPECT_EQ(doc.checkInvariant(), QString());
    EXPECT_EQ(stitch.chars.CharsUsed[3], 0);
    doc.updatePixel(3, 3, kRed, true);
    EXPECT_EQ(doc.checkInvariant(), QString());
    EXPECT_EQ(stitch.chars.CharsUsed[3], 1);
}

TEST_F(ChangeCharacterTest, ASharedSymbolStaysInUseForTheOtherColour)
{
    stitch.setDrawcolor(kGreen);
    ASSERT_TRUE(changeDrawColorSymbol(doc, 4));
    EXPECT_EQ(entry(kGreen).charID, 4);
    EXPECT_EQ(entry(kBlue).charID, 1);
    EXPECT_EQ(stitch.chars.CharsUsed[1], 1); // blue still shows B
    EXPECT_EQ(stitch.chars.CharsUsed[4], 1);
    EXPECT_FALSE(symbolPositionFree(stitch, 1));
    EXPECT_EQ(doc.checkInvariant(), QString());
}

TEST_F(ChangeCharacterTest, RefusedChangesLeaveTheDesignAlone)
{
    struct Case
    {
        const char* what;
        ColorKey draw;
        int position;
    };
    const Case cases[] = {
        {"symbol in use", kRed, 1},
        {"the colour's own symbol", kRed, 0},
        {"past the end", kRed, 10},
        {"negative", kRed, -1},
        {"draw colour not used", kYellow, 5},
        {"draw colour not in the table", makeColorKey(1, 2, 3), 5},
    };
    const ColorTable colors = stitch.Colors;
    const QList<qint32> used = stitch.chars.CharsUsed;
    const QList<TColorSymbols> list = doc.ColorSymbolsList;
    stitch.setFileSaved(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stitch.fdrawcolor = c.draw;
        EXPECT_FALSE(changeDrawColorSymbol(doc, c.position));
        EXPECT_TRUE(stitch.Colors == colors);
        EXPECT_EQ(stitch.chars.CharsUsed, used);
        EXPECT_EQ(doc.ColorSymbolsList, list);
        EXPECT_TRUE(stitch.fileSaved());
    }
    stitch.fdrawcolor = kRed;
    ChangeCharacter logic(stitch);
    logic.select(1, 0);
    EXPECT_FALSE(logic.accept(doc));
    EXPECT_EQ(doc.checkInvariant(), QString());
}

} // namespace
