#include "BenchDesign.h"
#include "BuildConfig.h"

#include "core/SymbolFont.h"

#include <QRandomGenerator>

QList<ColorKey> installBenchPalette(TStitch& stitch, int count, ColorKey (*colourOf)(int))
{
    const QString family =
        registerSymbolFontFile(QStringLiteral(QUILLMARK_SOURCE_DATA_DIR "/fonts/KorvaldArtSymbols110.ttf"));
    ColorTable palette;
    QString chars;
    for (int i = 0; i < count; ++i) {
        TColorInfo e;
        e.colorID = QString::number(i);
        e.colorName = e.colorID;
        e.charID = i;
        e.orderID = i;
        palette.insert(colourOf(i), e);
        chars += QChar(char16_t(160 + i % 441));
    }
    stitch.ColorPalettes.insert("Bench", palette);
    TCharacterInfo set;
    set.Name = "Bench";
    set.fontName = family;
    set.characters = chars;
    stitch.characters.insert(set.Name, set);
    return palette.keys();
}

void fillRandomRuns(PatternDocument& doc, const QList<ColorKey>& keys, quint32 seed,
                    int backgroundOneIn)
{
    QRandomGenerator rng(seed);
    const TColor32 background = doc.stitch().BackGroundColor;
    for (int y = 0; y < doc.height(); ++y) {
        auto* row = reinterpret_cast<TColor32*>(doc.CrossCells.scanLine(y));
        for (int x = 0; x < doc.width();) {
            const int run = 1 + int(rng.bounded(6));
            const TColor32 v = backgroundOneIn > 0 && rng.bounded(backgroundOneIn) == 0
                ? background
                : keyToPixel(keys[int(rng.bounded(keys.size()))]);
            for (int k = 0; k < run && x < doc.width(); ++k, ++x)
                row[x] = v;
        }
    }
}

BenchDesign::BenchDesign()
{
    keys = installBenchPalette(stitch, 450, [](int i) {
               return makeColorKey(i & 0xFF, (i >> 8) * 40 + 3, (i * 37) & 0xFF);
           }).mid(0, 400);
    doc.CreateNewTemplate(2000, 2000, "Bench", "Bench");
    fillRandomRuns(doc, keys, 7, 10);
    QRandomGenerator rng(8);
    for (int y = 0; y < doc.QuarterCells.height(); y += 4) {
        auto* row = reinterpret_cast<TColor32*>(doc.QuarterCells.scanLine(y));
        for (int x = 0; x < doc.QuarterCells.width(); ++x)
            row[x] = keyToPixel(keys[int(rng.bounded(400))]);
    }
    for (int i = 0; i < 2000; ++i)
        doc.DesignBackStitches.append(TBackStitch{QPoint(i % 400, i / 4), QPoint(i % 400 + 2, i / 4 + 2), keys[i % 400], i});
    for (int i = 0; i < 500; ++i)
        doc.DesignFrenchKnots.append(TFrenchKnot{QPoint(i % 480, (i * 7) % 270), keys[i % 400], i});
    doc.CalcColorUsage(); // renders the glyphs of the used colours once
}

BenchDesign& benchDesign()
{
    static BenchDesign d;
    return d;
}
