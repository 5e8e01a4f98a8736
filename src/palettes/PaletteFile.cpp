#include "PaletteFile.h"

#include "FieldSplit.h"
#include "core/QuillError.h"
#include "core/TStitch.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

const QLatin1String kNameTag(";$N");
const QLatin1String kVersionTag(";$V");
// Colour lines start at the third line of the file.
constexpr int kFirstColorLine = 2;

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

QStringList readPaletteLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw QuillError(QStringLiteral("Cannot read the palette file \"%1\": %2"),
                         {shownPath(path), QuillError::translatable(file.errorString())});
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw QuillError(QStringLiteral("Cannot read the palette file \"%1\": %2"),
                         {shownPath(path), QuillError::translatable(file.errorString())});
    if (bytes.isEmpty())
        throw QuillError(QStringLiteral("The palette file \"%1\" is empty."),
                         {shownPath(path)});
    return splitDataLines(decodeDataText(bytes));
}

struct PaletteHeader
{
    QString name;
    QString version;
    bool hasVersion = false;
};

// Line 1 loses its first three characters (";$N"), whatever they are; line 2 gives the version
// only when it holds ";$V" somewhere. Neither line is ever a colour line.
PaletteHeader readHeader(const QStringList& lines)
{
    PaletteHeader h;
    h.name = lines.value(0).mid(3);
    const QString second = lines.value(1);
    if (second.contains(kVersionTag)) {
        h.version = second.mid(3);
        h.hasVersion = true;
    }
    return h;
}

// A signed 32-bit decimal number: an optional sign and ASCII digits, nothing else.
bool parseInt32(const QString& text, qint32& out)
{
    const qsizetype start = (text.startsWith(u'+') || text.startsWith(u'-')) ? 1 : 0;
    if (text.size() == start)
        return false;
    for (qsizetype i = start; i < text.size(); ++i) {
        if (text[i] < u'0' || text[i] > u'9')
            return false;
    }
    bool ok = false;
    out = text.toInt(&ok, 10);
    return ok;
}

qint32 numberField(const QString& text, const char* what, const QString& path, int lineNo)
{
    qint32 v = 0;
    if (!parseInt32(text, v))
        throw QuillError(QStringLiteral("Palette file \"%1\", line %2: the %3 value \"%4\" is not "
                                        "a whole number between -2147483648 and 2147483647."),
                         {shownPath(path), QString::number(lineNo), QuillError::translatable(QLatin1String(what)), text});
    return v;
}

// Splits colour line `lineIndex` (0-based line of the file). Returns false for a line of another
// field count than five or six, which is skipped; throws for a number field that is no number.
bool parseColorLine(const QString& line, int lineIndex, const QString& path, TColorInfo& out)
{
    const QStringList f = splitDelimitedFields(line);
    if (f.size() != 5 && f.size() != 6)
        return false;
    const int o = f.size() == 6 ? 1 : 0;
    const int lineNo = lineIndex + 1;
    const qint32 r = numberField(f[o + 1], "red", path, lineNo);
    const qint32 g = numberField(f[o + 2], "green", path, lineNo);
    const qint32 b = numberField(f[o + 3], "blue", path, lineNo);
    const qint32 s = numberField(f[o + 4], "symbol", path, lineNo);
    out = TColorInfo();
    out.colorID = f[o];
    out.colorName = o == 1 ? f[0] : f[o];
    // Only the low eight bits of each component count: 256 reads as 0, -1 as 255.
    out.matchColor = makeColorKey(quint32(r), quint32(g), quint32(b));
    out.charID = s;
    out.orderID = lineIndex - kFirstColorLine;
    return true;
}

bool fileNameLess(const QString& a, const QString& b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

// A text that a palette line can hold: no line break (it would split the line) and no NUL (it
// ends a line for the readers), and only characters of Windows-1252.
void checkWritable(const QString& text, const char* what)
{
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            throw QuillError(QStringLiteral("The %1 \"%2\" holds a line break or a NUL character "
                                            "and cannot be written to a palette file."),
                         {QuillError::translatable(QLatin1String(what)), QString(text).replace(c, u' ')});
    }
    if (decodeCp1252(encodeCp1252(text)) != text)
        throw QuillError(QStringLiteral("The %1 \"%2\" holds characters that a palette file "
                                        "(Windows-1252) cannot store."),
                         {QuillError::translatable(QLatin1String(what)), text});
}

} // namespace

