#include "Resampler.h"

#include "core/ColorTypes.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <memory>
#include <numbers>
#include <thread>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h> // SSE2 always; AVX2 only in functions built for it, chosen at run time
#elif defined(__SSE2__)
#include <emmintrin.h>
#endif

double hammingSincKernel(double x)
{
    const double ax = std::abs(x);
    if (ax >= 3.0)
        return 0.0;
    const double pi = std::numbers::pi;
    const double sinc = ax == 0.0 ? 1.0 : std::sin(pi * x) / (pi * x);
    return sinc * (0.54 + 0.46 * std::cos(pi * x / 3.0));
}

#if defined(__x86_64__) && defined(__GNUC__)
__attribute__((target("avx"))) static void zeroUpperHalves()
{
    _mm256_zeroupper();
}
#endif

void clearUpperVectorState()
{
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx)
        zeroUpperHalves();
#endif
}

std::vector<ResampleTaps> resampleTaps(int srcStart, int srcLen, int dstLen)
{
    std::vector<ResampleTaps> out(size_t(std::max(dstLen, 0)));
    if (srcLen <= 0 || dstLen <= 0)
        return out;
    const double scale = double(dstLen) / double(srcLen);
    const double stretch = scale < 1.0 ? scale : 1.0; // kernel argument and value factor
    const double support = 3.0 / stretch;
    // Each output pixel's taps are its own, so the outputs split over the cores.
    const int perPixel = int(2.0 * support) + 2;
    parallelRanges(dstLen, std::max(1, 20000 / perPixel), [&](int begin, int end) {
        clearUpperVectorState();
        for (int i = begin; i < end; ++i) {
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
    });
    return out;
}

ResampleAxis ResampleAxis::make(int srcStart, int srcLen, int dstLen, int limit)
{
    ResampleAxis axis;
    const std::vector<ResampleTaps> taps = resampleTaps(srcStart, srcLen, dstLen);
    if (taps.empty() || limit <= 0)
        return axis;
    // Folded onto the picture, each output's taps span at most the picture's side.
    int count = 1;
    for (const ResampleTaps& t : taps) {
        const int lo = std::clamp(t.first, 0, limit - 1);
        const int hi = std::clamp(t.first + int(t.weights.size()) - 1, 0, limit - 1);
        count = std::max(count, hi - lo + 1);
    }
    // A multiple of four where the picture allows: the row pass reads four pixels at a time.
    count = std::min((count + 3) / 4 * 4, limit);
    axis.count = count;
    axis.first.resize(taps.size());
    axis.weights.assign(taps.size() * size_t(count), 0);
    const int pairCount = (count + 1) / 2;
    axis.pairs.assign(taps.size() * size_t(pairCount), 0);
    for (size_t i = 0; i < taps.size(); ++i) {
        const ResampleTaps& t = taps[i];
        const int lo = std::clamp(t.first, 0, limit - 1);
        const int first = std::min(lo, limit - count);
        axis.first[i] = first;
        std::int16_t* w = axis.weights.data() + i * size_t(count);
        for (size_t k = 0; k < t.weights.size(); ++k) {
            const int pos = std::clamp(t.first + int(k), 0, limit - 1);
            w[pos - first] = std::int16_t(w[pos - first] + t.weights[k]);
        }
        std::int32_t* pr = axis.pairs.data() + i * size_t(pairCount);
        for (int k = 0; k < count; k += 2) {
            const quint32 a = quint16(w[k]);
            const quint32 b = k + 1 < count ? quint16(w[k + 1]) : 0u;
            pr[k / 2] = std::int32_t(a | (b << 16));
        }
    }
    return axis;
}

namespace {

inline quint32 clampByte(int v)
{
    v = (v + 128) >> 8;
    return quint32(v < 0 ? 0 : (v > 255 ? 255 : v));
}

inline quint32 packChannels(int a, int r, int g, int b)
{
    return (clampByte(a) << 24) | (clampByte(r) << 16) | (clampByte(g) << 8) | clampByte(b);
}

#if defined(__SSE2__)
// Four int32 channel sums, rounded, shifted and clamped to bytes, as one 32-bit pixel.
inline quint32 packSums(__m128i sums)
{
    const __m128i v = _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(128)), 8);
    const __m128i w = _mm_packs_epi32(v, v);
    return quint32(_mm_cvtsi128_si32(_mm_packus_epi16(w, w)));
}
// Two pixels' channels (8 bytes) as 16-bit pairs (c0 of both, c1 of both ...), ready to be
// multiplied with a weight pair.
inline __m128i pairUp(__m128i twoPixels16)
{
    return _mm_unpacklo_epi16(twoPixels16, _mm_srli_si128(twoPixels16, 8));
}
#endif

} // namespace

