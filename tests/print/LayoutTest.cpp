// The page layout: page metrics for a printer page and for picture export, the cutting of a
// design into pages for every key position, the key places, back-stitch copies, extra pages,
// the filter and the numbering.
#include "print/PaperDevice.h"
#include "print/TPreview.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

const TPosition kPositions[] = {pLeft, pTop, pRight, pBottom, pSeparate};

struct Layout
{
    TPreview preview;
    TPrintOptions options;
    TLayoutInput input;
    bool fitted = true;

    const PrintPages& pages() const { return preview.pages; }
    const TMyPage& at(int col, int row) const
    {
        static const TMyPage none;
        auto it = preview.pages.find({col, row});
        EXPECT_NE(it, preview.pages.end()) << "no page at " << col << "," << row;
        return it == preview.pages.end() ? none : it->second;
    }
    bool has(int col, int row) const { return preview.pages.count({col, row}) > 0; }
};

// Runs the layout for a W x H design with n key entries; `setup` adjusts the options and the
// input before the run. Printer runs use an A4 portrait page at 300 dpi.
template <typename Setup>
Layout run(bool exportMode, TPosition position, int W, int H, int n, Setup setup,
           const TPageDevice& paper = paperDevice(QPageSize::A4, fPortrait, 300))
{
    Layout l;
    l.options.exportMode = exportMode;
    l.input.width = W;
    l.input.height = H;
    l.input.keyCount = n;
    setup(l.options, l.input);
    l.preview.position = position;
    if (!exportMode)
        l.preview.setPrinterMetrics(paper, l.options, l.input);
    l.fitted = l.preview.calc(l.options, l.input);
    return l;
}
Layout run(bool exportMode, TPosition position, int W, int H, int n)
{
    return run(exportMode, position, W, H, n, [](TPrintOptions&, TLayoutInput&) {});
}

