#include "GhostOverlay.h"

#include "convert/PictureConversion.h"
#include "convert/Resampler.h"

#include <algorithm>
#include <cmath>

GhostPicture GhostOverlay::ghostFromAdjusted(const QImage& adjusted)
{
    GhostPicture ghost;
    const QSize size = conversionGhostSize(adjusted.size());
    if (size == adjusted.size()) {
        ghost.ghostPicture = adjusted.format() == QImage::Format_ARGB32
            ? adjusted
            : adjusted.convertToFormat(QImage::Format_ARGB32);
        ghost.resample = true;
        return ghost;
    }
    ghost.ghostPicture = resampled(adjusted, size);
    return ghost;
}

void GhostOverlay::setPicture(const QImage& picture, Scaling scaling)
{
    m_picture = picture.isNull() || picture.format() == QImage::Format_ARGB32
        ? picture
        : picture.convertToFormat(QImage::Format_ARGB32);
    m_scaling = scaling;
    m_stretched = QSize();
    m_hTaps.clear();
    m_vTaps.clear();
}

void GhostOverlay::setOpacity(int opacity)
{
    m_opacity = std::clamp(opacity, 0, 255);
}

TColor32 GhostOverlay::blend(TColor32 below, TColor32 ghost, int opacity, TColor32 background)
{
    // The background value carries no alpha of its own (the cell rasters keep it at 0), so the
    // colour decides: opaque white over a white background leaves the chart as it is.
    if ((ghost & 0x00FFFFFFu) == (background & 0x00FFFFFFu))
        return below;
    const quint32 w = (ghost >> 24) * quint32(std::clamp(opacity, 0, 255)) / 255u; // 0..255
    if (w == 0)
        return below;
    auto mix = [w](quint32 b, quint32 f) { return (b * (255u - w) + f * w + 127u) / 255u; };
    const quint32 r = mix((below >> 16) & 0xFF, (ghost >> 16) & 0xFF);
    const quint32 g = mix((below >> 8) & 0xFF, (ghost >> 8) & 0xFF);
    const quint32 b = mix(below & 0xFF, ghost & 0xFF);
    return (below & 0xFF000000u) | (r << 16) | (g << 8) | b;
}

void GhostOverlay::prepare(const ChartGeometry& g)
{
    const QSize stretched(g.design.width() * g.cw(), g.design.height() * g.ch());
    if (stretched == m_stretched && !m_hTaps.empty())
        return;
    m_stretched = stretched;
    m_hTaps.clear();
    m_vTaps.clear();
    if (m_scaling != Scaling::Resample)
        return;
    auto side = [](int srcLen, int dstLen) {
        std::vector<Taps> out;
        const auto taps = resampleTaps(0, srcLen, dstLen);
        out.reserve(taps.size());
        for (const auto& t : taps) {
            // Positions beyond the picture's edge take the edge pixel: fold their weights in.
            Taps c;
            c.first = std::clamp(t.first, 0, srcLen - 1);
            const int last = std::clamp(t.first + int(t.weights.size()) - 1, 0, srcLen - 1);
            c.weights.assign(size_t(last - c.first + 1), 0);
            for (size_t k = 0; k < t.weights.size(); ++k) {
                const int at = std::clamp(t.first + int(k), 0, srcLen - 1);
                c.weights[size_t(at - c.first)] += t.weights[k];
            }
            out.push_back(std::move(c));
        }
        return out;
    };
    m_hTaps = side(m_picture.width(), stretched.width());
    m_vTaps = side(m_picture.height(), stretched.height());
}

namespace {

inline int roundChannel(int v)
{
    v = (v + 128) >> 8;
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

struct Sum
{
    int a = 0, r = 0, g = 0, b = 0;
    void add(quint32 p, int w)
    {
        a += w * int(p >> 24);
        r += w * int((p >> 16) & 0xFF);
        g += w * int((p >> 8) & 0xFF);
        b += w * int(p & 0xFF);
    }
    quint32 pixel() const
    {
        return (quint32(roundChannel(a)) << 24) | (quint32(roundChannel(r)) << 16)
            | (quint32(roundChannel(g)) << 8) | quint32(roundChannel(b));
    }
};

} // namespace

quint32 GhostOverlay::rowPixel(const quint32* row, const Taps& t) const
{
    Sum s;
    for (size_t k = 0; k < t.weights.size(); ++k)
        s.add(row[size_t(t.first) + k], t.weights[k]);
    return s.pixel();
}

void GhostOverlay::paint(QImage& target, const QRect& clip, const ChartGeometry& g)
{
    if (m_picture.isNull() || target.depth() != 32 || g.cw() <= 0 || g.ch() <= 0)
        return;
    const QRect area = clip.intersected(g.designArea()).intersected(target.rect());
    if (area.isEmpty())
        return;
    prepare(g);
    // Stretched-picture coordinates of the area's top-left view pixel.
    const qint64 ox = qint64(g.scroll.x()) * g.cw(), oy = qint64(g.scroll.y()) * g.ch();
    const qint64 sw = m_stretched.width(), sh = m_stretched.height();
    const qint64 pw = m_picture.width(), ph = m_picture.height();
    const int cols = area.width();

    if (m_scaling == Scaling::Nearest) {
        std::vector<int> srcX(static_cast<size_t>(cols));
        for (int i = 0; i < cols; ++i)
            srcX[size_t(i)] = int(std::min(pw - 1, (ox + area.left() + i) * pw / sw));
        for (int y = area.top(); y <= area.bottom(); ++y) {
            const int sy = int(std::min(ph - 1, (oy + y) * ph / sh));
            const quint32* in = reinterpret_cast<const quint32*>(m_picture.constScanLine(sy));
            quint32* out = reinterpret_cast<quint32*>(target.scanLine(y)) + area.left();
            for (int i = 0; i < cols; ++i)
                out[i] = blend(out[i], in[srcX[size_t(i)]], m_opacity, m_background);
        }
        return;
    }

    // Rows first, only for the area's columns and the source rows its pixels read; then
    // columns. The same weights and roundings as stretching the whole picture at once.
    const size_t x0 = size_t(ox + area.left()), y0 = size_t(oy + area.top());
    int rowLo = int(ph), rowHi = -1;
    for (int y = 0; y < area.height(); ++y) {
        const Taps& t = m_vTaps[y0 + size_t(y)];
        rowLo = std::min(rowLo, t.first);
        rowHi = std::max(rowHi, t.first + int(t.weights.size()) - 1);
    }
    const int rows = rowHi - rowLo + 1;
    std::vector<quint32> mid(size_t(rows) * size_t(cols));
    for (int r = 0; r < rows; ++r) {
        const quint32* in = reinterpret_cast<const quint32*>(m_picture.constScanLine(rowLo + r));
        quint32* out = mid.data() + size_t(r) * size_t(cols);
        for (int i = 0; i < cols; ++i)
            out[i] = rowPixel(in, m_hTaps[x0 + size_t(i)]);
    }
    for (int y = 0; y < area.height(); ++y) {
        const Taps& t = m_vTaps[y0 + size_t(y)];
        quint32* out = reinterpret_cast<quint32*>(target.scanLine(area.top() + y)) + area.left();
        for (int i = 0; i < cols; ++i) {
            Sum s;
            for (size_t k = 0; k < t.weights.size(); ++k)
                s.add(mid[size_t(t.first - rowLo + int(k)) * size_t(cols) + size_t(i)], t.weights[k]);
            out[i] = blend(out[i], s.pixel(), m_opacity, m_background);
        }
    }
}
