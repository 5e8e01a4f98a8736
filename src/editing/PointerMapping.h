#pragma once
// Maps a pixel of the visible chart to a cell, a quarter or a grid point, given the cell size
// and the first visible column and row (integer division, as the view draws them).

#include <QPoint>
#include <QRect>

struct PointerMapping
{
    int cellWidth = 8;
    int cellHeight = 8;
    int hScroll = 0; // first visible column
    int vScroll = 0; // first visible row

    QPoint cellAt(QPoint px) const
    {
        return {floorDiv(px.x(), cellWidth) + hScroll, floorDiv(px.y(), cellHeight) + vScroll};
    }
    // The quarter drawn under the pixel: quarter column q covers the absolute pixels from
    // q * cellWidth div 2 up to the next one's, so at odd cell sizes the two quarters of a
    // cell differ in width by one pixel.
    QPoint quarterAt(QPoint px) const
    {
        const QPoint abs = absolutePixel(px);
        return {floorDiv(2 * abs.x() + 1, cellWidth), floorDiv(2 * abs.y() + 1, cellHeight)};
    }
    // The nearest half-cell node.
    QPoint gridPointAt(QPoint px) const
    {
        return {floorDiv(px.x() + cellWidth / 4, half(cellWidth)) + 2 * hScroll,
                floorDiv(px.y() + cellHeight / 4, half(cellHeight)) + 2 * vScroll};
    }
    // Pixel of the whole chart (not only the visible part).
    QPoint absolutePixel(QPoint px) const
    {
        return {px.x() + hScroll * cellWidth, px.y() + vScroll * cellHeight};
    }
    // Absolute chart pixel of a grid point.
    QPoint gridPointPixel(QPoint gp) const
    {
        return {cellWidth * gp.x() / 2, cellHeight * gp.y() / 2};
    }

private:
    static int half(int v) { return v / 2 > 0 ? v / 2 : 1; }
    // Pixels left of or above the view map to the cells before the first visible one.
    static int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
};

// True when the segment from a to b meets the rectangle with corners `topLeft` and
// `bottomRight` (edges included).
bool segmentMeetsRect(QPointF a, QPointF b, QPointF topLeft, QPointF bottomRight);
