#pragma once
// A small catalogue (a four-colour palette, a seven-symbol set over the shipped symbol font)
// and a design made from it, for tests that need a document without the shipped data.

#include "core/PatternDocument.h"

#include <QJsonObject>

class TActions;

namespace testsupport {

inline constexpr ColorKey kRed = makeColorKey(255, 0, 0);
inline constexpr ColorKey kGreen = makeColorKey(0, 128, 0);
inline constexpr ColorKey kWhite = makeColorKey(255, 255, 255);
inline constexpr ColorKey kBlue = makeColorKey(0, 0, 255);

// Fills the catalogues: palette "Small" (red, green, white, blue) and set "Shapes".
void addSmallCatalogue(TStitch& stitch);

// A state object and a W x H design made from the small catalogue.
struct SmallDesign
{
    explicit SmallDesign(int width = 6, int height = 4);
    TStitch stitch;
    PatternDocument doc{stitch};
    TColor32 bg() const { return stitch.BackGroundColor; }
};

// Everything a user could tell apart: the design's JSON summary with cells and quarters.
QJsonObject snapshot(const PatternDocument& doc);

// After the newest action of `history`: undo gives back `before`, redo the design as it is
// now, and undo `before` again, the document consistent after each step.
void expectUndoRedo(TActions& history, PatternDocument& doc, const QJsonObject& before);

} // namespace testsupport
