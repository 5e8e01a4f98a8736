// The chart view rendered into an image, checked pixel by pixel on tiny designs: cells,
// quarters, grid, grey beyond the design, symbols and their ink, French knots, back and
// Rhodes stitches, the highlight greys, knitting cell heights, and repaints that touch only
// the changed cells.
#include "core/PatternDocument.h"
#include "core/SymbolFont.h"
#include "support/TestSupport.h"
#include "view/ChartView.h"
#include "view/ZoomList.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

namespace {

constexpr ColorKey kNavy = makeColorKey(0, 0, 128);       // lightness 64: white ink
constexpr ColorKey kCream = makeColorKey(255, 255, 160);  // lightness 207: black ink
constexpr ColorKey kRed = makeColorKey(255, 0, 0);        // lightness 127: white ink
constexpr ColorKey kWhite = makeColorKey(255, 255, 255);
constexpr ColorKey kBlack = makeColorKey(0, 0, 0);
constexpr ColorKey kGrey128 = makeColorKey(128, 128, 128);
constexpr ColorKey kGrey129 = makeColorKey(129, 129, 129);
constexpr ColorKey kBlue = makeColorKey(0, 0, 255);

constexpr TColor32 kGrey = 0xFF7F7F7Fu;
constexpr TColor32 kGridGrey = 0xFF808080u;
constexpr TColor32 kInkWhite = 0xFFFFFFFFu;
constexpr TColor32 kInkBlack = 0xFF020000u; // the value 2: red component 2

TColor32 shownKey(ColorKey k) { return keyToOpaquePixel(k); }

// A state object with a small palette over the shipped symbol font and a design built from it.
struct ViewFixture : ::testing::Test
{
    TStitch stitch;
    PatternDocument doc{stitch};

    void SetUp() override
    {
        const QString family = registerSymbolFontFile(testsupport::shippedDataDir() +
                                                      "/fonts/KorvaldArtSymbols110.ttf");
        ASSERT_FALSE(family.isEmpty());
        ColorTable p;
        int i = 0;
        for (ColorKey k : {kNavy, kCream, kRed, kWhite, kBlack, kGrey128, kGrey129, kBlue}) {
            TColorInfo e;
            e.colorID = QString::number(i);
            e.colorName = e.colorID;
            e.charID = i;
            e.orderID = i++;
            e.matchColor = k;
            p.insert(k, e);
        }
        stitch.ColorPalettes.insert("Test", p);
        TCharacterInfo set;
        set.Name = "Test";
        set.fontName = family;
        set.characters = "#MW@X%&$";
        stitch.characters.insert(set.Name, set);
        make(3, 2);
    }
    void make(int w, int h, bool knitting = false)
    {
        doc.KnittingMode = knitting;
        doc.CreateNewTemplate(w, h, "Test", "Test");
    }
    TColor32 bg() const { return stitch.BackGroundColor; }
};

TColor32 px(const ChartView& v, int x, int y) { return v.image().pixel(x, y); }

// Pixels of `img` inside `r` that differ from `value`.
int countOther(const QImage& img, const QRect& r, TColor32 value)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += img.pixel(x, y) != value;
    return n;
}

int countValue(const QImage& img, const QRect& r, TColor32 value)
{
    return r.width() * r.height() - countOther(img, r, value);
}

// Bounding box of the pixels of one value.
QRect boxOf(const QImage& img, TColor32 value)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == value)
                box |= QRect(x, y, 1, 1);
    return box;
}

// ---------------------------------------------------------------------------------------------
// Cells, quarters, grid and the grey beyond the design against a plain per-pixel model.

