// Chart pages and key entries drawn onto pictures and onto a recording device: grid line
// positions and widths, the frame without the grid, ruler numbers, fills clear of the grid,
// symbols inside their cells, back-stitch start markers, French knots on page borders, key
// entry texts and places, the footer, and symbols as text on PDF pages.
#include "PagePainterSupport.h"
#include "print/PrintFonts.h"
#include "print/RealMode.h"
#include "support/SmallDesign.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFontMetrics>
#include <QPdfWriter>
#include <QProcess>
#include <QSet>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace testsupport;
using namespace printtest;

namespace {

bool isBlack(QRgb c) { return qRed(c) < 60 && qGreen(c) < 60 && qBlue(c) < 60; }
bool isWhite(QRgb c) { return qRed(c) > 250 && qGreen(c) > 250 && qBlue(c) > 250; }

class PagePainterTest : public ::testing::Test
{
protected:
    PagePainterTest() : design(16, 12), v(smallPreview())
    {
        TStitch& s = design.stitch;
        s.symbolSize = 100;
        s.len = 0.01;
        s.backlen = 0.01;
        s.baseLen = 0;
        s.BagSize = 200;
        s.Title = QStringLiteral("Rose");
        opt.pageNumbers = false;
    }

    PrintContext context() { return {design.doc, design.stitch, v, opt, keys, steps}; }

    QImage render(const TMyPage& page)
    {
        ImageTarget target(QSize(v.pagewidthReal, v.pageheightReal));
        const PrintContext ctx = context();
        PagePainter painter(ctx, target);
        painter.beginJob();
        painter.drawTablePage(page);
        return target.current();
    }

    Recorded record(const TMyPage& page)
    {
        RecordingTarget target(QSize(v.pagewidthReal, v.pageheightReal));
        const PrintContext ctx = context();
        PagePainter painter(ctx, target);
        painter.beginJob();
        painter.drawTablePage(page);
        return target.rec;
    }

    // Ellipses outlined in black: the start markers of back stitches.
    static int markers(const Recorded& r)
    {
        int n = 0;
        for (const auto& e : r.ellipses)
            if (e.pen == QColor(Qt::black) && e.penStyle != Qt::NoPen)
                ++n;
        return n;
    }

    TMyColor entry(ColorKey c, qint32 count, TColorType type = ctCross)
    {
        return keyEntry(design, c, count, type);
    }

