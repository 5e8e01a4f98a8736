// The shape tools of the chart: line (a polyline of clicked cells), rectangle and circle (two
// clicks each), the inline and outline borders (one click on a region) and the outline (back
// stitches round a region). Each finished figure is one action; the figure the next click
// would paint is previewed while the pointer moves.
#include "ToolController.h"

#include "Borders.h"
#include "Figures.h"
#include "Outline.h"
#include "TActions.h"
#include "core/PatternDocument.h"

bool ToolController::isFigureMode(TMode mode)
{
    return mode == modLine || mode == modRectangle || mode == modCircle;
}

void ToolController::shapesModeChanged(TMode old, TMode mode)
{
    if (isFigureMode(old) || isFigureMode(mode)) {
        clearPreview();
        ShapeIdle = true;
    }
}

void ToolController::escapeShapes()
{
    if (m_mode != modLine)
        return;
    ShapeIdle = true;
    clearPreview();
}

void ToolController::clearPreview()
{
    if (!m_previewShown)
        return;
    m_previewShown = false;
    emit previewChanged({});
}

QList<QPoint> ToolController::figureTo(QPoint c) const
{
    const int pen = m_doc.stitch().pensize();
    const QSize design(m_doc.width(), m_doc.height());
    switch (m_mode) {
    case modLine:
        return Figures::clipped(Figures::line(ShapeStart, c, pen), design);
    case modRectangle:
        return Figures::clipped(Figures::rectangle(ShapeStart, c, fFillMode == fillFull, pen), design);
    case modCircle:
        return Figures::circle(ShapeStart, c, fFillMode == fillFull, pen, design);
    default:
        return {};
    }
}

void ToolController::recordFigure(const QList<QPoint>& cells)
{
    // A figure wholly outside the design changes nothing and records nothing.
    if (cells.isEmpty())
        return;
    m_history.actionLine(cells, m_doc.stitch().drawcolor());
}

void ToolController::shapePress(QPoint px)
{
    const QPoint c = m_map.cellAt(px);
    // The first point may lie on the design's right or bottom edge as well.
    const bool inRange = c.x() >= 0 && c.y() >= 0 && c.x() <= m_doc.width() && c.y() <= m_doc.height();
    switch (m_mode) {
    case modLine:
        if (ShapeIdle) {
            if (inRange) {
                ShapeStart = c;
                ShapeIdle = false;
            }
            return;
        }
        clearPreview();
        recordFigure(figureTo(c));
        // The same cell twice ends the polyline; otherwise it goes on from here.
        if (c == ShapeStart)
            ShapeIdle = true;
        else
            ShapeStart = c;
        return;
    case modRectangle:
    case modCircle:
        if (ShapeIdle) {
            if (inRange) {
                ShapeStart = c;
                ShapeIdle = false;
            }
            return;
        }
        clearPreview();
        recordFigure(figureTo(c));
        ShapeIdle = true;
        return;
    case modInlineBorder:
        if (inRange)
            recordFigure(Borders::inlineBorder(m_doc.CrossCells, c, CornerSharp));
        return;
    case modOutlineBorder:
        if (inRange)
            recordFigure(Borders::outlineBorder(m_doc.CrossCells, c, CornerSharp));
        return;
    case modOutline:
        if (insideCells(c))
            outlineAt(c);
        return;
    default:
        return;
    }
}

void ToolController::shapeMove(QPoint px)
{
    if (ShapeIdle)
        return;
    const QPoint c = m_map.cellAt(px);
    if (m_previewShown && c == m_previewCell)
        return;
    // The whole figure is generated anew for the pointer's cell, however far it jumped.
    m_previewCell = c;
    m_previewShown = true;
    emit previewChanged(figureTo(c));
}

void ToolController::outlineAt(QPoint c)
{
    const quint32 colour = m_doc.stitch().drawcolor();
    QList<TBackStitch> added = Outline::stitches(m_doc.CrossCells, c, colour);
    if (added.isEmpty())
        return;
    for (TBackStitch& b : added) {
        b.Index = int(m_doc.DesignBackStitches.size());
        m_doc.backStitchesAdd(b, false);
    }
    m_history.actionOutline(added, colour);
    m_doc.refreshAll();
}
