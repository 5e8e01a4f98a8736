#pragma once
// The picture resampler: separable kernel resampling (rows, then columns) with a
// Hamming-windowed sinc of radius 3. When the picture is reduced, the kernel is stretched by
// the reduction factor. The weights of each output pixel are computed for that pixel, rounded
// to multiples of 1/256 and corrected to sum to 1 (the difference goes to the largest weight).
// Source positions beyond the picture's edge take the nearest edge pixel. Output pixel i of a
// side of length n is centred on source position src + (i + 0.5) x srcLen / n - 0.5.

#include <QImage>
#include <QRect>
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

// Draws `srcRect` of `src` scaled into `dstRect` of `dst` (both 32-bit pictures; every byte
// of a pixel is resampled as one channel). Equal sizes are a plain copy.
void ResampleDraw(const QImage& src, QImage& dst, const QRect& srcRect, const QRect& dstRect);
// The whole of `src` resampled to `size` (Format_ARGB32).
QImage resampled(const QImage& src, const QSize& size);
