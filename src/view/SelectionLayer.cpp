#include "SelectionLayer.h"

#include "ChartView.h"

#include <QPainter>
#include <algorithm>

namespace {

TColor32* rowOf(QImage& img, int y)
{
    return reinterpret_cast<TColor32*>(img.scanLine(y));
}

const TColor32 kBlack = 0xFF000000u;
const TColor32 kWhite = 0xFFFFFFFFu;
const TColor32 kHandle = 0xFFE00000u;

// The reach of the widest stitch pen beyond a block's cells.
int penMargin()
{
    return ChartView::kBackStitchPen / 2 + 1;
}

void fill(QImage& target, const QRect& r, TColor32 value)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        TColor32* row = rowOf(target, y);
        std::fill(row + r.left(), row + r.right() + 1, value);
    }
}

} // namespace

QRect SelectionLayer::setFrame(const QRect& cells, const ChartGeometry& g)
{
    const QRect old = frameBounds(g);
    m_frame = cells;
    return old | frameBounds(g);
}

QRect SelectionLayer::setBlock(FloatingPicture picture, QPoint topLeft, const ChartGeometry& g)
{
    const QRect old = blockBounds(g);
    m_block = std::move(picture);
    m_topLeft = topLeft;
    return old | blockBounds(g);
}

QRect SelectionLayer::clearBlock(const ChartGeometry& g)
{
    const QRect old = blockBounds(g);
    m_block = FloatingPicture();
    return old;
}

QRect SelectionLayer::moveBlock(QPoint topLeft, const ChartGeometry& g)
{
    const QRect old = blockBounds(g);
    m_topLeft = topLeft;
    return old | blockBounds(g);
}

QList<QRect> SelectionLayer::advanceDashes(const ChartGeometry& g)
{
    m_phase = (m_phase + 1) % kPhases;
    if (m_frame.isEmpty())
        return {};
    const QRect f = framePixels(g);
    return {QRect(f.left(), f.top(), f.width(), 1), QRect(f.left(), f.bottom(), f.width(), 1),
            QRect(f.left(), f.top(), 1, f.height()), QRect(f.right(), f.top(), 1, f.height())};
}

bool SelectionLayer::dashBlack(int along) const
{
    const int period = 2 * kDash;
    const int s = ((along - m_phase * period / kPhases) % period + period) % period;
    return s < kDash;
}

QRect SelectionLayer::framePixels(const ChartGeometry& g) const
{
    const QRect cells = g.cellsRect(m_frame);
    // Both grid lines that bound the selection: the last pixel is the next cell's first.
    return QRect(cells.topLeft(), cells.bottomRight() + QPoint(1, 1));
}

QRect SelectionLayer::frameBounds(const ChartGeometry& g) const
{
    if (m_frame.isEmpty())
        return {};
    const int m = kHandleRadius + 1;
    return framePixels(g).adjusted(-m, -m, m, m);
}

QRect SelectionLayer::blockBounds(const ChartGeometry& g) const
{
    if (!hasBlock())
        return {};
    const int m = qMax(penMargin(), g.cw() / 2 + 1);
    return g.cellsRect(QRect(m_topLeft, m_block.cells.size())).adjusted(-m, -m, m, m);
}

void SelectionLayer::paint(QImage& target, const QRect& clip, const ChartGeometry& g)
{
    const QRect area = clip & target.rect();
    if (area.isEmpty())
        return;
    if (hasBlock() && blockBounds(g).intersects(area))
        paintBlock(target, area, g);
    if (!m_frame.isEmpty() && frameBounds(g).intersects(area))
        paintFrame(target, area, g);
}

