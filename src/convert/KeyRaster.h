#pragma once
// A picture as colour keys (red in the low byte, alpha dropped): the form in which the
// conversion matches, counts and dithers pixel colours.

#include "core/ColorTypes.h"

#include <QImage>
#include <vector>

struct KeyRaster
{
    int width = 0;
    int height = 0;
    std::vector<ColorKey> pixels; // row by row from the top

    KeyRaster() = default;
    KeyRaster(int w, int h, ColorKey fill = 0)
        : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}

    bool isEmpty() const { return width <= 0 || height <= 0; }
    ColorKey at(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    ColorKey& at(int x, int y) { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
    ColorKey* row(int y) { return pixels.data() + size_t(y) * size_t(width); }
    const ColorKey* row(int y) const { return pixels.data() + size_t(y) * size_t(width); }
    bool operator==(const KeyRaster&) const = default;

    // The colour keys of a picture (any format; alpha is ignored).
    static KeyRaster fromImage(const QImage& image);
    // Thread pixels as the cell raster holds them (alpha 0).
    QImage toThreadPixels() const;
    // Opaque pixels, for showing the result.
    QImage toOpaqueImage() const;
};
