#include "MergeAction.h"

#include "TActions.h"
#include "core/PatternDocument.h"

#include <algorithm>

namespace {

TColor32 pixelAt(const QImage& image, int x, int y)
{
    return reinterpret_cast<const TColor32*>(image.constScanLine(y))[x];
}

bool inGrid(QPoint p, const PatternDocument& doc)
{
    return p.x() >= 0 && p.y() >= 0 && p.x() <= 2 * doc.width() && p.y() <= 2 * doc.height();
}

} // namespace

TFixAction::TFixAction(const PatternDocument& doc, const TClipboard& clip, QPoint topLeft)
    : fTopLeft(topLeft), fNewBitmap(clip.ClipCross), fNewQBitmap(clip.ClipQuarter),
      fOldBackground(doc.stitch().BackGroundColor), fNewBackground(clip.background)
{
    // The design under the block (the part outside the design stays background and is never
    // written back).
    const QRect block(topLeft, clip.size());
    fOldBitmap = QImage(clip.size(), QImage::Format_ARGB32);
    fOldBitmap.fill(fOldBackground);
    fOldQBitmap = QImage(clip.size() * 2, QImage::Format_ARGB32);
    fOldQBitmap.fill(fOldBackground);
    const QRect inside = block & QRect(0, 0, doc.width(), doc.height());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        std::copy_n(reinterpret_cast<const TColor32*>(doc.CrossCells.constScanLine(y)) + inside.left(),
                    inside.width(),
                    reinterpret_cast<TColor32*>(fOldBitmap.scanLine(y - topLeft.y())) + inside.left() - topLeft.x());
    for (int qy = 2 * inside.top(); qy < 2 * (inside.bottom() + 1); ++qy)
        std::copy_n(reinterpret_cast<const TColor32*>(doc.QuarterCells.constScanLine(qy)) + 2 * inside.left(),
                    2 * inside.width(),
                    reinterpret_cast<TColor32*>(fOldQBitmap.scanLine(qy - 2 * topLeft.y()))
                        + 2 * (inside.left() - topLeft.x()));

    const QPoint shift = 2 * topLeft;
    qint32 next = qint32(doc.DesignBackStitches.size());
    for (TBackStitch b : clip.ClipBackStitches) {
        b.FromPoint += shift;
        b.ToPoint += shift;
        if (inGrid(b.FromPoint, doc) && inGrid(b.ToPoint, doc)) {
            b.Index = next++;
            fBackStitches.append(b);
        }
    }
    next = qint32(doc.DesignRhodes.size());
    for (const auto& r : clip.ClipRhodes) {
        auto c = r->Clone();
        bool fits = true;
        for (TBackStitch& s : c->stitches) {
            s.FromPoint += shift;
            s.ToPoint += shift;
            fits = fits && inGrid(s.FromPoint, doc) && inGrid(s.ToPoint, doc);
        }
        if (fits) {
            c->index = next++;
            fRhodes.push_back(std::move(c));
        }
    }
    next = qint32(doc.DesignFrenchKnots.size());
    for (TFrenchKnot k : clip.ClipFrenchKnots) {
        k.Center += shift;
        if (inGrid(k.Center, doc)) {
            k.Index = next++;
            fFrenchKnots.append(k);
        }
    }
}

