#pragma once
// A surface drawn over the chart view's own layers: the ghost picture and the tool previews.
// The view calls it last, in that order, for every region it repaints.

#include "ChartGeometry.h"

class QImage;

class ChartOverlay
{
public:
    virtual ~ChartOverlay() = default;
    // Draws the overlay's part of `clip` (view pixels, inside the image) onto `target`.
    virtual void paint(QImage& target, const QRect& clip, const ChartGeometry& geometry) = 0;
};
