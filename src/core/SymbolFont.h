#pragma once
// The symbol font: registration of font files for this application and the one way symbols
// are drawn. Symbols are drawn as glyphs of the font (its own cmap lookup and a glyph run),
// never through text layout, which drops some code points (a soft hyphen draws nothing), and
// always without antialiasing.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRawFont>
#include <QString>

class QPainter;

// Makes a font file known to this application (and to Qt's font database when a GUI exists).
// Returns the family name, or an empty string when the file cannot be read as a font.
QString registerSymbolFontFile(const QString& path);

// The symbol font `family` at `pixelSize`: a registered file first, then the system's fonts.
QRawFont symbolRawFont(const QString& family, qreal pixelSize);

// True when the font has a glyph for `code` (not its "missing glyph").
bool symbolFontHasGlyph(const QRawFont& font, char32_t code);

// Draws `code` with its top-left corner at `topLeft` (the baseline at the font's ascent). On
// a vector device (a PDF page, a printer) the glyph is written as text in the font, so that a
// reader's text extraction returns the symbol; on pictures its outline is filled.
void drawSymbol(QPainter& painter, const QRawFont& font, char32_t code, QPointF topLeft,
                const QColor& ink);

// The text extent of `code`: its advance width and the font's height (ascent + descent).
QSizeF symbolExtent(const QRawFont& font, char32_t code);

// Draws `code` centred in a cell rectangle.
void drawSymbolCentered(QPainter& painter, const QRawFont& font, char32_t code,
                        const QRectF& cell, const QColor& ink);

// A transparent ARGB image of `size` with `code` drawn at its top-left corner in `ink`.
QImage renderSymbolGlyph(const QRawFont& font, char32_t code, QSize size, const QColor& ink);

// Glyph-size points -> pixels at 96 dpi.
inline qreal pointsToPixels(qreal points) { return points * 96.0 / 72.0; }
