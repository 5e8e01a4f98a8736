#pragma once
// The chart's mouse cursors per tool, loaded once from the application's resources
// ("crDraw", "crPipette", "crMove", "crFill", "crErase").

#include "editing/TMode.h"

#include <QCursor>
#include <QString>

namespace AppCursors {
// The cursor of that name, or the arrow when the resource is missing.
QCursor named(const QString& name);
// The resource name of a tool mode's cursor, or empty for the arrow.
QString nameFor(TMode mode);
QCursor forMode(TMode mode);
} // namespace AppCursors
