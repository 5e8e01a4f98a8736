#pragma once
// The design's character set and its glyph cache: for each of eight glyph sizes, a slot per
// colour of the table that holds the colour's rendered symbol while the colour is used.

#include "StitchTypes.h"

#include <QImage>
#include <QList>
#include <QMap>
#include <QRawFont>
#include <QString>
#include <array>

class TCharacters
{
public:
    static constexpr std::array<int, 8> kGlyphSizes{4, 5, 6, 7, 8, 9, 10, 11};
    // Value of the black ink in glyph rasters (red component 1).
    static constexpr ColorKey kGlyphBlack = 1;

    TCharacters() = default;
    // Starts a cache over `characters`: no font, every position unused, empty maps.
    void Create(const QString& characters);
    void Destroy();

    // Sets the font and rebuilds every glyph from the colour table: used colours get a glyph in
    // every size, every other colour an empty slot.
    void setFontName(const QString& name, const ColorTable& colors);
    void Rebuild(const ColorTable& colors) { setFontName(ffontname, colors); }
    const QString& fontname() const { return ffontname; }

    // Renders the symbol of `info` (position charID of the string) at `size` points in its ink.
    QImage CharToBitmap(ColorKey color, const TColorInfo& info, int size) const;
    // The symbol character at a position, or a null QChar when it lies outside the string.
    QChar symbolAt(int charID) const;

    void clearCharsused() { CharsUsed.fill(0); }

    // Glyph slots.
    bool hasSlot(int size, ColorKey c) const;
    bool hasGlyph(int size, ColorKey c) const;
    QImage glyph(int size, ColorKey c) const;
    void setGlyph(int size, ColorKey c, const QImage& glyph) { dic[size].insert(c, glyph); }
    void clearGlyph(int size, ColorKey c) { dic[size].insert(c, QImage()); }
    // Colours with a slot in the size-9 map, in that map's order.
    QList<ColorKey> slotColors() const;

    // The raw font of the symbol font at a glyph size (pixels at 96 dpi), cached.
    QRawFont rawFont(int size) const;

    QMap<int, OrderedMap<ColorKey, QImage>> dic;
    QString ffontname;
    quint8 ffontcharset = 0;
    int fontstyle = 0;
    QString CharsName;
    QString fcharacters;
    QList<qint32> CharsUsed;

private:
    mutable QMap<int, QRawFont> m_rawFonts;
};
