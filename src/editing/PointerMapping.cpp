#include "PointerMapping.h"

namespace {
enum : int { kInside = 0, kLeft = 1, kRight = 2, kBottom = 4, kTop = 8 };

int outCode(QPointF p, QPointF lo, QPointF hi)
{
    int code = kInside;
    if (p.x() < lo.x())
        code |= kLeft;
    else if (p.x() > hi.x())
        code |= kRight;
    if (p.y() < lo.y())
        code |= kTop;
    else if (p.y() > hi.y())
        code |= kBottom;
    return code;
}
} // namespace

// Cohen-Sutherland clipping: the segment meets the rectangle when some part survives.
bool segmentMeetsRect(QPointF a, QPointF b, QPointF lo, QPointF hi)
{
    int ca = outCode(a, lo, hi), cb = outCode(b, lo, hi);
    for (int guard = 0; guard < 8; ++guard) {
        if ((ca | cb) == 0)
            return true;
        if ((ca & cb) != 0)
            return false;
        const int out = ca ? ca : cb;
        QPointF p;
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        if (out & kBottom)
            p = {a.x() + dx * (hi.y() - a.y()) / dy, hi.y()};
        else if (out & kTop)
            p = {a.x() + dx * (lo.y() - a.y()) / dy, lo.y()};
        else if (out & kRight)
            p = {hi.x(), a.y() + dy * (hi.x() - a.x()) / dx};
        else
            p = {lo.x(), a.y() + dy * (lo.x() - a.x()) / dx};
        if (out == ca) {
            a = p;
            ca = outCode(a, lo, hi);
        } else {
            b = p;
            cb = outCode(b, lo, hi);
        }
    }
    return (ca | cb) == 0;
}
