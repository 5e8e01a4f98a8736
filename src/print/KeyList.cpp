#include "KeyList.h"

#include <algorithm>
#include <cmath>

namespace {

QString symbolOf(const TStitch& stitch, const TColorInfo& info)
{
    const QChar c = stitch.chars.symbolAt(info.charID);
    return c.isNull() ? QString() : QString(c);
}

// Whole numbers compare by value, anything else by character codes.
int compareTexts(const QString& l, const QString& r)
{
    bool okL = false, okR = false;
    const qint64 a = l.toLongLong(&okL);
    const qint64 b = r.toLongLong(&okR);
    if (okL && okR)
        return a < b ? -1 : (a > b ? 1 : 0);
    return QString::compare(l, r, Qt::CaseSensitive);
}

} // namespace

QList<TMyColor> buildKeyList(const PatternDocument& doc)
{
    const TStitch& st = doc.stitch();
    QList<TMyColor> keys;
    for (const auto& [key, info] : st.Colors) {
        const qint32 count = info.colorCount - info.backStitchesCount;
        if (count >= 1)
            keys.append({info.colorName, key, symbolOf(st, info), count, symbolInk(key), ctCross});
    }

    // Back-stitch entries, one per colour, with the summed stitch lengths of the colour's
    // back stitches and Rhodes stitches.
    OrderedMap<ColorKey, TMyColor> back;
    const auto add = [&](ColorKey color, qint32 length) {
        TMyColor* e = back.find(color);
        if (!e) {
            TMyColor entry;
            entry.Color = color;
            entry.SymbolColor = symbolInk(color);
            entry.ColorType = ctBack;
            if (const TColorInfo* info = st.Colors.find(color)) {
                entry.Name = info->colorName;
                entry.Symbol = symbolOf(st, *info);
            }
            e = &back.insert(color, entry);
        }
        e->Count += length;
    };
    for (const TBackStitch& b : doc.DesignBackStitches)
        add(b.Color, stitchLength(b));
    for (const auto& rhode : doc.DesignRhodes)
        for (const TBackStitch& s : rhode->stitches)
            add(rhode->color, stitchLength(s));
    for (const auto& [key, entry] : back)
        keys.append(entry);
    return keys;
}

void sortKeyList(QList<TMyColor>& keys, const ColorTable& colors, PatternDocument::ColorSort order)
{
    const TColorInfo none;
    const auto info = [&](const TMyColor& k) -> const TColorInfo& {
        const TColorInfo* i = colors.find(k.Color);
        return i ? *i : none;
    };
    const auto less = [&](const TMyColor& a, const TMyColor& b) {
        const TColorInfo& l = info(a);
        const TColorInfo& r = info(b);
        switch (order) {
        case PatternDocument::csName: {
            bool okL = false, okR = false;
            const qint64 x = a.Name.toLongLong(&okL);
            const qint64 y = b.Name.toLongLong(&okR);
            if (okL && okR)
                return x < y;
            return QString::compare(l.colorName, r.colorName, Qt::CaseSensitive) < 0;
        }
        case PatternDocument::csNumber: return compareTexts(l.colorID, r.colorID) < 0;
        case PatternDocument::csUsage:
            if (l.colorCount != r.colorCount)
                return l.colorCount > r.colorCount;
            return l.orderID < r.orderID;
        case PatternDocument::csPalette:
        default: return l.orderID < r.orderID;
        }
    };
    // Stable: a mixed order of numbers and texts is no strict order, and equal entries keep
    // the list's order.
    std::stable_sort(keys.begin(), keys.end(), less);
}

qint64 threadAmount(const TMyColor& entry, const TStitch& stitch)
{
    const double perUnit = entry.ColorType == ctCross ? stitch.len : stitch.backlen;
    const double a = entry.Count * perUnit * 100 + stitch.baseLen * 100;
    return std::llround(a);
}

qint64 bagsFor(qint64 amount, qint32 bagSize)
{
    if (bagSize <= 0 || amount <= 0)
        return 0;
    return (amount + bagSize - 1) / bagSize;
}

QList<TStitchListItem> buildStitchSteps(const PatternDocument& doc)
{
    const TStitch& st = doc.stitch();
    const QImage& cells = doc.CrossCells;
    const TColor32 bg = st.BackGroundColor;
    QList<TStitchListItem> steps;
    TStitchListItem line; // background runs keep the name and symbol of the run before them
    for (int y = 0; y < cells.height(); ++y) {
        const auto* row = reinterpret_cast<const TColor32*>(cells.constScanLine(y));
        int x = 0;
        while (x < cells.width()) {
            const TColor32 raw = row[x];
            int end = x + 1;
            while (end < cells.width() && row[end] == raw)
                ++end;
            line.Row = y + 1;
            line.Count = end - x;
            line.isBackgroud = raw == bg;
            line.Color = pixelToKey(raw);
            if (!line.isBackgroud) {
                const TColorInfo* info = st.Colors.find(line.Color);
                line.ColorName = info ? info->colorName : QString();
                line.Symbol = info ? symbolOf(st, *info) : QString();
                line.SymbolColor = symbolInk(line.Color);
            }
            steps.append(line);
            x = end;
        }
    }
    return steps;
}

TLayoutInput layoutInputFor(const PatternDocument& doc, const QList<TMyColor>& keys,
                            const QList<TStitchListItem>& steps)
{
    const TStitch& st = doc.stitch();
    TLayoutInput in;
    in.width = doc.width();
    in.height = doc.height();
    in.hasBackOrRhodes = !doc.DesignBackStitches.isEmpty() || !doc.DesignRhodes.empty();
    in.knittingMode = doc.KnittingMode;
    in.keyCount = qint32(keys.size());
    in.stitchListLength = qint32(steps.size());
    in.thickLines = st.thickLines;
    in.mediumLines = st.mediumLines;
    in.thinLines = st.thinLines;
    in.backstitchLines = st.backstitchLines;
    in.symbolSize = st.symbolSize;
    in.legendDistance = st.LegendDistance;
    in.labelGridHor = st.LabelGridHor;
    in.labelGridVert = st.LabelGridVert;
    in.borderLeft = st.print.BorderLeft;
    in.borderTop = st.print.BorderTop;
    in.borderRight = st.print.BorderRight;
    in.borderBottom = st.print.BorderBottom;
    in.jpegWidth = st.print.JPEGWidth;
    in.jpegHeight = st.print.JPEGHeight;
    in.jpegGrid = st.print.JPEGGrid;
    return in;
}
