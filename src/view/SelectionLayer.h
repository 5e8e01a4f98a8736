#pragma once
// The selection tool over the chart: the floating block (the clipboard drawn at the chart's
// zoom: cells, quarters, back stitches, Rhodes stitches and French knots, empty cells
// transparent) and above it the frame with its marching black-and-white dashes and red
// handles. It keeps cells and grid points, not pixels, so it follows zoom and scroll; only the
// part inside the repainted region is ever drawn, so a block of any size costs no more than
// the view. Every change tells which view pixels to repaint.

#include "ChartOverlay.h"

#include "core/StitchTypes.h"

#include <QImage>
#include <QList>
#include <QRect>

// The content of a floating block in block coordinates (cells from its top-left, grid points
// from its top-left corner).
struct FloatingPicture
{
    QImage cells;      // w x h raw cell values
    QImage quarters;   // 2w x 2h raw quarter values
    TColor32 empty = 0; // the value of empty cells and quarters in both rasters
    QList<TBackStitch> backStitches;
    QList<TBackStitch> rhodeStitches; // every stitch of every Rhodes stitch, in its colour
    QList<TFrenchKnot> knots;
};

class SelectionLayer : public ChartOverlay
{
public:
    // Half the side of a handle's square, in pixels.
    static constexpr int kHandleRadius = 3;
    // Dash length of the frame; the pattern repeats every two dashes.
    static constexpr int kDash = 4;
    static constexpr int kPhases = 4;

    // The frame around `cells` (an empty rectangle: no frame); returns the view pixels to
    // repaint for `g`.
    QRect setFrame(const QRect& cells, const ChartGeometry& g);
    QRect frame() const { return m_frame; }
    // A new floating block at `topLeft`, or none (an empty picture).
    QRect setBlock(FloatingPicture picture, QPoint topLeft, const ChartGeometry& g);
    QRect clearBlock(const ChartGeometry& g);
    QRect moveBlock(QPoint topLeft, const ChartGeometry& g);
    bool hasBlock() const { return !m_block.cells.isNull(); }
    QPoint blockTopLeft() const { return m_topLeft; }

    // The dashes move on by one phase; returns the frame's four edges to repaint.
    QList<QRect> advanceDashes(const ChartGeometry& g);
    int dashPhase() const { return m_phase; }
    // Whether view pixel p of the frame's edge is black at the current phase.
    bool dashBlack(int along) const;

    // View pixels of the frame with its handles, and of the block with its stitches.
    QRect frameBounds(const ChartGeometry& g) const;
    QRect blockBounds(const ChartGeometry& g) const;

    void paint(QImage& target, const QRect& clip, const ChartGeometry& geometry) override;

private:
    QRect framePixels(const ChartGeometry& g) const;
    void paintBlock(QImage& target, const QRect& clip, const ChartGeometry& g) const;
    void paintFrame(QImage& target, const QRect& clip, const ChartGeometry& g) const;

    QRect m_frame;
    FloatingPicture m_block;
    QPoint m_topLeft;
    int m_phase = 0;
};
