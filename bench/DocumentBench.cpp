// Start-up initialisation and the full recount of a large design.
#include "BenchDesign.h"
#include "BuildConfig.h"
#include "core/PatternDocument.h"
#include "core/SymbolFont.h"
#include "session/Session.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_CalcColorUsage(benchmark::State& state)
{
    BenchDesign& design = benchDesign();
    for (auto _ : state)
        design.doc.CalcColorUsage();
    state.counters["usedColors"] = design.stitch.usedColors();
}
BENCHMARK(BM_CalcColorUsage)->Unit(benchmark::kMillisecond);

// The headless start-up: settings, font, palettes, character sets and the 50 x 50 design.
void BM_StartupInitialisation(benchmark::State& state)
{
    QTemporaryDir dir;
    for (auto _ : state) {
        Session session({dir.filePath("settings.ini"), QStringLiteral(QUILLMARK_SOURCE_DATA_DIR)});
        session.initialiseWithNewDesign();
        benchmark::DoNotOptimize(session.stitch().Colors.size());
    }
}
BENCHMARK(BM_StartupInitialisation)->Unit(benchmark::kMillisecond);

} // namespace
