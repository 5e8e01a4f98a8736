// The chart view on a 2000 x 2000 design: a full repaint of a 1920 x 1080 view at zoom 8 with
// grid and symbols, and the repaint of one cell after a pen edit.
#include "core/PatternDocument.h"
#include "core/SymbolFont.h"
#include "view/ChartView.h"

#include <QRandomGenerator>
#include <benchmark/benchmark.h>

namespace {

// 400 colours in use in short random runs, a quarter of the quarter rows filled, and back
// stitches and knots near the top-left corner where the view looks.
struct LargeDesign
{
    TStitch stitch;
    PatternDocument doc{stitch};
    QList<ColorKey> keys;

    LargeDesign()
    {
        const QString family =
            registerSymbolFontFile(QStringLiteral(QUILLMARK_SOURCE_DATA_DIR "/fonts/KorvaldArtSymbols110.ttf"));
        ColorTable palette;
        QString chars;
        for (int i = 0; i < 450; ++i) {
            TColorInfo e;
            e.colorID = QString::number(i);
            e.colorName = e.colorID;
            e.charID = i;
            e.orderID = i;
            palette.insert(makeColorKey(i & 0xFF, (i >> 8) * 40 + 3, (i * 37) & 0xFF), e);
            chars += QChar(char16_t(160 + i % 441));
        }
        stitch.ColorPalettes.insert("Bench", palette);
        TCharacterInfo set;
        set.Name = "Bench";
        set.fontName = family;
        set.characters = chars;
        stitch.characters.insert(set.Name, set);
        doc.CreateNewTemplate(2000, 2000, "Bench", "Bench");

        QRandomGenerator rng(7);
        keys = palette.keys().mid(0, 400);
        for (int y = 0; y < doc.height(); ++y) {
            auto* row = reinterpret_cast<TColor32*>(doc.CrossCells.scanLine(y));
            for (int x = 0; x < doc.width();) {
                const int run = 1 + int(rng.bounded(6));
                const TColor32 v = rng.bounded(10) == 0 ? stitch.BackGroundColor
                                                        : keyToPixel(keys[int(rng.bounded(400))]);
                for (int k = 0; k < run && x < doc.width(); ++k, ++x)
                    row[x] = v;
            }
        }
        for (int y = 0; y < doc.QuarterCells.height(); y += 4) {
            auto* row = reinterpret_cast<TColor32*>(doc.QuarterCells.scanLine(y));
            for (int x = 0; x < doc.QuarterCells.width(); ++x)
                row[x] = keyToPixel(keys[int(rng.bounded(400))]);
        }
        for (int i = 0; i < 2000; ++i)
            doc.DesignBackStitches.append(TBackStitch{QPoint(i % 400, i / 4), QPoint(i % 400 + 2, i / 4 + 2), keys[i % 400], i});
        for (int i = 0; i < 500; ++i)
            doc.DesignFrenchKnots.append(TFrenchKnot{QPoint(i % 480, (i * 7) % 270), keys[i % 400], i});
        doc.CalcColorUsage();
    }
};

LargeDesign& design()
{
    static LargeDesign d;
    return d;
}

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
    for (auto _ : state)
        view->setScrollPosition(QPoint(++i % 50, i % 30));
}
BENCHMARK(BM_ScrollStep)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The pen: updatePixel with refresh, which repaints the one cell through the document's signal.
void BM_PenEditOneCell(benchmark::State& state)
{
    auto view = makeView(true);
    LargeDesign& d = design();
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
