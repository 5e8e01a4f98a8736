// Error diffusion: the four kernels' weights and order, the bounds, truncation and clamping,
// the level threshold, the scan order and the progress.

#include "convert/Dithering.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

constexpr ColorKey gray(int v)
{
    return makeColorKey(quint32(v), quint32(v), quint32(v));
}

ColorTable grays(const QList<int>& values)
{
    ColorTable t;
    for (int v : values)
        t.insert(gray(v), TColorInfo{});
    return t;
}

KeyRaster grayRaster(const QList<QList<int>>& rows)
{
    KeyRaster r(int(rows.first().size()), int(rows.size()));
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            r.at(x, y) = gray(rows[y][x]);
    return r;
}

QList<QList<int>> grayValues(const KeyRaster& r)
{
    QList<QList<int>> rows;
    for (int y = 0; y < r.height; ++y) {
        QList<int> row;
        for (int x = 0; x < r.width; ++x) {
            const ColorKey k = r.at(x, y);
            EXPECT_TRUE(kRedOf(k) == kGreenOf(k) && kGreenOf(k) == kBlueOf(k)) << x << "," << y;
            row.append(int(kRedOf(k)));
        }
        rows.append(row);
    }
    return rows;
}

// A palette where only the source pixel spreads error: grays 0 and 200..255 (0 first). The
// source (2, 0) is gray 100, equally far from 0 and 200, so it takes 0 (met first) and spreads
// +100 per channel; every other pixel is gray 200, an exact colour that spreads nothing, and
// after receiving error still an exact colour, so the output shows what each pixel received.
ColorTable receiverPalette()
{
    QList<int> v{0};
    for (int i = 200; i <= 255; ++i)
        v.append(i);
    return grays(v);
}

} // namespace

