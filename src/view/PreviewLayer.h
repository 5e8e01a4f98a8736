#pragma once
// The tool previews over the chart: the cells of the figure a shape tool would paint, filled
// with the draw colour. Everything else shows the chart through. A new preview replaces the
// old one as a whole and reports the cells to repaint (both figures' bounds), so a fast
// pointer never leaves stale preview pixels behind. The design is never touched.

#include "ChartOverlay.h"

#include "core/ColorTypes.h"

#include <QList>
#include <QPoint>
#include <QRect>
#include <vector>

class PreviewLayer : public ChartOverlay
{
public:
    // Shows `cells` (design cells) in the raster value `pixel`; returns the cells to repaint.
    QRect setCells(const QList<QPoint>& cells, TColor32 pixel);
    // Removes the preview; returns the cells to repaint.
    QRect clear();
    bool isEmpty() const { return m_bounds.isEmpty(); }
    // The bounds of the shown cells (empty when nothing shows).
    QRect bounds() const { return m_bounds; }
    bool shows(QPoint cell) const;

    void paint(QImage& target, const QRect& clip, const ChartGeometry& geometry) override;

private:
    QRect m_bounds;
    std::vector<unsigned char> m_bits; // one per cell of m_bounds
    TColor32 m_pixel = 0;
};
