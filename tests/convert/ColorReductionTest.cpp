// The colour work of a conversion: matching, limits, ranking with ties, the reduced mapping
// and the dithered runs.

#include "convert/ColorReduction.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <QSet>

namespace {

constexpr ColorKey gray(int v)
{
    return makeColorKey(quint32(v), quint32(v), quint32(v));
}

ColorTable tableOf(const QList<ColorKey>& keys)
{
    ColorTable t;
    for (ColorKey k : keys)
        t.insert(k, TColorInfo{});
    return t;
}

KeyRaster rasterOf(int w, const QList<ColorKey>& pixels)
{
    KeyRaster r(w, int(pixels.size()) / w);
    std::copy(pixels.begin(), pixels.end(), r.pixels.begin());
    return r;
}

} // namespace

TEST(PictureColorMapper, ExactColoursRecordNoDistance)
{
    PictureColorMapper m;
    const KeyRaster pic = rasterOf(3, {gray(0), gray(90), gray(0), gray(200), gray(0), gray(90)});
    m.loadUsedColors(pic);
    EXPECT_EQ(m.PictureColors.keys(), (QList<ColorKey>{gray(0), gray(90), gray(200)}));
    EXPECT_EQ(m.PictureColors.value(gray(0)).colorCount, 3);
    m.loadPaletteColors(tableOf({gray(200), gray(90), gray(0), gray(30)}));
    QList<double> deltas{1.0, 2.0};
    m.matchUsedColors(deltas);
    EXPECT_TRUE(deltas.isEmpty());
    EXPECT_EQ(m.MaxLevelDithering, 0.0);
    EXPECT_EQ(m.DrawImageWithPalette(pic), pic);
    EXPECT_EQ(m.PaletteColors.value(gray(90)).colorCount, 2);
    EXPECT_EQ(m.PaletteColors.value(gray(30)).colorCount, 0);
    EXPECT_EQ(m.computeMaxAvailableColors(100), 3);
}

TEST(PictureColorMapper, DistancesAndLevel)
{
    PictureColorMapper m;
    m.setLevelPosition(25);
    m.loadUsedColors(rasterOf(3, {gray(10), gray(100), gray(0)}));
    m.loadPaletteColors(tableOf({gray(0), gray(255)}));
    QList<double> deltas;
    m.matchUsedColors(deltas);
    ASSERT_EQ(deltas.size(), 2);
    EXPECT_LT(deltas[0], deltas[1]); // sorted ascending
    EXPECT_DOUBLE_EQ(m.MaxLevelDithering, matchingDistance(gray(100), gray(0)));
    EXPECT_DOUBLE_EQ(m.FLevelDithering, 75 * m.MaxLevelDithering / 100);
    m.setLevelPosition(100);
    EXPECT_EQ(m.FLevelDithering, 0.0);
}

TEST(PictureColorMapper, Limits)
{
    // 40 palette colours in use, 30 symbols: at most 30 colours.
    PictureColorMapper m;
    QList<ColorKey> keys;
    for (int i = 0; i < 40; ++i)
        keys.append(gray(i * 6));
    m.loadPaletteColors(tableOf(keys + QList<ColorKey>{makeColorKey(255, 0, 0)}));
    m.loadUsedColors(rasterOf(40, keys));
    QList<double> deltas;
    m.matchUsedColors(deltas);
    EXPECT_EQ(m.computeMaxAvailableColors(30), 30);
    EXPECT_EQ(m.computeMaxAvailableColors(300), 40);
    m.computeMaxAvailableColors(30);
    struct Case
    {
        int requested, maxColors, expected;
    };
    for (const Case& c : {Case{500, 100, 30}, Case{20, 100, 20}, Case{500, 12, 12}, Case{500, 0, 30},
                          Case{0, 100, 1}}) {
        EXPECT_EQ(m.computeColorsCount(c.requested, c.maxColors), c.expected)
            << c.requested << " " << c.maxColors;
        EXPECT_EQ(m.ColorsCount, c.expected);
    }
}

TEST(PictureColorMapper, MostUsedColoursWithTies)
{
    PictureColorMapper m;
    m.loadPaletteColors(tableOf({gray(0), gray(50), gray(100), gray(150), gray(200)}));
    const int counts[] = {2, 3, 0, 3, 1};
    for (int i = 0; i < 5; ++i)
        m.PaletteColors.at(i).second.colorCount = counts[i];
    struct Case
    {
        int n;
        QList<ColorKey> kept;
    };
    const Case cases[] = {
        {1, {gray(50)}},                                  // 50 and 150 tie: the earlier stays
        {2, {gray(50), gray(150)}},
        {3, {gray(50), gray(150), gray(0)}},
        {9, {gray(50), gray(150), gray(0), gray(200)}},   // unused colours are never kept
    };
    for (const Case& c : cases) {
        m.selectMostUsedColors(c.n);
        EXPECT_EQ(m.ReducedColors.keys(), c.kept) << c.n;
    }
}

