#pragma once
// The outline tool's back stitches: one along every side of a 4-connected region that faces
// another content or the design's edge, chained so that each stitch starts where the one
// before it ends wherever that is possible, and runs of collinear sides joined into single
// long stitches.

#include "core/StitchTypes.h"

#include <QImage>
#include <QList>
#include <QPoint>

namespace Outline {

// The stitches round the region of `start` in the grid points of the design (half cells), in
// the colour `color`, with Index 0. Empty when `start` lies outside the raster.
QList<TBackStitch> stitches(const QImage& cells, QPoint start, ColorKey color);

// The steps after the sides are found, on their own for tests: each stitch is followed by the
// first later one that starts where it ends; then collinear neighbours that meet are joined.
QList<TBackStitch> chained(const QList<TBackStitch>& sides);
QList<TBackStitch> joined(const QList<TBackStitch>& chain);

} // namespace Outline
