#include "RecentFiles.h"

bool sameRecentFile(const QString& a, const QString& b)
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return a.compare(b, Qt::CaseInsensitive) == 0;
#else
    // Names that differ only in case are different files here.
    return a == b;
#endif
}

bool insertRecentFile(QStringList& list, const QString& path)
{
    bool changed = false;
    if (list.size() > kMaxRecentFiles - 1) {
        list = list.mid(0, kMaxRecentFiles - 1);
        changed = true;
    }
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (!sameRecentFile(list[i], path))
            continue;
        if (i == 0)
            return changed;
        list.removeAt(i);
        break;
    }
    list.prepend(path);
    return true;
}
