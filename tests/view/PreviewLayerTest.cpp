// The preview layer: the figure's cells in the draw colour over the chart, the chart showing
// through elsewhere, and no stale pixels when one preview replaces another or is cleared.
#include "core/ColorTypes.h"
#include "view/PreviewLayer.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr TColor32 kChart = 0xFF102030u;
constexpr TColor32 kInk = 0x00C00000u;

ChartGeometry geometry(QPoint scroll = {})
{
    ChartGeometry g;
    g.cell = {4, 4};
    g.scroll = scroll;
    g.design = {20, 20};
    g.image = {41, 41};
    return g;
}

// The chart repainted inside `cells` (as the view does) and the layer drawn over it.
void repaint(QImage& img, PreviewLayer& layer, const QRect& cells, const ChartGeometry& g)
{
    const QRect r = g.cellsRect(cells) & img.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            img.setPixel(x, y, kChart);
    layer.paint(img, r, g);
}

int inked(const QImage& img)
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            n += img.pixel(x, y) == (kInk | 0xFF000000u);
    return n;
}

} // namespace

TEST(PreviewLayer, ReplacedAndClearedPreviewsLeaveNoStalePixels)
{
    const ChartGeometry g = geometry();
    QImage img(g.image, QImage::Format_ARGB32);
    img.fill(kChart);
    PreviewLayer layer;
    struct Step { QList<QPoint> cells; int inkedPixels; };
    const Step steps[] = {
        {{{0, 0}, {1, 0}, {2, 1}}, 3 * 16},
        {{{9, 9}}, 16},               // far away: the old cells are repainted too
        {{{9, 9}, {10, 10}, {11, 12}}, 16 + 1}, // the image ends at pixel 40
        {{}, 0},
    };
    for (const Step& s : steps) {
        const QRect dirty = s.cells.isEmpty() ? layer.clear() : layer.setCells(s.cells, kInk);
        repaint(img, layer, dirty, g);
        EXPECT_EQ(inked(img), s.inkedPixels);
    }
    EXPECT_TRUE(layer.isEmpty());
}

TEST(PreviewLayer, PaintsOnlyInsideTheClipAndFollowsTheScroll)
{
    const ChartGeometry g = geometry({2, 1});
    QImage img(g.image, QImage::Format_ARGB32);
    img.fill(kChart);
    PreviewLayer layer;
    layer.setCells({{2, 1}, {3, 1}, {1, 1}}, kInk); // (1, 1) is scrolled out of view
    layer.paint(img, QRect(0, 0, 6, 4), g);
    EXPECT_EQ(inked(img), 6 * 4);
    EXPECT_EQ(img.pixel(0, 0), kInk | 0xFF000000u);
    EXPECT_EQ(img.pixel(6, 0), kChart);
    EXPECT_TRUE(layer.shows({1, 1}));
    EXPECT_FALSE(layer.shows({1, 2}));
}
