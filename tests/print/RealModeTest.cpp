// Printing in real mode: the job's textures built once, a page's texture bitmap, back
// stitches as strips, French knots on the page, and the title page's picture.

#include "print/RealMode.h"

#include "support/Pixels.h"
#include "support/SmallDesign.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

TMyPage pageOf(int x0, int y0, int cx, int cy, TPrintStitches kind = psBoth)
{
    TMyPage p;
    p.PrintStitches = kind;
    p.cellXFirst = x0;
    p.cellYFirst = y0;
    p.cellsX = cx;
    p.cellsY = cy;
    p.cellXLast = x0 + cx - 1;
    p.cellYLast = y0 + cy - 1;
    return p;
}

// The 4 x 3 test design: red crosses on the top row, a blue quarter in cell (1, 1), a green
// quarter under a red cross in cell (2, 0).
struct RealFixture : ::testing::Test
{
    SmallDesign d{4, 3};
    void SetUp() override
    {
        for (int x = 0; x < 4; ++x)
            d.doc.updatePixel(x, 0, kRed, false);
        d.doc.updateQPixel(3, 2, kBlue, false);
        d.stitch.AllowQuarterOverCross = true;
        d.doc.updateQPixel(4, 0, kGreen, false);
    }
};

} // namespace

TEST_F(RealFixture, TexturesAreBuiltOncePerJobForTheColoursInUse)
{
    const int before = RealModeTextures::textureSetsBuilt();
    RealModeTextures t(d.doc, d.stitch, {12, 10}, false);
    EXPECT_EQ(RealModeTextures::textureSetsBuilt(), before + 1);
    EXPECT_EQ(t.fabric().size(), QSize(12, 10));
    ASSERT_NE(t.cross(kRed), nullptr);
    EXPECT_EQ(t.cross(kRed)->size(), QSize(12, 10));
    EXPECT_EQ(t.cross(kWhite), nullptr); // its symbol is not in use
    ASSERT_NE(t.quarters(kBlue), nullptr);
    const QSize quarterSizes[] = {{6, 5}, {6, 5}, {6, 5}, {6, 5}};
    for (int q = 0; q < 4; ++q)
        EXPECT_EQ((*t.quarters(kBlue))[q].size(), quarterSizes[q]);

    // Pages of the job reuse them: filling pages and drawing stitches builds no textures.
    for (int i = 0; i < 3; ++i) {
        QImage bitmap = t.pageBitmap(pageOf(0, 0, 4, 3), 12.0, 10.0);
        t.drawBackStitch(bitmap, {0, 5}, {24, 5}, kBlue);
    }
    EXPECT_EQ(RealModeTextures::textureSetsBuilt(), before + 1);
    EXPECT_EQ(t.stripBuilds(), 1);
}

