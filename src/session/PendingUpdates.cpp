#include "PendingUpdates.h"

#include "core/QuillError.h"
#include "core/SafeSave.h"
#include "core/TStitch.h"
#include "update/UpdateCatalogue.h"
#include "update/UpdateLog.h"
#include "update/UpdateManifest.h"
#include "update/UpdateNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString shown(const QString& path) { return QDir::toNativeSeparators(path); }

// Applies one entry; throws QuillError saying why it is refused.
void applyOne(const TStitch& stitch, const QString& folder, const PendingUpdate& u)
{
    const QString destination = updateDestination(stitch, u.item);
    if (destination.isEmpty() || QDir::cleanPath(u.destination) != destination)
        throw QuillError(QStringLiteral("The pending update %1 is refused: it does not go into its data folder."),
                         {shown(u.destination)});
    // The source must be a file of the pending-updates folder itself.
    const QString source = fileInFolder(folder, QFileInfo(u.source).fileName());
    if (source.isEmpty() || QDir::cleanPath(u.source) != source || !QFileInfo(source).isFile())
        throw QuillError(QStringLiteral("The pending update %1 is refused: its file is not in the folder of downloaded updates."),
                         {shown(u.source)});
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        throw QuillError(QStringLiteral("Cannot read the update file %1: %2"), {shown(source), file.errorString()});
    const QByteArray bytes = file.read(kMaxUpdateFileBytes + 1);
    file.close();
    if (bytes.size() > kMaxUpdateFileBytes || sha256Hex(bytes) != u.sha256)
        throw QuillError(QStringLiteral("The pending update %1 is refused: the file was changed after its download."),
                         {shown(source)});
    checkUpdateFile(source, u.item);
    // A help language's folder is made inside the help folder when it is new.
    const QString targetFolder = QFileInfo(destination).absolutePath();
    if (!QDir().mkpath(targetFolder))
        throw QuillError(QStringLiteral("The folder %1 cannot be made."), {shown(targetFolder)});
    writeFileSafely(destination, bytes, QStringLiteral("updated file"));
}

} // namespace

PendingUpdatesResult applyPendingUpdates(TStitch& stitch)
{
    PendingUpdatesResult result;
    const QString manifest = pendingManifestPath(stitch);
    if (manifest.isEmpty() || !QFileInfo::exists(manifest))
        return result;
    const QString folder = pendingUpdatesFolder(stitch);

    QList<PendingUpdate> updates;
    try {
        QFile file(manifest);
        if (!file.open(QIODevice::ReadOnly))
            throw QuillError(QStringLiteral("Cannot read the update file %1: %2"),
                             {shown(manifest), file.errorString()});
        updates = readManifest(file.read((1 << 20) + 1), manifest);
    } catch (const QuillError& e) {
        result.refused << e.message();
    }

    InstalledVersions installed;
    const QString versionsPath = installedVersionsPath(stitch);
    if (QFile versions(versionsPath); versions.open(QIODevice::ReadOnly)) {
        try {
            installed = readInstalledVersions(versions.read(kMaxCatalogueBytes + 1), versionsPath);
        } catch (const QuillError& e) {
            qCWarning(lcUpdate).noquote() << e.message();
        }
    }
    for (const PendingUpdate& u : updates) {
        try {
            applyOne(stitch, folder, u);
            installed.record(u.item);
            result.applied << QDir::cleanPath(u.destination);
        } catch (const QuillError& e) {
            result.refused << e.message();
        }
    }
    if (!result.applied.isEmpty()) {
        // The program's own version is the one of this build (the package manager installs it).
        installed.program = buildProgramVersion();
        try {
            writeFileSafely(versionsPath, installedVersionsBytes(installed), QStringLiteral("installed versions"));
        } catch (const QuillError& e) {
            result.refused << e.message();
        }
    }
    for (const QString& path : result.applied)
        qCInfo(lcUpdate).noquote() << "updated" << shown(path);
    for (const QString& message : result.refused)
        qCWarning(lcUpdate).noquote() << message;
    // Applied or refused, the downloads are not tried again.
    QDir(folder).removeRecursively();
    return result;
}
