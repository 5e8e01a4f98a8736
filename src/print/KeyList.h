#pragma once
// The printed key (one entry per cross colour and per back-stitch colour, with its amount of
// thread and bags) and the stitch-steps list (each design row cut into runs of one colour).

#include "PrintTypes.h"
#include "TPreview.h"
#include "core/PatternDocument.h"

#include <QList>

// The key list in the colour table's order: cross entries, then back-stitch entries.
QList<TMyColor> buildKeyList(const PatternDocument& doc);
// Sorts the key list in the colour panel's order.
void sortKeyList(QList<TMyColor>& keys, const ColorTable& colors, PatternDocument::ColorSort order);
// The thread amount shown for an entry (rounded to whole units) and the bags to buy.
qint64 threadAmount(const TMyColor& entry, const TStitch& stitch);
qint64 bagsFor(qint64 amount, qint32 bagSize);

// The stitch-steps list of the design.
QList<TStitchListItem> buildStitchSteps(const PatternDocument& doc);

// What the layout needs of the design, the settings and the two lists.
TLayoutInput layoutInputFor(const PatternDocument& doc, const QList<TMyColor>& keys,
                            const QList<TStitchListItem>& steps);
