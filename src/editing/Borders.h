#pragma once
// The regions of the border tools and of the outline: the cells of one content (a colour, or
// empty) connected to a start cell, and the cells along their edge. Contents are compared as
// the raw cell values, so an empty cell never equals a thread of the background's colour.

#include <QImage>
#include <QList>
#include <QPoint>

namespace Borders {

// The 8-connected region of the start's content, in the order a breadth-first walk reaches it
// (neighbours left, right, up, down, up-left, up-right, down-left, down-right). Empty when
// `start` lies outside the raster.
QList<QPoint> region8(const QImage& cells, QPoint start);
// The 4-connected region (neighbours left, right, up, down).
QList<QPoint> region4(const QImage& cells, QPoint start);

// The cells of the start's 4-connected region that face the outside (another content or the
// raster's edge) on a side, in region order, each with those sides: bit 0 left, 1 right,
// 2 up, 3 down.
struct EdgeCell
{
    QPoint cell;
    int sides;
};
QList<EdgeCell> region4Edges(const QImage& cells, QPoint start);

// The cells of the start's 8-connected region that touch the outside (a cell of another
// content or beyond the raster's edge) on a side, or, unless `fourNeighbour`, also on a corner;
// in region order.
QList<QPoint> regionBorder(const QImage& cells, QPoint start, bool fourNeighbour);

// The inline border: the region's border cells, with the four-neighbour test for round corners
// (inner corner cells that touch the outside only diagonally stay out) and the eight-neighbour
// test for sharp ones.
QList<QPoint> inlineBorder(const QImage& cells, QPoint start, bool cornerSharp);

// The outline border: the cells outside the region, inside the raster, beside a border cell (on
// a side, and with sharp corners also on a corner), each listed once in the order they are
// first reached.
QList<QPoint> outlineBorder(const QImage& cells, QPoint start, bool cornerSharp);

} // namespace Borders
