#include "ToolController.h"

#include "Figures.h"
#include "TActions.h"
#include "core/PatternDocument.h"

#include <QRect>

ToolController::ToolController(PatternDocument& doc, TActions& history, QObject* parent)
    : QObject(parent), m_doc(doc), m_history(history)
{
}

ToolController::~ToolController() = default;

// ---------------------------------------------------------------------------------------------
// Modes and pen

void ToolController::Setmode(TMode mode)
{
    if (mode == m_mode)
        return;
    if (m_mouseDown)
        finishGesture();
    const bool wasHighlight = m_mode == modHighlight;
    const TMode old = m_mode;
    shapesModeChanged(old, mode);
    m_mode = mode;
    stitchesModeChanged(old, mode);
    selectionModeChanged(old, mode);
    if (wasHighlight)
        emit highlightChanged(false);
    if (mode == modHighlight)
        emit highlightChanged(true);
    emit modeChanged(mode);
}

void ToolController::setHighlight(bool down)
{
    if (down) {
        if (m_mode == modHighlight)
            return;
        m_previousMode = m_mode;
        Setmode(modHighlight);
    } else if (m_mode == modHighlight) {
        Setmode(m_previousMode);
    }
}

void ToolController::escapePressed()
{
    escapeShapes();
    escapeBackStitch();
    // A floating block is dropped by leaving the selection tool.
    if (m_mode == modSelection && m_block.floating())
        Setmode(modDraw);
}

QList<QPoint> ToolController::penFootprint(int penSize)
{
    return Figures::penFootprint(penSize);
}

bool ToolController::penEnabled(TMode mode)
{
    switch (mode) {
    case modDraw: case modQDraw: case modErase: case modLine: case modRectangle: case modCircle:
    case modInlineBorder: case modOutlineBorder:
        return true;
    default:
        return false;
    }
}

bool ToolController::penMenu(TMode mode)
{
    return penEnabled(mode) && mode != modInlineBorder && mode != modOutlineBorder;
}

// ---------------------------------------------------------------------------------------------
// Contents

bool ToolController::insideCells(QPoint c) const
{
    return c.x() >= 0 && c.y() >= 0 && c.x() < m_doc.width() && c.y() < m_doc.height();
}

bool ToolController::insideQuarters(QPoint q) const
{
    return q.x() >= 0 && q.y() >= 0 && q.x() < m_doc.QuarterCells.width()
        && q.y() < m_doc.QuarterCells.height();
}

// The background value for an empty cell, the colour key otherwise.
quint32 ToolController::cellContent(QPoint c) const
{
    const TColor32 raw = reinterpret_cast<const TColor32*>(m_doc.CrossCells.constScanLine(c.y()))[c.x()];
    return raw == m_doc.stitch().BackGroundColor ? raw : pixelToKey(raw);
}

quint32 ToolController::quarterContent(QPoint q) const
{
    const TColor32 raw = reinterpret_cast<const TColor32*>(m_doc.QuarterCells.constScanLine(q.y()))[q.x()];
    return raw == m_doc.stitch().BackGroundColor ? raw : pixelToKey(raw);
}

void ToolController::updateStatus(QPoint px)
{
    // The back-stitch and Rhodes tools show the grid point they snap to.
    const QPoint c = m_mode == modBackStitch || m_mode == modRhode ? m_map.gridPointAt(px)
                                                                    : m_map.cellAt(px);
    emit statusText(QStringLiteral("X: %1  Y: %2").arg(c.x() + 1).arg(c.y() + 1));
}

// ---------------------------------------------------------------------------------------------
// Mouse

void ToolController::mousePress(QPoint px)
{
    // One step of a tool may change many cells: the colour list and the counts are told
    // once, when the step ends.
    PatternDocument::NotifyBatch batch(m_doc);
    switch (m_mode) {
    case modDraw:
        m_mouseDown = true;
        m_cross.clear();
        m_quarter.clear();
        m_crossFromQuarter.clear();
        drawAt(px, true);
        break;
    case modQDraw:
        m_mouseDown = true;
        m_cross.clear();
        m_quarter.clear();
        m_crossFromQuarter.clear();
        quarterDrawAt(px, true);
        break;
    case modErase:
        m_mouseDown = true;
        m_cross.clear();
        m_quarter.clear();
        m_erasedBack.clear();
        m_erasedRhodes.clear();
        m_erasedKnots.clear();
        m_lastEraseCell = m_map.cellAt(px);
        eraseAt(px, true);
        break;
    case modPipette:
        m_mouseDown = true;
        pipetteAt(px);
        break;
    case modFill:
        fillAt(px);
        break;
    case modReplaceColor:
        replaceColorAt(px);
        break;
    case modCursor:
        m_mouseDown = true;
        m_panStart = m_map.cellAt(px);
        break;
    case modLine: case modRectangle: case modCircle: case modInlineBorder:
    case modOutlineBorder: case modOutline:
        shapePress(px);
        break;
    case modInsert:
        insertPress(px);
        break;
    case modSelection:
        selectionPress(px);
        break;
    case modBackStitch:
    case modFrenchKnot:
    case modRhode:
        stitchPress(px);
        break;
    default:
        break;
    }
}

