#include "ChartView.h"

#include "ChartOverlay.h"
#include "ZoomList.h"
#include "core/PatternDocument.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace {

inline TColor32* rowOf(QImage& img, int y)
{
    return reinterpret_cast<TColor32*>(img.bits() + qsizetype(y) * img.bytesPerLine());
}

inline const TColor32* rowOf(const QImage& img, int y)
{
    return reinterpret_cast<const TColor32*>(img.constBits() + qsizetype(y) * img.bytesPerLine());
}

} // namespace

ChartView::ChartView(PatternDocument& document, QObject* parent)
    : QObject(parent), m_doc(document)
{
    m_image = QImage(1, 1, QImage::Format_RGB32);
    m_image.fill(kOutsideColor);
    updateCellSize();
    connect(&m_doc, &PatternDocument::cellsChanged, this, [this](const QRect& c) { repaintCells(c); });
    connect(&m_doc, &PatternDocument::quartersChanged, this,
            [this](const QRect& q) { repaintQuarters(q); });
    // A design reset repaints everything, the stitches included.
    connect(&m_doc, &PatternDocument::stitchesChanged, this, [this] { repaintAll(); });
    connect(&m_doc, &PatternDocument::designReset, this, [this] { designReset(); });
    // A colour that became used or unused may have taken another character: look the
    // symbols up again on the next paint (the stamps themselves stay).
    connect(&m_doc, &PatternDocument::colorListChanged, this, [this] { m_stamps.forgetColors(); });
    connect(&m_doc.stitch(), &TStitch::drawcolorChanged, this, [this] {
        if (m_highlight)
            repaintAll();
    });
}

ChartView::~ChartView() = default;

// ---------------------------------------------------------------------------------------------
// State

void ChartView::updateCellSize()
{
    m_cell = m_doc.SetCellWidthAndHeight(m_zoom);
}

void ChartView::setViewportSize(QSize area)
{
    const QSize size(qMax(1, area.width() + 1), qMax(1, area.height() + 1));
    if (size != m_image.size())
        m_image = QImage(size, QImage::Format_RGB32);
    repaintAll();
}

void ChartView::setZoom(int value)
{
    m_zoom = qBound(ZoomList::kMinimum, value, ZoomList::kMaximum);
    updateCellSize();
    repaintAll();
}

void ChartView::zoomIn()
{
    setZoom(ZoomList::zoomIn(m_zoom));
}

void ChartView::zoomOut()
{
    setZoom(ZoomList::zoomOut(m_zoom));
}

QString ChartView::zoomCaption() const
{
    return ZoomList::caption(m_zoom);
}

int ChartView::zoomIndex() const
{
    return ZoomList::indexOf(m_zoom);
}

int ChartView::hScrollMaximum() const
{
    return qMax(0, m_doc.width() - 1);
}

int ChartView::vScrollMaximum() const
{
    return qMax(0, m_doc.height() - 1);
}

void ChartView::setScrollPosition(QPoint firstCell)
{
    const QPoint scroll(qBound(0, firstCell.x(), hScrollMaximum()),
                        qBound(0, firstCell.y(), vScrollMaximum()));
    if (scroll == m_scroll)
        return;
    m_scroll = scroll;
    repaintAll();
}

void ChartView::setVisibility(bool grid, bool symbols)
{
    m_symbolsVisible = symbols;
    m_gridVisible = grid;
    repaintAll();
}

bool ChartView::symbolLayerShown() const
{
    return m_symbolsVisible && m_zoom >= kSymbolsMinZoom;
}

void ChartView::setBackStitchesVisible(bool on)
{
    m_backStitchesVisible = on;
    repaintAll();
}

void ChartView::setHighlightActive(bool on)
{
    m_highlight = on;
    repaintAll();
}

TColor32 ChartView::fadedColor(ColorKey color)
{
    const quint32 g = (kRedOf(color) + kGreenOf(color) + kBlueOf(color)) / 12 + 192;
    return 0xFF000000u | (g << 16) | (g << 8) | g;
}

void ChartView::setGhostOverlay(ChartOverlay* overlay)
{
    m_ghost = overlay;
    repaintAll();
}

void ChartView::setPreviewOverlay(ChartOverlay* overlay)
{
    m_preview = overlay;
    repaintAll();
}

