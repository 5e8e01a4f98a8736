// libFuzzer entry for the design-file readers: the bytes are parsed as a native design file
// (fuzz_qvx) or a text design (fuzz_stv); a file that parses is then applied to a small
// design, so the checks of the reader and the assumptions of the apply step are both covered.
// A QuillError is the expected answer to damaged data; anything else is a finding.

#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "files/DesignLoad.h"

#include <QCoreApplication>
#include <cstdint>
#include <cstring>

namespace {

// A state object with one palette and one character set, like a minimal installation.
TStitch& fixtureStitch()
{
    static TStitch* st = [] {
        auto* s = new TStitch;
        ColorTable palette;
        for (int i = 0; i < 8; ++i) {
            TColorInfo e;
            e.colorID = QString::number(i);
            e.colorName = QStringLiteral("Colour %1").arg(i);
            e.charID = i;
            e.orderID = i;
            const ColorKey key = makeColorKey(i * 30, 255 - i * 30, i * 7);
            e.matchColor = key;
            palette.insert(key, e);
        }
        s->ColorPalettes.insert(QStringLiteral("Fuzz"), palette);
        TCharacterInfo set;
        set.Name = QStringLiteral("Fuzz symbols");
        set.fontName = QStringLiteral("KorvaldArtSymbols110");
        set.characters = QStringLiteral("ABCDEFGHIJ");
        s->characters.insert(set.Name, set);
        s->defaultCharacters = set.Name;
        s->defaultPalette = QStringLiteral("Fuzz");
        return s;
    }();
    return *st;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);

    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TStitch& st = fixtureStitch();
    PatternDocument doc(st);
    doc.CreateNewTemplate(3, 2, st.defaultCharacters, st.defaultPalette);
    const qsizetype palettes = st.ColorPalettes.size();
    try {
        if (std::strcmp(QUILLMARK_FUZZ_READER, "qvx") == 0) {
            TQVXFile file;
            parseQVX(file, bytes, QStringLiteral("fuzz.qvxp"));
            applyQVX(doc, file, QStringLiteral("fuzz.qvxp"));
        } else {
            TSTVFile file;
            parseSTV(file, bytes, QStringLiteral("fuzz.stv"));
            applySTV(doc, file, QStringLiteral("fuzz.stv"));
        }
        // A colour may have no symbol (charID -1 or past the symbol string): the only part of
        // the invariant such a colour cannot meet is a marked symbol position.
        const QString problem = doc.checkInvariant();
        if (!problem.isEmpty() && !problem.endsWith(QLatin1String("symbol position not marked used"))) {
            fprintf(stderr, "use counts wrong after opening: %s\n", qPrintable(problem));
            abort();
        }
    } catch (const QuillError&) {
    }
    // Palettes made from opened designs stay for the run; keep the fixture small.
    while (st.ColorPalettes.size() > palettes)
        st.ColorPalettes.remove(st.ColorPalettes.at(palettes).first);
    return 0;
}
