#pragma once
// The figures of the line, rectangle and circle tools as ordered cell lists. Each list holds a
// cell once, in the order the figure reaches it; the pen is stamped at every point of the
// figure, its cells row by row from the top, each row from the left.

#include "CellSet.h"

#include <QList>
#include <QPoint>
#include <QSize>

namespace Figures {

// Offsets of the pen for a size 1..4 around the cell under the pointer: sizes 1 and 2 from the
// cell right and down, 3 and 4 from one cell up and left. The round pen leaves out the four
// corners from size 3 on (a plus of 5 cells, 12 cells); the square one keeps them.
QList<QPoint> penFootprint(int penSize, bool square = false);

// The line from `from` to `to`, stamped with the round pen.
QList<QPoint> line(QPoint from, QPoint to, int penSize);

// The rectangle with the corner cells `from` and `to` (either order), stamped with the square
// pen at every cell of its edge, or at every cell inside it too when `filled`.
QList<QPoint> rectangle(QPoint from, QPoint to, bool filled, int penSize);

// The circle round `centre` through `rim` (radius the whole part of the distance), stamped
// with the round pen and clipped to a design of `design` cells; when `filled` the inside is
// flooded from the centre, bounded by the rim and by the design's edge.
QList<QPoint> circle(QPoint centre, QPoint rim, bool filled, int penSize, QSize design);

// The cells of `cells` that lie inside a design of `design` cells, in order.
QList<QPoint> clipped(const QList<QPoint>& cells, QSize design);

} // namespace Figures
