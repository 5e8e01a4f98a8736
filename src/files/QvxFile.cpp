#include "QvxFile.h"

#include "ByteStream.h"
#include "GhostPicture.h"
#include "core/SafeSave.h"
#include "core/LargeMemory.h"
#include "core/PatternDocument.h"
#include "core/QuillError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstring>

namespace {

// Grid-point coordinates beyond twice the largest design side cannot belong to any design;
// a file holding them is damaged (and their lengths would overflow the use counts).
constexpr qint64 kMaxGridCoordinate = 2 * qint64(kMaxDesignSide);

void readHeader(ByteReader& r, TBlockHeader& h, const char* what)
{
    const QByteArray id = r.bytes(4, what);
    std::memcpy(h.ID, id.constData(), 4);
    h.version = r.u8(what);
    h.compression = r.u8(what);
    h.subblocktype = r.u8(what);
    h.unused = r.u8(what);
    h.LLength = r.u32(what);
    h.PLength = r.u32(what);
}

qint32 readCoordinate(ByteReader& r, bool doubled, const char* what)
{
    qint64 v = r.i32(what);
    if (doubled)
        v *= 2;
    if (v < -kMaxGridCoordinate || v > kMaxGridCoordinate)
        r.fail(QStringLiteral("%1 has the coordinate %2, outside any design"),
                 {QuillError::translatable(QLatin1String(what)), QString::number(v)});
    return qint32(v);
}

ColorKey readColorKey(ByteReader& r, const char* what)
{
    // Only the three colour bytes are a colour; the top byte of a key is always zero.
    return r.u32(what) & 0x00FFFFFFu;
}

QList<qint16> readIndexRaster(ByteReader& r, quint64 width, quint64 height, const char* what)
{
    const quint64 cells = width * height;
    r.requireRecords(cells, 4, what);
    // Read in place: the raster's bytes are not copied before they are decoded.
    const uchar* p = r.take(qsizetype(cells * 4), what);
    QList<qint16> indexes;
    indexes.reserve(qsizetype(cells));
    adviseHugePages(indexes.data(), std::size_t(cells) * sizeof(qint16));
    indexes.resize(qsizetype(cells));
    qint16* out = indexes.data();
    for (quint64 i = 0; i < cells; ++i, p += 4)
        out[i] = qint16(quint16(p[0] | (p[1] << 8)));
    return indexes;
}

TBackStitch readStitch(ByteReader& r, bool doubled, const char* what)
{
    TBackStitch b;
    const qint32 x1 = readCoordinate(r, doubled, what);
    const qint32 y1 = readCoordinate(r, doubled, what);
    const qint32 x2 = readCoordinate(r, doubled, what);
    const qint32 y2 = readCoordinate(r, doubled, what);
    b.FromPoint = QPoint(x1, y1);
    b.ToPoint = QPoint(x2, y2);
    return b;
}

} // namespace

