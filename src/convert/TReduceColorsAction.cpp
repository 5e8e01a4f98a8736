#include "TReduceColorsAction.h"

#include "ColorMatch.h"
#include "ColorUses.h"

#include "core/PatternDocument.h"

#include <QHash>
#include <algorithm>

std::unique_ptr<TReduceColorsAction> TReduceColorsAction::prepare(const PatternDocument& doc,
                                                                  int newCount)
{
    const TStitch& st = doc.stitch();
    QList<int> used; // table positions of the colours in use
    for (int i = 0; i < st.Colors.size(); ++i) {
        if (st.Colors.at(i).second.colorCount > 0)
            used.append(i);
    }
    if (newCount < 1 || newCount >= used.size())
        return nullptr;
    // Ascending by count; of equal counts the later table position first, so that the earlier
    // one lands among the last newCount entries and is kept.
    std::stable_sort(used.begin(), used.end(), [&](int a, int b) {
        const qint32 ca = st.Colors.at(a).second.colorCount, cb = st.Colors.at(b).second.colorCount;
        return ca != cb ? ca < cb : a > b;
    });
    const QList<int> keptPositions = used.mid(used.size() - newCount);
    // The kept table in colour-table order, which decides ties of the nearest-colour search.
    QList<int> keptSorted = keptPositions;
    std::sort(keptSorted.begin(), keptSorted.end());
    ColorTable kept;
    for (int i : keptSorted)
        kept.insert(st.Colors.at(i).first, st.Colors.at(i).second);

    auto a = std::make_unique<TReduceColorsAction>();
    QHash<ColorKey, int> recordOf;
    for (int k = 0; k < used.size() - newCount; ++k) {
        const ColorKey c = st.Colors.at(used[k]).first;
        TReduceColorsInfo r;
        r.oldColor = c;
        r.newColor = nearestColor(c, kept);
        recordOf.insert(c, int(a->fArr.size()));
        a->fArr.append(r);
    }
    collectColorUses(doc, recordOf, a->fArr, &TReduceColorsInfo::points, &TReduceColorsInfo::qpoints);
    return a;
}

void TReduceColorsAction::apply(PatternDocument& doc, bool forward)
{
    // Undo walks the records backwards, so each step sees the state its forward step left.
    const int n = int(fArr.size());
    for (int k = 0; k < n; ++k) {
        const TReduceColorsInfo& r = fArr[forward ? k : n - 1 - k];
        const ColorKey c = forward ? r.newColor : r.oldColor;
        for (const QPoint& p : r.points)
            doc.updatePixel(p.x(), p.y(), c, false);
        for (const QPoint& p : r.qpoints)
            doc.updateQPixel(p.x(), p.y(), c, false);
        for (qint32 i : r.backstitches)
            doc.backStitchesRecolor(i, c, false);
        for (qint32 i : r.frenchKnots) {
            if (i < 0 || i >= doc.DesignFrenchKnots.size())
                continue;
            TFrenchKnot knot = doc.DesignFrenchKnots[i];
            knot.Color = c;
            doc.frenchKnotDelete(i, false);
            doc.frenchKnotInsert(i, knot, false);
        }
        for (qint32 i : r.rhodes) {
            if (i < 0 || i >= int(doc.DesignRhodes.size()))
                continue;
            std::unique_ptr<TRhode> copy = doc.DesignRhodes[size_t(i)]->Clone();
            copy->color = c;
            copy->original = doc.DesignRhodes[size_t(i)]->original;
            doc.RhodeDelete(i, false);
            doc.RhodeInsert(i, std::move(copy), false);
        }
    }
    // The history refreshes the observers once after every Execute and Undo.
}

void TReduceColorsAction::Execute(PatternDocument& doc)
{
    apply(doc, true);
}

void TReduceColorsAction::Undo(PatternDocument& doc)
{
    apply(doc, false);
}