void SelectionLayer::paintBlock(QImage& target, const QRect& clip, const ChartGeometry& g) const
{
    const int cw = g.cw(), ch = g.ch();
    const QRect block(m_topLeft, m_block.cells.size());
    const QPoint origin = g.cellRect(m_topLeft.x(), m_topLeft.y()).topLeft();

    // Only the cells that meet the clip are looked at.
    const QRect cells = QRect(g.cellAt(clip.topLeft()), g.cellAt(clip.bottomRight())) & block;
    if (!cells.isEmpty()) {
        for (int y = cells.top(); y <= cells.bottom(); ++y) {
            const TColor32* src = reinterpret_cast<const TColor32*>(
                m_block.cells.constScanLine(y - m_topLeft.y()));
            for (int x = cells.left(); x <= cells.right(); ++x) {
                const TColor32 v = src[x - m_topLeft.x()];
                if (v != m_block.empty)
                    fill(target, g.cellRect(x, y) & clip, v | 0xFF000000u);
            }
        }
        // Quarter (qx, qy) of the block covers ((cw qx) div 2, (ch qy) div 2) up to the next.
        const QRect quarters(2 * (cells.left() - m_topLeft.x()), 2 * (cells.top() - m_topLeft.y()),
                             2 * cells.width(), 2 * cells.height());
        for (int qy = quarters.top(); qy <= quarters.bottom(); ++qy) {
            const TColor32* src = reinterpret_cast<const TColor32*>(m_block.quarters.constScanLine(qy));
            for (int qx = quarters.left(); qx <= quarters.right(); ++qx) {
                const TColor32 v = src[qx];
                if (v == m_block.empty)
                    continue;
                const QRect r(QPoint(origin.x() + cw * qx / 2, origin.y() + ch * qy / 2),
                              QPoint(origin.x() + cw * (qx + 1) / 2 - 1, origin.y() + ch * (qy + 1) / 2 - 1));
                fill(target, r & clip, v | 0xFF000000u);
            }
        }
    }

    auto at = [&](QPoint p) { return origin + QPoint(cw * p.x() / 2, ch * p.y() / 2); };
    if (!m_block.backStitches.isEmpty() || !m_block.rhodeStitches.isEmpty()) {
        QPainter p(&target);
        p.setClipRect(clip);
        p.setRenderHint(QPainter::Antialiasing, false);
        auto line = [&](const TBackStitch& s, int width) {
            const QPoint a = at(s.FromPoint), b = at(s.ToPoint);
            const int m = width / 2 + 1;
            if (!QRect(a, b).normalized().adjusted(-m, -m, m, m).intersects(clip))
                return;
            p.setPen(QPen(QColor::fromRgb(keyToOpaquePixel(s.Color)), width, Qt::SolidLine,
                          Qt::RoundCap, Qt::RoundJoin));
            p.drawLine(a, b);
        };
        for (const TBackStitch& s : m_block.backStitches)
            line(s, ChartView::kBackStitchPen);
        for (const TBackStitch& s : m_block.rhodeStitches)
            line(s, ChartView::kRhodesPen);
    }
    for (const TFrenchKnot& k : m_block.knots)
        ChartView::paintFrenchKnot(target, at(k.Center), cw, keyToOpaquePixel(k.Color), clip);
}

void SelectionLayer::paintFrame(QImage& target, const QRect& clip, const ChartGeometry& g) const
{
    const QRect f = framePixels(g);
    auto dot = [&](int x, int y, int along) {
        if (clip.contains(x, y))
            rowOf(target, y)[x] = dashBlack(along) ? kBlack : kWhite;
    };
    for (int x = qMax(f.left(), clip.left()); x <= qMin(f.right(), clip.right()); ++x) {
        dot(x, f.top(), x);
        dot(x, f.bottom(), x);
    }
    for (int y = qMax(f.top(), clip.top()); y <= qMin(f.bottom(), clip.bottom()); ++y) {
        dot(f.left(), y, y);
        dot(f.right(), y, y);
    }
    // Red handles with a dark rim at the corners and the middles of the edges.
    const int xs[] = {f.left(), (f.left() + f.right()) / 2, f.right()};
    const int ys[] = {f.top(), (f.top() + f.bottom()) / 2, f.bottom()};
    const int r = kHandleRadius;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            if (row == 1 && col == 1)
                continue;
            const QRect handle(xs[col] - r, ys[row] - r, 2 * r + 1, 2 * r + 1);
            fill(target, handle & clip, kBlack);
            fill(target, handle.adjusted(1, 1, -1, -1) & clip, kHandle);
        }
}
