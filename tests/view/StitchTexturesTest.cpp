// Texture pictures and the picture operations: tinting, scaling with magenta transparency,
// drawing with magenta left out, and the fallback when pictures are missing.

#include "view/StitchTextures.h"

#include "convert/Resampler.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

using testsupport::at;

namespace {

QImage filled(QSize size, TColor32 c)
{
    QImage p(size, QImage::Format_ARGB32);
    p.fill(c);
    return p;
}

int magentaCount(const QImage& p)
{
    int n = 0;
    for (int y = 0; y < p.height(); ++y)
        for (int x = 0; x < p.width(); ++x)
            n += at(p, x, y) == kTextureMagenta;
    return n;
}

} // namespace

TEST(StitchTextures, TintMultipliesEveryChannelAndLeavesMagenta)
{
    const struct { TColor32 pixel; ColorKey color; TColor32 expected; } cases[] = {
        {0xFFFFFFFFu, makeColorKey(255, 255, 255), 0xFEFEFEFEu},   // white stays just below 255
        {0xFF808080u, makeColorKey(255, 0, 0), 0xFE7F0000u},       // 128 x 255 div 256 = 127
        {0xFFC8C8C8u, makeColorKey(10, 20, 30), 0xFE070F17u},      // 200 x 10 div 256 = 7 ...
        {0x80FFFFFFu, makeColorKey(100, 100, 100), 0x7F636363u},   // alpha is multiplied too
        {0xFF000000u, makeColorKey(255, 255, 255), 0xFE000000u},
        {kTextureMagenta, makeColorKey(0, 0, 0), kTextureMagenta}, // transparent: untouched
        {0xFFFE00FFu, makeColorKey(0, 0, 0), 0xFE000000u},         // near-magenta is a colour
    };
    for (const auto& c : cases) {
        const QImage out = tintedWith(filled({2, 1}, c.pixel), c.color);
        EXPECT_EQ(at(out, 1, 0), c.expected) << std::hex << c.pixel << " x " << c.color;
    }
    // A tinted pixel never turns into magenta.
    EXPECT_NE(at(tintedWith(filled({1, 1}, 0xFFFFFFFFu), makeColorKey(255, 0, 255)), 0, 0),
              kTextureMagenta);
}

TEST(StitchTextures, ScalingKeepsMagentaOutOfTheColours)
{
    // Without magenta the picture resampler is used as it is.
    QImage plain(10, 10, QImage::Format_ARGB32);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            plain.setPixel(x, y, qRgb(20 * x, 20 * y, 100));
    EXPECT_EQ(scaledTexture(plain, {7, 4}), resampled(plain, {7, 4}));

    // Left half grey, right half magenta: every output pixel is magenta or the grey itself,
    // never a pink mix, and the border stays near the middle.
    QImage half = filled({40, 20}, kTextureMagenta);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            half.setPixel(x, y, 0xFFC0C0C0u);
    for (QSize size : {QSize(9, 9), QSize(13, 5), QSize(80, 40)}) {
        const QImage out = scaledTexture(half, size);
        ASSERT_EQ(out.size(), size);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const TColor32 p = at(out, x, y);
                if (p == kTextureMagenta) {
                    EXPECT_GE(2 * x + 2, size.width()) << x << "," << y;
                    continue;
                }
                // Grey: the kernel may ring near the border, but nothing of magenta mixes in.
                EXPECT_EQ(p >> 24, 0xFFu);
                EXPECT_EQ((p >> 16) & 0xFF, p & 0xFF) << size.width() << "x" << size.height() << " " << x;
                EXPECT_EQ((p >> 8) & 0xFF, p & 0xFF) << size.width() << "x" << size.height() << " " << x;
                EXPECT_NEAR(int(p & 0xFF), 0xC0, 24) << size.width() << "x" << size.height() << " " << x;
            }
        EXPECT_GT(magentaCount(out), 0);
    }
    EXPECT_TRUE(scaledTexture(half, {0, 5}).isNull());
}

