// Saving and opening the large design (2000 x 2000 cells with quarters, 400 colours) as a
// native file; each should take well under a second, with peak memory under three times the
// file size. The memory counters give the growth of the process's peak resident size during
// the first run of each benchmark, against the file size.
#include "BenchDesign.h"
#include "files/DesignFile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

double peakResidentBytes()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_maxrss) * 1024.0;
}

QString benchFile()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("large.qvxp"));
}

void BM_SaveLargeDesign(benchmark::State& state)
{
    BenchDesign& d = benchDesign();
    const double before = peakResidentBytes();
    for (auto _ : state)
        saveDesignFile(d.doc, benchFile());
    const double fileSize = double(QFileInfo(benchFile()).size());
    state.counters["fileMB"] = fileSize / 1e6;
    state.counters["peakGrowthPerFileSize"] = (peakResidentBytes() - before) / fileSize;
}
BENCHMARK(BM_SaveLargeDesign)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_OpenLargeDesign(benchmark::State& state)
{
    BenchDesign& d = benchDesign();
    if (!QFileInfo::exists(benchFile()))
        saveDesignFile(d.doc, benchFile());
    // The opened design replaces a small one of its own, as in a fresh window.
    TStitch stitch;
    stitch.ColorPalettes = d.stitch.ColorPalettes;
    stitch.characters = d.stitch.characters;
    PatternDocument doc(stitch);
    doc.CreateNewTemplate(50, 50, "Bench", "Bench");
    const double fileSize = double(QFileInfo(benchFile()).size());
    const double before = peakResidentBytes();
    for (auto _ : state)
        openDesignFile(doc, benchFile());
    state.counters["fileMB"] = fileSize / 1e6;
    state.counters["peakGrowthPerFileSize"] = (peakResidentBytes() - before) / fileSize;
}
BENCHMARK(BM_OpenLargeDesign)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// Reading and checking the file alone, before anything of the open design changes.
void BM_ReadLargeDesignFile(benchmark::State& state)
{
    if (!QFileInfo::exists(benchFile()))
        saveDesignFile(benchDesign().doc, benchFile());
    for (auto _ : state)
        benchmark::DoNotOptimize(readDesignFile(benchFile()));
}
BENCHMARK(BM_ReadLargeDesignFile)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

} // namespace
