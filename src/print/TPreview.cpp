#include "TPreview.h"

#include <QColor>
#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Floor of a / b for doubles; 0 when b is not positive (a page too small for anything).
qint32 floorDiv(double a, double b)
{
    return b > 0 ? qint32(std::floor(a / b)) : 0;
}

// Integer division of a non-negative count; negative dividends count as 0.
qint32 intDiv(qint32 a, qint32 b)
{
    return b > 0 && a > 0 ? a / b : 0;
}

qint32 ceilDiv(qint32 a, qint32 b)
{
    return b > 0 && a > 0 ? (a + b - 1) / b : 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Page metrics

void TPreview::setPrinterMetrics(const TPageDevice& device, const TPrintOptions& options,
                                 const TLayoutInput& input)
{
    pagewidthmm = Rnd(device.widthMM);
    pageheightmm = Rnd(device.heightMM);
    pixelsPerInch = device.pixelsPerInch;
    pagewidthmmReal = pagewidthmm;
    pageheightmmReal = pageheightmm;
    pagewidth = pagewidthReal = device.widthPx;
    pageheight = pageheightReal = device.heightPx;

    const double px = pagewidthmm > 0 ? double(pagewidth) / pagewidthmm : 0;
    const double py = pageheightmm > 0 ? double(pageheight) / pageheightmm : 0;
    if (options.pageNumbers) {
        // A 10 mm strip at the bottom stays free for the page number.
        pageheightmm -= 10;
        pageheight -= Rnd(py * 10);
    }
    if (options.inlineBorder) {
        inlineBorderPX = QRect(Rnd(input.borderLeft * px), Rnd(input.borderTop * py),
                               Rnd(input.borderRight * px), Rnd(input.borderBottom * py));
        pageheightmm -= input.borderTop + input.borderBottom;
        pageheight -= Rnd((input.borderTop + input.borderBottom) * py);
        pagewidthmm -= input.borderLeft + input.borderRight;
        pagewidth -= Rnd((input.borderLeft + input.borderRight) * px);
    }
}

void TPreview::setExportMetrics(const TPrintOptions& options, const TLayoutInput& input)
{
    // The picture counts as one millimetre per pixel, so the border settings count as pixels.
    pagewidthmm = pagewidthmmReal = pagewidth = pagewidthReal = input.jpegWidth;
    pageheightmm = pageheightmmReal = pageheight = pageheightReal = input.jpegHeight;
    pixelsPerInch = 72;
    const qint32 k = pagewidthmm > 0 ? Rnd(double(pagewidth) / pagewidthmm) : 1;
    if (options.pageNumbers) {
        pageheightmm -= 10;
        pageheight -= 10 * k;
    }
    if (options.inlineBorder) {
        inlineBorderPX = QRect(input.borderLeft * k, input.borderTop * k, input.borderRight * k,
                               input.borderBottom * k);
        pageheightmm -= input.borderTop + input.borderBottom;
        pageheight -= (input.borderTop + input.borderBottom) * k;
        pagewidthmm -= input.borderLeft + input.borderRight;
        pagewidth -= (input.borderLeft + input.borderRight) * k;
    }
}

// ---------------------------------------------------------------------------------------------
// The run

bool TPreview::calc(const TPrintOptions& options, const TLayoutInput& input)
{
    pages.clear();
    if (options.exportMode)
        setExportMetrics(options, input);
    else
        gridNumbersFlag = options.gridNumbers;
    const TPrintStitches chartKind = options.backStitchesSeparate ? psCrossStitchOnly : psBoth;
    imagewidth = input.width;
    imageheight = input.height;
    useColors = options.useColors;

    // Cell size.
    const double heightFactor = input.knittingMode ? 0.7 : 1.0;
    if (options.exportMode) {
        gridX = gridY = input.jpegGrid;
        mmPx = mmPy = 3.0;
        gridWidthPx = input.jpegGrid;
        gridHeightPx = input.knittingMode ? std::trunc(0.7 * input.jpegGrid) : input.jpegGrid;
    } else {
        gridX = options.gridX / 100.0;
        gridY = options.gridY / 100.0;
        mmPx = pagewidthmm > 0 ? double(pagewidth) / pagewidthmm : 0;
        if (!options.realSize)
            mmPx = std::trunc(mmPx);
        mmPy = pageheightmm > 0 ? double(pageheight) / pageheightmm : 0;
        gridWidthPx = gridX * mmPx;
        gridHeightPx = gridY * mmPy * heightFactor;
    }

    // Derived sizes: a key entry is 60 x 6 mm, the title line 10 mm, the comment block 15 mm
    // and the ruler margin 10 mm at every paper size.
    LegendDistance = Rnd(input.legendDistance * mmPx);
    titleHeightPx = Rnd(10 * mmPx);
    CommentHeightPX = Rnd(15 * mmPx);
    keyWidthPx = Rnd(60 * mmPx);
    keyHeightPx = Rnd(6 * mmPx);
    borderPX = Rnd(10 * mmPx);
    ThickLinesPx = input.thickLines / 100.0 * mmPx;
    MediumLinesPx = input.mediumLines / 100.0 * mmPx;
    ThinLinesPx = input.thinLines / 100.0 * mmPx;
    BackStitchLinesPx = qint32(std::trunc(mmPx * input.backstitchLines / 100.0));
    SymbolSizePX = Rnd((gridHeightPx - 4) * input.symbolSize / 100.0);
    // At least one key column and row per page, so a page narrower than a key entry still
    // takes the key (drawn past its edge) instead of dividing by nothing.
    keyColsPerPage = std::max(1, floorDiv(pagewidth, keyWidthPx));
    keyRowsPerPage = std::max(1, floorDiv(pageheight, keyHeightPx));

    const qint32 W = input.width, H = input.height, n = input.keyCount;
    const qint32 KC = keyColsPerPage, KR = keyRowsPerPage;
    const double gw = gridWidthPx, gh = gridHeightPx;
    const qint32 kw = keyWidthPx, kh = keyHeightPx;
    const qint32 IL = options.inlineBorder ? borderLeftPx() : 0;
    const qint32 IT = options.inlineBorder ? borderTopPx() : 0;
    const bool G = gridNumbersFlag;
    const qint32 bp = G ? borderPX : 0;
    const qint32 header = titleHeightPx + CommentHeightPX;

    // Key places on a page: as many as fit, at most n, and at least one while there are
    // entries, so that no layout leaves the key with no place at all.
    const auto places = [n](qint64 fit) -> qint32 {
        return n > 0 ? qint32(std::clamp<qint64>(fit, 1, n)) : 0;
    };
    // Places in one key row of a page of `cellsX` columns (`pTop`, `pBottom`).
    const auto rowPlaces = [&](qint32 cellsX) {
        return places(options.legendSize ? floorDiv(cellsX * gw, kw) : floorDiv(pagewidth, kw));
    };
    // Places in one key column of a page of `cellsY` rows whose key starts `top` pixels below
    // the usable page's top (`pLeft`, `pRight`).
    const auto columnPlaces = [&](qint32 cellsY, qint32 top) {
        return places(options.legendSize ? floorDiv(cellsY * gh, kh) : intDiv(pageheight - top, kh));
    };
    // Height above the key on a key page.
    const qint32 keyPageTop = (options.legend && !options.design) ? 4 * titleHeightPx
                                                                 : 2 * titleHeightPx;
    // Cells of a page after the first row or column: at least one, so every run ends.
    const auto moreCells = [](qint32 fit, qint32 left) { return std::max(1, std::min(fit, left)); };

    // The first page.
    TMyPage first;
    first.PrintStitches = chartKind;
    first.isLeft = first.isTop = true;
    const qint32 KL = position == pLeft ? kw + LegendDistance : 0;
    const qint32 KT = position == pTop ? kh + LegendDistance : 0;
    first.xOffcetPx = KL;
    first.yOffcetPx = header + KT;
    first.cellsX = std::max(0, std::min(floorDiv(pagewidth - KL - borderPX, gw), W));
    first.cellsY = std::max(0, std::min(floorDiv(pageheight - first.yOffcetPx - borderPX, gh), H));
    first.xOffcetPx += IL;
    first.yOffcetPx += IT;
    first.cellXFirst = first.cellYFirst = 0;
    first.cellXLast = first.cellsX - 1;
    first.cellYLast = first.cellsY - 1;
    first.keyFirst = 0;
    first.keycols = 1;
    switch (position) {
    case pTop:
    case pBottom: first.keycount = rowPlaces(first.cellsX); break;
    case pLeft:
    case pRight: first.keycount = columnPlaces(first.cellsY, header); break;
    case pSeparate: first.keycount = places(floorDiv(pageheight - keyPageTop, kh)); break;
    }
    qint32 R = first.keycount;
    pages[{0, 0}] = first;
    TMyPage cur = first; // the record the next page starts from
    qint32 U = 1, S = 1, o = 0;

    if (position == pTop) {
        qint32 k = 1;
        for (qint32 x0 = first.cellsX; x0 < W; ++k) {
            cur.isLeft = false;
            cur.isTop = true;
            cur.xOffcetPx = IL;
            cur.yOffcetPx = first.yOffcetPx;
            cur.cellsX = moreCells(floorDiv(pagewidth - bp, gw), W - x0);
            cur.cellXFirst = x0;
            cur.cellXLast = x0 + cur.cellsX - 1;
            cur.keycount = rowPlaces(cur.cellsX);
            cur.keyFirst = R;
            R += cur.keycount;
            pages[{k, 0}] = cur;
            x0 += cur.cellsX;
        }
        U = k;
        o = R < 1 ? 0 : ceilDiv(n, R);
        // The first row makes room for o key rows. Its pages keep the ruler margin above the
        // chart, so the margin is taken off whether or not grid numbers are on.
        const qint32 top = header + o * kh + LegendDistance;
        const qint32 cellsY = std::min(floorDiv(pageheight - top - borderPX, gh), H);
        if (cellsY < 0)
            return fallBackToSeparate(options, input);
        for (qint32 c = 0; c < U; ++c) {
            TMyPage& p = pages[{c, 0}];
            p.yOffcetPx = top + IT;
            p.cellsY = cellsY;
            p.cellYFirst = 0;
            p.cellYLast = cellsY - 1;
            p.keycount = rowPlaces(p.cellsX);
            p.keycols = o;
            p.KeyRestart = R;
            cur = p;
        }
        qint32 r = 1;
        for (qint32 y0 = cellsY; y0 < H; ++r) {
            const qint32 rows = moreCells(floorDiv(pageheight - bp, gh), H - y0);
            for (qint32 c = 0; c < U; ++c) {
                const TMyPage above = pages[{c, r - 1}];
                cur.isLeft = above.isLeft;
                cur.xOffcetPx = above.xOffcetPx;
                cur.cellsX = above.cellsX;
                cur.cellXFirst = above.cellXFirst;
                cur.cellXLast = above.cellXLast;
                cur.isTop = false;
                cur.yOffcetPx = IT;
                cur.cellsY = rows;
                cur.cellYFirst = y0;
                cur.cellYLast = y0 + rows - 1;
                pages[{c, r}] = cur;
            }
            y0 += rows;
        }
        S = r;
    } else if (position == pLeft) {
        qint32 k = 1;
        for (qint32 y0 = first.cellsY; y0 < H; ++k) {
            cur.isLeft = true;
            cur.isTop = false;
            cur.xOffcetPx = kw + IL;
            cur.yOffcetPx = IT;
            cur.cellsX = first.cellsX;
            cur.cellsY = moreCells(floorDiv(pageheight - bp, gh), H - y0);
            cur.cellXFirst = 0;
            cur.cellYFirst = y0;
            cur.cellXLast = first.cellXLast;
            cur.cellYLast = y0 + cur.cellsY - 1;
            cur.keycount = columnPlaces(cur.cellsY, 0);
            cur.keycols = 1;
            cur.keyFirst = R;
            R += cur.keycount;
            pages[{0, k}] = cur;
            y0 += cur.cellsY;
        }
        S = k;
        o = R < 1 ? 0 : ceilDiv(n, R);
        // The first column makes room for o key columns; its pages keep the ruler margin left
        // of the chart.
        const qint32 cellsX = std::min(floorDiv(pagewidth - o * kw - borderPX, gw), W);
        if (cellsX < 0)
            return fallBackToSeparate(options, input);
        for (qint32 r = 0; r < S; ++r) {
            TMyPage& p = pages[{0, r}];
            p.xOffcetPx = o * kw + IL;
            p.cellsX = cellsX;
            p.cellXLast = cellsX - 1;
            // Counted as before, from the page's own offset without the inline border (which
            // pageheight already leaves out), so the running count R stays the sum of the
            // counts and no entry falls between two pages.
            p.keycount = columnPlaces(p.cellsY, r == 0 ? header : 0);
            p.keycols = o;
            p.KeyRestart = R;
            cur = p;
        }
        qint32 c = 1;
        for (qint32 x0 = cellsX; x0 < W; ++c) {
            const qint32 cols = moreCells(floorDiv(pagewidth - bp, gw), W - x0);
            for (qint32 r = 0; r < S; ++r) {
                const TMyPage left = pages[{c - 1, r}];
                cur.cellsX = cols;
                cur.cellXFirst = x0;
                cur.cellXLast = x0 + cols - 1;
                cur.isTop = left.isTop;
                cur.yOffcetPx = left.yOffcetPx;
                cur.cellsY = left.cellsY;
                cur.cellYFirst = left.cellYFirst;
                cur.cellYLast = left.cellYLast;
                cur.isLeft = false;
                cur.xOffcetPx = IL;
                pages[{c, r}] = cur;
            }
            x0 += cols;
        }
        U = qint32(pages.size()) / S;
    } else {
        // pRight, pBottom, pSeparate: the first page column, then the columns beside it.
        qint32 k = 1;
        for (qint32 y0 = first.cellsY; y0 < H; ++k) {
            cur.isLeft = true;
            cur.isTop = false;
            cur.xOffcetPx = IL;
            cur.yOffcetPx = IT;
            cur.cellsX = first.cellsX;
            cur.cellsY = moreCells(floorDiv(pageheight - bp, gh), H - y0);
            cur.cellYFirst = y0;
            cur.cellYLast = y0 + cur.cellsY - 1;
            cur.keycols = 1;
            if (position == pRight)
                cur.keycount = columnPlaces(cur.cellsY, header);
            else if (position == pBottom)
                cur.keycount = rowPlaces(cur.cellsX);
            else
                cur.keycount = first.keycount;
            if (position == pRight) {
                cur.keyFirst = R;
                R += cur.keycount;
            }
            pages[{0, k}] = cur;
            y0 += cur.cellsY;
        }
        S = k;
        qint32 c = 1;
        for (qint32 x0 = first.cellsX; x0 < W; ++c) {
            const qint32 cols = moreCells(floorDiv(pagewidth - bp, gw), W - x0);
            qint32 columnCount = 0;
            for (qint32 r = 0; r < S; ++r) {
                const TMyPage left = pages[{c - 1, r}];
                cur.cellsX = cols;
                cur.cellXFirst = x0;
                cur.cellXLast = x0 + cols - 1;
                cur.isLeft = false;
                cur.xOffcetPx = IL;
                cur.isTop = left.isTop;
                cur.yOffcetPx = left.yOffcetPx;
                cur.cellsY = left.cellsY;
                cur.cellYFirst = left.cellYFirst;
                cur.cellYLast = left.cellYLast;
                if (position == pRight) {
                    cur.keycount = left.keycount;
                    cur.keyFirst = left.keyFirst;
                } else if (position == pBottom) {
                    cur.keycount = rowPlaces(cols);
                    if (options.legendSize)
                        cur.keyFirst = R;
                    columnCount = cur.keycount;
                }
                pages[{c, r}] = cur;
            }
            if (position == pBottom)
                R += columnCount;
            x0 += cols;
        }
        U = qint32(pages.size()) / S;
        o = R < 1 ? 0 : ceilDiv(n, R);

        // Chart page `p` at the table's edge holds `fit` of the `o` key lines; the rest go onto
        // key pages of `perPage` lines each: copies of `p` without cells, from table place `at`
        // on to the right (`beside`) or downwards. Returns how many key pages were added.
        const auto placeKeyLines = [&](TMyPage& p, qint32 fit, qint32 perPage, bool beside,
                                       TPagePos at) -> qint32 {
            if (fit >= o) {
                p.keycols = o;
                p.hasKeys = o > 0;
                return 0;
            }
            p.keycols = std::max(fit, 0);
            p.hasKeys = p.keycols > 0;
            const qint32 more = ceilDiv(o - p.keycols, perPage);
            qint32 toPlace = o - p.keycols;
            TMyPage prev = p;
            for (qint32 v = 0; v < more; ++v) {
                TMyPage q = prev;
                q.hasKeys = true;
                (beside ? q.isLeft : q.isTop) = false;
                q.cellsX = q.cellsY = 0;
                q.keyOffset = beside ? IL : IT;
                q.xOffcetPx = IL;
                q.yOffcetPx = IT;
                q.keyFirst = prev.keyFirst + prev.keycols * prev.KeyRestart;
                q.keycols = std::min(perPage, toPlace);
                toPlace -= q.keycols;
                pages[beside ? TPagePos{at.col + v, at.row} : TPagePos{at.col, at.row + v}] = q;
                prev = q;
            }
            return more;
        };

        if (position == pRight) {
            // The key goes right of the last page column; what does not fit there goes onto
            // key pages further right in the same page row.
            const qint32 m = Rnd(10 * mmPx);
            qint32 added = 0;
            for (qint32 r = 0; r < S; ++r) {
                TMyPage& p = pages[{U - 1, r}];
                const double e = m + p.xOffcetPx + p.cellsX * gw + (p.isLeft ? borderPX : 0);
                p.keyOffset = Rnd(e) + LegendDistance;
                p.KeyRestart = R;
                const qint32 f = floorDiv(pagewidth - p.keyOffset, kw);
                added = std::max(added, placeKeyLines(p, f, KC, true, {U, r}));
            }
            U += added;
        } else if (position == pBottom) {
            // The key goes below the last page row; what does not fit goes onto key pages
            // further down in the same page column.
            qint32 added = 0;
            for (qint32 c2 = 0; c2 < U; ++c2) {
                TMyPage& p = pages[{c2, S - 1}];
                const double e = Rnd(10 * mmPx) + p.yOffcetPx + p.cellsY * gh
                    + ((p.isTop || G) ? borderPX : 0);
                p.keyOffset = Rnd(e) + LegendDistance;
                if (options.legendSize) {
                    p.KeyRestart = R;
                } else {
                    p.keyFirst = c2 * p.keycount;
                    p.KeyRestart = p.keycount * U;
                }
                const qint32 f = floorDiv(pageheight - p.keyOffset, kh);
                added = std::max(added, placeKeyLines(p, f, KR, false, {c2, S}));
            }
            S += added;
        } else if (o > 0) {
            // pSeparate: key pages in the column right of the chart.
            const qint32 count = ceilDiv(o, KC);
            for (qint32 g = 0; g < count; ++g) {
                TMyPage q;
                q.PrintStitches = chartKind;
                q.keysOnly = true;
                q.xOffcetPx = IL;
                q.yOffcetPx = keyPageTop + IT;
                q.keycount = places(intDiv(pageheight - keyPageTop, kh));
                q.keycols = std::min(KC, o - g * KC);
                q.keyFirst = g * KC * q.keycount;
                q.KeyRestart = R;
                pages[{U, g}] = q;
            }
            S = std::max(S, count);
        }
    }
    keyLines = o;

    // Back-stitch copies of the chart pages (French knots alone do not ask for them).
    if (options.backStitchesSeparate && input.hasBackOrRhodes) {
        PrintPages copies;
        for (const auto& [pos, p] : pages) {
            if (pos.col < U && pos.row < S) {
                TMyPage q = p;
                q.PrintStitches = psBackStitchOnly;
                copies[{pos.col, pos.row + S}] = q;
            }
        }
        pages.insert(copies.begin(), copies.end());
        S *= 2;
    }

    // Table extent and the extra pages.
    hpages = U + ((position == pSeparate && o > 0) ? 1 : 0);
    vpages = S;
    PrintPages table;
    qint32 shift = 0;
    if (options.title) {
        TMyPage t;
        t.PrintStitches = psBookHeader;
        table[{0, 0}] = t;
        shift = 1;
        vpages += 1;
    }
    for (const auto& [pos, p] : pages)
        table[{pos.col, pos.row + shift}] = p;
    if (options.stitchList) {
        const qint32 a = intDiv(pagewidth, kw);
        const qint32 b = intDiv(pageheight - titleHeightPx, kh);
        const qint32 z = ceilDiv(H + input.stitchListLength + 1, std::max(1, a * b));
        for (qint32 g = 0; g < z; ++g) {
            TMyPage t;
            t.PrintStitches = psStitchList;
            table[{g % hpages, g / hpages + vpages}] = t;
        }
        vpages += ceilDiv(z, hpages);
    }
    if (options.labels && n > 0) {
        const qint32 perSheet = std::max(1, input.labelGridHor * input.labelGridVert);
        for (qint32 i = 0, count = ceilDiv(n, perSheet); i < count; ++i) {
            TMyPage t;
            t.PrintStitches = psLabels;
            table[{0, vpages}] = t;
            vpages += 1;
        }
    }
    if (options.contents) {
        TMyPage t;
        t.PrintStitches = psContents;
        table[{0, vpages}] = t;
        vpages += 1;
    }
    if (options.info) {
        TMyPage t;
        t.PrintStitches = psBookFooter;
        table[{0, vpages}] = t;
        vpages += 1;
    }

    // Filter: drop the kinds of page that are not chosen. Chart pages are told by their kind,
    // so that they go also when they hold no key place (a design without colours).
    for (auto it = table.begin(); it != table.end();) {
        const TMyPage& p = it->second;
        bool drop = false;
        switch (p.PrintStitches) {
        case psBookHeader: drop = !options.title; break;
        case psLabels: drop = !options.labels; break;
        case psBookFooter: drop = !options.info; break;
        case psContents: drop = !options.contents; break;
        case psStitchList: drop = !options.stitchList; break;
        default:
            drop = p.keysOnly ? !options.legend : !options.design;
            break;
        }
        it = drop ? table.erase(it) : std::next(it);
    }

    // Numbering, row by row and left to right within a row.
    pageNumber = 0;
    for (auto& [pos, p] : table)
        p.pageNum = ++pageNumber;
    pages = std::move(table);
    return true;
}

bool TPreview::fallBackToSeparate(const TPrintOptions& options, const TLayoutInput& input)
{
    position = pSeparate;
    calc(options, input);
    return false;
}

qint32 TPreview::tableColumns() const
{
    return hpages + (position == pSeparate ? 1 : 0);
}

bool TPreview::showsKeys(const TMyPage& page) const
{
    switch (position) {
    case pLeft: return isChartPage(page) && page.isLeft;
    case pTop: return isChartPage(page) && page.isTop;
    case pRight:
    case pBottom: return page.hasKeys;
    case pSeparate: return page.keysOnly;
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Thumbnail map

void TPreview::drawThumbnails(QPainter& painter, const QSize& size,
                              const TPrintOptions& options) const
{
    painter.save();
    painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    if (hpages < 1 || vpages < 1 || pageheightReal < 1) {
        painter.restore();
        return;
    }
    qint32 w = size.width() / hpages;
    qint32 h = size.height() / vpages;
    const double lo = std::min(pagewidthmmReal, pageheightmmReal);
    const double hi = std::max(pagewidthmmReal, pageheightmmReal);
    if (lo > 0 && w > 0 && h > 0) {
        const double q = fformat == fLandscape ? hi / lo : lo / hi;
        if (double(w) / h > q)
            w = Rnd(h * q);
        else
            h = Rnd(w / q);
    }
    const double s = double(h) / pageheightReal;
    for (const auto& [pos, page] : pages)
        drawPageThumbnail(painter, page, QRect(pos.col * w, pos.row * h, w, h), s, s, options);
    painter.restore();
}

void TPreview::drawPageThumbnail(QPainter& painter, const TMyPage& page, const QRect& cell,
                                 double scaleX, double scaleY, const TPrintOptions& options) const
{
    painter.save();
    painter.setClipRect(cell);
    const auto sx = [&](double v) { return Rnd(v * scaleX); };
    const auto sy = [&](double v) { return Rnd(v * scaleY); };
    // A page-relative rectangle in pixels, scaled into the cell.
    const auto area = [&](double x, double y, double wd, double ht) {
        return QRect(cell.left() + sx(x), cell.top() + sy(y), sx(wd), sy(ht));
    };

    const QRect paper = cell.adjusted(0, 0, -1, -1);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(paper);
    painter.setPen(Qt::NoPen);
    QRect inner = paper.adjusted(1, 1, 0, 0);
    if (options.inlineBorder)
        inner = inner.adjusted(sx(borderLeftPx()), sy(borderTopPx()), -sx(borderRightPx()),
                               -sy(borderBottomPx()));
    const qint32 il = options.inlineBorder ? borderLeftPx() : 0;
    const qint32 it = options.inlineBorder ? borderTopPx() : 0;

    switch (page.PrintStitches) {
    case psBookHeader:
    case psBookFooter:
    case psContents: painter.fillRect(inner, QColor(0x99, 0x99, 0x99)); break;
    case psStitchList: painter.fillRect(inner, QColor(0xE5, 0xE5, 0xE5)); break;
    case psLabels: painter.fillRect(inner, QColor(0xFF, 0x82, 0x00)); break;
    default: {
        const QColor keyColour(0xFF, 0xDE, 0x24);
        if (page.keysOnly) {
            painter.fillRect(inner, keyColour);
            break;
        }
        if (page.isLeft && page.isTop) {
            painter.fillRect(QRect(inner.left(), inner.top(), cell.width() / 3,
                                   sy(titleHeightPx)),
                             QColor(0xFF, 0x75, 0xB4));
            painter.fillRect(QRect(inner.left(), inner.top() + sy(titleHeightPx),
                                   cell.width() / 2, sy(CommentHeightPX)),
                             QColor(0x11, 0x88, 0xFF));
        }
        if (showsKeys(page)) {
            QRect key;
            switch (position) {
            case pLeft:
                key = area(il, page.yOffcetPx, double(page.keycols) * keyWidthPx,
                           double(page.keycount) * keyHeightPx);
                break;
            case pTop:
                key = area(il, it + titleHeightPx + CommentHeightPX,
                           double(page.keycount) * keyWidthPx, double(page.keycols) * keyHeightPx);
                break;
            case pRight:
                key = area(page.keyOffset,
                           (page.isTop ? titleHeightPx + CommentHeightPX : 0) + it,
                           double(page.keycols) * keyWidthPx, double(page.keycount) * keyHeightPx);
                break;
            case pBottom:
                key = area(il, page.keyOffset, double(page.keycount) * keyWidthPx,
                           double(page.keycols) * keyHeightPx);
                break;
            case pSeparate: break;
            }
            painter.fillRect(key.intersected(inner), keyColour);
        }
        if (page.cellsX > 0 && page.cellsY > 0) {
            const QColor chart = page.PrintStitches == psBackStitchOnly ? QColor(0x8B, 0xAC, 0x2D)
                                                                       : QColor(0x13, 0xB6, 0x01);
            painter.fillRect(area(page.xOffcetPx, page.yOffcetPx, page.cellsX * gridWidthPx,
                                  page.cellsY * gridHeightPx)
                                 .intersected(inner),
                             chart);
        }
        break;
    }
    }

    const qint32 fontHeight = Rnd(cell.height() / 3.0);
    if (fontHeight > 0) {
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPixelSize(fontHeight);
        painter.setFont(font);
        painter.setPen(Qt::blue);
        painter.drawText(cell, Qt::AlignCenter, QString::number(page.pageNum));
    }
    painter.restore();
}
