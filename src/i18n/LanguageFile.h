#pragma once
// Language files: line-aligned text files in the languages folder, "english.lang" holding the
// keys and every other file the translations at the same line numbers. A byte-order mark
// selects UTF-8 or UTF-16; without one the text is Windows-1252.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class SettingsStore;
class TStitch;

namespace LanguageFile {

// The file of the keys.
inline constexpr const char* kKeyFile = "english.lang";

// The text of a language file's bytes; false in `ok` (and an empty result) when the bytes are
// not valid text in the encoding they announce (a broken UTF-8 sequence, a byte that
// Windows-1252 leaves undefined, a NUL character, an odd UTF-16 length or a lone surrogate).
QString decode(const QByteArray& bytes, bool* ok);

// The lines of a text: CR LF, LF and CR end lines; a line end at the very end adds no line.
QStringList splitLines(const QString& text);

// The lines of the language file at `path`. Throws QuillError naming the file when it cannot
// be read or is not valid text.
QStringList read(const QString& path);

// `name` with ".lang" appended when it has no extension ("deutsch" -> "deutsch.lang").
QString fileNameOf(const QString& name);

// The table of a language: key line i -> translation line i, the key itself where the
// translation file has fewer lines or an empty line; a later duplicate key replaces an
// earlier one.
QList<std::pair<QString, QString>> pairLines(const QStringList& keys, const QStringList& translations);

} // namespace LanguageFile

// Loads the language file `name` (with or without ".lang") from the languages folder: the
// translation table is replaced, `DefaultLanguage` becomes the file's name and the setting
// "DefaultLanguage" is written. Both files are read before anything changes: when either
// cannot be read the QuillError leaves the table, the language and the setting as they were.
void selectLanguage(TStitch& stitch, SettingsStore& store, const QString& name);

// One entry of the Languages menu.
struct LanguageEntry
{
    QString caption;  // the file name without its extension
    QString fileName; // the file name with its extension
};

// The languages to offer: every "*.lang" of the languages folder whose name without its
// extension is among the installed languages, in file-name order.
QList<LanguageEntry> ReadLanguages(const TStitch& stitch);

// The names (without extension) of every language file in `folder`, in file-name order,
// "english" first.
QStringList languageNamesIn(const QString& folder);
