#include "ChangeCharacter.h"

#include "core/PatternDocument.h"
#include "core/TStitch.h"

#include <QRect>

QChar ChangeCharacter::symbolAt(int column, int row) const
{
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows)
        return {};
    return m_stitch.chars.symbolAt(positionOf(column, row));
}

bool ChangeCharacter::isUsed(int column, int row) const
{
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows)
        return false;
    const int p = positionOf(column, row);
    const QList<qint32>& used = m_stitch.chars.CharsUsed;
    return p < used.size() && used[p] >= 1;
}

void ChangeCharacter::select(int column, int row)
{
    if (column < 0 || column >= kColumns || row < 0 || row >= kRows)
        return;
    m_column = column;
    m_row = row;
}

bool ChangeCharacter::canAccept() const
{
    return symbolPositionFree(m_stitch, selectedPosition());
}

bool ChangeCharacter::accept(PatternDocument& doc) const
{
    return canAccept() && changeDrawColorSymbol(doc, selectedPosition());
}

bool symbolPositionFree(const TStitch& stitch, int position)
{
    const TCharacters& chars = stitch.chars;
    if (position < 0 || position >= chars.fcharacters.size())
        return false;
    return position >= chars.CharsUsed.size() || chars.CharsUsed[position] < 1;
}

bool changeDrawColorSymbol(PatternDocument& doc, int position)
{
    TStitch& stitch = doc.stitch();
    TCharacters& chars = stitch.chars;
    const ColorKey color = stitch.drawcolor();
    TColorInfo* entry = stitch.Colors.find(color);
    if (!entry || entry->colorCount < 1 || !symbolPositionFree(stitch, position))
        return false;

    const int oldPosition = entry->charID;
    entry->charID = position;

    if (chars.CharsUsed.size() < chars.fcharacters.size())
        chars.CharsUsed.resize(chars.fcharacters.size(), 0);
    // Two colours may share a symbol: the old position stays in use while another used
    // colour still carries it.
    if (oldPosition >= 0 && oldPosition < chars.CharsUsed.size()) {
        bool stillUsed = false;
        for (const auto& [key, info] : stitch.Colors) {
            if (key != color && info.colorCount >= 1 && info.charID == oldPosition) {
                stillUsed = true;
                break;
            }
        }
        chars.CharsUsed[oldPosition] = stillUsed ? 1 : 0;
    }
    chars.CharsUsed[position] = 1;

    for (int size : TCharacters::kGlyphSizes)
        chars.setGlyph(size, color, chars.CharToBitmap(color, *entry, size));

    const int row = doc.colorSymbolsIndexOf(color);
    if (row >= 0) {
        TColorSymbols& s = doc.ColorSymbolsList[row];
        s.Symbol = chars.symbolAt(position);
        s.SymbolBitmap = chars.glyph(9, color);
        s.hasBitmap = !s.SymbolBitmap.isNull();
    }

    stitch.Change();
    emit doc.colorListChanged();
    emit doc.colorUsageChanged();
    emit doc.cellsChanged(QRect(0, 0, doc.width(), doc.height()));
    return true;
}