namespace {

// Output pixels [begin, end): taps four by four in SSE2 (or one by one without it).
void rowPassBasic(const quint32* in, quint32* out, const ResampleAxis& axis, int begin, int end)
{
    const int count = axis.count;
    for (int i = begin; i < end; ++i) {
        const quint32* p = in + axis.first[size_t(i)];
#if defined(__SSE2__)
        const std::int32_t* pr = axis.pairsOf(i);
        const __m128i zero = _mm_setzero_si128();
        __m128i acc0 = zero, acc1 = zero;
        int k = 0;
        for (; k + 4 <= count; k += 4) {
            const __m128i px = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + k));
            acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(pairUp(_mm_unpacklo_epi8(px, zero)),
                                                      _mm_set1_epi32(pr[k / 2])));
            acc1 = _mm_add_epi32(acc1, _mm_madd_epi16(pairUp(_mm_unpackhi_epi8(px, zero)),
                                                      _mm_set1_epi32(pr[k / 2 + 1])));
        }
        if (k + 2 <= count) {
            const __m128i px = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + k));
            acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(pairUp(_mm_unpacklo_epi8(px, zero)),
                                                      _mm_set1_epi32(pr[k / 2])));
            k += 2;
        }
        if (k < count) {
            const __m128i px = _mm_cvtsi32_si128(int(p[k]));
            acc0 = _mm_add_epi32(acc0, _mm_madd_epi16(pairUp(_mm_unpacklo_epi8(px, zero)),
                                                      _mm_set1_epi32(pr[k / 2])));
        }
        out[i - begin] = packSums(_mm_add_epi32(acc0, acc1));
#else
        const std::int16_t* w = axis.weightsOf(i);
        int a = 0, r = 0, g = 0, b = 0;
        for (int k = 0; k < count; ++k) {
            const quint32 px = p[k];
            a += w[k] * int(px >> 24);
            r += w[k] * int((px >> 16) & 0xFF);
            g += w[k] * int((px >> 8) & 0xFF);
            b += w[k] * int(px & 0xFF);
        }
        out[i - begin] = packChannels(a, r, g, b);
#endif
    }
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same sums eight taps at a time with AVX2, for processors that have it; whole-number
// sums are the same in any order.
__attribute__((target("avx2"))) void rowPassAvx2(const quint32* in, quint32* out,
                                                 const ResampleAxis& axis, int begin, int end)
{
    const int count = axis.count;
    const __m256i zero = _mm256_setzero_si256();
    // Unpacking works within each 128-bit lane: lane 0 holds pixels 0-3 of the eight, lane 1
    // pixels 4-7; the low unpack gives pixels 0, 1 | 4, 5 and the high one 2, 3 | 6, 7.
    const __m256i loPairs = _mm256_setr_epi32(0, 0, 0, 0, 2, 2, 2, 2);
    const __m256i hiPairs = _mm256_setr_epi32(1, 1, 1, 1, 3, 3, 3, 3);
    for (int i = begin; i < end; ++i) {
        const quint32* p = in + axis.first[size_t(i)];
        const std::int32_t* pr = axis.pairsOf(i);
        __m256i acc0 = zero, acc1 = zero;
        int k = 0;
        for (; k + 8 <= count; k += 8) {
            const __m256i px = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + k));
            const __m256i w4 = _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(pr + k / 2)));
            const __m256i lo = _mm256_unpacklo_epi8(px, zero);
            const __m256i hi = _mm256_unpackhi_epi8(px, zero);
            acc0 = _mm256_add_epi32(acc0, _mm256_madd_epi16(_mm256_unpacklo_epi16(lo, _mm256_srli_si256(lo, 8)),
                                                            _mm256_permutevar8x32_epi32(w4, loPairs)));
            acc1 = _mm256_add_epi32(acc1, _mm256_madd_epi16(_mm256_unpacklo_epi16(hi, _mm256_srli_si256(hi, 8)),
                                                            _mm256_permutevar8x32_epi32(w4, hiPairs)));
        }
        const __m256i acc = _mm256_add_epi32(acc0, acc1);
        __m128i sums = _mm_add_epi32(_mm256_castsi256_si128(acc), _mm256_extracti128_si256(acc, 1));
        const __m128i z = _mm_setzero_si128();
        for (; k + 2 <= count; k += 2) {
            const __m128i two = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + k));
            sums = _mm_add_epi32(sums, _mm_madd_epi16(pairUp(_mm_unpacklo_epi8(two, z)), _mm_set1_epi32(pr[k / 2])));
        }
        if (k < count) {
            const __m128i one = _mm_cvtsi32_si128(int(p[k]));
            sums = _mm_add_epi32(sums, _mm_madd_epi16(pairUp(_mm_unpacklo_epi8(one, z)), _mm_set1_epi32(pr[k / 2])));
        }
        out[i - begin] = packSums(sums);
    }
}

