#include "ZoomList.h"

#include "core/ColorTypes.h"

namespace ZoomList {

int indexOf(int value)
{
    for (int i = 0; i < int(kValues.size()); ++i) {
        if (kValues[i] == value)
            return i;
    }
    return -1;
}

QString caption(int value)
{
    return QString::number(Rnd(value / 4.0 * 100.0)) + QLatin1Char('%');
}

QStringList menuCaptions()
{
    QStringList out;
    for (int v : kValues)
        out.append(caption(v));
    return out;
}

int zoomIn(int value)
{
    for (int v : kValues) {
        if (v > value)
            return v;
    }
    return value;
}

int zoomOut(int value)
{
    for (auto it = kValues.rbegin(); it != kValues.rend(); ++it) {
        if (*it < value)
            return *it;
    }
    return value;
}

} // namespace ZoomList
