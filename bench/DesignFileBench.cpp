// Saving and opening the large design (2000 x 2000 cells with quarters, 400 colours) as a
// native file; each should take well under a second, with peak memory under three times the
// file size. The memory counters give the growth of the process's peak resident size over
// its resident size before the first run of each benchmark, against the file size.
#include "BenchDesign.h"
#include "files/DesignFile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <QFile>
#include <algorithm>
#include <memory>

namespace {

// A value in kB of /proc/self/status ("VmRSS", "VmHWM"), in bytes; 0 where there is none.
double statusBytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').value(0).toDouble() * 1024.0;
    }
    return 0;
}

// The resident size now, after resetting the peak to it, so that the next peak belongs to
// the work that follows.
double startPeakMeasurement()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    return statusBytes("VmRSS");
}

double peakResidentBytes() { return statusBytes("VmHWM"); }

QString benchFile()
{
    static QTemporaryDir dir;
    return dir.filePath(QStringLiteral("large.qvxp"));
}

void BM_SaveLargeDesign(benchmark::State& state)
{
    BenchDesign& d = benchDesign();
    const double before = startPeakMeasurement();
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
    // Argument 0: the opened design replaces a small one, as in a fresh window; 1: it replaces
    // a design as large as itself, whose memory is only given back once the new one is in place.
    const bool replacesLarge = state.range(0) == 1;
    TStitch stitch;
    stitch.ColorPalettes = d.stitch.ColorPalettes;
    stitch.characters = d.stitch.characters;
    const double fileSize = double(QFileInfo(benchFile()).size());
    double peakGrowth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<PatternDocument>(stitch);
        doc->CreateNewTemplate(50, 50, "Bench", "Bench");
        if (replacesLarge)
            openDesignFile(*doc, benchFile());
        const double before = startPeakMeasurement();
        state.ResumeTiming();
        openDesignFile(*doc, benchFile());
        state.PauseTiming();
        peakGrowth = std::max(peakGrowth, peakResidentBytes() - before);
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["fileMB"] = fileSize / 1e6;
    state.counters["peakGrowthPerFileSize"] = peakGrowth / fileSize;
}
BENCHMARK(BM_OpenLargeDesign)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

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
