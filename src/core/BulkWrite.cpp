#include "BulkWrite.h"

#include "PatternDocument.h"
#include "PixelIndex.h"
#include "UseCounts.h"

#include <QRect>

namespace {

// The net change of a count per colour of the table during one bulk write. Keys are found
// through the open-addressing index, the last key checked first: runs of one colour are the
// rule, and a figure over a converted picture meets a new colour at almost every cell.
class CountDeltas
{
public:
    explicit CountDeltas(const ColorTable& table)
        : m_index(table), m_deltas(size_t(table.size()), 0)
    {
    }
    void add(ColorKey c, qint64 d)
    {
        if (!m_hasLast || c != m_lastKey) {
            m_lastKey = c;
            m_lastIndex = m_index.find(c);
            m_hasLast = true;
        }
        if (m_lastIndex >= 0)
            m_deltas[size_t(m_lastIndex)] += d;
    }
    // Net change of the table entry at `i`.
    qint64 delta(size_t i) const { return m_deltas[i]; }
    size_t size() const { return m_deltas.size(); }

private:
    PixelIndex m_index;
    std::vector<qint64> m_deltas;
    ColorKey m_lastKey = 0;
    int m_lastIndex = -1;
    bool m_hasLast = false;
};

// A colour's share of its use count from n quarter stitches: updateQPixel adds one use when a
// count leaves an even value and takes one when it leaves an odd one, which sums to the
// rounded-up half for any path to n.
qint64 quarterUses(qint64 n)
{
    return (n + 1) >> 1;
}

// `pointAt(i)` and `contentAt(i)` give the i-th point and its content, for i below `count`.
template <class PointAt, class ContentAt>
void writePoints(PatternDocument& doc, bool quarters, qsizetype count, PointAt pointAt,
                 ContentAt contentAt, bool refresh)
{
    TStitch& st = doc.stitch();
    QImage& raster = quarters ? doc.QuarterCells : doc.CrossCells;
    const int width = raster.width(), height = raster.height();
    if (count <= 0 || width <= 0 || height <= 0)
        return;
    const TColor32 bg = st.BackGroundColor;
    uchar* bits = raster.bits();
    const qsizetype bpl = raster.bytesPerLine();
    CountDeltas deltas(st.Colors);
    // The table check of the last new colour, which is almost always the one before.
    quint32 checked = 0;
    bool checkedKnown = false, anyChecked = false;
    int left = width, top = height, right = -1, bottom = -1;
    for (qsizetype i = 0; i < count; ++i) {
        const QPoint p = pointAt(i);
        if (uint(p.x()) >= uint(width) || uint(p.y()) >= uint(height))
            continue;
        const quint32 content = contentAt(i);
        TColor32 value = bg;
        if ((content >> 24) == 0) {
            if (!anyChecked || content != checked) {
                checked = content;
                checkedKnown = st.Colors.contains(content);
                anyChecked = true;
            }
            if (!checkedKnown)
                continue;
            value = keyToPixel(content);
        }
        TColor32& pixel = reinterpret_cast<TColor32*>(bits + qsizetype(p.y()) * bpl)[p.x()];
        if (pixel == value)
            continue;
        if (pixel != bg)
            deltas.add(pixelToKey(pixel), -1);
        if (value != bg)
            deltas.add(content, +1);
        pixel = value;
        left = qMin(left, p.x());
        right = qMax(right, p.x());
        top = qMin(top, p.y());
        bottom = qMax(bottom, p.y());
    }
    if (right < 0)
        return;

    // Colours that lose uses first, so that a colour leaving and another joining end as one
    // by one writes would leave them; each pass in table order. The colour list is told once.
    {
    PatternDocument::NotifyBatch batch(doc);
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < deltas.size(); ++i) {
            const qint64 d = deltas.delta(i);
            if (d == 0 || (pass == 0) != (d < 0))
                continue;
            auto& [c, entry] = st.Colors.at(int(i));
            TColorInfo* e = &entry;
            qint64 uses = d;
            if (quarters) {
                const qint64 before = e->quarterStitchesCount;
                e->quarterStitchesCount = qint32(before + d);
                uses = quarterUses(before + d) - quarterUses(before);
            }
            if (uses != 0)
                changeColorUse(doc, c, *e, qint32(uses), refresh);
        }
    }
    }
    if (refresh) {
        const QRect changed(QPoint(left, top), QPoint(right, bottom));
        if (quarters)
            emit doc.quartersChanged(changed);
        else
            emit doc.cellsChanged(changed);
        emit doc.colorUsageChanged();
    }
}

} // namespace

namespace BulkWrite {

void updatePixels(PatternDocument& doc, const QList<QPoint>& points, quint32 newColor, bool refresh)
{
    writePoints(doc, false, points.size(), [&](qsizetype i) { return points[i]; },
                [newColor](qsizetype) { return newColor; }, refresh);
}

void updatePixels(PatternDocument& doc, const QList<Entry>& points, quint32 newColor, bool refresh)
{
    writePoints(doc, false, points.size(), [&](qsizetype i) { return points[i].first; },
                [newColor](qsizetype) { return newColor; }, refresh);
}

void updatePixels(PatternDocument& doc, const QList<Entry>& contents, bool refresh)
{
    writePoints(doc, false, contents.size(), [&](qsizetype i) { return contents[i].first; },
                [&](qsizetype i) { return contents[i].second; }, refresh);
}

void updateQPixels(PatternDocument& doc, const QList<QPoint>& points, quint32 newColor, bool refresh)
{
    writePoints(doc, true, points.size(), [&](qsizetype i) { return points[i]; },
                [newColor](qsizetype) { return newColor; }, refresh);
}

void updateQPixels(PatternDocument& doc, const QList<Entry>& points, quint32 newColor, bool refresh)
{
    writePoints(doc, true, points.size(), [&](qsizetype i) { return points[i].first; },
                [newColor](qsizetype) { return newColor; }, refresh);
}

void updateQPixels(PatternDocument& doc, const QList<Entry>& contents, bool refresh)
{
    writePoints(doc, true, contents.size(), [&](qsizetype i) { return contents[i].first; },
                [&](qsizetype i) { return contents[i].second; }, refresh);
}

} // namespace BulkWrite
