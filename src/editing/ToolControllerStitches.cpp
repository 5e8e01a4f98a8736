// The stitch tools of the chart: back stitches between grid points (with chain mode and a
// preview line to the pointer), French knots on grid points and copies of a Rhodes definition
// centred on a grid point. Each placed stitch is one undo action.
#include "ToolController.h"

#include "TActions.h"
#include "core/PatternDocument.h"

namespace {

// Pen widths of the previews, in view pixels.
constexpr int kBackStitchPreviewPen = 5;
constexpr int kRhodePreviewPen = 3;

} // namespace

void ToolController::setCurrentRhode(int position)
{
    CurrentRhode = position;
}

const TRhode* ToolController::currentRhodeDefinition() const
{
    const TRhodeList& catalogue = m_doc.stitch().RhodeCatalogue;
    if (CurrentRhode < 0 || CurrentRhode >= int(catalogue.size()))
        return nullptr;
    return catalogue[size_t(CurrentRhode)].get();
}

bool ToolController::insideGrid(QPoint p) const
{
    return p.x() >= 0 && p.y() >= 0 && p.x() <= 2 * m_doc.width() && p.y() <= 2 * m_doc.height();
}

void ToolController::clearStitchPreview()
{
    if (!m_stitchPreviewShown)
        return;
    m_stitchPreviewShown = false;
    emit stitchPreviewChanged({}, 0);
}

void ToolController::escapeBackStitch()
{
    if (m_mode != modBackStitch)
        return;
    BackStitchIdle = true;
    clearStitchPreview();
}

void ToolController::stitchesModeChanged(TMode old, TMode mode)
{
    if (old == modBackStitch || old == modRhode)
        clearStitchPreview();
    if (mode == modBackStitch)
        BackStitchIdle = true;
}

void ToolController::stitchPress(QPoint px)
{
    const QPoint p = m_map.gridPointAt(px);
    if (!insideGrid(p))
        return;
    switch (m_mode) {
    case modBackStitch:
        backStitchPress(p);
        break;
    case modFrenchKnot:
        frenchKnotPress(p);
        break;
    case modRhode:
        rhodePress(p);
        break;
    default:
        break;
    }
}

void ToolController::stitchMove(QPoint px)
{
    if (m_mode == modBackStitch)
        drawTempBackStitch(m_map.gridPointAt(px));
    else if (m_mode == modRhode)
        drawTempRhode(m_map.gridPointAt(px));
}

void ToolController::backStitchPress(QPoint p)
{
    if (BackStitchIdle) {
        PendingBackStitch.FromPoint = p;
        BackStitchIdle = false;
        return;
    }
    PendingBackStitch.ToPoint = p;
    if (p == PendingBackStitch.FromPoint) {
        // The start point clicked again ends the chain.
        BackStitchIdle = true;
        clearStitchPreview();
        return;
    }
    TBackStitch b = PendingBackStitch;
    b.Color = m_doc.stitch().drawcolor();
    b.Index = int(m_doc.DesignBackStitches.size());
    m_doc.backStitchesAdd(b, true);
    m_history.actionDrawBackStitch(b);
    if (fBackStitchesContinue)
        PendingBackStitch.FromPoint = p;
    else
        BackStitchIdle = true;
    clearStitchPreview();
}

void ToolController::frenchKnotPress(QPoint p)
{
    TFrenchKnot k;
    k.Center = p;
    k.Color = m_doc.stitch().drawcolor();
    k.Index = int(m_doc.DesignFrenchKnots.size());
    m_doc.frenchKnotAdd(k, true);
    m_history.actionDrawFrenchKnot(k);
}

void ToolController::rhodePress(QPoint p)
{
    const TRhode* d = currentRhodeDefinition();
    if (!d)
        return;
    // The definition's centre, (width, height) in its own grid points, lands on p.
    const QPoint offset(p.x() - d->width, p.y() - d->height);
    auto r = std::make_unique<TRhode>();
    for (const TBackStitch& s : d->stitches) {
        TBackStitch moved = s;
        moved.FromPoint += offset;
        moved.ToPoint += offset;
        r->stitches.append(moved);
    }
    r->color = m_doc.stitch().drawcolor();
    r->index = int(m_doc.DesignRhodes.size());
    const TRhode& placed = *r;
    m_doc.RhodeAdd(std::move(r), true);
    m_history.actionDrawRhode(placed);
}

void ToolController::drawTempBackStitch(QPoint p)
{
    if (BackStitchIdle)
        return;
    m_stitchPreviewShown = true;
    emit stitchPreviewChanged({QLine(PendingBackStitch.FromPoint, p)}, kBackStitchPreviewPen);
}

void ToolController::drawTempRhode(QPoint p)
{
    const TRhode* d = currentRhodeDefinition();
    // The preview lies on the back-stitch layer: without it nothing is drawn.
    if (!d || !m_backStitchesVisible) {
        clearStitchPreview();
        return;
    }
    const QPoint offset(p.x() - d->width, p.y() - d->height);
    QList<QLine> lines;
    lines.reserve(d->stitches.size());
    for (const TBackStitch& s : d->stitches)
        lines.append(QLine(s.FromPoint + offset, s.ToPoint + offset));
    m_stitchPreviewShown = true;
    emit stitchPreviewChanged(lines, kRhodePreviewPen);
}
