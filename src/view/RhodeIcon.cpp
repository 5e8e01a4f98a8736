#include "RhodeIcon.h"

#include <QPainter>
#include <algorithm>

namespace RhodeIcon {

QSize scale(const TRhode& d)
{
    int ex = 1, ey = 1;
    for (const TBackStitch& s : d.stitches) {
        ex = std::max({ex, s.FromPoint.x(), s.ToPoint.x()});
        ey = std::max({ey, s.FromPoint.y(), s.ToPoint.y()});
    }
    return {(kSize - 1) / ex, (kSize - 1) / ey};
}

QImage draw(const TRhode& d)
{
    QImage icon(kSize, kSize, QImage::Format_ARGB32);
    icon.fill(QColor(255, 0, 255));
    const QSize sc = scale(d);
    const int sx = sc.width(), sy = sc.height();
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing, false);
    // The cell boundaries: every two grid units from the left and the top edge.
    p.setPen(QPen(QColor(128, 128, 128), 1));
    for (int x = 0; 2 * x * sx < kSize; ++x)
        p.drawLine(2 * x * sx, 0, 2 * x * sx, kSize - 1);
    for (int y = 0; 2 * y * sy < kSize; ++y)
        p.drawLine(0, 2 * y * sy, kSize - 1, 2 * y * sy);
    p.setPen(QPen(QColor(246, 137, 33), 3, Qt::SolidLine, Qt::RoundCap));
    for (const TBackStitch& s : d.stitches)
        p.drawLine(s.FromPoint.x() * sx, s.FromPoint.y() * sy, s.ToPoint.x() * sx,
                   s.ToPoint.y() * sy);
    return icon;
}

} // namespace RhodeIcon
