#include "Outline.h"

#include "Borders.h"

#include <QHash>
#include <deque>

namespace Outline {

QList<TBackStitch> stitches(const QImage& image, QPoint start, ColorKey color)
{
    QList<TBackStitch> sides;
    auto add = [&](int x0, int y0, int x1, int y1) {
        TBackStitch b;
        b.FromPoint = QPoint(x0, y0);
        b.ToPoint = QPoint(x1, y1);
        b.Color = color;
        sides.append(b);
    };
    for (const Borders::EdgeCell& e : Borders::region4Edges(image, start)) {
        const int x = e.cell.x(), y = e.cell.y();
        if (e.sides & 1)
            add(2 * x, 2 * y, 2 * x, 2 * y + 2);
        if (e.sides & 2)
            add(2 * x + 2, 2 * y + 2, 2 * x + 2, 2 * y);
        if (e.sides & 4)
            add(2 * x + 2, 2 * y, 2 * x, 2 * y);
        if (e.sides & 8)
            add(2 * x, 2 * y + 2, 2 * x + 2, 2 * y + 2);
    }
    return joined(chained(sides));
}

QList<TBackStitch> chained(const QList<TBackStitch>& sides)
{
    // Moving the first later stitch that starts at the current end to the next place keeps the
    // others in their order, so the chain is: after each stitch the earliest unplaced one that
    // starts at its end, or else the earliest unplaced one. Each start point keeps the queue of
    // its unplaced stitches in order.
    const int n = int(sides.size());
    QHash<QPoint, std::deque<int>> byStart;
    for (int i = 0; i < n; ++i)
        byStart[sides[i].FromPoint].push_back(i);
    std::vector<char> placed(size_t(n), 0);
    QList<TBackStitch> out;
    out.reserve(n);
    int next = 0; // earliest stitch that may be unplaced
    auto place = [&](int i) {
        placed[size_t(i)] = 1;
        out.append(sides[i]);
    };
    while (int(out.size()) < n) {
        int pick = -1;
        if (!out.isEmpty()) {
            auto it = byStart.find(out.last().ToPoint);
            if (it != byStart.end()) {
                std::deque<int>& q = *it;
                while (!q.empty() && placed[size_t(q.front())])
                    q.pop_front();
                if (!q.empty())
                    pick = q.front();
            }
        }
        if (pick < 0) {
            while (placed[size_t(next)])
                ++next;
            pick = next;
        }
        place(pick);
    }
    return out;
}

QList<TBackStitch> joined(const QList<TBackStitch>& chain)
{
    // From the end backwards: a stitch that ends where the next one starts, on one line with
    // it, takes the next one's end and the next one goes.
    std::vector<TBackStitch> reversed;
    reversed.reserve(size_t(chain.size()));
    for (int i = int(chain.size()) - 1; i >= 0; --i) {
        TBackStitch s = chain[i];
        if (!reversed.empty()) {
            const TBackStitch& after = reversed.back();
            if (s.ToPoint == after.FromPoint
                && (s.FromPoint.x() == after.ToPoint.x() || s.FromPoint.y() == after.ToPoint.y())) {
                s.ToPoint = after.ToPoint;
                reversed.pop_back();
            }
        }
        reversed.push_back(s);
    }
    return QList<TBackStitch>(reversed.rbegin(), reversed.rend());
}

} // namespace Outline