struct LayoutCase
{
    const char* name;
    int w, h, zoom;
    bool knitting;
    QPoint scroll;
    bool grid;
    QSize expectedCell;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class LayoutTable : public ViewFixture, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutTable, MatchesPlainModel)
{
    const LayoutCase& c = GetParam();
    make(c.w, c.h, c.knitting);
    const ColorKey colours[] = {kNavy, kCream, kRed, kWhite, kBlack};
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x)
            if ((x + 2 * y) % 4 != 3)
                doc.updatePixel(x, y, colours[(x * 7 + y * 3) % 5], true);
    doc.updateQPixel(1, 1, kBlue, true);
    doc.updateQPixel(2 * c.w - 1, 2, kRed, true);
    doc.updateQPixel(4, 2 * c.h - 1, kNavy, true);

    ChartView view(doc);
    view.setZoom(c.zoom);
    view.setVisibility(c.grid, false);
    view.setViewportSize(QSize(70, 45));
    view.setScrollPosition(c.scroll);
    ASSERT_EQ(view.cellSize(), c.expectedCell);
    ASSERT_EQ(view.image().size(), QSize(71, 46));

    const int cw = c.expectedCell.width(), ch = c.expectedCell.height();
    // The quarter column holding design pixel d: the last q with q * size div 2 <= d.
    auto quarterOf = [](int d, int size) {
        int q = 0;
        while ((q + 1) * size / 2 <= d)
            ++q;
        return q;
    };
    int mismatches = 0;
    for (int y = 0; y < 46; ++y) {
        for (int x = 0; x < 71; ++x) {
            const int dx = x + c.scroll.x() * cw, dy = y + c.scroll.y() * ch;
            TColor32 want = kGrey;
            if (dx < c.w * cw && dy < c.h * ch) {
                want = doc.CrossCells.pixel(dx / cw, dy / ch) | 0xFF000000u;
                const TColor32 q = doc.QuarterCells.pixel(quarterOf(dx, cw), quarterOf(dy, ch));
                if (q != bg())
                    want = q | 0xFF000000u;
                if (c.grid && (dx % cw == 0 || dy % ch == 0))
                    want = kGridGrey;
            }
            if (px(view, x, y) != want && ++mismatches <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << px(view, x, y)
                              << " instead of " << want;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, LayoutTable,
    ::testing::Values(
        LayoutCase{"ZoomTwo", 3, 2, 2, false, {}, true, {2, 2}},
        LayoutCase{"OddZoomQuarters", 3, 2, 5, false, {}, true, {5, 5}},
        LayoutCase{"ZoomEightNoGrid", 3, 2, 8, false, {}, false, {8, 8}},
        LayoutCase{"ZoomEightGrid", 3, 2, 8, false, {}, true, {8, 8}},
        LayoutCase{"WiderThanView", 12, 3, 8, false, {}, true, {8, 8}},
        LayoutCase{"TallerThanView", 3, 12, 7, false, {}, true, {7, 7}},
        LayoutCase{"ScrolledToLastColumn", 3, 2, 8, false, {2, 0}, true, {8, 8}},
        LayoutCase{"ScrolledBoth", 12, 12, 6, false, {5, 3}, true, {6, 6}},
        LayoutCase{"KnittingFive", 3, 3, 5, true, {}, true, {5, 4}},
        LayoutCase{"KnittingEight", 3, 3, 8, true, {}, true, {8, 6}},
        LayoutCase{"KnittingFifteenScrolled", 4, 6, 15, true, {1, 2}, true, {15, 10}},
        LayoutCase{"ZoomForty", 3, 2, 40, false, {}, true, {40, 40}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewFixture, GridHasNoHeavierLinesEveryTenCells)
{
    make(14, 2);
    ChartView view(doc);
    view.setZoom(4);
    view.setViewportSize(QSize(70, 10));
    // Column lines at cells 9, 10 and 11 are single grey pixels with cell colour beside them.
    for (int cell : {9, 10, 11}) {
        EXPECT_EQ(px(view, cell * 4, 2), kGridGrey);
        EXPECT_EQ(px(view, cell * 4 + 1, 2), bg()) << cell;
        EXPECT_EQ(px(view, cell * 4 - 1, 2), bg()) << cell;
    }
    // No line closes the last column: beyond the design is plain grey.
    EXPECT_EQ(px(view, 14 * 4, 2), kGrey);
    EXPECT_EQ(px(view, 14 * 4 - 1, 2), bg());
}

TEST_F(ViewFixture, ScrollPositionStaysInsideTheDesign)
{
    ChartView view(doc);
    view.setScrollPosition(QPoint(5, 5));
    EXPECT_EQ(view.scrollPosition(), QPoint(2, 1));
    view.setScrollPosition(QPoint(-3, -1));
    EXPECT_EQ(view.scrollPosition(), QPoint(0, 0));
    EXPECT_EQ(view.hScrollMaximum(), 2);
    EXPECT_EQ(view.vScrollMaximum(), 1);
    // A smaller new design pulls the scroll position back inside it.
    make(20, 20);
    view.setScrollPosition(QPoint(15, 15));
    make(3, 2);
    EXPECT_EQ(view.scrollPosition(), QPoint(2, 1));
}

// ---------------------------------------------------------------------------------------------
// Symbols

struct InkCase
{
    const char* name;
    ColorKey colour;
    TColor32 ink;
};

void PrintTo(const InkCase& c, std::ostream* os) { *os << c.name; }

class InkTable : public ViewFixture, public ::testing::WithParamInterface<InkCase> {};

TEST_P(InkTable, SymbolInkFollowsLightness)
{
    const InkCase& c = GetParam();
    doc.updatePixel(1, 0, c.colour, true);
    ChartView view(doc);
    view.setViewportSize(QSize(40, 30));
    view.setVisibility(false, true);
    const QRect cell(8, 0, 8, 8);
    const int ink = countValue(view.image(), cell, c.ink);
    EXPECT_GT(ink, 0);
    // Every other pixel of the cell keeps the cell colour: no antialiasing, no third value.
    EXPECT_EQ(countOther(view.image(), cell, shownKey(c.colour)), ink);
    // Empty cells around it carry no symbol.
    EXPECT_EQ(countOther(view.image(), QRect(0, 0, 8, 16), bg()), 0);
    EXPECT_EQ(countOther(view.image(), QRect(16, 0, 8, 16), bg()), 0);
}

INSTANTIATE_TEST_SUITE_P(Inks, InkTable,
                         ::testing::Values(InkCase{"Navy", kNavy, kInkWhite},
                                           InkCase{"Cream", kCream, kInkBlack},
                                           InkCase{"PureRed", kRed, kInkWhite},
                                           InkCase{"Grey128", kGrey128, kInkWhite},
                                           InkCase{"Grey129", kGrey129, kInkBlack},
                                           InkCase{"White", kWhite, kInkBlack},
                                           InkCase{"Black", kBlack, kInkWhite}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewFixture, SymbolsShowFromZoomEight)
{
    doc.updatePixel(0, 0, kNavy, true);
    doc.updatePixel(2, 1, kCream, true);
    ChartView view(doc);
    view.setViewportSize(QSize(60, 40));
    view.setVisibility(false, true);
    for (int zoom : {2, 5, 7, 8, 10, 16}) {
        view.setZoom(zoom);
        const QRect navy(0, 0, zoom, zoom);
        const int ink = countValue(view.image(), navy, kInkWhite);
        if (zoom < 8)
            EXPECT_EQ(ink, 0) << zoom;
        else
            EXPECT_GT(ink, 0) << zoom;
        EXPECT_EQ(view.symbolLayerShown(), zoom >= 8);
    }
    view.setZoom(8);
    view.setVisibility(true, false);
    EXPECT_EQ(countValue(view.image(), QRect(0, 0, 8, 8), kInkWhite), 0);
}

TEST_F(ViewFixture, SameColourGivesSameSymbolInEveryCell)
{
    make(6, 4);
    doc.updatePixel(0, 0, kCream, true);
    doc.updatePixel(5, 3, kCream, true);
    ChartView view(doc);
    view.setZoom(12);
    view.setViewportSize(QSize(100, 60));
    view.setVisibility(false, true);
    const QImage a = view.image().copy(0, 0, 12, 12);
    const QImage b = view.image().copy(60, 36, 12, 12);
    EXPECT_EQ(a, b);
    EXPECT_GT(countValue(a, a.rect(), kInkBlack), 0);
}

TEST_F(ViewFixture, QuarterSymbolsStayInsideTheirQuarter)
{
    doc.updateQPixel(1, 0, kNavy, true);
    ChartView view(doc);
    view.setZoom(20);
    view.setViewportSize(QSize(80, 60));
    view.setVisibility(false, true);
    const QRect quarter(10, 0, 10, 10);
    EXPECT_GT(countValue(view.image(), quarter, kInkWhite), 0);
    EXPECT_EQ(countOther(view.image(), quarter, shownKey(kNavy)),
              countValue(view.image(), quarter, kInkWhite));
    EXPECT_EQ(countOther(view.image(), QRect(0, 0, 10, 20), bg()), 0);
    EXPECT_EQ(countOther(view.image(), QRect(10, 10, 10, 10), bg()), 0);
}

TEST_F(ViewFixture, ViewModesSetLayersAndIcon)
{
    struct Row { int entry; bool grid, symbols; int icon; };
    const Row rows[] = {{0, false, false, 9}, {1, true, false, 43}, {2, false, true, 42}, {3, true, true, 10}};
    doc.updatePixel(1, 0, kNavy, true);
    ChartView view(doc);
    view.setViewportSize(QSize(40, 30));
    for (const Row& r : rows) {
        const ViewModeEntry& e = ViewModes::kEntries[size_t(r.entry)];
        view.setVisibility(e.grid, e.symbols);
        EXPECT_EQ(view.viewIcon(), r.icon) << e.caption;
        EXPECT_EQ(ViewModes::entryFor(r.grid, r.symbols), r.entry);
        EXPECT_EQ(px(view, 0, 4) == kGridGrey, r.grid) << e.caption;
        EXPECT_EQ(countValue(view.image(), QRect(9, 1, 7, 7), kInkWhite) > 0, r.symbols) << e.caption;
    }
    EXPECT_STREQ(ViewModes::kEntries[3].caption, "Grid and symbols");
}

// ---------------------------------------------------------------------------------------------
// French knots and stitches

struct KnotCase
{
    const char* name;
    int w, h, zoom;
    bool knitting;
    QPoint scroll, center;
    QRect box;
};

void PrintTo(const KnotCase& c, std::ostream* os) { *os << c.name; }

class KnotTable : public ViewFixture, public ::testing::WithParamInterface<KnotCase> {};

TEST_P(KnotTable, DiscFillsItsBox)
{
    const KnotCase& c = GetParam();
    make(c.w, c.h, c.knitting);
    doc.frenchKnotAdd(TFrenchKnot{c.center, kRed, 0}, true);
    ChartView view(doc);
    view.setZoom(c.zoom);
    view.setViewportSize(QSize(60, 60));
    view.setScrollPosition(c.scroll);
    view.setVisibility(false, false);
    const TColor32 red = shownKey(kRed);
    EXPECT_EQ(boxOf(view.image(), red), c.box);
    EXPECT_EQ(px(view, c.box.center().x(), c.box.center().y()), red);
    // A disc, not a square: the corners of its box stay free.
    EXPECT_NE(px(view, c.box.left(), c.box.top()), red);
    EXPECT_NE(px(view, c.box.right(), c.box.bottom()), red);
}

INSTANTIATE_TEST_SUITE_P(
    Knots, KnotTable,
    ::testing::Values(KnotCase{"ZoomEight", 3, 2, 8, false, {}, {2, 2}, QRect(6, 6, 5, 5)},
                      KnotCase{"Scrolled", 6, 4, 8, false, {1, 1}, {4, 4}, QRect(6, 6, 5, 5)},
                      KnotCase{"ZoomSixteenHalfCell", 3, 2, 16, false, {}, {3, 1}, QRect(18, 2, 13, 13)},
                      KnotCase{"KnittingSameRadius", 3, 3, 8, true, {}, {2, 2}, QRect(6, 4, 5, 5)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewFixture, KnotLiesBelowGridAndSymbols)
{
    doc.updatePixel(0, 0, kNavy, true);
    doc.frenchKnotAdd(TFrenchKnot{{1, 1}, kCream, 0}, true);
    ChartView view(doc);
    view.setZoom(16);
    view.setViewportSize(QSize(60, 40));
    view.setVisibility(true, true);
    EXPECT_EQ(px(view, 8, 8), shownKey(kCream));
    EXPECT_EQ(px(view, 0, 8), kGridGrey); // the grid stays over the chart image
    EXPECT_GT(countValue(view.image(), QRect(0, 0, 16, 16), kInkWhite), 0);
}

struct LineCase
{
    const char* name;
    bool rhodes;
    int halfWidth; // rows above and below the line's centre
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineTable : public ViewFixture, public ::testing::WithParamInterface<LineCase> {};

TEST_P(LineTable, StitchWidthAndPlace)
{
    const LineCase& c = GetParam();
    make(4, 3);
    doc.updatePixel(1, 1, kCream, true);
    const TBackStitch s{QPoint(0, 2), QPoint(6, 2), kBlue, 0};
    if (c.rhodes) {
        auto r = std::make_unique<TRhode>();
        r->color = kBlue;
        r->stitches.append(s);
        doc.RhodeAdd(std::move(r), true);
    } else {
        doc.backStitchesAdd(s, true);
    }
    ChartView view(doc);
    view.setViewportSize(QSize(50, 40));
    view.setVisibility(false, false);
    const TColor32 blue = shownKey(kBlue);
    // A horizontal line at y = 8 from x = 0 to 24: 2 w + 1 rows thick in its middle.
    for (int x : {4, 12, 20}) {
        for (int y = 8 - c.halfWidth; y <= 8 + c.halfWidth; ++y)
            EXPECT_EQ(px(view, x, y), blue) << x << "," << y;
        EXPECT_NE(px(view, x, 8 - c.halfWidth - 1), blue) << x;
        EXPECT_NE(px(view, x, 8 + c.halfWidth + 1), blue) << x;
    }
    EXPECT_NE(px(view, 30, 8), blue);
    // Hidden back stitches leave the cells alone.
    view.setBackStitchesVisible(false);
    EXPECT_EQ(px(view, 12, 8), shownKey(kCream));
}

INSTANTIATE_TEST_SUITE_P(Lines, LineTable,
                         ::testing::Values(LineCase{"BackStitch", false, 2}, LineCase{"Rhodes", true, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewFixture, WhiteBackStitchShowsOnWhiteBackground)
{
    doc.updatePixel(0, 0, kNavy, true);
    doc.backStitchesAdd(TBackStitch{QPoint(0, 1), QPoint(2, 1), kWhite, 0}, true);
    ChartView view(doc);
    view.setViewportSize(QSize(40, 30));
    view.setVisibility(false, false);
    EXPECT_EQ(px(view, 4, 4), shownKey(kWhite));
}

// ---------------------------------------------------------------------------------------------
// Highlight

TEST_F(ViewFixture, HighlightFadesEveryColourButTheDrawColour)
{
    struct Row { ColorKey colour; TColor32 shown; };
    const Row rows[] = {{kWhite, 0xFFFFFFFFu},                 // 765 div 12 + 192 = 255
                        {kBlack, 0xFFC0C0C0u},                 // 192
                        {kRed, 0xFFD5D5D5u},                   // 255 div 12 + 192 = 213
                        {kNavy, shownKey(kNavy)}};             // the draw colour
    make(4, 2);
    for (int i = 0; i < 4; ++i)
        doc.updatePixel(i, 0, rows[i].colour, true);
    doc.updateQPixel(0, 2, kBlack, true);
    doc.backStitchesAdd(TBackStitch{QPoint(0, 3), QPoint(8, 3), kBlack, 0}, true);
    stitch.setDrawcolor(kNavy);
    ChartView view(doc);
    view.setViewportSize(QSize(40, 30));
    view.setVisibility(false, false);
    view.setHighlightActive(true);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(px(view, i * 8 + 4, 2), rows[i].shown) << i;
    EXPECT_EQ(px(view, 2, 9), 0xFFC0C0C0u);  // faded quarter
    EXPECT_EQ(px(view, 6, 12), 0xFFC0C0C0u); // faded back stitch
    EXPECT_EQ(px(view, 4, 15), bg());        // empty cells stay the background

    // Another draw colour fades the old one and shows the new one.
    stitch.setDrawcolor(kBlack);
    EXPECT_EQ(px(view, 3 * 8 + 4, 2), ChartView::fadedColor(kNavy));
    EXPECT_EQ(px(view, 1 * 8 + 4, 2), shownKey(kBlack));
    view.setHighlightActive(false);
    EXPECT_EQ(px(view, 4, 2), shownKey(kWhite));
}

// ---------------------------------------------------------------------------------------------
// Repaints of single cells

struct EditFixture : ViewFixture
{
    std::unique_ptr<ChartView> view;
    void SetUp() override
    {
        ViewFixture::SetUp();
        make(10, 8);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x)
                if ((x + y) % 3)
                    doc.updatePixel(x, y, (x + y) % 2 ? kCream : kNavy, true);
        doc.backStitchesAdd(TBackStitch{QPoint(0, 3), QPoint(12, 9), kBlue, 0}, true);
        doc.frenchKnotAdd(TFrenchKnot{QPoint(7, 5), kRed, 0}, true);
        view = std::make_unique<ChartView>(doc);
        view->setViewportSize(QSize(70, 50));
        view->setScrollPosition(QPoint(1, 1));
        view->setVisibility(true, true);
    }
    // A view drawn from scratch over the same document and state.
    QImage fresh()
    {
        ChartView other(doc);
        other.setViewportSize(QSize(70, 50));
        other.setScrollPosition(view->scrollPosition());
        other.setVisibility(view->gridVisible(), view->symbolsVisible());
        return other.image();
    }
};

TEST_F(EditFixture, PenEditRepaintsOnlyItsCell)
{
    struct Row { QPoint cell; ColorKey colour; };
    const Row rows[] = {{{3, 2}, kRed}, {{3, 2}, kCream}, {{4, 3}, 0}, {{2, 3}, kBlack}};
    for (const Row& r : rows) {
        const QImage before = view->image();
        QSignalSpy spy(view.get(), &ChartView::repainted);
        doc.updatePixel(r.cell.x(), r.cell.y(), r.colour ? r.colour : bg(), true);
        ASSERT_EQ(spy.count(), 1);
        const QRect dirty = spy.at(0).at(0).toRect();
        EXPECT_EQ(dirty, QRect((r.cell.x() - 1) * 8, (r.cell.y() - 1) * 8, 8, 8));
        const QImage after = view->image();
        int outside = 0;
        for (int y = 0; y < after.height(); ++y)
            for (int x = 0; x < after.width(); ++x)
                outside += !dirty.contains(x, y) && after.pixel(x, y) != before.pixel(x, y);
        EXPECT_EQ(outside, 0);
        // The stitch and the knot crossing the cell stay drawn: the cell equals a full redraw.
        EXPECT_EQ(after, fresh());
    }
}

TEST_F(EditFixture, QuarterEditRepaintsOnlyItsQuarter)
{
    QSignalSpy spy(view.get(), &ChartView::repainted);
    doc.updateQPixel(5, 4, kRed, true);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toRect(), QRect(12, 8, 4, 4));
    EXPECT_EQ(view->image(), fresh());
}

TEST_F(EditFixture, EditOutsideTheViewPaintsNothing)
{
    view->setScrollPosition(QPoint(6, 5));
    const QImage before = view->image();
    QSignalSpy spy(view.get(), &ChartView::repainted);
    doc.updatePixel(0, 0, kRed, true);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(view->image(), before);
}

TEST_F(EditFixture, StitchChangesAndResetsRedrawEverything)
{
    doc.backStitchesDelete(0, true);
    EXPECT_EQ(view->image(), fresh());
    doc.frenchKnotAdd(TFrenchKnot{QPoint(9, 9), kBlack, 1}, true);
    EXPECT_EQ(view->image(), fresh());
    doc.changeBackgroundColor(kBlue);
    EXPECT_EQ(view->image(), fresh());
    EXPECT_EQ(px(*view, 12, 3), shownKey(kBlue)); // cell (2, 1) is empty
}

// One full repaint per change: a reset covers the stitches, a batch of stitch changes repaints
// once, and setting the scroll position it already has repaints nothing.
TEST_F(EditFixture, OneFullRepaintPerChange)
{
    struct Row
    {
        const char* name;
        std::function<void(PatternDocument&, ChartView&)> op;
        int repaints;
    };
    const Row rows[] = {
        {"refresh", [](PatternDocument& doc, ChartView&) { doc.refreshAll(); }, 1},
        {"stitch batch",
         [](PatternDocument& doc, ChartView&) {
             PatternDocument::NotifyBatch batch(doc);
             doc.backStitchesAdd(TBackStitch{QPoint(2, 2), QPoint(6, 2), kRed, 1}, true);
             doc.frenchKnotAdd(TFrenchKnot{QPoint(3, 3), kBlue, 1}, true);
             doc.backStitchesDelete(0, true);
         },
         1},
        {"same scroll", [](PatternDocument&, ChartView& v) { v.setScrollPosition(QPoint(1, 1)); }, 0},
        {"clamped to the same scroll",
         [](PatternDocument&, ChartView& v) {
             v.setScrollPosition(QPoint(9, 7));
             v.setScrollPosition(QPoint(50, 50));
         },
         1},
        {"new scroll", [](PatternDocument&, ChartView& v) { v.setScrollPosition(QPoint(2, 3)); }, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        view->setScrollPosition(QPoint(1, 1));
        QSignalSpy spy(view.get(), &ChartView::repainted);
        r.op(doc, *view);
        ASSERT_EQ(spy.count(), r.repaints);
        if (r.repaints > 0) {
            EXPECT_EQ(spy.last().at(0).toRect(), view->image().rect());
        }
        EXPECT_EQ(view->image(), fresh());
    }
}

// ---------------------------------------------------------------------------------------------
// Zoom list and command states

TEST(ZoomListTest, CaptionsAndSteps)
{
    struct Row { int value; const char* caption; int in, out; };
    const Row rows[] = {{2, "50%", 3, 2},     {7, "175%", 8, 6},     {8, "200%", 10, 7},
                        {10, "250%", 12, 8},  {28, "700%", 40, 20},  {40, "1000%", 40, 28},
                        {9, "225%", 10, 8},   {60, "1500%", 60, 40}};
    for (const Row& r : rows) {
        EXPECT_EQ(ZoomList::caption(r.value), QString::fromLatin1(r.caption)) << r.value;
        EXPECT_EQ(ZoomList::zoomIn(r.value), r.in) << r.value;
        EXPECT_EQ(ZoomList::zoomOut(r.value), r.out) << r.value;
    }
    EXPECT_EQ(ZoomList::menuCaptions(),
              QStringList({"50%", "75%", "100%", "125%", "150%", "175%", "200%", "250%", "300%",
                           "350%", "400%", "450%", "500%", "700%", "1000%"}));
    EXPECT_EQ(ZoomList::indexOf(8), 6);
    EXPECT_EQ(ZoomList::indexOf(9), -1);
}

TEST_F(ViewFixture, ZoomStartsAtEightAndStaysInRange)
{
    ChartView view(doc);
    EXPECT_EQ(view.zoom(), 8);
    EXPECT_EQ(view.zoomCaption(), "200%");
    EXPECT_EQ(view.zoomIndex(), 6);
    view.setZoom(40);
    view.zoomIn();
    EXPECT_EQ(view.zoom(), 40);
    view.setZoom(1);
    EXPECT_EQ(view.zoom(), 2);
    view.zoomOut();
    EXPECT_EQ(view.zoom(), 2);
    view.setZoom(99);
    EXPECT_EQ(view.zoom(), 60);
    EXPECT_EQ(doc.cellSize, QSize(60, 60)); // the document follows the view's cell size
}

TEST_F(ViewFixture, ResetAndUpdateGui)
{
    ChartView view(doc);
    view.setVisibility(false, true);
    view.setScrollPosition(QPoint(2, 1));
    view.setHighlightActive(true);
    EXPECT_EQ(view.ResetGUI(), CommandStates{});
    EXPECT_EQ(view.scrollPosition(), QPoint(0, 0));
    EXPECT_TRUE(view.gridVisible());
    EXPECT_FALSE(view.symbolsVisible());
    EXPECT_FALSE(view.highlightActive());

    // Context: selection tool, floating block, copied cells, knitting, opened picture.
    struct Row { GuiContext ctx; bool cut, merge, paste, quarter, wizard; };
    const Row rows[] = {{{false, false, false, false, false}, false, false, false, true, false},
                        {{true, false, false, false, false}, true, false, false, true, false},
                        {{true, true, false, false, false}, true, true, false, true, false},
                        {{false, false, true, true, false}, false, false, true, false, false},
                        {{false, false, false, false, true}, false, false, false, true, true}};
    for (const Row& r : rows) {
        const CommandStates s = view.UpdateGUI(r.ctx);
        EXPECT_TRUE(s.save && s.print && s.zoom && s.tools && s.view && s.chartImage && s.scrollBars);
        EXPECT_TRUE(s.patternSettings && s.colorRadios && s.colorGrid);
        EXPECT_EQ(s.cut, r.cut);
        EXPECT_EQ(s.copy, r.cut);
        EXPECT_EQ(s.merge, r.merge);
        EXPECT_EQ(s.rotate, r.merge);
        EXPECT_EQ(s.mirror, r.merge);
        EXPECT_EQ(s.paste, r.paste);
        EXPECT_EQ(s.quarterTool, r.quarter);
        EXPECT_EQ(s.wizard, r.wizard);
    }
}

} // namespace