TEST(StitchTextures, DrawingLeavesMagentaOutAndCutsAtTheEdges)
{
    QImage src = filled({3, 2}, 0xFF112233u);
    src.setPixel(1, 0, kTextureMagenta);

    QImage rgb(4, 3, QImage::Format_RGB32);
    rgb.fill(0xFF999999u);
    drawTransparent(rgb, tintedWith(src, makeColorKey(255, 255, 255)), QPoint(2, 1));
    EXPECT_EQ(at(rgb, 2, 1), 0xFF102132u);     // opaque on a picture without alpha
    EXPECT_EQ(at(rgb, 3, 1), 0xFF999999u);     // magenta left out
    EXPECT_EQ(at(rgb, 3, 2), 0xFF102132u);
    EXPECT_EQ(at(rgb, 1, 1), 0xFF999999u);

    QImage argb = filled({2, 2}, 0u);
    drawTransparent(argb, tintedWith(src, makeColorKey(255, 255, 255)), QPoint(-1, -1));
    EXPECT_EQ(at(argb, 0, 0), 0xFE102132u);    // source (1, 1), alpha kept
    EXPECT_EQ(at(argb, 1, 0), 0xFE102132u);
    EXPECT_EQ(at(argb, 0, 1), 0u);             // beyond the source
    EXPECT_EQ(at(argb, 1, 1), 0u);
    EXPECT_EQ(at(magentaToAlpha(src), 1, 0), 0u);
    EXPECT_EQ(at(magentaToAlpha(src), 0, 0), 0xFF112233u);
}

TEST(StitchTextures, ShippedPicturesHaveTheirSizesAndTransparency)
{
    const StitchTextures& t = StitchTextures::shipped();
    EXPECT_EQ(t.loadError().toStdString(), "");
    const struct { TTextureKind kind; const char* name; int side; bool transparent; } cases[] = {
        {txBackGround, "ImageBackGround", 97, false}, {txbackQMK, "ImagebackQMK", 97, false},
        {txCross, "ImageCross", 97, true},            {txPixel, "ImagePixel", 94, false},
        {txQuarter, "ImageQuarter", 49, true},        {txFrenchKnot, "ImageFrenchKnot", 97, true},
        {txBack, "ImageBack", 97, true},              {txBackM, "ImageBackM", 97, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StitchTextures::name(c.kind), QString::fromLatin1(c.name));
        const QImage& p = t.picture(c.kind);
        EXPECT_EQ(p.size(), QSize(c.side, c.side)) << c.name;
        EXPECT_EQ(magentaCount(p) > 0, c.transparent) << c.name;
        EXPECT_LT(magentaCount(p), c.side * c.side) << c.name;
    }
    // The strip pieces: thread through the middle row, transparent at the top and bottom.
    for (TTextureKind k : {txBack, txBackM}) {
        EXPECT_NE(at(t.picture(k), 48, 48), kTextureMagenta);
        EXPECT_EQ(at(t.picture(k), 48, 2), kTextureMagenta);
        EXPECT_EQ(at(t.picture(k), 48, 94), kTextureMagenta);
    }
    // The middle piece joins its copies: its first and last columns are both thread or both not.
    for (int y = 0; y < 97; ++y)
        EXPECT_EQ(at(t.picture(txBackM), 0, y) == kTextureMagenta,
                  at(t.picture(txBackM), 96, y) == kTextureMagenta) << y;
}

TEST(StitchTextures, MissingPicturesAreNamedAndReplacedByFlatOnes)
{
    const QString folder = testsupport::currentTestPath();
    QDir().mkpath(folder);
    // One good picture, one of the wrong size, the rest missing.
    StitchTextures::shipped().picture(txCross).save(folder + QStringLiteral("/ImageCross.png"));
    filled({10, 10}, 0xFF000000u).save(folder + QStringLiteral("/ImagePixel.png"));
    const StitchTextures t = StitchTextures::fromFolder(folder);
    EXPECT_TRUE(t.loadError().contains(QStringLiteral("ImagePixel")));
    EXPECT_TRUE(t.loadError().contains(QStringLiteral("ImageBackGround")));
    EXPECT_FALSE(t.loadError().contains(QStringLiteral("ImageCross")));
    EXPECT_EQ(t.picture(txCross), StitchTextures::shipped().picture(txCross));
    for (int k = 0; k < txCount; ++k)
        EXPECT_EQ(t.picture(TTextureKind(k)).size(), StitchTextures::size(TTextureKind(k)));
    EXPECT_EQ(magentaCount(t.picture(txbackQMK)), 0);
    EXPECT_GT(magentaCount(t.picture(txBack)), 0);
}
