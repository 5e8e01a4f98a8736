// The selection layer over the chart: the floating block's cells and quarters at the view's
// zoom with its empty cells showing the chart through, its stitches and knots, the frame's
// dashes marching by phase, the red handles, and repaint regions that leave nothing stale.
#include "core/ColorTypes.h"
#include "view/SelectionLayer.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr TColor32 kChart = 0xFF102030u;
constexpr TColor32 kEmpty = 0xFFFFFFFFu; // the block's background value
constexpr TColor32 kRedCell = 0x00FF0000u;
constexpr TColor32 kBlueQuarter = 0x000000FFu;

ChartGeometry geometry(QPoint scroll = {})
{
    ChartGeometry g;
    g.cell = {6, 6};
    g.scroll = scroll;
    g.design = {20, 20};
    g.image = {121, 121};
    return g;
}

// A 2 x 2 block: a red cell at its top-left, a blue quarter at the top-left of its bottom-right
// cell, a green back stitch along its bottom edge and a knot in the middle of its left edge.
FloatingPicture block()
{
    FloatingPicture p;
    p.empty = kEmpty;
    p.cells = QImage(2, 2, QImage::Format_ARGB32);
    p.cells.fill(kEmpty);
    p.cells.setPixel(0, 0, kRedCell);
    p.quarters = QImage(4, 4, QImage::Format_ARGB32);
    p.quarters.fill(kEmpty);
    p.quarters.setPixel(2, 2, kBlueQuarter);
    p.backStitches.append(TBackStitch{{0, 4}, {4, 4}, makeColorKey(0, 200, 0), 0});
    p.knots.append(TFrenchKnot{{0, 2}, makeColorKey(200, 200, 0), 0});
    return p;
}

void repaint(QImage& img, SelectionLayer& layer, const QRect& dirty, const ChartGeometry& g)
{
    const QRect r = dirty & img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            img.setPixel(x, y, kChart);
    layer.paint(img, r, g);
}

} // namespace

TEST(SelectionLayer, TheBlockShowsAtTheZoomWithItsEmptyCellsTransparent)
{
    for (QPoint scroll : {QPoint(0, 0), QPoint(2, 1)}) {
        SCOPED_TRACE(scroll.x());
        const ChartGeometry g = geometry(scroll);
        QImage img(g.image, QImage::Format_ARGB32);
        img.fill(kChart);
        SelectionLayer layer;
        repaint(img, layer, layer.setBlock(block(), QPoint(4, 3), g), g);
        // Block cell (0, 0) is view cell (4, 3) less the scroll.
        const QRect red = g.cellRect(4, 3);
        EXPECT_EQ(img.pixel(red.topLeft()), kRedCell | 0xFF000000u);
        EXPECT_EQ(img.pixel(red.bottomRight()), kRedCell | 0xFF000000u);
        // The empty top-right cell shows the chart; the blue quarter fills 3 x 3 pixels.
        EXPECT_EQ(img.pixel(g.cellRect(5, 3).topRight()), kChart);
        const QRect q = g.cellRect(5, 4);
        EXPECT_EQ(img.pixel(q.topLeft() + QPoint(1, 1)), kBlueQuarter | 0xFF000000u);
        EXPECT_EQ(img.pixel(q.topLeft() + QPoint(2, 2)), kBlueQuarter | 0xFF000000u);
        EXPECT_EQ(img.pixel(q.topLeft() + QPoint(3, 3)), kChart);
        // The back stitch along the bottom edge and the knot on the left edge.
        const QPoint bottom = g.gridPoint(QPoint(2 * 4 + 2, 2 * 3 + 4));
        EXPECT_EQ(img.pixel(bottom), keyToOpaquePixel(makeColorKey(0, 200, 0)));
        const QPoint knot = g.gridPoint(QPoint(2 * 4, 2 * 3 + 2));
        EXPECT_EQ(img.pixel(knot), keyToOpaquePixel(makeColorKey(200, 200, 0)));

        // Moved away and then cleared: every pixel is the chart again.
        repaint(img, layer, layer.moveBlock(QPoint(10, 10), g), g);
        EXPECT_EQ(img.pixel(red.center()), kChart);
        repaint(img, layer, layer.clearBlock(g), g);
        EXPECT_FALSE(layer.hasBlock());
        int left = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                left += img.pixel(x, y) != kChart;
        EXPECT_EQ(left, 0);
    }
}

TEST(SelectionLayer, TheFrameMarchesAndHasRedHandles)
{
    const ChartGeometry g = geometry();
    QImage img(g.image, QImage::Format_ARGB32);
    img.fill(kChart);
    SelectionLayer layer;
    const QRect cells(2, 2, 5, 4); // view pixels (12, 12) to (42, 36)
    repaint(img, layer, layer.setFrame(cells, g), g);
    const QRect f(QPoint(12, 12), QPoint(42, 36));
    auto black = [&](QPoint p) { return img.pixel(p) == 0xFF000000u; };
    auto white = [&](QPoint p) { return img.pixel(p) == 0xFFFFFFFFu; };
    // Between the handles the top edge alternates dashes of four pixels.
    const int x0 = 16; // past the corner handle
    const bool first = layer.dashBlack(x0);
    for (int x = x0; x < x0 + 8; ++x)
        EXPECT_EQ(black(QPoint(x, f.top())), layer.dashBlack(x)) << x;
    EXPECT_NE(layer.dashBlack(x0), layer.dashBlack(x0 + 4));
    // Handles: red inside a dark rim, at the corners and the middles of the edges.
    for (QPoint c : {f.topLeft(), f.bottomRight(), QPoint((f.left() + f.right()) / 2, f.top()),
                     QPoint(f.right(), (f.top() + f.bottom()) / 2)}) {
        EXPECT_EQ(img.pixel(c), 0xFFE00000u);
        EXPECT_TRUE(black(c + QPoint(SelectionLayer::kHandleRadius, 0)));
    }
    // Inside the frame the chart shows.
    EXPECT_EQ(img.pixel(f.center()), kChart);

    // Four phases later the pattern is where it started; each phase repaints only the edges.
    for (int i = 0; i < SelectionLayer::kPhases; ++i) {
        const QList<QRect> edges = layer.advanceDashes(g);
        ASSERT_EQ(edges.size(), 4);
        for (const QRect& e : edges) {
            EXPECT_TRUE(e.width() == 1 || e.height() == 1);
            repaint(img, layer, e, g);
        }
        if (i == 0)
            EXPECT_NE(layer.dashBlack(x0), first);
    }
    EXPECT_EQ(layer.dashBlack(x0), first);
    EXPECT_EQ(black(QPoint(x0, f.top())), first);
    EXPECT_EQ(white(QPoint(x0 + 4, f.top())), first);

    // Without a frame nothing is drawn and nothing stays.
    repaint(img, layer, layer.setFrame(QRect(), g), g);
    EXPECT_EQ(img.pixel(f.topLeft()), kChart);
    EXPECT_EQ(img.pixel(QPoint(x0, f.top())), kChart);
}
