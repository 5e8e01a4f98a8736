#include "UserLibrary.h"

#include "library/MotifLibrary.h"

#include <QDir>
#include <QFile>

QString installUserLibrary(const QString& shippedLibrary, const QString& userDataFolder)
{
    if (userDataFolder.isEmpty())
        return {};
    const QString target = QDir::cleanPath(userDataFolder + QStringLiteral("/library"));
    if (!QDir().mkpath(target))
        return {};
    for (const QString& name : MotifLibrary::listMotifs(shippedLibrary)) {
        const QString to = MotifLibrary::motifPath(target, name);
        if (!QFile::exists(to))
            QFile::copy(MotifLibrary::motifPath(shippedLibrary, name), to);
    }
    return target;
}
