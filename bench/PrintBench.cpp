// Exporting every page of a 500 x 500 design with 200 colours: as PNG pictures (export pages
// of 900 x 800 pixels) and as one PDF file (A4 pages at 300 dpi), in pages per second, beside
// writing the same number of blank PNG pages (the floor: encoding and writing alone).
#include "BenchDesign.h"

#include "core/PatternDocument.h"
#include "print/KeyList.h"
#include "print/PaperDevice.h"
#include "print/PrintJob.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

struct PrintDesign
{
    PrintDesign()
    {
        // Short runs of random colours, every colour in use.
        const QList<ColorKey> keys = installBenchPalette(stitch, 200, [](int i) {
            return makeColorKey((i * 53) & 0xFF, (i * 97) & 0xFF, (i * 29 + 40) & 0xFF);
        });
        doc.CreateNewTemplate(500, 500, "Bench", "Bench");
        fillRandomRuns(doc, keys, 11);
        doc.CalcColorUsage();
    }
    TStitch stitch;
    PatternDocument doc{stitch};
};

PrintDesign& design()
{
    static PrintDesign d;
    return d;
}

struct Layout
{
    TPrintOptions options;
    TPreview preview;
    QList<TMyColor> keys;
};

Layout layoutFor(bool exportPages)
{
    PatternDocument& doc = design().doc;
    Layout l;
    l.options.exportMode = exportPages;
    l.keys = buildKeyList(doc);
    const TLayoutInput input = layoutInputFor(doc, l.keys, {});
    l.preview.imagewidth = doc.width();
    l.preview.imageheight = doc.height();
    if (!exportPages)
        l.preview.setPrinterMetrics(paperDevice(QPageSize::A4, fPortrait, 300), l.options, input);
    l.preview.calc(l.options, input);
    return l;
}

void exportAll(benchmark::State& state, TExportType type)
{
    Layout l = layoutFor(type != etPDF);
    QTemporaryDir dir;
    TExportRequest request;
    request.type = type;
    request.path = type == etPDF ? dir.filePath("bench.pdf") : dir.path();
    request.fileName = "bench_#.png";
    request.overwrite = true;
    qint64 pages = 0;
    for (auto _ : state) {
        PrintJob job({design().doc, design().stitch, l.preview, l.options, l.keys, {}});
        const QStringList written = exportPages(job, request);
        benchmark::DoNotOptimize(written);
        pages += l.preview.pageNumber;
    }
    state.counters["pages"] = double(l.preview.pageNumber);
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
}

void BM_ExportPng(benchmark::State& state) { exportAll(state, etPNG); }
void BM_ExportPdf(benchmark::State& state) { exportAll(state, etPDF); }

// The floor: as many blank export pages written as PNG files as the PNG export has pages.
void BM_BlankPngPages(benchmark::State& state)
{
    const Layout l = layoutFor(true);
    QImage blank(l.preview.pagewidthReal, l.preview.pageheightReal, QImage::Format_ARGB32);
    blank.fill(Qt::white);
    QTemporaryDir dir;
    qint64 pages = 0;
    for (auto _ : state) {
        ExportPictureWriter writer(dir.path(), "blank_#.png", etPNG, 70);
        for (int i = 0; i < l.preview.pageNumber; ++i)
            writer.add(blank);
        benchmark::DoNotOptimize(writer.commit(true));
        pages += l.preview.pageNumber;
    }
    state.counters["pages"] = double(l.preview.pageNumber);
    state.counters["pages/s"] = benchmark::Counter(double(pages), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_ExportPng)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_ExportPdf)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();
BENCHMARK(BM_BlankPngPages)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace
