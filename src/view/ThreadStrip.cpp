// Thread strips: back stitches drawn as a picture of thread turned to the stitch's angle.
#include "ThreadStrip.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

ThreadLine ordered(QPoint a, QPoint b)
{
    ThreadLine t;
    t.from = a;
    t.to = b;
    if (b.x() < a.x())
        std::swap(t.from, t.to);
    return t;
}

// The angle of a run of (dx >= 0, dy) over its length `dist`; a stitch without length lies
// flat (its angle would otherwise be 0 / 0).
double angleOf(double dy, double dist)
{
    if (dist <= 0)
        return 0;
    return std::asin(std::clamp(dy / dist, -1.0, 1.0)) * 180.0 / std::numbers::pi;
}

// Copies `src` into `dst` with its top-left at `at`, magenta pixels included; cut at the edges.
void copyInto(QImage& dst, const QImage& src, const QRect& srcRect, QPoint at)
{
    const QRect target = QRect(at, srcRect.size()).intersected(dst.rect());
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const auto* from = reinterpret_cast<const TColor32*>(src.constScanLine(srcRect.y() + y - at.y()));
        auto* to = reinterpret_cast<TColor32*>(dst.scanLine(y));
        for (int x = target.left(); x <= target.right(); ++x)
            to[x] = from[srcRect.x() + x - at.x()];
    }
}

} // namespace

ThreadLine threadLengthAndAngle(QPoint a, QPoint b)
{
    ThreadLine t = ordered(a, b);
    const double dx = t.to.x() - t.from.x(), dy = t.to.y() - t.from.y();
    const double dist = std::sqrt(dx * dx + dy * dy);
    t.length = dist / 2;
    // arcsin((dy / 2) / e) with e = dist / 2
    t.angle = angleOf(dy, dist);
    return t;
}

ThreadLine threadLineFromPixels(QPoint a, QPoint b, int cellWidth)
{
    ThreadLine t = ordered(a, b);
    const double dx = t.to.x() - t.from.x(), dy = t.to.y() - t.from.y();
    const double dist = std::sqrt(dx * dx + dy * dy);
    t.length = cellWidth > 0 ? dist / cellWidth : 0;
    t.angle = angleOf(dy, dist);
    return t;
}

QImage buildThreadStrip(const StitchTextures& textures, double length, QSize cell)
{
    const int w = cell.width(), h = cell.height();
    const int width = int(std::floor(w * length));
    if (w <= 0 || h <= 0 || width <= 0)
        return QImage();
    const QImage end = scaledTexture(textures.picture(txBack), cell);
    const QImage middle = scaledTexture(textures.picture(txBackM), cell);
    QImage strip(width, h, QImage::Format_ARGB32);
    strip.fill(kTextureMagenta);

    // Middle pieces side by side from the first quarter cell on; what is beyond the strip is cut.
    const int q = w / 4;
    const int copies = Rnd(length) + 1;
    for (int i = 0; i < copies; ++i)
        copyInto(strip, middle, middle.rect(), QPoint(q + i * w, 0));
    const int filled = q + copies * w;
    if (filled < width - q)
        copyInto(strip, middle, QRect(0, 0, width - q - filled, h), QPoint(filled, 0));

    // The ends: the end picture's first quarter at the start, the rest squeezed into the last.
    if (q > 0) {
        copyInto(strip, end, QRect(0, 0, q, h), QPoint(0, 0));
        scaleTextureInto(end, QRect(q, 0, w - q, h), strip, QRect(width - q, 0, q, h));
    }
    return strip;
}

TRotateRec turnThreadStrip(const QImage& strip, double angle)
{
    TRotateRec rec;
    const int sw = strip.width(), h = strip.height();
    const int s = std::max(sw, h);
    if (s <= 0)
        return rec;
    QImage canvas(s, s, QImage::Format_ARGB32);
    canvas.fill(kTextureMagenta);
    const int ox = (s - sw) / 2, oy = (s - h) / 2;
    if (sw > 0 && h > 0)
        copyInto(canvas, strip.convertToFormat(QImage::Format_ARGB32), strip.rect(), QPoint(ox, oy));
    const QPoint start(ox, s / 2);
    const QPoint finish(ox + std::max(sw, 1) - 1, s / 2);

    QImage turned(s, s, QImage::Format_ARGB32);
    const int c = s / 2;
    const double theta = -angle * std::numbers::pi / 180.0;
    const double cs = std::cos(theta), sn = std::sin(theta);
    bool haveStart = false, haveEnd = false;
    for (int y = 0; y < s; ++y) {
        auto* line = reinterpret_cast<TColor32*>(turned.scanLine(y));
        const int Y = 2 * y - 2 * c + 1;
        for (int x = 0; x < s; ++x) {
            const int X = 2 * x - 2 * c + 1;
            // In doubled coordinates, so that pixel centres turn about the canvas centre;
            // C++ division truncates toward zero.
            const int sx = (Rnd(X * cs - Y * sn) - 1) / 2 + c;
            const int sy = (Rnd(X * sn + Y * cs) - 1) / 2 + c;
            if (sx < 0 || sy < 0 || sx >= s || sy >= s) {
                line[x] = kTextureMagenta;
                continue;
            }
            line[x] = reinterpret_cast<const TColor32*>(canvas.constScanLine(sy))[sx];
            if (!haveStart && sx == start.x() && sy == start.y()) {
                rec.p1 = QPoint(x, y);
                haveStart = true;
            }
            if (!haveEnd && sx == finish.x() && sy == finish.y()) {
                rec.p2 = QPoint(x, y);
                haveEnd = true;
            }
        }
    }
    rec.imagerotated = turned;
    return rec;
}

TRotateRec buildTurnedStrip(const StitchTextures& textures, double length, double angle, QSize cell)
{
    return turnThreadStrip(buildThreadStrip(textures, length, cell), angle);
}

// --- cache ---------------------------------------------------------------------------------

ThreadStripCache::ThreadStripCache(const StitchTextures& textures, QSize cell)
    : m_textures(textures), m_cell(cell)
{
}

void ThreadStripCache::setCellSize(QSize cell)
{
    if (cell != m_cell)
        m_strips.clear();
    m_cell = cell;
}

bool ThreadStripCache::contains(const ThreadLine& line, ColorKey color) const
{
    return m_strips.count(TBackRec{line.length, line.angle, color}) > 0;
}

const TRotateRec& ThreadStripCache::strip(const ThreadLine& line, ColorKey color)
{
    const TBackRec key{line.length, line.angle, color};
    auto it = m_strips.find(key);
    if (it == m_strips.end()) {
        TRotateRec rec = buildTurnedStrip(m_textures, line.length, line.angle, m_cell);
        rec.imagerotated = tintedWith(rec.imagerotated, color);
        ++m_builds;
        it = m_strips.emplace(key, std::move(rec)).first;
    }
    return it->second;
}

void ThreadStripCache::draw(QImage& dst, const ThreadLine& line, ColorKey color, QPoint start)
{
    const TRotateRec& rec = strip(line, color);
    if (!rec.imagerotated.isNull())
        drawTransparent(dst, rec.imagerotated, start - rec.p1);
}
