#include "PreviewLayer.h"

#include <QImage>
#include <algorithm>

QRect PreviewLayer::setCells(const QList<QPoint>& cells, TColor32 pixel)
{
    const QRect old = m_bounds;
    m_bits.clear();
    m_bounds = QRect();
    m_pixel = pixel | 0xFF000000u;
    if (!cells.isEmpty()) {
        int x0 = cells.first().x(), x1 = x0, y0 = cells.first().y(), y1 = y0;
        for (const QPoint& p : cells) {
            x0 = qMin(x0, p.x());
            x1 = qMax(x1, p.x());
            y0 = qMin(y0, p.y());
            y1 = qMax(y1, p.y());
        }
        m_bounds = QRect(QPoint(x0, y0), QPoint(x1, y1));
        m_bits.assign(size_t(qint64(m_bounds.width()) * m_bounds.height()), 0);
        for (const QPoint& p : cells)
            m_bits[size_t(qint64(p.y() - y0) * m_bounds.width() + (p.x() - x0))] = 1;
    }
    return old | m_bounds;
}

QRect PreviewLayer::clear()
{
    const QRect old = m_bounds;
    m_bounds = QRect();
    m_bits.clear();
    return old;
}

bool PreviewLayer::shows(QPoint p) const
{
    return m_bounds.contains(p)
        && m_bits[size_t(qint64(p.y() - m_bounds.top()) * m_bounds.width() + (p.x() - m_bounds.left()))];
}

void PreviewLayer::paint(QImage& target, const QRect& clip, const ChartGeometry& g)
{
    if (m_bounds.isEmpty())
        return;
    // Only the cells that meet the clip are looked at, however large the figure.
    const QPoint first = g.cellAt(clip.topLeft());
    const QPoint last = g.cellAt(clip.bottomRight());
    const QRect cells = QRect(first, last) & m_bounds;
    if (cells.isEmpty())
        return;
    const QRect area = clip & target.rect();
    for (int y = cells.top(); y <= cells.bottom(); ++y) {
        for (int x = cells.left(); x <= cells.right(); ++x) {
            if (!shows(QPoint(x, y)))
                continue;
            const QRect r = g.cellRect(x, y) & area;
            for (int py = r.top(); py <= r.bottom(); ++py) {
                TColor32* row = reinterpret_cast<TColor32*>(target.scanLine(py));
                std::fill(row + r.left(), row + r.right() + 1, m_pixel);
            }
        }
    }
}
