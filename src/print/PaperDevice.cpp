#include "PaperDevice.h"

#include <QSizeF>

TPageDevice paperDevice(QPageSize::PageSizeId id, TFormat format, int dpi)
{
    const QPageSize size(id);
    QSizeF mm = size.size(QPageSize::Millimeter);
    if (format == fLandscape)
        mm.transpose();
    TPageDevice d;
    d.widthMM = mm.width();
    d.heightMM = mm.height();
    // Pixels from the exact millimetres (QPageSize rounds through points and loses a pixel).
    d.widthPx = Rnd(mm.width() / 25.4 * dpi);
    d.heightPx = Rnd(mm.height() / 25.4 * dpi);
    d.pixelsPerInch = dpi;
    return d;
}
