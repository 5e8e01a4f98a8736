#include "UpdateNames.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr int kMaxNameLength = 120;

} // namespace

bool isPlainUpdateFileName(const QString& name, TUpdateType type)
{
    static const QRegularExpression plain(QStringLiteral("^[\\p{L}\\p{N}_][\\p{L}\\p{N} _.()+-]*$"));
    if (name.isEmpty() || name.size() > kMaxNameLength || !plain.match(name).hasMatch()
        || name.contains(QStringLiteral("..")) || name.endsWith(u' ') || name.endsWith(u'.'))
        return false;
    const QString lower = name.toLower();
    switch (type) {
    case utPalette:
        return lower.endsWith(QStringLiteral(".ctb")) && lower.size() > 4;
    case utHelp:
        return (lower.endsWith(QStringLiteral(".html")) && lower.size() > 5)
            || (lower.endsWith(QStringLiteral(".htm")) && lower.size() > 4);
    case utProgram:
        break;
    }
    return false;
}

bool isPlainLanguageName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[\\p{L}\\p{N}_-]{1,64}$"));
    return plain.match(name).hasMatch();
}

QString fileInFolder(const QString& folder, const QString& name)
{
    if (folder.isEmpty() || name.isEmpty())
        return {};
    const QString base = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    const QString path = QDir::cleanPath(base + u'/' + name);
    // The file must be a direct entry of the folder.
    if (QFileInfo(path).absolutePath() != base || QFileInfo(path).fileName() != name)
        return {};
    return path;
}