bool haveAvx2()
{
    static const bool yes = __builtin_cpu_supports("avx2");
    return yes;
}
#endif

std::atomic<bool> wideAllowed{true};

} // namespace

void resampleAllowWideSimd(bool on)
{
    wideAllowed = on;
}

void resampleRowPass(const quint32* in, quint32* out, const ResampleAxis& axis, int begin, int end)
{
#if defined(__x86_64__) && defined(__GNUC__)
    if (wideAllowed.load(std::memory_order_relaxed) && haveAvx2()) {
        rowPassAvx2(in, out, axis, begin, end);
        return;
    }
#endif
    rowPassBasic(in, out, axis, begin, end);
}

void resampleColumnPass(const quint32* const* rows, const std::int16_t* weights, int count,
                        quint32* out, int width)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i half = _mm_set1_epi32(128);
    for (; x + 4 <= width; x += 4) {
        __m128i s0 = zero, s1 = zero, s2 = zero, s3 = zero;
        for (int k = 0; k < count; k += 2) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + x));
            const __m128i b = k + 1 < count
                ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k + 1] + x))
                : zero;
            const quint32 wb = k + 1 < count ? quint16(weights[k + 1]) : 0u;
            const __m128i wp = _mm_set1_epi32(int(quint16(weights[k]) | (wb << 16)));
            const __m128i lo = _mm_unpacklo_epi8(a, b);
            const __m128i hi = _mm_unpackhi_epi8(a, b);
            s0 = _mm_add_epi32(s0, _mm_madd_epi16(_mm_unpacklo_epi8(lo, zero), wp));
            s1 = _mm_add_epi32(s1, _mm_madd_epi16(_mm_unpackhi_epi8(lo, zero), wp));
            s2 = _mm_add_epi32(s2, _mm_madd_epi16(_mm_unpacklo_epi8(hi, zero), wp));
            s3 = _mm_add_epi32(s3, _mm_madd_epi16(_mm_unpackhi_epi8(hi, zero), wp));
        }
        s0 = _mm_srai_epi32(_mm_add_epi32(s0, half), 8);
        s1 = _mm_srai_epi32(_mm_add_epi32(s1, half), 8);
        s2 = _mm_srai_epi32(_mm_add_epi32(s2, half), 8);
        s3 = _mm_srai_epi32(_mm_add_epi32(s3, half), 8);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(s0, s1), _mm_packs_epi32(s2, s3));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), bytes);
    }
#endif
    for (; x < width; ++x) {
        int a = 0, r = 0, g = 0, b = 0;
        for (int k = 0; k < count; ++k) {
            const quint32 px = rows[k][x];
            const int w = weights[k];
            a += w * int(px >> 24);
            r += w * int((px >> 16) & 0xFF);
            g += w * int((px >> 8) & 0xFF);
            b += w * int(px & 0xFF);
        }
        out[x] = packChannels(a, r, g, b);
    }
}

void parallelRanges(int n, int minPerThread, const std::function<void(int, int)>& work)
{
    if (n <= 0)
        return;
    const int cores = int(std::clamp(std::thread::hardware_concurrency(), 1u, 4u));
    const int parts = std::clamp(n / std::max(minPerThread, 1), 1, cores);
    if (parts == 1) {
        work(0, n);
        return;
    }
    std::vector<std::thread> threads;
    threads.reserve(size_t(parts - 1));
    for (int p = 1; p < parts; ++p)
        threads.emplace_back([&work, n, parts, p] { work(int(qint64(n) * p / parts), int(qint64(n) * (p + 1) / parts)); });
    work(0, int(qint64(n) / parts));
    for (std::thread& t : threads)
        t.join();
}

