// The selection tool of the tool controller: the frame, its drags, panning beside it, and the
// clipboard commands with the floating block.
#include "ToolController.h"

#include "CutAction.h"
#include "core/PatternDocument.h"

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

bool ToolController::selectionCopy()
{
    if (m_mode != modSelection)
        return false;
    m_block.setClipboard(Clipboard::copy(m_doc, m_selection.SelectionRect(), m_backStitchesVisible));
    emit floatingBlockChanged();
    return true;
}

bool ToolController::selectionCut()
{
    if (m_mode != modSelection)
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
