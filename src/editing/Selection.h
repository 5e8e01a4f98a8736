#pragma once
// The selection tool's rectangle of cells (left and top inclusive, right and bottom exclusive;
// it may reach beyond the design) and the frame drags that move or resize it. A drag keeps
// the rectangle it started from and the press position, so every pointer position maps to
// one rectangle whatever came between; the result snaps to whole cells and never leaves the
// design entirely.

#include "PointerMapping.h"

#include <QPoint>
#include <QRect>
#include <QSize>

// What a press on the frame grabbed.
enum TDragState {
    dsNone,
    dsMove,
    dsLeft,
    dsTop,
    dsRight,
    dsBottom,
    dsTopLeft,
    dsTopRight,
    dsBottomLeft,
    dsBottomRight
};

// The four edges of a frame in cells: left and top inclusive, right and bottom exclusive.
struct TCellEdges
{
    int left = 0, top = 0, right = 0, bottom = 0;
    static TCellEdges of(const QRect& r) { return {r.left(), r.top(), r.right() + 1, r.bottom() + 1}; }
};

class TSelection
{
public:
    // Size of the rectangle a new selection starts with.
    static constexpr int kStartSize = 10;
    // Pixels around a handle's centre that grab it: the square the chart draws.
    static constexpr int kHandleReach = 3;

    bool active() const { return m_active; }
    QRect SelectionRect() const { return m_rect; }

    // A new selection of 10 x 10 cells with its top-left at `firstVisible`.
    void start(QPoint firstVisible);
    void end();
    // The rectangle as given, normalised to at least one cell each way.
    void setRect(const QRect& cells);

    // View pixels of the frame for `cells`: from the left and top grid line of the first cell
    // to the grid line after the last, both included.
    static QRect framePixels(const QRect& cells, const PointerMapping& m);
    // The part of the frame under view pixel `px`: a handle (its corners and edge middles
    // take precedence), the inside (move), or dsNone.
    TDragState hitTest(QPoint px, const PointerMapping& m) const;

    // --- dragging the frame ---
    // Starts a drag of `state` at view pixel `px`; false when nothing is grabbed.
    bool beginDrag(QPoint px, TDragState state);
    bool dragging() const { return m_drag != dsNone; }
    TDragState dragState() const { return m_drag; }
    // The pointer moved to `px` during the drag: the rectangle follows by whole cells (the
    // pointer's offset rounded to the nearest cell) within the rules of RubberResize. With a
    // floating block only moves are possible. True when the rectangle changed.
    bool dragTo(QPoint px, const PointerMapping& m, QSize design, bool floating);
    void endDrag() { m_drag = dsNone; }

    // The cells of a dragged frame: `proposed` holds the frame's edges in cells as the
    // pointer puts them (a moved edge may have passed the opposite one). On a move the size
    // stays and at least one cell of the frame stays over the design; a moving left or top
    // edge stops at the design's last column or row, a moving right or bottom edge at its
    // first. An edge dragged past the opposite one turns the frame over; the result is
    // normalised and at least one cell each way.
    static QRect RubberResize(const QRect& current, const TCellEdges& proposed,
                              TDragState state, QSize design);

private:
    bool m_active = false;
    QRect m_rect;
    TDragState m_drag = dsNone;
    QRect m_dragStartRect;
    QPoint m_dragStartPx;
};