namespace {

// Both pictures 32-bit, the destination area inside the destination; false when there is
// nothing to draw. Equal sizes are copied here.
bool prepareDraw(const QImage& srcImage, QImage& dst, const QRect& srcRect, const QRect& dstRect,
                 QImage& src, QRect& target)
{
    if (srcRect.isEmpty() || dstRect.isEmpty() || srcImage.isNull() || dst.isNull())
        return false;
    src = srcImage.depth() == 32 ? srcImage : srcImage.convertToFormat(QImage::Format_ARGB32);
    if (dst.depth() != 32)
        dst = dst.convertToFormat(QImage::Format_ARGB32);
    target = dstRect.intersected(dst.rect());
    if (srcRect.size() == dstRect.size()) {
        for (int y = target.top(); y <= target.bottom(); ++y) {
            const int sy = std::clamp(srcRect.top() + (y - dstRect.top()), 0, src.height() - 1);
            const quint32* in = reinterpret_cast<const quint32*>(src.constScanLine(sy));
            quint32* out = reinterpret_cast<quint32*>(dst.scanLine(y));
            for (int x = target.left(); x <= target.right(); ++x)
                out[x] = in[std::clamp(srcRect.left() + (x - dstRect.left()), 0, src.width() - 1)];
        }
        return false;
    }
    return !target.isEmpty();
}

} // namespace

void ResampleDraw(const QImage& srcImage, QImage& dst, const QRect& srcRect, const QRect& dstRect)
{
    QImage src;
    QRect target;
    if (!prepareDraw(srcImage, dst, srcRect, dstRect, src, target))
        return;

    const ResampleAxis h = ResampleAxis::make(srcRect.left(), srcRect.width(), dstRect.width(), src.width());
    const ResampleAxis v = ResampleAxis::make(srcRect.top(), srcRect.height(), dstRect.height(), src.height());
    // Only the output columns and rows of the target, and only the source rows they read.
    const int col0 = target.left() - dstRect.left(), cols = target.width();
    const int row0 = target.top() - dstRect.top(), rows = target.height();
    // (The first tap is not in step with the output row: an end weight rounded to zero is
    // left out, so look at every row.)
    int rowLo = v.first[size_t(row0)], rowHi = rowLo;
    for (int i = row0; i < row0 + rows; ++i) {
        rowLo = std::min(rowLo, v.first[size_t(i)]);
        rowHi = std::max(rowHi, v.first[size_t(i)]);
    }
    rowHi += v.count - 1;
    const int midRows = rowHi - rowLo + 1;
    // Every element is written by the row pass before the column pass reads it.
    std::unique_ptr<quint32[]> mid(new quint32[size_t(cols) * size_t(midRows)]);

    // Rows first: each source row is read by one thread and gives one row of `mid`.
    const int work = std::max(1, cols * h.count);
    parallelRanges(midRows, std::max(1, 200000 / work), [&](int begin, int end) {
        clearUpperVectorState();
        for (int y = begin; y < end; ++y)
            resampleRowPass(reinterpret_cast<const quint32*>(src.constScanLine(rowLo + y)),
                            mid.get() + size_t(y) * size_t(cols), h, col0, col0 + cols);
    });

    // Then columns, one output row per call. The destination's rows are found from its bits,
    // taken once here: scanLine() on a picture is not for several threads at once.
    uchar* const dstBits = dst.bits();
    const qsizetype dstStride = dst.bytesPerLine();
    const int columnWork = std::max(1, cols * v.count);
    parallelRanges(rows, std::max(1, 200000 / columnWork), [&](int begin, int end) {
        clearUpperVectorState();
        std::vector<const quint32*> in(size_t(v.count));
        for (int i = begin; i < end; ++i) {
            const int first = v.first[size_t(row0 + i)] - rowLo;
            for (int k = 0; k < v.count; ++k)
                in[size_t(k)] = mid.get() + size_t(first + k) * size_t(cols);
            resampleColumnPass(in.data(), v.weightsOf(row0 + i), v.count,
                               reinterpret_cast<quint32*>(dstBits + (target.top() + i) * dstStride) + target.left(), cols);
        }
    });
}