void ToolController::mouseMove(QPoint px)
{
    PatternDocument::NotifyBatch batch(m_doc);
    if (isFigureMode(m_mode))
        shapeMove(px);
    stitchMove(px);
    if (m_mode == modSelection) {
        if (m_mouseDown)
            selectionMove(px);
        else
            selectionHover(px);
    } else if (m_mouseDown) {
        switch (m_mode) {
        case modDraw:
            drawAt(px, false);
            break;
        case modQDraw:
            quarterDrawAt(px, false);
            break;
        case modErase: {
            eraseAt(px, false);
            return; // the eraser updates the status bar itself
        }
        case modPipette:
            pipetteAt(px);
            if (!insideCells(m_map.cellAt(px)))
                return;
            break;
        case modCursor: {
            const QPoint c = m_map.cellAt(px);
            const QPoint delta = m_panStart - c;
            if (!delta.isNull())
                emit scrollBy(delta);
            break;
        }
        default:
            break;
        }
    }
    updateStatus(px);
}

void ToolController::mouseRelease(QPoint px)
{
    PatternDocument::NotifyBatch batch(m_doc);
    if (!m_mouseDown)
        return;
    if (m_mode == modPipette)
        pipetteAt(px);
    finishGesture();
    if (m_mode == modInsert)
        insertRelease();
}

void ToolController::finishGesture()
{
    m_mouseDown = false;
    m_selection.endDrag();
    m_selectionPans = false;
    const quint32 bg = m_doc.stitch().BackGroundColor;
    if (m_mode == modDraw || m_mode == modQDraw) {
        m_history.actionDraw(m_mode, m_cross, m_doc.stitch().drawcolor(), m_quarter, bg,
                             m_crossFromQuarter);
    } else if (m_mode == modErase) {
        if (!m_cross.isEmpty() || !m_quarter.isEmpty() || !m_erasedBack.isEmpty()
            || !m_erasedRhodes.empty() || !m_erasedKnots.isEmpty())
            m_history.actionErase(m_cross, m_quarter, m_erasedBack, m_erasedRhodes,
                                  m_erasedKnots, bg);
    }
    m_cross.clear();
    m_quarter.clear();
    m_crossFromQuarter.clear();
    m_erasedBack.clear();
    m_erasedRhodes.clear();
    m_erasedKnots.clear();
}

// ---------------------------------------------------------------------------------------------
// Draw and quarter draw

// A fast pointer reports positions several cells apart: the pen is stamped at every cell of
// the line from the previous position, so the stroke has no gaps.
void ToolController::drawAt(QPoint px, bool press)
{
    const QPoint centre = m_map.cellAt(px);
    const QList<QPoint> path = press ? QList<QPoint>{centre} : Figures::line(m_lastPenPos, centre, 1);
    m_lastPenPos = centre;
    for (qsizetype i = press ? 0 : 1; i < path.size(); ++i)
        drawStamp(path[i], press);
}

void ToolController::drawStamp(QPoint centre, bool press)
{
    if (!insideCells(centre))
        return;
    const quint32 colour = m_doc.stitch().drawcolor();
    const bool quarterOverCross = m_doc.stitch().AllowQuarterOverCross;
    for (const QPoint& d : penFootprint(m_doc.stitch().pensize())) {
        const QPoint c = centre + d;
        if (!insideCells(c))
            continue;
        if (!press && m_cross.contains(c))
            continue;
        if (!m_cross.record(c, cellContent(c)))
            continue;
        m_doc.updatePixel(c.x(), c.y(), colour, true);
        if (quarterOverCross)
            continue;
        for (int i = 0; i < 4; ++i) {
            const QPoint q(2 * c.x() + i % 2, 2 * c.y() + i / 2);
            const quint32 content = quarterContent(q);
            if (content == m_doc.stitch().BackGroundColor)
                continue;
            m_quarter.record(q, content);
            m_doc.updateQPixel(q.x(), q.y(), m_doc.stitch().BackGroundColor, true);
        }
    }
}

void ToolController::quarterDrawAt(QPoint px, bool press)
{
    const QPoint centre = m_map.quarterAt(px);
    const QList<QPoint> path = press ? QList<QPoint>{centre} : Figures::line(m_lastPenPos, centre, 1);
    m_lastPenPos = centre;
    for (qsizetype i = press ? 0 : 1; i < path.size(); ++i)
        quarterDrawStamp(path[i], press);
}

