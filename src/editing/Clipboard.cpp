#include "Clipboard.h"

#include "core/PatternDocument.h"

#include <functional>

namespace {

using PointMap = std::function<QPoint(QPoint)>;

void mapPoints(TClipboard& clip, const PointMap& f)
{
    for (TBackStitch& b : clip.ClipBackStitches) {
        b.FromPoint = f(b.FromPoint);
        b.ToPoint = f(b.ToPoint);
    }
    for (auto& r : clip.ClipRhodes)
        for (TBackStitch& s : r->stitches) {
            s.FromPoint = f(s.FromPoint);
            s.ToPoint = f(s.ToPoint);
        }
    for (TFrenchKnot& k : clip.ClipFrenchKnots)
        k.Center = f(k.Center);
}

// The raster turned a quarter turn: clockwise, dst(x, y) = src(y, h - 1 - x); counter-clockwise,
// dst(x, y) = src(w - 1 - y, x).
QImage turned(const QImage& src, bool clockwise)
{
    const int w = src.width(), h = src.height();
    QImage dst(h, w, QImage::Format_ARGB32);
    for (int y = 0; y < w; ++y) {
        auto* out = reinterpret_cast<TColor32*>(dst.scanLine(y));
        for (int x = 0; x < h; ++x) {
            const int sx = clockwise ? y : w - 1 - y;
            const int sy = clockwise ? h - 1 - x : x;
            out[x] = reinterpret_cast<const TColor32*>(src.constScanLine(sy))[sx];
        }
    }
    return dst;
}

bool inRange(QPoint p, const QRect& grid)
{
    return p.x() >= grid.left() && p.x() <= grid.right() && p.y() >= grid.top()
        && p.y() <= grid.bottom();
}

} // namespace

namespace Clipboard {

TClipboard copy(const PatternDocument& doc, const QRect& selection, bool withBackStitches)
{
    TClipboard clip;
    const TColor32 bg = doc.stitch().BackGroundColor;
    clip.background = bg;
    const QSize size(qMax(0, selection.width()), qMax(0, selection.height()));
    clip.ClipCross = QImage(size, QImage::Format_ARGB32);
    clip.ClipQuarter = QImage(size * 2, QImage::Format_ARGB32);
    clip.ClipCross.fill(bg);
    clip.ClipQuarter.fill(bg);
    const QRect source = selection & QRect(0, 0, doc.width(), doc.height());
    const QPoint origin = selection.topLeft();
    for (int y = source.top(); y <= source.bottom(); ++y) {
        const auto* in = reinterpret_cast<const TColor32*>(doc.CrossCells.constScanLine(y));
        auto* out = reinterpret_cast<TColor32*>(clip.ClipCross.scanLine(y - origin.y()));
        for (int x = source.left(); x <= source.right(); ++x)
            out[x - origin.x()] = in[x];
    }
    for (int qy = 2 * source.top(); qy < 2 * (source.bottom() + 1); ++qy) {
        const auto* in = reinterpret_cast<const TColor32*>(doc.QuarterCells.constScanLine(qy));
        auto* out = reinterpret_cast<TColor32*>(clip.ClipQuarter.scanLine(qy - 2 * origin.y()));
        for (int qx = 2 * source.left(); qx < 2 * (source.right() + 1); ++qx)
            out[qx - 2 * origin.x()] = in[qx];
    }
    if (source.isEmpty())
        return clip;

    // Grid points of the clipped rectangle, edges included.
    const QRect grid(QPoint(2 * source.left(), 2 * source.top()),
                     QPoint(2 * (source.right() + 1), 2 * (source.bottom() + 1)));
    const QPoint shift = -2 * origin;
    for (const TFrenchKnot& k : doc.DesignFrenchKnots)
        if (inRange(k.Center, grid)) {
            TFrenchKnot c = k;
            c.Center += shift;
            clip.ClipFrenchKnots.append(c);
        }
    if (!withBackStitches)
        return clip;
    for (const TBackStitch& b : doc.DesignBackStitches)
        if (inRange(b.FromPoint, grid) && inRange(b.ToPoint, grid)) {
            TBackStitch c = b;
            c.FromPoint += shift;
            c.ToPoint += shift;
            clip.ClipBackStitches.append(c);
        }
    for (const auto& r : doc.DesignRhodes) {
        bool inside = true;
        for (const TBackStitch& s : r->stitches)
            inside = inside && inRange(s.FromPoint, grid) && inRange(s.ToPoint, grid);
        if (!inside)
            continue;
        auto c = r->Clone();
        for (TBackStitch& s : c->stitches) {
            s.FromPoint += shift;
            s.ToPoint += shift;
        }
        clip.ClipRhodes.push_back(std::move(c));
    }
    return clip;
}

void mirrorHorizontal(TClipboard& clip)
{
    const int w2 = 2 * clip.size().width();
    clip.ClipCross = clip.ClipCross.mirrored(true, false);
    clip.ClipQuarter = clip.ClipQuarter.mirrored(true, false);
    mapPoints(clip, [w2](QPoint p) { return QPoint(w2 - p.x(), p.y()); });
}

void mirrorVertical(TClipboard& clip)
{
    const int h2 = 2 * clip.size().height();
    clip.ClipCross = clip.ClipCross.mirrored(false, true);
    clip.ClipQuarter = clip.ClipQuarter.mirrored(false, true);
    mapPoints(clip, [h2](QPoint p) { return QPoint(p.x(), h2 - p.y()); });
}

void rotateRight(TClipboard& clip)
{
    const int h2 = 2 * clip.size().height();
    clip.ClipCross = turned(clip.ClipCross, true);
    clip.ClipQuarter = turned(clip.ClipQuarter, true);
    mapPoints(clip, [h2](QPoint p) { return QPoint(h2 - p.y(), p.x()); });
    for (auto& r : clip.ClipRhodes)
        std::swap(r->width, r->height);
}

void rotateLeft(TClipboard& clip)
{
    const int w2 = 2 * clip.size().width();
    clip.ClipCross = turned(clip.ClipCross, false);
    clip.ClipQuarter = turned(clip.ClipQuarter, false);
    mapPoints(clip, [w2](QPoint p) { return QPoint(p.y(), w2 - p.x()); });
    for (auto& r : clip.ClipRhodes)
        std::swap(r->width, r->height);
}

} // namespace Clipboard
