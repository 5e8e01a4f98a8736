#include "Borders.h"

#include "CellSet.h"
#include "core/ColorTypes.h"

namespace Borders {

namespace {

constexpr QPoint kSides[4] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
constexpr QPoint kCorners[4] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}};

// Row access to a raster of cells.
struct Cells
{
    explicit Cells(const QImage& image) : img(image), rect(image.rect()) {}
    bool inside(QPoint p) const { return rect.contains(p); }
    TColor32 at(QPoint p) const
    {
        return reinterpret_cast<const TColor32*>(img.constScanLine(p.y()))[p.x()];
    }
    // Outside the raster, or of another content than `k`.
    bool outside(QPoint p, TColor32 k) const { return !inside(p) || at(p) != k; }
    const QImage& img;
    QRect rect;
};

QList<QPoint> region(const QImage& image, QPoint start, bool eight)
{
    const Cells cells(image);
    if (!cells.inside(start))
        return {};
    const TColor32 k = cells.at(start);
    // Only inside cells of the region queue their neighbours: one cell beyond the edge is all
    // the queue can hold.
    CellList queue(cells.rect.adjusted(-1, -1, 1, 1));
    queue.append(start);
    QList<QPoint> out;
    for (int i = 0; i < queue.size(); ++i) {
        const QPoint c = queue.cells().at(i);
        if (cells.outside(c, k))
            continue;
        out.append(c);
        for (const QPoint& d : kSides)
            queue.append(c + d);
        if (eight)
            for (const QPoint& d : kCorners)
                queue.append(c + d);
    }
    return out;
}

} // namespace

QList<QPoint> region8(const QImage& cells, QPoint start) { return region(cells, start, true); }
QList<QPoint> region4(const QImage& cells, QPoint start) { return region(cells, start, false); }

QList<QPoint> regionBorder(const QImage& image, QPoint start, bool fourNeighbour)
{
    const Cells cells(image);
    const QList<QPoint> area = region8(image, start);
    if (area.isEmpty())
        return {};
    const TColor32 k = cells.at(start);
    QList<QPoint> out;
    for (const QPoint& c : area) {
        bool border = false;
        for (const QPoint& d : kSides)
            border = border || cells.outside(c + d, k);
        if (!fourNeighbour)
            for (const QPoint& d : kCorners)
                border = border || cells.outside(c + d, k);
        if (border)
            out.append(c);
    }
    return out;
}

QList<QPoint> inlineBorder(const QImage& cells, QPoint start, bool cornerSharp)
{
    return regionBorder(cells, start, !cornerSharp);
}

QList<QPoint> outlineBorder(const QImage& image, QPoint start, bool cornerSharp)
{
    const Cells cells(image);
    const QList<QPoint> border = regionBorder(image, start, false);
    if (border.isEmpty())
        return {};
    const TColor32 k = cells.at(start);
    CellList ring(cells.rect);
    auto take = [&](QPoint p) {
        if (cells.inside(p) && cells.at(p) != k)
            ring.append(p);
    };
    for (const QPoint& c : border) {
        for (const QPoint& d : kSides)
            take(c + d);
        if (cornerSharp)
            for (const QPoint& d : kCorners)
                take(c + d);
    }
    return ring.take();
}

} // namespace Borders
