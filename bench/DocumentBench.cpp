// Start-up initialisation and the full recount of a large design.
#include "core/PatternDocument.h"
#include "core/SymbolFont.h"
#include "session/Session.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A 2000 x 2000 design with 400 colours in use: cells in short random runs, quarters in a
// quarter of the rows, and some stitches.
struct LargeDesign
{
    TStitch stitch;
    PatternDocument doc{stitch};

    LargeDesign()
    {
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
        set.fontName = "KorvaldArtSymbols110";
        set.characters = chars;
        stitch.characters.insert(set.Name, set);
        doc.CreateNewTemplate(2000, 2000, "Bench", "Bench");

        QRandomGenerator rng(7);
        const QList<ColorKey> keys = palette.keys().mid(0, 400);
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
            doc.DesignBackStitches.append(TBackStitch{QPoint(i, 0), QPoint(i + 2, 2), keys[i % 400], i});
        doc.CalcColorUsage(); // renders the glyphs of the used colours once
    }
};

void BM_CalcColorUsage(benchmark::State& state)
{
    static LargeDesign design;
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
