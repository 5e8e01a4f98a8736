#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace {

const QColor kInk(0x30, 0x30, 0x40);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kAccent(0x30, 0x60, 0xB0);

void page(QPainter& p, const QRectF& r)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(r);
    p.setPen(QPen(QColor(0x90, 0x90, 0xA0), 1));
    for (qreal y = r.top() + 3; y < r.bottom() - 1; y += 3)
        p.drawLine(QPointF(r.left() + 2, y), QPointF(r.right() - 2, y));
}

QIcon drawn(ToolIcons::Kind kind)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case ToolIcons::New:
        page(p, QRectF(5.5, 2.5, 13, 19));
        p.setPen(QPen(kAccent, 2));
        p.drawLine(QPointF(16, 14), QPointF(16, 22));
        p.drawLine(QPointF(12, 18), QPointF(20, 18));
        break;
    case ToolIcons::Print:
        page(p, QRectF(7.5, 2.5, 9, 8));
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xC8, 0xC8, 0xD0));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 8), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(6.5, 15.5, 11, 6));
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(18, 12), 1, 1);
        break;
    case ToolIcons::Cut: {
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(7, 18), 3, 3);
        p.drawEllipse(QPointF(17, 18), 3, 3);
        p.setPen(QPen(QColor(0x70, 0x70, 0x80), 1.6));
        p.drawLine(QPointF(9, 15.5), QPointF(17, 3));
        p.drawLine(QPointF(15, 15.5), QPointF(7, 3));
        break;
    }
    case ToolIcons::Copy:
        page(p, QRectF(3.5, 2.5, 11, 14));
        page(p, QRectF(9.5, 7.5, 11, 14));
        break;
    case ToolIcons::Paste:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xC0, 0x90, 0x50));
        p.drawRoundedRect(QRectF(3.5, 4.5, 14, 17), 1.5, 1.5);
        p.setBrush(QColor(0xA0, 0xA0, 0xA8));
        p.drawRect(QRectF(7.5, 2.5, 6, 4));
        page(p, QRectF(10.5, 9.5, 10, 12));
        break;
    case ToolIcons::View:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(2.5, 2.5, 19, 19));
        p.setPen(QPen(QColor(0x90, 0x90, 0xA0), 1));
        for (int i = 1; i < 4; ++i) {
            p.drawLine(QPointF(2.5 + i * 4.75, 2.5), QPointF(2.5 + i * 4.75, 21.5));
            p.drawLine(QPointF(2.5, 2.5 + i * 4.75), QPointF(21.5, 2.5 + i * 4.75));
        }
        p.setPen(QPen(kAccent, 1.5));
        p.drawLine(QPointF(8, 8), QPointF(11.5, 11.5));
        p.drawLine(QPointF(11.5, 8), QPointF(8, 11.5));
        break;
    case ToolIcons::RealPreview:
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(12, 12), 9.5, 6);
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(12, 12), 3.5, 3.5);
        break;
    default:
        break;
    }
    return QIcon(pm);
}

} // namespace

QIcon ToolIcons::icon(Kind kind, const QStyle* style)
{
    switch (kind) {
    case Open: return style->standardIcon(QStyle::SP_DialogOpenButton);
    case Save: return style->standardIcon(QStyle::SP_DialogSaveButton);
    case Undo: return style->standardIcon(QStyle::SP_ArrowBack);
    case Redo: return style->standardIcon(QStyle::SP_ArrowForward);
    default: return drawn(kind);
    }
}
