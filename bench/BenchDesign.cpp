#include "BenchDesign.h"
#include "BuildConfig.h"

#include "core/SymbolFont.h"

#include <QRandomGenerator>

BenchDesign::BenchDesign()
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
    doc.CalcColorUsage(); // renders the glyphs of the used colours once
}

BenchDesign& benchDesign()
{
    static BenchDesign d;
    return d;
}
