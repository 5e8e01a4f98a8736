#pragma once
// The page layout: cuts a design into printed pages for a printer page or for picture export,
// places the key beside the chart or on pages of its own, adds the back-stitch copies and the
// extra pages, drops the page kinds not chosen, numbers the rest, and draws the thumbnail map.
// The result is the page table `PrintPages`, which the page painters and the print job walk.

#include "PrintTypes.h"

#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

// What the layout reads of the design and the settings.
struct TLayoutInput
{
    qint32 width = 0, height = 0;   // design size in cells
    bool hasBackOrRhodes = false;   // back stitches or Rhodes stitches exist
    bool knittingMode = false;      // cell height factor 0.7
    qint32 keyCount = 0;            // n: entries of the key list
    qint32 stitchListLength = 0;    // lines of the stitch-steps list
    // Settings (hundredths of a millimetre for the lines, per cent, millimetres).
    qint32 thickLines = 50, mediumLines = 20, thinLines = 1, backstitchLines = 60;
    qint32 symbolSize = 100;
    qint32 legendDistance = 5;
    qint32 labelGridHor = 10, labelGridVert = 27;
    // Inline border (millimetres) and export page (pixels).
    qint32 borderLeft = 15, borderTop = 15, borderRight = 10, borderBottom = 15;
    qint32 jpegWidth = 900, jpegHeight = 800, jpegGrid = 20;
};

class TPreview
{
public:
    TFormat fformat = fPortrait;
    qint32 LegendDistance = 0;
    qint32 pagewidth = 0, pageheight = 0;
    qint32 pagewidthReal = 0, pageheightReal = 0;
    qint32 pagewidthmm = 0, pageheightmm = 0;
    qint32 pagewidthmmReal = 0, pageheightmmReal = 0;
    qint32 imagewidth = 0, imageheight = 0;
    TPosition position = pSeparate;
    double gridX = 0, gridY = 0;
    double ThickLinesPx = 0, MediumLinesPx = 0, ThinLinesPx = 0;
    qint32 BackStitchLinesPx = 0;
    qint32 SymbolSizePX = 0;
    double gridWidthPx = 0, gridHeightPx = 0;
    qint32 titleHeightPx = 0, CommentHeightPX = 0;
    qint32 borderPX = 0;
    qint32 hpages = 0, vpages = 0;
    qint32 keyWidthPx = 0, keyHeightPx = 0;
    double mmPx = 0, mmPy = 0;
    bool useColors = true;
    QRect inlineBorderPX; // Left, Top, Right, Bottom held in x, y, width, height (see below)
    qint32 pixelsPerInch = 0;
    qint32 pageNumber = 0;

    // The grid-numbers flag G: "Grid numbers" as taken at the last run for a printer.
    bool gridNumbersFlag = false;
    // Key columns and rows per page (KC, KR) and the number of key columns or rows o of the
    // last run.
    qint32 keyColsPerPage = 0, keyRowsPerPage = 0, keyLines = 0;

    PrintPages pages;

    // Inline border sides in pixels.
    qint32 borderLeftPx() const { return inlineBorderPX.x(); }
    qint32 borderTopPx() const { return inlineBorderPX.y(); }
    qint32 borderRightPx() const { return inlineBorderPX.width(); }
    qint32 borderBottomPx() const { return inlineBorderPX.height(); }

    // Page metrics for a printer page (the device already turned to `fformat`).
    void setPrinterMetrics(const TPageDevice& device, const TPrintOptions& options,
                           const TLayoutInput& input);
    // Page metrics for image export: the page is JPEGWidth x JPEGHeight pixels.
    void setExportMetrics(const TPrintOptions& options, const TLayoutInput& input);

    // The run. Returns false when the key did not fit beside the chart (`pTop`/`pLeft`): the
    // position was then switched to `pSeparate` and the layout run again; the caller shows
    // kTooManyColorsMessage.
    bool calc(const TPrintOptions& options, const TLayoutInput& input);
    static constexpr const char* kTooManyColorsMessage =
        "Project has too many colors. For best result of printing use Separate position";

    // The thumbnail map of the page table into a picture of `size` (white background).
    void drawThumbnails(QPainter& painter, const QSize& size, const TPrintOptions& options) const;
    // One page of the table drawn into the cell `cell` with the scales across and down (the
    // thumbnail map and the table of contents share it).
    void drawPageThumbnail(QPainter& painter, const TMyPage& page, const QRect& cell,
                           double scaleX, double scaleY, const TPrintOptions& options) const;

    // Columns the numbering walks: `hpages`, and one more for `pSeparate` key pages.
    qint32 tableColumns() const;

    // Whether key entries are drawn on `page` for the current key position: the first page
    // column (`pLeft`), the first page row (`pTop`), pages with `hasKeys` (`pRight`,
    // `pBottom`) or the key pages (`pSeparate`).
    bool showsKeys(const TMyPage& page) const;
    // Key-list index of a key place of a page: `line` is the key column (`pLeft`, `pRight`,
    // `pSeparate`) or key row (`pTop`, `pBottom`), `place` the row in that column or the
    // position in that row. Indexes at or past the key list's end are empty places.
    static qint32 keyIndex(const TMyPage& page, qint32 line, qint32 place)
    {
        return line * page.KeyRestart + place + page.keyFirst;
    }

private:
    // The key did not fit beside the chart: switch to `pSeparate`, run again, report false.
    bool fallBackToSeparate(const TPrintOptions& options, const TLayoutInput& input);
};

// Chart pages: cross stitches, back stitches or both (key pages of `pSeparate` excluded).
inline bool isChartPage(const TMyPage& page)
{
    return !page.keysOnly
        && (page.PrintStitches == psCrossStitchOnly || page.PrintStitches == psBackStitchOnly
            || page.PrintStitches == psBoth);
}