// Key-list indexes shown on the pages of one kind (back-stitch copies or the rest), each as
// often as it is shown.
std::multiset<int> keyPlaces(const TPreview& p, int n, bool backCopies)
{
    std::multiset<int> shown;
    for (const auto& [pos, page] : p.pages) {
        if ((page.PrintStitches == psBackStitchOnly) != backCopies || !p.showsKeys(page))
            continue;
        for (int line = 0; line < page.keycols; ++line)
            for (int place = 0; place < page.keycount; ++place) {
                const int i = TPreview::keyIndex(page, line, place);
                if (i >= 0 && i < n)
                    shown.insert(i);
            }
    }
    return shown;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Page metrics

TEST(LayoutMetrics, ExportPageShrinksByTheBorderAndThePageNumberStrip)
{
    struct Case
    {
        bool border, numbers;
        int width, height;
    } cases[] = {
        {true, false, 875, 770},
        {false, false, 900, 800},
        {false, true, 900, 790},
        {true, true, 875, 760},
    };
    for (const Case& c : cases) {
        Layout l = run(true, pSeparate, 100, 100, 3, [&](TPrintOptions& o, TLayoutInput&) {
            o.inlineBorder = c.border;
            o.pageNumbers = c.numbers;
        });
        SCOPED_TRACE(testing::Message() << "border " << c.border << " numbers " << c.numbers);
        EXPECT_EQ(l.preview.pagewidth, c.width);
        EXPECT_EQ(l.preview.pageheight, c.height);
        EXPECT_EQ(l.preview.pagewidthReal, 900);
        EXPECT_EQ(l.preview.pageheightReal, 800);
        EXPECT_EQ(l.preview.pixelsPerInch, 72);
        EXPECT_EQ(l.preview.mmPx, 3.0);
        EXPECT_EQ(l.preview.gridWidthPx, 20);
        EXPECT_EQ(l.preview.borderPX, 30);
        EXPECT_EQ(l.preview.keyWidthPx, 180);
        EXPECT_EQ(l.preview.keyHeightPx, 18);
        EXPECT_EQ(l.preview.titleHeightPx, 30);
        EXPECT_EQ(l.preview.CommentHeightPX, 45);
        EXPECT_EQ(l.preview.LegendDistance, 15);
        if (c.border) {
            EXPECT_EQ(l.preview.inlineBorderPX, QRect(15, 15, 10, 15));
        }
    }
}

TEST(LayoutMetrics, ExportExampleHoldsFortyTwoColumnsOnTheFirstPage)
{
    const Layout l = run(true, pSeparate, 100, 100, 3);
    EXPECT_EQ(l.preview.pagewidth, 875);
    EXPECT_EQ(l.preview.pageheight, 770);
    EXPECT_EQ(l.at(0, 0).cellsX, 42); // Floor((875 - 30) / 20)
    EXPECT_EQ(l.at(0, 0).cellsY, (770 - 75 - 30) / 20);
    EXPECT_EQ(l.at(0, 0).xOffcetPx, 15);
    EXPECT_EQ(l.at(0, 0).yOffcetPx, 75 + 15);
}

TEST(LayoutMetrics, PrinterPageFromTheDevice)
{
    const Layout l = run(false, pSeparate, 50, 50, 3);
    const TPreview& p = l.preview;
    EXPECT_EQ(p.pagewidthReal, 2480);
    EXPECT_EQ(p.pageheightReal, 3508);
    EXPECT_EQ(p.pagewidthmmReal, 210);
    EXPECT_EQ(p.pageheightmmReal, 297);
    EXPECT_EQ(p.pixelsPerInch, 300);
    const double px = 2480.0 / 210, py = 3508.0 / 297;
    EXPECT_EQ(p.inlineBorderPX, QRect(Rnd(15 * px), Rnd(15 * py), Rnd(10 * px), Rnd(15 * py)));
    EXPECT_EQ(p.pagewidthmm, 185);
    EXPECT_EQ(p.pageheightmm, 267);
    EXPECT_EQ(p.pagewidth, 2480 - Rnd(25 * px));
    EXPECT_EQ(p.pageheight, 3508 - Rnd(30 * py));
    EXPECT_DOUBLE_EQ(p.mmPx, double(p.pagewidth) / p.pagewidthmm);
    EXPECT_DOUBLE_EQ(p.gridWidthPx, 3.0 * p.mmPx);
    EXPECT_EQ(p.keyWidthPx, Rnd(60 * p.mmPx));
    EXPECT_EQ(p.BackStitchLinesPx, int(p.mmPx * 60 / 100));
}

TEST(LayoutMetrics, KnittingCellsAreLower)
{
    const Layout ex = run(true, pSeparate, 10, 10, 1, [](TPrintOptions&, TLayoutInput& in) {
        in.knittingMode = true;
    });
    EXPECT_EQ(ex.preview.gridWidthPx, 20);
    EXPECT_EQ(ex.preview.gridHeightPx, 14);
    const Layout pr = run(false, pSeparate, 10, 10, 1, [](TPrintOptions&, TLayoutInput& in) {
        in.knittingMode = true;
    });
    EXPECT_DOUBLE_EQ(pr.preview.gridHeightPx, 3.0 * pr.preview.mmPy * 0.7);
}

// ---------------------------------------------------------------------------------------------
// Page tables

TEST(LayoutTable, SmallDesignWithASeparateKeyHasTwoPages)
{
    for (bool exportMode : {true, false}) {
        const Layout l = run(exportMode, pSeparate, 10, 10, 1);
        SCOPED_TRACE(exportMode ? "export" : "printer");
        EXPECT_EQ(l.pages().size(), 2u);
        EXPECT_EQ(l.preview.hpages, 2);
        EXPECT_EQ(l.preview.vpages, 1);
        EXPECT_EQ(l.preview.pageNumber, 2);
        EXPECT_EQ(l.at(0, 0).pageNum, 1);
        EXPECT_EQ(l.at(0, 0).PrintStitches, psBoth);
        EXPECT_EQ(l.at(0, 0).cellsX, 10);
        EXPECT_EQ(l.at(0, 0).cellsY, 10);
        EXPECT_TRUE(l.at(1, 0).keysOnly);
        EXPECT_EQ(l.at(1, 0).pageNum, 2);
        EXPECT_EQ(l.at(1, 0).keycols, 1);
    }
}

TEST(LayoutTable, NoColoursGiveNoKeyPlaces)
{
    for (TPosition pos : kPositions) {
        const Layout l = run(true, pos, 100, 80, 0);
        SCOPED_TRACE(positionName(pos).toStdString());
        EXPECT_TRUE(l.fitted);
        EXPECT_EQ(l.preview.keyLines, 0);
        for (const auto& [at, page] : l.pages()) {
            EXPECT_FALSE(page.keysOnly);
            EXPECT_FALSE(page.hasKeys);
            EXPECT_EQ(page.keycount, 0);
        }
        EXPECT_EQ(l.preview.hpages, int(l.pages().size()) / l.preview.vpages);
    }
}

TEST(LayoutTable, BackStitchCopiesOnlyWithBackOrRhodesStitches)
{
    struct Case
    {
        bool separate, hasBack;
        bool copies;
    } cases[] = {{true, true, true}, {true, false, false}, {false, true, false}};
    for (const Case& c : cases) {
        const Layout l = run(true, pSeparate, 100, 80, 3, [&](TPrintOptions& o, TLayoutInput& in) {
            o.backStitchesSeparate = c.separate;
            in.hasBackOrRhodes = c.hasBack;
        });
        const Layout plain = run(true, pSeparate, 100, 80, 3);
        SCOPED_TRACE(testing::Message() << "separate " << c.separate << " back " << c.hasBack);
        int chart = 0, back = 0;
        for (const auto& [at, page] : l.pages()) {
            if (page.PrintStitches == psBackStitchOnly) {
                ++back;
                // The copy lies one table height below its original.
                const TMyPage& orig = l.at(at.col, at.row - plain.preview.vpages);
                EXPECT_EQ(orig.cellXFirst, page.cellXFirst);
                EXPECT_EQ(orig.cellYFirst, page.cellYFirst);
                EXPECT_FALSE(page.keysOnly);
            } else if (!page.keysOnly) {
                ++chart;
                EXPECT_EQ(page.PrintStitches, c.separate ? psCrossStitchOnly : psBoth);
            }
        }
        EXPECT_EQ(back, c.copies ? chart : 0);
        EXPECT_EQ(l.preview.vpages, plain.preview.vpages * (c.copies ? 2 : 1));
    }
}

TEST(LayoutTable, GridNumbersDecideTheCellsOfLaterPages)
{
    // Printer pages: G follows "Grid numbers". Without it only the first page row and column
    // keep the ruler margin; with it every page keeps it.
    for (bool numbers : {false, true}) {
        const Layout l = run(false, pSeparate, 300, 300, 3, [&](TPrintOptions& o, TLayoutInput&) {
            o.gridNumbers = numbers;
        });
        SCOPED_TRACE(numbers ? "grid numbers" : "no grid numbers");
        const TMyPage& first = l.at(0, 0);
        const TMyPage& inner = l.at(1, 1);
        EXPECT_EQ(l.preview.gridNumbersFlag, numbers);
        if (numbers) {
            EXPECT_EQ(inner.cellsX, first.cellsX);
            EXPECT_GT(inner.cellsY, first.cellsY); // the title and comment stay on page 1
        } else {
            EXPECT_GT(inner.cellsX, first.cellsX);
            EXPECT_GT(l.at(0, 1).cellsY, l.at(1, 0).cellsY);
        }
    }
    // Runs for export leave G as the last printer run set it.
    Layout l = run(false, pSeparate, 30, 30, 1, [](TPrintOptions& o, TLayoutInput&) {
        o.gridNumbers = true;
    });
    l.options.exportMode = true;
    l.options.gridNumbers = false;
    l.preview.calc(l.options, l.input);
    EXPECT_TRUE(l.preview.gridNumbersFlag);
}

TEST(LayoutTable, SeparateKeyPagesAreNumberedWithinTheirRow)
{
    // 100 x 80 cells on 900 x 800 pictures: 42 and 43 columns, 33 and 38 rows per page; key
    // columns of (770 - 60) div 18 = 39 entries: 300 entries need 8, 4 per page: two key pages.
    const Layout l = run(true, pSeparate, 100, 80, 300);
    EXPECT_EQ(l.preview.hpages, 4);
    EXPECT_EQ(l.preview.vpages, 3);
    EXPECT_EQ(l.at(0, 0).cellsX, 42);
    EXPECT_EQ(l.at(1, 0).cellsX, 43);
    EXPECT_EQ(l.at(2, 0).cellsX, 15);
    EXPECT_EQ(l.at(0, 0).cellsY, 33);
    EXPECT_EQ(l.at(0, 1).cellsY, 38);
    EXPECT_EQ(l.at(0, 2).cellsY, 9);
    EXPECT_TRUE(l.at(3, 0).keysOnly);
    EXPECT_TRUE(l.at(3, 1).keysOnly);
    EXPECT_FALSE(l.has(3, 2));
    EXPECT_EQ(l.at(3, 0).keycols, 4);
    EXPECT_EQ(l.at(3, 1).keycols, 4);
    const std::vector<std::pair<int, int>> order = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {0, 1},
                                                    {1, 1}, {2, 1}, {3, 1}, {0, 2}, {1, 2},
                                                    {2, 2}};
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(l.at(order[i].first, order[i].second).pageNum, int(i) + 1);
    EXPECT_EQ(l.preview.pageNumber, 11);
}

