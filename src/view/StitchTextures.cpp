// The stitch texture pictures and the picture operations of the textured renderings.
#include "StitchTextures.h"

#include "convert/Resampler.h"

#include <QFile>
#include <QStringList>
#include <algorithm>

namespace {

const char* const kNames[txCount] = {"ImageBackGround", "ImagebackQMK", "ImageCross",
                                     "ImagePixel",      "ImageQuarter", "ImageFrenchKnot",
                                     "ImageBack",       "ImageBackM"};

// A stand-in for a picture that could not be read: fabric and full cells light grey, the
// pictures that are mostly transparent a grey band or disc on magenta, so drawing still works.
QImage flatPicture(TTextureKind kind)
{
    const QSize s = StitchTextures::size(kind);
    QImage p(s, QImage::Format_ARGB32);
    p.fill(0xFFDCDCDCu);
    if (kind == txBackGround || kind == txbackQMK || kind == txPixel || kind == txCross
        || kind == txQuarter)
        return p;
    p.fill(kTextureMagenta);
    const int w = s.width(), h = s.height();
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<TColor32*>(p.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int dy = 2 * y - (h - 1);
            const int dx = 2 * x - (w - 1);
            const bool inside = kind == txFrenchKnot ? dx * dx + dy * dy <= (w * 7 / 10) * (w * 7 / 10)
                                                     : std::abs(dy) <= h / 3;
            if (inside)
                line[x] = 0xFFDCDCDCu;
        }
    }
    return p;
}

QImage loadPicture(const QString& path, TTextureKind kind, QStringList& failed)
{
    QImage p(path);
    if (p.isNull() || p.size() != StitchTextures::size(kind)) {
        failed << StitchTextures::name(kind);
        return flatPicture(kind);
    }
    return p.convertToFormat(QImage::Format_ARGB32);
}

StitchTextures loadAll(const QString& prefix)
{
    StitchTextures t = StitchTextures::flat();
    QStringList failed;
    for (int k = 0; k < txCount; ++k) {
        const auto kind = TTextureKind(k);
        t.setPicture(kind, loadPicture(prefix + StitchTextures::name(kind) + QStringLiteral(".png"),
                                       kind, failed));
    }
    return t.withError(failed.isEmpty()
                           ? QString()
                           : QStringLiteral("Texture pictures missing or damaged: ")
                                 + failed.join(QStringLiteral(", ")));
}

} // namespace

StitchTextures StitchTextures::withError(const QString& error) const
{
    StitchTextures t = *this;
    t.m_error = error;
    return t;
}

const StitchTextures& StitchTextures::shipped()
{
    static const StitchTextures textures = loadAll(QStringLiteral(":/textures/"));
    return textures;
}

StitchTextures StitchTextures::fromFolder(const QString& folder)
{
    return loadAll(folder + QLatin1Char('/'));
}

StitchTextures StitchTextures::flat()
{
    StitchTextures t;
    for (int k = 0; k < txCount; ++k)
        t.m_pictures[k] = flatPicture(TTextureKind(k));
    return t;
}

void StitchTextures::setPicture(TTextureKind kind, const QImage& picture)
{
    m_pictures[kind] = picture.convertToFormat(QImage::Format_ARGB32);
}

QString StitchTextures::name(TTextureKind kind)
{
    return QString::fromLatin1(kNames[kind]);
}

QSize StitchTextures::size(TTextureKind kind)
{
    switch (kind) {
    case txPixel: return {94, 94};
    case txQuarter: return {49, 49};
    default: return {97, 97};
    }
}

// --- picture operations -------------------------------------------------------------------

QImage tinted(const QImage& picture, TColor32 tint)
{
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const quint32 ta = tint >> 24, tr = (tint >> 16) & 0xFFu, tg = (tint >> 8) & 0xFFu,
                  tb = tint & 0xFFu;
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<TColor32*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const TColor32 c = line[x];
            if (c == kTextureMagenta)
                continue;
            const quint32 a = (c >> 24) * ta / 256, r = ((c >> 16) & 0xFFu) * tr / 256,
                          g = ((c >> 8) & 0xFFu) * tg / 256, b = (c & 0xFFu) * tb / 256;
            line[x] = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    return out;
}

