#pragma once
// The update server's list and the record of what is installed, and the comparison of the
// two into the offers of the update window.
//
// The server's list: a root element (of any name) with the children "Installers", "Helps" and
// "Palettes"; every child of those (of any name) is one item with the version attributes
// "Major", "Minor", "Release", its "URL" and "Filename", help items with their "Language",
// palette items with their "Name". "Helps" and "Palettes" may be absent.
//
// The installed versions ("CurrentVersion.xml" in the per-user data folder): the root's
// children "ProgramRelease" (the program), "Helps" (items with "Language") and "Palettes"
// (items with "Name"), each with the three version attributes.

#include "VersionInfo.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct UpdateCatalogue
{
    QList<TVersionInfo> installers;
    QList<TVersionInfo> helps;
    QList<TVersionInfo> palettes;
};

struct InstalledVersions
{
    TVersionInfo program;
    QList<TVersionInfo> helps;
    QList<TVersionInfo> palettes;

    // The installed item of that type and name, or null.
    const TVersionInfo* find(TUpdateType type, const QString& name) const;
    // Records `item` as installed: replaces the entry of the same type and name, or adds one.
    void record(const TVersionInfo& item);
};

// The largest list the check reads, and the most items of each kind it keeps.
inline constexpr qint64 kMaxCatalogueBytes = 256 * 1024;
inline constexpr int kMaxCatalogueItems = 500;

// Reads the server's list. Throws QuillError naming `source` for malformed XML, an exceeded
// limit, a version that is not a whole number, or a help or palette item without its name,
// "URL" or "Filename". The list without "Installers" offers no program.
UpdateCatalogue readUpdateCatalogue(const QByteArray& bytes, const QString& source);

// Reads the installed versions; throws QuillError as readUpdateCatalogue does.
InstalledVersions readInstalledVersions(const QByteArray& bytes, const QString& source);
// The installed versions as XML (UTF-8, indented), for writing back.
QByteArray installedVersionsBytes(const InstalledVersions& versions);

// One row of the update window.
struct UpdateOffer
{
    TVersionInfo item;
    // The installed version of the same item, absent when it is not installed.
    std::optional<TVersionInfo> installed;
};

struct UpdateOffers
{
    std::optional<UpdateOffer> program;
    QList<UpdateOffer> helps;
    QList<UpdateOffer> palettes;
    // Items of the list that were refused (a file name that would leave its folder, a
    // language name that is no plain name), as messages (translation key, arguments).
    QList<std::pair<QString, QStringList>> refused;

    bool isEmpty() const { return !program && helps.isEmpty() && palettes.isEmpty(); }
};

// What the list offers over what is installed: the program candidate (programCandidate), and
// every help page and palette that is not installed or is later than the installed one (the
// latest item of each language and file name, or of each palette name).
UpdateOffers compareVersions(const InstalledVersions& installed, const UpdateCatalogue& catalogue);