void parseQVX(TQVXFile& f, const QByteArray& bytes, const QString& fileName)
{
    ByteReader r(bytes, fileName);
    f = TQVXFile();
    f.Header = r.bytes(4, "the file magic");
    readHeader(r, f.FileHeader, "the outer block header");
    readHeader(r, f.MainBlockHeader, "the HEAD block header");
    const int v = f.headVersion();

    f.colorsname = r.string("the palette name");
    f.CharsName = r.string("the character-set name");
    f.fontname = r.string("the font name");
    f.fontstyle = r.u16("the HEAD block");
    f.fontCharset = r.u16("the HEAD block");
    f.usedColors = r.u32("the HEAD block");
    f.fWhite = r.u32("the HEAD block");
    f.fBlack = r.u32("the HEAD block");
    f.width = r.u32("the HEAD block");
    f.height = r.u32("the HEAD block");
    f.Title = r.string("the HEAD title");
    f.Description = r.string("the HEAD description");
    f.tfontname = r.string("the title font name");
    f.tfontSize = r.u32("the HEAD block");
    f.TFontStyle = r.u16("the HEAD block");
    f.TFontCharset = r.u16("the HEAD block");
    f.cfontname = r.string("the comment font name");
    f.cfontSize = r.u32("the HEAD block");
    f.cfontStyle = r.u16("the HEAD block");
    f.cfontCharset = r.u16("the HEAD block");
    if (v >= 1) {
        f.stitchLen = r.f64("the HEAD block");
        f.stitchBaseLen = r.f64("the HEAD block");
    }
    if (v >= 2)
        f.bg = readColorKey(r, "the HEAD block");
    if (v >= 3)
        f.stitchBackLen = r.f64("the HEAD block");
    if (f.width < 1 || f.width > kMaxDesignSide || f.height < 1 || f.height > kMaxDesignSide)
        r.fail(QStringLiteral("the design size %1 x %2 is not from 1 to %3 cells each way"),
                 {QString::number(f.width), QString::number(f.height), QString::number(kMaxDesignSide)});

    readHeader(r, f.CharactersBlockHeader, "the CHAR block header");
    f.characters = r.string("the symbol string");

    readHeader(r, f.ColorsBlockHeader, "the COLO block header");
    const bool idAsText = f.ColorsBlockHeader.version >= 1;
    const quint32 colorCount = r.u32("the colour list");
    r.requireRecords(colorCount, 16, "the colour list");
    f.Colors.reserve(qsizetype(colorCount));
    for (quint32 k = 0; k < colorCount; ++k) {
        TColorInfo e;
        e.colorName = r.string("a colour name");
        e.colorID = idAsText ? r.string("a colour number")
                             : QString::number(r.u32("a colour number"));
        e.matchColor = readColorKey(r, "the colour list");
        e.charID = r.i32("the colour list");
        e.orderID = qint32(k);
        e.Ord = qint32(k);
        f.Colors.append(e);
    }

    readHeader(r, f.PixelsBlockHeader, "the PIXD block header");
    f.Pixels = readIndexRaster(r, f.width, f.height, "the cell raster");

    if (v >= 3) {
        readHeader(r, f.BackStitchesBlockHeader, "the BACK block header");
        const quint32 n = r.u32("the back stitches");
        r.requireRecords(n, 20, "the back stitches");
        f.BackStitches.reserve(qsizetype(n));
        for (quint32 i = 0; i < n; ++i) {
            TBackStitch b = readStitch(r, v < 6, "a back stitch");
            b.Color = readColorKey(r, "a back stitch");
            b.Index = qint32(i);
            f.BackStitches.append(b);
        }
    }
    if (v >= 4) {
        readHeader(r, f.QuarterStitchesBlockHeader, "the QUAR block header");
        f.QuarterStitchesPixels =
            readIndexRaster(r, 2 * quint64(f.width), 2 * quint64(f.height), "the quarter raster");
    }
    if (v >= 5) {
        readHeader(r, f.TitleBlockHeader, "the TITL block header");
        f.hasTitle = true;
        f.title = r.string("the title");
        const quint32 lines = r.u32("the comment");
        r.requireRecords(lines, 4, "the comment");
        for (quint32 i = 0; i < lines; ++i)
            f.commentLines << r.string("a comment line");
    }
    if (v >= 6) {
        readHeader(r, f.FrenchKnotsBlockHeader, "the FRKN block header");
        const quint32 n = r.u32("the French knots");
        r.requireRecords(n, 12, "the French knots");
        f.frenchKnots.reserve(qsizetype(n));
        for (quint32 i = 0; i < n; ++i) {
            TFrenchKnot k;
            const qint32 x = readCoordinate(r, false, "a French knot");
            const qint32 y = readCoordinate(r, false, "a French knot");
            k.Center = QPoint(x, y);
            k.Color = readColorKey(r, "a French knot");
            k.Index = qint32(i);
            f.frenchKnots.append(k);
        }

        readHeader(r, f.RhodesBlockHeader, "the Rhodes block header");
        const quint32 count = r.u32("the Rhodes stitches");
        r.requireRecords(count, 16, "the Rhodes stitches");
        f.Rhodes.reserve(count);
        for (quint32 i = 0; i < count; ++i) {
            TRhode rh;
            rh.width = r.i32("a Rhodes stitch");
            rh.height = r.i32("a Rhodes stitch");
            rh.color = readColorKey(r, "a Rhodes stitch");
            rh.index = qint32(i);
            const quint32 m = r.u32("a Rhodes stitch");
            r.requireRecords(m, 16, "the stitches of a Rhodes stitch");
            rh.stitches.reserve(qsizetype(m));
            for (quint32 j = 0; j < m; ++j) {
                TBackStitch s = readStitch(r, false, "a Rhodes stitch");
                s.Color = rh.color;
                s.Index = qint32(j);
                rh.stitches.append(s);
            }
            f.Rhodes.push_back(std::move(rh));
        }
    }
}

void ReadQVX(TQVXFile& file, const QString& filename)
{
    const QByteArray bytes = readDesignBytes(filename);
    parseQVX(file, bytes, filename);
}

// ---------------------------------------------------------------------------------------------
// Writing