namespace {

// Magenta as coverage: magenta pixels become 0 in every byte, the others keep their colour
// with the coverage byte (alpha) 255. Pictures are scaled before they are tinted, so their
// opaque pixels have alpha 255 and come back so.
QImage toCoverage(const QImage& picture, const QRect& rect)
{
    QImage c(rect.size(), QImage::Format_ARGB32);
    for (int y = 0; y < rect.height(); ++y) {
        const auto* src = reinterpret_cast<const TColor32*>(picture.constScanLine(rect.y() + y));
        auto* dst = reinterpret_cast<TColor32*>(c.scanLine(y));
        for (int x = 0; x < rect.width(); ++x) {
            const TColor32 p = src[rect.x() + x];
            dst[x] = p == kTextureMagenta ? 0u : (p | 0xFF000000u);
        }
    }
    return c;
}

bool hasMagenta(const QImage& picture, const QRect& rect)
{
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        const auto* line = reinterpret_cast<const TColor32*>(picture.constScanLine(y));
        for (int x = rect.left(); x <= rect.right(); ++x)
            if (line[x] == kTextureMagenta)
                return true;
    }
    return false;
}

// Back from coverage: pixels less than half covered are magenta, the others take the colour
// of their covered part (the colour bytes divided by the coverage), opaque.
void fromCoverage(const QImage& scaled, QImage& dst, QPoint at)
{
    for (int y = 0; y < scaled.height(); ++y) {
        const auto* src = reinterpret_cast<const TColor32*>(scaled.constScanLine(y));
        auto* line = reinterpret_cast<TColor32*>(dst.scanLine(at.y() + y));
        for (int x = 0; x < scaled.width(); ++x) {
            const TColor32 p = src[x];
            const quint32 a = p >> 24;
            if (a < 128) {
                line[at.x() + x] = kTextureMagenta;
                continue;
            }
            auto un = [a](quint32 v) { return std::min<quint32>(255u, (v * 255u + a / 2) / a); };
            const quint32 r = un((p >> 16) & 0xFFu), g = un((p >> 8) & 0xFFu), b = un(p & 0xFFu);
            TColor32 out = 0xFF000000u | (r << 16) | (g << 8) | b;
            // A resampled colour that happens to be exact magenta would turn transparent.
            if (out == kTextureMagenta)
                out = 0xFFFE00FEu;
            line[at.x() + x] = out;
        }
    }
}

} // namespace

void scaleTextureInto(const QImage& picture, const QRect& srcRect, QImage& dst, const QRect& dstRect)
{
    const QRect d = dstRect.intersected(dst.rect());
    if (srcRect.isEmpty() || dstRect.isEmpty() || d != dstRect)
        return;
    const QImage src = picture.convertToFormat(QImage::Format_ARGB32);
    if (!hasMagenta(src, srcRect)) {
        ResampleDraw(src, dst, srcRect, dstRect);
        return;
    }
    // The colour of covered pixels is weighted by their coverage, so magenta never mixes in.
    const QImage cover = toCoverage(src, srcRect);
    QImage scaled(dstRect.size(), QImage::Format_ARGB32);
    ResampleDraw(cover, scaled, cover.rect(), scaled.rect());
    fromCoverage(scaled, dst, dstRect.topLeft());
}

QImage scaledTexture(const QImage& picture, QSize size)
{
    if (size.isEmpty())
        return QImage();
    QImage out(size, QImage::Format_ARGB32);
    out.fill(kTextureMagenta);
    scaleTextureInto(picture, picture.rect(), out, out.rect());
    return out;
}

void drawTransparent(QImage& dst, const QImage& src, QPoint at)
{
    const QRect target = QRect(at, src.size()).intersected(dst.rect());
    if (target.isEmpty())
        return;
    const QImage s = src.format() == QImage::Format_ARGB32 ? src
                                                          : src.convertToFormat(QImage::Format_ARGB32);
    const bool opaque = !dst.hasAlphaChannel();
    for (int y = target.top(); y <= target.bottom(); ++y) {
        const auto* from = reinterpret_cast<const TColor32*>(s.constScanLine(y - at.y()));
        auto* to = reinterpret_cast<TColor32*>(dst.scanLine(y));
        for (int x = target.left(); x <= target.right(); ++x) {
            const TColor32 p = from[x - at.x()];
            if (p != kTextureMagenta)
                to[x] = opaque ? (p | 0xFF000000u) : p;
        }
    }
}

QImage magentaToAlpha(const QImage& src)
{
    QImage out = src.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<TColor32*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if (line[x] == kTextureMagenta)
                line[x] = 0u;
    }
    return out;
}