    SmallDesign design;
    TPreview v;
    TPrintOptions opt;
    QList<TMyColor> keys;
    QList<TStitchListItem> steps;
};

// Page (0, 0): cells 0..7 x 0..5, origin S = 20 + 40, U = 20 + 100 + 40.
TMyPage firstPage(const TPreview& v) { return chartPage(v, 0, 8, 0, 6, true, true); }

TEST_F(PagePainterTest, GridLinesLieAtTheirPositionsWithTheWidthOfTheirNumber)
{
    // Page (1, 0): columns 8..15, S = 20 (no ruler margin left), U = 160.
    const QImage img = render(chartPage(v, 8, 8, 0, 6, false, true));
    struct Line
    {
        bool column;
        int pos; // x of a column line, y of a row line
        int width;
    };
    const Line lines[] = {
        {true, 20, 1},   // line 8
        {true, 40, 1},   // line 9
        {true, 60, 4},   // line 10: thick
        {true, 160, 2},  // line 15: medium
        {true, 180, 1},  // line 16: the right frame
        {false, 160, 4}, // row line 0: thick
        {false, 180, 1}, // row line 1
        {false, 260, 2}, // row line 5: medium
        {false, 280, 1}, // row line 6: the bottom frame
    };
    for (const Line& l : lines) {
        SCOPED_TRACE(testing::Message() << (l.column ? "column " : "row ") << l.pos);
        const int first = l.pos - l.width / 2, last = first + l.width - 1;
        auto at = [&](int p) { return l.column ? img.pixel(p, 170) : img.pixel(30, p); };
        for (int p = first; p <= last; ++p)
            EXPECT_TRUE(isBlack(at(p))) << p;
        EXPECT_TRUE(isWhite(at(first - 1)));
        EXPECT_TRUE(isWhite(at(last + 1)));
    }
}

TEST_F(PagePainterTest, WithoutTheGridOnlyTheFrameAndTheRulerTicksAreDrawn)
{
    opt.printGrid = false;
    const QImage img = render(firstPage(v));
    struct Probe
    {
        int x, y;
        bool black;
        const char* what;
    };
    const Probe probes[] = {
        {60, 170, true, "left frame (line 0, thick)"},
        {58, 170, true, "left frame, its first pixel"},
        {220, 170, true, "right frame (line 8)"},
        {100, 160, true, "top frame"},
        {100, 280, true, "bottom frame (row line 6)"},
        {80, 170, false, "inner column line 1"},
        {100, 180, false, "inner row line 1"},
        {55, 180, true, "tick of row line 1 in the ruler margin"},
        {45, 180, false, "a short tick ends a quarter margin out"},
        {42, 260, true, "the tick of row line 5 reaches half the margin"},
        {38, 260, false, "... and not further"},
        {65, 260, false, "no row line 5 inside the chart"},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(isBlack(img.pixel(p.x, p.y)), p.black) << p.what;
}

TEST_F(PagePainterTest, RulerNumbersStandOnTensInDesignCoordinates)
{
    struct Case
    {
        int col0, cols, row0, rows;
        bool isLeft, isTop, gridNumbers;
        QStringList numbers;
    };
    const Case cases[] = {
        {0, 8, 0, 6, true, true, false, {}},         // lines 0..8 and 0..6: 0 has no number
        {8, 8, 0, 6, false, true, false, {"10"}},    // column 10; no row ruler off the left
        {0, 8, 6, 6, true, false, false, {"10"}},    // row 10; no column ruler below the top
        {8, 8, 6, 6, false, false, false, {}},       // inner page: no ruler at all
        {8, 8, 6, 6, false, false, true, {"10", "10"}}, // "Grid numbers": both rulers
        {45, 20, 0, 6, false, true, false, {"50", "60"}}, // a second page column from 45
    };
    for (const Case& c : cases) {
        v.gridNumbersFlag = c.gridNumbers;
        const Recorded r = record(chartPage(v, c.col0, c.cols, c.row0, c.rows, c.isLeft, c.isTop));
        QStringList numbers;
        for (const auto& t : r.texts)
            if (!t.text.isEmpty() && t.text.at(0).isDigit())
                numbers.append(t.text);
        EXPECT_EQ(numbers, c.numbers) << c.col0 << "," << c.row0;
    }
    v.gridNumbersFlag = false;
    opt.printRuler = false;
    const Recorded none = record(chartPage(v, 8, 8, 0, 6, false, true));
    EXPECT_TRUE(none.texts.isEmpty());
}

TEST_F(PagePainterTest, ColumnNumberEndsOneMillimetreLeftOfItsLine)
{
    const Recorded r = record(chartPage(v, 8, 8, 0, 6, false, true));
    ASSERT_EQ(r.texts.size(), 1);
    const QFontMetrics fm(printFont(kPrintSansFamily, 12, 96));
    EXPECT_EQ(r.texts[0].pixelSize, 16);
    // Line 10 at x = 60; the number's right end 4 pixels (1 mm) left of it; top on U - 40.
    EXPECT_EQ(r.texts[0].baseline.x(), 60 - 4 - fm.horizontalAdvance(QStringLiteral("10")));
    EXPECT_EQ(r.texts[0].baseline.y(), 120 + fm.ascent());
}

// The ruler numbers' ink on the picture: the column number in the margin above the chart,
// ending a millimetre left of its line; the row number in the margin left of the chart, below
// its line.
TEST_F(PagePainterTest, RulerNumberInkLiesInTheMarginBesideItsLine)
{
    const QFontMetrics fm(printFont(kPrintSansFamily, 12, 96));
    const int cx = fm.horizontalAdvance(QStringLiteral("10"));
    struct Case
    {
        const char* what;
        TMyPage page;
        QRect search; // margin area searched for ink, clear of the ticks
        QRect box;    // where the number's ink must lie
    };
    const Case cases[] = {
        // Page (1, 0): S = 20, U = 160; column line 10 at x = 60, its tick down from y = 120.
        {"column 10", chartPage(v, 8, 8, 0, 6, false, true), QRect(0, 100, 57, 48),
         QRect(60 - 4 - cx, 120, cx, fm.height())},
        // Page (0, 1): S = 60, U = 20; row line 10 at y = 100, its tick from x = 20.
        {"row 10", chartPage(v, 0, 8, 6, 6, true, false), QRect(0, 102, 58, 16),
         QRect(20, 100, cx, fm.height())},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QImage img = render(c.page);
        QRect ink;
        for (int y = c.search.top(); y <= c.search.bottom(); ++y)
            for (int x = c.search.left(); x <= c.search.right(); ++x)
                if (isBlack(img.pixel(x, y)))
                    ink |= QRect(x, y, 1, 1);
        ASSERT_FALSE(ink.isEmpty());
        EXPECT_TRUE(c.box.contains(ink)) << ink.x() << "," << ink.y() << " " << ink.width()
                                         << "x" << ink.height();
    }
}

TEST_F(PagePainterTest, FillsStayClearOfTheGridLines)
{
    for (int x = 0; x < 8; ++x)
        for (int y = 0; y < 6; ++y)
            design.doc.updatePixel(x, y, kRed, false);
    struct Case
    {
        bool grid;
        int cell;      // column of the page
        int left, right; // first and last red pixel on the row y = 170
    };
    const Case cases[] = {
        {true, 0, 62, 79},   // thick frame 58..61, thin line at 80
        {true, 1, 81, 99},
        {true, 4, 141, 158}, // medium line 5 at 160 covers 159..160
        {true, 5, 161, 179},
        {true, 7, 201, 219}, // thin frame at 220
        {false, 0, 62, 79},  // without the grid the fill meets the next cell ...
        {false, 1, 80, 99},  // ... but still clears the frame
        {false, 7, 200, 219},
    };
    opt.printSymbols = false;
    for (const Case& c : cases) {
        opt.printGrid = c.grid;
        const QImage img = render(firstPage(v));
        SCOPED_TRACE(testing::Message() << "grid " << c.grid << " cell " << c.cell);
        for (int x = c.left; x <= c.right; ++x)
            EXPECT_EQ(img.pixel(x, 170), qRgb(255, 0, 0)) << x;
        if (c.grid || c.cell == 0) {
            EXPECT_NE(img.pixel(c.left - 1, 170), qRgb(255, 0, 0));
        }
        if (c.grid || c.cell == 7) {
            EXPECT_NE(img.pixel(c.right + 1, 170), qRgb(255, 0, 0));
        }
    }
    // Row lines: thick top frame 158..161, thin row line 1 at 180.
    opt.printGrid = true;
    const QImage img = render(firstPage(v));
    EXPECT_TRUE(isBlack(img.pixel(70, 161)));
    EXPECT_EQ(img.pixel(70, 162), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(70, 179), qRgb(255, 0, 0));
    EXPECT_TRUE(isBlack(img.pixel(70, 180)));
    EXPECT_EQ(img.pixel(70, 181), qRgb(255, 0, 0));
}

TEST_F(PagePainterTest, SymbolIsDrawnInsideItsCell)
{
    // One red cell at (3, 2): page pixels x 120..139, y 200..219. The symbol is what differs
    // between the page with and without symbols.
    design.doc.updatePixel(3, 2, kRed, false);
    opt.printSymbols = true;
    const QImage with = render(firstPage(v));
    opt.printSymbols = false;
    const QImage without = render(firstPage(v));
    QRect ink;
    for (int y = 0; y < with.height(); ++y)
        for (int x = 0; x < with.width(); ++x)
            if (with.pixel(x, y) != without.pixel(x, y))
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(121, 201, 19, 19).contains(ink)) << ink.x() << "," << ink.y() << " "
                                                       << ink.width() << "x" << ink.height();
    // White ink on red (lightness 127).
    bool white = false;
    for (int y = ink.top(); y <= ink.bottom(); ++y)
        for (int x = ink.left(); x <= ink.right(); ++x)
            white |= with.pixel(x, y) == qRgb(255, 255, 255);
    EXPECT_TRUE(white);
}

TEST_F(PagePainterTest, SymbolsFollowPrintSymbolsAndColoursFollowPrintWithColors)
{
    design.doc.updatePixel(3, 2, kRed, false);
    design.doc.updateQPixel(0, 0, kGreen, false);
    struct Case
    {
        bool colors, symbols;
        bool redFill, anyInkInCell, anyInkInQuarter;
    };
    const Case cases[] = {
        {true, true, true, true, true},
        {true, false, true, false, false},
        {false, true, false, true, true},
        {false, false, false, false, false}, // an empty grid
    };
    for (const Case& c : cases) {
        v.useColors = c.colors;
        opt.printSymbols = c.symbols;
        const QImage img = render(firstPage(v));
        SCOPED_TRACE(testing::Message() << "colors " << c.colors << " symbols " << c.symbols);
        EXPECT_EQ(img.pixel(123, 203) == qRgb(255, 0, 0), c.redFill);
        bool cellInk = false, quarterInk = false;
        for (int y = 201; y < 220; ++y)
            for (int x = 121; x < 140; ++x)
                cellInk |= isBlack(img.pixel(x, y)) || (c.colors && isWhite(img.pixel(x, y)));
        for (int y = 162; y < 170; ++y)
            for (int x = 62; x < 70; ++x)
                quarterInk |= isBlack(img.pixel(x, y)) || (c.colors && isWhite(img.pixel(x, y)));
        EXPECT_EQ(cellInk, c.anyInkInCell);
        EXPECT_EQ(quarterInk, c.anyInkInQuarter);
    }
}

TEST_F(PagePainterTest, BackStitchChainHasOneStartMarkerAndANewOneWhereItReenters)
{
    auto add = [&](QPoint a, QPoint b, ColorKey c) {
        TBackStitch s;
        s.FromPoint = a;
        s.ToPoint = b;
        s.Color = c;
        design.doc.backStitchesAdd(s, false);
    };
    // A chain of three stitches inside page (0, 0) (grid points 0..16 x 0..12).
    add({2, 2}, {4, 2}, kBlue);
    add({4, 2}, {6, 2}, kBlue);
    add({6, 2}, {6, 4}, kBlue);
    EXPECT_EQ(markers(record(firstPage(v))), 1);
    // Another colour continuing the chain starts a new one.
    add({6, 4}, {8, 4}, kRed);
    EXPECT_EQ(markers(record(firstPage(v))), 2);
    // A chain that leaves the page to the right and comes back.
    add({12, 8}, {20, 8}, kGreen);
    add({20, 8}, {20, 10}, kGreen);
    add({20, 10}, {12, 10}, kGreen);
    EXPECT_EQ(markers(record(firstPage(v))), 4);
    // The page to the right sees the part outside as one chain: one marker.
    EXPECT_EQ(markers(record(chartPage(v, 8, 8, 0, 6, false, true))), 1);
    // Cross-stitch pages of separate back-stitch printing show no back stitch.
    EXPECT_EQ(markers(record(chartPage(v, 0, 8, 0, 6, true, true, psCrossStitchOnly))), 0);
    opt.backStitches = false;
    EXPECT_EQ(markers(record(firstPage(v))), 0);
}

TEST_F(PagePainterTest, RhodesStitchesAreDrawnInTheirColourWithOneMarkerEach)
{
    // Two Rhodes stitches of crossing stitches on page (0, 0) (S = 60, U = 160; grid point
    // (px, py) at (60 + 10 px, 160 + 10 py)). None of their stitches chains on to the one
    // before, yet only the first stitch of each gets a start marker.
    auto rhode = [&](QPoint at, ColorKey c) {
        auto r = std::make_unique<TRhode>();
        r->width = r->height = 2;
        r->color = c;
        const QPoint ends[][2] = {{{0, 0}, {4, 4}}, {{4, 0}, {0, 4}}, {{2, 0}, {2, 4}}};
        for (const auto& e : ends) {
            TBackStitch s;
            s.FromPoint = at + e[0];
            s.ToPoint = at + e[1];
            s.Color = c;
            r->stitches.append(s);
        }
        design.doc.RhodeAdd(std::move(r), false);
    };
    rhode({2, 2}, kBlue);
    rhode({8, 2}, kBlue);
    opt.printRuler = false;
    opt.printGrid = false;
    opt.backSymbol = false;
    struct Case
    {
        const char* what;
        TPrintStitches kind;
        bool rhodes;
        int markers;
        bool drawn;
    };
    const Case cases[] = {
        {"chart page", psBoth, true, 2, true},
        {"back-stitch copy", psBackStitchOnly, true, 2, true},
        {"cross-stitch page of separate back-stitch printing", psCrossStitchOnly, true, 0, false},
        {"\"Print Rhodes/French Knot\" off", psBoth, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        opt.rhodes = c.rhodes;
        const TMyPage page = chartPage(v, 0, 8, 0, 6, true, true, c.kind);
        EXPECT_EQ(markers(record(page)), c.markers);
        const QImage img = render(page);
        // The upright stitch of each Rhodes stitch runs down x = 100 and x = 160 from y = 180
        // to 220; below the crossing point only that stitch is there.
        auto blue = [&](int x0) {
            int n = 0;
            for (int y = 206; y <= 214; ++y)
                for (int x = x0 - 2; x <= x0 + 2; ++x)
                    n += img.pixel(x, y) == qRgb(0, 0, 255);
            return n;
        };
        EXPECT_EQ(blue(100) >= 9, c.drawn);
        EXPECT_EQ(blue(160) >= 9, c.drawn);
    }
}

TEST_F(PagePainterTest, QuarterStitchesFillTheirQuarterOfTheCell)
{
    // Quarter (qi, qj) of page (0, 0) fills from (10 qi + 61, 10 qj + 161) up to, not
    // including, (10 (qi + 1) + 60, 10 (qj + 1) + 160).
    design.doc.updateQPixel(3, 1, kGreen, false); // cell (1, 0), bottom right
    design.doc.updateQPixel(4, 4, kRed, false);   // cell (2, 2), top left
    opt.printSymbols = false;
    const QImage img = render(firstPage(v));
    struct Probe
    {
        int x, y;
        QRgb colour;
    };
    const QRgb green = qRgb(0, 128, 0), red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
    const Probe probes[] = {
        {91, 171, green}, {99, 179, green}, {95, 175, green},
        {90, 175, white}, {95, 170, white}, // the quarter's own edge stays clear
        {85, 175, white}, {95, 165, white}, // the cell's other quarters are empty
        {101, 201, red}, {109, 209, red},
        {110, 205, white}, {105, 210, white},
    };
    for (const Probe& p : probes)
        EXPECT_EQ(img.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;
    // With symbols, the quarter's symbol is drawn inside the quarter.
    opt.printSymbols = true;
    const QImage with = render(firstPage(v));
    QRect ink;
    for (int y = 160; y < 200; ++y)
        for (int x = 80; x < 100; ++x)
            if (with.pixel(x, y) != img.pixel(x, y))
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(91, 171, 9, 9).contains(ink))
        << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
}

TEST_F(PagePainterTest, FrenchKnotOnAPageBorderLineIsDrawnOnTheNextPageOnly)
{
    TFrenchKnot k;
    k.Center = QPoint(16, 4); // the line between columns 7 and 8
    k.Color = kGreen;
    design.doc.frenchKnotAdd(k, false);
    auto knots = [](const Recorded& r) {
        QList<QRectF> out;
        for (const auto& e : r.ellipses)
            if (e.brush == QColor(0, 128, 0))
                out.append(e.rect);
        return out;
    };
    EXPECT_TRUE(knots(record(firstPage(v))).isEmpty());
    const QList<QRectF> next = knots(record(chartPage(v, 8, 8, 0, 6, false, true)));
    ASSERT_EQ(next.size(), 1);
    // Centred on the page's left line x = S = 20 and on grid row 4 (y = 160 + 40), a third of
    // a cell (6 pixels) each way.
    EXPECT_EQ(next[0].toRect(), QRect(14, 194, 11, 11));
    opt.rhodes = false;
    EXPECT_TRUE(knots(record(chartPage(v, 8, 8, 0, 6, false, true))).isEmpty());
}

TEST_F(PagePainterTest, KeyEntryShowsNumberNameAmountAndBags)
{
    struct Case
    {
        const char* what;
        TMyColor e;
        QStringList texts;
        bool circle;
    };
    design.stitch.Colors.find(kBlue)->colorName = QStringLiteral("310"); // number = name
    const Case cases[] = {
        {"450 crosses: 450 units, 3 bags", entry(kRed, 450), {"321", "Red", "450", "3 Bag(s)"}, false},
        {"exactly one bag", entry(kGreen, 200), {"B5200", "Green", "200", "1 Bag(s)"}, false},
        {"number equal to the name: one line", entry(kBlue, 7), {"310", "7", "1 Bag(s)"}, false},
        {"back stitches: circle swatch", entry(kRed, 33, ctBack), {"321", "Red", "33", "1 Bag(s)"}, true},
    };
    v.position = pRight;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        keys = {c.e};
        TMyPage page = firstPage(v);
        page.hasKeys = true;
        page.keyOffset = 300;
        page.keycount = 1;
        opt.printRuler = false;
        const Recorded r = record(page);
        QStringList texts = r.strings();
        texts.removeAll(QStringLiteral("Rose"));
        texts.removeAll(QStringLiteral("Small"));
        EXPECT_EQ(texts, c.texts);
        int swatches = 0;
        for (const auto& e : (c.circle ? r.ellipses : r.rects))
            if (e.pen == QColor(Qt::black) && e.penStyle == Qt::SolidLine
                && e.brush == keyToQColor(c.e.Color))
                ++swatches;
        EXPECT_EQ(swatches, 1);
    }
}

TEST_F(PagePainterTest, KeyEntriesSitWhereThePageSaysWithTheBorderAddedOnce)
{
    keys = {entry(kRed, 10), entry(kGreen, 20), entry(kBlue, 30)};
    struct Case
    {
        TPosition position;
        bool border;
        QList<QPoint> swatches; // top-left of each swatch, in key order
    };
    // The first page's yOffcetPx is 20 + 100 (border and title/comment); keyOffset 300 already
    // holds the border the layout added to the page offsets.
    const Case cases[] = {
        {pRight, true, {{300, 120}, {300, 144}, {300, 168}}},
        {pRight, false, {{300, 100}, {300, 124}, {300, 148}}},
        {pBottom, true, {{20, 300}, {260, 300}, {500, 300}}},
        {pBottom, false, {{0, 300}, {240, 300}, {480, 300}}},
        {pTop, true, {{20, 120}, {260, 120}, {500, 120}}},
        {pLeft, true, {{20, 120}, {20, 144}, {20, 168}}},
    };
    opt.printRuler = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "position " << int(c.position) << " border " << c.border);
        v.position = c.position;
        opt.inlineBorder = c.border;
        TMyPage page = firstPage(v);
        if (!c.border)
            page.yOffcetPx -= v.borderTopPx();
        page.hasKeys = c.position == pRight || c.position == pBottom;
        page.keyOffset = 300;
        page.keycount = 3;
        page.keycols = 1;
        QList<QPoint> got;
        for (const auto& e : record(page).rects)
            if (e.pen == QColor(Qt::black) && e.penStyle == Qt::SolidLine)
                got.append(e.rect.topLeft().toPoint());
        EXPECT_EQ(got, c.swatches);
    }
}

