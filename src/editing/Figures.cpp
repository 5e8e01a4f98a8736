#include "Figures.h"

#include <cmath>

namespace Figures {

QList<QPoint> penFootprint(int penSize, bool square)
{
    const int p = qBound(1, penSize, 4);
    const int h = (p - 1) / 2;
    QList<QPoint> out;
    for (int dy = -h; dy <= -h + p - 1; ++dy) {
        for (int dx = -h; dx <= -h + p - 1; ++dx) {
            const bool cornerX = dx == -h || dx == -h + p - 1;
            const bool cornerY = dy == -h || dy == -h + p - 1;
            if (!square && p >= 3 && cornerX && cornerY)
                continue;
            out.append(QPoint(dx, dy));
        }
    }
    return out;
}

namespace {

// The cells a figure between two corners can reach with the pen (offsets -1 .. +2).
QRect reach(QPoint a, QPoint b)
{
    return QRect(QPoint(qMin(a.x(), b.x()) - 1, qMin(a.y(), b.y()) - 1),
                 QPoint(qMax(a.x(), b.x()) + 2, qMax(a.y(), b.y()) + 2));
}

void stamp(CellList& list, QPoint p, const QList<QPoint>& pen)
{
    for (const QPoint& d : pen)
        list.append(p + d);
}

} // namespace

QList<QPoint> line(QPoint from, QPoint to, int penSize)
{
    const QList<QPoint> pen = penFootprint(penSize);
    CellList list(reach(from, to));
    stamp(list, from, pen);
    if (from == to)
        return list.take();
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    if (std::abs(dy) >= std::abs(dx)) {
        const int s = dy >= 0 ? 1 : -1;
        double x = from.x() + 0.5;
        const double step = double(s) * dx / dy;
        for (int y = from.y(); y != to.y();) {
            y += s;
            x += step;
            stamp(list, QPoint(int(std::floor(x)), y), pen);
        }
    } else {
        const int s = dx >= 0 ? 1 : -1;
        double y = from.y() + 0.5;
        const double step = double(s) * dy / dx;
        for (int x = from.x(); x != to.x();) {
            x += s;
            y += step;
            stamp(list, QPoint(x, int(std::floor(y))), pen);
        }
    }
    return list.take();
}

QList<QPoint> rectangle(QPoint from, QPoint to, bool filled, int penSize)
{
    const QList<QPoint> pen = penFootprint(penSize, true);
    const int xmin = qMin(from.x(), to.x()), xmax = qMax(from.x(), to.x());
    const int ymin = qMin(from.y(), to.y()), ymax = qMax(from.y(), to.y());
    CellList list(reach(from, to));
    for (int y = ymin; y <= ymax; ++y) {
        if (filled || y == ymin || y == ymax) {
            for (int x = xmin; x <= xmax; ++x)
                stamp(list, QPoint(x, y), pen);
        } else {
            // Inside rows of an empty rectangle: only the two side cells are visited.
            stamp(list, QPoint(xmin, y), pen);
            stamp(list, QPoint(xmax, y), pen);
        }
    }
    return list.take();
}

QList<QPoint> circle(QPoint centre, QPoint rim, bool filled, int penSize, QSize design)
{
    const QList<QPoint> pen = penFootprint(penSize);
    const int m = centre.x(), n = centre.y();
    const qint64 ddx0 = rim.x() - m, ddy0 = rim.y() - n;
    const int r = int(std::floor(std::sqrt(double(ddx0 * ddx0 + ddy0 * ddy0))));
    const QRect inside(QPoint(0, 0), design);
    // Rim cells outside the design are few; they go to the set's overflow.
    CellList rimList(inside);
    stamp(rimList, QPoint(m, n + r), pen);
    stamp(rimList, QPoint(m, n - r), pen);
    stamp(rimList, QPoint(m + r, n), pen);
    stamp(rimList, QPoint(m - r, n), pen);
    int f = 1 - r, ddx = 1, ddy = -2 * r, x = 0, y = r;
    while (x < y) {
        if (f >= 0) {
            ddy += 2;
            f += ddy;
            --y;
        }
        ddx += 2;
        f += ddx;
        ++x;
        const QPoint eight[] = {{m + x, n + y}, {m - x, n + y}, {m + x, n - y}, {m - x, n - y},
                                {m + y, n + x}, {m - y, n + x}, {m + y, n - x}, {m - y, n - x}};
        for (const QPoint& p : eight)
            stamp(rimList, p, pen);
    }

    // Only the cells inside the design stay; the fill sees the same set (outside cells are
    // never considered by it).
    CellList list(inside);
    for (const QPoint& p : rimList.cells())
        if (inside.contains(p))
            list.append(p);
    if (!filled || list.contains(centre))
        return list.take();
    QList<QPoint> stack{centre};
    while (!stack.isEmpty()) {
        const QPoint c = stack.takeLast();
        if (!inside.contains(c) || !list.append(c))
            continue;
        stack.append(QPoint(c.x() - 1, c.y()));
        stack.append(QPoint(c.x() + 1, c.y()));
        stack.append(QPoint(c.x(), c.y() - 1));
        stack.append(QPoint(c.x(), c.y() + 1));
    }
    return list.take();
}

QList<QPoint> clipped(const QList<QPoint>& cells, QSize design)
{
    const QRect inside(QPoint(0, 0), design);
    QList<QPoint> out;
    out.reserve(cells.size());
    for (const QPoint& p : cells)
        if (inside.contains(p))
            out.append(p);
    return out;
}

} // namespace Figures