namespace {

bool pointInside(QPoint p, const QRect& grid)
{
    return p.x() >= 0 && p.y() >= 0 && p.x() <= grid.width() && p.y() <= grid.height();
}

// A grid point (half-cell units) as two i32.
void writePoint(ByteWriter& w, QPoint p)
{
    w.i32(p.x());
    w.i32(p.y());
}

void writeIndexRaster(ByteWriter& w, const QImage& raster, const QRect& area, TColor32 bg,
                      const QHash<TColor32, quint32>& ords)
{
    // A row at a time into one buffer; runs of one colour reuse the last lookup.
    QByteArray row(qsizetype(area.width()) * 4, Qt::Uninitialized);
    TColor32 last = bg;
    quint32 lastIndex = 0xFFFFFFFFu;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const TColor32* in = reinterpret_cast<const TColor32*>(raster.constScanLine(y)) + area.left();
        uchar* out = reinterpret_cast<uchar*>(row.data());
        for (int x = 0; x < area.width(); ++x, out += 4) {
            const TColor32 raw = in[x];
            if (raw != last) {
                last = raw;
                // A cell whose colour is missing from the table is saved empty: no index exists.
                lastIndex = raw == bg ? 0xFFFFFFFFu : ords.value(raw & 0x00FFFFFFu, 0xFFFFFFFFu);
            }
            out[0] = uchar(lastIndex);
            out[1] = uchar(lastIndex >> 8);
            out[2] = uchar(lastIndex >> 16);
            out[3] = uchar(lastIndex >> 24);
        }
        w.raw(row);
    }
}

} // namespace

QByteArray qvxBytes(PatternDocument& doc, const QRect* rectangle)
{
    TStitch& st = doc.stitch();
    const QRect whole(0, 0, doc.width(), doc.height());
    const QRect area = rectangle ? rectangle->intersected(whole) : whole;
    if (area.isEmpty())
        throw QuillError(QStringLiteral("There is nothing to save: the area holds no cells."));
    // Stitch coordinates are in half-cell units: the area's origin and size in those units.
    const QPoint origin(2 * area.left(), 2 * area.top());
    const QRect grid(0, 0, 2 * area.width(), 2 * area.height());

    // Colour indexes in palette order; the file's cell indexes are 16-bit.
    QList<std::pair<ColorKey, TColorInfo*>> entries;
    for (auto& [key, e] : st.Colors)
        entries.append({key, &e});
    if (entries.size() > 32768)
        throw QuillError(QStringLiteral("The design has %1 colours; a design file holds at most 32768."),
                         {QString::number(entries.size())});
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.second->orderID < b.second->orderID;
    });
    QHash<TColor32, quint32> ords; // thread pixel -> index
    for (qsizetype k = 0; k < entries.size(); ++k) {
        entries[k].second->Ord = qint32(k);
        entries[k].second->matchColor = entries[k].first;
        ords.insert(keyToPixel(entries[k].first), quint32(k));
    }

    ByteWriter w;
    w.raw(QByteArrayLiteral("HDSF"));
    const qsizetype outer = w.beginBlock("QVXT", 0);

    const qsizetype head = w.beginBlock("HEAD", 6);
    w.string(st.colorsname(), QStringLiteral("The palette name"));
    w.string(st.chars.CharsName, QStringLiteral("The character-set name"));
    w.string(st.chars.ffontname, QStringLiteral("The font name"));
    w.u16(1);
    w.u16(st.chars.ffontcharset);
    w.u32(quint32(qMax(0, st.usedColors())));
    w.u32(0);
    w.u32(0);
    w.u32(quint32(area.width()));
    w.u32(quint32(area.height()));
    w.string(QString(), QString());
    w.string(QString(), QString());
    w.string(QStringLiteral("Arial"), QString());
    w.u32(16);
    w.u16(0);
    w.u16(1);
    w.string(QStringLiteral("Arial"), QString());
    w.u32(12);
    w.u16(0);
    w.u16(1);
    w.f64(st.len);
    w.f64(st.baseLen);
    w.u32(pixelToKey(st.BackGroundColor));
    w.f64(st.backlen);
    w.endBlock(head);

    const qsizetype chars = w.beginBlock("CHAR", 0);
    w.string(st.chars.fcharacters, QStringLiteral("The symbol string"));
    w.endBlock(chars);

    // The two rasters are most of the file: 4 bytes per cell and per quarter.
    w.reserve(w.size() + 20 * qsizetype(area.width()) * area.height() + 64 * 1024
              + 48 * (doc.DesignBackStitches.size() + doc.DesignFrenchKnots.size()));
    const qsizetype colo = w.beginBlock("COLO", 1);
    w.u32(quint32(entries.size()));
    for (const auto& [key, e] : entries) {
        w.string(e->colorName, QStringLiteral("The name of colour %1").arg(e->colorID));
        w.string(e->colorID, QStringLiteral("The number of colour %1").arg(e->colorName));
        w.u32(key);
        w.i32(e->charID);
    }
    w.endBlock(colo);

    const TColor32 bg = st.BackGroundColor;
    const qsizetype pixd = w.beginBlock("PIXD", 0);
    writeIndexRaster(w, doc.CrossCells, area, bg, ords);
    w.endBlock(pixd);

    QList<TBackStitch> back;
    for (const TBackStitch& b : doc.DesignBackStitches) {
        if (pointInside(b.FromPoint - origin, grid) && pointInside(b.ToPoint - origin, grid))
            back.append(b);
    }
    const qsizetype backBlock = w.beginBlock("BACK", 0);
    w.u32(quint32(back.size()));
    for (const TBackStitch& b : back) {
        writePoint(w, b.FromPoint - origin);
        writePoint(w, b.ToPoint - origin);
        w.u32(b.Color);
    }
    w.endBlock(backBlock);

    const qsizetype quar = w.beginBlock("QUAR", 0);
    writeIndexRaster(w, doc.QuarterCells,
                     QRect(2 * area.left(), 2 * area.top(), 2 * area.width(), 2 * area.height()),
                     bg, ords);
    w.endBlock(quar);

    const qsizetype titl = w.beginBlock("TITL", 0);
    w.string(st.Title, QStringLiteral("The title"));
    w.u32(quint32(st.comment.size()));
    for (qsizetype i = 0; i < st.comment.size(); ++i)
        w.string(st.comment[i], QStringLiteral("Line %1 of the comment").arg(i + 1));
    w.endBlock(titl);

    QList<TFrenchKnot> knots;
    for (const TFrenchKnot& k : doc.DesignFrenchKnots) {
        if (pointInside(k.Center - origin, grid))
            knots.append(k);
    }
    const qsizetype frkn = w.beginBlock("FRKN", 0);
    w.u32(quint32(knots.size()));
    for (const TFrenchKnot& k : knots) {
        writePoint(w, k.Center - origin);
        w.u32(k.Color);
    }
    w.endBlock(frkn);

    QList<const TRhode*> rhodes;
    for (const auto& r : doc.DesignRhodes) {
        const bool inside = std::all_of(r->stitches.begin(), r->stitches.end(), [&](const TBackStitch& s) {
            return pointInside(s.FromPoint - origin, grid) && pointInside(s.ToPoint - origin, grid);
        });
        if (inside)
            rhodes.append(r.get());
    }
    const qsizetype rhodesBlock = w.beginBlock("BACK", 0);
    w.u32(quint32(rhodes.size()));
    for (const TRhode* r : rhodes) {
        w.i32(r->width);
        w.i32(r->height);
        w.u32(r->color);
        w.u32(quint32(r->stitches.size()));
        for (const TBackStitch& s : r->stitches) {
            writePoint(w, s.FromPoint - origin);
            writePoint(w, s.ToPoint - origin);
        }
    }
    w.endBlock(rhodesBlock);

    w.endBlock(outer); // the file size minus the 4 magic bytes
    return w.data();
}

