#include "StitchPreview.h"

#include <QImage>
#include <QPainter>

QRect StitchPreview::viewBounds(const ChartGeometry& g) const
{
    QRect r;
    const int m = m_pen / 2 + 2;
    for (const QLine& l : m_lines)
        r |= QRect(g.gridPoint(l.p1()), g.gridPoint(l.p2())).normalized().adjusted(-m, -m, m, m);
    return r;
}

QRect StitchPreview::setLines(const QList<QLine>& gridLines, ColorKey color, int penWidth,
                              const ChartGeometry& g)
{
    const QRect before = viewBounds(g);
    m_lines = gridLines;
    m_color = color;
    m_pen = qMax(1, penWidth);
    return before | viewBounds(g);
}

QRect StitchPreview::clear(const ChartGeometry& g)
{
    const QRect before = viewBounds(g);
    m_lines.clear();
    return before;
}

void StitchPreview::paint(QImage& target, const QRect& clip, const ChartGeometry& g)
{
    if (m_lines.isEmpty() || !viewBounds(g).intersects(clip))
        return;
    QPainter p(&target);
    p.setClipRect(clip);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(keyToQColor(m_color), m_pen, Qt::SolidLine, Qt::RoundCap));
    for (const QLine& l : m_lines)
        p.drawLine(g.gridPoint(l.p1()), g.gridPoint(l.p2()));
}
