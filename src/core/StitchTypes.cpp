#include "StitchTypes.h"

#include <cmath>

qint32 stitchLength(QPoint from, QPoint to)
{
    const double dx = double(from.x()) - double(to.x());
    const double dy = double(from.y()) - double(to.y());
    return qint32(std::floor(std::sqrt(dx * dx + dy * dy)));
}

std::unique_ptr<TRhode> TRhode::Clone() const
{
    auto r = std::make_unique<TRhode>();
    r->width = width;
    r->height = height;
    r->stitches = stitches;
    r->name = name;
    r->color = color;
    r->index = index;
    return r;
}

bool TRhode::sameContent(const TRhode& o) const
{
    return width == o.width && height == o.height && stitches == o.stitches && name == o.name
        && color == o.color && index == o.index;
}