TEST(LayoutTable, ExtraPagesAndTheFilter)
{
    struct Case
    {
        const char* name;
        void (*setup)(TPrintOptions&);
        std::vector<TPrintStitches> kinds; // in page order
        std::vector<TPagePos> places;
    } cases[] = {
        {"chart and key", [](TPrintOptions&) {}, {psBoth, psBoth}, {{0, 0}, {1, 0}}},
        {"title", [](TPrintOptions& o) { o.title = true; }, {psBookHeader, psBoth, psBoth},
         {{0, 0}, {0, 1}, {1, 1}}},
        {"no design", [](TPrintOptions& o) { o.design = false; }, {psBoth}, {{1, 0}}},
        {"no legend", [](TPrintOptions& o) { o.legend = false; }, {psBoth}, {{0, 0}}},
        {"labels, contents, info",
         [](TPrintOptions& o) { o.labels = o.contents = o.info = true; },
         {psBoth, psBoth, psLabels, psContents, psBookFooter},
         {{0, 0}, {1, 0}, {0, 1}, {0, 2}, {0, 3}}},
        {"everything extra without chart and key",
         [](TPrintOptions& o) {
             o.design = o.legend = false;
             o.title = o.labels = o.contents = o.info = o.stitchList = true;
         },
         {psBookHeader, psStitchList, psLabels, psContents, psBookFooter},
         {{0, 0}, {0, 2}, {0, 3}, {0, 4}, {0, 5}}},
    };
    for (const Case& c : cases) {
        const Layout l = run(true, pSeparate, 10, 10, 5, [&](TPrintOptions& o, TLayoutInput&) {
            c.setup(o);
        });
        SCOPED_TRACE(c.name);
        std::vector<TPrintStitches> kinds;
        std::vector<TPagePos> places;
        int number = 0;
        for (const auto& [at, page] : l.pages()) {
            kinds.push_back(page.PrintStitches);
            places.push_back(at);
            EXPECT_EQ(page.pageNum, ++number);
        }
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_EQ(places, c.places);
        EXPECT_EQ(l.preview.pageNumber, number);
    }
}

