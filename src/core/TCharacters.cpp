#include "TCharacters.h"

#include "SymbolFont.h"

#include <cmath>

void TCharacters::Create(const QString& characters)
{
    fcharacters = characters;
    CharsUsed = QList<qint32>(characters.size(), 0);
    dic.clear();
    for (int s : kGlyphSizes)
        dic.insert(s, {});
}

void TCharacters::Destroy()
{
    CharsUsed.clear();
    dic.clear();
}

void TCharacters::setFontName(const QString& name, const ColorTable& colors)
{
    ffontname = name;
    m_rawFonts.clear();
    for (int s : kGlyphSizes) {
        auto& map = dic[s];
        map.clear();
        for (const auto& [key, info] : colors)
            map.insert(key, info.colorCount < 1 ? QImage() : CharToBitmap(key, info, s));
    }
}

QRawFont TCharacters::rawFont(int size) const
{
    auto it = m_rawFonts.constFind(size);
    if (it != m_rawFonts.cend())
        return *it;
    QRawFont f = symbolRawFont(ffontname, pointsToPixels(size));
    m_rawFonts.insert(size, f);
    return f;
}

QChar TCharacters::symbolAt(int charID) const
{
    return charID >= 0 && charID < fcharacters.size() ? fcharacters.at(charID) : QChar();
}

QImage TCharacters::CharToBitmap(ColorKey color, const TColorInfo& info, int size) const
{
    const int height = 2 * size - 1;
    const int width = int(std::ceil(pointsToPixels(size))) + 1;
    const ColorKey ink = symbolInk(color, kGlyphBlack);
    const QChar ch = symbolAt(info.charID);
    if (ch.isNull()) {
        QImage img(width, height, QImage::Format_ARGB32);
        img.fill(Qt::transparent);
        return img;
    }
    return renderSymbolGlyph(rawFont(size), ch.unicode(), QSize(width, height), keyToQColor(ink));
}

bool TCharacters::hasSlot(int size, ColorKey c) const
{
    auto it = dic.constFind(size);
    return it != dic.cend() && it->contains(c);
}

bool TCharacters::hasGlyph(int size, ColorKey c) const
{
    auto it = dic.constFind(size);
    if (it == dic.cend())
        return false;
    const QImage* g = it->find(c);
    return g && !g->isNull();
}

QImage TCharacters::glyph(int size, ColorKey c) const
{
    auto it = dic.constFind(size);
    return it == dic.cend() ? QImage() : it->value(c);
}

QList<ColorKey> TCharacters::slotColors() const
{
    auto it = dic.constFind(9);
    return it == dic.cend() ? QList<ColorKey>() : it->keys();
}
