#pragma once
// Designs of the older product Ravlin 1/2 (".stv"): zero-terminated keyword texts, each
// followed by its value, big-endian numbers; a header section ended by "ENDHEADER" and a data
// section with the colours, the cell indexes and the symbol string. Reading fills a TSTVFile
// and checks it; applying it to the open design is DesignLoad.h.

#include "core/ColorTypes.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

struct TPixelInfo
{
    bool isWhite = false;
    quint8 aChar = 0;
    quint8 aGrayCol = 0;
    ColorKey aRgbColor = 0;
    quint16 aColNumber = 0;
};

struct TSTVFile
{
    QString filetype;
    quint16 version = 0;
    quint16 imagewidth = 0;
    quint16 imageheight = 0;
    quint16 colorscount = 0;
    quint16 backcolor = 0;
    QString fontname;
    quint16 fontstyle = 0;
    QString colortablename;
    QString characters;
    QMap<int, quint32> Palette;     // index -> colour value ("PALETTE", not used)
    QMap<int, TPixelInfo> Colors;   // index -> colour ("STICKCOL")
    QByteArray Pixels;              // cell (row by row) -> colour index; empty without "DATA"
};

// Parses the bytes of a text design into `file`. Throws QuillError naming `fileName` when the
// data end inside a number or a colour entry, a section does not fit in the rest of the file,
// or the design is not from 1 to 32767 cells each way or has more cells than the file has bytes.
void parseSTV(TSTVFile& file, const QByteArray& bytes, const QString& fileName);
// Reads the file `filename` into `file` (as parseSTV; also fails when it cannot be opened).
void readSTVFile(TSTVFile& file, const QString& filename);
