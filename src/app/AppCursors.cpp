#include "AppCursors.h"

#include <QHash>
#include <QPixmap>

// The resources live in the static app library: register them before the first use.
static void initResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    Q_UNUSED(done);
}

namespace AppCursors {

namespace {
// Hot spots of the 16 x 16 pictures: the pen, dropper, bucket and eraser tips, the centre of
// the move cross.
QPoint hotSpot(const QString& name)
{
    if (name == QLatin1String("crMove"))
        return {7, 7};
    if (name == QLatin1String("crFill"))
        return {14, 14};
    return {0, 15};
}
} // namespace

QCursor named(const QString& name)
{
    static QHash<QString, QCursor> cache;
    if (auto it = cache.constFind(name); it != cache.constEnd())
        return *it;
    initResources();
    QPixmap pm(QStringLiteral(":/cursors/") + name + QStringLiteral(".xpm"));
    QCursor cursor(Qt::ArrowCursor);
    if (!pm.isNull()) {
        // Drawn at 16 x 16, shown doubled so that it reads on today's screens.
        const QPoint hot = hotSpot(name) * 2 + QPoint(1, 1);
        cursor = QCursor(pm.scaled(pm.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation),
                         hot.x(), hot.y());
    }
    cache.insert(name, cursor);
    return cursor;
}

QString nameFor(TMode mode)
{
    switch (mode) {
    case modCursor: return QStringLiteral("crMove");
    case modDraw:
    case modQDraw: return QStringLiteral("crDraw");
    case modErase: return QStringLiteral("crErase");
    case modPipette: return QStringLiteral("crPipette");
    case modFill: return QStringLiteral("crFill");
    default: return {};
    }
}

QCursor forMode(TMode mode)
{
    const QString name = nameFor(mode);
    return name.isEmpty() ? QCursor(Qt::ArrowCursor) : named(name);
}

} // namespace AppCursors
