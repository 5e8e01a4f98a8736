#pragma once
// The values the page layout, the page painters and the print job share: the kinds of page,
// one page of the page table, the options of the print dialog, and the printer's page as the
// layout reads it. Plain values; no widget, no device.

#include "core/ColorTypes.h"

#include <QString>
#include <map>

enum TFormat { fPortrait, fLandscape, fAuto };
enum TPosition { pLeft, pTop, pRight, pBottom, pSeparate };
enum TPrintStitches {
    psCrossStitchOnly,
    psBackStitchOnly,
    psBoth,
    psBookHeader, // title page
    psBookFooter, // information page
    psStitchList,
    psContents,
    psLabels
};

// The name of a page kind as the code spells it ("psBoth"), for the command line's JSON.
QString printStitchesName(TPrintStitches kind);
QString positionName(TPosition position);

// One page of the page table.
struct TMyPage
{
    TPrintStitches PrintStitches = psBoth;
    qint32 pageNum = 0;
    bool keysOnly = false;
    bool hasKeys = false;
    bool isLeft = false;
    bool isTop = false;
    qint32 xOffcetPx = 0, yOffcetPx = 0;
    qint32 cellsX = 0, cellsY = 0;
    qint32 cellXFirst = 0, cellXLast = 0, cellYFirst = 0, cellYLast = 0;
    qint32 keyOffset = 0;
    qint32 keycount = 0;
    qint32 keycols = 0;
    qint32 keyFirst = 0;
    qint32 KeyRestart = 0;

    bool operator==(const TMyPage&) const = default;
};

// Position of a page in the page table: column and row from 0. Ordered row by row, then by
// column, which is the order in which pages are numbered and printed.
struct TPagePos
{
    qint32 col = 0;
    qint32 row = 0;
    bool operator==(const TPagePos&) const = default;
    bool operator<(const TPagePos& o) const { return row != o.row ? row < o.row : col < o.col; }
};
using PrintPages = std::map<TPagePos, TMyPage>;

// The options of the print dialog that the layout, the painters and the job read (English
// captions in the comments). Start values are the dialog's.
struct TPrintOptions
{
    bool exportMode = false;          // "Export to JPEG files" (true) / "Print to printer"
    qint32 gridX = 300, gridY = 300;  // "GridX(mm)", "GridY(mm)" in 1/100 mm, 90..2010
    bool inlineBorder = true;         // "Inline border"
    bool pageNumbers = false;         // "Page numbers"
    bool gridNumbers = false;         // "Grid numbers"
    bool backStitchesSeparate = false; // "Print backstitches separate"
    bool legendSize = true;           // "Key size corresponds to Design size"
    bool title = false;               // "Print Title Page"
    bool design = true;               // "Print Design"
    bool legend = true;               // "Print Legend"
    bool labels = false;              // "Print Labels"
    bool info = false;                // "Print Info Page"
    bool contents = false;            // "Print Table of Contents"
    bool stitchList = false;          // "Stitch Steps List"
    bool realSize = true;             // hidden, always on
    bool useColors = true;            // "Print with colors" / "Print without colors"
    bool cmyk = false;                // "Use CMYK Colors"
    bool realMode = false;            // "Print in real mode"
    bool printGrid = true;            // "Print Grid"
    bool printSymbols = true;         // "Print Symbols"
    bool printRuler = true;           // "Print Ruler"
    bool asCircles = false;           // "Color Background as Circles"
    bool lightAroundCircles = false;  // "Print Light Color around Circles"
    bool backStitches = true;         // "Print Backstitch"
    bool backSymbol = true;           // "Print Back Stitch Colour Symbol"
    bool rhodes = true;               // "Print Rhodes/French Knot"
};

// The printable page of a printer (or of a PDF writer standing in for one), as the layout
// reads it: printable size in millimetres and in device pixels, and the horizontal resolution.
struct TPageDevice
{
    double widthMM = 0, heightMM = 0;
    qint32 widthPx = 0, heightPx = 0;
    qint32 pixelsPerInch = 0;
};

// One entry of the printed key.
enum TColorType { ctCross, ctBack };
struct TMyColor
{
    QString Name;
    ColorKey Color = 0;
    QString Symbol;
    qint32 Count = 0;
    ColorKey SymbolColor = 0;
    TColorType ColorType = ctCross;

    bool operator==(const TMyColor&) const = default;
};

// One line of the stitch-steps list.
struct TStitchListItem
{
    qint32 Row = 0;
    qint32 Count = 0;
    ColorKey Color = 0;
    QString Symbol;
    ColorKey SymbolColor = 0;
    QString ColorName;
    bool isBackgroud = false;

    bool operator==(const TStitchListItem&) const = default;
};
