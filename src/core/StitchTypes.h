#pragma once
// The records of a design: colour-table entries, back stitches, French knots, placed Rhodes
// stitches and the entries of the colour list. All values; lists of them own their entries.

#include "ColorTypes.h"
#include "OrderedMap.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <memory>
#include <vector>

// Entry of a colour table (the design's or a palette's).
struct TColorInfo
{
    QString colorName;
    QString colorID;
    qint32 colorCount = 0;
    qint32 quarterStitchesCount = 0;
    qint32 backStitchesCount = 0;
    ColorKey matchColor = 0;
    qint32 charID = 0;
    qint32 Ord = 0;
    qint32 orderID = 0;

    bool operator==(const TColorInfo&) const = default;
};

// Compact copy of a colour-table entry kept by the palette pop-up.
struct TSimpleColorInfo
{
    ColorKey color = 0;
    QString colorName;
    QString colorID;
    qint32 charID = 0;
    qint32 orderID = 0;

    bool operator==(const TSimpleColorInfo&) const = default;
};

// A palette and the design colour table: colour key -> entry, in palette order of insertion.
using ColorTable = OrderedMap<ColorKey, TColorInfo>;
// The palette catalogue: catalogue name ("Name" or "Name vVersion") -> palette.
using PaletteCatalogue = OrderedMap<QString, ColorTable>;

// Straight stitch between two grid points (half-cell units).
struct TBackStitch
{
    QPoint FromPoint;
    QPoint ToPoint;
    ColorKey Color = 0;
    qint32 Index = 0;

    bool operator==(const TBackStitch&) const = default;
};

struct TFrenchKnot
{
    QPoint Center;
    ColorKey Color = 0;
    qint32 Index = 0;

    bool operator==(const TFrenchKnot&) const = default;
};

// A placed Rhodes stitch: its own stitches in design grid-point coordinates, one colour.
class TRhode
{
public:
    qint32 width = 0;
    qint32 height = 0;
    QList<TBackStitch> stitches;
    QString name;
    ColorKey color = 0;
    qint32 index = 0;
    bool original = false;

    // A copy with the same size, name, colour, index and stitches; `original` stays false.
    std::unique_ptr<TRhode> Clone() const;
    bool sameContent(const TRhode& o) const;
};

// The Rhodes catalogue: definitions in file order, owned by the list.
using TRhodeList = std::vector<std::unique_ptr<TRhode>>;

// Entry of the colour list shown by the colour panel.
struct TColorSymbols
{
    ColorKey Color = 0;
    QChar Symbol;
    bool hasBitmap = false;   // the colour has its size-9 glyph (it is used)
    QImage SymbolBitmap;      // that glyph, or null

    bool operator==(const TColorSymbols& o) const
    {
        return Color == o.Color && Symbol == o.Symbol && hasBitmap == o.hasBitmap;
    }
};

// Entry of the character-set catalogue.
struct TCharacterInfo
{
    QString fileName;
    QString Name;
    QString altName;
    QString fontName;
    qint32 fontStyle = 0;
    qint32 fontCharset = 0;
    QString characters;

    bool operator==(const TCharacterInfo&) const = default;
};
using CharacterCatalogue = OrderedMap<QString, TCharacterInfo>;

// Length of a straight stitch in half-cell units: floor of the Euclidean length.
qint32 stitchLength(QPoint from, QPoint to);
inline qint32 stitchLength(const TBackStitch& b) { return stitchLength(b.FromPoint, b.ToPoint); }

// The key with the smallest name (ordinal comparison of UTF-16 code units), or empty.
template <typename V>
QString smallestName(const OrderedMap<QString, V>& catalogue)
{
    QString best;
    bool first = true;
    for (const auto& e : catalogue) {
        if (first || QString::compare(e.first, best, Qt::CaseSensitive) < 0) {
            best = e.first;
            first = false;
        }
    }
    return best;
}
