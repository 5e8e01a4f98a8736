// The insert tool: one press after the insert dialog adds the chosen empty rows or columns at
// the pressed cell; the release returns to the tool that was active before.
#include "ToolController.h"

#include "TActions.h"
#include "core/PatternDocument.h"
#include "core/QuillError.h"

void ToolController::beginInsert(TInsertType type, int count)
{
    m_insertType = type;
    m_insertCount = count;
    if (m_mode != modInsert) {
        m_insertReturnMode = m_mode;
        Setmode(modInsert);
    }
}

void ToolController::insertPress(QPoint px)
{
    m_mouseDown = true;
    const QPoint c = m_map.cellAt(px);
    if (!insideCells(c))
        return;
    try {
        if (m_insertType == itColumn)
            actionInsert(m_doc, m_history, c.x(), itColumn, m_insertCount);
        else
            actionInsert(m_doc, m_history, c.y(), itRow, m_insertCount);
    } catch (const QuillError& e) {
        emit refused(e.message());
    }
}

void ToolController::insertRelease()
{
    Setmode(m_insertReturnMode);
}
