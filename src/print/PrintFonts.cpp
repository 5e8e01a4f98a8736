#include "PrintFonts.h"

#include "core/ColorTypes.h"

#include <algorithm>

int printFontPixels(double points, int pixelsPerInch)
{
    return std::max(1, Rnd(points * pixelsPerInch / 72.0));
}

QFont printFont(const QString& family, double points, int pixelsPerInch, bool bold, bool italic)
{
    QFont font(family);
    font.setPixelSize(printFontPixels(points, pixelsPerInch));
    font.setBold(bold);
    font.setItalic(italic);
    // No substitution by style: the family is installed with the program's dependencies.
    font.setStyleHint(QFont::SansSerif);
    font.setKerning(false);
    // No ligatures: a PDF reader's text extraction cannot map a ligature glyph back ("tt").
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}
