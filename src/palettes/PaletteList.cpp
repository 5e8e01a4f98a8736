#include "PaletteList.h"

#include "PaletteFile.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace {

const QLatin1String kVersionTag(";$V");
const QLatin1String kExtension(".ctb");

// The catalogue reads the folder in file-name order (case ignored, exact order breaking ties);
// the list shows the files in the same order.
bool fileNameLess(const QString& a, const QString& b)
{
    const int c = QString::compare(a, b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : QString::compare(a, b, Qt::CaseSensitive) < 0;
}

// Reads at most the first two lines of a file as text.
bool readHeaderLines(const QString& path, QString& first, QString& second)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readLine();
    bytes += file.readLine();
    if (file.error() != QFileDevice::NoError)
        return false;
    const QStringList lines = splitDataLines(decodeDataText(bytes));
    first = lines.value(0);
    second = lines.value(1);
    return true;
}

} // namespace

QString PaletteFileRow::catalogueName() const
{
    return paletteCatalogueName(paletteName, version, hasVersion);
}

namespace PaletteList {

QList<PaletteFileRow> readPalettes(const QString& folder)
{
    QList<PaletteFileRow> rows;
    const QDir dir(folder);
    if (folder.isEmpty() || !dir.exists())
        return rows;
    QStringList names = dir.entryList({QStringLiteral("*.ctb")}, QDir::Files);
    std::sort(names.begin(), names.end(), fileNameLess);
    for (const QString& name : names) {
        QString first, second;
        if (!readHeaderLines(dir.filePath(name), first, second))
            continue;
        PaletteFileRow row;
        row.fileName = name;
        row.paletteName = first.mid(3);
        row.hasVersion = second.contains(kVersionTag);
        row.version = row.hasVersion ? second.mid(3) : second;
        rows.append(row);
    }
    return rows;
}

int rowOfPalette(const QList<PaletteFileRow>& rows, const QString& colorsName)
{
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].catalogueName() == colorsName)
            return i;
    }
    return -1;
}

QString withPaletteExtension(const QString& fileName)
{
    const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot <= slash)
        return fileName + kExtension;
    if (fileName.mid(dot).toLower() == kExtension)
        return fileName;
    return fileName.left(dot) + kExtension;
}

Qt::CaseSensitivity fileNameCase()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool paletteVersionExists(const QList<PaletteFileRow>& rows, const QString& fileName,
                          const QString& name, const QString& version,
                          Qt::CaseSensitivity fileCase)
{
    for (const PaletteFileRow& row : rows) {
        if (QString::compare(row.fileName, fileName, fileCase) != 0 && row.paletteName == name
            && row.version == version)
            return true;
    }
    return false;
}

bool isPlainFileName(const QString& fileName)
{
    if (fileName.contains(u'/') || fileName.contains(u'\\') || fileName.contains(QChar(0)))
        return false;
    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QString base = dot < 0 ? fileName : fileName.left(dot);
    return !base.trimmed().isEmpty() && base != QLatin1String(".");
}

OkStep okStep(const QList<PaletteFileRow>& rows, const QString& folder, const QString& fileName,
              const QString& name, const QString& version, bool overrideConfirmed,
              Qt::CaseSensitivity fileCase)
{
    if (!isPlainFileName(fileName))
        return OkStep::InvalidName;
    if (!overrideConfirmed && QFile::exists(QDir(folder).filePath(fileName)))
        return OkStep::AskOverride;
    if (paletteVersionExists(rows, fileName, name, version, fileCase))
        return OkStep::RefuseDuplicate;
    return OkStep::Accept;
}

} // namespace PaletteList
