#include "DesignSummary.h"

#include <QJsonArray>
#include <algorithm>

QString colorKeyText(ColorKey key)
{
    return QStringLiteral("#%1%2%3")
        .arg(kRedOf(key), 2, 16, QLatin1Char('0'))
        .arg(kGreenOf(key), 2, 16, QLatin1Char('0'))
        .arg(kBlueOf(key), 2, 16, QLatin1Char('0'))
        .toUpper();
}

namespace {

QJsonArray rasterRows(const QImage& raster, TColor32 background)
{
    QJsonArray rows;
    for (int y = 0; y < raster.height(); ++y) {
        const TColor32* line = reinterpret_cast<const TColor32*>(raster.constScanLine(y));
        QJsonArray row;
        for (int x = 0; x < raster.width(); ++x) {
            if (line[x] == background)
                row.append(QJsonValue::Null);
            else
                row.append(colorKeyText(pixelToKey(line[x])));
        }
        rows.append(row);
    }
    return rows;
}

} // namespace

QJsonObject designSummary(const PatternDocument& doc, bool withCells)
{
    const TStitch& st = doc.stitch();
    QJsonObject o;
    o["width"] = doc.width();
    o["height"] = doc.height();
    o["palette"] = st.fcolorsName;
    o["characters"] = st.chars.CharsName;
    o["font"] = st.chars.ffontname;
    o["background"] = colorKeyText(pixelToKey(st.BackGroundColor));
    o["title"] = st.Title;
    o["comment"] = QJsonArray::fromStringList(st.comment);
    o["usedColors"] = st.fUsedColors;

    QList<std::pair<ColorKey, TColorInfo>> colours(st.Colors.begin(), st.Colors.end());
    std::stable_sort(colours.begin(), colours.end(), [](const auto& a, const auto& b) {
        return a.second.orderID < b.second.orderID;
    });
    QJsonArray table;
    for (const auto& [key, e] : colours) {
        QJsonObject c;
        c["key"] = colorKeyText(key);
        c["name"] = e.colorName;
        c["id"] = e.colorID;
        c["charID"] = e.charID;
        c["orderID"] = e.orderID;
        c["count"] = e.colorCount;
        c["quarters"] = e.quarterStitchesCount;
        c["backLength"] = e.backStitchesCount;
        table.append(c);
    }
    o["colors"] = table;

    QJsonArray back;
    for (const TBackStitch& b : doc.DesignBackStitches)
        back.append(QJsonArray{b.FromPoint.x(), b.FromPoint.y(), b.ToPoint.x(), b.ToPoint.y(),
                               colorKeyText(b.Color)});
    o["backStitches"] = back;
    QJsonArray knots;
    for (const TFrenchKnot& k : doc.DesignFrenchKnots)
        knots.append(QJsonArray{k.Center.x(), k.Center.y(), colorKeyText(k.Color)});
    o["frenchKnots"] = knots;
    QJsonArray rhodes;
    for (const auto& r : doc.DesignRhodes) {
        QJsonArray stitches;
        for (const TBackStitch& s : r->stitches)
            stitches.append(QJsonArray{s.FromPoint.x(), s.FromPoint.y(), s.ToPoint.x(), s.ToPoint.y()});
        rhodes.append(QJsonObject{{"width", r->width}, {"height", r->height},
                                  {"color", colorKeyText(r->color)}, {"stitches", stitches}});
    }
    o["rhodes"] = rhodes;

    if (withCells) {
        o["cells"] = rasterRows(doc.CrossCells, st.BackGroundColor);
        o["quarters"] = rasterRows(doc.QuarterCells, st.BackGroundColor);
    }
    return o;
}
