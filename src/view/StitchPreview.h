#pragma once
// The preview of the stitch tools over the chart: straight segments between grid points (the
// back stitch being built, or the Rhodes stitch the next click would place) in one colour and
// pen width. It keeps grid points, not pixels, so it follows zoom and scroll; a new preview
// replaces the old one as a whole and tells which view pixels to repaint, so a fast pointer
// leaves no stale preview behind. The design is never touched.

#include "ChartOverlay.h"

#include "core/ColorTypes.h"

#include <QLine>
#include <QList>
#include <QRect>

class StitchPreview : public ChartOverlay
{
public:
    // Shows `gridLines` in `color`, `penWidth` pixels wide; returns the view pixels to repaint
    // (the old and the new preview) for `geometry`.
    QRect setLines(const QList<QLine>& gridLines, ColorKey color, int penWidth,
                   const ChartGeometry& geometry);
    // Removes the preview; returns the view pixels to repaint.
    QRect clear(const ChartGeometry& geometry);
    bool isEmpty() const { return m_lines.isEmpty(); }
    const QList<QLine>& lines() const { return m_lines; }

    // View pixels covered by the preview with its pen (not clipped to the image).
    QRect viewBounds(const ChartGeometry& geometry) const;

    void paint(QImage& target, const QRect& clip, const ChartGeometry& geometry) override;

private:
    QList<QLine> m_lines;
    ColorKey m_color = 0;
    int m_pen = 1;
};
