#include "MotifPreview.h"

#include <QPainter>

MotifPreview::MotifPreview(QWidget* parent) : QWidget(parent)
{
    setMinimumSize(160, 160);
}

void MotifPreview::setPicture(const QImage& picture)
{
    m_picture = picture;
    update();
}

QRect MotifPreview::pictureRect() const
{
    if (m_picture.isNull() || width() <= 0 || height() <= 0)
        return {};
    const QSize fitted = m_picture.size().scaled(size(), Qt::KeepAspectRatio);
    return QRect(QPoint((width() - fitted.width()) / 2, (height() - fitted.height()) / 2), fitted);
}

void MotifPreview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRect target = pictureRect();
    if (target.isEmpty())
        return;
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.drawImage(target, m_picture);
}
