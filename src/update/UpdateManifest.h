#pragma once
// Downloaded help pages and palettes wait in the per-user data folder ("updates/" under
// PathData) until the next start applies them. The manifest "updates.xml" beside them, which
// only the program writes, lists each file with its version, its source there, the data
// folder file it replaces and its SHA-256; the start-up step copies nothing that is not in it.
//
// Manifest: root "TVLVersion" with "Helps" and then "Palettes"; "Help" elements carry
// "Language", "Major", "Minor", "Release", "Source", "Destination", "Sha256"; "Palette"
// elements carry "Name" instead of "Language".

#include "VersionInfo.h"

#include <QByteArray>
#include <QList>
#include <QString>

class TStitch;

inline constexpr qint64 kMaxUpdateFileBytes = 1 << 20;
inline constexpr int kMaxPendingUpdates = 500;

struct PendingUpdate
{
    TVersionInfo item;          // Name, version and type; Filename is the plain file name
    QString source;             // the downloaded file in the pending-updates folder
    QString destination;        // the file of the data folder it replaces
    QByteArray sha256;          // of the downloaded file, in hexadecimal

    bool operator==(const PendingUpdate&) const = default;
};

// The folder of downloaded updates ("<PathData>updates/"); empty without PathData.
QString pendingUpdatesFolder(const TStitch& stitch);
QString pendingManifestPath(const TStitch& stitch);
// The installed versions of help pages and palettes ("<PathData>CurrentVersion.xml").
QString installedVersionsPath(const TStitch& stitch);

// The data folder file that `item` (a help page or palette with a plain file name) replaces:
// "<PalettesPath><file>" or "<HelpPath><language>/<file>"; empty when the item's names are
// not plain, the data folder is not set, or the result would lie outside it.
QString updateDestination(const TStitch& stitch, const TVersionInfo& item);

// Checks a downloaded file of `item` at `path`: the size limit, and the format (a palette
// the palette reader reads with a name and at least one colour; a help page of UTF-8 text
// that starts as an HTML document). Throws QuillError naming the file and the problem.
void checkUpdateFile(const QString& path, const TVersionInfo& item);

QByteArray sha256Hex(const QByteArray& bytes);

QByteArray manifestBytes(const QList<PendingUpdate>& updates);
// Throws QuillError naming `source` when the manifest is malformed or too large.
QList<PendingUpdate> readManifest(const QByteArray& bytes, const QString& source);
