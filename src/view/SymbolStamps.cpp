#include "SymbolStamps.h"

#include "core/SymbolFont.h"
#include "core/TStitch.h"

#include <QImage>
#include <QPainter>
#include <QRawFont>

qreal SymbolStamps::pixelSizeForHeight(const QString& family, int height)
{
    if (height < 1)
        return 0;
    constexpr qreal kReference = 200.0;
    const QRawFont ref = symbolRawFont(family, kReference);
    if (!ref.isValid())
        return 0;
    const qreal extent = ref.ascent() + ref.descent();
    return extent > 0 ? height * kReference / extent : qreal(height);
}

TColor32 SymbolStamps::inkPixel(ColorKey color)
{
    return keyToOpaquePixel(symbolInk(color, kLayerBlack));
}

void SymbolStamps::configure(const QString& family, QSize cellSize)
{
    if (family == m_family && cellSize == m_cellSize)
        return;
    clear();
    m_family = family;
    m_cellSize = cellSize;
    // Whole cells: font height cell height - 2; quarters: half the cell height - 2, in a box of
    // half the cell (rounded up; the caller clips to the quarter's own rectangle).
    m_cell.box = cellSize;
    m_cell.fontHeight = cellSize.height() - 2;
    m_quarter.box = QSize((cellSize.width() + 1) / 2, (cellSize.height() + 1) / 2);
    m_quarter.fontHeight = cellSize.height() / 2 - 2;
    for (Kind* k : {&m_cell, &m_quarter})
        k->pixelSize = pixelSizeForHeight(family, k->fontHeight);
}

void SymbolStamps::forgetColors()
{
    m_cell.colors.clear();
    m_quarter.colors.clear();
}

void SymbolStamps::clear()
{
    for (Kind* k : {&m_cell, &m_quarter}) {
        k->masks.clear();
        k->colors.clear();
    }
    m_family.clear();
    m_cellSize = QSize();
}

ColorStamp SymbolStamps::lookup(ColorKey color, const TStitch& stitch, Kind& kind)
{
    auto it = kind.colors.constFind(color);
    if (it != kind.colors.cend())
        return *it;
    ColorStamp s{&m_empty, inkPixel(color)};
    if (const TColorInfo* e = stitch.Colors.find(color)) {
        const QChar ch = stitch.chars.symbolAt(e->charID);
        if (!ch.isNull())
            s.mask = maskFor(ch.unicode(), kind);
    }
    kind.colors.insert(color, s);
    return s;
}

const SymbolMask* SymbolStamps::maskFor(char32_t code, Kind& kind)
{
    auto it = kind.masks.find(code);
    if (it != kind.masks.end())
        return it->second.get();
    auto mask = std::make_unique<SymbolMask>();
    if (kind.pixelSize > 0 && !kind.box.isEmpty()) {
        const QRawFont font = symbolRawFont(m_family, kind.pixelSize);
        QImage img(kind.box, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        {
            QPainter p(&img);
            drawSymbol(p, font, code, QPointF(0, 0), Qt::white);
        }
        for (int y = 0; y < img.height(); ++y) {
            const auto* row = reinterpret_cast<const TColor32*>(img.constScanLine(y));
            for (int x = 0; x < img.width();) {
                if (qAlpha(row[x]) == 0) {
                    ++x;
                    continue;
                }
                const int x0 = x;
                while (x < img.width() && qAlpha(row[x]) != 0)
                    ++x;
                mask->spans.push_back({qint16(y), qint16(x0), qint16(x)});
            }
        }
    }
    const SymbolMask* out = mask.get();
    kind.masks.emplace(code, std::move(mask));
    return out;
}

void SymbolStamps::blit(QImage& image, const ColorStamp& stamp, int x, int y, const QRect& clip)
{
    if (!stamp.mask)
        return;
    const int left = clip.left(), right = clip.right() + 1;
    const int top = clip.top(), bottom = clip.bottom() + 1;
    uchar* bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (const SymbolMask::Span& s : stamp.mask->spans) {
        const int py = y + s.y;
        if (py < top || py >= bottom)
            continue;
        const int x0 = qMax(x + s.x0, left);
        const int x1 = qMin(x + s.x1, right);
        auto* row = reinterpret_cast<TColor32*>(bits + py * stride);
        for (int px = x0; px < x1; ++px)
            row[px] = stamp.ink;
    }
}
