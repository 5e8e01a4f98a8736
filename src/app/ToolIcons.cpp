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


// A small chart of cells: the pen, the view modes and the highlight draw on it.
// A picture in `r`: a sun and a hill, `alpha` opaque.
void landscape(QPainter& p, const QRectF& r, int alpha)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x40, 0x70, 0xB0, alpha));
    p.drawEllipse(QRectF(r.left(), r.top() + r.height() * 0.35, r.width(), r.height() * 0.65));
    p.setBrush(QColor(0xE0, 0xA0, 0x30, alpha));
    p.drawEllipse(QRectF(r.left() + r.width() * 0.1, r.top(), r.width() * 0.35, r.width() * 0.35));
}

void cells(QPainter& p, const QRectF& r, int n, bool grid)
{
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawRect(r);
    if (!grid)
        return;
    p.setPen(QPen(QColor(0x90, 0x90, 0xA0), 1));
    const qreal step = r.width() / n;
    for (int i = 1; i < n; ++i) {
        p.drawLine(QPointF(r.left() + i * step, r.top()), QPointF(r.left() + i * step, r.bottom()));
        p.drawLine(QPointF(r.left(), r.top() + i * step), QPointF(r.right(), r.top() + i * step));
    }
}

// A symbol mark in a cell: a small cross, as a chart draws a stitch's symbol.
void symbolMark(QPainter& p, QPointF c, qreal r)
{
    p.setPen(QPen(kAccent, 1.5));
    p.drawLine(c + QPointF(-r, -r), c + QPointF(r, r));
    p.drawLine(c + QPointF(r, -r), c + QPointF(-r, r));
}

void pencil(QPainter& p)
{
    p.setPen(QPen(kInk, 1));
    QPolygonF body;
    body << QPointF(17, 3) << QPointF(21, 7) << QPointF(9, 19) << QPointF(5, 15);
    p.setBrush(QColor(0xE8, 0xB0, 0x30));
    p.drawPolygon(body);
    QPolygonF tip;
    tip << QPointF(5, 15) << QPointF(9, 19) << QPointF(3, 21);
    p.setBrush(QColor(0xF0, 0xD8, 0xB0));
    p.drawPolygon(tip);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(3.8, 20.2), 1, 1);
}

