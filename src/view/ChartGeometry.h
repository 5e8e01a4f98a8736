#pragma once
// Where the design lies on the chart view: cell size, scroll position (first visible column
// and row), design size and the size of the view's image. Maps cells, quarters and grid points
// (half-cell units) to view pixels and back.

#include <QPoint>
#include <QRect>
#include <QSize>

struct ChartGeometry
{
    QSize cell{8, 8};   // view pixels per cell
    QPoint scroll;      // first visible column (x) and row (y)
    QSize design;       // design size in cells
    QSize image;        // size of the view's image

    int cw() const { return cell.width(); }
    int ch() const { return cell.height(); }

    // View rectangle of cell (x, y).
    QRect cellRect(int x, int y) const
    {
        return QRect((x - scroll.x()) * cw(), (y - scroll.y()) * ch(), cw(), ch());
    }
    // View rectangle of a block of cells.
    QRect cellsRect(const QRect& cells) const
    {
        return QRect((cells.x() - scroll.x()) * cw(), (cells.y() - scroll.y()) * ch(),
                     cells.width() * cw(), cells.height() * ch());
    }
    // Left edge of quarter column qx (quarters of odd-sized cells alternate in width).
    int quarterX(int qx) const { return qx * cw() / 2 - scroll.x() * cw(); }
    int quarterY(int qy) const { return qy * ch() / 2 - scroll.y() * ch(); }
    // View rectangle of quarter (qx, qy): from (qx cw div 2, qy ch div 2) to the next quarter's.
    QRect quarterRect(int qx, int qy) const
    {
        return QRect(QPoint(quarterX(qx), quarterY(qy)), QPoint(quarterX(qx + 1) - 1, quarterY(qy + 1) - 1));
    }
    QRect quartersRect(const QRect& q) const
    {
        return QRect(QPoint(quarterX(q.left()), quarterY(q.top())),
                     QPoint(quarterX(q.right() + 1) - 1, quarterY(q.bottom() + 1) - 1));
    }
    // View position of grid point (px, py): (cw px) div 2 - cw h, (ch py) div 2 - ch v,
    // truncating toward zero.
    QPoint gridPoint(QPoint p) const
    {
        return QPoint(cw() * p.x() / 2 - cw() * scroll.x(), ch() * p.y() / 2 - ch() * scroll.y());
    }
    // Cell under a view pixel (may lie outside the design).
    QPoint cellAt(QPoint view) const
    {
        return QPoint(floorDiv(view.x(), cw()) + scroll.x(), floorDiv(view.y(), ch()) + scroll.y());
    }
    // Quarter under a view pixel (may lie outside the design).
    QPoint quarterAt(QPoint view) const
    {
        const int dx = view.x() + scroll.x() * cw(), dy = view.y() + scroll.y() * ch();
        return QPoint(floorDiv(2 * dx + 1, cw()), floorDiv(2 * dy + 1, ch()));
    }
    // The design's visible part in view pixels: the design from the scroll position on,
    // clipped to the image. Grid, cells and symbols lie inside it; grey lies beyond it.
    QRect designArea() const
    {
        const int w = qMin((design.width() - scroll.x()) * cw(), image.width());
        const int h = qMin((design.height() - scroll.y()) * ch(), image.height());
        return QRect(0, 0, qMax(0, w), qMax(0, h));
    }
    // The cells that show (at least partly) in the image.
    QRect visibleCells() const
    {
        const int b = qMin(image.width() / cw() + 1, design.width() - scroll.x());
        const int c = qMin(image.height() / ch() + 1, design.height() - scroll.y());
        return QRect(scroll.x(), scroll.y(), qMax(0, b), qMax(0, c));
    }

    static int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
};