void ToolController::quarterDrawStamp(QPoint centre, bool press)
{
    if (!insideQuarters(centre))
        return;
    const quint32 colour = m_doc.stitch().drawcolor();
    const quint32 bg = m_doc.stitch().BackGroundColor;
    const bool quarterOverCross = m_doc.stitch().AllowQuarterOverCross;
    for (const QPoint& d : penFootprint(m_doc.stitch().pensize())) {
        const QPoint q = centre + d;
        if (!insideQuarters(q))
            continue;
        const QPoint cell(q.x() / 2, q.y() / 2);
        if (!press && (m_quarter.contains(q) || m_crossFromQuarter.contains(cell)))
            continue;
        m_quarter.record(q, quarterContent(q));
        if (!quarterOverCross && cellContent(cell) != bg) {
            m_cross.record(cell, cellContent(cell));
            m_doc.updatePixel(cell.x(), cell.y(), bg, true);
        }
        m_doc.updateQPixel(q.x(), q.y(), colour, true);

        // Four quarters of the draw colour make a full cross.
        bool full = true;
        for (int i = 0; i < 4 && full; ++i)
            full = quarterContent(QPoint(2 * cell.x() + i % 2, 2 * cell.y() + i / 2)) == colour;
        if (!full)
            continue;
        // Every quarter keeps its first recorded content, so one undo gives back exactly
        // what the cell held before the gesture.
        for (int i = 0; i < 4; ++i) {
            const QPoint qq(2 * cell.x() + i % 2, 2 * cell.y() + i / 2);
            m_quarter.record(qq, colour);
            m_doc.updateQPixel(qq.x(), qq.y(), bg, true);
        }
        m_crossFromQuarter.record(cell, cellContent(cell));
        m_doc.updatePixel(cell.x(), cell.y(), colour, true);
    }
}

// ---------------------------------------------------------------------------------------------
// Eraser

bool ToolController::eraseBackStitchAt(QPoint px)
{
    const QPoint a = m_map.absolutePixel(px);
    const QPointF lo(a.x() - 2, a.y() - 2), hi(a.x() + 2, a.y() + 2);
    for (int i = int(m_doc.DesignBackStitches.size()) - 1; i >= 0; --i) {
        const TBackStitch& b = m_doc.DesignBackStitches.at(i);
        if (segmentMeetsRect(m_map.gridPointPixel(b.FromPoint), m_map.gridPointPixel(b.ToPoint), lo, hi)) {
            TBackStitch copy = b;
            copy.Index = i;
            m_erasedBack.append(copy);
            m_doc.backStitchesDelete(i, true);
            return true;
        }
    }
    return false;
}

bool ToolController::eraseRhodeAt(QPoint px)
{
    const QPoint a = m_map.absolutePixel(px);
    const QPointF lo(a.x() - 2, a.y() - 2), hi(a.x() + 2, a.y() + 2);
    for (int i = int(m_doc.DesignRhodes.size()) - 1; i >= 0; --i) {
        const TRhode& r = *m_doc.DesignRhodes[size_t(i)];
        for (const TBackStitch& s : r.stitches) {
            if (segmentMeetsRect(m_map.gridPointPixel(s.FromPoint), m_map.gridPointPixel(s.ToPoint), lo, hi)) {
                auto copy = r.Clone();
                copy->index = i;
                m_erasedRhodes.push_back(std::move(copy));
                m_doc.RhodeDelete(i, true);
                return true;
            }
        }
    }
    return false;
}

bool ToolController::eraseFrenchKnotAt(QPoint px)
{
    const QPoint a = m_map.absolutePixel(px);
    const QRect square(a.x() - 2, a.y() - 2, 4, 4); // right and bottom edges excluded
    for (int i = int(m_doc.DesignFrenchKnots.size()) - 1; i >= 0; --i) {
        const TFrenchKnot& k = m_doc.DesignFrenchKnots.at(i);
        if (square.contains(m_map.gridPointPixel(k.Center))) {
            TFrenchKnot copy = k;
            copy.Index = i;
            m_erasedKnots.append(copy);
            m_doc.frenchKnotDelete(i, true);
            return true;
        }
    }
    return false;
}