// The layout's own pages: every swatch sits where the page's offsets put it (keyOffset and
// yOffcetPx already hold the inline border), right of or below the chart, inside the page.
TEST_F(PagePainterTest, KeyEntriesSitAtTheKeyPlacesOfTheLayout)
{
    keys = {entry(kRed, 10), entry(kGreen, 20), entry(kBlue, 30)};
    opt.exportMode = true;
    opt.printRuler = false;
    TLayoutInput in;
    in.width = 16;
    in.height = 12;
    in.keyCount = int(keys.size());
    for (const TPosition position : {pRight, pBottom, pSeparate, pLeft, pTop})
        for (const bool border : {true, false}) {
            SCOPED_TRACE(testing::Message() << "position " << int(position) << " border " << border);
            opt.inlineBorder = border;
            v = TPreview();
            v.position = position;
            ASSERT_TRUE(v.calc(opt, in));
            const int il = border ? v.borderLeftPx() : 0, it = border ? v.borderTopPx() : 0;
            const int kw = v.keyWidthPx, kh = v.keyHeightPx, head = v.titleHeightPx + v.CommentHeightPX;
            int seen = 0;
            for (const auto& [pos, page] : v.pages) {
                QList<QPoint> expected;
                for (int line = 0; line < page.keycols; ++line)
                    for (int place = 0; place < page.keycount; ++place) {
                        if (TPreview::keyIndex(page, line, place) >= keys.size()
                            || !v.showsKeys(page))
                            continue;
                        switch (position) {
                        case pRight: expected.append({page.keyOffset + line * kw,
                                                      it + (page.isTop ? head : 0) + place * kh}); break;
                        case pBottom: expected.append({il + place * kw, page.keyOffset + line * kh}); break;
                        case pTop: expected.append({il + place * kw, it + head + line * kh}); break;
                        case pLeft:
                        case pSeparate: expected.append({il + line * kw, page.yOffcetPx + place * kh}); break;
                        }
                    }
                const Recorded r = record(page);
                QList<QPoint> got;
                for (const auto& e : r.rects)
                    if (e.pen == QColor(Qt::black) && e.penStyle == Qt::SolidLine) {
                        got.append(e.rect.topLeft().toPoint());
                        const QRect entryBox(e.rect.topLeft().toPoint(), QSize(kw, kh));
                        EXPECT_TRUE(QRect(0, 0, v.pagewidthReal, v.pageheightReal).contains(entryBox));
                        if (page.cellsX > 0 && position == pRight)
                            EXPECT_GT(entryBox.left(), page.xOffcetPx + v.borderPX
                                                           + Rnd(page.cellsX * v.gridWidthPx));
                        if (page.cellsY > 0 && position == pBottom)
                            EXPECT_GT(entryBox.top(), page.yOffcetPx + v.borderPX
                                                          + Rnd(page.cellsY * v.gridHeightPx));
                    }
                EXPECT_EQ(got, expected) << "page " << pos.col << "," << pos.row;
                seen += int(got.size());
            }
            EXPECT_EQ(seen, int(keys.size()));
        }
}