TEST(LayoutTable, ChartPagesGoWithoutTheDesignAlsoWhenTheyHoldNoKeyPlace)
{
    // A design without colours has no key place on any page; its chart pages are still chart
    // pages and go when the chart is not selected.
    const Layout l = run(true, pRight, 100, 100, 0, [](TPrintOptions& o, TLayoutInput&) {
        o.design = false;
        o.info = true;
    });
    ASSERT_EQ(l.pages().size(), 1u);
    EXPECT_EQ(l.pages().begin()->second.PrintStitches, psBookFooter);
}

TEST(LayoutTable, StitchStepsPagesRunLeftToRight)
{
    // a = 875 div 180 = 4 columns, b = (770 - 30) div 18 = 41 lines: 164 lines a page.
    struct Case
    {
        int height, lines;
        int pages;
    } cases[] = {{10, 153, 1}, {10, 154, 2}, {100, 400, 4}, {100, 1000, 7}};
    for (const Case& c : cases) {
        const Layout l = run(true, pSeparate, 100, c.height, 3, [&](TPrintOptions& o, TLayoutInput& in) {
            o.stitchList = true;
            in.stitchListLength = c.lines;
        });
        SCOPED_TRACE(testing::Message() << c.height << " rows, " << c.lines << " lines");
        std::vector<TPagePos> places;
        for (const auto& [at, page] : l.pages())
            if (page.PrintStitches == psStitchList)
                places.push_back(at);
        ASSERT_EQ(int(places.size()), c.pages);
        const int hp = l.preview.hpages;
        const int firstRow = places.front().row;
        for (int g = 0; g < c.pages; ++g)
            EXPECT_EQ(places[g], (TPagePos{g % hp, firstRow + g / hp}));
        EXPECT_EQ(l.preview.vpages, firstRow + (c.pages + hp - 1) / hp);
    }
}

