#include "DesignLimits.h"

#include "core/TStitch.h"
#include "files/QvxFile.h"

#include <QFile>

#if defined(Q_OS_UNIX)
#include <unistd.h>
#endif

namespace DesignLimits {

qint64 rasterBytes(qint64 width, qint64 height)
{
    return 20 * qMax<qint64>(0, width) * qMax<qint64>(0, height);
}

qint64 availableMemory()
{
#if defined(Q_OS_LINUX)
    // MemAvailable counts the page cache the kernel gives up on demand; free pages alone would
    // refuse sizes that fit easily.
    QFile info(QStringLiteral("/proc/meminfo"));
    if (info.open(QIODevice::ReadOnly)) {
        while (!info.atEnd()) {
            const QByteArray line = info.readLine();
            if (line.startsWith("MemAvailable:")) {
                bool ok = false;
                const qint64 kib = line.mid(13).trimmed().split(' ').value(0).toLongLong(&ok);
                if (ok)
                    return kib * 1024;
            }
        }
    }
#endif
#if defined(Q_OS_UNIX) && defined(_SC_AVPHYS_PAGES)
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0)
        return qint64(pages) * pageSize;
#endif
    return -1;
}

QString sizeProblem(TStitch& stitch, qint64 width, qint64 height, qint64 extraBytes,
                    qint64 available)
{
    const qint64 side = qint64(kMaxDesignSide);
    if (width < 1 || height < 1 || width > side || height > side)
        return stitch.translate(QStringLiteral("A design must have from 1 to %1 cells each way; "
                                               "%2 x %3 cells is not possible."))
            .arg(side)
            .arg(width)
            .arg(height);
    if (available >= 0 && rasterBytes(width, height) + qMax<qint64>(0, extraBytes) > available)
        return stitch.translate(QStringLiteral("There is not enough memory for a design of "
                                               "%1 x %2 cells."))
            .arg(width)
            .arg(height);
    return {};
}

} // namespace DesignLimits
