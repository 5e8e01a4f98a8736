#pragma once
// The fonts of printed pages. Pages name "Arial" for their texts and "Calibri" for the title
// and information pages; this platform has the metric-compatible Liberation Sans and Carlito.
// Sizes are given in points and set as pixel sizes for the page's resolution, so that a
// picture page (72 pixels per inch) and a printer or PDF page lay out the same.

#include <QFont>
#include <QString>

inline const QString kPrintSansFamily = QStringLiteral("Liberation Sans"); // "Arial"
inline const QString kPrintTitleFamily = QStringLiteral("Carlito");        // "Calibri"

// `family` at `points` on a page of `pixelsPerInch`: pixel size points x ppi / 72 (at least 1).
QFont printFont(const QString& family, double points, int pixelsPerInch, bool bold = false,
                bool italic = false);

// The pixel size printFont sets.
int printFontPixels(double points, int pixelsPerInch);