TEST_F(RealFixture, PageBitmapCellsAndBackStitchCopies)
{
    RealModeTextures t(d.doc, d.stitch, {Rnd(12.4), Rnd(10.6)}, false);
    const struct { TMyPage page; double gw, gh; QSize size; } cases[] = {
        {pageOf(0, 0, 4, 3), 12.4, 10.6, {Rnd(4 * 12.4), Rnd(3 * 10.6)}},
        {pageOf(1, 1, 3, 2), 12.4, 10.6, {Rnd(3 * 12.4), Rnd(2 * 10.6)}},
        {pageOf(0, 0, 0, 3), 12.4, 10.6, {0, 0}}, // no cells: no bitmap
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.pageBitmap(c.page, c.gw, c.gh).size(), c.size);

    const QImage full = t.pageBitmap(pageOf(0, 0, 4, 3), 12.0, 11.0);
    ASSERT_EQ(full.size(), QSize(48, 33));
    // A cross cell shows its cross texture (the quarter under the cross is not drawn), an empty
    // cell the fabric, a quarter its corner texture over the fabric.
    const QImage& cross = *t.cross(kRed);
    EXPECT_EQ(full.copy(24, 0, 12, 11), cross.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(full.copy(0, 22, 12, 11), t.fabric());
    const QImage quarter = full.copy(12 + 6, 11, 6, 5);
    QImage expected = t.fabric().copy(6, 0, 6, 5);
    drawTransparent(expected, (*t.quarters(kBlue))[1], {0, 0});
    EXPECT_EQ(quarter, expected);
    EXPECT_EQ(full.copy(12, 16, 12, 6), t.fabric().copy(0, 5, 12, 6)); // lower half: fabric

    // A back-stitch copy has only the fabric.
    const QImage copy = t.pageBitmap(pageOf(0, 0, 4, 3, psBackStitchOnly), 12.0, 11.0);
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(copy.copy(12 * i, 11 * j, 12, 11), t.fabric()) << i << "," << j;
}

TEST_F(RealFixture, BackStitchesAreTintedStripsWithProgress)
{
    RealModeTextures t(d.doc, d.stitch, {12, 12}, false);
    QImage bitmap = t.pageBitmap(pageOf(0, 0, 4, 3), 12.0, 12.0);
    const QImage before = bitmap;
    QList<RealModeTextures::Segment> segments = {
        {{0, 30}, {24, 30}, kBlue}, {{48, 30}, {24, 30}, kBlue}, {{0, 0}, {24, 24}, kGreen}};
    QList<QPair<int, int>> progress;
    t.drawBackStitches(bitmap, segments, [&](int done, int total) { progress << qMakePair(done, total); });
    EXPECT_EQ(progress, (QList<QPair<int, int>>{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_EQ(t.stripBuilds(), 2); // the two horizontal stitches share their strip
    EXPECT_GT(blue(at(bitmap, 12, 30)), red(at(bitmap, 12, 30)) + 60);
    EXPECT_GT(blue(at(bitmap, 36, 30)), red(at(bitmap, 36, 30)) + 60);
    EXPECT_GT(green(at(bitmap, 12, 12)), blue(at(bitmap, 12, 12)) + 40);
    // Far from every stitch the bitmap is untouched.
    EXPECT_EQ(at(bitmap, 40, 8), at(before, 40, 8));
    EXPECT_EQ(at(bitmap, 12, 22), at(before, 12, 22));
}

TEST_F(RealFixture, FrenchKnotsAreCentredAndTransparentAround)
{
    RealModeTextures t(d.doc, d.stitch, {20, 20}, false);
    QImage page(60, 60, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter p(&page);
        t.drawFrenchKnot(p, {30, 30}, kRed);
    }
    EXPECT_GT(red(at(page, 30, 30)), green(at(page, 30, 30)) + 80);
    EXPECT_EQ(at(page, 21, 21), 0xFFFFFFFFu); // the corner of its box: transparent
    EXPECT_EQ(at(page, 30, 19), 0xFFFFFFFFu); // outside the box
    EXPECT_EQ(at(page, 19, 30), 0xFFFFFFFFu);
}

TEST_F(RealFixture, TitlePagePictureSizes)
{
    const struct { bool knitting; int k; QSize size; } cases[] = {
        {false, 10, {40, 30}}, {true, 10, {40, Rnd(0.7 * 10 * 3)}}, {false, 1, {4, 3}},
        {true, 3, {12, Rnd(0.7 * 3 * 3)}}, {false, 0, {0, 0}},
    };
    for (const auto& c : cases) {
        d.doc.KnittingMode = c.knitting;
        const QImage p = titlePagePicture(d.doc, d.stitch, c.k, false);
        EXPECT_EQ(p.size(), c.size) << c.k << " " << c.knitting;
    }
    d.doc.KnittingMode = false;
    // Crosses, fabric and back stitches in the rendering of the printed real mode.
    d.doc.backStitchesAdd(TBackStitch{{0, 4}, {8, 4}, kBlue, 0}, false);
    const QImage p = titlePagePicture(d.doc, d.stitch, 20, false);
    ASSERT_EQ(p.size(), QSize(80, 60));
    EXPECT_GT(red(at(p, 10, 10)), green(at(p, 10, 10)) + 80);
    EXPECT_GT(blue(at(p, 30, 40)), red(at(p, 30, 40)) + 60);
    EXPECT_GT(green(at(p, 70, 55)), 150); // fabric of an empty cell
}
