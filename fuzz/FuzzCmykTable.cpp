// libFuzzer entry for the CMYK table ("cmyk.ini"): the bytes are parsed (damaged parts become
// warnings, never errors) and the table written back must parse to the same table with no
// warning.

#include "FuzzSupport.h"

#include "palettes/CmykTable.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    QStringList warnings;
    const CmykTable table = parseCmykTable(bytes, QStringLiteral("cmyk.ini"), &warnings);
    QStringList again;
    const CmykTable back = parseCmykTable(cmykTableBytes(table), QStringLiteral("cmyk.ini"), &again);
    if (!again.isEmpty())
        fuzzsupport::fail("a written CMYK table gives warnings when read");
    if (back.size() != table.size())
        fuzzsupport::fail("a written CMYK table reads back with another number of entries");
    for (qsizetype i = 0; i < table.size(); ++i) {
        if (!(back.at(i).first == table.at(i).first) || !(back.at(i).second == table.at(i).second))
            fuzzsupport::fail("a written CMYK table reads back differently");
    }
    return 0;
}
