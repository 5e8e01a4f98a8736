#pragma once
// One installed or offered item of the update check (the program, a help language, a
// palette), the version texts and the rules that decide what is offered.

#include <QList>
#include <QString>
#include <optional>

enum TUpdateType { utProgram, utHelp, utPalette };

struct TVersionInfo
{
    // Program: the product name; help: its language; palette: the palette name.
    QString Name;
    qint32 Major = 0;
    qint32 Minor = 0;
    qint32 Release = 0;
    // The file name the server gives; after a download, the path of the downloaded file.
    QString Filename;
    QString URL;
    QString History;
    TUpdateType updateType = utProgram;

    bool operator==(const TVersionInfo&) const = default;
};

// The version of this program as it was built (the product name, major, minor, release).
TVersionInfo buildProgramVersion();

// "Major.Minor.Release" in decimal without leading zeros.
QString versionText(qint32 major, qint32 minor, qint32 release);
QString versionText(const TVersionInfo& v);

// True when `offered` is a later release of the same major version as `installed`: a greater
// minor version, or the same minor version and a greater release.
bool offersProgram(const TVersionInfo& installed, const TVersionInfo& offered);

// True when `offered` is a later version than `installed` in (major, minor, release) order.
bool isLaterVersion(const TVersionInfo& installed, const TVersionInfo& offered);

// The program release to offer: of the installers in list order, every one that
// offersProgram replaces the one before, so the last qualifying entry wins even when an
// earlier one is newer. Nothing when none qualifies or the candidate's major version is 0.
std::optional<TVersionInfo> programCandidate(const TVersionInfo& installed,
                                             const QList<TVersionInfo>& installers);
