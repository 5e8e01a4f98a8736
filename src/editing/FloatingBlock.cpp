#include "FloatingBlock.h"

#include "MergeAction.h"

void TFloatingBlock::setClipboard(TClipboard clip)
{
    m_clip = std::move(clip);
    m_floating = false;
}

bool TFloatingBlock::paste(QPoint topLeft)
{
    if (!hasClipboard())
        return false;
    m_topLeft = topLeft;
    m_floating = true;
    return true;
}

QRect TFloatingBlock::cells() const
{
    return m_floating ? QRect(m_topLeft, m_clip.size()) : QRect();
}

void TFloatingBlock::mirrorHorizontal()
{
    if (m_floating)
        Clipboard::mirrorHorizontal(m_clip);
}

void TFloatingBlock::mirrorVertical()
{
    if (m_floating)
        Clipboard::mirrorVertical(m_clip);
}

void TFloatingBlock::rotateRight()
{
    if (m_floating)
        Clipboard::rotateRight(m_clip);
}

void TFloatingBlock::rotateLeft()
{
    if (m_floating)
        Clipboard::rotateLeft(m_clip);
}

bool TFloatingBlock::merge(PatternDocument& doc, TActions& history) const
{
    if (!m_floating || !hasClipboard())
        return false;
    actionFix(doc, history, m_clip, m_topLeft);
    return true;
}