void ChartView::setStitchPreviewOverlay(ChartOverlay* overlay)
{
    m_stitchPreview = overlay;
    repaintAll();
}

void ChartView::setSelectionOverlay(ChartOverlay* overlay)
{
    m_selection = overlay;
    repaintAll();
}

CommandStates ChartView::ResetGUI()
{
    m_doc.setColorSortMode(PatternDocument::csPalette);
    m_highlight = false;
    m_scroll = QPoint();
    m_symbolsVisible = false;
    m_gridVisible = true;
    return GuiStates::reset();
}

CommandStates ChartView::UpdateGUI(const GuiContext& context)
{
    setVisibility(m_gridVisible, m_symbolsVisible);
    return GuiStates::update(context);
}

ChartGeometry ChartView::geometry() const
{
    ChartGeometry g;
    g.cell = m_cell;
    g.scroll = m_scroll;
    g.design = QSize(m_doc.width(), m_doc.height());
    g.image = m_image.size();
    return g;
}

void ChartView::designReset()
{
    // Every recorded or undone action ends with this notice too. A glyph's stamp depends only
    // on the font and the cell size, which the stamps check on every paint; only the colours'
    // characters may have changed. Rendering every glyph again made each action's repaint
    // cost a few hundred milliseconds on a design of many colours.
    m_stamps.forgetColors();
    updateCellSize();
    m_scroll = QPoint(qBound(0, m_scroll.x(), hScrollMaximum()), qBound(0, m_scroll.y(), vScrollMaximum()));
    repaintAll();
}

void ChartView::symbolsChanged()
{
    m_stamps.clear();
    repaintAll();
}

// ---------------------------------------------------------------------------------------------
// Repainting

QRect ChartView::repaintAll()
{
    return repaintRect(m_image.rect());
}

QRect ChartView::repaintCells(const QRect& cells)
{
    return repaintRect(geometry().cellsRect(cells));
}

QRect ChartView::repaintQuarters(const QRect& quarters)
{
    return repaintRect(geometry().quartersRect(quarters));
}

QRect ChartView::repaintRect(const QRect& viewRect)
{
    const QRect r = viewRect & m_image.rect();
    if (r.isEmpty())
        return r;
    const ChartGeometry g = geometry();
    // Grey beyond the design's edge; the cells cover the rest.
    const QRect design = g.designArea();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        TColor32* row = rowOf(m_image, y);
        const int from = y < design.height() ? qMax(r.left(), design.width()) : r.left();
        if (from <= r.right())
            std::fill(row + from, row + r.right() + 1, kOutsideColor);
    }
    drawCells(r, g);
    drawFrenchKnots(r, g);
    if (m_backStitchesVisible)
        drawBackStitches(r, g);
    drawQuarters(r, g);
    if (m_gridVisible)
        drawGrid(r, g);
    if (symbolLayerShown())
        drawSymbols(r, g);
    if (m_ghost)
        m_ghost->paint(m_image, r, g);
    if (m_preview)
        m_preview->paint(m_image, r, g);
    if (m_stitchPreview)
        m_stitchPreview->paint(m_image, r, g);
    if (m_selection)
        m_selection->paint(m_image, r, g);
    emit repainted(r);
    return r;
}

TColor32 ChartView::shown(TColor32 raw) const
{
    if (raw == m_doc.stitch().BackGroundColor || !m_highlight)
        return raw | 0xFF000000u;
    const ColorKey key = pixelToKey(raw);
    return key == m_doc.stitch().drawcolor() ? (raw | 0xFF000000u) : fadedColor(key);
}

// Every cell as a solid block of its colour: one expanded row per cell row, copied to each
// of the cell's view rows.
void ChartView::drawCells(const QRect& r, const ChartGeometry& g)
{
    const QRect a = g.designArea() & r;
    if (a.isEmpty())
        return;
    const int cw = g.cw(), ch = g.ch(), h = g.scroll.x(), v = g.scroll.y();
    const int cx0 = h + a.left() / cw, cx1 = h + a.right() / cw;
    const int cy0 = v + a.top() / ch, cy1 = v + a.bottom() / ch;
    std::vector<TColor32> buf(size_t(a.width()));
    for (int cy = cy0; cy <= cy1; ++cy) {
        const TColor32* src = rowOf(m_doc.CrossCells, cy);
        TColor32 lastRaw = ~src[cx0], lastShown = 0;
        for (int cx = cx0; cx <= cx1; ++cx) {
            if (src[cx] != lastRaw) {
                lastRaw = src[cx];
                lastShown = shown(lastRaw);
            }
            const int x0 = qMax(a.left(), (cx - h) * cw), x1 = qMin(a.right() + 1, (cx - h + 1) * cw);
            std::fill(buf.data() + (x0 - a.left()), buf.data() + (x1 - a.left()), lastShown);
        }
        const int y0 = qMax(a.top(), (cy - v) * ch), y1 = qMin(a.bottom() + 1, (cy - v + 1) * ch);
        for (int y = y0; y < y1; ++y)
            std::memcpy(rowOf(m_image, y) + a.left(), buf.data(), buf.size() * sizeof(TColor32));
    }
}