void TFixAction::Execute(PatternDocument& doc)
{
    const TColor32 bg = doc.stitch().BackGroundColor;
    const int w = doc.width(), h = doc.height();
    // Writes only what changes: a cell or quarter that already holds the value is left alone,
    // so its colour's count never passes through zero on the way.
    auto emptyQuarter = [&](int qx, int qy) {
        if (pixelAt(doc.QuarterCells, qx, qy) != bg)
            doc.updateQPixel(qx, qy, bg, false);
    };
    // A colour the design's table does not hold (a block copied from a design of another
    // palette) cannot be drawn; the cell or quarter under it stays as it is.
    auto drawable = [&](TColor32 v) { return doc.stitch().Colors.find(pixelToKey(v)) != nullptr; };
    for (int y = 0; y < fNewBitmap.height(); ++y) {
        const int cy = fTopLeft.y() + y;
        if (cy < 0 || cy >= h)
            continue;
        for (int x = 0; x < fNewBitmap.width(); ++x) {
            const TColor32 v = pixelAt(fNewBitmap, x, y);
            const int cx = fTopLeft.x() + x;
            if (v == fNewBackground || cx < 0 || cx >= w || !drawable(v))
                continue;
            if (pixelAt(doc.CrossCells, cx, cy) != v)
                doc.updatePixel(cx, cy, pixelToKey(v), false);
            for (int q = 0; q < 4; ++q)
                emptyQuarter(2 * cx + q % 2, 2 * cy + q / 2);
        }
    }
    for (int y = 0; y < fNewQBitmap.height(); ++y) {
        const int qy = 2 * fTopLeft.y() + y;
        if (qy < 0 || qy >= 2 * h)
            continue;
        for (int x = 0; x < fNewQBitmap.width(); ++x) {
            const TColor32 v = pixelAt(fNewQBitmap, x, y);
            const int qx = 2 * fTopLeft.x() + x;
            if (v == fNewBackground || qx < 0 || qx >= 2 * w || !drawable(v))
                continue;
            if (pixelAt(doc.QuarterCells, qx, qy) != v)
                doc.updateQPixel(qx, qy, pixelToKey(v), false);
            if (pixelAt(doc.CrossCells, qx / 2, qy / 2) != bg)
                doc.updatePixel(qx / 2, qy / 2, bg, false);
        }
    }
    for (const TBackStitch& b : fBackStitches)
        doc.backStitchesInsert(b.Index, b, false);
    for (const auto& r : fRhodes)
        doc.RhodeInsert(r->index, r->Clone(), false);
    for (const TFrenchKnot& k : fFrenchKnots)
        doc.frenchKnotInsert(k.Index, k, false);
}

void TFixAction::Undo(PatternDocument& doc)
{
    for (auto it = fFrenchKnots.crbegin(); it != fFrenchKnots.crend(); ++it)
        doc.frenchKnotDelete(it->Index, false);
    for (auto it = fRhodes.crbegin(); it != fRhodes.crend(); ++it)
        doc.RhodeDelete((*it)->index, false);
    for (auto it = fBackStitches.crbegin(); it != fBackStitches.crend(); ++it)
        doc.backStitchesDelete(it->Index, false);
    const TColor32 bg = doc.stitch().BackGroundColor;
    auto content = [&](TColor32 v) { return v == fOldBackground ? quint32(bg) : pixelToKey(v); };
    auto raw = [&](TColor32 v) { return v == fOldBackground ? bg : v; };
    const int w = doc.width(), h = doc.height();
    // Quarters first: restoring a cell never clears a quarter, so the order only matters for
    // the counts, which every write keeps exact.
    for (int y = 0; y < fOldQBitmap.height(); ++y)
        for (int x = 0; x < fOldQBitmap.width(); ++x) {
            const int qx = 2 * fTopLeft.x() + x, qy = 2 * fTopLeft.y() + y;
            if (qx < 0 || qy < 0 || qx >= 2 * w || qy >= 2 * h)
                continue;
            const TColor32 v = pixelAt(fOldQBitmap, x, y);
            if (pixelAt(doc.QuarterCells, qx, qy) != raw(v))
                doc.updateQPixel(qx, qy, content(v), false);
        }
    for (int y = 0; y < fOldBitmap.height(); ++y)
        for (int x = 0; x < fOldBitmap.width(); ++x) {
            const int cx = fTopLeft.x() + x, cy = fTopLeft.y() + y;
            if (cx < 0 || cy < 0 || cx >= w || cy >= h)
                continue;
            const TColor32 v = pixelAt(fOldBitmap, x, y);
            if (pixelAt(doc.CrossCells, cx, cy) != raw(v))
                doc.updatePixel(cx, cy, content(v), false);
        }
}

void actionFix(PatternDocument& doc, TActions& history, const TClipboard& clip, QPoint topLeft)
{
    if (clip.isEmpty())
        return;
    history.recordAndExecute(std::make_unique<TFixAction>(doc, clip, topLeft));
}