void ToolController::eraseAt(QPoint px, bool press)
{
    const quint32 bg = m_doc.stitch().BackGroundColor;
    const QList<QPoint> pen = penFootprint(m_doc.stitch().pensize());
    bool quarterErased = false;

    if (press) {
        if (m_backStitchesVisible) {
            eraseBackStitchAt(px);
            eraseRhodeAt(px);
        }
        eraseFrenchKnotAt(px);
    }

    const QPoint qc = m_map.quarterAt(px);
    if (insideQuarters(qc) && quarterContent(qc) != bg) {
        for (const QPoint& d : pen) {
            const QPoint q = qc + d;
            if (!insideQuarters(q))
                continue;
            const quint32 content = quarterContent(q);
            if (!press && content == bg)
                continue;
            m_quarter.record(q, content);
            if (content != bg) {
                m_doc.updateQPixel(q.x(), q.y(), bg, true);
                quarterErased = true;
            }
        }
    }

    const QPoint centre = m_map.cellAt(px);
    if (!press) {
        if (centre == m_lastEraseCell && !quarterErased)
            return;
        m_lastEraseCell = centre;
        if (m_backStitchesVisible)
            eraseBackStitchAt(px);
    }
    if (press ? insideCells(centre) : true) {
        for (const QPoint& d : pen) {
            const QPoint c = centre + d;
            if (!insideCells(c))
                continue;
            const quint32 content = cellContent(c);
            if (press) {
                m_cross.record(c, content);
            } else {
                if (content == bg || m_cross.contains(c))
                    continue;
                m_cross.record(c, content);
            }
            if (content != bg)
                m_doc.updatePixel(c.x(), c.y(), bg, true);
        }
    }
    updateStatus(px);
}

// ---------------------------------------------------------------------------------------------
// Pipette, fill, replace colour

void ToolController::pipetteAt(QPoint px)
{
    const QPoint c = m_map.cellAt(px);
    if (!insideCells(c))
        return;
    const quint32 content = cellContent(c);
    if (content != m_doc.stitch().BackGroundColor)
        m_doc.stitch().setDrawcolor(content);
}

void ToolController::fillAt(QPoint px)
{
    const QPoint start = m_map.cellAt(px);
    if (!insideCells(start))
        return;
    const quint32 old = cellContent(start);
    const quint32 colour = m_doc.stitch().drawcolor();
    const quint32 bg = m_doc.stitch().BackGroundColor;
    if (old == colour)
        return;
    const bool quarterOverCross = m_doc.stitch().AllowQuarterOverCross;
    CellRecord quarters;
    QList<QPoint> filled;
    QList<QPoint> stack{start};
    while (!stack.isEmpty()) {
        const QPoint c = stack.takeLast();
        if (!insideCells(c) || cellContent(c) != old)
            continue;
        filled.append(c);
        m_doc.updatePixel(c.x(), c.y(), colour, false);
        if (!quarterOverCross) {
            for (int i = 0; i < 4; ++i) {
                const QPoint q(2 * c.x() + i % 2, 2 * c.y() + i / 2);
                const quint32 content = quarterContent(q);
                if (content != bg && quarters.record(q, content))
                    m_doc.updateQPixel(q.x(), q.y(), bg, false);
            }
        }
        stack.append(QPoint(c.x() - 1, c.y()));
        stack.append(QPoint(c.x() + 1, c.y()));
        stack.append(QPoint(c.x(), c.y() - 1));
        stack.append(QPoint(c.x(), c.y() + 1));
    }
    m_doc.sortColorSymbols();
    m_history.actionFill(filled, old, colour, quarters, bg);
    m_doc.refreshAll();
}

void ToolController::replaceColorAt(QPoint px)
{
    const QPoint cell = m_map.cellAt(px);
    if (!insideCells(cell))
        return;
    quint32 z = cellContent(cell);
    bool fromStitch = false;
    if (m_backStitchesVisible) {
        const QPointF lo(2 * cell.x() - 2, 2 * cell.y() - 2), hi(2 * cell.x() + 2, 2 * cell.y() + 2);
        for (int i = int(m_doc.DesignBackStitches.size()) - 1; i >= 0; --i) {
            const TBackStitch& b = m_doc.DesignBackStitches.at(i);
            if (segmentMeetsRect(b.FromPoint, b.ToPoint, lo, hi)) {
                z = b.Color; // the oldest stitch met decides
                fromStitch = true;
            }
        }
    }
    Q_UNUSED(fromStitch);
    const quint32 colour = m_doc.stitch().drawcolor();
    if (z == colour)
        return;
    QList<QPoint> cells;
    for (int y = 0; y < m_doc.height(); ++y) {
        for (int x = 0; x < m_doc.width(); ++x) {
            if (cellContent(QPoint(x, y)) == z) {
                cells.append(QPoint(x, y));
                m_doc.updatePixel(x, y, colour, false);
            }
        }
    }
    QList<TBackStitch> stitches;
    for (int i = 0; i < m_doc.DesignBackStitches.size(); ++i) {
        if (m_doc.DesignBackStitches.at(i).Color == z) {
            TBackStitch b = m_doc.DesignBackStitches.at(i);
            b.Index = i;
            stitches.append(b);
            m_doc.backStitchesRecolor(i, colour, false);
        }
    }
    m_doc.sortColorSymbols();
    m_history.actionReplaceColor(cells, stitches, z, colour);
    m_doc.refreshAll();
}
