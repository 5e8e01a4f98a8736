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

// One instance per benchmark program, built on first use.
BenchDesign& benchDesign();
