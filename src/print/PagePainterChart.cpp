// Chart pages: the grid with its ruler, the cells with their symbols, quarter stitches, back
// stitches and Rhodes stitches with their start markers, and French knots.
#include "PagePainter.h"
#include "PagePainterState.h"
#include "RealMode.h"
#include "core/PatternDocument.h"
#include "core/TStitch.h"

#include <QPainter>
#include <cmath>

namespace {

// Width in pixels of grid line `a` (absolute line number): thick on tens, medium on fives.
int lineWidth(const TPreview& v, int a)
{
    const double w = a % 10 == 0 ? v.ThickLinesPx : a % 5 == 0 ? v.MediumLinesPx : v.ThinLinesPx;
    return std::max(1, int(w));
}

int tickLength(const TPreview& v, int a)
{
    return a % 10 == 0 ? v.borderPX : a % 5 == 0 ? v.borderPX / 2 : v.borderPX / 4;
}

// Grid lines are filled rectangles: exact widths on pictures, vector paths on PDF pages. Both
// ends reach half the width beyond their end points, so that frame corners close.
void horizontalLine(QPainter& p, int x0, int x1, int y, int w)
{
    p.fillRect(QRect(lineStart(x0, w), lineStart(y, w), x1 - x0 + w, w), Qt::black);
}

void verticalLine(QPainter& p, int y0, int y1, int x, int w)
{
    p.fillRect(QRect(lineStart(x, w), lineStart(y0, w), w, y1 - y0 + w), Qt::black);
}

// An ellipse in the box from (l, t) to (r, b), right and bottom outside the box.
void boxEllipse(QPainter& p, int l, int t, int r, int b)
{
    p.drawEllipse(QRect(l, t, r - l - 1, b - t - 1));
}

bool hasBackOrRhodes(const PatternDocument& doc)
{
    return !doc.DesignBackStitches.isEmpty() || !doc.DesignRhodes.empty();
}

// A knot on the right or bottom border line of a page belongs to the next page.
bool knotOnPage(const TMyPage& pg, QPoint gp)
{
    return gp.x() >= 2 * pg.cellXFirst && gp.x() < 2 * pg.cellXLast + 2
        && gp.y() >= 2 * pg.cellYFirst && gp.y() < 2 * pg.cellYLast + 2;
}

void drawGrid(PagePainter::State& st)
{
    const TMyPage& pg = *st.page;
    const TPreview& v = st.pv();
    const TPrintOptions& o = st.opt();
    QPainter& p = st.painter();
    p.setFont(st.sans(12));
    const bool rowTicks = o.printRuler && (pg.isLeft || st.gridNumbers());
    const bool colTicks = o.printRuler && (pg.isTop || st.gridNumbers());
    const int right = st.S + Rnd(pg.cellsX * v.gridWidthPx);
    const int bottom = st.U + Rnd(pg.cellsY * v.gridHeightPx);

    for (int r = 0; r <= pg.cellsY; ++r) {
        const int a = pg.cellYFirst + r;
        const int w = lineWidth(v, a);
        const int y = st.U + Rnd(r * v.gridHeightPx);
        const int start = rowTicks ? st.S - tickLength(v, a) : st.S;
        if (o.printGrid || r == 0 || r == pg.cellsY)
            horizontalLine(p, start, right, y, w);
        else if (rowTicks)
            horizontalLine(p, start, st.S, y, w);
        if (rowTicks && a % 10 == 0 && a > 0)
            st.textOut(st.S - v.borderPX, y, QString::number(a));
    }
    for (int c = 0; c <= pg.cellsX; ++c) {
        const int a = pg.cellXFirst + c;
        const int w = lineWidth(v, a);
        const int x = st.S + Rnd(c * v.gridWidthPx);
        const int start = colTicks ? st.U - tickLength(v, a) : st.U;
        if (o.printGrid || c == 0 || c == pg.cellsX)
            verticalLine(p, start, bottom, x, w);
        else if (colTicks)
            verticalLine(p, start, st.U, x, w);
        if (colTicks && a % 10 == 0 && a > 0) {
            const QString number = QString::number(a);
            const int cx = st.textExtent(number).width();
            st.textOut(x - (cx + Rnd(v.mmPx)), st.U - v.borderPX, number);
        }
    }
}

// The part of cell (i, j) of the page that a colour fill covers: the cell up to the edges of
// the grid lines drawn around it.
QRect fillRect(const PagePainter::State& st, int i, int j)
{
    const TMyPage& pg = *st.page;
    const TPreview& v = st.pv();
    const bool grid = st.opt().printGrid;
    int l = st.S + Rnd(i * v.gridWidthPx), r = st.S + Rnd((i + 1) * v.gridWidthPx);
    int t = st.U + Rnd(j * v.gridHeightPx), b = st.U + Rnd((j + 1) * v.gridHeightPx);
    if (grid || i == 0)
        l = lineEnd(l, lineWidth(v, pg.cellXFirst + i));
    if (grid || i == pg.cellsX - 1)
        r = lineStart(r, lineWidth(v, pg.cellXFirst + i + 1));
    if (grid || j == 0)
        t = lineEnd(t, lineWidth(v, pg.cellYFirst + j));
    if (grid || j == pg.cellsY - 1)
        b = lineStart(b, lineWidth(v, pg.cellYFirst + j + 1));
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void drawCells(PagePainter::State& st)
{
    const TMyPage& pg = *st.page;
    const TPreview& v = st.pv();
    const TPrintOptions& o = st.opt();
    const PatternDocument& doc = st.ctx.doc;
    const TStitch& stitch = st.ctx.stitch;
    QPainter& p = st.painter();
    const QRawFont font = st.symbolFont(v.SymbolSizePX);
    const bool symbols = o.printSymbols && stitch.symbolSize != 0;

    for (int j = 0; j < pg.cellsY; ++j) {
        const int y = pg.cellYFirst + j;
        if (y < 0 || y >= doc.CrossCells.height())
            continue;
        const auto* row = reinterpret_cast<const TColor32*>(doc.CrossCells.constScanLine(y));
        for (int i = 0; i < pg.cellsX; ++i) {
            const int x = pg.cellXFirst + i;
            if (x < 0 || x >= doc.CrossCells.width())
                continue;
            const TColor32 raw = row[x];
            const bool background = raw == stitch.BackGroundColor;
            const ColorKey c = pixelToKey(raw);
            if (v.useColors && !o.realMode) {
                const QRect f = fillRect(st, i, j);
                if (f.isValid()) {
                    if (!o.asCircles && !o.lightAroundCircles) {
                        p.fillRect(f, st.printed(c));
                    } else {
                        if (o.lightAroundCircles)
                            p.fillRect(f, PagePainter::State::light(c));
                        p.setPen(QPen(keyToQColor(c), 1));
                        p.setBrush(keyToQColor(c));
                        boxEllipse(p, f.left(), Rnd(f.top() + v.ThickLinesPx / 8),
                                   f.right() + 1, f.bottom() + 1);
                    }
                }
            }
            if (o.realMode || background || !symbols)
                continue;
            const QString symbol = st.usedSymbol(c);
            if (symbol.isEmpty())
                continue;
            const QSize e = st.symbolExtent(font, symbol);
            const int sx = Rnd(i * v.gridWidthPx + 1) + Rnd(v.gridWidthPx - e.width()) / 2 + st.S
                + stitch.PrintPosLeft;
            // The extent is the font's own box (ascent and descent), so centring it centres
            // the glyph; no fixed lift is needed.
            const int sy = Rnd(j * v.gridHeightPx + 1) + Rnd(v.gridHeightPx - e.height()) / 2
                + st.U - stitch.PrintPosTop;
            st.drawSymbolAt(font, symbol, QPoint(sx, sy), st.inkOn(c));
        }
    }
}

void drawQuarters(PagePainter::State& st)
{
    const TMyPage& pg = *st.page;
    const TPreview& v = st.pv();
    const TPrintOptions& o = st.opt();
    const PatternDocument& doc = st.ctx.doc;
    const TStitch& stitch = st.ctx.stitch;
    QPainter& p = st.painter();
    const QRawFont font = st.symbolFont(v.SymbolSizePX / 2);
    const bool symbols = o.printSymbols && stitch.symbolSize != 0 && !o.realMode;

    for (int qj = 0; qj < 2 * pg.cellsY; ++qj) {
        const int y = qj + 2 * pg.cellYFirst;
        if (y < 0 || y >= doc.QuarterCells.height())
            continue;
        const auto* row = reinterpret_cast<const TColor32*>(doc.QuarterCells.constScanLine(y));
        for (int qi = 0; qi < 2 * pg.cellsX; ++qi) {
            const int x = qi + 2 * pg.cellXFirst;
            if (x < 0 || x >= doc.QuarterCells.width() || row[x] == stitch.BackGroundColor)
                continue;
            const ColorKey c = pixelToKey(row[x]);
            const int l = Rnd(qi * v.gridWidthPx) / 2 + st.S;
            const int t = Rnd(qj * v.gridHeightPx) / 2 + st.U;
            if (v.useColors && !o.realMode) {
                const QRect f(QPoint(l + 1, t + 1),
                              QPoint(Rnd((qi + 1) * v.gridWidthPx) / 2 + st.S - 1,
                                     Rnd((qj + 1) * v.gridHeightPx) / 2 + st.U - 1));
                if (f.isValid())
                    p.fillRect(f, st.printed(c));
            }
            if (!symbols)
                continue;
            const QString symbol = st.usedSymbol(c);
            if (symbol.isEmpty())
                continue;
            const QSize e = st.symbolExtent(font, symbol);
            const int sx = l + (Rnd(v.gridWidthPx) / 2 - e.width()) / 2 + 1;
            const int sy = t + (Rnd(v.gridHeightPx) / 2 - e.height()) / 2 + 1;
            st.drawSymbolAt(font, symbol, QPoint(sx, sy), st.inkOn(c));
        }
    }
}

// Where stitches sit on the page: the origin of the page's chart pixels and their clip box.
struct StitchFrame
{
    int ox = 0, oy = 0; // page position of chart pixel (0, 0) of the clip box's corner
    int left = 0, top = 0, right = 0, bottom = 0;
};

StitchFrame stitchFrame(const PagePainter::State& st)
{
    const TMyPage& pg = *st.page;
    const TPreview& v = st.pv();
    int t = 0, b = 0;
    if (pg.isTop && pg.PrintStitches == psBackStitchOnly)
        t = v.titleHeightPx;
    else if (pg.isTop || st.gridNumbers())
        b = v.borderPX;
    StitchFrame f;
    f.left = Rnd(pg.cellXFirst * v.gridWidthPx);
    f.top = Rnd(pg.cellYFirst * v.gridHeightPx);
    f.right = Rnd((pg.cellXLast + 1) * v.gridWidthPx);
    f.bottom = Rnd((pg.cellYLast + 1) * v.gridHeightPx);
    f.ox = st.S - f.left;
    f.oy = pg.yOffcetPx + b + t - f.top;
    return f;
}

QPoint gridPixel(const TPreview& v, QPoint gp)
{
    return QPoint(Rnd(gp.x() * v.gridWidthPx) / 2, Rnd(gp.y() * v.gridHeightPx) / 2);
}

// Which stitches get a start marker: back stitches wherever a chain begins (a stitch that
// does not start where the one drawn before ended, or has another colour); Rhodes stitches on
// their first stitch only, as their stitches cross rather than chain.
enum class Marker { whereChainBegins, yes, no };

void drawStraightStitch(PagePainter::State& st, const StitchFrame& fr, QPoint from, QPoint to,
                        ColorKey c, Marker marker)
{
    const TPreview& v = st.pv();
    const TPrintOptions& o = st.opt();
    QPainter& p = st.painter();
    QPoint a = gridPixel(v, from), b = gridPixel(v, to);
    if (!clipSegment(a, b, fr.left, fr.top, fr.right, fr.bottom))
        return;
    const QPoint shift(fr.ox, fr.oy);
    p.setPen(QPen(v.useColors ? st.printed(c) : PagePainter::State::grey(c), std::max(1, v.BackStitchLinesPx),
                  Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(a + shift, b + shift);

    const bool chainBegins = a != st.lastEnd || qint64(c) != st.lastColor;
    if (marker == Marker::yes || (marker == Marker::whereChainBegins && chainBegins)) {
        const double len = std::hypot(double(a.x() - b.x()), double(a.y() - b.y()));
        const double dx = len > 0 ? (a.x() - b.x()) / len : 0.0;
        const double dy = len > 0 ? (a.y() - b.y()) / len : 0.0;
        const double k = 2.0 / 3.0 * v.gridWidthPx;
        const int cx = a.x() + int(std::floor(-k * dx)) + shift.x();
        const int cy = a.y() + int(std::floor(-k * dy)) + shift.y();
        const int rw = Rnd(v.gridWidthPx) / 2, rh = Rnd(v.gridHeightPx) / 2;
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(v.useColors ? st.printed(c) : QColor(Qt::white));
        boxEllipse(p, cx - rw, cy - rh, cx + rw + 1, cy + rh + 1);
        const QString symbol = st.usedSymbol(c);
        if (!symbol.isEmpty() && st.ctx.stitch.symbolSize != 0 && o.backSymbol) {
            const QRawFont font = st.symbolFont(Rnd(2 * v.gridHeightPx) / 3);
            const QSize e = st.symbolExtent(font, symbol);
            st.drawSymbolAt(font, symbol,
                            QPoint(cx - e.width() / 2, cy - e.height() / 2), st.inkOn(c));
        }
    }
    st.lastEnd = b;
    st.lastColor = c;
}

void drawBackStitches(PagePainter::State& st)
{
    const PatternDocument& doc = st.ctx.doc;
    const StitchFrame fr = stitchFrame(st);
    st.lastEnd = QPoint(-1, -1);
    st.lastColor = -1;
    if (st.opt().backStitches)
        for (const TBackStitch& b : doc.DesignBackStitches)
            drawStraightStitch(st, fr, b.FromPoint, b.ToPoint, b.Color, Marker::whereChainBegins);
    if (st.opt().rhodes)
        for (const auto& r : doc.DesignRhodes) {
            Marker marker = Marker::yes;
            for (const TBackStitch& s : r->stitches) {
                drawStraightStitch(st, fr, s.FromPoint, s.ToPoint, r->color, marker);
                marker = Marker::no;
            }
        }
}

void drawFrenchKnots(PagePainter::State& st)
{
    const TMyPage& pg = *st.page;
    const TPreview& v = st.pv();
    QPainter& p = st.painter();
    const StitchFrame fr = stitchFrame(st);
    const int rx = Rnd(v.gridWidthPx) / 3, ry = Rnd(v.gridHeightPx) / 3;
    for (const TFrenchKnot& k : st.ctx.doc.DesignFrenchKnots) {
        const QPoint gp = k.Center;
        if (!knotOnPage(pg, gp))
            continue;
        const QPoint c = gridPixel(v, gp) + QPoint(fr.ox, fr.oy);
        p.setPen(QPen(v.useColors ? st.printed(k.Color) : PagePainter::State::grey(k.Color), 1));
        p.setBrush(keyToQColor(k.Color));
        boxEllipse(p, c.x() - rx, c.y() - ry, c.x() + rx, c.y() + ry);
    }
}

// Real mode: the page's cells as thread textures, back stitches as thread strips drawn into
// the same bitmap, and knots as knot pictures on the page.
void drawRealChart(PagePainter::State& st)
{
    const TMyPage& pg = *st.page;
    const TPreview& v = st.pv();
    const TPrintOptions& o = st.opt();
    const PatternDocument& doc = st.ctx.doc;
    RealModeTextures& real = *st.real;
    QPainter& p = st.painter();
    QImage bitmap = real.pageBitmap(pg, v.gridWidthPx, v.gridHeightPx);
    const QPoint at(st.S + 1, st.U + 1);
    p.drawImage(at, bitmap);
    const StitchFrame fr = stitchFrame(st);
    if ((pg.PrintStitches == psBackStitchOnly || pg.PrintStitches == psBoth)
        && hasBackOrRhodes(doc)) {
        QList<RealModeTextures::Segment> segments;
        const QPoint corner(fr.left, fr.top);
        auto add = [&](QPoint from, QPoint to, ColorKey c) {
            QPoint a = gridPixel(v, from), b = gridPixel(v, to);
            if (clipSegment(a, b, fr.left, fr.top, fr.right, fr.bottom))
                segments.append({a - corner, b - corner, c});
        };
        if (o.backStitches)
            for (const TBackStitch& b : doc.DesignBackStitches)
                add(b.FromPoint, b.ToPoint, b.Color);
        if (o.rhodes)
            for (const auto& r : doc.DesignRhodes)
                for (const TBackStitch& s : r->stitches)
                    add(s.FromPoint, s.ToPoint, r->color);
        if (!segments.isEmpty()) {
            real.drawBackStitches(bitmap, segments,
                                  st.backStitchProgress ? *st.backStitchProgress
                                                        : std::function<void(int, int)>());
            p.drawImage(at, bitmap);
        }
    }
    if (o.rhodes)
        for (const TFrenchKnot& k : doc.DesignFrenchKnots)
            if (knotOnPage(pg, k.Center))
                real.drawFrenchKnot(p, gridPixel(v, k.Center) + QPoint(fr.ox, fr.oy), k.Color);
}

} // namespace

bool clipSegment(QPoint& p1, QPoint& p2, int left, int top, int right, int bottom)
{
    enum { kInside = 0, kBelow = 1, kAbove = 2, kRight = 4, kLeft = 8 };
    auto code = [&](QPoint q) {
        int c = kInside;
        if (q.y() > bottom)
            c |= kBelow;
        else if (q.y() < top)
            c |= kAbove;
        if (q.x() > right)
            c |= kRight;
        else if (q.x() < left)
            c |= kLeft;
        return c;
    };
    int c1 = code(p1), c2 = code(p2);
    for (;;) {
        if ((c1 | c2) == 0)
            return true;
        if (c1 & c2)
            return false;
        const int out = c1 ? c1 : c2;
        const qint64 x1 = p1.x(), y1 = p1.y(), x2 = p2.x(), y2 = p2.y();
        qint64 x = 0, y = 0;
        if (out & kBelow) {
            y = bottom;
            x = x1 + (x2 - x1) * (y - y1) / (y2 - y1);
        } else if (out & kAbove) {
            y = top;
            x = x1 + (x2 - x1) * (y - y1) / (y2 - y1);
        } else if (out & kRight) {
            x = right;
            y = y1 + (y2 - y1) * (x - x1) / (x2 - x1);
        } else {
            x = left;
            y = y1 + (y2 - y1) * (x - x1) / (x2 - x1);
        }
        if (out == c1) {
            p1 = QPoint(int(x), int(y));
            c1 = code(p1);
        } else {
            p2 = QPoint(int(x), int(y));
            c2 = code(p2);
        }
    }
}

void drawChartPage(PagePainter::State& st)
{
    const TMyPage& pg = *st.page;
    const TPrintOptions& o = st.opt();
    const PatternDocument& doc = st.ctx.doc;
    QPainter& p = st.painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    // A page without cells (key entries continued beside the chart) holds no chart.
    const bool cells = pg.cellsX > 0 && pg.cellsY > 0;
    if (cells && st.real) {
        drawRealChart(st);
        p.restore();
        st.target.markUsed();
        return;
    }
    if (cells && !o.realMode)
        drawGrid(st);
    if (cells && (pg.PrintStitches != psBackStitchOnly || o.realMode)) {
        drawCells(st);
        drawQuarters(st);
    }
    if (cells && (pg.PrintStitches == psBackStitchOnly || pg.PrintStitches == psBoth)
        && hasBackOrRhodes(doc))
        drawBackStitches(st);
    if (cells && o.rhodes && !doc.DesignFrenchKnots.isEmpty())
        drawFrenchKnots(st);
    p.restore();
    st.target.markUsed();
}
