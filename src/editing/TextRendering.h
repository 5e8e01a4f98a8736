#pragma once
// The text tool's rendering: a line of text in a font, size, style and colour drawn without
// anti-aliasing at one pixel per cell, and the clipboard block made of it (text pixels hold the
// colour, every other cell is empty). Also the checks that keep a rendering within the largest
// design, and the enlargement of the design so that the text fits.

#include "Clipboard.h"

#include <QFont>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

class PatternDocument;
class TActions;
class TStitch;

enum TTextStyle { tsRegular, tsBold, tsItalic, tsBoldItalic };

// What the user chose in the text dialog.
struct TTextSettings
{
    QString text;
    QString fontFamily;
    int pointSize = 10;
    TTextStyle style = tsBold;
    ColorKey color = 0;
};

namespace TextRendering {

// Point sizes become pixels at this resolution, the same on every screen, so that a text
// gives the same cells wherever the design is edited.
inline constexpr int kDotsPerInch = 96;
// The largest point size measured at all: its pixel height alone exceeds the largest design.
inline constexpr int kMaxPointSize = 24576;
// The sizes the dialog offers.
inline constexpr int kSizes[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72};
// The style names the dialog offers, in the order of TTextStyle (translation keys).
QStringList styleNames();

// Every installed font family, and the one chosen at first: "Arial", or the family the font
// system puts in its place, or the default font's.
QStringList fontFamilies();
QString defaultFamily();

// The integer point size a size field holds, or nothing when it is not a whole number from 1 on
// (the size then stays as it was).
std::optional<int> parseSize(const QString& text);

// The rendering font: family, pixel size from the point size, style, no anti-aliasing.
QFont renderFont(const TTextSettings& s);

// Where the rendering's pixels lie: the text's extent (advance width x line height), widened
// so that no part of a glyph (an italic overhang) is cut off; `origin` is the pen position of
// the text's start within it. An empty text has width 0.
struct TTextExtent
{
    QSize size;
    QPoint origin;
};
TTextExtent measure(const TTextSettings& s);

// Empty when the rendering of `s` can be made; otherwise the translated reason. A point size
// beyond kMaxPointSize, or an extent beyond the largest design or the free memory (`available`
// bytes, -1: unknown), is refused before anything is drawn.
QString renderProblem(TStitch& stitch, const TTextSettings& s, qint64 available);

// The rendering at one pixel per cell: black text on opaque white, every pixel pure black or
// white. Null for an empty text. The caller checks renderProblem first.
QImage render(const TTextSettings& s);

// The clipboard block of a rendering: cells whose pixel is dark hold `color`, the others
// `background` (empty, whatever the design's background colour is), quarters all empty, no
// stitches.
TClipboard toClipboard(const QImage& rendering, ColorKey color, TColor32 background);

// The colours the dialog lists: every colour of the design's colour table in palette order
// (orderID ascending; ties keep the table's order).
QList<ColorKey> colorList(const TStitch& stitch);

// Grows the design (as one size-change action) so that a block of `extent` fits at the top
// left: max(W, w) x max(H, h). False when it fits already. Throws QuillError, with nothing
// changed, when the new size is refused.
bool enlargeFor(PatternDocument& doc, TActions& history, QSize extent, qint64 available = -1);

// The text tool's result for the dialog's choices: the rendering checked against the limits,
// the design enlarged first when `autoEnlarge` is set and the text does not fit, and the block
// in the design's background. Throws QuillError (nothing changed) when the text cannot be
// rendered or the design cannot grow. An empty text gives an empty clipboard and changes nothing.
TClipboard makeTextBlock(PatternDocument& doc, TActions& history, const TTextSettings& s,
                         bool autoEnlarge, qint64 available = -1);

} // namespace TextRendering
