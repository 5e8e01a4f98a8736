#include "ShapeActions.h"

#include "CellActions.h"
#include "CellSet.h"
#include "core/PatternDocument.h"

namespace {
quint32 contentOf(const QImage& raster, QPoint p, TColor32 bg)
{
    const TColor32 raw = reinterpret_cast<const TColor32*>(raster.constScanLine(p.y()))[p.x()];
    return raw == bg ? raw : pixelToKey(raw);
}
} // namespace

TLineAction::TLineAction(const PatternDocument& doc, const QList<QPoint>& points, quint32 newColor)
    : fNewColor(newColor)
{
    const TColor32 bg = doc.stitch().BackGroundColor;
    const QRect cells = doc.CrossCells.rect();
    const QRect quarters = doc.QuarterCells.rect();
    CellSet listed(cells);
    fArrPoints.reserve(points.size());
    for (const QPoint& p : points) {
        if (!cells.contains(p) || !listed.insert(p))
            continue;
        fArrPoints.append({p, contentOf(doc.CrossCells, p, bg)});
        for (int i = 0; i < 4; ++i) {
            const QPoint q(2 * p.x() + i % 2, 2 * p.y() + i / 2);
            if (!quarters.contains(q))
                continue;
            const quint32 content = contentOf(doc.QuarterCells, q, bg);
            if (content != bg)
                fArrQPoints.append({q, content});
        }
    }
}

void TLineAction::Execute(PatternDocument& doc)
{
    for (const auto& [p, previous] : fArrPoints)
        writeCellContent(doc, p, fNewColor);
    const quint32 empty = doc.stitch().BackGroundColor;
    for (const auto& [q, previous] : fArrQPoints)
        writeQuarterContent(doc, q, empty);
}

void TLineAction::Undo(PatternDocument& doc)
{
    for (const auto& [p, previous] : fArrPoints)
        writeCellContent(doc, p, previous);
    for (const auto& [q, previous] : fArrQPoints)
        writeQuarterContent(doc, q, previous);
}

// ---------------------------------------------------------------------------------------------

TOutlineAction::TOutlineAction(const QList<TBackStitch>& arr, quint32 newColor)
    : fArr(arr), fNewColor(newColor)
{
}

void TOutlineAction::Execute(PatternDocument& doc)
{
    for (const TBackStitch& b : fArr)
        doc.backStitchesInsert(b.Index, b, false);
}

void TOutlineAction::Undo(PatternDocument& doc)
{
    for (int i = int(fArr.size()) - 1; i >= 0; --i)
        doc.backStitchesDelete(fArr[i].Index, false);
}
