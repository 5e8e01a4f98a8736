#include "FloatingBlock.h"

#include "MergeAction.h"

namespace {

// Every reader of the clipboard takes its rasters as 32-bit values a row at a time.
void makeRaw32(QImage& raster)
{
    if (!raster.isNull() && raster.format() != QImage::Format_ARGB32
        && raster.format() != QImage::Format_RGB32)
        raster = raster.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

void TFloatingBlock::setClipboard(TClipboard clip)
{
    // A block made elsewhere (rendered text, a motif) may come in another pixel format or
    // without quarters: the quarters become empty ones of twice the size.
    makeRaw32(clip.ClipCross);
    makeRaw32(clip.ClipQuarter);
    if (!clip.isEmpty() && clip.ClipQuarter.size() != clip.size() * 2) {
        clip.ClipQuarter = QImage(clip.size() * 2, QImage::Format_ARGB32);
        clip.ClipQuarter.fill(clip.background);
    }
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
