#pragma once
// Where the colours being replaced are used: for each record (one per replaced colour), the
// cells, quarters, back stitches, French knots and Rhodes stitches of its old colour. Shared by
// the palette change and the colour reduction, whose records have the same shape.

#include "core/PatternDocument.h"

#include <QHash>
#include <QList>

template <typename Info, typename PointList>
void collectColorUses(const PatternDocument& doc, const QHash<ColorKey, int>& recordOf,
                      QList<Info>& records, PointList Info::*cells, PointList Info::*quarters)
{
    const TColor32 bg = doc.stitch().BackGroundColor;
    auto collect = [&](const QImage& raster, PointList Info::*member) {
        for (int y = 0; y < raster.height(); ++y) {
            const TColor32* row = reinterpret_cast<const TColor32*>(raster.constScanLine(y));
            for (int x = 0; x < raster.width(); ++x) {
                if (row[x] == bg)
                    continue;
                const auto it = recordOf.constFind(pixelToKey(row[x]));
                if (it != recordOf.cend())
                    (records[*it].*member).append(QPoint(x, y));
            }
        }
    };
    collect(doc.CrossCells, cells);
    collect(doc.QuarterCells, quarters);
    for (int i = 0; i < doc.DesignBackStitches.size(); ++i) {
        const auto it = recordOf.constFind(doc.DesignBackStitches[i].Color);
        if (it != recordOf.cend())
            records[*it].backstitches.append(i);
    }
    for (int i = 0; i < doc.DesignFrenchKnots.size(); ++i) {
        const auto it = recordOf.constFind(doc.DesignFrenchKnots[i].Color);
        if (it != recordOf.cend())
            records[*it].frenchKnots.append(i);
    }
    for (int i = 0; i < int(doc.DesignRhodes.size()); ++i) {
        const auto it = recordOf.constFind(doc.DesignRhodes[size_t(i)]->color);
        if (it != recordOf.cend())
            records[*it].rhodes.append(i);
    }
}
