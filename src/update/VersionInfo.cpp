#include "VersionInfo.h"
#include "BuildConfig.h"

#include "core/Product.h"

#include <QStringList>
#include <tuple>

TVersionInfo buildProgramVersion()
{
    TVersionInfo v;
    v.Name = Product::kProductName;
    const QStringList parts = QStringLiteral(QUILLMARK_VERSION).split(u'.');
    v.Major = parts.value(0).toInt();
    v.Minor = parts.value(1).toInt();
    v.Release = parts.value(2).toInt();
    return v;
}

QString versionText(qint32 major, qint32 minor, qint32 release)
{
    return QStringLiteral("%1.%2.%3").arg(major).arg(minor).arg(release);
}

QString versionText(const TVersionInfo& v)
{
    return versionText(v.Major, v.Minor, v.Release);
}

bool offersProgram(const TVersionInfo& installed, const TVersionInfo& offered)
{
    if (offered.Major != installed.Major)
        return false;
    return offered.Minor > installed.Minor
        || (offered.Minor == installed.Minor && offered.Release > installed.Release);
}

bool isLaterVersion(const TVersionInfo& installed, const TVersionInfo& offered)
{
    return std::tie(offered.Major, offered.Minor, offered.Release)
        > std::tie(installed.Major, installed.Minor, installed.Release);
}

std::optional<TVersionInfo> programCandidate(const TVersionInfo& installed,
                                             const QList<TVersionInfo>& installers)
{
    std::optional<TVersionInfo> candidate;
    for (const TVersionInfo& item : installers)
        if (offersProgram(installed, item))
            candidate = item;
    if (candidate && candidate->Major < 1)
        return std::nullopt;
    return candidate;
}
