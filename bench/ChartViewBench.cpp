// The chart view on a 2000 x 2000 design: a full repaint of a 1920 x 1080 view at zoom 8 with
// grid and symbols, and the repaint of one cell after a pen edit.
#include "BenchDesign.h"
#include "core/PatternDocument.h"
#include "core/SymbolFont.h"
#include "view/ChartView.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

// 400 colours in use in short random runs, a quarter of the quarter rows filled, and back
// stitches and knots near the top-left corner where the view looks.
BenchDesign& design() { return benchDesign(); }

std::unique_ptr<ChartView> makeView(bool symbols, int zoom = 8)
{
    auto view = std::make_unique<ChartView>(design().doc);
    view->setZoom(zoom);
    view->setViewportSize(QSize(1919, 1079)); // the image is one pixel larger each way
    view->setScrollPosition(QPoint(0, 0));
    view->setVisibility(true, symbols);
    return view;
}

void BM_FullRepaintGridSymbols(benchmark::State& state)
{
    auto view = makeView(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(view->repaintAll());
    state.counters["px"] = view->image().width() * view->image().height();
}
BENCHMARK(BM_FullRepaintGridSymbols)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Grid and symbols switched on at other zoom values (no symbols below 8).
void BM_FullRepaintAtZoom(benchmark::State& state)
{
    auto view = makeView(true, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(view->repaintAll());
}
BENCHMARK(BM_FullRepaintAtZoom)->Arg(2)->Arg(7)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FullRepaintGridOnly(benchmark::State& state)
{
    auto view = makeView(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(view->repaintAll());
}
BENCHMARK(BM_FullRepaintGridOnly)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// A scroll step redraws the whole view.
void BM_ScrollStep(benchmark::State& state)
{
    auto view = makeView(true);
    int i = 0;
    for (auto _ : state) {
        ++i;
        view->setScrollPosition(QPoint(i % 50, i % 30));
    }
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The pen: updatePixel with refresh, which repaints the one cell through the document's signal.
void BM_PenEditOneCell(benchmark::State& state)
{
    auto view = makeView(true);
    BenchDesign& d = design();
    int i = 0;
    QRect last;
    QObject::connect(view.get(), &ChartView::repainted, [&](const QRect& r) { last = r; });
    for (auto _ : state) {
        ++i;
        d.doc.updatePixel(10 + i % 200, 20 + (i / 200) % 100, d.keys[i % 400], true);
    }
    state.counters["dirtyPx"] = last.width() * last.height();
}
BENCHMARK(BM_PenEditOneCell)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

// The view's part of a pen edit alone.
void BM_RepaintOneCell(benchmark::State& state)
{
    auto view = makeView(true);
    int i = 0;
    for (auto _ : state) {
        ++i;
        benchmark::DoNotOptimize(view->repaintCells(QRect(10 + i % 200, 20 + (i / 200) % 100, 1, 1)));
    }
}
BENCHMARK(BM_RepaintOneCell)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
