// The palette pop-up logic: the snapshot of the design colour table, the grid layout, what each
// cell shows per view, the view setting, the choice of a colour and the fades.
#include "core/TStitch.h"
#include "palettes/PalettePopup.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TColorInfo entry(const char* name, const char* id, qint32 count, qint32 charID, qint32 orderID)
{
    TColorInfo e;
    e.colorName = QString::fromUtf8(name);
    e.colorID = QString::fromUtf8(id);
    e.colorCount = count;
    e.charID = charID;
    e.orderID = orderID;
    return e;
}

// A design colour table of `n` grey colours whose palette order runs backwards, so that the
// snapshot's sorting shows.
void fillGreys(TStitch& st, int n)
{
    st.Colors.clear();
    for (int i = 0; i < n; ++i) {
        const ColorKey k = makeColorKey(i, i, i);
        TColorInfo e = entry("grey", "g", 0, 0, n - 1 - i);
        e.matchColor = k;
        st.Colors.insert(k, e);
    }
}

TEST(PalettePopupLayout, ColumnsFitTheGridWidthAndRowsHoldEveryColour)
{
    struct Case { int width; int colors; int columns; int rows; };
    const std::vector<Case> cases = {
        {26 + 11 * 65, 25, 11, 3},
        {26 + 11 * 65 - 1, 25, 10, 3},
        {26 + 11 * 65, 22, 11, 2},
        {26 + 11 * 65, 23, 11, 3},
        {26 + 65, 5, 1, 5},
        {26 + 3 * 65, 0, 3, 0},
        // Narrower than one column: one column rather than a division by zero.
        {26 + 64, 4, 1, 4},
        {0, 4, 1, 4},
    };
    for (const Case& c : cases) {
        TStitch st;
        fillGreys(st, c.colors);
        PalettePopup p(st);
        p.takeSnapshot();
        p.layout(c.width);
        EXPECT_EQ(p.columns(), c.columns) << "width " << c.width;
        EXPECT_EQ(p.rows(), c.rows) << "width " << c.width << " colours " << c.colors;
    }
}

