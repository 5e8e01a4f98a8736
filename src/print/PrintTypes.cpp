#include "PrintTypes.h"

QString printStitchesName(TPrintStitches kind)
{
    switch (kind) {
    case psCrossStitchOnly: return QStringLiteral("psCrossStitchOnly");
    case psBackStitchOnly: return QStringLiteral("psBackStitchOnly");
    case psBoth: return QStringLiteral("psBoth");
    case psBookHeader: return QStringLiteral("psBookHeader");
    case psBookFooter: return QStringLiteral("psBookFooter");
    case psStitchList: return QStringLiteral("psStitchList");
    case psContents: return QStringLiteral("psContents");
    case psLabels: return QStringLiteral("psLabels");
    }
    return QString();
}

QString positionName(TPosition position)
{
    switch (position) {
    case pLeft: return QStringLiteral("pLeft");
    case pTop: return QStringLiteral("pTop");
    case pRight: return QStringLiteral("pRight");
    case pBottom: return QStringLiteral("pBottom");
    case pSeparate: return QStringLiteral("pSeparate");
    }
    return QString();
}
