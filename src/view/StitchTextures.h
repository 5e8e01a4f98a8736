#pragma once
// The stitch texture pictures (fabric, crosses, quarters, knots and the two back-stitch strip
// pieces), and the picture operations every textured rendering uses: tinting with a thread
// colour, scaling with the picture resampler, and drawing with magenta as the transparent
// colour. The pictures ship inside the program; a picture that cannot be loaded is replaced
// by a flat one of its size (light grey, or magenta where the picture is mostly transparent),
// and textureLoadError() says which.

#include "core/ColorTypes.h"

#include <QImage>
#include <QString>
#include <array>

// The magenta that marks transparent pixels in every texture picture (an opaque raster pixel).
inline constexpr TColor32 kTextureMagenta = 0xFFFF00FFu;

enum TTextureKind {
    txBackGround,  // "ImageBackGround", fabric of the real preview
    txbackQMK,     // "ImagebackQMK", fabric of the printed real mode and the title page
    txCross,       // "ImageCross", full cross of the real preview
    txPixel,       // "ImagePixel", full cell of the printed real mode and the title page
    txQuarter,     // "ImageQuarter"
    txFrenchKnot,  // "ImageFrenchKnot"
    txBack,        // "ImageBack", end piece of a back-stitch strip
    txBackM,       // "ImageBackM", middle piece of a back-stitch strip
    txCount
};

class StitchTextures
{
public:
    // The shipped pictures, loaded once.
    static const StitchTextures& shipped();
    // Pictures read from `folder` (files named as the pictures, ".png"); for tests and tools.
    static StitchTextures fromFolder(const QString& folder);
    // Flat pictures of the right sizes.
    static StitchTextures flat();

    const QImage& picture(TTextureKind kind) const { return m_pictures[kind]; }
    void setPicture(TTextureKind kind, const QImage& picture);
    // Empty when every picture loaded; otherwise names the pictures replaced by flat ones.
    const QString& loadError() const { return m_error; }

    static QString name(TTextureKind kind);   // "ImageCross"
    static QSize size(TTextureKind kind);     // 97 x 97, 94 x 94 or 49 x 49

    // A copy whose loadError() is `error`.
    StitchTextures withError(const QString& error) const;

private:
    std::array<QImage, txCount> m_pictures;
    QString m_error;
};

// The tint of a colour key: its channels with alpha 255, as a raster pixel.
constexpr TColor32 tintOf(ColorKey c) { return keyToOpaquePixel(c); }

// Tinting: every channel of every non-magenta pixel multiplied by the tint's channel,
// c' = c x t div 256 (alpha included); magenta pixels stay as they are. A tinted pixel never
// becomes magenta (no channel reaches 255).
QImage tinted(const QImage& picture, TColor32 tint);
inline QImage tintedWith(const QImage& picture, ColorKey c) { return tinted(picture, tintOf(c)); }

// The picture resampled to `size` over the whole destination. Magenta pixels count as
// transparent: they do not bleed into their neighbours, and an output pixel that is mostly
// covered by them is magenta again.
QImage scaledTexture(const QImage& picture, QSize size);
// `srcRect` of `picture` resampled into `dstRect` of `dst` (the same transparency rule; the
// magenta output pixels are written as magenta).
void scaleTextureInto(const QImage& picture, const QRect& srcRect, QImage& dst, const QRect& dstRect);

// Draws `src` onto `dst` with its top-left at `at`; magenta pixels of `src` are left out, and
// the others are written opaque when `dst` has no alpha channel. Parts outside `dst` are cut.
void drawTransparent(QImage& dst, const QImage& src, QPoint at);

// `src` with magenta turned into transparent pixels (Format_ARGB32), for drawing with a
// painter onto a page.
QImage magentaToAlpha(const QImage& src);
