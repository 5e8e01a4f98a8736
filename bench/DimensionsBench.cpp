// Inserting 100 columns (and rows) in the middle of the 2000 x 2000 benchmark design and
// changing its size (smaller and larger), each timed alone and with its undo timed apart. Every
// iteration leaves the design as it found it.
#include "BenchDesign.h"
#include "BenchUndo.h"
#include "core/PatternDocument.h"
#include "editing/DimensionActions.h"
#include "editing/TActions.h"

#include <benchmark/benchmark.h>

namespace {

// The shared design with Rhodes stitches across the middle too, so that every kind moves.
BenchDesign& design()
{
    static BenchDesign& d = []() -> BenchDesign& {
        BenchDesign& b = benchDesign();
        for (int i = 0; i < 300; ++i) {
            auto r = std::make_unique<TRhode>();
            r->width = r->height = 2;
            r->color = b.keys[i % 400];
            const QPoint o(1900 + (i % 50) * 8, 100 + (i / 50) * 8);
            r->stitches = {TBackStitch{o, o + QPoint(4, 4), r->color, 0},
                           TBackStitch{o + QPoint(4, 0), o + QPoint(0, 4), r->color, 0}};
            b.doc.RhodeAdd(std::move(r), false);
        }
        // Back stitches across the insertion line and beyond the smaller size.
        for (int i = 0; i < 2000; ++i)
            b.doc.backStitchesAdd(TBackStitch{QPoint(1990, 2 * i), QPoint(2010, 2 * i + 1),
                                              b.keys[i % 400], 0}, false);
        b.doc.CalcColorUsage();
        return b;
    }();
    return d;
}

void BM_Insert100Columns(benchmark::State& state)
{
    timeChangeOrUndo(state, design().doc, state.range(0) != 0, [](PatternDocument& doc, TActions& h) {
        actionInsert(doc, h, 1000, itColumn, 100);
    });
}
BENCHMARK(BM_Insert100Columns)->ArgName("undo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Insert100Rows(benchmark::State& state)
{
    timeChangeOrUndo(state, design().doc, state.range(0) != 0, [](PatternDocument& doc, TActions& h) {
        actionInsert(doc, h, 1000, itRow, 100);
    });
}
BENCHMARK(BM_Insert100Rows)->ArgName("undo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShrinkTo1500(benchmark::State& state)
{
    timeChangeOrUndo(state, design().doc, state.range(0) != 0, [](PatternDocument& doc, TActions& h) {
        actionChangeDimensions(doc, h, 1500, 1500);
    });
}
BENCHMARK(BM_ShrinkTo1500)->ArgName("undo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EnlargeTo2500(benchmark::State& state)
{
    timeChangeOrUndo(state, design().doc, state.range(0) != 0, [](PatternDocument& doc, TActions& h) {
        actionChangeDimensions(doc, h, 2500, 2500);
    });
}
BENCHMARK(BM_EnlargeTo2500)->ArgName("undo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