TEST_F(PagePainterTest, KeyPageHasHeadingsAndEntriesUnderThem)
{
    keys = {entry(kRed, 10), entry(kGreen, 20), entry(kBlue, 30)};
    TMyPage page;
    page.PrintStitches = psBoth;
    page.keysOnly = true;
    page.yOffcetPx = 2 * v.titleHeightPx + v.borderTopPx();
    page.keycount = 2;
    page.keycols = 2;
    page.KeyRestart = 2;
    const Recorded r = record(page);
    const QStringList texts = r.strings();
    EXPECT_EQ(texts.mid(0, 6), (QStringList{"Palette: Small", "Color", "Order number/",
                                            "Color Name", "Amount", "Bags"}));
    EXPECT_EQ(texts.count(QStringLiteral("Color")), 2);
    QList<QPoint> swatches;
    for (const auto& e : r.rects)
        if (e.pen == QColor(Qt::black) && e.penStyle == Qt::SolidLine)
            swatches.append(e.rect.topLeft().toPoint());
    EXPECT_EQ(swatches, (QList<QPoint>{{20, 100}, {20, 124}, {260, 100}}));
}

TEST_F(PagePainterTest, FooterShowsPageAndPageCountCentredInTheBottomStrip)
{
    opt.pageNumbers = true;
    opt.printRuler = false;
    v.pageheight -= 40; // the 10 mm strip for the page numbers
    TMyPage page = chartPage(v, 8, 8, 6, 6, false, false);
    page.pageNum = 2;
    const QFontMetrics fm(printFont(kPrintSansFamily, 12, 96));
    const QString text = QStringLiteral("Page: 2/5");
    struct Case
    {
        bool border;
        int top;
    };
    for (const Case c : {Case{true, 500 - 20 - 20}, Case{false, 500 - 20}}) {
        opt.inlineBorder = c.border;
        const Recorded r = record(page);
        ASSERT_EQ(r.strings(), QStringList{text});
        EXPECT_EQ(r.texts[0].baseline, QPointF((600 - fm.horizontalAdvance(text)) / 2,
                                               c.top + fm.ascent()));
    }
    opt.pageNumbers = false;
    EXPECT_TRUE(record(page).texts.isEmpty());
}

