#include "Resampler.h"

#include "core/ColorTypes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double hammingSincKernel(double x)
{
    const double ax = std::abs(x);
    if (ax >= 3.0)
        return 0.0;
    const double pi = std::numbers::pi;
    const double sinc = ax == 0.0 ? 1.0 : std::sin(pi * x) / (pi * x);
    return sinc * (0.54 + 0.46 * std::cos(pi * x / 3.0));
}

std::vector<ResampleTaps> resampleTaps(int srcStart, int srcLen, int dstLen)
{
    std::vector<ResampleTaps> out(size_t(std::max(dstLen, 0)));
    if (srcLen <= 0 || dstLen <= 0)
        return out;
    const double scale = double(dstLen) / double(srcLen);
    const double stretch = scale < 1.0 ? scale : 1.0; // kernel argument and value factor
    const double support = 3.0 / stretch;
    for (int i = 0; i < dstLen; ++i) {
        const double centre = srcStart + (i + 0.5) / scale - 0.5;
        const int lo = int(std::floor(centre - support));
        const int hi = int(std::ceil(centre + support));
        ResampleTaps& t = out[size_t(i)];
        t.first = lo;
        t.weights.resize(size_t(hi - lo + 1));
        int sum = 0, largest = 0;
        for (int j = lo; j <= hi; ++j) {
            const int w = Rnd(hammingSincKernel((j - centre) * stretch) * stretch * 256.0);
            t.weights[size_t(j - lo)] = w;
            sum += w;
            if (w > t.weights[size_t(largest)])
                largest = j - lo;
        }
        t.weights[size_t(largest)] += 256 - sum;
        // Trim zero weights at both ends.
        size_t a = 0, b = t.weights.size();
        while (a + 1 < b && t.weights[a] == 0)
            ++a;
        while (b > a + 1 && t.weights[b - 1] == 0)
            --b;
        t.first += int(a);
        t.weights = std::vector<int>(t.weights.begin() + long(a), t.weights.begin() + long(b));
    }
    return out;
}

namespace {

inline quint32 clampByte(int v)
{
    v = (v + 128) >> 8;
    return quint32(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// One output pixel from taps over 32-bit pixels at stride `step` (in pixels).
inline quint32 applyTaps(const quint32* base, const ResampleTaps& t, const int* clampIndex,
                         size_t step)
{
    int a = 0, r = 0, g = 0, b = 0;
    const int n = int(t.weights.size());
    for (int k = 0; k < n; ++k) {
        const int w = t.weights[size_t(k)];
        const quint32 p = base[size_t(clampIndex[k]) * step];
        a += w * int(p >> 24);
        r += w * int((p >> 16) & 0xFF);
        g += w * int((p >> 8) & 0xFF);
        b += w * int(p & 0xFF);
    }
    return (clampByte(a) << 24) | (clampByte(r) << 16) | (clampByte(g) << 8) | clampByte(b);
}

// Source indexes of the taps, clamped to the picture.
std::vector<std::vector<int>> clampedIndexes(const std::vector<ResampleTaps>& taps, int limit)
{
    std::vector<std::vector<int>> out(taps.size());
    for (size_t i = 0; i < taps.size(); ++i) {
        out[i].resize(taps[i].weights.size());
        for (size_t k = 0; k < out[i].size(); ++k)
            out[i][k] = std::clamp(taps[i].first + int(k), 0, limit - 1);
    }
    return out;
}

} // namespace

void ResampleDraw(const QImage& srcImage, QImage& dst, const QRect& srcRect, const QRect& dstRect)
{
    if (srcRect.isEmpty() || dstRect.isEmpty() || srcImage.isNull() || dst.isNull())
        return;
    const QImage src = srcImage.depth() == 32 ? srcImage : srcImage.convertToFormat(QImage::Format_ARGB32);
    if (dst.depth() != 32)
        dst = dst.convertToFormat(QImage::Format_ARGB32);
    const QRect target = dstRect.intersected(dst.rect());

    if (srcRect.size() == dstRect.size()) {
        for (int y = target.top(); y <= target.bottom(); ++y) {
            const int sy = std::clamp(srcRect.top() + (y - dstRect.top()), 0, src.height() - 1);
            const quint32* in = reinterpret_cast<const quint32*>(src.constScanLine(sy));
            quint32* out = reinterpret_cast<quint32*>(dst.scanLine(y));
            for (int x = target.left(); x <= target.right(); ++x)
                out[x] = in[std::clamp(srcRect.left() + (x - dstRect.left()), 0, src.width() - 1)];
        }
        return;
    }

    const auto hTaps = resampleTaps(srcRect.left(), srcRect.width(), dstRect.width());
    const auto vTaps = resampleTaps(srcRect.top(), srcRect.height(), dstRect.height());
    const auto hIndex = clampedIndexes(hTaps, src.width());
    const auto vIndex = clampedIndexes(vTaps, src.height());

    // Rows first: only the source rows some output row reads.
    int rowLo = src.height(), rowHi = -1;
    for (const auto& idx : vIndex) {
        rowLo = std::min(rowLo, idx.front());
        rowHi = std::max(rowHi, idx.back());
    }
    const int w = dstRect.width();
    const int rows = rowHi - rowLo + 1;
    std::vector<quint32> mid(size_t(w) * size_t(rows));
    for (int y = 0; y < rows; ++y) {
        const quint32* in = reinterpret_cast<const quint32*>(src.constScanLine(rowLo + y));
        quint32* out = mid.data() + size_t(y) * size_t(w);
        for (int x = 0; x < w; ++x)
            out[x] = applyTaps(in, hTaps[size_t(x)], hIndex[size_t(x)].data(), 1);
    }

    // Then columns.
    std::vector<int> rel;
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const int i = y - dstRect.top();
        const auto& idx = vIndex[size_t(i)];
        rel.resize(idx.size());
        for (size_t k = 0; k < idx.size(); ++k)
            rel[k] = idx[k] - rowLo;
        quint32* out = reinterpret_cast<quint32*>(dst.scanLine(y));
        for (int x = target.left(); x <= target.right(); ++x)
            out[x] = applyTaps(mid.data() + (x - dstRect.left()), vTaps[size_t(i)], rel.data(), size_t(w));
    }
}

QImage resampled(const QImage& src, const QSize& size)
{
    QImage dst(size, QImage::Format_ARGB32);
    dst.fill(0);
    ResampleDraw(src, dst, src.rect(), dst.rect());
    return dst;
}
