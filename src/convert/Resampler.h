#pragma once
// The picture resampler: separable kernel resampling (rows, then columns) with a
// Hamming-windowed sinc of radius 3. When the picture is reduced, the kernel is stretched by
// the reduction factor. The weights of each output pixel are computed for that pixel, rounded
// to multiples of 1/256 and corrected to sum to 1 (the difference goes to the largest weight).
// Source positions beyond the picture's edge take the nearest edge pixel. Output pixel i of a
// side of length n is centred on source position src + (i + 0.5) x srcLen / n - 0.5.
// After the row pass every channel is rounded and clamped to 0..255; the column pass works on
// those bytes.

#include <QImage>
#include <QRect>
#include <cstdint>
#include <functional>
#include <vector>

// K(x) = sinc(x) x (0.54 + 0.46 cos(pi x / 3)) for |x| < 3, else 0.
double hammingSincKernel(double x);

// The weights of one output pixel: source positions first .. first + weights.size() - 1 (not
// yet clamped to the picture), in 1/256 units summing to 256.
struct ResampleTaps
{
    int first = 0;
    std::vector<int> weights;
};
// The taps of every output pixel of a side: `srcLen` source pixels starting at `srcStart`
// drawn into `dstLen` output pixels.
std::vector<ResampleTaps> resampleTaps(int srcStart, int srcLen, int dstLen);

// The taps of one side laid out for the fast passes: every output pixel reads `count`
// consecutive source pixels from first[i] on, all inside a picture side of `limit` pixels.
// A tap beyond the edge is added to the weight of the edge pixel it repeats (the same sum in
// whole numbers), and shorter tap lists are padded with zero weights.
struct ResampleAxis
{
    int count = 0;
    std::vector<int> first;
    std::vector<std::int16_t> weights; // `count` per output pixel
    // The weights two by two (low half the first), the last one paired with 0 when `count` is
    // odd: the form the row pass multiplies with.
    std::vector<std::int32_t> pairs;   // (count + 1) / 2 per output pixel

    static ResampleAxis make(int srcStart, int srcLen, int dstLen, int limit);
    int size() const { return int(first.size()); }
    const std::int16_t* weightsOf(int i) const { return weights.data() + size_t(i) * size_t(count); }
    const std::int32_t* pairsOf(int i) const { return pairs.data() + size_t(i) * size_t((count + 1) / 2); }
};

// The row pass of output pixels [begin, end) of `axis` from one source row of 32-bit pixels;
// out[0] receives output pixel `begin`.
void resampleRowPass(const quint32* in, quint32* out, const ResampleAxis& axis, int begin, int end);
// The row pass uses AVX2 where the processor has it, else SSE2. For the tests: false keeps it
// to SSE2 everywhere.
void resampleAllowWideSimd(bool on);
// The column pass of one output row: `width` pixels from the `count` rows `rows`, weighted by
// `weights`.
void resampleColumnPass(const quint32* const* rows, const std::int16_t* weights, int count,
                        quint32* out, int width);

// Ends a stretch of 256-bit vector code that a library left open without clearing the upper
// halves of the vector registers (Qt's string hashing does): until then every SSE instruction
// of this thread pays for keeping them, several times the cost of the work itself. Cheap;
// called at the start of the hot loops of the conversion.
void clearUpperVectorState();

// Runs work(begin, end) over [0, n) split into one consecutive range per CPU core (at most a
// few), on worker threads and this one; returns when all are done. Each index is handled by
// exactly one call, so results written per index do not depend on the number of threads.
// Small jobs (n below `minPerThread` x 2) run on this thread alone.
void parallelRanges(int n, int minPerThread, const std::function<void(int, int)>& work);

// Draws `srcRect` of `src` scaled into `dstRect` of `dst` (both 32-bit pictures; every byte
// of a pixel is resampled as one channel). Equal sizes are a plain copy.
void ResampleDraw(const QImage& src, QImage& dst, const QRect& srcRect, const QRect& dstRect);
// The same drawing one tap and one pixel at a time: the reference the fast passes are
// checked against.
void ResampleDrawPlain(const QImage& src, QImage& dst, const QRect& srcRect, const QRect& dstRect);
// The whole of `src` resampled to `size` (Format_ARGB32).
QImage resampled(const QImage& src, const QSize& size);

// The resampler fed with the source picture a row at a time: the row pass of a row runs when
// the row arrives, the column pass in finish. The result is the picture `resampled` gives for
// the whole source, but only a picture as wide as the result is kept, never the source.
class StreamResampler
{
public:
    // Rows in any order: the row pass's result of every source row is kept until finish.
    // `inOrder`: rows come from the top, one thread: only the rows the next output rows still
    // read are kept, and each output row is made as soon as its last source row is in.
    StreamResampler(QSize source, QSize size, bool inOrder = false);
    // Source row y (of source.width() pixels). Each row once; without `inOrder` in any order,
    // and different rows may be added from different threads at the same time.
    void addRow(int y, const quint32* row);
    // The result (Format_ARGB32), once every row has been added; without `inOrder` the column
    // pass runs here.
    QImage finish();

private:
    void emitReadyRows(int lastRow);

    QSize m_source, m_size;
    bool m_copy = false; // equal sizes: the rows themselves
    bool m_inOrder = false;
    ResampleAxis m_h, m_v;
    QImage m_rows;       // the row pass's result, one row per source row (the copy when equal),
                         // or in order the last m_ring of them, row y at y % m_ring
    uchar* m_bits = nullptr; // m_rows' pixels, taken once (scanLine() is not for several threads)
    qsizetype m_stride = 0;
    int m_ring = 0;
    std::vector<int> m_ready; // in order: the source row after which output row i can be made
    int m_next = 0;           // in order: the next output row to make
    QImage m_out;             // in order: the result so far
    std::vector<const quint32*> m_in;
};
