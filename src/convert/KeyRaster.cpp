#include "KeyRaster.h"

KeyRaster KeyRaster::fromImage(const QImage& image)
{
    const QImage src = image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32
        ? image
        : image.convertToFormat(QImage::Format_ARGB32);
    KeyRaster r(src.width(), src.height());
    for (int y = 0; y < r.height; ++y) {
        const TColor32* in = reinterpret_cast<const TColor32*>(src.constScanLine(y));
        ColorKey* out = r.row(y);
        for (int x = 0; x < r.width; ++x)
            out[x] = pixelToKey(in[x]);
    }
    return r;
}

static QImage toImage(const KeyRaster& r, TColor32 alpha)
{
    QImage img(r.width, r.height, QImage::Format_ARGB32);
    for (int y = 0; y < r.height; ++y) {
        TColor32* out = reinterpret_cast<TColor32*>(img.scanLine(y));
        const ColorKey* in = r.row(y);
        for (int x = 0; x < r.width; ++x)
            out[x] = keyToPixel(in[x]) | alpha;
    }
    return img;
}

QImage KeyRaster::toThreadPixels() const
{
    return toImage(*this, 0);
}

QImage KeyRaster::toOpaqueImage() const
{
    return toImage(*this, 0xFF000000u);
}
