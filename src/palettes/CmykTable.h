#pragma once
// The CMYK table of the installation: per-cent CMYK values for thread colours, used instead of
// the screen colours when charts are printed with "Use CMYK colors". It lives in Stitch.CMYK
// (keyed by the colour's opaque pixel value) and in "cmyk.ini" in the palette folder:
//
//   [main]      count=<n>
//   [color<i>]  rgb=$RRGGBB  CValue=<c>  MValue=<m>  YValue=<y>  KValue=<k>   (i = 1 .. n)

#include "core/TStitch.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

inline constexpr const char* kCmykFileName = "cmyk.ini";

// The colour a CMYK value prints as: 255 x (1 - c) x (1 - k) per channel (with m and y for
// green and blue), rounded half to even. Values above 100 count as 100.
ColorKey cmykToRgb(int c, int m, int y, int k);

// The CMYK value of a colour; black is 0,0,0,100. RGBColor is cmykToRgb of the result.
TCMYK rgbToCmyk(ColorKey color);

// An entry of the four values with its RGBColor computed from them.
TCMYK makeCmyk(quint8 c, quint8 m, quint8 y, quint8 k);

// The key of a colour in Stitch.CMYK.
constexpr TColor32 cmykTableKey(ColorKey color) { return keyToOpaquePixel(color); }

// The colour to print for `c`: the table's RGBColor when `useCmyk` is on and the table holds
// the colour, else `c` itself.
ColorKey printColor(const TStitch& stitch, ColorKey c, bool useCmyk);

// "cmyk.ini" in the palette folder (an existing file of that name in any case).
QString cmykFilePath(const TStitch& stitch);

using CmykTable = OrderedMap<TColor32, TCMYK>;

// Parses the text of a "cmyk.ini". Sections and keys match without regard to case; missing
// keys read as 0; values keep their low 8 bits. What cannot be read (a garbage line, an "rgb"
// or value that is not a number, a count larger than the colour sections present) is skipped
// and described in `warnings`, each naming `fileName` and the section or line; the good
// entries are still read. The table holds no more entries than the file has sections.
CmykTable parseCmykTable(const QByteArray& bytes, const QString& fileName,
                         QStringList* warnings = nullptr);

// Replaces stitch.CMYK with the table of "cmyk.ini"; a missing file gives an empty table.
void loadCmykTable(TStitch& stitch, QStringList* warnings = nullptr);

// The bytes of a "cmyk.ini" holding `table` in its order (sections "color1", "color2", ...).
QByteArray cmykTableBytes(const CmykTable& table);

// Writes stitch.CMYK into "cmyk.ini" through a safe save. Throws QuillError naming the file
// when it cannot be written; the table in memory stays as it is.
void saveCmykTable(const TStitch& stitch);