namespace {

// True when every pixel of a 32-bit picture with alpha is opaque.
bool allOpaque(const QImage& picture)
{
    if (picture.format() != QImage::Format_ARGB32)
        return false;
    for (int y = 0; y < picture.height(); ++y) {
        const quint32* row = reinterpret_cast<const quint32*>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x)
            if ((row[x] >> 24) != 0xFFu)
                return false;
    }
    return true;
}

} // namespace

QByteArray encodeGhostPicture(const QImage& picture)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // An opaque picture (every converted photo) is written without its alpha channel: a
    // quarter less to compress. The view shares the pixels; it reads back as the same colours.
    const QImage opaque = allOpaque(picture)
        ? QImage(picture.constBits(), picture.width(), picture.height(), picture.bytesPerLine(),
                 QImage::Format_RGB32)
        : QImage();
    // Qt's PNG writer takes the zlib level from the quality: (100 - quality) x 9 / 91, so 80
    // is level 1.
    constexpr int kFastestLevelQuality = 80;
    if (!(opaque.isNull() ? picture : opaque).save(&buffer, "PNG", kFastestLevelQuality))
        throw QuillError(QStringLiteral("Cannot encode the ghost picture as PNG."));
    return png;
}

void SaveQVX(PatternDocument& doc, const QString& filename, const GhostPicture* ghost,
             const QByteArray& ghostPng)
{
    QList<std::pair<QString, QByteArray>> files{{filename, qvxBytes(doc)}};
    if (ghost && ghost->isLoaded())
        files.append({ghostPictureFileName(filename), ghostPng.isEmpty() ? encodeGhostPicture(ghost->ghostPicture) : ghostPng});
    writeFilesSafely(files, QStringLiteral("design file"));
}

void SaveQVX(PatternDocument& doc, const QString& filename, const QRect& rectangle)
{
    writeFileSafely(filename, qvxBytes(doc, &rectangle), QStringLiteral("design file"));
}
