#pragma once
// The one colour distance and nearest-colour search of the system.
//
// colorDistance weighs its first pair of bytes more when both colours are bright in it and its
// third pair more when they are dark in the first byte; the middle pair always weighs 4.
// Matching passes blue first (matchingDistance), the dithering threshold red first
// (ditheringDistance). nearestColor is the plain scan that fixes every result: an exact match
// wins at once and is never recorded, otherwise the first colour of the table's order with the
// smallest distance. NearestColorSearch gives exactly the same answers much faster, for the
// per-pixel searches of dithering.

#include "core/StitchTypes.h"

#include <QList>
#include <cstdint>
#include <memory>
#include <vector>

// Returned by a search that finds nothing (no palette holds it).
inline constexpr ColorKey kNoColor = 0xFF000000u;
// Start value of a search: above every possible distance.
inline constexpr double kNoDistance = 16581375.0;

// The square of colorDistance, evaluated exactly as colorDistance evaluates it.
inline double colorDistanceSquared(int a1, int a2, int a3, int b1, int b2, int b3)
{
    const double m = (a1 + b1) / 2.0;
    const double d1 = b1 - a1, d2 = b2 - a2, d3 = b3 - a3;
    return (2.0 + m / 256.0) * (d1 * d1) + 4.0 * (d2 * d2) + (2.0 + (255.0 - m) / 256.0) * (d3 * d3);
}

double colorDistance(int a1, int a2, int a3, int b1, int b2, int b3);

// Matching order: (blue, green, red).
double matchingDistance(ColorKey a, ColorKey b);
// Dithering-threshold order: (red, green, blue).
double ditheringDistance(ColorKey a, ColorKey b);

// The plain linear scan. With `record` set, the best distance of a search without an exact
// match is appended to it (nothing is appended for an empty table).
ColorKey nearestColor(ColorKey c, const ColorTable& table, QList<double>* record = nullptr);

// The same search over the keys of a table, taken once, answering repeated questions fast.
// Colour space is cut into cubes of 16 x 16 x 16 values. For a cube, only the keys that could be
// nearest to some colour inside it are kept (a key whose smallest possible distance to the cube
// exceeds another key's largest possible distance can neither win nor tie, since every weight
// of the distance lies between 2 and 4); the list is made the first time a colour of the cube
// is asked for and scanned in table order exactly as nearestColor scans the table, so the
// answers, ties and recorded distances are the same.
// Not for use from several threads at once.
class NearestColorSearch
{
public:
    explicit NearestColorSearch(const ColorTable& table);
    explicit NearestColorSearch(const QList<ColorKey>& keys);
    ~NearestColorSearch();
    NearestColorSearch(const NearestColorSearch&) = delete;
    NearestColorSearch& operator=(const NearestColorSearch&) = delete;

    // The nearest key, or kNoColor for an empty table.
    ColorKey find(ColorKey c) const;
    // The nearest key and its distance (0 for an exact match, kNoDistance for an empty table).
    ColorKey find(ColorKey c, double& distance) const;
    // As nearestColor: the best distance is appended to `record` unless the match is exact.
    ColorKey find(ColorKey c, QList<double>* record) const;

    int size() const { return int(m_keys.size()); }

private:
    // Position of the nearest key (-1 for an empty table) and its distance.
    int search(ColorKey c, double* distance) const;
    const int* cellList(ColorKey c, int& count) const;

    std::vector<ColorKey> m_keys; // in table order
    std::vector<std::uint8_t> m_channels; // blue, green, red of every key
    mutable std::vector<int> m_cellStart; // per cube: offset into m_cellLists, -1 not made yet
    mutable std::vector<int> m_cellCount;
    mutable std::vector<int> m_cellLists;
};
