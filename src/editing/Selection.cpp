#include "Selection.h"

#include <utility>

namespace {

int floorDiv(int a, int b)
{
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

bool movesLeft(TDragState s)
{
    return s == dsLeft || s == dsTopLeft || s == dsBottomLeft;
}
bool movesRight(TDragState s)
{
    return s == dsRight || s == dsTopRight || s == dsBottomRight;
}
bool movesTop(TDragState s)
{
    return s == dsTop || s == dsTopLeft || s == dsTopRight;
}
bool movesBottom(TDragState s)
{
    return s == dsBottom || s == dsBottomLeft || s == dsBottomRight;
}

// One axis of a handle drag: the moving edge kept on its side of the design, then the pair
// ordered and at least one cell apart.
void resizeAxis(int& low, int& high, bool lowMoves, bool highMoves, int extent)
{
    if (lowMoves)
        low = qMin(low, extent - 1);
    if (highMoves)
        high = qMax(high, 1);
    if (low > high)
        std::swap(low, high);
    if (low == high) {
        if (lowMoves)
            --low;
        else
            ++high;
    }
}

// One axis of a move: the size kept, at least one cell over the design.
void moveAxis(int& low, int& high, int size, int extent)
{
    if (high <= 0) {
        high = 1;
        low = 1 - size;
    }
    if (low > extent - 1) {
        low = extent - 1;
        high = low + size;
    }
}

} // namespace

void TSelection::start(QPoint firstVisible)
{
    m_active = true;
    m_rect = QRect(firstVisible, QSize(kStartSize, kStartSize));
    m_drag = dsNone;
}

void TSelection::end()
{
    m_active = false;
    m_rect = QRect();
    m_drag = dsNone;
}

void TSelection::setRect(const QRect& cells)
{
    QRect r = cells.normalized();
    r.setWidth(qMax(1, r.width()));
    r.setHeight(qMax(1, r.height()));
    m_rect = r;
}

QRect TSelection::framePixels(const QRect& cells, const PointerMapping& m)
{
    const QPoint a((cells.left() - m.hScroll) * m.cellWidth, (cells.top() - m.vScroll) * m.cellHeight);
    const QPoint b((cells.right() + 1 - m.hScroll) * m.cellWidth,
                   (cells.bottom() + 1 - m.vScroll) * m.cellHeight);
    return QRect(a, b);
}

TDragState TSelection::hitTest(QPoint px, const PointerMapping& m) const
{
    if (!m_active)
        return dsNone;
    const QRect f = framePixels(m_rect, m);
    const int xs[] = {f.left(), (f.left() + f.right()) / 2, f.right()};
    const int ys[] = {f.top(), (f.top() + f.bottom()) / 2, f.bottom()};
    static const TDragState handles[3][3] = {{dsTopLeft, dsTop, dsTopRight},
                                             {dsLeft, dsMove, dsRight},
                                             {dsBottomLeft, dsBottom, dsBottomRight}};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            if (row == 1 && col == 1)
                continue;
            if (qAbs(px.x() - xs[col]) <= kHandleReach && qAbs(px.y() - ys[row]) <= kHandleReach)
                return handles[row][col];
        }
    return f.contains(px) ? dsMove : dsNone;
}

bool TSelection::beginDrag(QPoint px, TDragState state)
{
    if (!m_active || state == dsNone)
        return false;
    m_drag = state;
    m_dragStartPx = px;
    m_dragStartRect = m_rect;
    return true;
}

bool TSelection::dragTo(QPoint px, const PointerMapping& m, QSize design, bool floating)
{
    if (m_drag == dsNone)
        return false;
    // A floating block can be moved, not resized.
    if (floating && m_drag != dsMove)
        return false;
    // The pointer's offset in whole cells, rounded to the nearest: an edge snaps to the grid
    // line closest to the pointer.
    const int dx = floorDiv(px.x() - m_dragStartPx.x() + m.cellWidth / 2, m.cellWidth);
    const int dy = floorDiv(px.y() - m_dragStartPx.y() + m.cellHeight / 2, m.cellHeight);
    TCellEdges e = TCellEdges::of(m_dragStartRect);
    if (m_drag == dsMove || movesLeft(m_drag))
        e.left += dx;
    if (m_drag == dsMove || movesRight(m_drag))
        e.right += dx;
    if (m_drag == dsMove || movesTop(m_drag))
        e.top += dy;
    if (m_drag == dsMove || movesBottom(m_drag))
        e.bottom += dy;
    const QRect r = RubberResize(m_dragStartRect, e, m_drag, design);
    if (r == m_rect)
        return false;
    m_rect = r;
    return true;
}

QRect TSelection::RubberResize(const QRect& current, const TCellEdges& proposed,
                               TDragState state, QSize design)
{
    TCellEdges e = proposed;
    if (state == dsMove) {
        const TCellEdges c = TCellEdges::of(current);
        e.right = c.right + e.left - c.left;
        e.bottom = c.bottom + e.top - c.top;
        moveAxis(e.left, e.right, current.width(), design.width());
        moveAxis(e.top, e.bottom, current.height(), design.height());
    } else {
        resizeAxis(e.left, e.right, movesLeft(state), movesRight(state), design.width());
        resizeAxis(e.top, e.bottom, movesTop(state), movesBottom(state), design.height());
    }
    return QRect(QPoint(e.left, e.top), QPoint(e.right - 1, e.bottom - 1));
}
