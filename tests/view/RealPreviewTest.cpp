// The real preview renderer: picture sizes, what each mode draws, pixels of a tiny preview,
// the strip cache shared by identical stitches, and restarting when the zoom changes.

#include "view/RealPreview.h"

#include "support/Pixels.h"
#include "support/SmallDesign.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

QImage render(const PatternDocument& doc, int zoom)
{
    RealPreview preview(doc);
    EXPECT_TRUE(preview.draw(zoom));
    return preview.picture();
}

// Whether the block of `cell` pixels at (x0, y0) is the same in both pictures.
bool sameBlock(const QImage& a, const QImage& b, QRect r)
{
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (at(a, x, y) != at(b, x, y))
                return false;
    return true;
}

} // namespace

TEST(RealPreview, PictureSizeFollowsZoomAndKnittingMode)
{
    const struct { int w, h, zoom; bool knitting; QSize cell, picture; } cases[] = {
        {100, 80, 8, false, {8, 8}, {800, 640}},
        {100, 80, 8, true, {8, 6}, {800, 480}},
        {3, 2, 5, false, {5, 5}, {15, 10}},
        {3, 2, 50, true, {50, 35}, {150, 70}},
    };
    for (const auto& c : cases) {
        SmallDesign d(c.w, c.h);
        d.doc.KnittingMode = c.knitting;
        d.doc.updatePixel(1, 1, kRed, false);
        RealPreview preview(d.doc);
        ASSERT_TRUE(preview.draw(c.zoom));
        EXPECT_EQ(preview.cellSize(), c.cell);
        EXPECT_EQ(preview.picture().size(), c.picture);
    }
}

TEST(RealPreview, APictureBeyondTheLimitsIsNotDrawn)
{
    // A side longer than a window can show, or more pixels than 1 GiB holds, stops the drawing
    // before anything is allocated; the last size below the limits is drawn.
    const struct { int w, h, zoom; bool tooLarge; } cases[] = {
        {655, 1, 50, false},   // 32750 pixels wide
        {656, 1, 50, true},    // 32800
        {1, 656, 50, true},
        {1639, 1639, 10, true}, // 16390 x 16390 > 2^28 pixels
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << c.zoom);
        SmallDesign d(c.w, c.h);
        RealPreview preview(d.doc);
        EXPECT_EQ(preview.draw(c.zoom), !c.tooLarge);
        EXPECT_EQ(preview.tooLarge(), c.tooLarge);
        EXPECT_EQ(preview.picture().isNull(), c.tooLarge);
    }
}

TEST(RealPreview, TinyPreviewPixels)
{
    SmallDesign d(3, 2);
    d.doc.updatePixel(0, 0, kRed, false);
    d.doc.updateQPixel(3, 0, kBlue, false);   // top-right quarter of cell (1, 0)
    const QImage p = render(d.doc, 20);
    ASSERT_EQ(p.size(), QSize(60, 40));

    // The cross: red in its middle, where both legs cross.
    const TColor32 centre = at(p, 10, 10);
    EXPECT_GT(red(centre), 120);
    EXPECT_LT(green(centre), 40);
    EXPECT_LT(blue(centre), 40);
    // Between the legs (the middle of the cell's top edge) the white fabric shows.
    const TColor32 gap = at(p, 10, 1);
    EXPECT_GT(green(gap), 150);
    EXPECT_GT(blue(gap), 150);
    // An empty cell is fabric: light and neutral.
    const TColor32 fabric = at(p, 50, 30);
    EXPECT_GT(green(fabric), 150);
    EXPECT_LT(std::abs(red(fabric) - blue(fabric)), 30);
    // The quarter: blue in the top-right quarter of cell (1, 0) only.
    EXPECT_GT(blue(at(p, 35, 5)), red(at(p, 35, 5)) + 60);
    const QImage empty = render(SmallDesign(3, 2).doc, 20);
    EXPECT_TRUE(sameBlock(p, empty, QRect(20, 0, 10, 20)));   // left half of cell (1, 0)
    EXPECT_TRUE(sameBlock(p, empty, QRect(30, 10, 10, 10)));  // its bottom-right quarter
    EXPECT_FALSE(sameBlock(p, empty, QRect(30, 0, 10, 10)));
    EXPECT_TRUE(sameBlock(p, empty, QRect(0, 20, 60, 20)));   // the empty bottom row

    // No pixel is transparent or magenta, and every cell of fabric is the same tile.
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x) {
            const TColor32 c = at(p, x, y);
            EXPECT_EQ(c >> 24, 0xFFu);
            EXPECT_FALSE(red(c) > 200 && blue(c) > 200 && green(c) < 60) << x << "," << y;
        }
    EXPECT_EQ(p.copy(20, 20, 20, 20), p.copy(40, 20, 20, 20));
}

