#pragma once
// The native design file (".qvxp", ".qvx"): "HDSF", an outer "QVXT" block and the inner blocks
// HEAD, CHAR, COLO, PIXD, BACK, QUAR, TITL, FRKN and a second BACK (placed Rhodes stitches),
// each behind a 16-byte header, little-endian. Which blocks follow PIXD depends only on the
// HEAD version (0 to 6). Reading fills a TQVXFile and checks it; nothing of the open design is
// touched until the whole file has been read (applying it is DesignLoad.h).

#include "core/StitchTypes.h"

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

class PatternDocument;
struct GhostPicture;

struct TBlockHeader
{
    char ID[4] = {0, 0, 0, 0};
    quint8 version = 0;
    quint8 compression = 0;
    quint8 subblocktype = 0;
    quint8 unused = 0;
    quint32 LLength = 0;
    quint32 PLength = 0;
};

// Everything a native design file holds, as read.
struct TQVXFile
{
    QByteArray Header; // the 4 magic bytes
    TBlockHeader FileHeader;
    TBlockHeader MainBlockHeader;
    // HEAD fields 1 to 20
    QString colorsname;
    QString CharsName;
    QString fontname;
    quint16 fontstyle = 0;
    quint16 fontCharset = 0;
    quint32 usedColors = 0;
    quint32 fWhite = 0;
    quint32 fBlack = 0;
    quint32 width = 0;
    quint32 height = 0;
    QString Title;
    QString Description;
    QString tfontname;
    quint32 tfontSize = 0;
    quint16 TFontStyle = 0;
    quint16 TFontCharset = 0;
    QString cfontname;
    quint32 cfontSize = 0;
    quint16 cfontStyle = 0;
    quint16 cfontCharset = 0;
    // HEAD version 1 and later
    double stitchLen = 0.01;
    double stitchBaseLen = 0;
    // HEAD version 2 and later; older files have a white background
    ColorKey bg = 0x00FFFFFFu;
    // HEAD version 3 and later
    double stitchBackLen = 0.01;

    TBlockHeader CharactersBlockHeader;
    QString characters;
    TBlockHeader ColorsBlockHeader;
    // Index -> entry; the colour key is in matchColor, orderID is the index.
    QList<TColorInfo> Colors;
    TBlockHeader PixelsBlockHeader;
    // Cell (row by row) -> colour index; -1 is an empty cell.
    QList<qint16> Pixels;
    TBlockHeader BackStitchesBlockHeader;
    TBlockHeader QuarterStitchesBlockHeader;
    QList<qint16> QuarterStitchesPixels; // (2 x width) x (2 x height), row by row
    TBlockHeader FrenchKnotsBlockHeader;
    QList<TFrenchKnot> frenchKnots;
    TBlockHeader RhodesBlockHeader;
    std::vector<TRhode> Rhodes;
    QList<TBackStitch> BackStitches;
    TBlockHeader TitleBlockHeader;
    bool hasTitle = false; // HEAD version 5 and later
    QString title;
    QStringList commentLines;

    quint8 headVersion() const { return MainBlockHeader.version; }
};

// The largest width or height a design file may have (that of the New Image dialog).
constexpr quint32 kMaxDesignSide = 32767;

// Parses the bytes of a design file into `file`. Throws QuillError naming `fileName` and the
// problem when the data ends early, a size or count does not fit in the rest of the data,
// a string is longer than 10000 bytes or the size is not from 1 to 32767 cells each way.
void parseQVX(TQVXFile& file, const QByteArray& bytes, const QString& fileName);
// Reads the file `filename` into `file` (as parseQVX; also fails when it cannot be opened).
void ReadQVX(TQVXFile& file, const QString& filename);

// The bytes of a design file holding the whole design, or only the cells inside `rectangle`
// (the motif library) when it is given. Renumbers the `Ord` of every colour entry (palette
// order) and sets its `matchColor` to its key, as saving always has. Throws QuillError when a
// text is too long for the format or the design has more colours than the file can index.
QByteArray qvxBytes(PatternDocument& doc, const QRect* rectangle = nullptr);

// Writes the whole design to `filename` through a safe save: the old file stays intact unless
// the new one was written completely. With a loaded ghost picture, it is written beside the
// design as a ".png" of the same name (`ghostPng` when given: the ghost picture already
// encoded by encodeGhostPicture). Throws QuillError when the file cannot be written.
void SaveQVX(PatternDocument& doc, const QString& filename, const GhostPicture* ghost = nullptr,
             const QByteArray& ghostPng = QByteArray());
// Writes the cells inside `rectangle` (clipped to the design) and the stitches lying wholly
// inside it, moved so that the rectangle's top-left corner is the origin.
void SaveQVX(PatternDocument& doc, const QString& filename, const QRect& rectangle);
