#pragma once
// The internal clipboard: the cells, quarters and stitches of a rectangle of the design, with
// stitch coordinates relative to its top-left corner, and the transforms of the floating block
// (mirror, quarter turns). Pure functions over a small value; the window only shows it.

#include "core/StitchTypes.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <memory>
#include <vector>

class PatternDocument;

struct TClipboard
{
    QImage ClipCross;   // w x h cells; empty cells hold `background`
    QImage ClipQuarter; // 2w x 2h quarters, likewise
    // The value of empty cells in the two rasters: the design's background when copied, so a
    // later change of the background cannot turn empty clipboard cells into a colour.
    TColor32 background = 0;
    QList<TBackStitch> ClipBackStitches;
    std::vector<std::unique_ptr<TRhode>> ClipRhodes;
    QList<TFrenchKnot> ClipFrenchKnots;

    bool isEmpty() const { return ClipCross.isNull(); }
    QSize size() const { return ClipCross.size(); }
};

namespace Clipboard {

// The content of `selection` (which may reach beyond the design): cells and quarters inside the
// design at their place in a raster of the selection's size, French knots whose centre lies in
// the clipped rectangle's grid points (edges included) and, with `withBackStitches`, the back
// stitches and Rhodes stitches lying wholly in it.
TClipboard copy(const PatternDocument& doc, const QRect& selection, bool withBackStitches);

// Transforms of the floating block; w x h is its size before the transform. Grid points move
// with the cells: mirror left-right (x, y) -> (2w - x, y), top-bottom (x, 2h - y), a quarter
// turn clockwise (2h - y, x), counter-clockwise (y, 2w - x).
void mirrorHorizontal(TClipboard& clip);
void mirrorVertical(TClipboard& clip);
void rotateRight(TClipboard& clip);
void rotateLeft(TClipboard& clip);

} // namespace Clipboard