TEST(LayoutTable, LabelPagesHoldTwoHundredSeventyLabels)
{
    struct Case
    {
        int n, pages;
    } cases[] = {{1, 1}, {270, 1}, {271, 2}, {540, 2}, {541, 3}};
    for (const Case& c : cases) {
        const Layout l = run(true, pSeparate, 10, 10, c.n, [](TPrintOptions& o, TLayoutInput&) {
            o.labels = true;
        });
        int labels = 0;
        for (const auto& [at, page] : l.pages())
            labels += page.PrintStitches == psLabels;
        EXPECT_EQ(labels, c.pages) << c.n << " entries";
    }
    const Layout none = run(true, pSeparate, 10, 10, 0, [](TPrintOptions& o, TLayoutInput&) {
        o.labels = true;
    });
    for (const auto& [at, page] : none.pages())
        EXPECT_NE(page.PrintStitches, psLabels);
}

TEST(LayoutTable, TooManyColoursBesideTheChartFallBackToSeparate)
{
    for (TPosition pos : {pTop, pLeft}) {
        const Layout l = run(true, pos, 100, 100, 2000);
        SCOPED_TRACE(positionName(pos).toStdString());
        EXPECT_FALSE(l.fitted);
        EXPECT_EQ(l.preview.position, pSeparate);
        const Layout separate = run(true, pSeparate, 100, 100, 2000);
        EXPECT_EQ(l.pages(), separate.pages());
    }
    const Layout fits = run(true, pTop, 100, 100, 10);
    EXPECT_TRUE(fits.fitted);
    EXPECT_EQ(fits.preview.position, pTop);
}

TEST(LayoutTable, KeyOnTheRightOverflowsOntoKeyPagesInTheSameRow)
{
    // 40 x 60 cells: one page column of 33 and 27 rows, key columns of 36 + 30 places, 7 of
    // them, none fitting right of the 800-pixel chart: two key pages per row, 4 columns each.
    const Layout l = run(true, pRight, 40, 60, 400);
    const TMyPage& last = l.at(0, 0);
    EXPECT_GT(last.keyOffset, 0);
    // Every page row ends with the same number of key pages.
    std::map<int, int> perRow;
    for (const auto& [at, page] : l.pages())
        if (page.cellsX == 0)
            ++perRow[at.row];
    ASSERT_FALSE(perRow.empty());
    for (const auto& [row, count] : perRow)
        EXPECT_EQ(count, perRow.begin()->second) << "row " << row;
    EXPECT_EQ(l.preview.hpages, 1 + perRow.begin()->second);
}

