#include "CharacterSetFile.h"

#include "FieldSplit.h"
#include "core/QuillError.h"
#include "core/TStitch.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace {

// Line 3 of every file the characters editor writes: the font, no style, character set 53.
const QLatin1String kFontLineTail(",,53");
// Character lines start at the fourth line of the file.
constexpr int kFirstCharacterLine = 3;

QString shownPath(const QString& path) { return QDir::toNativeSeparators(path); }

QStringList readCharacterSetLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw QuillError(QStringLiteral("Cannot read the character set file \"%1\": %2"),
                         {shownPath(path), QuillError::translatable(file.errorString())});
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw QuillError(QStringLiteral("Cannot read the character set file \"%1\": %2"),
                         {shownPath(path), QuillError::translatable(file.errorString())});
    if (bytes.isEmpty())
        throw QuillError(QStringLiteral("The character set file \"%1\" is empty."),
                         {shownPath(path)});
    return splitDataLines(decodeDataText(bytes));
}

qint32 integerOr0(const QStringList& fields, int index)
{
    bool ok = false;
    const int v = index < fields.size() ? fields.at(index).trimmed().toInt(&ok) : 0;
    return ok ? v : 0;
}

// A text that a line of the file can hold: no line break (it would split the line), no NUL,
// and only characters of Windows-1252.
void checkWritable(const QString& text, const char* what)
{
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            throw QuillError(QStringLiteral("The %1 \"%2\" holds a line break or a NUL character "
                                            "and cannot be written to a character set file."),
                         {QuillError::translatable(QLatin1String(what)), QString(text).replace(c, u' ')});
    }
    if (decodeCp1252(encodeCp1252(text)) != text)
        throw QuillError(QStringLiteral("The %1 \"%2\" holds characters that a character set "
                                        "file (Windows-1252) cannot store."),
                         {QuillError::translatable(QLatin1String(what)), text});
}

} // namespace

QChar characterSetChar(int code)
{
    if (code >= 128 && code <= 159)
        return cp1252Char(quint8(code));
    return QChar(char16_t(code));
}

void loadCharacterSetFile(TStitch& stitch, const QString& path)
{
    const QStringList lines = readCharacterSetLines(path);
    TCharacterInfo info;
    info.fileName = path;
    info.Name = lines.value(0);
    info.altName = lines.value(1);
    const QStringList font = splitDelimitedFields(lines.value(2));
    info.fontName = font.value(0);
    info.fontStyle = integerOr0(font, 1);
    info.fontCharset = integerOr0(font, 2);

    for (int i = kFirstCharacterLine; i < lines.size(); ++i) {
        bool ok = false;
        const int code = lines.at(i).trimmed().toInt(&ok);
        if (!ok || code < 0 || code > 0xFFFF)
            throw QuillError(QStringLiteral("Character set file \"%1\", line %2: \"%3\" is not a "
                                            "character code (a whole number from 0 to 65535)."),
                         {shownPath(path), QString::number(i + 1), lines.at(i)});
        info.characters.append(characterSetChar(code));
    }

    if (stitch.characters.contains(info.Name)) {
        const QString base = info.Name;
        for (int k = 1;; ++k) {
            const QString candidate = base + QStringLiteral(" (") + QString::number(k) + u')';
            if (!stitch.characters.contains(candidate)) {
                info.Name = candidate;
                break;
            }
        }
    }
    const QString key = info.Name;
    stitch.characters.insert(key, std::move(info));
}

void loadCharacterSets(TStitch& stitch, QStringList* errors)
{
    stitch.characters = CharacterCatalogue();
    if (stitch.CharactersPath.isEmpty())
        return;
    const QDir dir(stitch.CharactersPath);
    QStringList names = dir.entryList({QStringLiteral("*.chr")}, QDir::Files,
                                      QDir::NoSort);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseSensitive) < 0;
    });
    for (const QString& name : names) {
        try {
            loadCharacterSetFile(stitch, dir.filePath(name));
        } catch (const QuillError& e) {
            if (errors)
                errors->append(e.translated(stitch));
        }
    }
}

QByteArray characterSetFileBytes(const TCharacterInfo& info)
{
    checkWritable(info.Name, "name");
    checkWritable(info.altName, "description");
    checkWritable(info.fontName, "font name");
    const QLatin1String crlf("\r\n");
    QString text;
    text += info.Name + crlf;
    text += info.altName + crlf;
    text += (info.fontName.isEmpty() ? QString() : quoteField(info.fontName)) + kFontLineTail + crlf;
    for (QChar c : info.characters)
        text += QString::number(c.unicode()) + crlf;
    return encodeCp1252(text);
}

void saveCharacterSetFile(const QString& path, const TCharacterInfo& info)
{
    const QByteArray bytes = characterSetFileBytes(info);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw QuillError(QStringLiteral("Cannot write the character set file \"%1\": %2"),
                         {shownPath(path), QuillError::translatable(file.errorString())});
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw QuillError(QStringLiteral("Cannot write the character set file \"%1\": %2"),
                         {shownPath(path), QuillError::translatable(file.errorString())});
}