QString paletteCatalogueName(const QString& name, const QString& version, bool hasVersion)
{
    return hasVersion ? name + QLatin1String(" v") + version : name;
}

void loadPalettes(TStitch& stitch, QStringList* errors)
{
    stitch.ColorPalettes = PaletteCatalogue();
    const QDir dir(stitch.PalettesPath);
    if (stitch.PalettesPath.isEmpty() || !dir.exists())
        return;
    QStringList names = dir.entryList({QStringLiteral("*.ctb")}, QDir::Files);
    std::sort(names.begin(), names.end(), fileNameLess);
    for (const QString& name : names) {
        try {
            loadPaletteFile(stitch, dir.filePath(name));
        } catch (const QuillError& e) {
            if (errors)
                errors->append(e.translated(stitch));
        }
    }
}

void loadPaletteFile(TStitch& stitch, const QString& path)
{
    const QStringList lines = readPaletteLines(path);
    const PaletteHeader header = readHeader(lines);
    const QString catalogueName = paletteCatalogueName(header.name, header.version, header.hasVersion);
    if (stitch.ColorPalettes.contains(catalogueName))
        return;

    ColorTable palette;
    for (int i = kFirstColorLine; i < lines.size(); ++i) {
        TColorInfo info;
        if (!parseColorLine(lines[i], i, path, info))
            continue;
        // Within one palette a colour key occurs once: the first line with it stays.
        if (!palette.contains(info.matchColor))
            palette.insert(info.matchColor, info);
    }
    stitch.ColorPalettes.insert(catalogueName, std::move(palette));
}

PaletteFileData loadpalette(const QString& path)
{
    const QStringList lines = readPaletteLines(path);
    const PaletteHeader header = readHeader(lines);
    PaletteFileData data;
    data.name = header.name;
    data.version = header.version;
    for (int i = kFirstColorLine; i < lines.size(); ++i) {
        TColorInfo info;
        if (parseColorLine(lines[i], i, path, info))
            data.colors.append(info);
    }
    return data;
}

QByteArray paletteFileBytes(const PaletteFileData& data)
{
    checkWritable(data.name, "palette name");
    checkWritable(data.version, "palette version");
    const QLatin1String sep(", ");
    QString text;
    text += kNameTag + data.name + QLatin1String("\r\n");
    // Without a version the second line stays empty, so the catalogue name remains the bare name.
    if (!data.version.isEmpty())
        text += kVersionTag + data.version;
    text += QLatin1String("\r\n");
    for (const TColorInfo& c : data.colors) {
        checkWritable(c.colorName, "colour name");
        checkWritable(c.colorID, "colour number");
        QString line;
        // The name is always quoted and the number when it needs it, with inner quotes doubled,
        // so that names with quotes and numbers with blanks or commas read back unchanged.
        if (c.colorName != c.colorID)
            line += QLatin1Char('"') + QString(c.colorName).replace(u'"', QLatin1String("\"\""))
                    + QLatin1Char('"') + sep;
        line += quoteField(c.colorID) + sep + QString::number(kRedOf(c.matchColor)) + sep
                + QString::number(kGreenOf(c.matchColor)) + sep
                + QString::number(kBlueOf(c.matchColor)) + sep + QString::number(c.charID);
        text += line + QLatin1String("\r\n");
    }
    return encodeCp1252(text);
}

void savePalette(const QString& path, const PaletteFileData& data)
{
    const QByteArray bytes = paletteFileBytes(data);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw QuillError(QStringLiteral("Cannot write the palette file \"%1\": %2"),
                         {shownPath(path), QuillError::translatable(file.errorString())});
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw QuillError(QStringLiteral("Cannot write the palette file \"%1\": %2"),
                         {shownPath(path), QuillError::translatable(file.errorString())});
}
