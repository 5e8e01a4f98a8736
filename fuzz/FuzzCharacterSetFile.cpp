// libFuzzer entry for character-set files (".chr"): the bytes are read into a catalogue that
// already holds a set of the same name (so the renaming path runs too); a set the writer
// accepts must read back as the same set. A QuillError is the expected answer to damaged data.

#include "FuzzSupport.h"

#include "core/QuillError.h"
#include "core/TStitch.h"
#include "palettes/CharacterSetFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzzsupport::scratchFile(bytes, QStringLiteral("fuzz.chr"));

    TStitch st;
    try {
        loadCharacterSetFile(st, path);
        loadCharacterSetFile(st, path);
    } catch (const QuillError&) {
        return 0;
    }
    if (st.characters.size() != 2)
        fuzzsupport::fail("a second set of the same name did not get a name of its own");

    TCharacterInfo set = st.characters.at(0).second;
    QByteArray written;
    try {
        written = characterSetFileBytes(set);
    } catch (const QuillError&) {
        return 0; // a text the file format cannot hold is refused, not written wrongly
    }
    const QString again = fuzzsupport::scratchFile(written, QStringLiteral("again.chr"));
    TStitch back;
    try {
        loadCharacterSetFile(back, again);
    } catch (const QuillError&) {
        fuzzsupport::fail("a written character set cannot be read back");
    }
    TCharacterInfo read = back.characters.at(0).second;
    set.fileName = read.fileName;
    // The writer keeps only the font name of line 3; style and character set are its own.
    set.fontStyle = read.fontStyle;
    set.fontCharset = read.fontCharset;
    if (!(read == set))
        fuzzsupport::fail("a written character set reads back differently");
    return 0;
}