TEST(PalettePopupLayout, EntriesFillTheGridColumnByColumn)
{
    TStitch st;
    fillGreys(st, 25);
    PalettePopup p(st);
    p.takeSnapshot();
    p.layout(26 + 11 * 65);
    struct Case { int column; int row; int entry; };
    const std::vector<Case> cases = {
        {0, 0, 0}, {0, 2, 2}, {1, 0, 3}, {1, 2, 5}, {7, 2, 23}, {8, 0, 24},
        {8, 1, -1}, {10, 2, -1}, {11, 0, -1}, {0, 3, -1}, {-1, 0, -1}, {0, -1, -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(p.entryIndex(c.column, c.row), c.entry) << c.column << "," << c.row;
        EXPECT_EQ(p.cell(c.column, c.row).kind,
                  c.entry < 0 ? PaletteCell::Empty : PaletteCell::Swatch);
    }
    // Entry 3 is the colour of palette order 3: grey 21 of the backwards table.
    EXPECT_EQ(p.cell(1, 0).color, makeColorKey(21, 21, 21));
}

TEST(PalettePopupSnapshot, CopiesKeyNameAndOrderSortedByPaletteOrder)
{
    TStitch st;
    st.Colors.insert(0x0000FF, entry("Red", "321", 4, 7, 2));
    st.Colors.insert(0x00FF00, entry("Green", "700", 0, 8, 0));
    st.Colors.insert(0xFF0000, entry("Blue", "796", 1, 9, 1));
    st.Colors.insert(0x000000, entry("Black", "310", 1, 2, 1)); // same order as Blue: stays after it
    st.colorsList = {TSimpleColorInfo{0x123456, "stale", "x", 5, 0}};
    PalettePopup p(st);
    p.takeSnapshot();
    const QList<TSimpleColorInfo> expected = {
        {0x00FF00, "Green", QString(), 0, 0},
        {0xFF0000, "Blue", QString(), 0, 1},
        {0x000000, "Black", QString(), 0, 1},
        {0x0000FF, "Red", QString(), 0, 2},
    };
    EXPECT_EQ(st.colorsList, expected);
}

// Each view's text per cell, the font it is drawn in and its ink.
TEST(PalettePopupCells, ShowTheTextOfTheView)
{
    TStitch st;
    st.chars.Create(QStringLiteral("ABC"));
    const ColorKey black = 0x000000, white = 0xFFFFFF, nameless = 0x808080, dark = 0x800000;
    st.Colors.insert(black, entry("Black", "310", 12, 1, 0));
    st.Colors.insert(white, entry("Snow White", "B5200", 0, 0, 1));
    st.Colors.insert(nameless, entry("", "", 0, -1, 2));   // no symbol
    st.Colors.insert(dark, entry("Navy", "939", 3, 5, 3)); // symbol position past the string
    PalettePopup p(st);
    p.takeSnapshot();
    p.layout(26 + 4 * 65); // one row: column i holds entry i
    using C = PaletteCell;
    struct Case { int view; int column; C expected; };
    const std::vector<Case> cases = {
        {pvNone, 0, {C::Swatch, black, C::NoText, "", false}},
        {pvNone, 1, {C::Swatch, white, C::NoText, "", false}},
        {pvColorNumber, 0, {C::Swatch, black, C::NumberFont, "310", true}},
        {pvColorNumber, 1, {C::Swatch, white, C::NumberFont, "B5200", false}},
        {pvColorNumber, 2, {C::Swatch, nameless, C::NoText, "", true}},
        {pvUsage, 0, {C::Swatch, black, C::NumberFont, "12", true}},
        {pvUsage, 1, {C::Swatch, white, C::NoText, "", false}},
        {pvUsage, 3, {C::Swatch, dark, C::NumberFont, "3", true}},
        {pvColorName, 1, {C::Swatch, white, C::NameFont, "Snow White", false}},
        {pvColorName, 3, {C::Swatch, dark, C::NameFont, "Navy", true}},
        {pvSymbol, 0, {C::Swatch, black, C::SymbolFont, "B", true}},
        {pvSymbol, 1, {C::Swatch, white, C::SymbolFont, "A", false}},
        {pvSymbol, 2, {C::Swatch, nameless, C::NoText, "", true}},
        {pvSymbol, 3, {C::Swatch, dark, C::NoText, "", true}},
    };
    for (const Case& c : cases) {
        p.setView(c.view);
        const C got = p.cell(c.column, 0);
        SCOPED_TRACE(testing::Message() << "view " << c.view << " column " << c.column);
        EXPECT_EQ(got.kind, c.expected.kind);
        EXPECT_EQ(got.color, c.expected.color);
        EXPECT_EQ(got.font, c.expected.font);
        EXPECT_EQ(got.text.toStdString(), c.expected.text.toStdString());
        if (c.view != pvNone) {
            EXPECT_EQ(got.whiteInk, c.expected.whiteInk);
        }
    }
}

// Texts come from the design colour table at drawing time, so counts changed while the window
// is open show at the next repaint.
TEST(PalettePopupCells, FollowTheDesignTableAfterTheSnapshot)
{
    TStitch st;
    st.Colors.insert(0x000000, entry("Black", "310", 0, 0, 0));
    PalettePopup p(st);
    p.takeSnapshot();
    p.layout(200);
    p.setView(pvUsage);
    EXPECT_TRUE(p.cell(0, 0).text.isEmpty());
    st.Colors.find(0x000000)->colorCount = 7;
    EXPECT_EQ(p.cell(0, 0).text, QStringLiteral("7"));
}

TEST(PalettePopupCells, InkIsWhiteUpToLightness128)
{
    struct Case { quint32 r, g, b; bool white; };
    const std::vector<Case> cases = {
        {0, 0, 0, true}, {128, 128, 128, true}, {129, 129, 129, false},
        {255, 0, 0, true}, {255, 255, 2, true}, {255, 255, 3, false}, {0, 0, 255, true},
        {2, 255, 255, true}, {3, 255, 255, false}, {255, 255, 255, false},
    };
    for (const Case& c : cases) {
        TStitch st;
        st.Colors.insert(makeColorKey(c.r, c.g, c.b), entry("n", "1", 1, 0, 0));
        PalettePopup p(st);
        p.takeSnapshot();
        p.layout(100);
        p.setView(pvColorNumber);
        EXPECT_EQ(p.cell(0, 0).whiteInk, c.white) << c.r << "," << c.g << "," << c.b;
    }
}

TEST(PalettePopupView, ComesFromAndGoesToTheSetting)
{
    struct Case { qint32 stored; int view; qint32 storedAfter; };
    const std::vector<Case> cases = {
        {0, 0, 0}, {3, 3, 3}, {4, 4, 4}, {5, 0, 0}, {-1, 0, 0}, {1000, 0, 0},
    };
    for (const Case& c : cases) {
        TStitch st;
        st.PaletteView = c.stored;
        PalettePopup p(st);
        p.FormCreate();
        EXPECT_EQ(p.view(), c.view) << c.stored;
        EXPECT_EQ(st.PaletteView, c.storedAfter) << c.stored;
    }
    TStitch st;
    PalettePopup p(st);
    p.FormCreate();
    p.setView(pvSymbol);
    EXPECT_EQ(st.PaletteView, pvSymbol);
    p.setView(5);
    EXPECT_EQ(p.view(), pvSymbol);
    EXPECT_EQ(st.PaletteView, pvSymbol);
}

TEST(PalettePopupSelect, AClickOnASwatchSetsTheDrawColour)
{
    TStitch st;
    fillGreys(st, 5);
    st.setDrawcolor(0xABCDEF);
    PalettePopup p(st);
    p.takeSnapshot();
    p.layout(26 + 2 * 65); // 2 columns, 3 rows: (1, 2) is past the end
    EXPECT_FALSE(p.selectCell(1, 2));
    EXPECT_EQ(st.drawcolor(), 0xABCDEFu);
    EXPECT_TRUE(p.selectCell(1, 1));
    EXPECT_EQ(st.drawcolor(), st.colorsList[4].color);
    EXPECT_EQ(st.drawcolor(), makeColorKey(0, 0, 0));
}

TEST(PalettePopupText, NameHeightShrinksUntilTheTextFits)
{
    // A measure of 3 pixels of width per pixel of height.
    const auto measure = [](int h) { return 3 * h; };
    struct Case { int start; int maxWidth; int height; };
    const std::vector<Case> cases = {
        {18, 64, 18}, {18, 54, 18}, {18, 53, 17}, {18, 30, 10}, {18, 3, 1}, {18, 0, 1}, {0, 64, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PalettePopup::fitTextHeight("x", c.start, c.maxWidth, measure), c.height)
            << c.start << " " << c.maxWidth;
}

TEST(PaletteFadeTest, FadesInAndOutInStepsOfTen)
{
    PaletteFade f;
    EXPECT_FALSE(f.running());
    f.startIn();
    EXPECT_EQ(f.alpha(), 10);
    std::vector<int> seen;
    PaletteFade::Result r = PaletteFade::Continue;
    while (f.running() && seen.size() < 100) {
        r = f.tick();
        seen.push_back(f.alpha());
    }
    // 20, 30, ... 220, then 230 reaches 221 and the window is opaque.
    ASSERT_EQ(seen.size(), 22u);
    EXPECT_EQ(seen.front(), 20);
    EXPECT_EQ(seen[20], 220);
    EXPECT_EQ(seen.back(), 255);
    EXPECT_EQ(r, PaletteFade::Shown);

    f.startOut();
    seen.clear();
    while (f.running() && seen.size() < 100) {
        r = f.tick();
        seen.push_back(f.alpha());
    }
    // 245, 235, ... 25, then 15 closes the window and alpha is reset.
    ASSERT_EQ(seen.size(), 24u);
    EXPECT_EQ(seen.front(), 245);
    EXPECT_EQ(seen[22], 25);
    EXPECT_EQ(seen.back(), 255);
    EXPECT_EQ(r, PaletteFade::Close);
}

TEST(PaletteFadeTest, FadingOutDuringTheFadeInStartsFromTheCurrentAlpha)
{
    PaletteFade f;
    f.startIn();
    f.tick();
    f.tick(); // 30
    f.startOut();
    EXPECT_EQ(f.tick(), PaletteFade::Continue);
    EXPECT_EQ(f.alpha(), 20);
    EXPECT_EQ(f.tick(), PaletteFade::Close);
    EXPECT_EQ(f.alpha(), 255);
    EXPECT_FALSE(f.running());
}

} // namespace
