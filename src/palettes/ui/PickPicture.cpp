#include "PickPicture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

const std::array<QColor, 12> PickPicture::kOutlineColors = {
    QColor(1, 2, 3),       QColor(26, 68, 97),    QColor(42, 109, 156), QColor(75, 154, 207),
    QColor(139, 189, 224), QColor(198, 222, 240), QColor(247, 250, 253), QColor(198, 222, 240),
    QColor(139, 189, 224), QColor(75, 154, 207),  QColor(42, 109, 156), QColor(26, 68, 97)};

PickPicture::PickPicture(QWidget* parent) : QAbstractScrollArea(parent)
{
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::CrossCursor);
    m_timer = new QTimer(this);
    m_timer->setInterval(kOutlineInterval);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_phase = (m_phase + 1) % int(kOutlineColors.size());
        viewport()->update();
    });
    setEnabled(false);
    updateScrollBars();
}

void PickPicture::setPicture(const QImage& picture)
{
    m_picture = picture;
    m_zoom = 100;
    hideOutline();
    setEnabled(!picture.isNull());
    updateScrollBars();
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    viewport()->update();
    emit zoomChanged(m_zoom);
}

void PickPicture::setZoom(int percent)
{
    percent = std::clamp(percent, kZooms.front(), kZooms.back());
    if (percent == m_zoom)
        return;
    // The picture point at the middle of the view stays there.
    const QSize view = viewport()->size();
    const double cx = (horizontalScrollBar()->value() + view.width() / 2.0) * 100.0 / m_zoom;
    const double cy = (verticalScrollBar()->value() + view.height() / 2.0) * 100.0 / m_zoom;
    m_zoom = percent;
    updateScrollBars();
    horizontalScrollBar()->setValue(int(std::lround(cx * m_zoom / 100.0 - view.width() / 2.0)));
    verticalScrollBar()->setValue(int(std::lround(cy * m_zoom / 100.0 - view.height() / 2.0)));
    viewport()->update();
    emit zoomChanged(m_zoom);
}

void PickPicture::setCursorSize(int size)
{
    m_size = size;
    viewport()->update();
}

void PickPicture::setShape(Shape shape)
{
    m_shape = shape;
    viewport()->update();
}

QSize PickPicture::scaledSize() const
{
    return QSize(int(qint64(m_picture.width()) * m_zoom / 100),
                 int(qint64(m_picture.height()) * m_zoom / 100));
}

void PickPicture::updateScrollBars()
{
    const QSize s = scaledSize();
    const QSize view = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setRange(0, std::max(0, s.width() - view.width()));
    h->setPageStep(view.width());
    h->setSingleStep(std::max(1, m_zoom / 10));
    h->setEnabled(s.width() > view.width());
    v->setRange(0, std::max(0, s.height() - view.height()));
    v->setPageStep(view.height());
    v->setSingleStep(std::max(1, m_zoom / 10));
    v->setEnabled(s.height() > view.height());
}

std::optional<QPoint> PickPicture::pixelAt(const QPoint& viewportPos) const
{
    if (m_picture.isNull())
        return std::nullopt;
    const qint64 x = viewportPos.x() + horizontalScrollBar()->value();
    const qint64 y = viewportPos.y() + verticalScrollBar()->value();
    const QSize s = scaledSize();
    if (x < 0 || y < 0 || x >= s.width() || y >= s.height())
        return std::nullopt;
    return QPoint(int(x * 100 / m_zoom), int(y * 100 / m_zoom));
}

void PickPicture::paintEvent(QPaintEvent*)
{
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Window));
    if (m_picture.isNull())
        return;
    p.save();
    p.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    p.scale(m_zoom / 100.0, m_zoom / 100.0);
    p.drawImage(0, 0, m_picture);
    p.restore();
    if (!m_inside)
        return;
    // The outline of the square the pick averages, scaled with the picture.
    const double side = std::max(1.0, m_size * m_zoom / 100.0);
    const QRectF r(m_pointer.x() - side / 2.0, m_pointer.y() - side / 2.0, side, side);
    p.setPen(QPen(kOutlineColors[size_t(m_phase)], 1));
    p.setBrush(Qt::NoBrush);
    if (m_shape == Circle)
        p.drawEllipse(r);
    else
        p.drawRect(r);
}

void PickPicture::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void PickPicture::scrollContentsBy(int, int)
{
    viewport()->update();
}

void PickPicture::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (pixelAt(pos)) {
        m_pointer = pos;
        m_inside = true;
        if (!m_timer->isActive())
            m_timer->start();
    } else {
        hideOutline();
    }
    viewport()->update();
}

void PickPicture::hideOutline()
{
    m_inside = false;
    m_timer->stop();
    viewport()->update();
}

void PickPicture::leaveEvent(QEvent* event)
{
    QAbstractScrollArea::leaveEvent(event);
    hideOutline();
}

void PickPicture::mouseReleaseEvent(QMouseEvent* event)
{
    if (const auto pixel = pixelAt(event->position().toPoint()))
        emit released(*pixel);
}

void PickPicture::wheelEvent(QWheelEvent* event)
{
    // Whole notches of 120; a fine-grained wheel adds up to one.
    m_wheelRest += event->angleDelta().y();
    const int steps = m_wheelRest / 120;
    m_wheelRest -= steps * 120;
    event->accept();
    if (steps == 0)
        return;
    if (event->modifiers() & Qt::ControlModifier) {
        auto it = std::find(kZooms.begin(), kZooms.end(), m_zoom);
        const int i = it == kZooms.end() ? 2 : int(it - kZooms.begin());
        setZoom(kZooms[size_t(std::clamp(i + steps, 0, int(kZooms.size()) - 1))]);
        return;
    }
    emit wheelSteps(steps);
}