TEST(RealPreview, BackStitchesKnotsAndRhodesAreDrawnAsThread)
{
    SmallDesign d(4, 3);
    const QImage empty = render(d.doc, 10);
    // A horizontal stitch over two cells along the top of row 1: its strip is 20 pixels long,
    // from (0, 10) to (20, 10), and lies across the line.
    d.doc.backStitchesAdd(TBackStitch{{0, 2}, {4, 2}, kBlue, 0}, false);
    const QImage stitched = render(d.doc, 10);
    EXPECT_GT(blue(at(stitched, 10, 10)), red(at(stitched, 10, 10)) + 60);
    EXPECT_TRUE(sameBlock(stitched, empty, QRect(0, 0, 40, 7)));
    EXPECT_TRUE(sameBlock(stitched, empty, QRect(0, 14, 40, 16)));
    EXPECT_TRUE(sameBlock(stitched, empty, QRect(21, 0, 19, 30)));

    // A knot centred on grid point (6, 4): the middle of its cell box is red.
    SmallDesign k(4, 3);
    k.doc.frenchKnotAdd(TFrenchKnot{{6, 4}, kRed, 0}, false);
    const QImage knotted = render(k.doc, 10);
    EXPECT_GT(red(at(knotted, 30, 20)), green(at(knotted, 30, 20)) + 60);
    EXPECT_TRUE(sameBlock(knotted, empty, QRect(0, 0, 24, 30)));

    // A Rhodes stitch draws its stitches in its own colour.
    SmallDesign r(4, 3);
    auto rhode = std::make_unique<TRhode>();
    rhode->color = kGreen;
    rhode->stitches = {TBackStitch{{0, 2}, {4, 2}, kRed, 0}};
    r.doc.RhodeAdd(std::move(rhode), false);
    const QImage rhodes = render(r.doc, 10);
    EXPECT_GT(green(at(rhodes, 10, 10)), red(at(rhodes, 10, 10)) + 40);
}

TEST(RealPreview, KnittingModeDrawsNoQuartersNorBackStitchesButKnots)
{
    SmallDesign plain(4, 3), full(4, 3);
    for (SmallDesign* d : {&plain, &full}) {
        d->doc.KnittingMode = true;
        d->doc.updatePixel(1, 1, kRed, false);
        d->doc.frenchKnotAdd(TFrenchKnot{{2, 2}, kBlue, 0}, false);
    }
    full.doc.updateQPixel(0, 0, kGreen, false);
    full.doc.backStitchesAdd(TBackStitch{{0, 4}, {8, 4}, kGreen, 0}, false);
    EXPECT_EQ(render(full.doc, 10), render(plain.doc, 10));

    SmallDesign noKnot(4, 3);
    noKnot.doc.KnittingMode = true;
    noKnot.doc.updatePixel(1, 1, kRed, false);
    EXPECT_NE(render(plain.doc, 10), render(noKnot.doc, 10));
}

TEST(RealPreview, StitchesOfOneColourLengthAndDirectionShareAStrip)
{
    SmallDesign d(8, 8);
    d.doc.backStitchesAdd(TBackStitch{{0, 0}, {4, 0}, kRed, 0}, false);
    d.doc.backStitchesAdd(TBackStitch{{10, 12}, {6, 12}, kRed, 0}, false);
    d.doc.backStitchesAdd(TBackStitch{{2, 2}, {6, 2}, kRed, 0}, false);
    d.doc.backStitchesAdd(TBackStitch{{2, 2}, {6, 2}, kBlue, 0}, false);
    d.doc.backStitchesAdd(TBackStitch{{2, 2}, {6, 6}, kRed, 0}, false);
    RealPreview preview(d.doc);
    ASSERT_TRUE(preview.draw(8));
    EXPECT_EQ(preview.strips().size(), 3);
    EXPECT_EQ(preview.strips().builds(), 3);
}

TEST(RealPreview, ACheckpointRestartsAtTheNewZoomOrCancels)
{
    SmallDesign d(30, 20);
    d.doc.updatePixel(1, 1, kRed, false);
    d.doc.backStitchesAdd(TBackStitch{{0, 0}, {4, 0}, kRed, 0}, false);
    RealPreview preview(d.doc);
    int zoom = 8, calls = 0;
    preview.currentZoom = [&] { return zoom; };
    // The zoom changes while the third row is drawn.
    preview.checkpoint = [&] {
        if (++calls == 3) {
            zoom = 12;
            return RealPreview::stRestart;
        }
        return RealPreview::stContinue;
    };
    ASSERT_TRUE(preview.draw(8));
    EXPECT_EQ(preview.restarts(), 1);
    EXPECT_EQ(preview.zoom(), 12);
    EXPECT_EQ(preview.picture().size(), QSize(360, 240));
    EXPECT_EQ(preview.picture(), render(d.doc, 12));

    preview.checkpoint = [] { return RealPreview::stCancel; };
    EXPECT_FALSE(preview.draw(8));
    EXPECT_TRUE(preview.picture().isNull());
    EXPECT_EQ(preview.strips().size(), 0);
}
