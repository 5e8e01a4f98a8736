#include "LanguageFile.h"

#include "core/QuillError.h"
#include "core/SettingsStore.h"
#include "core/TStitch.h"
#include "core/TextCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

namespace LanguageFile {

namespace {

// Windows-1252 without the five bytes it leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D):
// the shared decoder turns those into C1 control codes, which no language file holds.
QString decodeStrictCp1252(const QByteArray& bytes, bool* ok)
{
    QString out = decodeCp1252(bytes);
    for (const QChar c : out) {
        if (c.unicode() >= 0x80 && c.unicode() <= 0x9F) {
            *ok = false;
            return {};
        }
    }
    return out;
}

QString decodeWith(QStringConverter::Encoding encoding, const QByteArray& bytes, bool* ok)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    QString out = decoder.decode(bytes);
    // A broken sequence, or a UTF-16 text cut in the middle of a character.
    if (decoder.hasError() || out.contains(QChar::ReplacementCharacter)) {
        *ok = false;
        return {};
    }
    return out;
}

} // namespace

QString decode(const QByteArray& bytes, bool* ok)
{
    *ok = true;
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = decodeWith(QStringConverter::Utf8, bytes.mid(3), ok);
    else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        const QByteArray body = bytes.mid(2);
        if (body.size() % 2 != 0) {
            *ok = false;
            return {};
        }
        text = decodeWith(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE, body, ok);
    } else
        text = decodeStrictCp1252(bytes, ok);
    // A NUL character, or half of a UTF-16 surrogate pair without its other half.
    for (qsizetype i = 0; *ok && i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isNull())
            *ok = false;
        else if (c.isHighSurrogate()) {
            if (i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
                ++i;
            else
                *ok = false;
        } else if (c.isLowSurrogate())
            *ok = false;
    }
    return *ok ? text : QString();
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines << text.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QStringList read(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.exists())
        throw QuillError(QStringLiteral("The language file %1 does not exist."), {shown});
    if (!file.open(QIODevice::ReadOnly))
        throw QuillError(QStringLiteral("The language file %1 cannot be read: %2"),
                         {shown, QuillError::translatable(file.errorString())});
    // A language file is a few hundred short lines; anything far larger is not one.
    constexpr qint64 kMaxSize = 8 * 1024 * 1024;
    if (file.size() > kMaxSize)
        throw QuillError(QStringLiteral("The language file %1 is too large to be a language file."),
                         {shown});
    const QByteArray bytes = file.readAll();
    bool ok = false;
    const QString text = decode(bytes, &ok);
    if (!ok)
        throw QuillError(QStringLiteral("The language file %1 is not valid text in its encoding "
                                        "(UTF-8 or UTF-16 with a byte-order mark, otherwise Windows-1252)."),
                         {shown});
    return splitLines(text);
}

QString fileNameOf(const QString& name)
{
    return QFileInfo(name).suffix().isEmpty() ? name + QStringLiteral(".lang") : name;
}

QList<std::pair<QString, QString>> pairLines(const QStringList& keys, const QStringList& translations)
{
    QList<std::pair<QString, QString>> out;
    out.reserve(keys.size());
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const QString& key = keys.at(i);
        if (key.isEmpty())
            continue;
        const QString t = i < translations.size() ? translations.at(i) : QString();
        out.append({key, t.isEmpty() ? key : t});
    }
    return out;
}

} // namespace LanguageFile

void selectLanguage(TStitch& stitch, SettingsStore& store, const QString& name)
{
    const QString fileName = LanguageFile::fileNameOf(QFileInfo(name).fileName());
    const QStringList translations = LanguageFile::read(stitch.LanguagesPath + fileName);
    const QStringList keys = fileName == QLatin1String(LanguageFile::kKeyFile)
        ? translations
        : LanguageFile::read(stitch.LanguagesPath + QLatin1String(LanguageFile::kKeyFile));

    stitch.Language.clear();
    for (const auto& [key, text] : LanguageFile::pairLines(keys, translations))
        stitch.Language.insert(key, text);
    stitch.DefaultLanguage = fileName;
    store.writeString(QStringLiteral("DefaultLanguage"), fileName);
    store.sync();
}

QStringList languageNamesIn(const QString& folder)
{
    QStringList names;
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.lang")}, QDir::Files, QDir::Name);
    for (const QString& f : files)
        names << QFileInfo(f).completeBaseName();
    const QString english = QFileInfo(QLatin1String(LanguageFile::kKeyFile)).completeBaseName();
    if (names.removeOne(english))
        names.prepend(english);
    return names;
}

QList<LanguageEntry> ReadLanguages(const TStitch& stitch)
{
    QList<LanguageEntry> out;
    const QStringList files
        = QDir(stitch.LanguagesPath).entryList({QStringLiteral("*.lang")}, QDir::Files, QDir::Name);
    for (const QString& f : files) {
        const QString caption = QFileInfo(f).completeBaseName();
        if (stitch.InstalledLanguages.contains(caption, Qt::CaseInsensitive))
            out.append({caption, f});
    }
    return out;
}
