#include "Figures.h"

#include "CellBits.h"

#include <cmath>
#include <vector>

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
    const int w = qMax(0, design.width()), h = qMax(0, design.height());
    QList<QPoint> list;
    if (w == 0 || h == 0)
        return list;
    // The listed cells of the design, one bit each. Stamped cells outside the design are
    // dropped at once: the figure keeps only the inside ones, in the order first stamped.
    CellBits listed(w, h);
    auto stampInside = [&](QPoint p) {
        for (const QPoint& d : pen) {
            const QPoint c = p + d;
            if (uint(c.x()) < uint(w) && uint(c.y()) < uint(h) && listed.insert(c.x(), c.y()))
                list.append(c);
        }
    };
    stampInside(QPoint(m, n + r));
    stampInside(QPoint(m, n - r));
    stampInside(QPoint(m + r, n));
    stampInside(QPoint(m - r, n));
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
            stampInside(p);
    }
    if (!filled || uint(m) >= uint(w) || uint(n) >= uint(h) || listed.contains(m, n))
        return list;

    // The inside is about the circle's area: room for it at once, not a copy per doubling.
    const double area = 3.1416 * (double(r) + 2) * (double(r) + 2);
    list.reserve(qsizetype(qMin(double(qint64(w) * h), area)) + list.size());
    // The flood from the centre with an explicit stack, its neighbours pushed left, right, up,
    // down. A neighbour that is outside or listed when it would be pushed is left out: it
    // would be skipped when popped anyway (a listed cell stays listed), so the cells come in
    // exactly the order of the plain fill that pushes all four, with far fewer pushes.
    std::vector<QPoint> stack{QPoint(m, n)};
    while (!stack.empty()) {
        const QPoint c = stack.back();
        stack.pop_back();
        if (!listed.insert(c.x(), c.y()))
            continue;
        list.append(c);
        const int cx = c.x(), cy = c.y();
        if (cx > 0 && !listed.contains(cx - 1, cy))
            stack.push_back(QPoint(cx - 1, cy));
        if (cx + 1 < w && !listed.contains(cx + 1, cy))
            stack.push_back(QPoint(cx + 1, cy));
        if (cy > 0 && !listed.contains(cx, cy - 1))
            stack.push_back(QPoint(cx, cy - 1));
        if (cy + 1 < h && !listed.contains(cx, cy + 1))
            stack.push_back(QPoint(cx, cy + 1));
    }
    return list;
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
