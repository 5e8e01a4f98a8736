// The ghost overlay on tiny designs, pixel by pixel: the blend and its background rule, the
// picture stretched over the whole design at two zooms and scroll positions (computed only for
// the repainted part, equal to stretching the whole picture), nothing drawn outside the clip or
// beyond the design, and the size a converted picture's ghost keeps.

#include "view/GhostOverlay.h"

#include "convert/Resampler.h"
#include "core/PatternDocument.h"
#include "view/ChartView.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor32 kWhiteBackground = 0x00FFFFFFu; // as the design keeps it
constexpr TColor32 kChart = 0xFF204060u;            // what lies below

QImage filled(QSize size, TColor32 value)
{
    QImage img(size, QImage::Format_ARGB32);
    img.fill(value);
    return img;
}

ChartGeometry geometry(QSize design, int cell, QPoint scroll, QSize image)
{
    ChartGeometry g;
    g.cell = QSize(cell, cell);
    g.design = design;
    g.scroll = scroll;
    g.image = image;
    return g;
}

// A 3 x 2 picture of distinct opaque colours.
QImage smallPicture()
{
    QImage p(3, 2, QImage::Format_ARGB32);
    const TColor32 v[6] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF101010u, 0xFFF0F000u, 0xFF00F0F0u};
    for (int i = 0; i < 6; ++i)
        p.setPixel(i % 3, i / 3, v[i]);
    return p;
}

} // namespace

TEST(GhostOverlay, BlendsWithTheOpacityAndKeepsTheBackgroundColour)
{
    struct Case
    {
        const char* name;
        TColor32 below, ghost;
        int opacity;
        TColor32 expected;
    };
    const Case cases[] = {
        {"full opacity covers", 0xFF000000u, 0xFF8040C0u, 255, 0xFF8040C0u},
        {"no opacity leaves the chart", 0xFF000000u, 0xFF8040C0u, 0, 0xFF000000u},
        {"start opacity 50", 0xFF000000u, 0xFFFF00FFu, 50, 0xFF320032u},
        {"start opacity over white", 0xFFFFFFFFu, 0xFF000000u, 50, 0xFFCDCDCDu},
        {"half alpha halves the weight", 0xFF000000u, 0x80FF0000u, 255, 0xFF800000u},
        {"transparent ghost pixel", 0xFF123456u, 0x00000000u, 255, 0xFF123456u},
        {"opaque white on a white background", 0xFF123456u, 0xFFFFFFFFu, 255, 0xFF123456u},
        {"near white still covers", 0xFF000000u, 0xFFFFFFFEu, 255, 0xFFFFFFFEu},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(GhostOverlay::blend(c.below, c.ghost, c.opacity, kWhiteBackground), c.expected);
    }
    // Another background colour: white covers, that colour does not.
    EXPECT_EQ(GhostOverlay::blend(0xFF000000u, 0xFFFFFFFFu, 255, 0x00102030u), 0xFFFFFFFFu);
    EXPECT_EQ(GhostOverlay::blend(0xFF000000u, 0xFF102030u, 255, 0x00102030u), 0xFF000000u);

    GhostOverlay o;
    EXPECT_EQ(o.opacity(), 50);
    struct Percent
    {
        int percent, opacity;
    };
    for (const Percent& p : {Percent{10, 25}, Percent{20, 51}, Percent{30, 76}, Percent{50, 127},
                             Percent{90, 229}, Percent{100, 255}})
        EXPECT_EQ(GhostOverlay::opacityForPercent(p.percent), p.opacity) << p.percent;
}

TEST(GhostOverlay, NearestPixelsLandOnTheirCellsAtEveryZoom)
{
    // A 3 x 2 picture over a 3 x 2 design: every cell shows its own ghost pixel.
    struct Case
    {
        int cell;
        QPoint scroll;
        QSize image;
    };
    for (const Case& c : {Case{4, {0, 0}, {20, 12}}, Case{7, {1, 1}, {20, 12}}, Case{7, {0, 0}, {9, 9}}}) {
        SCOPED_TRACE(testing::Message() << "cell " << c.cell << " scroll " << c.scroll.x() << "," << c.scroll.y());
        GhostOverlay o;
        o.setPicture(smallPicture(), GhostOverlay::Scaling::Nearest);
        o.setOpacity(255);
        o.setBackground(kWhiteBackground);
        const ChartGeometry g = geometry({3, 2}, c.cell, c.scroll, c.image);
        QImage target = filled(c.image, kChart);
        o.paint(target, target.rect(), g);
        for (int y = 0; y < c.image.height(); ++y)
            for (int x = 0; x < c.image.width(); ++x) {
                const QPoint cell = g.cellAt({x, y});
                const bool inside = cell.x() < 3 && cell.y() < 2;
                const TColor32 want = inside ? TColor32(smallPicture().pixel(cell)) : kChart;
                ASSERT_EQ(TColor32(target.pixel(x, y)), want) << x << "," << y;
            }
    }
}

