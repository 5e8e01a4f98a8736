#pragma once
// Whether a design of a given size can exist: the design file stores at most 32767 cells each
// way, and both rasters (a cell raster and a quarter raster of four times as many pixels) must
// fit into the memory that is free. Checked before a size change touches the design.

#include <QString>
#include <QtGlobal>

class TStitch;

namespace DesignLimits {

// Bytes of both rasters of a w x h design (4 bytes per cell, 16 per cell's quarters).
qint64 rasterBytes(qint64 width, qint64 height);

// The memory the system can still give this process, in bytes; -1 when it cannot be told.
qint64 availableMemory();

// Empty when a design of w x h cells is possible with `extraBytes` more to be allocated beside
// its rasters and `available` bytes free (-1: unknown, only the file limits are checked);
// otherwise the translated message saying why not.
QString sizeProblem(TStitch& stitch, qint64 width, qint64 height, qint64 extraBytes,
                    qint64 available);

} // namespace DesignLimits
