#include "ColorMatch.h"

#include <algorithm>
#include <cmath>
#include <limits>

double colorDistance(int a1, int a2, int a3, int b1, int b2, int b3)
{
    return std::sqrt(colorDistanceSquared(a1, a2, a3, b1, b2, b3));
}

double matchingDistance(ColorKey a, ColorKey b)
{
    return colorDistance(int(kBlueOf(a)), int(kGreenOf(a)), int(kRedOf(a)), int(kBlueOf(b)),
                         int(kGreenOf(b)), int(kRedOf(b)));
}

double ditheringDistance(ColorKey a, ColorKey b)
{
    return colorDistance(int(kRedOf(a)), int(kGreenOf(a)), int(kBlueOf(a)), int(kRedOf(b)),
                         int(kGreenOf(b)), int(kBlueOf(b)));
}

ColorKey nearestColor(ColorKey c, const ColorTable& table, QList<double>* record)
{
    double best = kNoDistance;
    ColorKey result = kNoColor;
    for (const auto& entry : table) {
        const double d = matchingDistance(c, entry.first);
        if (d == 0)
            return entry.first;
        if (d < best) {
            best = d;
            result = entry.first;
        }
    }
    if (record && best < kNoDistance)
        record->append(best);
    return result;
}

// ---------------------------------------------------------------------------------------------

namespace {
// A squared distance above the best one by more than this factor gives a distance above it
// after the square root, whatever the rounding.
constexpr double kTieMargin = 1.0 + 1e-9;
constexpr int kCubeShift = 4; // cubes of 16 values per channel
constexpr int kCubes = 256 >> kCubeShift;

inline int cubeOf(int b, int g, int r)
{
    return ((b >> kCubeShift) * kCubes + (g >> kCubeShift)) * kCubes + (r >> kCubeShift);
}

// Smallest and largest distance along one channel from a value to a cube's range.
inline void channelRange(int v, int lo, int hi, qint64& nearSq, qint64& farSq)
{
    const int near = v < lo ? lo - v : (v > hi ? v - hi : 0);
    const int far = std::max(std::abs(v - lo), std::abs(v - hi));
    nearSq = qint64(near) * near;
    farSq = qint64(far) * far;
}
} // namespace

NearestColorSearch::NearestColorSearch(const ColorTable& table)
    : NearestColorSearch(table.keys())
{
}

NearestColorSearch::NearestColorSearch(const QList<ColorKey>& keys)
{
    m_keys.assign(keys.begin(), keys.end());
    m_channels.reserve(m_keys.size() * 3);
    for (ColorKey k : m_keys) {
        m_channels.push_back(std::uint8_t(kBlueOf(k)));
        m_channels.push_back(std::uint8_t(kGreenOf(k)));
        m_channels.push_back(std::uint8_t(kRedOf(k)));
    }
    m_cellStart.assign(size_t(kCubes) * kCubes * kCubes, -1);
    m_cellCount.assign(m_cellStart.size(), 0);
}

NearestColorSearch::~NearestColorSearch() = default;

const int* NearestColorSearch::cellList(ColorKey c, int& count) const
{
    const int qb = int(kBlueOf(c)), qg = int(kGreenOf(c)), qr = int(kRedOf(c));
    const int cube = cubeOf(qb, qg, qr);
    if (m_cellStart[size_t(cube)] < 0) {
        const int mask = ~((1 << kCubeShift) - 1), side = (1 << kCubeShift) - 1;
        const int bLo = qb & mask, gLo = qg & mask, rLo = qr & mask;
        const int n = int(m_keys.size());
        // The distance weights lie in [2, 3] for the outer pairs and are 4 for the middle one.
        std::vector<qint64> smallest(static_cast<size_t>(n));
        qint64 bound = std::numeric_limits<qint64>::max();
        for (int i = 0; i < n; ++i) {
            const std::uint8_t* ch = &m_channels[size_t(i) * 3];
            qint64 nb, fb, ng, fg, nr, fr;
            channelRange(ch[0], bLo, bLo + side, nb, fb);
            channelRange(ch[1], gLo, gLo + side, ng, fg);
            channelRange(ch[2], rLo, rLo + side, nr, fr);
            smallest[size_t(i)] = 2 * nb + 4 * ng + 2 * nr;
            bound = std::min(bound, 3 * fb + 4 * fg + 3 * fr);
        }
        m_cellStart[size_t(cube)] = int(m_cellLists.size());
        for (int i = 0; i < n; ++i) {
            if (smallest[size_t(i)] <= bound)
                m_cellLists.push_back(i);
        }
        m_cellCount[size_t(cube)] = int(m_cellLists.size()) - m_cellStart[size_t(cube)];
    }
    count = m_cellCount[size_t(cube)];
    return m_cellLists.data() + m_cellStart[size_t(cube)];
}

int NearestColorSearch::search(ColorKey c, double* distance) const
{
    if (distance)
        *distance = kNoDistance;
    if (m_keys.empty())
        return -1;
    int count = 0;
    const int* list = cellList(c, count);
    const int qb = int(kBlueOf(c)), qg = int(kGreenOf(c)), qr = int(kRedOf(c));
    // The plain scan over the cube's keys, in table order. A key whose squared distance is
    // clearly above the best one is skipped without its square root: its distance could
    // neither beat nor tie the best.
    double best = kNoDistance;
    double bestSq = std::numeric_limits<double>::infinity();
    int result = -1;
    for (int k = 0; k < count; ++k) {
        const int i = list[k];
        const std::uint8_t* ch = &m_channels[size_t(i) * 3];
        const double sq = colorDistanceSquared(qb, qg, qr, ch[0], ch[1], ch[2]);
        if (sq > bestSq * kTieMargin)
            continue;
        bestSq = std::min(bestSq, sq);
        const double d = std::sqrt(sq);
        if (d == 0) {
            best = 0;
            result = i;
            break;
        }
        if (d < best) {
            best = d;
            result = i;
        }
    }
    if (distance)
        *distance = best;
    return result;
}

ColorKey NearestColorSearch::find(ColorKey c, double& distance) const
{
    const int i = search(c, &distance);
    return i < 0 ? kNoColor : m_keys[size_t(i)];
}

ColorKey NearestColorSearch::find(ColorKey c) const
{
    const int i = search(c, nullptr);
    return i < 0 ? kNoColor : m_keys[size_t(i)];
}

ColorKey NearestColorSearch::find(ColorKey c, QList<double>* record) const
{
    double d = kNoDistance;
    const ColorKey k = find(c, d);
    if (record && d != 0 && d < kNoDistance)
        record->append(d);
    return k;
}
