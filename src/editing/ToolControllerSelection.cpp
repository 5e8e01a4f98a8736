// The selection tool of the tool controller: the frame, its drags, panning beside it, and the
// clipboard commands with the floating block.
#include "ToolController.h"

#include "CutAction.h"
#include "DesignLimits.h"
#include "core/PatternDocument.h"
#include "files/QvxFile.h"

namespace {

// Empty when the clipboard of a selection of this size can be made; otherwise the message
// saying why not. Repeated handle drags can stretch a selection far beyond the design.
QString clipboardProblem(TStitch& stitch, const QRect& selection)
{
    const qint64 w = selection.width(), h = selection.height();
    const qint64 available = DesignLimits::availableMemory();
    if (w > qint64(kMaxDesignSide) || h > qint64(kMaxDesignSide)
        || (available >= 0 && DesignLimits::rasterBytes(w, h) > available))
        return stitch.translate(QStringLiteral("The selection of %1 x %2 cells is too large to copy."))
            .arg(w)
            .arg(h);
    return {};
}

} // namespace

void ToolController::selectionModeChanged(TMode old, TMode mode)
{
    if (old == modSelection) {
        // Leaving the tool drops the floating block; the clipboard stays.
        const bool hadBlock = m_block.floating();
        m_block.drop();
        m_selection.end();
        m_hoverPart = dsNone;
        emit frameHoverChanged(dsNone);
        if (hadBlock)
            emit floatingBlockChanged();
        emit selectionChanged();
    }
    if (mode == modSelection) {
        m_selection.start(QPoint(m_map.hScroll, m_map.vScroll));
        emit selectionChanged();
    }
}

void ToolController::selectionPress(QPoint px)
{
    m_mouseDown = true;
    // A press on the frame drags it; anywhere else the view pans as with the hand.
    const TDragState part = m_selection.hitTest(px, m_map);
    m_selectionPans = !m_selection.beginDrag(px, part);
    m_panStart = m_map.cellAt(px);
}

void ToolController::selectionMove(QPoint px)
{
    if (m_selectionPans) {
        const QPoint delta = m_panStart - m_map.cellAt(px);
        if (!delta.isNull())
            emit scrollBy(delta);
        return;
    }
    if (m_selection.dragTo(px, m_map, QSize(m_doc.width(), m_doc.height()), m_block.floating())) {
        m_block.moveTo(m_selection.SelectionRect().topLeft());
        emit selectionChanged();
    }
}

void ToolController::selectionHover(QPoint px)
{
    const TDragState part = m_selection.hitTest(px, m_map);
    if (part == m_hoverPart)
        return;
    m_hoverPart = part;
    emit frameHoverChanged(part);
}

// Copy and Cut work in the selection tool only, on a selection whose clipboard can be held.
bool ToolController::selectionCanBeCopied()
{
    if (m_mode != modSelection)
        return false;
    if (const QString problem = clipboardProblem(m_doc.stitch(), m_selection.SelectionRect());
        !problem.isEmpty()) {
        emit refused(problem);
        return false;
    }
    return true;
}

bool ToolController::selectionCopy()
{
    if (!selectionCanBeCopied())
        return false;
    m_block.setClipboard(Clipboard::copy(m_doc, m_selection.SelectionRect(), m_backStitchesVisible));
    emit floatingBlockChanged();
    return true;
}

bool ToolController::selectionCut()
{
    if (!selectionCanBeCopied())
        return false;
    PatternDocument::NotifyBatch batch(m_doc);
    m_block.setClipboard(cutSelection(m_doc, m_history, m_selection.SelectionRect(),
                                      m_backStitchesVisible));
    emit floatingBlockChanged();
    return true;
}

bool ToolController::selectionPaste()
{
    if (!m_block.hasClipboard())
        return false;
    if (m_mode != modSelection) {
        Setmode(modSelection);
        if (m_mode != modSelection)
            return false;
    } else {
        m_block.drop();
    }
    const QPoint topLeft = m_selection.SelectionRect().topLeft();
    m_selection.setRect(QRect(topLeft, m_block.clipboard().size()));
    m_block.paste(topLeft);
    emit floatingBlockChanged();
    emit selectionChanged();
    return true;
}

void ToolController::startFloatingBlock(TClipboard clip)
{
    if (clip.isEmpty())
        return;
    m_block.setClipboard(std::move(clip));
    selectionPaste();
}

bool ToolController::selectionMerge()
{
    if (m_mode != modSelection)
        return false;
    PatternDocument::NotifyBatch batch(m_doc);
    return m_block.merge(m_doc, m_history);
}

void ToolController::transformBlock(void (TFloatingBlock::*transform)(), bool turns)
{
    if (m_mode != modSelection || !m_block.floating())
        return;
    (m_block.*transform)();
    if (turns)
        m_selection.setRect(QRect(m_selection.SelectionRect().topLeft(), m_block.clipboard().size()));
    emit floatingBlockChanged();
    if (turns)
        emit selectionChanged();
}

void ToolController::mirrorHorizontal()
{
    transformBlock(&TFloatingBlock::mirrorHorizontal, false);
}

void ToolController::mirrorVertical()
{
    transformBlock(&TFloatingBlock::mirrorVertical, false);
}

void ToolController::rotateRight()
{
    transformBlock(&TFloatingBlock::rotateRight, true);
}

void ToolController::rotateLeft()
{
    transformBlock(&TFloatingBlock::rotateLeft, true);
}
