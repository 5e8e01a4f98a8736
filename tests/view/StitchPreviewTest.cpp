// The stitch tools' preview on the chart view (its pixels, and nothing stale after a fast
// pointer) and the icons of the Rhodes menu.
#include "support/SmallDesign.h"
#include "view/ChartView.h"
#include "view/RhodeIcon.h"
#include "view/StitchPreview.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

TEST(StitchPreview, LinesShowAndAReplacedPreviewLeavesNoPixelsBehind)
{
    SmallDesign d{20, 20};
    ChartView view(d.doc);
    view.setZoom(8);
    view.setViewportSize(QSize(160, 160));
    view.repaintAll();
    const QImage plain = view.image();
    StitchPreview preview;
    view.setStitchPreviewOverlay(&preview);

    // A horizontal back stitch from grid point (2, 4) to (10, 4): view row 16, x 8 .. 40.
    view.repaintRect(preview.setLines({QLine(2, 4, 10, 4)}, kRed, 5, view.geometry()));
    EXPECT_EQ(view.image().pixel(24, 16), keyToQColor(kRed).rgb());
    EXPECT_EQ(view.image().pixel(24, 17), keyToQColor(kRed).rgb()); // 5 pixels wide
    EXPECT_EQ(view.image().pixel(24, 15), keyToQColor(kRed).rgb());
    EXPECT_EQ(view.image().pixel(24, 22), plain.pixel(24, 22));

    // The pointer jumps far: repainting only what the call returns leaves the image as if
    // the old preview had never been there.
    view.repaintRect(preview.setLines({QLine(30, 30, 36, 36)}, kBlue, 3, view.geometry()));
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(view.image().pixel(x, y), plain.pixel(x, y)) << x << "," << y;
    EXPECT_EQ(view.image().pixel(132, 132), keyToQColor(kBlue).rgb());

    view.repaintRect(preview.clear(view.geometry()));
    EXPECT_EQ(view.image(), plain);
    EXPECT_TRUE(preview.isEmpty());

    // The preview keeps grid points: scrolled, it is drawn where its grid points now are.
    preview.setLines({QLine(8, 8, 12, 8)}, kRed, 1, view.geometry());
    view.setScrollPosition(QPoint(2, 2));
    view.repaintAll();
    // Grid point (8, 8) is 16 pixels right of and below the first visible cell (2, 2).
    EXPECT_EQ(view.image().pixel(20, 16), keyToQColor(kRed).rgb());
    view.setStitchPreviewOverlay(nullptr);
}

TEST(RhodeIcon, ScaleFitsTheLargestEndPointIntoTheIcon)
{
    const struct { QList<QLine> stitches; QSize scale; } rows[] = {
        {{QLine(0, 0, 4, 2)}, {8, 17}},
        {{QLine(0, 0, 2, 2), QLine(2, 0, 0, 2)}, {17, 17}},
        {{QLine(0, 0, 8, 8)}, {4, 4}},
        {{}, {35, 35}},                    // no stitches: each extent at least 1
        {{QLine(0, 0, 0, 6)}, {35, 5}},
    };
    for (const auto& r : rows) {
        TRhode d;
        for (const QLine& l : r.stitches)
            d.stitches.append(TBackStitch{l.p1(), l.p2(), 0, 0});
        EXPECT_EQ(RhodeIcon::scale(d), r.scale);
    }
}

TEST(RhodeIcon, ShowsTheStitchesInOrangeOverAGreyCellGrid)
{
    TRhode d;
    d.width = d.height = 1;
    d.stitches.append(TBackStitch{QPoint(0, 2), QPoint(2, 0), 0, 0});
    const QImage icon = RhodeIcon::draw(d);
    EXPECT_EQ(icon.size(), QSize(36, 36));
    const QRgb orange = qRgb(246, 137, 33), grey = qRgb(128, 128, 128);
    EXPECT_EQ(icon.pixel(17, 17), orange); // the middle of the stitch (0, 34) - (34, 0)
    EXPECT_EQ(icon.pixel(0, 10), grey);    // the left edge of the cell
    EXPECT_EQ(icon.pixel(10, 34), grey);   // its lower edge
    EXPECT_EQ(icon.pixel(5, 5), qRgb(255, 0, 255)); // background
}

} // namespace
