// The motif library on a folder of 2000 motifs: the browser dialog made, listed and shown
// (the point at which it can be used), the listing alone, and reading the chosen motif for
// its preview and details.
#include "core/DataPaths.h"
#include "core/TStitch.h"
#include "library/LibraryBrowser.h"
#include "library/ui/TFLibrary.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const QString& shippedHeart()
{
    static const QString path = findShippedDataDir() + QStringLiteral("/library/heart.qvxp");
    return path;
}

// A folder of 2000 motifs (copies of the shipped heart), made once.
const QString& bigFolder()
{
    static QTemporaryDir dir;
    static const bool made = [] {
        for (int i = 0; i < 2000; ++i)
            QFile::copy(shippedHeart(), dir.path() + QStringLiteral("/motif-%1.qvxp").arg(i, 4, 10, QLatin1Char('0')));
        return true;
    }();
    (void)made;
    static const QString path = dir.path();
    return path;
}

void BM_LibraryDialogUsable(benchmark::State& state)
{
    TStitch st;
    st.libraryPath = bigFolder();
    qint64 listed = 0;
    for (auto _ : state) {
        TFLibrary dialog(st);
        dialog.prepare(true);
        dialog.show();
        QApplication::processEvents(); // laid out and painted once
        listed = dialog.list()->count();
        dialog.hide();
    }
    state.counters["motifs"] = double(listed);
}
BENCHMARK(BM_LibraryDialogUsable)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_LibraryListing(benchmark::State& state)
{
    TStitch st;
    st.libraryPath = bigFolder();
    LibraryBrowser browser(st);
    for (auto _ : state) {
        browser.refresh(true);
        benchmark::DoNotOptimize(browser.files().size());
    }
}
BENCHMARK(BM_LibraryListing)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MotifChosen(benchmark::State& state)
{
    TStitch st;
    st.libraryPath = findShippedDataDir() + QStringLiteral("/library");
    LibraryBrowser browser(st);
    browser.refresh(true);
    const int row = int(browser.files().indexOf(QStringLiteral("alphabet-upper.qvxp")));
    for (auto _ : state)
        benchmark::DoNotOptimize(browser.select(row));
}
BENCHMARK(BM_MotifChosen)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