namespace {

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
    return packChannels(a, r, g, b);
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

void ResampleDrawPlain(const QImage& srcImage, QImage& dst, const QRect& srcRect, const QRect& dstRect)
{
    QImage src;
    QRect target;
    if (!prepareDraw(srcImage, dst, srcRect, dstRect, src, target))
        return;

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

StreamResampler::StreamResampler(QSize source, QSize size, bool inOrder)
    : m_source(source), m_size(size), m_copy(source == size), m_inOrder(inOrder && source != size)
{
    if (source.isEmpty() || size.isEmpty())
        return;
    if (!m_copy) {
        m_h = ResampleAxis::make(0, source.width(), size.width(), source.width());
        m_v = ResampleAxis::make(0, source.height(), size.height(), source.height());
    }
    int kept = source.height();
    if (m_inOrder) {
        // Output rows are made in order, each once every source row it reads is in; until then
        // its first source row must still be kept.
        m_ready.resize(size_t(size.height()));
        int ready = 0;
        kept = 1;
        for (int i = 0; i < size.height(); ++i) {
            ready = std::max(ready, m_v.first[size_t(i)] + m_v.count - 1);
            m_ready[size_t(i)] = ready;
            kept = std::max(kept, ready - m_v.first[size_t(i)] + 1);
        }
        m_ring = kept;
        m_out = QImage(size, QImage::Format_ARGB32);
        m_in.resize(size_t(m_v.count));
    }
    m_rows = QImage(size.width(), kept, QImage::Format_ARGB32);
    m_bits = m_rows.bits();
    m_stride = m_rows.bytesPerLine();
}

void StreamResampler::addRow(int y, const quint32* row)
{
    if (m_rows.isNull() || y < 0 || y >= m_source.height())
        return;
    const int slot = m_inOrder ? y % m_ring : y;
    quint32* out = reinterpret_cast<quint32*>(m_bits + slot * m_stride);
    if (m_copy)
        std::copy(row, row + m_size.width(), out);
    else
        resampleRowPass(row, out, m_h, 0, m_size.width());
    if (m_inOrder)
        emitReadyRows(y);
}

void StreamResampler::emitReadyRows(int lastRow)
{
    const int cols = m_size.width();
    while (m_next < m_size.height() && m_ready[size_t(m_next)] <= lastRow) {
        const int first = m_v.first[size_t(m_next)];
        for (int k = 0; k < m_v.count; ++k)
            m_in[size_t(k)] = reinterpret_cast<const quint32*>(m_bits + ((first + k) % m_ring) * m_stride);
        resampleColumnPass(m_in.data(), m_v.weightsOf(m_next), m_v.count,
                           reinterpret_cast<quint32*>(m_out.scanLine(m_next)), cols);
        ++m_next;
    }
}

QImage StreamResampler::finish()
{
    if (m_rows.isNull())
        return QImage();
    if (m_copy)
        return std::move(m_rows);
    if (m_inOrder) {
        // Rows that were not added count as added last (a source cut short is not expected).
        emitReadyRows(m_source.height() - 1);
        m_rows = QImage();
        m_bits = nullptr;
        return std::move(m_out);
    }
    QImage dst(m_size, QImage::Format_ARGB32);
    uchar* const dstBits = dst.bits();
    const qsizetype dstStride = dst.bytesPerLine();
    const int cols = m_size.width();
    const int work = std::max(1, cols * m_v.count);
    parallelRanges(m_size.height(), std::max(1, 200000 / work), [&](int begin, int end) {
        clearUpperVectorState();
        std::vector<const quint32*> in(size_t(m_v.count));
        for (int i = begin; i < end; ++i) {
            for (int k = 0; k < m_v.count; ++k)
                in[size_t(k)] = reinterpret_cast<const quint32*>(m_bits + (m_v.first[size_t(i)] + k) * m_stride);
            resampleColumnPass(in.data(), m_v.weightsOf(i), m_v.count,
                               reinterpret_cast<quint32*>(dstBits + i * dstStride), cols);
        }
    });
    m_rows = QImage();
    m_bits = nullptr;
    return dst;
}
