#pragma once
// Reading single pixels of 32-bit pictures in the rendering tests.

#include "core/ColorTypes.h"

#include <QImage>
#include <QPoint>

namespace testsupport {

// The pixel at (x, y) of a 32-bit picture.
inline TColor32 at(const QImage& p, int x, int y)
{
    return reinterpret_cast<const TColor32*>(p.constScanLine(y))[x];
}
inline TColor32 at(const QImage& p, QPoint q) { return at(p, q.x(), q.y()); }

inline int red(TColor32 p) { return int((p >> 16) & 0xFF); }
inline int green(TColor32 p) { return int((p >> 8) & 0xFF); }
inline int blue(TColor32 p) { return int(p & 0xFF); }

}
