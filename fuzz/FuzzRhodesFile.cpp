// libFuzzer entry for the Rhodes catalogue ("rhodes.xml"): the bytes are parsed (a document
// that is not well-formed throws QuillError, a bad definition is refused), and the definitions
// read, written back, must read as the same definitions with none refused.

#include "FuzzSupport.h"

#include "core/QuillError.h"
#include "core/TStitch.h"
#include "files/RhodesFile.h"

#include <cstdint>

namespace {

bool sameDefinitions(const TRhodeList& a, const TRhodeList& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const TRhode& x = *a[i];
        const TRhode& y = *b[i];
        if (x.name != y.name || x.width != y.width || x.height != y.height
            || x.original != y.original || x.stitches.size() != y.stitches.size())
            return false;
        for (qsizetype k = 0; k < x.stitches.size(); ++k) {
            if (x.stitches[k].FromPoint != y.stitches[k].FromPoint
                || x.stitches[k].ToPoint != y.stitches[k].ToPoint)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::ensureApplication();
    static TStitch st;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    TRhodeList read;
    QStringList refused;
    try {
        read = RhodesFile::parse(bytes, QStringLiteral("rhodes.xml"), st, &refused);
    } catch (const QuillError&) {
        return 0;
    }
    QStringList refusedAgain;
    TRhodeList back;
    try {
        back = RhodesFile::parse(RhodesFile::serialize(read), QStringLiteral("rhodes.xml"), st,
                                 &refusedAgain);
    } catch (const QuillError&) {
        fuzzsupport::fail("a written Rhodes catalogue is not well-formed");
    }
    if (!refusedAgain.isEmpty())
        fuzzsupport::fail("a written Rhodes catalogue has refused definitions");
    if (!sameDefinitions(read, back))
        fuzzsupport::fail("a written Rhodes catalogue reads back differently");
    return 0;
}
