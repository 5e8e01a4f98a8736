#include "CmykDialog.h"

#include "CmykTable.h"
#include "FieldSplit.h"

#include <algorithm>

QString CmykDialog::cmykText(const TCMYK& v)
{
    return QStringLiteral("%1,%2,%3,%4").arg(v.C).arg(v.M).arg(v.Y).arg(v.K);
}

QString CmykDialog::rgbText(ColorKey c)
{
    return QStringLiteral("#%1%2%3")
        .arg(kRedOf(c), 2, 16, QLatin1Char('0'))
        .arg(kGreenOf(c), 2, 16, QLatin1Char('0'))
        .arg(kBlueOf(c), 2, 16, QLatin1Char('0'))
        .toUpper();
}

void CmykDialog::FormShow()
{
    m_rows.clear();
    for (const auto& [key, info] : m_stitch.Colors) {
        TCMYKColor row;
        row.Color = key;
        row.Symbol = m_stitch.chars.symbolAt(info.charID);
        row.Name = info.colorName;
        row.ID = info.orderID;
        row.RGBColor = rgbText(key);
        row.CMYKColor = cmykText(rgbToCmyk(key));
        if (const TCMYK* e = m_stitch.CMYK.find(cmykTableKey(key))) {
            row.NewCMYKColor = cmykText(*e);
            row.NewRGBColor = rgbText(e->RGBColor);
        }
        m_rows.append(row);
    }
    // Palette order; colours with equal numbers keep the table's order.
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const TCMYKColor& a, const TCMYKColor& b) { return a.ID < b.ID; });
}

QString CmykDialog::editText(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows[row].NewCMYKColor : QString();
}

bool CmykDialog::setEditText(int row, const QString& text)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    TCMYKColor& r = m_rows[row];
    const QStringList fields = splitDelimitedFields(text);
    int values[4] = {};
    bool valid = fields.size() == 4;
    for (int i = 0; valid && i < 4; ++i) {
        bool ok = false;
        values[i] = fields[i].toInt(&ok, 10);
        valid = ok && values[i] >= 0 && values[i] <= 100;
    }
    if (valid) {
        const TCMYK e = makeCmyk(quint8(values[0]), quint8(values[1]), quint8(values[2]),
                                 quint8(values[3]));
        m_stitch.CMYK.insert(cmykTableKey(r.Color), e);
        r.NewCMYKColor = text;
        r.NewRGBColor = rgbText(e.RGBColor);
    } else {
        m_stitch.CMYK.remove(cmykTableKey(r.Color));
        r.NewCMYKColor.clear();
        r.NewRGBColor.clear();
    }
    return true;
}

void CmykDialog::save() const
{
    saveCmykTable(m_stitch);
}
