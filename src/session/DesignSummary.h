#pragma once
// The design as one JSON object: size, palette, character set, font, background, title,
// comment, the colour table in palette order with its counts, and the stitches. What the
// command-line tool prints and what tests compare.

#include "core/PatternDocument.h"

#include <QJsonObject>

QJsonObject designSummary(const PatternDocument& doc, bool withCells);
// "#RRGGBB" of a colour key.
QString colorKeyText(ColorKey key);
