#include "ShapeIcons.h"

#include <QPainter>
#include <QPixmap>

namespace {

const QColor kInk(0x30, 0x30, 0x40);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kGridLine(0x90, 0x90, 0xA0);
const QColor kRed(0xC8, 0x30, 0x30);
const QColor kGreen(0x30, 0x98, 0x48);
const QColor kLightGreen(0xB8, 0xE0, 0xC0);
const QColor kBlue(0x30, 0x60, 0xB0);

// A chart of 5 x 5 cells of 4 pixels from (2, 2), with a frame round it.
constexpr int kCells = 5;
constexpr int kCell = 4;
constexpr int kOrigin = 2;

QRectF cellRect(int x, int y)
{
    return QRectF(kOrigin + x * kCell, kOrigin + y * kCell, kCell, kCell);
}

void chart(QPainter& p)
{
    p.fillRect(QRectF(kOrigin, kOrigin, kCells * kCell, kCells * kCell), kPaper);
}

void fill(QPainter& p, std::initializer_list<QPoint> cells, const QColor& colour)
{
    for (const QPoint& c : cells)
        p.fillRect(cellRect(c.x(), c.y()), colour);
}

void block(QPainter& p, const QRect& cells, const QColor& colour)
{
    for (int y = cells.top(); y <= cells.bottom(); ++y)
        for (int x = cells.left(); x <= cells.right(); ++x)
            p.fillRect(cellRect(x, y), colour);
}

// Grid lines between the cells and the frame, drawn over the cells.
void grid(QPainter& p)
{
    p.setPen(QPen(kGridLine, 1));
    for (int i = 1; i < kCells; ++i) {
        const qreal o = kOrigin + i * kCell + 0.5;
        p.drawLine(QPointF(o, kOrigin), QPointF(o, kOrigin + kCells * kCell));
        p.drawLine(QPointF(kOrigin, o), QPointF(kOrigin + kCells * kCell, o));
    }
    p.setPen(QPen(kInk, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(kOrigin - 0.5, kOrigin - 0.5, kCells * kCell + 1, kCells * kCell + 1));
}

const std::initializer_list<QPoint> kCircleRim = {
    {2, 4}, {2, 0}, {4, 2}, {0, 2}, {3, 4}, {1, 4}, {3, 0}, {1, 0}, {4, 3}, {0, 3}, {4, 1}, {0, 1}};

} // namespace

QIcon ShapeIcons::icon(Kind kind)
{
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    chart(p);
    switch (kind) {
    case Line:
        fill(p, {{0, 4}, {1, 3}, {2, 3}, {3, 2}, {4, 1}}, kRed);
        break;
    case Rectangle:
        fill(p, {{0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {0, 2}, {4, 2}, {0, 3}, {4, 3},
                 {0, 4}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}, kRed);
        break;
    case FilledRectangle:
        block(p, QRect(0, 1, 5, 4), kRed);
        break;
    case Circle:
        fill(p, kCircleRim, kRed);
        break;
    case FilledCircle:
        fill(p, kCircleRim, kRed);
        block(p, QRect(1, 1, 3, 3), kRed);
        break;
    case InlineBorder:
        // A green region whose own edge cells are painted.
        block(p, QRect(0, 0, 5, 5), kGreen);
        block(p, QRect(0, 0, 5, 1), kRed);
        block(p, QRect(0, 4, 5, 1), kRed);
        block(p, QRect(0, 0, 1, 5), kRed);
        block(p, QRect(4, 0, 1, 5), kRed);
        break;
    case OutlineBorder:
        // A ring round a green region.
        block(p, QRect(1, 1, 3, 3), kGreen);
        fill(p, {{1, 0}, {2, 0}, {3, 0}, {0, 1}, {4, 1}, {0, 2}, {4, 2}, {0, 3}, {4, 3},
                 {1, 4}, {2, 4}, {3, 4}}, kRed);
        break;
    case CornerRound:
    case CornerSharp:
        block(p, QRect(2, 2, 3, 3), kGreen);
        fill(p, {{1, 2}, {1, 3}, {1, 4}, {2, 1}, {3, 1}, {4, 1}}, kRed);
        if (kind == CornerSharp)
            fill(p, {{1, 1}}, kRed);
        break;
    case Outline: {
        // Back stitches along the edges of an L-shaped region.
        fill(p, {{1, 1}, {2, 1}, {1, 2}, {2, 2}, {1, 3}, {2, 3}, {3, 3}}, kLightGreen);
        grid(p);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(kBlue, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        auto at = [](int x, int y) { return QPointF(kOrigin + x * kCell, kOrigin + y * kCell); };
        const QPointF edge[] = {at(1, 1), at(3, 1), at(3, 3), at(4, 3), at(4, 4), at(1, 4), at(1, 1)};
        p.drawPolyline(edge, 7);
        return QIcon(pm);
    }
    case FillModeOff:
        block(p, QRect(0, 0, 5, 5), QColor(0xE4, 0xE4, 0xE8));
        block(p, QRect(1, 1, 3, 3), QColor(0xB0, 0xB0, 0xB8));
        break;
    }
    grid(p);
    return QIcon(pm);
}