TEST(GhostOverlay, ResampledPartEqualsTheWholeStretchedPicture)
{
    // A picture of 5 x 4 over a 3 x 2 design (reduced in height, enlarged in width at cell 8),
    // and a 13 x 9 one (enlarged and reduced by odd factors): every repainted part holds the
    // pixels of the whole picture stretched at once with the picture resampler.
    QImage big(13, 9, QImage::Format_ARGB32);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 13; ++x)
            big.setPixel(x, y, qRgba(x * 19, y * 27, (x * y * 7) % 200, 255));
    QImage five(5, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            five.setPixel(x, y, qRgba(255 - x * 50, y * 80, 30, 255));
    struct Case
    {
        QImage picture;
        QSize design;
        int cell;
        QPoint scroll;
        QRect clip;
    };
    const Case cases[] = {
        {five, {3, 2}, 8, {0, 0}, {0, 0, 30, 20}},
        {five, {3, 2}, 3, {1, 0}, {2, 1, 4, 4}},
        {big, {4, 3}, 2, {0, 0}, {0, 0, 10, 10}},
        {big, {4, 3}, 11, {2, 1}, {5, 3, 9, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "cell " << c.cell << " scroll " << c.scroll.x() << "," << c.scroll.y());
        const QSize image(30, 20);
        const ChartGeometry g = geometry(c.design, c.cell, c.scroll, image);
        const QImage whole = resampled(c.picture, QSize(c.design.width() * c.cell, c.design.height() * c.cell));
        GhostOverlay o;
        o.setPicture(c.picture, GhostOverlay::Scaling::Resample);
        o.setOpacity(255);
        o.setBackground(0x00FEFDFCu); // a colour the pictures do not hold
        QImage target = filled(image, kChart);
        o.paint(target, c.clip, g);
        const QRect drawn = c.clip.intersected(g.designArea());
        ASSERT_FALSE(drawn.isEmpty());
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const TColor32 want = drawn.contains(x, y)
                    ? TColor32(whole.pixel(x + c.scroll.x() * c.cell, y + c.scroll.y() * c.cell))
                    : kChart;
                ASSERT_EQ(TColor32(target.pixel(x, y)), want) << x << "," << y;
            }
    }
}

TEST(GhostOverlay, DrawsOnlyInsideTheClipAndTheDesign)
{
    GhostOverlay o;
    o.setPicture(filled({4, 4}, 0xFF000000u), GhostOverlay::Scaling::Nearest);
    o.setBackground(kWhiteBackground);
    const ChartGeometry g = geometry({4, 4}, 5, {1, 0}, {25, 25}); // design area 15 x 20
    struct Case
    {
        QRect clip;
        QRect drawn;
    };
    for (const Case& c : {Case{{3, 4, 5, 6}, {3, 4, 5, 6}}, Case{{10, 15, 20, 20}, {10, 15, 5, 5}},
                          Case{{16, 0, 9, 25}, {}}, Case{{-5, -5, 7, 7}, {0, 0, 2, 2}}}) {
        SCOPED_TRACE(testing::Message() << c.clip.x() << "," << c.clip.y() << " " << c.clip.width() << "x"
                                        << c.clip.height());
        QImage target = filled({25, 25}, 0xFFFFFFFFu);
        o.paint(target, c.clip, g);
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 25; ++x) {
                const TColor32 want = c.drawn.contains(x, y) ? 0xFFCDCDCDu : 0xFFFFFFFFu; // 50 of 255 black
                ASSERT_EQ(TColor32(target.pixel(x, y)), want) << x << "," << y;
            }
    }
}

TEST(GhostOverlay, WhitePartsOfTheGhostLeaveTheChartInAView)
{
    // Through the chart view: a 2 x 1 design of two coloured cells, a ghost white on the left
    // and black on the right at 100 %: the left cell shows as it is, the right one black.
    TStitch stitch;
    PatternDocument doc(stitch);
    doc.CreateNewTemplate(2, 1, QString(), QString());
    doc.CrossCells.setPixel(0, 0, keyToPixel(makeColorKey(200, 10, 10)));
    doc.CrossCells.setPixel(1, 0, keyToPixel(makeColorKey(200, 10, 10)));
    ChartView view(doc);
    view.setViewportSize({30, 20});
    view.setGridVisible(false);
    view.repaintAll();
    const QImage plain = view.image().copy();

    QImage ghost(2, 1, QImage::Format_ARGB32);
    ghost.setPixel(0, 0, 0xFFFFFFFFu);
    ghost.setPixel(1, 0, 0xFF000000u);
    GhostOverlay o;
    o.setPicture(ghost, GhostOverlay::Scaling::Nearest);
    o.setOpacity(255);
    o.setBackground(stitch.BackGroundColor);
    view.setGhostOverlay(&o);
    const ChartGeometry g = view.geometry();
    for (int y = 0; y < view.image().height(); ++y)
        for (int x = 0; x < view.image().width(); ++x) {
            const QPoint cell = g.cellAt({x, y});
            const TColor32 want = cell == QPoint(1, 0) ? 0xFF000000u : TColor32(plain.pixel(x, y));
            ASSERT_EQ(TColor32(view.image().pixel(x, y)), want) << x << "," << y;
        }
    view.setGhostOverlay(nullptr);
}

TEST(GhostOverlay, ConvertedGhostKeepsAtMostAThousandPixels)
{
    struct Case
    {
        QSize adjusted, ghost;
        GhostOverlay::Scaling scaling;
    };
    for (const Case& c : {Case{{1500, 1000}, {1000, 666}, GhostOverlay::Scaling::Nearest},
                          Case{{800, 600}, {800, 600}, GhostOverlay::Scaling::Resample},
                          Case{{1000, 1000}, {1000, 1000}, GhostOverlay::Scaling::Resample},
                          Case{{300, 1001}, {299, 1000}, GhostOverlay::Scaling::Nearest}}) {
        SCOPED_TRACE(testing::Message() << c.adjusted.width() << "x" << c.adjusted.height());
        const QImage adjusted = filled(c.adjusted, 0xFF336699u);
        const GhostPicture ghost = GhostOverlay::ghostFromAdjusted(adjusted);
        const QImage& g = ghost.ghostPicture;
        EXPECT_EQ(g.size(), c.ghost);
        EXPECT_EQ(TColor32(g.pixel(g.width() / 2, g.height() / 2)), 0xFF336699u);
        EXPECT_EQ(ghost.resample, c.scaling == GhostOverlay::Scaling::Resample);
    }
}
