// The floating block's work on a 1000 x 1000 block of the 2000 x 2000 benchmark design: copy,
// the quarter turns and mirrors, merge and its undo, cut and its undo. Every iteration that
// changes the design leaves it as it found it.
#include "BenchDesign.h"
#include "BenchUndo.h"
#include "core/PatternDocument.h"
#include "editing/Clipboard.h"
#include "editing/CutAction.h"
#include "editing/MergeAction.h"
#include "editing/TActions.h"

#include <benchmark/benchmark.h>

namespace {

const QRect kBlock(500, 500, 1000, 1000);

TClipboard& block()
{
    static TClipboard clip = Clipboard::copy(benchDesign().doc, kBlock, true);
    return clip;
}

void BM_Copy(benchmark::State& state)
{
    const PatternDocument& doc = benchDesign().doc;
    for (auto _ : state) {
        TClipboard clip = Clipboard::copy(doc, kBlock, true);
        benchmark::DoNotOptimize(clip.ClipCross.constBits());
    }
}
BENCHMARK(BM_Copy)->Unit(benchmark::kMillisecond)->UseRealTime();

template <void (*transform)(TClipboard&)>
void BM_Transform(benchmark::State& state)
{
    TClipboard& clip = block();
    for (auto _ : state) {
        transform(clip);
        benchmark::DoNotOptimize(clip.ClipCross.constBits());
    }
}
BENCHMARK_TEMPLATE(BM_Transform, Clipboard::rotateRight)->Name("BM_RotateRight")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Transform, Clipboard::rotateLeft)->Name("BM_RotateLeft")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Transform, Clipboard::mirrorHorizontal)->Name("BM_MirrorHorizontal")->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_TEMPLATE(BM_Transform, Clipboard::mirrorVertical)->Name("BM_MirrorVertical")->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Merge(benchmark::State& state)
{
    const TClipboard& clip = block();
    timeChangeOrUndo(state, benchDesign().doc, state.range(0) != 0, [&clip](PatternDocument& doc, TActions& h) {
        actionFix(doc, h, clip, QPoint(300, 700));
    });
}
BENCHMARK(BM_Merge)->ArgName("undo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Cut(benchmark::State& state)
{
    timeChangeOrUndo(state, benchDesign().doc, state.range(0) != 0, [](PatternDocument& doc, TActions& h) {
        TClipboard clip = cutSelection(doc, h, kBlock, true);
        benchmark::DoNotOptimize(clip.ClipCross.constBits());
    });
}
BENCHMARK(BM_Cut)->ArgName("undo")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