// ---------------------------------------------------------------------------------------------
// Properties over a table of designs and options

struct PropertyCase
{
    bool exportMode;
    int page; // 0: the default page; 1: a small picture or a large landscape sheet
    TPosition position;
    bool legendSize, inlineBorder, pageNumbers, gridNumbers;
    int W, H, n;
};

std::vector<PropertyCase> propertyCases()
{
    std::vector<PropertyCase> cases;
    const std::pair<int, int> sizes[] = {{1, 1}, {5, 3}, {10, 10}, {60, 200}, {250, 40}, {300, 300}};
    for (bool ex : {true, false})
        for (int page : {0, 1})
            for (TPosition pos : kPositions)
                for (int flags = 0; flags < 16; ++flags)
                    for (auto [W, H] : sizes)
                        for (int n : {0, 1, 7, 39, 120, 500})
                            cases.push_back({ex, page, pos, bool(flags & 1), bool(flags & 2),
                                             bool(flags & 4), bool(flags & 8), W, H, n});
    return cases;
}

std::string describe(const PropertyCase& c)
{
    return (testing::Message() << (c.exportMode ? "export " : "printer ") << "page " << c.page << " "
                               << positionName(c.position).toStdString() << " legendSize "
                               << c.legendSize << " border " << c.inlineBorder << " numbers "
                               << c.pageNumbers << " grid numbers " << c.gridNumbers << " design "
                               << c.W << "x" << c.H << " n " << c.n)
        .GetString();
}

Layout runCase(const PropertyCase& c, bool backSeparate = false)
{
    const auto setup = [&](TPrintOptions& o, TLayoutInput& in) {
        o.legendSize = c.legendSize;
        o.inlineBorder = c.inlineBorder;
        o.pageNumbers = c.pageNumbers;
        o.gridNumbers = c.gridNumbers;
        o.backStitchesSeparate = backSeparate;
        in.hasBackOrRhodes = backSeparate;
        if (c.page == 1) {
            // A picture smaller than three key entries; a sheet with large cells.
            in.jpegWidth = 300;
            in.jpegHeight = 250;
            in.jpegGrid = 8;
            o.gridX = 1500;
            o.gridY = 700;
        }
    };
    if (c.page == 1 && !c.exportMode)
        return run(false, c.position, c.W, c.H, c.n, setup, paperDevice(QPageSize::A3, fLandscape, 150));
    return run(c.exportMode, c.position, c.W, c.H, c.n, setup);
}

