#include "CutAction.h"

#include "TActions.h"
#include "core/PatternDocument.h"

namespace {

bool inRange(QPoint p, const QRect& grid)
{
    return p.x() >= grid.left() && p.x() <= grid.right() && p.y() >= grid.top()
        && p.y() <= grid.bottom();
}

// Writes the non-empty pixels of a cut raster back (restore) or empties the design under the
// whole raster (cut), inside the design only. A cell or quarter that already holds the value is
// left alone, so no colour's count passes through zero on the way.
void writeBack(PatternDocument& doc, const QImage& raster, QPoint topLeft, TColor32 empty,
               bool restore, bool quarters)
{
    const QImage& target = quarters ? doc.QuarterCells : doc.CrossCells;
    const TColor32 bg = doc.stitch().BackGroundColor;
    const QRect inside = QRect(topLeft, raster.size()) & target.rect();
    for (int ty = inside.top(); ty <= inside.bottom(); ++ty) {
        const auto* in = reinterpret_cast<const TColor32*>(raster.constScanLine(ty - topLeft.y()));
        for (int tx = inside.left(); tx <= inside.right(); ++tx) {
            const TColor32 v = in[tx - topLeft.x()];
            const bool content = restore && v != empty;
            const TColor32 now = reinterpret_cast<const TColor32*>(target.constScanLine(ty))[tx];
            if (now == (content ? v : bg))
                continue;
            const quint32 value = content ? pixelToKey(v) : quint32(bg);
            if (quarters)
                doc.updateQPixel(tx, ty, value, false);
            else
                doc.updatePixel(tx, ty, value, false);
        }
    }
}

} // namespace

void TCutAction::Execute(PatternDocument& doc)
{
    writeBack(doc, fBitmap, fTopLeft, fBackGroundColor, false, false);
    writeBack(doc, fQBitmap, 2 * fTopLeft, fBackGroundColor, false, true);
    for (qint32 p : fKnotPositions)
        doc.frenchKnotDelete(p, false);
    for (qint32 p : fBackPositions)
        doc.backStitchesDelete(p, false);
    for (qint32 p : fRhodePositions)
        doc.RhodeDelete(p, false);
}

void TCutAction::Undo(PatternDocument& doc)
{
    writeBack(doc, fBitmap, fTopLeft, fBackGroundColor, true, false);
    writeBack(doc, fQBitmap, 2 * fTopLeft, fBackGroundColor, true, true);
    for (qsizetype i = fRhodes.size() - 1; i >= 0; --i)
        doc.RhodeInsert(fRhodePositions[i], fRhodes[size_t(i)]->Clone(), false);
    for (qsizetype i = fBackStitches.size() - 1; i >= 0; --i)
        doc.backStitchesInsert(fBackPositions[i], fBackStitches[i], false);
    for (qsizetype i = fFrenchKnots.size() - 1; i >= 0; --i)
        doc.frenchKnotInsert(fKnotPositions[i], fFrenchKnots[i], false);
}

TClipboard cutSelection(PatternDocument& doc, TActions& history, const QRect& selection,
                        bool withBackStitches)
{
    TClipboard clip = Clipboard::copy(doc, selection, withBackStitches);
    auto action = std::make_unique<TCutAction>();
    action->fTopLeft = selection.topLeft();
    action->fBackGroundColor = clip.background;
    action->fBitmap = clip.ClipCross;
    action->fQBitmap = clip.ClipQuarter;
    const QRect source = selection & QRect(0, 0, doc.width(), doc.height());
    if (!source.isEmpty()) {
        const QRect grid(QPoint(2 * source.left(), 2 * source.top()),
                         QPoint(2 * (source.right() + 1), 2 * (source.bottom() + 1)));
        // From the last to the first, so every recorded position is valid when replayed.
        for (qsizetype i = doc.DesignFrenchKnots.size() - 1; i >= 0; --i)
            if (inRange(doc.DesignFrenchKnots[i].Center, grid)) {
                action->fFrenchKnots.append(doc.DesignFrenchKnots[i]);
                action->fKnotPositions.append(qint32(i));
            }
        if (withBackStitches) {
            for (qsizetype i = doc.DesignBackStitches.size() - 1; i >= 0; --i) {
                const TBackStitch& b = doc.DesignBackStitches[i];
                if (inRange(b.FromPoint, grid) && inRange(b.ToPoint, grid)) {
                    action->fBackStitches.append(b);
                    action->fBackPositions.append(qint32(i));
                }
            }
            for (qsizetype i = qsizetype(doc.DesignRhodes.size()) - 1; i >= 0; --i) {
                const TRhode& r = *doc.DesignRhodes[size_t(i)];
                bool inside = true;
                for (const TBackStitch& s : r.stitches)
                    inside = inside && inRange(s.FromPoint, grid) && inRange(s.ToPoint, grid);
                if (inside) {
                    action->fRhodes.push_back(r.Clone());
                    action->fRhodePositions.append(qint32(i));
                }
            }
        }
    }
    history.recordAndExecute(std::move(action));
    return clip;
}
