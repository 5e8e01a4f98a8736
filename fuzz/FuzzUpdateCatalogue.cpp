// libFuzzer entry for the files of the update check: the bytes are read as the server's list,
// as the record of installed versions and as the pending-update manifest. Damaged input
// throws QuillError. A list that reads is compared with an installed record, and no offer may
// carry a file name that is not plain; a record that reads, written back, reads the same.

#include "FuzzSupport.h"

#include "core/QuillError.h"
#include "update/UpdateCatalogue.h"
#include "update/UpdateManifest.h"
#include "update/UpdateNames.h"

#include <cstdint>

namespace {

// The same names and versions in the same order (the record keeps nothing else).
bool sameVersions(const QList<TVersionInfo>& a, const QList<TVersionInfo>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].Name != b[i].Name || versionText(a[i]) != versionText(b[i]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzzsupport::ensureApplication();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString source = QStringLiteral("https://updates.example.org/list.xml");

    try {
        const UpdateCatalogue catalogue = readUpdateCatalogue(bytes, source);
        if (catalogue.installers.size() > kMaxCatalogueItems || catalogue.helps.size() > kMaxCatalogueItems
            || catalogue.palettes.size() > kMaxCatalogueItems)
            fuzzsupport::fail("more items than the limit");
        InstalledVersions installed;
        installed.program.Major = 5;
        installed.program.Minor = 1;
        installed.program.Release = 3;
        const UpdateOffers offers = compareVersions(installed, catalogue);
        if (offers.program && offers.program->item.Major != 5)
            fuzzsupport::fail("a program of another major version offered");
        for (const QList<UpdateOffer>* list : {&offers.helps, &offers.palettes})
            for (const UpdateOffer& o : *list)
                if (!isPlainUpdateFileName(o.item.Filename, o.item.updateType)
                    || (o.item.updateType == utHelp && !isPlainLanguageName(o.item.Name)))
                    fuzzsupport::fail("an offer with a file name that is not plain");
    } catch (const QuillError&) {
    }

    try {
        const InstalledVersions installed = readInstalledVersions(bytes, source);
        const InstalledVersions again = readInstalledVersions(installedVersionsBytes(installed), source);
        if (versionText(again.program) != versionText(installed.program)
            || !sameVersions(again.helps, installed.helps) || !sameVersions(again.palettes, installed.palettes))
            fuzzsupport::fail("installed versions written back read differently");
    } catch (const QuillError&) {
    }

    try {
        const QList<PendingUpdate> updates = readManifest(bytes, source);
        if (updates.size() > kMaxPendingUpdates)
            fuzzsupport::fail("more pending updates than the limit");
    } catch (const QuillError&) {
    }
    return 0;
}
