// libFuzzer entry for palette files (".ctb"): the bytes are read by the catalogue's reader and
// by the palette editor's reader; a palette the editor's writer accepts must read back as the
// same palette. A QuillError is the expected answer to damaged data; anything else is a finding.

#include "FuzzSupport.h"

#include "core/QuillError.h"
#include "core/TStitch.h"
#include "palettes/PaletteFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzzsupport::scratchFile(bytes, QStringLiteral("fuzz.ctb"));

    TStitch st;
    try {
        loadPaletteFile(st, path);
    } catch (const QuillError&) {
    }

    PaletteFileData palette;
    try {
        palette = loadpalette(path);
    } catch (const QuillError&) {
        return 0;
    }
    QByteArray written;
    try {
        written = paletteFileBytes(palette);
    } catch (const QuillError&) {
        return 0; // a text the file format cannot hold is refused, not written wrongly
    }
    const QString again = fuzzsupport::scratchFile(written, QStringLiteral("again.ctb"));
    PaletteFileData back;
    try {
        back = loadpalette(again);
    } catch (const QuillError&) {
        fuzzsupport::fail("a written palette cannot be read back");
    }
    // orderID is the line's place among the file's lines, skipped lines counted, and the
    // writer writes no skipped lines: the order must stay, the numbers may close up.
    for (PaletteFileData* p : {&palette, &back}) {
        for (qsizetype i = 0; i < p->colors.size(); ++i) {
            if (i > 0 && p->colors[i].orderID <= p->colors[i - 1].orderID)
                fuzzsupport::fail("palette colours out of file order");
            p->colors[i].orderID = qint32(i);
        }
    }
    if (!(back == palette))
        fuzzsupport::fail("a written palette reads back differently");
    return 0;
}