// Picture pages leave a strip of 10 pixels for the page numbers: the footer starts right below
// the usable page, clear of the chart, whose last row ends on that line here.
TEST_F(PagePainterTest, FooterOnAPicturePageStaysClearOfTheChart)
{
    opt.exportMode = true;
    opt.pageNumbers = true;
    opt.printRuler = false;
    TLayoutInput in;
    in.width = 16;
    in.height = 12;
    for (const bool border : {true, false}) {
        SCOPED_TRACE(testing::Message() << "border " << border);
        opt.inlineBorder = border;
        v = TPreview();
        ASSERT_TRUE(v.calc(opt, in));
        const int usableBottom = (border ? v.borderTopPx() : 0) + v.pageheight;
        const QFontMetrics fm(printFont(kPrintSansFamily, 12, v.pixelsPerInch));
        // A page of rows 8 and 9 whose bottom frame (line 10, thick) lies on the bottom of
        // the usable page, under the footer's place.
        TMyPage page = chartPage(v, 0, 16, 8, 2, false, false);
        page.xOffcetPx = 300;
        page.yOffcetPx = usableBottom - 2 * 20;
        page.pageNum = 1;
        const Recorded r = record(page);
        ASSERT_EQ(r.strings().filter(QStringLiteral("Page:")).size(), 1);
        for (const auto& t : r.texts)
            if (t.text.startsWith(QStringLiteral("Page:")))
                EXPECT_GT(t.baseline.y() - fm.ascent(), usableBottom);
        const QImage img = render(page);
        for (int x = 400; x < 500; ++x)
            EXPECT_TRUE(isBlack(img.pixel(x, usableBottom))) << x;
    }
}

