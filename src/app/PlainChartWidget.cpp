#include "PlainChartWidget.h"

#include "core/ColorTypes.h"
#include "core/PatternDocument.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

PlainChartWidget::PlainChartWidget(PatternDocument& document, QWidget* parent)
    : QWidget(parent), m_document(document)
{
    setObjectName(QStringLiteral("PlainChart"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(&m_document, &PatternDocument::cellsChanged, this, &PlainChartWidget::cellsChanged);
    connect(&m_document, &PatternDocument::designReset, this, &PlainChartWidget::designChanged);
    designChanged();
}

void PlainChartWidget::setGridVisible(bool on)
{
    if (m_grid == on)
        return;
    m_grid = on;
    update();
}

QSize PlainChartWidget::cellSize() const
{
    const QSize s = m_document.cellSize;
    return QSize(qMax(1, s.width()), qMax(1, s.height()));
}

QRect PlainChartWidget::cellRect(int x, int y) const
{
    const QSize c = cellSize();
    return QRect(x * c.width(), y * c.height(), c.width(), c.height());
}

QSize PlainChartWidget::sizeHint() const
{
    const QSize c = cellSize();
    return QSize(m_document.width() * c.width() + 1, m_document.height() * c.height() + 1);
}

void PlainChartWidget::designChanged()
{
    resize(sizeHint());
    update();
}

void PlainChartWidget::cellsChanged(const QRect& cells)
{
    const QSize c = cellSize();
    update(QRect(cells.x() * c.width(), cells.y() * c.height(), cells.width() * c.width() + 1,
                 cells.height() * c.height() + 1));
}

void PlainChartWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    const QRect area = event->rect();
    const QSize c = cellSize();
    const int w = m_document.width(), h = m_document.height();
    const QRect design(0, 0, w * c.width() + 1, h * c.height() + 1);

    // Beyond the design.
    const QRegion outside = QRegion(area) - QRegion(design);
    for (const QRect& r : outside)
        p.fillRect(r, outsideColor());
    const QRect visible = area & design;
    if (visible.isEmpty() || w == 0 || h == 0)
        return;

    const TColor32 background = m_document.stitch().BackGroundColor;
    // Grid lines show where the cells leave a pixel free on their top and left.
    p.fillRect(visible, m_grid ? gridColor() : QColor::fromRgba(background));
    const int inset = m_grid ? 1 : 0;

    const int x0 = qBound(0, visible.left() / c.width(), w - 1);
    const int x1 = qBound(0, visible.right() / c.width(), w - 1);
    const int y0 = qBound(0, visible.top() / c.height(), h - 1);
    const int y1 = qBound(0, visible.bottom() / c.height(), h - 1);
    const QImage& cells = m_document.CrossCells;
    for (int y = y0; y <= y1; ++y) {
        const auto* row = reinterpret_cast<const TColor32*>(cells.constScanLine(y));
        for (int x = x0; x <= x1; ++x) {
            const TColor32 raw = row[x];
            const QColor color = raw == background ? QColor::fromRgba(raw)
                                                   : keyToQColor(pixelToKey(raw));
            p.fillRect(x * c.width() + inset, y * c.height() + inset, c.width() - inset,
                       c.height() - inset, color);
        }
    }
}

void PlainChartWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QSize c = cellSize();
    const QPoint pos = event->position().toPoint();
    const int x = pos.x() / c.width(), y = pos.y() / c.height();
    if (pos.x() >= 0 && pos.y() >= 0 && x < m_document.width() && y < m_document.height())
        emit pointerMoved(x, y);
    QWidget::mouseMoveEvent(event);
}
