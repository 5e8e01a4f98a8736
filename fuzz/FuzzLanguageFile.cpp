// libFuzzer entry for language files (".lang"): the bytes are read as a language file (a text
// that is not valid in its encoding throws QuillError); the lines read, written back as UTF-8
// with a byte-order mark, must read as the same lines, and pairing them with keys must give one
// entry per non-empty key.

#include "FuzzSupport.h"

#include "core/QuillError.h"
#include "i18n/LanguageFile.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = fuzzsupport::scratchFile(bytes, QStringLiteral("fuzz.lang"));

    QStringList lines;
    try {
        lines = LanguageFile::read(path);
    } catch (const QuillError&) {
        return 0;
    }
    for (const QString& line : lines) {
        if (line.contains(u'\r') || line.contains(u'\n'))
            fuzzsupport::fail("a line holds a line end");
    }

    // The lines read, written as UTF-8 with a byte-order mark, read back the same. An empty
    // last line cannot survive (a line end at the very end adds no line), so it is left out.
    QStringList kept = lines;
    if (!kept.isEmpty() && kept.last().isEmpty())
        kept.removeLast();
    QByteArray written("\xEF\xBB\xBF");
    for (const QString& line : kept)
        written += line.toUtf8() + '\n';
    const QString again = fuzzsupport::scratchFile(written, QStringLiteral("again.lang"));
    QStringList back;
    try {
        back = LanguageFile::read(again);
    } catch (const QuillError&) {
        fuzzsupport::fail("lines that were read cannot be read again as UTF-8");
    }
    if (back != kept)
        fuzzsupport::fail("lines written back read differently");

    // Pairing: one entry per non-empty key, the translation or the key itself.
    const QStringList keys{QStringLiteral("File"), QString(), QStringLiteral("Open ..."),
                           QStringLiteral("Save"), QStringLiteral("%1 of %2")};
    const auto pairs = LanguageFile::pairLines(keys, lines);
    if (pairs.size() != 4)
        fuzzsupport::fail("pairing lost or invented a key");
    for (const auto& [key, text] : pairs) {
        if (key.isEmpty() || text.isEmpty())
            fuzzsupport::fail("pairing gave an empty key or text");
    }
    const auto self = LanguageFile::pairLines(lines, lines);
    if (self.size() != lines.size() - lines.count(QString()))
        fuzzsupport::fail("pairing lines with themselves lost a line");
    return 0;
}
