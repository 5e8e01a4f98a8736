#pragma once
// Symbols of the chart view, rendered once per character and cell size and then stamped onto
// the view: a stamp is the list of ink spans of one glyph clipped to its cell. Each colour maps
// to its character's stamp and its ink (white, or the value 2 for black on the view layers
// where 0 is transparent).

#include "core/ColorTypes.h"

#include <QHash>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>
#include <unordered_map>
#include <vector>

class TStitch;
class QImage;

// Ink pixels of one glyph: horizontal runs [x0, x1) on row y, relative to the cell's corner.
struct SymbolMask
{
    struct Span
    {
        qint16 y, x0, x1;
    };
    std::vector<Span> spans;
    bool isEmpty() const { return spans.empty(); }
};

// A colour's symbol on the view: its mask and its ink as a view pixel.
struct ColorStamp
{
    const SymbolMask* mask = nullptr;
    TColor32 ink = 0;
};

class SymbolStamps
{
public:
    // Value of black ink on the view's symbol layer (0 is that layer's transparent value).
    static constexpr ColorKey kLayerBlack = 2;

    // Pixel size of the symbol font for a font height in pixels: the height covers the
    // font's ascent and descent, as a font height does in the system's text output.
    static qreal pixelSizeForHeight(const QString& family, int height);
    // Ink as an opaque view pixel for a colour (white, or the layer black value 2).
    static TColor32 inkPixel(ColorKey color);

    // Font and box for whole cells and for quarters; a change drops every stamp.
    void configure(const QString& family, QSize cellSize);
    // Drops the colour to stamp map (after a colour's character changed).
    void forgetColors();
    // Drops everything (font or character set changed).
    void clear();

    // The stamp of a colour for a whole cell or a quarter; the mask is empty when the colour
    // has no drawable symbol.
    ColorStamp cellStamp(ColorKey color, const TStitch& stitch) { return lookup(color, stitch, m_cell); }
    ColorStamp quarterStamp(ColorKey color, const TStitch& stitch) { return lookup(color, stitch, m_quarter); }

    // Stamps `stamp` with its corner at (x, y) of `image` (Format_RGB32 or ARGB32), inside
    // `clip` (which must lie within the image).
    static void blit(QImage& image, const ColorStamp& stamp, int x, int y, const QRect& clip);

private:
    struct Kind
    {
        QSize box;         // the cell or quarter box the glyph is clipped to
        int fontHeight = 0;
        qreal pixelSize = 0;
        std::unordered_map<char32_t, std::unique_ptr<SymbolMask>> masks;
        QHash<ColorKey, ColorStamp> colors;
    };
    ColorStamp lookup(ColorKey color, const TStitch& stitch, Kind& kind);
    const SymbolMask* maskFor(char32_t code, Kind& kind);

    QString m_family;
    QSize m_cellSize;
    Kind m_cell;
    Kind m_quarter;
    SymbolMask m_empty;
};
