#pragma once
// The one rule by which a colour's use count changes: a count that rises from 0 makes the
// colour used (its symbol marked, its glyphs and colour-list row made, the used-colour count
// raised), one that falls to 0 makes it unused. The document's cell and stitch operations and
// its bulk writes all go through it.

#include "StitchTypes.h"

class PatternDocument;

// Adds `delta` to the use count of colour `c` (whose table entry is `e`); `resort` re-sorts
// the colour list when the colour leaves it.
void changeColorUse(PatternDocument& doc, ColorKey c, TColorInfo& e, qint32 delta, bool resort);