TEST(LayoutProperty, EveryKeyEntryIsShownExactlyOnce)
{
    int failures = 0;
    for (const PropertyCase& c : propertyCases()) {
        for (bool back : {false, true}) {
            const Layout l = runCase(c, back);
            const std::multiset<int> shown = keyPlaces(l.preview, c.n, false);
            std::multiset<int> expected;
            for (int i = 0; i < c.n; ++i)
                expected.insert(i);
            bool ok = shown == expected;
            // The back-stitch copies repeat the key beside the chart, at most once each.
            const std::multiset<int> again = keyPlaces(l.preview, c.n, true);
            for (int i : again)
                ok = ok && again.count(i) == 1;
            if (!ok && ++failures <= 10)
                ADD_FAILURE() << describe(c) << (back ? " with back-stitch copies" : "")
                              << ": " << shown.size() << " places shown for " << c.n
                              << " entries";
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(LayoutProperty, KeyPlacesLieOnTheUsablePage)
{
    // Every key place that holds an entry, a 60 x 6 mm box where the key painter puts it,
    // measured from the usable page's top-left corner.
    int failures = 0;
    for (const PropertyCase& c : propertyCases()) {
        const Layout l = runCase(c);
        const TPreview& p = l.preview;
        const qint32 il = c.inlineBorder ? p.borderLeftPx() : 0;
        const qint32 it = c.inlineBorder ? p.borderTopPx() : 0;
        const qint32 header = p.titleHeightPx + p.CommentHeightPX;
        std::string problem;
        for (const auto& [at, page] : p.pages) {
            if (!p.showsKeys(page))
                continue;
            for (int line = 0; line < page.keycols; ++line)
                for (int place = 0; place < page.keycount; ++place) {
                    if (TPreview::keyIndex(page, line, place) >= c.n)
                        continue;
                    qint32 left = 0, top = 0;
                    switch (p.position) {
                    case pLeft:
                    case pSeparate:
                        left = line * p.keyWidthPx;
                        top = page.yOffcetPx - it + place * p.keyHeightPx;
                        break;
                    case pTop:
                        left = place * p.keyWidthPx;
                        top = header + line * p.keyHeightPx;
                        break;
                    case pRight:
                        left = page.keyOffset - il + line * p.keyWidthPx;
                        top = (page.isTop ? header : 0) + place * p.keyHeightPx;
                        break;
                    case pBottom:
                        left = place * p.keyWidthPx;
                        top = page.keyOffset - it + line * p.keyHeightPx;
                        break;
                    }
                    if (left < 0 || top < 0 || left + p.keyWidthPx > p.pagewidth
                        || top + p.keyHeightPx > p.pageheight)
                        problem = (testing::Message()
                                   << "page " << at.col << "," << at.row << " key place " << line
                                   << "," << place << " at " << left << "," << top << " on "
                                   << p.pagewidth << " x " << p.pageheight)
                                      .GetString();
                }
        }
        if (!problem.empty() && ++failures <= 10)
            ADD_FAILURE() << describe(c) << ": " << problem;
    }
    EXPECT_EQ(failures, 0);
}

TEST(LayoutProperty, ChartPagesCoverEveryCellOnceAndFitTheirPage)
{
    int failures = 0;
    for (const PropertyCase& c : propertyCases()) {
        const Layout l = runCase(c);
        const TPreview& p = l.preview;
        std::vector<int> covered(size_t(c.W) * c.H, 0);
        const qint32 il = c.inlineBorder ? p.borderLeftPx() : 0;
        const qint32 it = c.inlineBorder ? p.borderTopPx() : 0;
        std::string problem;
        for (const auto& [at, page] : p.pages) {
            if (!isChartPage(page) || page.cellsX == 0)
                continue;
            if (page.cellXLast - page.cellXFirst + 1 != page.cellsX
                || page.cellYLast - page.cellYFirst + 1 != page.cellsY)
                problem = "first/last cells disagree with the counts";
            for (int y = page.cellYFirst; y <= page.cellYLast; ++y)
                for (int x = page.cellXFirst; x <= page.cellXLast; ++x)
                    if (x >= 0 && x < c.W && y >= 0 && y < c.H)
                        ++covered[size_t(y) * c.W + x];
                    else
                        problem = "a cell outside the design";
            // The chart with its ruler margin (the painters' origin) inside the usable page.
            const bool G = p.gridNumbersFlag;
            const double right = page.xOffcetPx - il + ((page.isLeft || G) ? p.borderPX : 0)
                + page.cellsX * p.gridWidthPx;
            const double bottom = page.yOffcetPx - it + ((page.isTop || G) ? p.borderPX : 0)
                + page.cellsY * p.gridHeightPx;
            if (right > p.pagewidth + 1e-6 || bottom > p.pageheight + 1e-6)
                problem = (testing::Message() << "page " << at.col << "," << at.row
                                              << " reaches " << right << " x " << bottom
                                              << " on " << p.pagewidth << " x " << p.pageheight)
                              .GetString();
        }
        for (int v : covered)
            if (v != 1)
                problem = "a cell on " + std::to_string(v) + " pages";
        if (!problem.empty() && ++failures <= 10)
            ADD_FAILURE() << describe(c) << ": " << problem;
    }
    EXPECT_EQ(failures, 0);
}

TEST(LayoutProperty, PagesAreNumberedInTableOrder)
{
    for (const PropertyCase& c : propertyCases()) {
        if (c.n != 120 || c.W != 300)
            continue;
        const Layout l = runCase(c, true);
        int number = 0;
        for (const auto& [at, page] : l.pages()) {
            ASSERT_EQ(page.pageNum, ++number) << describe(c);
            ASSERT_LT(at.col, l.preview.tableColumns()) << describe(c);
            ASSERT_LT(at.row, l.preview.vpages) << describe(c);
        }
        EXPECT_EQ(l.preview.pageNumber, number);
    }
}

TEST(LayoutFault, KeyOnTheLeftWithTheBorderLosesNoEntry)
{
    // The first page's key column holds (770 - 75) div 18 = 38 entries; counting it again
    // from the offset that includes the 15-pixel border would give 37 while the page below
    // starts at entry 38.
    const Layout l = run(true, pLeft, 100, 100, 60, [](TPrintOptions& o, TLayoutInput&) {
        o.legendSize = false;
    });
    EXPECT_EQ(l.at(0, 0).keycount, 38);
    EXPECT_EQ(l.at(0, 1).keyFirst, 38);
    EXPECT_EQ(l.at(0, 2).keyFirst, l.at(0, 0).keycount + l.at(0, 1).keycount);
    EXPECT_EQ(l.at(0, 0).KeyRestart, l.at(0, 2).keyFirst + l.at(0, 2).keycount);
}

TEST(LayoutFault, NarrowDesignStillShowsItsKeyBesideTheChart)
{
    // Three cells are narrower than one key entry: the key still gets a place per row.
    for (TPosition pos : {pTop, pBottom}) {
        const Layout l = run(true, pos, 3, 3, 4);
        SCOPED_TRACE(positionName(pos).toStdString());
        EXPECT_EQ(l.at(0, 0).keycount, 1);
        EXPECT_EQ(l.preview.keyLines, 4);
    }
}

// ---------------------------------------------------------------------------------------------
// Thumbnail map

TEST(LayoutThumbnails, PagesShowTheirAreasInTheirColours)
{
    Layout l = run(true, pSeparate, 10, 10, 3, [](TPrintOptions& o, TLayoutInput&) {
        o.title = o.stitchList = true;
    });
    QImage img(300, 300, QImage::Format_ARGB32);
    img.fill(Qt::black);
    {
        QPainter painter(&img);
        l.preview.drawThumbnails(painter, img.size(), l.options);
    }
    // Cells of 150 x 100 fitted to a portrait 800:900 page -> 89 x 100.
    const auto has = [&](QRect r, QRgb colour) {
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (img.pixel(x, y) == colour)
                    return true;
        return false;
    };
    const int w = 89, h = 100;
    EXPECT_TRUE(has(QRect(0, 0, w, h), qRgb(0x99, 0x99, 0x99)));        // title page
    EXPECT_TRUE(has(QRect(0, h, w, h), qRgb(0x13, 0xB6, 0x01)));        // chart
    EXPECT_TRUE(has(QRect(0, h, w, h), qRgb(0xFF, 0x75, 0xB4)));        // title strip
    EXPECT_TRUE(has(QRect(0, h, w, h), qRgb(0x11, 0x88, 0xFF)));        // comment strip
    EXPECT_TRUE(has(QRect(w, h, w, h), qRgb(0xFF, 0xDE, 0x24)));        // key page
    EXPECT_TRUE(has(QRect(0, 2 * h, w, h), qRgb(0xE5, 0xE5, 0xE5)));    // stitch steps
    EXPECT_TRUE(has(QRect(0, h, w, h), qRgb(0, 0, 255)));               // page number
    EXPECT_FALSE(has(QRect(2 * w + 1, 0, 300 - 2 * w - 1, 300), qRgb(0x13, 0xB6, 0x01)));
    EXPECT_EQ(img.pixel(299, 299), qRgb(255, 255, 255));
}