// A knot centred at view pixel c is a filled disc of radius cell width div 2 in the box from
// (c.x - r + 2, c.y - r + 2) to (c.x + r - 1, c.y + r - 1), right and bottom edges excluded.
void ChartView::paintFrenchKnot(QImage& target, QPoint c, int cellWidth, TColor32 ink,
                                const QRect& clip)
{
    const int rad = cellWidth / 2;
    const int x1 = c.x() - rad + 2, y1 = c.y() - rad + 2;
    const int x2 = c.x() + rad - 1, y2 = c.y() + rad - 1;
    const QRect box = QRect(QPoint(x1, y1), QPoint(x2 - 1, y2 - 1)) & clip & target.rect();
    if (box.isEmpty())
        return;
    const double cx = (x1 + x2) / 2.0, cy = (y1 + y2) / 2.0;
    const double rx = (x2 - x1) / 2.0, ry = (y2 - y1) / 2.0;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        const double dy = (y + 0.5 - cy) / ry;
        TColor32* row = rowOf(target, y);
        for (int x = box.left(); x <= box.right(); ++x) {
            const double dx = (x + 0.5 - cx) / rx;
            if (dx * dx + dy * dy <= 1.0)
                row[x] = ink;
        }
    }
}

void ChartView::drawFrenchKnots(const QRect& r, const ChartGeometry& g)
{
    for (const TFrenchKnot& k : m_doc.DesignFrenchKnots)
        paintFrenchKnot(m_image, g.gridPoint(k.Center), g.cw(), keyToOpaquePixel(k.Color), r);
}