TEST(PictureColorMapper, DroppedColourTakesTheKeptColourNearestToIt)
{
    // Pixel 140 matches palette 90 (50 away, 200 is 60 away). 90 is dropped; the kept colour
    // nearest to 90 is 0, although 200 is nearer to the pixel itself.
    PictureColorMapper m;
    const KeyRaster pic = rasterOf(6, {gray(0), gray(0), gray(0), gray(200), gray(200), gray(140)});
    m.loadPaletteColors(tableOf({gray(0), gray(90), gray(200)}));
    m.loadUsedColors(pic);
    QList<double> deltas;
    m.matchUsedColors(deltas);
    KeyRaster final;
    ASSERT_TRUE(m.Dithering(2, DitherMethod::None, pic, final));
    EXPECT_EQ(final, rasterOf(6, {gray(0), gray(0), gray(0), gray(200), gray(200), gray(0)}));
    EXPECT_EQ(m.ReducedColors.keys(), (QList<ColorKey>{gray(0), gray(200)}));

    // Keeping as many colours as are used gives the full-palette picture.
    ASSERT_TRUE(m.Dithering(3, DitherMethod::None, pic, final));
    EXPECT_EQ(final, m.DrawImageWithPalette(pic));
}

class DitheredRuns : public testing::Test
{
protected:
    void SetUp() override
    {
        QRandomGenerator rng(99);
        QList<ColorKey> keys;
        while (keys.size() < 24) {
            const ColorKey k = makeColorKey(rng.bounded(6) * 51, rng.bounded(6) * 51, rng.bounded(6) * 51);
            if (!keys.contains(k))
                keys.append(k);
        }
        palette = tableOf(keys);
        picture = KeyRaster(30, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 30; ++x)
                picture.at(x, y) = makeColorKey(x * 8, y * 12, (x * y) % 256);
        mapper.loadPaletteColors(palette);
        mapper.loadUsedColors(picture);
        mapper.matchUsedColors(deltas);
        mapper.computeMaxAvailableColors(1000);
    }
    ColorTable palette;
    KeyRaster picture;
    PictureColorMapper mapper;
    QList<double> deltas;
};

TEST_F(DitheredRuns, ReductionKeepsAtMostNColours)
{
    const int n = mapper.MaxAvailableColors - 5;
    ASSERT_GT(n, 1);
    mapper.setLevelPosition(100);
    KeyRaster final;
    ASSERT_TRUE(mapper.Dithering(n, DitherMethod::Stucki, picture, final));
    EXPECT_EQ(mapper.ReducedColors.size(), n);
    QSet<ColorKey> used(final.pixels.begin(), final.pixels.end());
    for (ColorKey k : used)
        EXPECT_TRUE(mapper.ReducedColors.contains(k));
    // The second run dithers the undithered picture against the kept colours only.
    KeyRaster again = picture;
    ASSERT_TRUE(DitherBitmap(again, mapper.ReducedColors, DitherMethod::Stucki, 0.0));
    EXPECT_EQ(final, again);
}

TEST_F(DitheredRuns, LevelZeroPositionSpreadsNothingWithoutReduction)
{
    mapper.setLevelPosition(0);
    KeyRaster final;
    ASSERT_TRUE(
        mapper.Dithering(mapper.MaxAvailableColors, DitherMethod::FloydSteinberg, picture, final));
    EXPECT_EQ(final, mapper.DrawImageWithPalette(picture));
    // The kept colours are the ones the picture uses, not those of an earlier run.
    QSet<ColorKey> used(final.pixels.begin(), final.pixels.end());
    EXPECT_EQ(mapper.ReducedColors.size(), used.size());
}

TEST_F(DitheredRuns, CancelKeepsThePreviousResult)
{
    KeyRaster final;
    ASSERT_TRUE(mapper.Dithering(4, DitherMethod::None, picture, final));
    const KeyRaster before = final;
    const QList<ColorKey> kept = mapper.ReducedColors.keys();
    mapper.setLevelPosition(100);
    EXPECT_FALSE(mapper.Dithering(3, DitherMethod::SierraLite, picture, final,
                                  [](int p, int) { return p < 1; }));
    EXPECT_EQ(final, before);
    EXPECT_EQ(mapper.ReducedColors.keys(), kept);
}
