// The resampler's fast passes (folded taps, SIMD, rows split over threads) against the plain
// one-tap-at-a-time reference on random pictures, rectangles and sizes.

#include "convert/Resampler.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>
#include <atomic>

namespace {

QImage randomPicture(QRandomGenerator& rng, int w, int h, bool smooth)
{
    QImage img(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        quint32* row = reinterpret_cast<quint32*>(img.scanLine(y));
        for (int x = 0; x < w; ++x)
            row[x] = smooth ? qRgba((x * 255) / std::max(w - 1, 1), (y * 255) / std::max(h - 1, 1),
                                    int(rng.bounded(8)) + 120, 255)
                            : rng.generate(); // every byte random, alpha too
    }
    return img;
}

} // namespace

TEST(ResamplerFastPath, SameAsThePlainReference)
{
    QRandomGenerator rng(20261210);
    for (int round = 0; round < 600; ++round) {
        // Half the rounds with the widest instructions the processor has, half with SSE2.
        resampleAllowWideSimd(round % 4 < 2);
        const int sw = 1 + int(rng.bounded(round < 400 ? 40 : 400));
        const int sh = 1 + int(rng.bounded(round < 400 ? 40 : 300));
        const QImage src = randomPicture(rng, sw, sh, round % 3 == 0);
        // A rectangle inside the picture, drawn reduced or enlarged into a rectangle that may
        // reach past the destination's edges.
        const int rx = int(rng.bounded(sw)), ry = int(rng.bounded(sh));
        const QRect srcRect(rx, ry, 1 + int(rng.bounded(sw - rx)), 1 + int(rng.bounded(sh - ry)));
        const int dw = 1 + int(rng.bounded(round % 2 ? 3 * sw : std::max(sw / 2, 1)));
        const int dh = 1 + int(rng.bounded(round % 2 ? std::max(sh / 3, 1) : 3 * sh));
        const QRect dstRect(int(rng.bounded(9)) - 4, int(rng.bounded(9)) - 4, dw, dh);
        QImage fast(std::max(dw - 2, 1), std::max(dh + 1, 1), QImage::Format_ARGB32);
        fast.fill(0x12345678u);
        QImage plain = fast;
        ResampleDraw(src, fast, srcRect, dstRect);
        ResampleDrawPlain(src, plain, srcRect, dstRect);
        ASSERT_EQ(fast, plain) << "round " << round << ": " << sw << "x" << sh << " rect " << rx
                               << "," << ry << " " << srcRect.width() << "x" << srcRect.height()
                               << " into " << dw << "x" << dh;
    }
    resampleAllowWideSimd(true);
}

TEST(ResamplerFastPath, LargeReductionOverThreads)
{
    // Big enough that both passes run on several threads.
    QRandomGenerator rng(7);
    const QImage src = randomPicture(rng, 3001, 1999, false);
    for (const bool wide : {true, false}) {
        resampleAllowWideSimd(wide);
        for (const QSize size : {QSize(300, 200), QSize(1000, 666), QSize(2999, 1999), QSize(17, 3000)}) {
            QImage fast(size, QImage::Format_ARGB32), plain(size, QImage::Format_ARGB32);
            ResampleDraw(src, fast, src.rect(), fast.rect());
            ResampleDrawPlain(src, plain, src.rect(), plain.rect());
            EXPECT_EQ(fast, plain) << size.width() << "x" << size.height() << (wide ? " wide" : " SSE2");
        }
    }
    resampleAllowWideSimd(true);
}

TEST(ResamplerFastPath, ParallelRangesCoverEveryIndexOnce)
{
    for (const int n : {0, 1, 2, 7, 1000, 99999}) {
        for (const int minPerThread : {1, 10, 100000}) {
            std::vector<std::atomic<int>> seen(size_t(std::max(n, 1)));
            parallelRanges(n, minPerThread, [&](int begin, int end) {
                ASSERT_LE(0, begin);
                ASSERT_LE(begin, end);
                ASSERT_LE(end, n);
                for (int i = begin; i < end; ++i)
                    ++seen[size_t(i)];
            });
            for (int i = 0; i < n; ++i)
                ASSERT_EQ(seen[size_t(i)].load(), 1) << n << " " << minPerThread << " " << i;
        }
    }
}

TEST(ResamplerFastPath, StreamedRowsGiveTheWholePicturesResult)
{
    QRandomGenerator rng(99);
    for (int round = 0; round < 60; ++round) {
        const QSize source(1 + int(rng.bounded(300)), 1 + int(rng.bounded(300)));
        const QSize size = round % 5 == 0 ? source
                                          : QSize(1 + int(rng.bounded(source.width() * 2)),
                                                  1 + int(rng.bounded(source.height() * 2)));
        const QImage src = randomPicture(rng, source.width(), source.height(), round % 2 == 0);
        const QImage expected = resampled(src, size);
        for (const bool inOrder : {false, true}) {
            StreamResampler stream(source, size, inOrder);
            // Without order the rows come bottom up; in order from the top.
            for (int k = 0; k < source.height(); ++k) {
                const int y = inOrder ? k : source.height() - 1 - k;
                stream.addRow(y, reinterpret_cast<const quint32*>(src.constScanLine(y)));
            }
            ASSERT_EQ(stream.finish(), expected)
                << round << ": " << source.width() << "x" << source.height() << " to " << size.width()
                << "x" << size.height() << (inOrder ? " in order" : "");
        }
    }
}