TEST_F(PagePainterTest, HeaderShowsTitleOrFileNameAndCommentOrPalette)
{
    opt.printRuler = false;
    struct Case
    {
        QString title, file;
        QStringList comment;
        QStringList texts;
    };
    const Case cases[] = {
        {"Rose", "/x/y/rose.qvxp", {}, {"Rose", "Small"}},
        {"", "/x/y/rose.qvxp", {"for Anna"}, {"rose.qvxp", "for Anna"}},
    };
    for (const Case& c : cases) {
        design.stitch.Title = c.title;
        design.stitch.setFilename(c.file);
        design.stitch.comment = c.comment;
        const Recorded r = record(firstPage(v));
        EXPECT_EQ(r.strings(), c.texts);
        ASSERT_EQ(r.texts.size(), 2);
        EXPECT_EQ(r.texts[0].baseline.x(), 20);
    }
    // Pages other than the first carry no header.
    EXPECT_TRUE(record(chartPage(v, 8, 8, 0, 6, false, true)).texts.isEmpty());
}

// Symbols on a PDF page are text of the symbol font: a reader's text extraction returns them.
TEST_F(PagePainterTest, SymbolsOnAPdfPageAreText)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (tools/install-deps.sh)";
    // A character set of plain letters so that the extracted text is easy to read.
    TCharacterInfo set = *design.stitch.characters.find(QStringLiteral("Shapes"));
    set.Name = QStringLiteral("Letters");
    set.characters = QStringLiteral("QRSTUVW");
    design.stitch.characters.insert(set.Name, set);
    design.doc.CreateNewTemplate(16, 12, QStringLiteral("Letters"), QStringLiteral("Small"));
    design.doc.updatePixel(0, 0, kRed, false);
    design.doc.updatePixel(1, 0, kGreen, false);
    design.doc.updatePixel(2, 0, kRed, false);
    const QString pdf = currentTestPath(QStringLiteral(".pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(96);
        writer.setPageSize(QPageSize(QSizeF(600 * 25.4 / 96, 500 * 25.4 / 96),
                                     QPageSize::Millimeter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        printtest::PainterTarget target;
        target.p.begin(&writer);
        const PrintContext ctx = context();
        PagePainter painter(ctx, target);
        opt.printRuler = false;
        painter.beginJob();
        painter.drawTablePage(firstPage(v));
        target.p.end();
    }
    const QByteArray keep = qgetenv("QUILLMARK_PAGE_PDF");
    if (!keep.isEmpty())
        QFile::copy(pdf, QString::fromLocal8Bit(keep));
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(run.waitForFinished(30000));
    // Separately placed glyphs come out with spaces between them.
    const QString text = QString::fromUtf8(run.readAllStandardOutput()).remove(QLatin1Char(' '));
    const QChar red = design.stitch.chars.symbolAt(design.stitch.Colors.find(kRed)->charID);
    const QChar green = design.stitch.chars.symbolAt(design.stitch.Colors.find(kGreen)->charID);
    EXPECT_TRUE(text.contains(QString(red) + green + red)) << text.toStdString();
}

// A page with everything on it, for looking at: QUILLMARK_PAGE_PNG=path writes it.
TEST_F(PagePainterTest, RealisticPageDrawsEveryPart)
{
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            if ((x * 7 + y * 3) % 5 != 0)
                design.doc.updatePixel(x, y, (x + y) % 3 == 0 ? kRed : (x < 8 ? kGreen : kBlue), false);
    design.doc.updateQPixel(0, 0, kWhite, false);
    TBackStitch b;
    b.FromPoint = {2, 2};
    b.ToPoint = {10, 8};
    b.Color = kBlue;
    design.doc.backStitchesAdd(b, false);
    TFrenchKnot k;
    k.Center = {6, 10};
    k.Color = kRed;
    design.doc.frenchKnotAdd(k, false);
    keys = {entry(kRed, 40), entry(kGreen, 50), entry(kBlue, 60), entry(kBlue, 9, ctBack)};
    v.position = pRight;
    opt.pageNumbers = true;
    TMyPage page = firstPage(v);
    page.hasKeys = true;
    page.keyOffset = 240;
    page.keycount = 4;
    page.pageNum = 1;
    const QImage img = render(page);
    const QByteArray out = qgetenv("QUILLMARK_PAGE_PNG");
    if (!out.isEmpty())
        img.save(QString::fromLocal8Bit(out));
    int black = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            black += isBlack(img.pixel(x, y));
    EXPECT_GT(black, 1000);
}

TEST_F(PagePainterTest, RealModeDrawsTexturesWithoutGridAndReportsEachBackStitch)
{
    for (int x = 0; x < 8; ++x)
        design.doc.updatePixel(x, 0, kRed, false);
    for (const auto& [a, b] : {std::pair{QPoint(2, 2), QPoint(6, 2)}, std::pair{QPoint(6, 2), QPoint(6, 6)}}) {
        TBackStitch s;
        s.FromPoint = a;
        s.ToPoint = b;
        s.Color = kBlue;
        design.doc.backStitchesAdd(s, false);
    }
    opt.realMode = true;
    ImageTarget target(QSize(v.pagewidthReal, v.pageheightReal));
    const PrintContext ctx = context();
    PagePainter painter(ctx, target);
    QList<std::pair<int, int>> reports;
    painter.backStitchProgress = [&](int done, int all) { reports.append({done, all}); };
    const int before = RealModeTextures::textureSetsBuilt();
    painter.beginJob();
    painter.drawTablePage(firstPage(v));
    painter.drawTablePage(chartPage(v, 0, 8, 6, 6, true, false));
    EXPECT_EQ(RealModeTextures::textureSetsBuilt(), before + 1) << "textures once per job";
    EXPECT_EQ(reports, (QList<std::pair<int, int>>{{1, 2}, {2, 2}}));
    const QImage img = target.current();
    // A red cross texture in cell (3, 0) (x 120..139, y 160..179): reddish, not a flat fill.
    int reddish = 0;
    QSet<QRgb> shades;
    for (int y = 161; y < 179; ++y)
        for (int x = 121; x < 139; ++x) {
            const QRgb c = img.pixel(x, y);
            reddish += qRed(c) > qGreen(c) + 40;
            shades.insert(c);
        }
    EXPECT_GT(reddish, 50);
    EXPECT_GT(shades.size(), 3);
    // No ruler ticks in the margin.
    EXPECT_TRUE(isWhite(img.pixel(45, 180)));
}

} // namespace