const QColor kRed(0xC8, 0x30, 0x30);
const QColor kGreen(0x30, 0x98, 0x48);

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
    case ToolIcons::ShadowOverlay:
        // A faint picture lying over a grid of cells.
        cells(p, QRectF(2.5, 2.5, 19, 19), 3, true);
        landscape(p, QRectF(4.5, 5, 15, 14), 120);
        break;
    case ToolIcons::ShadowWindow:
        // The picture in a window of its own.
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(2.5, 3.5, 19, 17));
        p.fillRect(QRectF(3, 4, 18, 3), QColor(0x60, 0x80, 0xB0));
        landscape(p, QRectF(5.5, 8.5, 13, 10), 170);
        break;
    case ToolIcons::Draw:
        p.fillRect(QRectF(2, 14, 8, 8), kRed);
        pencil(p);
        break;
    case ToolIcons::DrawQuarter:
        p.fillRect(QRectF(2, 18, 4, 4), kRed);
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 13.5, 9, 9));
        pencil(p);
        break;
    case ToolIcons::Erase: {
        p.setPen(QPen(kInk, 1));
        QPolygonF band;
        band << QPointF(13, 3) << QPointF(21, 11) << QPointF(14, 18) << QPointF(6, 10);
        p.setBrush(QColor(0x50, 0x80, 0xD0));
        p.drawPolygon(band);
        QPolygonF rubber;
        rubber << QPointF(6, 10) << QPointF(14, 18) << QPointF(10, 22) << QPointF(2, 14);
        p.setBrush(QColor(0xF0, 0xA0, 0xB0));
        p.drawPolygon(rubber);
        p.setPen(QPen(kInk, 1));
        p.drawLine(QPointF(12, 22), QPointF(22, 22));
        break;
    }
    case ToolIcons::Pipette: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0x50, 0x50, 0x60));
        p.drawEllipse(QPointF(18, 6), 3.5, 3.5);
        p.setBrush(QColor(0xD8, 0xE8, 0xF8));
        QPolygonF tube;
        tube << QPointF(14, 7) << QPointF(17, 10) << QPointF(6, 21) << QPointF(3, 18);
        p.drawPolygon(tube);
        p.setPen(QPen(kRed, 2));
        p.drawLine(QPointF(5, 19), QPointF(9, 15));
        break;
    }
    case ToolIcons::Fill: {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xC0, 0xC8, 0xD8));
        QPolygonF bucket;
        bucket << QPointF(4, 10) << QPointF(11, 3) << QPointF(19, 11) << QPointF(12, 18);
        p.drawPolygon(bucket);
        p.setBrush(kRed);
        QPolygonF paint;
        paint << QPointF(4, 10) << QPointF(19, 11) << QPointF(21, 16) << QPointF(20, 20)
              << QPointF(18, 16);
        p.drawPolygon(paint);
        p.setPen(QPen(kInk, 1.2));
        p.drawLine(QPointF(11, 3), QPointF(11, 11));
        break;
    }
    case ToolIcons::ReplaceColor:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kRed);
        p.drawRect(QRectF(2.5, 2.5, 9, 9));
        p.setBrush(kGreen);
        p.drawRect(QRectF(12.5, 12.5, 9, 9));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(10, 2, 10, 10), 0 * 16, 90 * 16);
        p.drawLine(QPointF(20, 7), QPointF(18, 5));
        p.drawLine(QPointF(20, 7), QPointF(22, 5));
        p.drawArc(QRectF(4, 12, 10, 10), 180 * 16, 90 * 16);
        p.drawLine(QPointF(4, 17), QPointF(2, 19));
        p.drawLine(QPointF(4, 17), QPointF(6, 19));
        break;
    case ToolIcons::Hand: {
        p.setPen(QPen(kInk, 1.6));
        const QPointF c(12, 12);
        for (const QPointF d : {QPointF(1, 0), QPointF(-1, 0), QPointF(0, 1), QPointF(0, -1)}) {
            p.drawLine(c + d * 2, c + d * 9);
            const QPointF n(d.y(), d.x());
            p.drawLine(c + d * 9, c + d * 6 + n * 3);
            p.drawLine(c + d * 9, c + d * 6 - n * 3);
        }
        break;
    }
    case ToolIcons::Highlight:
        cells(p, QRectF(2.5, 2.5, 19, 19), 3, false);
        for (int i = 0; i < 9; ++i) {
            const QRectF cell(3 + (i % 3) * 6.33, 3 + (i / 3) * 6.33, 6, 6);
            p.fillRect(cell, i == 4 || i == 2 || i == 6 ? kRed : QColor(0xDC, 0xDC, 0xDC));
        }
        break;
    case ToolIcons::BackStitch:
        cells(p, QRectF(2.5, 2.5, 19, 19), 3, true);
        p.setPen(QPen(kGreen, 2.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(5, 19), QPointF(12, 12));
        p.drawLine(QPointF(12, 12), QPointF(19, 12));
        break;
    case ToolIcons::ZoomIn:
    case ToolIcons::ZoomOut:
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(kPaper);
        p.drawEllipse(QPointF(10, 10), 7, 7);
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15.5, 15.5), QPointF(21, 21));
        p.setPen(QPen(kAccent, 2));
        p.drawLine(QPointF(6.5, 10), QPointF(13.5, 10));
        if (kind == ToolIcons::ZoomIn)
            p.drawLine(QPointF(10, 6.5), QPointF(10, 13.5));
        break;
    case ToolIcons::Pen1:
    case ToolIcons::Pen2:
    case ToolIcons::Pen3:
    case ToolIcons::Pen4: {
        // The footprint of the pen on a 4 x 4 grid of 5-pixel cells.
        const int size = kind - ToolIcons::Pen1 + 1;
        cells(p, QRectF(1.5, 1.5, 20, 20), 4, true);
        const int h = (size - 1) / 2;
        for (int dy = -h; dy <= -h + size - 1; ++dy)
            for (int dx = -h; dx <= -h + size - 1; ++dx) {
                const bool corner = (dx == -h || dx == -h + size - 1) && (dy == -h || dy == -h + size - 1);
                if (size >= 3 && corner)
                    continue;
                p.fillRect(QRectF(2 + (dx + 1) * 5, 2 + (dy + 1) * 5, 4.5, 4.5), kInk);
            }
        break;
    }
    case ToolIcons::ViewNone:
    case ToolIcons::ViewSymbols:
    case ToolIcons::ViewGrid:
    case ToolIcons::ViewBoth: {
        const bool grid = kind == ToolIcons::ViewGrid || kind == ToolIcons::ViewBoth;
        const bool symbols = kind == ToolIcons::ViewSymbols || kind == ToolIcons::ViewBoth;
        cells(p, QRectF(2.5, 2.5, 19, 19), 3, grid);
        p.fillRect(QRectF(9, 9, 6, 6), QColor(0xF0, 0xC0, 0xC0));
        p.fillRect(QRectF(3, 15.3, 6, 6), QColor(0xC0, 0xE0, 0xC0));
        if (symbols) {
            symbolMark(p, QPointF(12, 12), 2);
            symbolMark(p, QPointF(5.8, 18.2), 2);
        }
        break;
    }
    case ToolIcons::Selection: {
        // A dashed frame over a chart with a red handle at each corner.
        cells(p, QRectF(2.5, 2.5, 19, 19), 3, true);
        p.setPen(QPen(kInk, 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(6.5, 6.5, 11, 11));
        p.setPen(QPen(kInk, 0.8));
        p.setBrush(kRed);
        for (const QPointF c : {QPointF(6.5, 6.5), QPointF(17.5, 6.5), QPointF(6.5, 17.5), QPointF(17.5, 17.5)})
            p.drawRect(QRectF(c - QPointF(1.5, 1.5), QSizeF(3, 3)));
        break;
    }
    case ToolIcons::Merge:
        // A red block with an arrow laying it into the chart below.
        cells(p, QRectF(2.5, 12.5, 19, 9), 2, true);
        p.fillRect(QRectF(8, 2, 8, 6), kRed);
        p.setPen(QPen(kInk, 1.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12, 8), QPointF(12, 15));
        p.drawLine(QPointF(12, 15), QPointF(9.5, 12.5));
        p.drawLine(QPointF(12, 15), QPointF(14.5, 12.5));
        p.fillRect(QRectF(8.2, 16.2, 7.6, 5), kRed);
        break;
    case ToolIcons::RotateRight:
    case ToolIcons::RotateLeft: {
        // A block and three quarters of a turn round it with the arrow's head at the end.
        const bool right = kind == ToolIcons::RotateRight;
        p.fillRect(QRectF(9, 9, 6, 6), kRed);
        p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(3.5, 3.5, 17, 17), 90 * 16, (right ? -270 : 270) * 16);
        const QPointF tip(right ? 3.5 : 20.5, 12);
        p.drawLine(tip, tip + QPointF(-3, -3.5));
        p.drawLine(tip, tip + QPointF(3, -3.5));
        break;
    }
    case ToolIcons::MirrorHorz:
    case ToolIcons::MirrorVert: {
        // A shape and its mirror image across a dashed axis.
        const bool horz = kind == ToolIcons::MirrorHorz;
        QTransform t;
        if (!horz)
            t.translate(24, 0).rotate(90);
        p.setTransform(t);
        p.setPen(QPen(kInk, 1));
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF({QPointF(10, 5), QPointF(10, 19), QPointF(3, 19)}));
        p.setBrush(QColor(0xF0, 0xC0, 0xC0));
        p.drawPolygon(QPolygonF({QPointF(14, 5), QPointF(14, 19), QPointF(21, 19)}));
        p.setPen(QPen(kAccent, 1.2, Qt::DashLine));
        p.drawLine(QPointF(12, 2), QPointF(12, 22));
        break;
    }
    case ToolIcons::Text: {
        // A letter T of stitched cells on a small chart.
        cells(p, QRectF(1.5, 1.5, 20, 20), 5, true);
        auto stitched = [&](int x, int y) { p.fillRect(QRectF(2 + x * 4, 2 + y * 4, 3.5, 3.5), kRed); };
        for (int x = 0; x < 5; ++x)
            stitched(x, 0);
        for (int y = 1; y < 5; ++y)
            stitched(2, y);
        break;
    }
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

QIcon ToolIcons::penIcon(int size)
{
    return drawn(Kind(Pen1 + qBound(1, size, 4) - 1));
}

QIcon ToolIcons::viewIcon(bool grid, bool symbols)
{
    if (grid && symbols)
        return drawn(ViewBoth);
    if (grid)
        return drawn(ViewGrid);
    return drawn(symbols ? ViewSymbols : ViewNone);
}
