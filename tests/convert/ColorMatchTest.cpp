// The colour distance, the plain nearest-colour scan and the fast search that must give
// exactly its answers.

#include "convert/ColorMatch.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <cmath>

namespace {

ColorTable tableOf(std::initializer_list<ColorKey> keys)
{
    ColorTable t;
    for (ColorKey k : keys)
        t.insert(k, TColorInfo{});
    return t;
}

constexpr ColorKey rgb(int r, int g, int b)
{
    return makeColorKey(quint32(r), quint32(g), quint32(b));
}

} // namespace

TEST(ColorDistance, Values)
{
    struct Case
    {
        int a1, a2, a3, b1, b2, b3;
        double expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0, 0, 0, 0.0},
        {255, 255, 255, 255, 255, 255, 0.0},
        // Only the middle pair differs: weight 4 whatever the other bytes are.
        {0, 0, 0, 0, 10, 0, 20.0},
        {200, 0, 13, 200, 10, 13, 20.0},
        // First pair, mean 250: (2 + 250/256) x 100.
        {255, 255, 255, 245, 255, 255, std::sqrt((2 + 250.0 / 256) * 100)},
        // Third pair, mean of the first pair 255: (2 + 0/256) x 100.
        {255, 255, 255, 255, 255, 245, std::sqrt(200.0)},
        // The mean is not rounded: (1 + 2) / 2 = 1.5.
        {1, 0, 0, 2, 0, 0, std::sqrt(2 + 1.5 / 256)},
        // Black to white, the largest value (below 766).
        {0, 0, 0, 255, 255, 255, std::sqrt((2 + 127.5 / 256) * 65025 + 4 * 65025 + (2 + 127.5 / 256) * 65025)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.a1 << "," << c.a2 << "," << c.a3 << " / " << c.b1 << ","
                                        << c.b2 << "," << c.b3);
        EXPECT_DOUBLE_EQ(colorDistance(c.a1, c.a2, c.a3, c.b1, c.b2, c.b3), c.expected);
    }
    EXPECT_LT(colorDistance(0, 0, 0, 255, 255, 255), 766.0);
}

TEST(ColorDistance, ByteOrders)
{
    const ColorKey white = rgb(255, 255, 255);
    const ColorKey a = rgb(245, 255, 255); // red lower
    const ColorKey b = rgb(255, 255, 245); // blue lower
    EXPECT_NEAR(matchingDistance(white, a), 14.14, 0.005);
    EXPECT_NEAR(matchingDistance(white, b), 17.25, 0.005);
    EXPECT_NEAR(ditheringDistance(white, a), 17.25, 0.005);
    EXPECT_NEAR(ditheringDistance(white, b), 14.14, 0.005);
    EXPECT_EQ(nearestColor(white, tableOf({b, a})), a);
}

TEST(NearestColor, ExactTiesEmptyAndRecording)
{
    const ColorKey c = rgb(100, 100, 100);
    struct Case
    {
        const char* what;
        ColorTable table;
        ColorKey expected;
        bool recorded;
    };
    const Case cases[] = {
        {"exact match wins although a closer-looking entry comes first",
         tableOf({rgb(100, 101, 100), c, rgb(0, 0, 0)}), c, false},
        {"two entries at the same distance: the first in table order",
         tableOf({rgb(100, 110, 100), rgb(100, 90, 100)}), rgb(100, 110, 100), true},
        {"the same pair the other way round", tableOf({rgb(100, 90, 100), rgb(100, 110, 100)}),
         rgb(100, 90, 100), true},
        {"strictly smaller distance later in the table", tableOf({rgb(100, 120, 100), rgb(100, 95, 100)}),
         rgb(100, 95, 100), true},
        {"empty table", ColorTable(), kNoColor, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        QList<double> deltas{7.0};
        EXPECT_EQ(nearestColor(c, k.table, &deltas), k.expected);
        EXPECT_EQ(deltas.size(), k.recorded ? 2 : 1);
        if (k.recorded) {
            EXPECT_DOUBLE_EQ(deltas.last(), matchingDistance(c, k.expected));
        }
        EXPECT_EQ(nearestColor(c, k.table), k.expected);

        NearestColorSearch fast(k.table);
        QList<double> fastDeltas{7.0};
        EXPECT_EQ(fast.find(c, &fastDeltas), k.expected);
        EXPECT_EQ(fastDeltas, deltas);
        EXPECT_EQ(fast.find(c), k.expected);
    }
}

// The fast search against the plain scan: random palettes, some drawn from a coarse grid so
// that many candidates lie at exactly the same distance, with and without the asked colour.
TEST(NearestColor, FastSearchEqualsPlainScan)
{
    QRandomGenerator rng(20240611);
    auto channel = [&](bool coarse) {
        return coarse ? int(rng.bounded(5)) * 60 + 10 : int(rng.bounded(256));
    };
    for (int round = 0; round < 60; ++round) {
        const bool coarse = round % 2 == 0;
        const int size = 1 + int(rng.bounded(round < 10 ? 4 : 300));
        ColorTable palette;
        while (palette.size() < size) {
            palette.insert(rgb(channel(coarse), channel(coarse), channel(coarse)), TColorInfo{});
            if (coarse && palette.size() >= 125)
                break;
        }
        NearestColorSearch fast(palette);
        for (int q = 0; q < 400; ++q) {
            ColorKey c;
            switch (q % 4) {
            case 0: c = rgb(channel(false), channel(false), channel(false)); break;
            case 1: c = rgb(channel(coarse) + 30, channel(coarse) + 30, channel(coarse) + 30); break; // mid-points
            case 2: c = palette.at(int(rng.bounded(palette.size()))).first; break;
            default: c = rgb(channel(coarse), channel(false), channel(coarse)); break;
            }
            QList<double> plainDeltas, fastDeltas;
            const ColorKey expected = nearestColor(c, palette, &plainDeltas);
            ASSERT_EQ(fast.find(c), expected) << std::hex << c;
            ASSERT_EQ(fast.find(c), expected) << "cached answer " << std::hex << c;
            ASSERT_EQ(fast.find(c, &fastDeltas), expected);
            ASSERT_EQ(fastDeltas, plainDeltas);
        }
    }
}

// Ties that only the square root makes: squared distances that differ in their last bits must
// still be measured exactly (the fast search may not decide on squared values alone).
TEST(NearestColor, FastSearchTiesOnGreenOnlyDifferences)
{
    for (int g = 0; g < 256; g += 5) {
        const ColorKey c = rgb(37, g, 201);
        ColorTable palette;
        for (int d : {17, -17, 3, -3, 40})
            palette.insert(rgb(37, std::clamp(g + d, 0, 255), 201), TColorInfo{});
        NearestColorSearch fast(palette);
        EXPECT_EQ(fast.find(c), nearestColor(c, palette)) << g;
    }
}
