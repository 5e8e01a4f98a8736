#include "Borders.h"

#include "core/ColorTypes.h"

#include <vector>

namespace Borders {

namespace {

// The raster as flags on a grid one cell larger each way, so that every cell of the raster
// has its eight neighbours at fixed index offsets and the edge needs no test of its own.
// Regions of a million cells are walked with index arithmetic alone.
class Grid
{
public:
    enum : unsigned char { Inside = 1, Match = 2, Queued = 4, Taken = 8 };

    Grid(const QImage& image, QPoint start)
        : m_w(image.width() + 2), m_h(image.height() + 2),
          m_flags(size_t(qint64(m_w) * m_h), 0)
    {
        m_k = reinterpret_cast<const TColor32*>(image.constScanLine(start.y()))[start.x()];
        for (int y = 0; y < image.height(); ++y) {
            const auto* row = reinterpret_cast<const TColor32*>(image.constScanLine(y));
            unsigned char* f = &m_flags[size_t(qint64(y + 1) * m_w + 1)];
            for (int x = 0; x < image.width(); ++x)
                f[x] = row[x] == m_k ? Inside | Match : Inside;
        }
        // Left, right, up, down, then up-left, up-right, down-left, down-right.
        const int w = m_w;
        const int offsets[8] = {-1, 1, -w, w, -w - 1, -w + 1, w - 1, w + 1};
        std::copy(offsets, offsets + 8, m_around);
    }

    qint64 index(QPoint p) const { return qint64(p.y() + 1) * m_w + p.x() + 1; }
    QPoint point(qint64 i) const { return QPoint(int(i % m_w) - 1, int(i / m_w) - 1); }
    unsigned char& flags(qint64 i) { return m_flags[size_t(i)]; }
    // Outside the raster or of another content than the start's.
    bool other(qint64 i) const { return !(m_flags[size_t(i)] & Match); }
    const int* sides() const { return m_around; }

    // The region of the start's content connected to `start`, in the order a breadth-first
    // walk reaches it; each cell is queued once.
    std::vector<qint64> region(QPoint start, bool eight)
    {
        std::vector<qint64> queue{index(start)};
        flags(queue.front()) |= Queued;
        std::vector<qint64> out;
        const int n = eight ? 8 : 4;
        for (size_t q = 0; q < queue.size(); ++q) {
            const qint64 c = queue[q];
            if (other(c))
                continue;
            out.push_back(c);
            for (int d = 0; d < n; ++d) {
                const qint64 j = c + m_around[d];
                if (!(flags(j) & Queued)) {
                    flags(j) |= Queued;
                    queue.push_back(j);
                }
            }
        }
        return out;
    }

    std::vector<qint64> border(const std::vector<qint64>& area, bool fourNeighbour) const
    {
        std::vector<qint64> out;
        const int n = fourNeighbour ? 4 : 8;
        for (qint64 c : area) {
            for (int d = 0; d < n; ++d) {
                if (other(c + m_around[d])) {
                    out.push_back(c);
                    break;
                }
            }
        }
        return out;
    }

    QList<QPoint> points(const std::vector<qint64>& cells) const
    {
        QList<QPoint> out;
        out.reserve(qsizetype(cells.size()));
        for (qint64 c : cells)
            out.append(point(c));
        return out;
    }

private:
    int m_w, m_h;
    std::vector<unsigned char> m_flags;
    TColor32 m_k = 0;
    int m_around[8];
};

bool inside(const QImage& image, QPoint p)
{
    return image.rect().contains(p);
}

} // namespace

QList<QPoint> region8(const QImage& cells, QPoint start)
{
    if (!inside(cells, start))
        return {};
    Grid g(cells, start);
    return g.points(g.region(start, true));
}

QList<QPoint> region4(const QImage& cells, QPoint start)
{
    if (!inside(cells, start))
        return {};
    Grid g(cells, start);
    return g.points(g.region(start, false));
}

QList<EdgeCell> region4Edges(const QImage& cells, QPoint start)
{
    if (!inside(cells, start))
        return {};
    Grid g(cells, start);
    QList<EdgeCell> out;
    for (qint64 c : g.region(start, false)) {
        int sides = 0;
        for (int d = 0; d < 4; ++d)
            if (g.other(c + g.sides()[d]))
                sides |= 1 << d;
        if (sides)
            out.append({g.point(c), sides});
    }
    return out;
}

QList<QPoint> regionBorder(const QImage& cells, QPoint start, bool fourNeighbour)
{
    if (!inside(cells, start))
        return {};
    Grid g(cells, start);
    return g.points(g.border(g.region(start, true), fourNeighbour));
}

QList<QPoint> inlineBorder(const QImage& cells, QPoint start, bool cornerSharp)
{
    return regionBorder(cells, start, !cornerSharp);
}

QList<QPoint> outlineBorder(const QImage& cells, QPoint start, bool cornerSharp)
{
    if (!inside(cells, start))
        return {};
    Grid g(cells, start);
    const std::vector<qint64> border = g.border(g.region(start, true), false);
    // Cells inside the raster of another content beside a border cell, each listed once.
    std::vector<qint64> ring;
    const int n = cornerSharp ? 8 : 4;
    for (qint64 c : border) {
        for (int d = 0; d < n; ++d) {
            const qint64 j = c + g.sides()[d];
            unsigned char& f = g.flags(j);
            if ((f & Grid::Inside) && !(f & Grid::Match) && !(f & Grid::Taken)) {
                f |= Grid::Taken;
                ring.push_back(j);
            }
        }
    }
    return g.points(ring);
}

} // namespace Borders
