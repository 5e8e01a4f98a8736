#include "DimensionActions.h"

#include "DesignLimits.h"
#include "TActions.h"
#include "core/LargeMemory.h"
#include "core/PatternDocument.h"
#include "core/QuillError.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

// A raster of w x h pixels, not yet initialised; throws (naming the design size) when memory is
// short. An empty size gives a null image.
QImage newRaster(PatternDocument& doc, int width, int height, QSize designSize)
{
    if (width <= 0 || height <= 0)
        return QImage();
    QImage image = newLargeImage(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        throw QuillError(doc.stitch().translate(QStringLiteral("There is not enough memory for a "
                                                               "design of %1 x %2 cells."))
                             .arg(designSize.width())
                             .arg(designSize.height()));
    return image;
}

TColor32* row(QImage& image, int y) { return reinterpret_cast<TColor32*>(image.scanLine(y)); }
const TColor32* row(const QImage& image, int y)
{
    return reinterpret_cast<const TColor32*>(image.constScanLine(y));
}

// Copies the `size` pixels at `from` of `src` to `to` of `dst`, a row at a time.
void copyBlock(const QImage& src, QPoint from, QImage& dst, QPoint to, QSize size)
{
    if (size.width() <= 0 || size.height() <= 0)
        return;
    const size_t bytes = size_t(size.width()) * sizeof(TColor32);
    for (int y = 0; y < size.height(); ++y)
        std::memcpy(row(dst, to.y() + y) + to.x(), row(src, from.y() + y) + from.x(), bytes);
}

// `src` with `n` columns of `bg` inserted before column `at` (insert), or with the columns
// at .. at + n - 1 left out, written into `dst` (already of the resulting size).
void spliceColumns(const QImage& src, QImage& dst, int at, int n, bool insert, TColor32 bg)
{
    const int h = src.height();
    const int tail = insert ? src.width() - at : src.width() - at - n;
    copyBlock(src, QPoint(0, 0), dst, QPoint(0, 0), QSize(at, h));
    if (insert) {
        copyBlock(src, QPoint(at, 0), dst, QPoint(at + n, 0), QSize(tail, h));
        for (int y = 0; y < h; ++y)
            std::fill_n(row(dst, y) + at, n, bg);
    } else {
        copyBlock(src, QPoint(at + n, 0), dst, QPoint(at, 0), QSize(tail, h));
    }
}

void spliceRows(const QImage& src, QImage& dst, int at, int n, bool insert, TColor32 bg)
{
    const int w = src.width();
    const int tail = insert ? src.height() - at : src.height() - at - n;
    copyBlock(src, QPoint(0, 0), dst, QPoint(0, 0), QSize(w, at));
    if (insert) {
        copyBlock(src, QPoint(0, at), dst, QPoint(0, at + n), QSize(w, tail));
        for (int y = at; y < at + n; ++y)
            std::fill_n(row(dst, y), w, bg);
    } else {
        copyBlock(src, QPoint(0, at + n), dst, QPoint(0, at), QSize(w, tail));
    }
}

// The coordinate of a point along the insertion's axis.
int& axis(QPoint& p, TInsertType type) { return type == itColumn ? p.rx() : p.ry(); }

int rhodeLow(const TRhode& r, TInsertType type)
{
    int low = std::numeric_limits<int>::max();
    for (const TBackStitch& s : r.stitches) {
        QPoint a = s.FromPoint, b = s.ToPoint;
        low = std::min({low, axis(a, type), axis(b, type)});
    }
    return low;
}

bool beyond(QPoint p, int gridWidth, int gridHeight)
{
    return p.x() > gridWidth || p.y() > gridHeight;
}

bool rhodeBeyond(const TRhode& r, int gridWidth, int gridHeight)
{
    for (const TBackStitch& s : r.stitches)
        if (beyond(s.FromPoint, gridWidth, gridHeight) || beyond(s.ToPoint, gridWidth, gridHeight))
            return true;
    return false;
}

// `current` with the removed entries put back at their positions: `removed` and `positions` in
// order of removal (descending position), so inserting them from the last to the first puts
// every one at a valid place. One pass instead of an insertion each.
template <typename T, typename Take>
void mergeBack(std::vector<T>& out, std::vector<T>& current, qsizetype removedCount,
               const QList<qint32>& positions, Take takeRemoved)
{
    out.reserve(current.size() + size_t(removedCount));
    size_t i = 0;
    qsizetype j = removedCount - 1; // the next removed entry in ascending position
    while (i < current.size() || j >= 0) {
        if (j >= 0 && (positions[j] <= qint32(out.size()) || i >= current.size())) {
            out.push_back(takeRemoved(j));
            --j;
        } else {
            out.push_back(std::move(current[i++]));
        }
    }
}

template <typename T>
QList<T> mergeBackList(const QList<T>& current, const QList<T>& removed, const QList<qint32>& positions)
{
    std::vector<T> cur(current.cbegin(), current.cend()), out;
    mergeBack(out, cur, removed.size(), positions, [&](qsizetype j) { return removed[j]; });
    return QList<T>(out.cbegin(), out.cend());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Insertion

void TInsertAction::Execute(PatternDocument& doc)
{
    apply(doc, true);
}

void TInsertAction::Undo(PatternDocument& doc)
{
    apply(doc, false);
}

void TInsertAction::apply(PatternDocument& doc, bool insert)
{
    const int w = doc.width(), h = doc.height();
    const int n = insert ? fCount : -fCount;
    const bool columns = fInsertType == itColumn;
    const QSize size(columns ? w + n : w, columns ? h : h + n);
    const int at = fPosition;
    if (at < 0 || size.width() < 1 || size.height() < 1 || at > (columns ? w : h))
        return;
    QImage cross = newRaster(doc, size.width(), size.height(), size);
    QImage quarters = newRaster(doc, 2 * size.width(), 2 * size.height(), size);
    QList<TBackStitch> back;
    QList<TFrenchKnot> knots;
    try {
        back = doc.DesignBackStitches;
        knots = doc.DesignFrenchKnots;
        back.detach();
        knots.detach();
    } catch (const std::bad_alloc&) {
        throw QuillError(doc.stitch().translate(QStringLiteral("There is not enough memory for a "
                                                               "design of %1 x %2 cells."))
                             .arg(size.width())
                             .arg(size.height()));
    }

    // From here on nothing allocates: the design changes as a whole or not at all.
    const TColor32 bg = doc.stitch().BackGroundColor;
    if (columns) {
        spliceColumns(doc.CrossCells, cross, at, fCount, insert, bg);
        spliceColumns(doc.QuarterCells, quarters, 2 * at, 2 * fCount, insert, bg);
    } else {
        spliceRows(doc.CrossCells, cross, at, fCount, insert, bg);
        spliceRows(doc.QuarterCells, quarters, 2 * at, 2 * fCount, insert, bg);
    }
    doc.CrossCells = std::move(cross);
    doc.QuarterCells = std::move(quarters);

    // Points beyond the insertion line move; on the way back the same points return, as the
    // inserted band holds none once the later actions are undone.
    const int line = 2 * at, shift = 2 * n;
    auto move = [&](QPoint& p) {
        int& v = axis(p, fInsertType);
        if (v > line)
            v += shift;
    };
    for (TBackStitch& b : back) {
        move(b.FromPoint);
        move(b.ToPoint);
    }
    for (TFrenchKnot& k : knots)
        move(k.Center);
    // A Rhodes stitch moves whole when it lies on or beyond the line, so it keeps its shape.
    const int rhodeFrom = insert ? line : line + 2 * fCount;
    for (auto& r : doc.DesignRhodes) {
        if (r->stitches.isEmpty() || rhodeLow(*r, fInsertType) < rhodeFrom)
            continue;
        for (TBackStitch& s : r->stitches) {
            axis(s.FromPoint, fInsertType) += shift;
            axis(s.ToPoint, fInsertType) += shift;
        }
    }
    doc.DesignBackStitches = std::move(back);
    doc.DesignFrenchKnots = std::move(knots);
    // A back stitch across the line changes its length, so the counts are made anew.
    doc.CalcColorUsage();
}

// ---------------------------------------------------------------------------------------------
// Size change

void TChangeDimensionsAction::Execute(PatternDocument& doc)
{
    const int w = doc.width(), h = doc.height();
    const int nw = fNewWidth, nh = fNewHeight;
    const int keepW = std::min(w, nw), keepH = std::min(h, nh);
    const QSize size(nw, nh);

    // Everything that needs memory first, so that a failure leaves the design as it was.
    QImage cross = newRaster(doc, nw, nh, size);
    QImage quarters = newRaster(doc, 2 * nw, 2 * nh, size);
    QImage right = newRaster(doc, w - nw, h, size);
    QImage rightQ = newRaster(doc, 2 * (w - nw), 2 * h, size);
    QImage bottom = newRaster(doc, keepW, h - nh, size);
    QImage bottomQ = newRaster(doc, 2 * keepW, 2 * (h - nh), size);
    QList<TBackStitch> keptBack, droppedBack;
    QList<TFrenchKnot> keptKnots, droppedKnots;
    QList<qint32> backPositions, knotPositions, rhodePositions;
    std::vector<std::unique_ptr<TRhode>> droppedRhodes;
    std::vector<bool> rhodeDropped;
    try {
        const int gw = 2 * nw, gh = 2 * nh;
        const auto& back = doc.DesignBackStitches;
        for (qsizetype i = back.size() - 1; i >= 0; --i) {
            if (beyond(back[i].FromPoint, gw, gh) || beyond(back[i].ToPoint, gw, gh)) {
                droppedBack.append(back[i]);
                backPositions.append(qint32(i));
            }
        }
        keptBack.reserve(back.size() - droppedBack.size());
        for (const TBackStitch& b : back)
            if (!beyond(b.FromPoint, gw, gh) && !beyond(b.ToPoint, gw, gh))
                keptBack.append(b);
        const auto& knots = doc.DesignFrenchKnots;
        for (qsizetype i = knots.size() - 1; i >= 0; --i) {
            if (beyond(knots[i].Center, gw, gh)) {
                droppedKnots.append(knots[i]);
                knotPositions.append(qint32(i));
            }
        }
        for (const TFrenchKnot& k : knots)
            if (!beyond(k.Center, gw, gh))
                keptKnots.append(k);
        rhodeDropped.assign(doc.DesignRhodes.size(), false);
        for (qsizetype i = qsizetype(doc.DesignRhodes.size()) - 1; i >= 0; --i) {
            const TRhode& r = *doc.DesignRhodes[size_t(i)];
            if (rhodeBeyond(r, gw, gh)) {
                droppedRhodes.push_back(r.Clone());
                rhodePositions.append(qint32(i));
                rhodeDropped[size_t(i)] = true;
            }
        }
    } catch (const std::bad_alloc&) {
        throw QuillError(doc.stitch().translate(QStringLiteral("There is not enough memory for a "
                                                               "design of %1 x %2 cells."))
                             .arg(nw)
                             .arg(nh));
    }

    // The cut-off strips, then the kept part into the new rasters.
    copyBlock(doc.CrossCells, QPoint(nw, 0), right, QPoint(), right.size());
    copyBlock(doc.QuarterCells, QPoint(2 * nw, 0), rightQ, QPoint(), rightQ.size());
    copyBlock(doc.CrossCells, QPoint(0, nh), bottom, QPoint(), bottom.size());
    copyBlock(doc.QuarterCells, QPoint(0, 2 * nh), bottomQ, QPoint(), bottomQ.size());
    cross.fill(fBackGroundColor);
    quarters.fill(fBackGroundColor);
    copyBlock(doc.CrossCells, QPoint(), cross, QPoint(), QSize(keepW, keepH));
    copyBlock(doc.QuarterCells, QPoint(), quarters, QPoint(), QSize(2 * keepW, 2 * keepH));
    doc.CrossCells = std::move(cross);
    doc.QuarterCells = std::move(quarters);
    fRightCells = std::move(right);
    fRightQuarters = std::move(rightQ);
    fBottomCells = std::move(bottom);
    fBottomQuarters = std::move(bottomQ);

    doc.DesignBackStitches = std::move(keptBack);
    doc.DesignFrenchKnots = std::move(keptKnots);
    {
        auto& rhodes = doc.DesignRhodes;
        size_t out = 0;
        for (size_t i = 0; i < rhodes.size(); ++i)
            if (!rhodeDropped[i])
                rhodes[out++] = std::move(rhodes[i]);
        rhodes.resize(out);
    }
    fArrBack = std::move(droppedBack);
    fArrKnots = std::move(droppedKnots);
    fArrRhodes = std::move(droppedRhodes);
    fBackPositions = std::move(backPositions);
    fKnotPositions = std::move(knotPositions);
    fRhodePositions = std::move(rhodePositions);
    doc.CalcColorUsage();
}

void TChangeDimensionsAction::Undo(PatternDocument& doc)
{
    const int w = doc.width(), h = doc.height();
    const int ow = fOldWidth, oh = fOldHeight;
    const QSize size(ow, oh);
    QImage cross = newRaster(doc, ow, oh, size);
    QImage quarters = newRaster(doc, 2 * ow, 2 * oh, size);
    QList<TBackStitch> back;
    QList<TFrenchKnot> knots;
    std::vector<std::unique_ptr<TRhode>> rhodes;
    try {
        back = mergeBackList(doc.DesignBackStitches, fArrBack, fBackPositions);
        knots = mergeBackList(doc.DesignFrenchKnots, fArrKnots, fKnotPositions);
        // The removed Rhodes stitches come back as new copies; the design's own objects take
        // the empty places in their order once nothing can fail any more.
        std::vector<std::unique_ptr<TRhode>> copies;
        copies.reserve(fArrRhodes.size());
        for (const auto& r : fArrRhodes)
            copies.push_back(r->Clone());
        std::vector<std::unique_ptr<TRhode>> places(doc.DesignRhodes.size());
        mergeBack(rhodes, places, qsizetype(copies.size()), fRhodePositions,
                  [&](qsizetype j) { return std::move(copies[size_t(j)]); });
    } catch (const std::bad_alloc&) {
        throw QuillError(doc.stitch().translate(QStringLiteral("There is not enough memory for a "
                                                               "design of %1 x %2 cells."))
                             .arg(ow)
                             .arg(oh));
    }

    cross.fill(fBackGroundColor);
    quarters.fill(fBackGroundColor);
    const int keepW = std::min(w, ow), keepH = std::min(h, oh);
    copyBlock(doc.CrossCells, QPoint(), cross, QPoint(), QSize(keepW, keepH));
    copyBlock(doc.QuarterCells, QPoint(), quarters, QPoint(), QSize(2 * keepW, 2 * keepH));
    copyBlock(fRightCells, QPoint(), cross, QPoint(w, 0), fRightCells.size());
    copyBlock(fRightQuarters, QPoint(), quarters, QPoint(2 * w, 0), fRightQuarters.size());
    copyBlock(fBottomCells, QPoint(), cross, QPoint(0, h), fBottomCells.size());
    copyBlock(fBottomQuarters, QPoint(), quarters, QPoint(0, 2 * h), fBottomQuarters.size());
    doc.CrossCells = std::move(cross);
    doc.QuarterCells = std::move(quarters);
    size_t next = 0;
    for (auto& r : rhodes)
        if (!r)
            r = std::move(doc.DesignRhodes[next++]);
    doc.DesignRhodes = std::move(rhodes);
    doc.DesignBackStitches = std::move(back);
    doc.DesignFrenchKnots = std::move(knots);

    // The next Execute cuts the same content off again.
    fRightCells = fRightQuarters = fBottomCells = fBottomQuarters = QImage();
    fArrBack.clear();
    fArrKnots.clear();
    fArrRhodes.clear();
    fBackPositions.clear();
    fKnotPositions.clear();
    fRhodePositions.clear();
    doc.CalcColorUsage();
}

// ---------------------------------------------------------------------------------------------
// Recording

namespace {
qint64 freeMemory(qint64 available)
{
    return available >= 0 ? available : DesignLimits::availableMemory();
}
} // namespace

void actionInsert(PatternDocument& doc, TActions& history, int position, TInsertType type,
                  int count, qint64 available)
{
    const bool columns = type == itColumn;
    if (count < 1 || position < 0 || position > (columns ? doc.width() : doc.height()))
        return;
    const qint64 w = doc.width() + (columns ? qint64(count) : 0);
    const qint64 h = doc.height() + (columns ? 0 : qint64(count));
    const QString problem =
        DesignLimits::sizeProblem(doc.stitch(), w, h, 0, freeMemory(available));
    if (!problem.isEmpty())
        throw QuillError(problem);
    auto action = std::make_unique<TInsertAction>(position, type, count);
    PatternDocument::NotifyBatch batch(doc);
    action->Execute(doc);
    history.record(std::move(action));
    doc.refreshAll();
}

QString changeDimensionsProblem(PatternDocument& doc, int newWidth, int newHeight,
                                qint64 available)
{
    const int w = doc.width(), h = doc.height();
    // The cut-off strips are kept for the undo, beside the new rasters.
    const qint64 cutOff = DesignLimits::rasterBytes(w, h)
        - DesignLimits::rasterBytes(std::min(w, newWidth), std::min(h, newHeight));
    return DesignLimits::sizeProblem(doc.stitch(), newWidth, newHeight,
                                     std::max<qint64>(0, cutOff), freeMemory(available));
}

void actionChangeDimensions(PatternDocument& doc, TActions& history, int newWidth, int newHeight,
                            qint64 available)
{
    const int w = doc.width(), h = doc.height();
    if (newWidth == w && newHeight == h)
        return;
    const QString problem = changeDimensionsProblem(doc, newWidth, newHeight, available);
    if (!problem.isEmpty())
        throw QuillError(problem);
    auto action = std::make_unique<TChangeDimensionsAction>(w, h, newWidth, newHeight,
                                                            doc.stitch().BackGroundColor);
    PatternDocument::NotifyBatch batch(doc);
    action->Execute(doc);
    history.record(std::move(action));
    doc.refreshAll();
}
