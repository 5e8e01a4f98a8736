#include "ChartWidget.h"

#include "AppCursors.h"
#include "editing/ToolController.h"
#include "view/ChartView.h"
#include "view/ZoomList.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

ChartWidget::ChartWidget(ChartView& view, ToolController& tools, QWidget* parent)
    : QAbstractScrollArea(parent), m_view(view), m_tools(tools)
{
    setObjectName(QStringLiteral("ChartImage"));
    horizontalScrollBar()->setObjectName(QStringLiteral("HScroll"));
    verticalScrollBar()->setObjectName(QStringLiteral("VScroll"));
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFrameShape(QFrame::NoFrame);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    connect(&m_view, &ChartView::repainted, viewport(),
            [this](const QRect& r) { viewport()->update(r); });
    updateScrollRanges();
    setToolCursor(tools.mode());
}

PointerMapping ChartWidget::mapping() const
{
    const QSize cell = m_view.cellSize();
    const QPoint s = m_view.scrollPosition();
    return PointerMapping{cell.width(), cell.height(), s.x(), s.y()};
}

QPoint ChartWidget::scrollPosition() const
{
    return m_view.scrollPosition();
}

void ChartWidget::setScrollPosition(QPoint firstCell)
{
    // The bars clamp; the view follows both at once, so a diagonal scroll repaints once.
    m_updatingBars = true;
    horizontalScrollBar()->setValue(firstCell.x());
    verticalScrollBar()->setValue(firstCell.y());
    m_updatingBars = false;
    m_view.setScrollPosition(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    syncMapping();
}

void ChartWidget::scrollByCells(QPoint cells)
{
    setScrollPosition(scrollPosition() + cells);
}

void ChartWidget::zoomTo(int value, QPoint anchor)
{
    const int old = m_view.zoom();
    const QPoint cell = mapping().cellAt(anchor);
    m_view.setZoom(value);
    updateScrollRanges();
    if (m_view.zoom() != old) {
        const QSize c = m_view.cellSize();
        setScrollPosition(QPoint(cell.x() - anchor.x() / c.width(), cell.y() - anchor.y() / c.height()));
    }
    syncMapping();
}

void ChartWidget::designChanged()
{
    updateScrollRanges();
    syncMapping();
    viewport()->update();
}

void ChartWidget::setToolCursor(TMode mode)
{
    viewport()->setCursor(AppCursors::forMode(mode));
}

void ChartWidget::updateScrollRanges()
{
    // Whole cells: one step per cell, one page per visible screenful.
    m_updatingBars = true;
    const QSize cell = m_view.cellSize();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, m_view.hScrollMaximum());
    v->setRange(0, m_view.vScrollMaximum());
    h->setPageStep(qMax(1, viewport()->width() / qMax(1, cell.width())));
    v->setPageStep(qMax(1, viewport()->height() / qMax(1, cell.height())));
    h->setValue(m_view.scrollPosition().x());
    v->setValue(m_view.scrollPosition().y());
    m_updatingBars = false;
    if (QPoint(h->value(), v->value()) != m_view.scrollPosition())
        m_view.setScrollPosition(QPoint(h->value(), v->value()));
}

void ChartWidget::syncMapping()
{
    m_tools.setMapping(mapping());
}

void ChartWidget::paintEvent(QPaintEvent* event)
{
    QPainter p(viewport());
    const QImage& img = m_view.image();
    const QRect r = event->rect();
    p.drawImage(r.topLeft(), img, r);
    // Pixels beyond the image (the widget grew before the view followed) show the outside grey.
    for (const QRect& part : QRegion(r).subtracted(QRegion(img.rect())))
        p.fillRect(part, QColor::fromRgb(ChartView::kOutsideColor));
}

void ChartWidget::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    m_view.setViewportSize(viewport()->size());
    updateScrollRanges();
    syncMapping();
}

void ChartWidget::scrollContentsBy(int, int)
{
    if (m_updatingBars)
        return;
    m_view.setScrollPosition(QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    syncMapping();
}

void ChartWidget::mousePressEvent(QMouseEvent* event)
{
    // Every button acts as the primary one.
    syncMapping();
    m_tools.mousePress(event->position().toPoint());
    event->accept();
}

void ChartWidget::mouseMoveEvent(QMouseEvent* event)
{
    syncMapping();
    m_tools.mouseMove(event->position().toPoint());
    event->accept();
}

void ChartWidget::mouseReleaseEvent(QMouseEvent* event)
{
    // The gesture ends when the last button comes up.
    if (event->buttons() != Qt::NoButton)
        return;
    syncMapping();
    m_tools.mouseRelease(event->position().toPoint());
    event->accept();
}

void ChartWidget::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        // One zoom-list step per notch, around the pointer.
        m_zoomRemainder += delta.y() != 0 ? delta.y() : delta.x();
        int value = m_view.zoom();
        while (m_zoomRemainder >= 120) {
            value = ZoomList::zoomIn(value);
            m_zoomRemainder -= 120;
        }
        while (m_zoomRemainder <= -120) {
            value = ZoomList::zoomOut(value);
            m_zoomRemainder += 120;
        }
        if (value != m_view.zoom()) {
            zoomTo(value, event->position().toPoint());
            emit zoomChanged(m_view.zoom());
        }
        event->accept();
        return;
    }
    // Plain wheel scrolls rows, Shift+wheel (or a sideways wheel) columns.
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) || (delta.y() == 0 && delta.x() != 0);
    m_wheelRemainder += delta.y() != 0 ? delta.y() : delta.x();
    const int notches = m_wheelRemainder / 120;
    m_wheelRemainder -= notches * 120;
    if (notches != 0) {
        const int cells = -notches * kWheelCells;
        scrollByCells(sideways ? QPoint(cells, 0) : QPoint(0, cells));
    }
    event->accept();
}
