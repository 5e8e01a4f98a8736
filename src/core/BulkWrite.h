#pragma once
// Many cells (or quarters) of the design written at once, with the same result as one
// updatePixel (updateQPixel) per point in order: the rasters are written through row
// pointers and each colour's use count is settled once, through the same rule the single
// operations use. A figure of a million cells is painted in milliseconds.
//
// Every point takes `newColor`, or its own content. A content with a non-zero top byte is a
// background value: it empties the point under the background in force now. Points outside
// the raster and colours missing from the table are skipped, as the single operations skip
// them. With `refresh`, one cellsChanged (quartersChanged) covers the bounding rectangle of
// what changed, followed by one colorUsageChanged.

#include "StitchTypes.h"

#include <QList>
#include <QPoint>
#include <utility>

class PatternDocument;

namespace BulkWrite {

// A point and a content.
using Entry = std::pair<QPoint, quint32>;

void updatePixels(PatternDocument& doc, const QList<QPoint>& points, quint32 newColor, bool refresh);
// The entries' points, each taking `newColor`.
void updatePixels(PatternDocument& doc, const QList<Entry>& points, quint32 newColor, bool refresh);
// The entries' points, each taking its own content.
void updatePixels(PatternDocument& doc, const QList<Entry>& contents, bool refresh);

void updateQPixels(PatternDocument& doc, const QList<QPoint>& points, quint32 newColor, bool refresh);
void updateQPixels(PatternDocument& doc, const QList<Entry>& points, quint32 newColor, bool refresh);
void updateQPixels(PatternDocument& doc, const QList<Entry>& contents, bool refresh);

} // namespace BulkWrite
