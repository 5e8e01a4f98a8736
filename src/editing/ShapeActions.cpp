#include "ShapeActions.h"

#include "CellBits.h"
#include "core/BulkWrite.h"
#include "core/PatternDocument.h"

TLineAction::TLineAction(const PatternDocument& doc, const QList<QPoint>& points, quint32 newColor)
    : fNewColor(newColor)
{
    const TColor32 bg = doc.stitch().BackGroundColor;
    const QImage& cells = doc.CrossCells;
    const QImage& quarters = doc.QuarterCells;
    const int w = cells.width(), h = cells.height();
    // The listed cells inside the design, each once, and their bounding rectangle.
    CellBits listed(w, h);
    int left = w, top = h, right = -1, bottom = -1;
    qsizetype count = 0;
    for (const QPoint& p : points) {
        if (uint(p.x()) >= uint(w) || uint(p.y()) >= uint(h) || !listed.insert(p.x(), p.y()))
            continue;
        ++count;
        left = qMin(left, p.x());
        right = qMax(right, p.x());
        top = qMin(top, p.y());
        bottom = qMax(bottom, p.y());
    }
    // Recorded row by row: the order of the records does not matter (each point is there
    // once), and reading the rasters in their order is several times faster than following a
    // figure's walk over a large design.
    fArrPoints.reserve(count);
    const bool withQuarters = quarters.width() >= 2 * w && quarters.height() >= 2 * h;
    const qsizetype qbpl = quarters.bytesPerLine();
    for (int y = top; y <= bottom; ++y) {
        const TColor32* row = reinterpret_cast<const TColor32*>(cells.constScanLine(y));
        const TColor32* q0 = withQuarters
            ? reinterpret_cast<const TColor32*>(quarters.constBits() + qsizetype(2 * y) * qbpl)
            : nullptr;
        const TColor32* q1 = withQuarters
            ? reinterpret_cast<const TColor32*>(quarters.constBits() + qsizetype(2 * y + 1) * qbpl)
            : nullptr;
        for (int x = left; x <= right; ++x) {
            if (!listed.contains(x, y))
                continue;
            fArrPoints.append({QPoint(x, y), row[x] == bg ? row[x] : pixelToKey(row[x])});
            if (!withQuarters)
                continue;
            const TColor32 four[] = {q0[2 * x], q0[2 * x + 1], q1[2 * x], q1[2 * x + 1]};
            for (int i = 0; i < 4; ++i) {
                if (four[i] == bg)
                    continue;
                fArrQPoints.append({QPoint(2 * x + i % 2, 2 * y + i / 2), pixelToKey(four[i])});
            }
        }
    }
}

void TLineAction::Execute(PatternDocument& doc)
{
    BulkWrite::updatePixels(doc, fArrPoints, fNewColor, false);
    BulkWrite::updateQPixels(doc, fArrQPoints, doc.stitch().BackGroundColor, false);
}

void TLineAction::Undo(PatternDocument& doc)
{
    BulkWrite::updatePixels(doc, fArrPoints, false);
    BulkWrite::updateQPixels(doc, fArrQPoints, false);
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