// Back stitches in list order with a 5-pixel pen, then the stitches of placed Rhodes
// stitches with a 3-pixel pen, round-ended and without antialiasing.
void ChartView::drawBackStitches(const QRect& r, const ChartGeometry& g)
{
    if (m_doc.DesignBackStitches.isEmpty() && m_doc.DesignRhodes.empty())
        return;
    // The painter is opened only when a stitch reaches the region: a one-cell repaint
    // mostly touches none.
    std::optional<QPainter> p;
    const ColorKey draw = m_doc.stitch().drawcolor();
    auto line = [&](const TBackStitch& s, ColorKey color, int width) {
        const QPoint a = g.gridPoint(s.FromPoint), b = g.gridPoint(s.ToPoint);
        const int m = width / 2 + 1;
        if (!QRect(a, b).normalized().adjusted(-m, -m, m, m).intersects(r))
            return;
        if (!p) {
            p.emplace(&m_image);
            p->setClipRect(r);
            p->setRenderHint(QPainter::Antialiasing, false);
        }
        const TColor32 c = (m_highlight && color != draw) ? fadedColor(color) : keyToOpaquePixel(color);
        p->setPen(QPen(QColor::fromRgb(c), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p->drawLine(a, b);
    };
    for (const TBackStitch& s : m_doc.DesignBackStitches)
        line(s, s.Color, kBackStitchPen);
    for (const auto& rhode : m_doc.DesignRhodes) {
        for (const TBackStitch& s : rhode->stitches)
            line(s, rhode->color, kRhodesPen);
    }
}

// Quarter stitches as blocks of half a cell; empty quarters let the layers below show.
void ChartView::drawQuarters(const QRect& r, const ChartGeometry& g)
{
    const QRect a = g.designArea() & r;
    if (a.isEmpty())
        return;
    const QImage& q = m_doc.QuarterCells;
    const TColor32 bg = m_doc.stitch().BackGroundColor;
    const int ox = g.scroll.x() * g.cw(), oy = g.scroll.y() * g.ch();
    std::vector<int> qxOf(size_t(a.width()));
    for (int i = 0; i < a.width(); ++i)
        qxOf[size_t(i)] = (2 * (a.left() + i + ox) + 1) / g.cw();
    const int qx0 = qxOf.front(), qx1 = qxOf.back();
    std::vector<TColor32> buf(size_t(a.width()));
    int lastQy = -1;
    bool any = false;
    for (int y = a.top(); y <= a.bottom(); ++y) {
        const int qy = (2 * (y + oy) + 1) / g.ch();
        if (qy != lastQy) {
            lastQy = qy;
            const TColor32* src = rowOf(q, qy);
            any = false;
            for (int qx = qx0; qx <= qx1 && !any; ++qx)
                any = src[qx] != bg;
            if (any) {
                TColor32 lastRaw = bg, lastShown = 0; // 0 marks an empty quarter
                for (int i = 0; i < a.width(); ++i) {
                    const TColor32 raw = src[qxOf[size_t(i)]];
                    if (raw != lastRaw) {
                        lastRaw = raw;
                        lastShown = raw == bg ? 0 : shown(raw);
                    }
                    buf[size_t(i)] = lastShown;
                }
            }
        }
        if (!any)
            continue;
        TColor32* dst = rowOf(m_image, y) + a.left();
        for (int i = 0; i < a.width(); ++i) {
            if (buf[size_t(i)])
                dst[i] = buf[size_t(i)];
        }
    }
}

// A grey line along the left and top edge of every cell of the visible design; nothing
// beyond the design.
void ChartView::drawGrid(const QRect& r, const ChartGeometry& g)
{
    const QRect a = g.designArea() & r;
    if (a.isEmpty())
        return;
    const int cw = g.cw(), ch = g.ch();
    const int firstX = (a.left() + cw - 1) / cw * cw;
    for (int y = a.top(); y <= a.bottom(); ++y) {
        TColor32* row = rowOf(m_image, y);
        if (y % ch == 0) {
            std::fill(row + a.left(), row + a.right() + 1, kGridColor);
            continue;
        }
        for (int x = firstX; x <= a.right(); x += cw)
            row[x] = kGridColor;
    }
}

// Each non-empty cell's symbol at the cell's top-left corner, then each non-empty
// quarter's smaller symbol at the quarter's corner, clipped to the cell or quarter.
void ChartView::drawSymbols(const QRect& r, const ChartGeometry& g)
{
    const QRect a = g.designArea() & r;
    if (a.isEmpty())
        return;
    const TStitch& st = m_doc.stitch();
    const TColor32 bg = st.BackGroundColor;
    m_stamps.configure(st.chars.fontname(), g.cell);
    const int cw = g.cw(), ch = g.ch(), h = g.scroll.x(), v = g.scroll.y();

    const int cx0 = h + a.left() / cw, cx1 = h + a.right() / cw;
    const int cy0 = v + a.top() / ch, cy1 = v + a.bottom() / ch;
    for (int cy = cy0; cy <= cy1; ++cy) {
        const TColor32* src = rowOf(m_doc.CrossCells, cy);
        TColor32 lastRaw = bg;
        ColorStamp stamp;
        for (int cx = cx0; cx <= cx1; ++cx) {
            const TColor32 raw = src[cx];
            if (raw == bg)
                continue;
            if (raw != lastRaw) {
                lastRaw = raw;
                stamp = m_stamps.cellStamp(pixelToKey(raw), st);
            }
            SymbolStamps::blit(m_image, stamp, (cx - h) * cw, (cy - v) * ch, a);
        }
    }

    const QPoint q0 = g.quarterAt(a.topLeft()), q1 = g.quarterAt(a.bottomRight());
    for (int qy = q0.y(); qy <= q1.y(); ++qy) {
        const TColor32* src = rowOf(m_doc.QuarterCells, qy);
        for (int qx = q0.x(); qx <= q1.x(); ++qx) {
            const TColor32 raw = src[qx];
            if (raw == bg)
                continue;
            const QRect clip = g.quarterRect(qx, qy) & a;
            if (!clip.isEmpty())
                SymbolStamps::blit(m_image, m_stamps.quarterStamp(pixelToKey(raw), st),
                                   g.quarterX(qx), g.quarterY(qy), clip);
        }
    }
}
