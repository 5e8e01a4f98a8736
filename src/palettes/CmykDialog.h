#pragma once
// The "CMYK colors ..." dialog without its window: one row per colour of the design colour
// table in palette order, with the colour's own CMYK value and the one the CMYK table gives
// it, the rule that turns an edited "C,M,Y,K" text into a table entry, and saving the table.

#include "core/TStitch.h"

#include <QList>
#include <QString>

// A row of the dialog's grid.
struct TCMYKColor
{
    ColorKey Color = 0;
    QChar Symbol;
    QString Name;
    qint32 ID = 0;
    QString RGBColor;     // "#RRGGBB" of Color
    QString CMYKColor;    // "C,M,Y,K" computed from Color
    QString NewRGBColor;  // "#RRGGBB" the table's value prints as, or empty
    QString NewCMYKColor; // the table's value as "C,M,Y,K" (or as typed), or empty

    bool operator==(const TCMYKColor&) const = default;
};

class CmykDialog
{
public:
    enum Column { colColor, colName, colRGB, colCMYK, colNewCMYK, kColumnCount };

    explicit CmykDialog(TStitch& stitch) : m_stitch(stitch) {}

    // FormShow: rebuilds the rows from the design colour table and the CMYK table.
    void FormShow();

    const QList<TCMYKColor>& rows() const { return m_rows; }
    TStitch& stitch() { return m_stitch; }

    static bool isEditable(int column) { return column == colNewCMYK; }
    // The text the editor of a row starts with.
    QString editText(int row) const;
    // Commits an edited text for a row: four integers from 0 to 100 (comma-separated, blanks
    // also separate) set the colour's table entry; anything else clears the row and removes
    // the colour from the table. The table changes at once. Returns false for a row that does
    // not exist.
    bool setEditText(int row, const QString& text);

    // "OK": writes the table into "cmyk.ini". Throws QuillError when that fails; the table in
    // memory stays as it is.
    void save() const;

    // "C,M,Y,K" of an entry and "#RRGGBB" of a colour key.
    static QString cmykText(const TCMYK& value);
    static QString rgbText(ColorKey color);

private:
    TStitch& m_stitch;
    QList<TCMYKColor> m_rows;
};
