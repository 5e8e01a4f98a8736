// Thread strips: length and angle of a stitch, the strip's width and pieces, turning and its
// anchors, and the cache that builds each distinct strip once.

#include "view/ThreadStrip.h"

#include "support/Pixels.h"

#include <cmath>
#include <gtest/gtest.h>

using testsupport::at;

namespace {

// A strip whose every pixel differs, so a turned pixel tells where it came from.
QImage numberedStrip(int w, int h)
{
    QImage s(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            s.setPixel(x, y, 0xFF000000u | quint32(y << 12) | quint32(x));
    return s;
}

} // namespace

TEST(ThreadStrip, LengthAndAngleOfAStitch)
{
    const double r2 = std::sqrt(2.0);
    const struct { QPoint a, b, from; double length, angle; } cases[] = {
        {{0, 0}, {4, 0}, {0, 0}, 2.0, 0.0},     // two cells across
        {{4, 0}, {0, 0}, {0, 0}, 2.0, 0.0},     // the left end comes first
        {{0, 0}, {2, 2}, {0, 0}, r2, 45.0},     // down to the right
        {{4, 0}, {0, 4}, {0, 4}, 2 * r2, -45.0}, // up to the right from the left end
        {{0, 0}, {0, 4}, {0, 0}, 2.0, 90.0},    // straight down
        {{0, 4}, {0, 0}, {0, 4}, 2.0, -90.0},   // equal x: the order stays
        {{1, 1}, {7, 3}, {1, 1}, std::sqrt(40.0) / 2, std::asin(2 / std::sqrt(40.0)) * 180 / M_PI},
        {{3, 3}, {3, 3}, {3, 3}, 0.0, 0.0},     // no length: flat instead of 0 / 0
    };
    for (const auto& c : cases) {
        const ThreadLine l = threadLengthAndAngle(c.a, c.b);
        EXPECT_EQ(l.from, c.from) << c.a.x() << "," << c.a.y();
        EXPECT_NEAR(l.length, c.length, 1e-12);
        EXPECT_NEAR(l.angle, c.angle, 1e-9);
        EXPECT_FALSE(std::isnan(l.angle));
    }
    // From pixels: the length is in cells of the given width.
    const ThreadLine p = threadLineFromPixels({30, 10}, {10, 10}, 10);
    EXPECT_EQ(p.from, QPoint(10, 10));
    EXPECT_DOUBLE_EQ(p.length, 2.0);
    EXPECT_DOUBLE_EQ(p.angle, 0.0);
    EXPECT_DOUBLE_EQ(threadLineFromPixels({0, 0}, {5, 5}, 0).length, 0.0);
}

TEST(ThreadStrip, TheStripIsFloorOfWidthTimesLengthLongAndACellHigh)
{
    const StitchTextures& t = StitchTextures::shipped();
    const struct { QSize cell; double length; int width; } cases[] = {
        {{8, 8}, 2.0, 16}, {{8, 8}, std::sqrt(2.0), 11}, {{10, 7}, 0.5, 5},
        {{30, 30}, std::sqrt(40.0) / 2, 94}, {{5, 5}, 10.0, 50},
    };
    for (const auto& c : cases) {
        const QImage s = buildThreadStrip(t, c.length, c.cell);
        EXPECT_EQ(s.size(), QSize(c.width, c.cell.height())) << c.length;
    }
    EXPECT_TRUE(buildThreadStrip(t, 0.0, {8, 8}).isNull());
    EXPECT_TRUE(buildThreadStrip(t, 2.0, {0, 8}).isNull());
}

TEST(ThreadStrip, StripPiecesEndCapsAndMiddle)
{
    // Flat pieces of known colours show where each lands: the end picture black on the left
    // half and white on the right, the middle grey.
    StitchTextures t = StitchTextures::flat();
    QImage end(97, 97, QImage::Format_ARGB32);
    for (int y = 0; y < 97; ++y)
        for (int x = 0; x < 97; ++x)
            end.setPixel(x, y, x < 24 ? 0xFF000000u : 0xFFFFFFFFu);
    QImage middle(97, 97, QImage::Format_ARGB32);
    middle.fill(0xFF808080u);
    t.setPicture(txBack, end);
    t.setPicture(txBackM, middle);

    // At the pictures' own size nothing is resampled but the squeezed end cap.
    const QImage s = buildThreadStrip(t, 2.5, {97, 97}); // 242 wide, caps of 24 pixels
    ASSERT_EQ(s.width(), 242);
    for (int x = 0; x < 242; ++x) {
        const TColor32 p = at(s, {x, 50});
        if (x >= 218 && x < 222) {
            // The squeeze reads a few columns of the start cap beside it.
            EXPECT_GT(p & 0xFF, 0xB0u) << x;
            continue;
        }
        const TColor32 expected = x < 24 ? 0xFF000000u : x >= 222 ? 0xFFFFFFFFu : 0xFF808080u;
        EXPECT_EQ(p, expected) << x;
    }
}

TEST(ThreadStrip, TurningPlacesTheAnchors)
{
    // At 0 degrees the picture is the canvas and the anchors are the strip's middle ends.
    const QImage strip = numberedStrip(20, 8);
    const TRotateRec flat = turnThreadStrip(strip, 0);
    ASSERT_EQ(flat.imagerotated.size(), QSize(20, 20));
    EXPECT_EQ(flat.p1, QPoint(0, 10));
    EXPECT_EQ(flat.p2, QPoint(19, 10));
    EXPECT_EQ(at(flat.imagerotated, {5, 6}), at(strip, {5, 0}));   // strip centred at y 6
    EXPECT_EQ(at(flat.imagerotated, {5, 5}), kTextureMagenta);

    // A strip narrower than high is centred across; its start anchor moves with it.
    const TRotateRec narrow = turnThreadStrip(numberedStrip(6, 10), 0);
    EXPECT_EQ(narrow.p1, QPoint(2, 5));
    EXPECT_EQ(narrow.p2, QPoint(7, 5));

    // Turned: the start anchor lands where a stitch of that angle begins and the end anchor
    // one strip length further along the angle.
    const struct { double angle; QPoint p1; } cases[] = {
        {90, {9, 0}}, {-90, {10, 19}}, {45, {-1, -1}}, {-45, {-1, -1}}, {30, {-1, -1}},
        {-60, {-1, -1}}, {10, {-1, -1}},
    };
    for (const auto& c : cases) {
        const TRotateRec r = turnThreadStrip(strip, c.angle);
        if (c.p1.x() >= 0)
            EXPECT_EQ(r.p1, c.p1) << c.angle;
        const double a = c.angle * M_PI / 180;
        EXPECT_NEAR(r.p2.x() - r.p1.x(), 19 * std::cos(a), 1.5) << c.angle;
        EXPECT_NEAR(r.p2.y() - r.p1.y(), 19 * std::sin(a), 1.5) << c.angle;
        // The anchors show the strip's own end pixels.
        EXPECT_EQ(at(r.imagerotated, r.p1), at(strip, {0, 4})) << c.angle;
        EXPECT_EQ(at(r.imagerotated, r.p2), at(strip, {19, 4})) << c.angle;
    }
    EXPECT_TRUE(turnThreadStrip(QImage(), 30).imagerotated.isNull());
}

TEST(ThreadStrip, IdenticalStitchesShareOneCachedStrip)
{
    ThreadStripCache cache(StitchTextures::shipped(), {8, 8});
    const ColorKey red = makeColorKey(255, 0, 0), blue = makeColorKey(0, 0, 255);
    const struct { QPoint a, b; ColorKey color; int builds; } steps[] = {
        {{0, 0}, {4, 0}, red, 1},
        {{10, 6}, {14, 6}, red, 1},     // same length, angle and colour elsewhere
        {{14, 8}, {10, 8}, red, 1},     // drawn the other way round
        {{0, 0}, {4, 0}, blue, 2},      // another colour
        {{0, 0}, {4, 2}, red, 3},       // another angle
        {{0, 0}, {6, 0}, red, 4},       // another length
    };
    for (const auto& s : steps) {
        cache.strip(threadLengthAndAngle(s.a, s.b), s.color);
        EXPECT_EQ(cache.builds(), s.builds);
    }
    EXPECT_EQ(cache.size(), 4);
    // The cached strip is tinted: its thread shows the colour, the rest stays magenta.
    const TRotateRec& r = cache.strip(threadLengthAndAngle({0, 0}, {4, 0}), blue);
    const TColor32 mid = at(r.imagerotated, r.p1 + QPoint(8, 0));
    EXPECT_EQ((mid >> 16) & 0xFF, 0u);
    EXPECT_GT(mid & 0xFF, 100u);
    EXPECT_EQ(r.imagerotated.width(), 16);
    cache.setCellSize({10, 10});
    EXPECT_EQ(cache.size(), 0);
    EXPECT_EQ(cache.builds(), 4);
}
