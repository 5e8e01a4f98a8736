#pragma once
// The drawing state of one print job and the drawing helpers the page painters share: the
// page's cell origin, the colour rules (CMYK substitute, ink by lightness, grey, light colour),
// text at a top-left point, symbols of the design's font, key entries and the footer.

#include "PagePainter.h"
#include "PrintTypes.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QPoint>
#include <QRawFont>
#include <QRect>
#include <functional>
#include <memory>

class QPainter;
class RealModeTextures;
struct TColorInfo;

struct PagePainter::State
{
    State(const PrintContext& context, PageTarget& target);
    ~State();

    const PrintContext& ctx;
    PageTarget& target;
    // Key position for this job: the chosen one, or pSeparate when only the key is printed.
    TPosition position = pSeparate;
    const TMyPage* page = nullptr;
    // Cell origin of the current page.
    int S = 0, U = 0;
    // End point (chart pixels) and colour of the last back stitch drawn on the page.
    QPoint lastEnd{-1, -1};
    qint64 lastColor = -1;
    // Real mode: the job's textures, built once by beginJob; the back-stitch progress report.
    std::unique_ptr<RealModeTextures> real;
    const std::function<void(int, int)>* backStitchProgress = nullptr;

    QPainter& painter() { return target.painter(); }
    const TPreview& pv() const { return ctx.preview; }
    const TPrintOptions& opt() const { return ctx.options; }
    bool gridNumbers() const { return ctx.preview.gridNumbersFlag; }
    // Only the key is printed (the chart is not selected).
    bool keyOnlyJob() const { return ctx.options.legend && !ctx.options.design; }
    QString tr(const QString& text) const;

    // The page is about to be drawn on; begins a fresh page first when the current one holds
    // something already.
    void freshPageIfUsed();
    void beginPage();

    // --- colours ---
    // The colour drawn for a thread colour: its CMYK substitute when that option is on.
    QColor printed(ColorKey c) const;
    // Text and symbol ink on colour c: white or black by lightness with colours, else black.
    QColor inkOn(ColorKey c) const;
    static QColor grey(ColorKey c);
    static QColor light(ColorKey c);
    const TColorInfo* colorInfo(ColorKey c) const;
    // The symbol of colour c when it is in use, else an empty string.
    QString usedSymbol(ColorKey c) const;

    // --- text ---
    QFont sans(double points, bool bold = false) const;
    QFont titleFont(double points, bool bold = true, bool italic = false) const;
    // Writes `text` with its top-left at (x, y) in the painter's font; with `opaque` the text's
    // box is first filled white (a white brush behind the text). Returns the text's width.
    int textOut(int x, int y, const QString& text, const QColor& ink = Qt::black,
                bool opaque = false);
    QSize textExtent(const QString& text);

    // --- symbols ---
    // The design's symbol font with a text height (ascent + descent) of `heightPx` pixels.
    QRawFont symbolFont(int heightPx);
    QSize symbolExtent(const QRawFont& font, const QString& symbol) const;
    void drawSymbolAt(const QRawFont& font, const QString& symbol, QPoint topLeft,
                      const QColor& ink);

    // --- shared page parts ---
    void drawHeader();
    void drawFooter(int pageNum);
    // One key entry in `rect` (already placed on the page).
    void drawKeyEntry(const TMyColor& entry, const QRect& rect);

private:
    QHash<int, QRawFont> m_symbolFonts;
};

// The extent of the grid line at `pos` along one axis as it is drawn: a line of `width` pixels
// covers [pos - width / 2, pos - width / 2 + width).
inline int lineStart(int pos, int width) { return pos - width / 2; }
inline int lineEnd(int pos, int width) { return pos - width / 2 + width; }

// Cohen-Sutherland clipping of the segment p1-p2 to the closed rectangle [left, right] x
// [top, bottom], in integers: an end outside is moved onto the border it crosses. Returns false
// when the segment lies wholly outside.
bool clipSegment(QPoint& p1, QPoint& p2, int left, int top, int right, int bottom);

// The steps of a table page.
void drawChartPage(PagePainter::State& st);
void drawKeysBesideChart(PagePainter::State& st);
void drawKeyPage(PagePainter::State& st);
