#pragma once
// The large design the benchmarks share: 2000 x 2000 cells in 400 colours (short random runs),
// quarters in every fourth quarter row, 2000 back stitches and 500 French knots, counted.

#include "core/PatternDocument.h"

#include <QList>

struct BenchDesign
{
    BenchDesign();
    TStitch stitch;
    PatternDocument doc{stitch};
    QList<ColorKey> keys; // the 400 colours in use
};

// Installs palette and character set "Bench" of `count` colours (ids and names "0", "1" ...,
// symbols of the shipped symbol font) into `stitch`; returns the colours in palette order.
QList<ColorKey> installBenchPalette(TStitch& stitch, int count, ColorKey (*colourOf)(int));

// Fills every row of the design with short runs (1 to 6 cells) of random colours of `keys`;
// with `backgroundOneIn` > 0 about one run in that many is background.
void fillRandomRuns(PatternDocument& doc, const QList<ColorKey>& keys, quint32 seed,
                    int backgroundOneIn = 0);

// One instance per benchmark program, built on first use.
BenchDesign& benchDesign();
