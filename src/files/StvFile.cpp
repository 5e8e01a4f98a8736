#include "StvFile.h"

#include "ByteStream.h"
#include "QvxFile.h"
#include "core/QuillError.h"

#include <QDir>
#include <QFile>

namespace {

ColorKey readColour3(ByteReader& r, const char* what)
{
    const quint32 b0 = r.u8(what), b1 = r.u8(what), b2 = r.u8(what);
    r.skip(1, what);
    return (b0 << 16) | (b1 << 8) | b2;
}

TPixelInfo readColourEntry(ByteReader& r)
{
    const char* what = "a \"STICKCOL\" colour entry";
    TPixelInfo p;
    p.isWhite = r.u8(what) != 0;
    p.aChar = r.u8(what);
    p.aGrayCol = r.u8(what);
    const quint32 red = r.u8(what), green = r.u8(what), blue = r.u8(what);
    r.skip(1, what);
    p.aRgbColor = makeColorKey(red, green, blue);
    p.aColNumber = r.u16(what);
    return p;
}

} // namespace

void parseSTV(TSTVFile& f, const QByteArray& bytes, const QString& fileName)
{
    ByteReader r(bytes, fileName);
    f = TSTVFile();
    f.filetype = r.text();
    r.text();
    f.version = r.u16be("the version");
    r.text();

    // Header: keywords in any order; unknown ones carry no value. A missing "ENDHEADER"
    // runs to the end of the file.
    while (!r.atEnd()) {
        const QString key = r.text();
        if (key == QLatin1String("ENDHEADER"))
            break;
        if (key == QLatin1String("WIDTH"))
            f.imagewidth = r.u16be("the width");
        else if (key == QLatin1String("HEIGHT"))
            f.imageheight = r.u16be("the height");
        else if (key == QLatin1String("COLORS"))
            f.colorscount = r.u16be("the number of colours");
        else if (key == QLatin1String("BACKCOLOR"))
            f.backcolor = r.u16be("the background colour");
        else if (key == QLatin1String("FONT")) {
            f.fontname = r.text();
            f.fontstyle = r.u16be("the font style");
        } else if (key == QLatin1String("COLORTABEL"))
            f.colortablename = r.text();
    }
    if (f.imagewidth < 1 || f.imageheight < 1 || f.imagewidth > kMaxDesignSide
        || f.imageheight > kMaxDesignSide)
        r.fail(QStringLiteral("the design size %1 x %2 is not from 1 to %3 cells each way"),
                 {QString::number(f.imagewidth), QString::number(f.imageheight), QString::number(kMaxDesignSide)});
    // A design holds one byte per cell; a size the file could not hold is damage, and would
    // otherwise allocate rasters for cells that are not there.
    if (quint64(f.imagewidth) * f.imageheight > quint64(bytes.size()))
        r.fail(QStringLiteral("the design size %1 x %2 needs more cells than the file holds"),
                 {QString::number(f.imagewidth), QString::number(f.imageheight)});

    r.text(); // the keyword opening the data part
    while (!r.atEnd()) {
        const QString key = r.text();
        if (key.isEmpty() || key == QLatin1String("END") || key == QLatin1String("ENDDATA"))
            break;
        if (key == QLatin1String("PALETTE")) {
            r.requireRecords(f.colorscount, 4, "the \"PALETTE\" section");
            for (int i = 0; i < f.colorscount; ++i)
                f.Palette.insert(i, readColour3(r, "the \"PALETTE\" section"));
        } else if (key == QLatin1String("STICKCOL")) {
            r.requireRecords(f.colorscount, 9, "the \"STICKCOL\" section");
            for (int i = 0; i < f.colorscount; ++i)
                f.Colors.insert(i, readColourEntry(r));
        } else if (key == QLatin1String("DATA")) {
            const quint64 cells = quint64(f.imagewidth) * f.imageheight;
            r.requireRecords(cells, 1, "the \"DATA\" section");
            f.Pixels = r.bytes(qsizetype(cells), "the \"DATA\" section");
        } else if (key == QLatin1String("CHARACTERS")) {
            f.characters = r.text();
        }
    }
}

void readSTVFile(TSTVFile& file, const QString& filename)
{
    const QByteArray bytes = readDesignBytes(filename);
    parseSTV(file, bytes, filename);
}
