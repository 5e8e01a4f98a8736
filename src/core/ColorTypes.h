#pragma once
// The three kinds of 32-bit colour value of a design, each with its one conversion.
//
//  ColorKey     thread colour: red bits 0-7, green 8-15, blue 16-23, top byte zero (0x00BBGGRR).
//  TColor32     raster pixel:  alpha 24-31, red 16-23, green 8-15, blue 0-7 (0xAARRGGBB).
//               A thread pixel is a key with red and blue swapped and alpha 0.
//  Background   Stitch.BackGroundColor: a raster pixel with alpha 255, the value of empty cells.

#include <QtGlobal>
#include <QColor>

using ColorKey = quint32;
using TColor32 = quint32;

constexpr quint32 kRedOf(ColorKey k) { return k & 0xFFu; }
constexpr quint32 kGreenOf(ColorKey k) { return (k >> 8) & 0xFFu; }
constexpr quint32 kBlueOf(ColorKey k) { return (k >> 16) & 0xFFu; }

constexpr ColorKey makeColorKey(quint32 r, quint32 g, quint32 b)
{
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

// Colour key -> thread pixel of the cell rasters (alpha 0).
constexpr TColor32 keyToPixel(ColorKey k)
{
    return ((k & 0xFFu) << 16) | (k & 0xFF00u) | ((k >> 16) & 0xFFu);
}

// Raster pixel -> colour key; alpha is ignored.
constexpr ColorKey pixelToKey(TColor32 p)
{
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

// Colour key chosen by the user -> background value (alpha 255).
constexpr TColor32 keyToBackground(ColorKey k) { return keyToPixel(k) | 0xFF000000u; }

// Opaque raster pixel showing a colour key (for drawing swatches and cells on screen).
constexpr TColor32 keyToOpaquePixel(ColorKey k) { return keyToPixel(k) | 0xFF000000u; }

inline QColor keyToQColor(ColorKey k) { return QColor(int(kRedOf(k)), int(kGreenOf(k)), int(kBlueOf(k))); }
inline ColorKey qColorToKey(const QColor& c) { return makeColorKey(c.red(), c.green(), c.blue()); }

// Symbol ink: a symbol is drawn white on colours whose lightness (max+min)/2 is at most 128,
// black otherwise.
constexpr bool symbolInkIsWhite(ColorKey k)
{
    const quint32 r = kRedOf(k), g = kGreenOf(k), b = kBlueOf(k);
    const quint32 mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const quint32 mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    return (mx + mn) / 2 <= 128;
}

// The ink as a colour key, with the value used for black where pure black means something else
// (1 in glyph rasters, 2 on chart layers where 0 is transparent, 0 in the colour list).
constexpr ColorKey symbolInk(ColorKey k, ColorKey blackValue = 0)
{
    return symbolInkIsWhite(k) ? 0x00FFFFFFu : blackValue;
}

// Rounds halves to the even neighbour, as every cell size and printed position does.
double RndHalfEven(double v);
int Rnd(double v);