TEST(Dithering, KernelWeightsReachTheRightNeighbours)
{
    struct Case
    {
        DitherMethod method;
        QList<QList<int>> expected; // 6 x 4 picture, source at (2, 0)
    };
    // 200 + trunc(100 w / D); column 5 and row 3 are the last and receive nothing.
    const Case cases[] = {
        {DitherMethod::FloydSteinberg,
         {{200, 200, 0, 243, 200, 200},
          {200, 218, 231, 206, 200, 200},
          {200, 200, 200, 200, 200, 200},
          {200, 200, 200, 200, 200, 200}}},
        {DitherMethod::JarvisJudiceNinke,
         {{200, 200, 0, 214, 210, 200},
          {206, 210, 214, 210, 206, 200},
          {202, 206, 210, 206, 202, 200},
          {200, 200, 200, 200, 200, 200}}},
        {DitherMethod::Stucki,
         {{200, 200, 0, 219, 209, 200},
          {204, 209, 219, 209, 204, 200},
          {202, 204, 209, 204, 202, 200},
          {200, 200, 200, 200, 200, 200}}},
        {DitherMethod::SierraLite,
         {{200, 200, 0, 250, 200, 200},
          {200, 225, 225, 200, 200, 200},
          {200, 200, 200, 200, 200, 200},
          {200, 200, 200, 200, 200, 200}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ditherMethodName(c.method).toStdString());
        KeyRaster r = grayRaster({{200, 200, 100, 200, 200, 200},
                                  {200, 200, 200, 200, 200, 200},
                                  {200, 200, 200, 200, 200, 200},
                                  {200, 200, 200, 200, 200, 200}});
        ASSERT_TRUE(DitherBitmap(r, receiverPalette(), c.method, 0.0));
        EXPECT_EQ(grayValues(r), c.expected);
    }
}

TEST(Dithering, NegativeErrorsTruncateTowardZero)
{
    // Palette 255 first, then 0..55: gray 155 ties between 255 and 55 and takes 255 (met
    // first), spreading -100. Receivers at 50 show 50 + trunc(-100 w / 16).
    QList<int> v{255};
    for (int i = 0; i <= 55; ++i)
        v.append(i);
    KeyRaster r = grayRaster({{50, 155, 50}, {50, 50, 50}, {50, 50, 50}});
    ASSERT_TRUE(FloydSteinberg(r, grays(v), 0.0));
    // -300/16 = -18.75 -> -18 and -500/16 = -31.25 -> -31 (flooring would give 31 and 18);
    // (2, 0) is the last column and keeps 50.
    EXPECT_EQ(grayValues(r), (QList<QList<int>>{{50, 255, 50}, {32, 19, 50}, {50, 50, 50}}));
}

TEST(Dithering, ErrorArithmetic)
{
    struct Case
    {
        ColorKey color;
        ColorErrorTriple error;
        int weight, divisor;
        ColorKey expected;
    };
    const Case cases[] = {
        {makeColorKey(250, 10, 100), {20, -20, 0}, 16, 16, makeColorKey(255, 0, 100)}, // clamped both ways
        {makeColorKey(100, 100, 100), {-1, -3, 1}, 7, 16, makeColorKey(100, 99, 100)}, // -7/16 -> 0, -21/16 -> -1, 7/16 -> 0
        {makeColorKey(0, 0, 0), {48, 47, 96}, 1, 48, makeColorKey(1, 0, 2)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AddError(c.color, c.error, c.weight, c.divisor), c.expected);

    // The threshold uses the dithering byte order (red first) and 1.2 x level, inclusive.
    const ColorKey white = makeColorKey(255, 255, 255), blueish = makeColorKey(255, 255, 245);
    const double d = ditheringDistance(white, blueish); // 14.14
    EXPECT_EQ(ColorError(white, blueish, d / 1.2), ColorErrorTriple{});
    EXPECT_EQ(ColorError(white, blueish, d / 1.2 - 1e-6), (ColorErrorTriple{0, 0, 10}));
    EXPECT_EQ(ColorError(white, white, 0.0), ColorErrorTriple{});
}

TEST(Dithering, LevelDecidesWhichPixelsSpread)
{
    // The source's distance is 100 x sqrt(8 + 255/256) = 299.93: a level of 250 (threshold
    // 300) keeps its error, 249.9 (299.88) lets it spread.
    struct Case
    {
        double level;
        int received;
    };
    for (const Case& c : {Case{250.0, 200}, Case{249.9, 243}, Case{0.0, 243}}) {
        KeyRaster r = grayRaster({{100, 200, 200}, {200, 200, 200}});
        ASSERT_TRUE(FloydSteinberg(r, receiverPalette(), c.level));
        EXPECT_EQ(r.at(1, 0), gray(c.received)) << c.level;
        EXPECT_EQ(r.at(0, 0), gray(0));
    }
}

TEST(Dithering, BlackAndWhiteByHand)
{
    // Gray 100 everywhere, palette black and white, Floyd-Steinberg, 3 x 3:
    // (0,0) 100 -> 0, error 100: (1,0) 143, (0,1) 131, (1,1) 106.
    // (1,0) 143 -> 255, error -112: (0,1) 131 - 21 = 110, (1,1) 106 - 35 = 71.
    // (2,0) 100 -> 0, error 100: (1,1) 71 + 18 = 89 (column 2 and row 2 receive nothing).
    // (0,1) 110 -> 0, error 110: (1,1) 89 + 48 = 137.  (1,1) 137 -> 255.  The rest -> 0.
    KeyRaster r = grayRaster({{100, 100, 100}, {100, 100, 100}, {100, 100, 100}});
    ASSERT_TRUE(FloydSteinberg(r, grays({0, 255}), 0.0));
    EXPECT_EQ(grayValues(r), (QList<QList<int>>{{0, 255, 0}, {0, 255, 0}, {0, 0, 0}}));
}

TEST(Dithering, ProgressEveryTenRowsAndCancel)
{
    const ColorTable palette = grays({0, 255});
    KeyRaster r(4, 25, gray(90));
    QList<std::pair<int, int>> calls;
    ASSERT_TRUE(DitherBitmap(r, palette, DitherMethod::SierraLite, 0.0, [&](int p, int m) {
        calls.append({p, m});
        return true;
    }));
    EXPECT_EQ(calls, (QList<std::pair<int, int>>{{0, 3}, {1, 3}, {2, 3}}));
    EXPECT_EQ(ditherProgressMaximum(1), 1);
    EXPECT_EQ(ditherProgressMaximum(11), 2);

    KeyRaster c(4, 25, gray(90));
    int seen = 0;
    EXPECT_FALSE(DitherBitmap(c, palette, DitherMethod::FloydSteinberg, 0.0, [&](int p, int) {
        ++seen;
        return p < 1;
    }));
    EXPECT_EQ(seen, 2); // cancelled before row 10
    EXPECT_NE(c.at(3, 9), gray(90));
    EXPECT_EQ(c.at(0, 11), gray(90)); // row 10 has received error from row 9, row 11 nothing
}

TEST(Dithering, FastSearchGivesThePlainResult)
{
    QRandomGenerator rng(7);
    for (DitherMethod m : {DitherMethod::FloydSteinberg, DitherMethod::JarvisJudiceNinke,
                           DitherMethod::Stucki, DitherMethod::SierraLite}) {
        ColorTable palette;
        while (palette.size() < 40)
            palette.insert(makeColorKey(rng.bounded(8) * 36, rng.bounded(8) * 36, rng.bounded(8) * 36), {});
        KeyRaster a(37, 23);
        for (ColorKey& k : a.pixels)
            k = makeColorKey(rng.bounded(256), rng.bounded(256), rng.bounded(256));
        KeyRaster b = a;
        ASSERT_TRUE(DitherBitmap(a, palette, m, 3.0, {}, NearestSearchKind::Fast));
        ASSERT_TRUE(DitherBitmap(b, palette, m, 3.0, {}, NearestSearchKind::Plain));
        EXPECT_EQ(a, b) << ditherMethodName(m).toStdString();
    }
}

TEST(Dithering, MethodNames)
{
    for (const QString& n : ditherMethodNames()) {
        const auto m = ditherMethodFromName(n);
        ASSERT_TRUE(m.has_value()) << n.toStdString();
        EXPECT_EQ(ditherMethodName(*m), n);
        EXPECT_EQ(ditherMethodFromName(ditherMethodCaption(*m)), m);
    }
    EXPECT_EQ(ditherMethodCaption(DitherMethod::JarvisJudiceNinke), QStringLiteral("Jarvis,Judice and Ninke"));
    EXPECT_FALSE(ditherMethodFromName(QStringLiteral("atkinson")).has_value());
}
