// The shape tools on the 2000 x 2000 benchmark design with a 1000 x 1000 block of one colour in
// its middle: a filled circle of radius 500, the outline of the block, and its inline and
// outline borders (a region of a million cells). Each is timed as the generator alone and as
// the whole click (generator, action with its painting), with and without a chart view of
// 1920 x 1080 attached, which repaints what changed.
#include "BenchDesign.h"
#include "core/PatternDocument.h"
#include "editing/Borders.h"
#include "editing/Figures.h"
#include "editing/Outline.h"
#include "editing/TActions.h"
#include "view/ChartView.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

const QRect kBlock(500, 500, 1000, 1000);
const QPoint kInside(900, 900);

// The shared design with the block painted once.
BenchDesign& design()
{
    static BenchDesign& d = [] () -> BenchDesign& {
        BenchDesign& b = benchDesign();
        const TColor32 v = keyToPixel(b.keys[0]);
        for (int y = kBlock.top(); y <= kBlock.bottom(); ++y) {
            auto* row = reinterpret_cast<TColor32*>(b.doc.CrossCells.scanLine(y));
            std::fill(row + kBlock.left(), row + kBlock.right() + 1, v);
        }
        b.doc.CalcColorUsage();
        return b;
    }();
    return d;
}

std::unique_ptr<ChartView> attachView(bool on)
{
    if (!on)
        return nullptr;
    auto view = std::make_unique<ChartView>(design().doc);
    view->setZoom(8);
    view->setViewportSize(QSize(1919, 1079));
    view->setScrollPosition(QPoint(400, 400));
    view->setVisibility(true, true);
    return view;
}

ColorKey drawColour() { return design().keys[1]; }

QList<QPoint> filledCircle()
{
    return Figures::circle(QPoint(1000, 1000), QPoint(1500, 1000), true, 1, QSize(2000, 2000));
}

void BM_FilledCircleGenerator(benchmark::State& state)
{
    design();
    qint64 cells = 0;
    for (auto _ : state)
        cells = filledCircle().size();
    state.counters["cells"] = double(cells);
}
BENCHMARK(BM_FilledCircleGenerator)->Unit(benchmark::kMillisecond)->UseRealTime();

// Generating the figure, recording it and painting it; the undo between runs is not timed.
void BM_FilledCircleClick(benchmark::State& state)
{
    BenchDesign& d = design();
    auto view = attachView(state.range(0) != 0);
    TActions history(d.doc);
    for (auto _ : state) {
        history.actionLine(filledCircle(), drawColour());
        state.PauseTiming();
        history.Undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FilledCircleClick)->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OutlineGenerator(benchmark::State& state)
{
    BenchDesign& d = design();
    qint64 stitches = 0;
    for (auto _ : state)
        stitches = Outline::stitches(d.doc.CrossCells, kInside, drawColour()).size();
    state.counters["stitches"] = double(stitches);
}
BENCHMARK(BM_OutlineGenerator)->Unit(benchmark::kMillisecond)->UseRealTime();

// The outline click as the tool does it: the stitches appended, the action recorded, the
// chart refreshed.
void BM_OutlineClick(benchmark::State& state)
{
    BenchDesign& d = design();
    auto view = attachView(state.range(0) != 0);
    TActions history(d.doc);
    for (auto _ : state) {
        QList<TBackStitch> added = Outline::stitches(d.doc.CrossCells, kInside, drawColour());
        for (TBackStitch& b : added) {
            b.Index = int(d.doc.DesignBackStitches.size());
            d.doc.backStitchesAdd(b, false);
        }
        history.actionOutline(added, drawColour());
        d.doc.refreshAll();
        state.PauseTiming();
        history.Undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OutlineClick)->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RegionBorderGenerator(benchmark::State& state)
{
    BenchDesign& d = design();
    const bool outline = state.range(0) != 0;
    qint64 cells = 0;
    for (auto _ : state)
        cells = (outline ? Borders::outlineBorder(d.doc.CrossCells, kInside, true)
                         : Borders::inlineBorder(d.doc.CrossCells, kInside, true)).size();
    state.counters["cells"] = double(cells);
}
BENCHMARK(BM_RegionBorderGenerator)->ArgName("outline")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RegionBorderClick(benchmark::State& state)
{
    BenchDesign& d = design();
    auto view = attachView(state.range(0) != 0);
    TActions history(d.doc);
    for (auto _ : state) {
        history.actionLine(Borders::inlineBorder(d.doc.CrossCells, kInside, false), drawColour());
        state.PauseTiming();
        history.Undo();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RegionBorderClick)->ArgName("view")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The largest region there can be: the whole 2000 x 2000 design of one content.
void BM_RegionBorderWholeDesign(benchmark::State& state)
{
    QImage cells(2000, 2000, QImage::Format_ARGB32);
    cells.fill(0xFFFFFFFFu);
    qint64 n = 0;
    for (auto _ : state)
        n = Borders::inlineBorder(cells, QPoint(1000, 1000), true).size();
    state.counters["cells"] = double(n);
}
BENCHMARK(BM_RegionBorderWholeDesign)->Unit(benchmark::kMillisecond)->UseRealTime();

// The repaint the view makes after a click: the whole view once.
void BM_RepaintAfter(benchmark::State& state)
{
    auto view = attachView(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(view->repaintAll());
}
BENCHMARK(BM_RepaintAfter)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

namespace {

// The refresh every recorded or replayed action ends with: the document's reset notice, on
// which the view drops its symbol stamps and redraws the whole view.
void BM_RefreshAfterAction(benchmark::State& state)
{
    auto view = attachView(true);
    for (auto _ : state)
        design().doc.refreshAll();
}
BENCHMARK(BM_RefreshAfterAction)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
