#pragma once
// The logic of the palette list dialog: the rows it lists (one per palette file of the palette
// folder, from the first two lines of each file), the file-name rule of its "Filename :" field,
// the duplicate test and the checks that its OK button runs in save mode.

#include <QList>
#include <QString>

enum TViewMode { vmView, vmAllowChange };

// One row of the list: the file name without folder, line 1 without its first three characters,
// and line 2 without its first three characters when it holds ";$V" (the whole line otherwise).
struct PaletteFileRow
{
    QString fileName;
    QString paletteName;
    QString version;
    bool hasVersion = false; // line 2 holds ";$V"

    // The name under which the palette catalogue holds this file's palette.
    QString catalogueName() const;
    bool operator==(const PaletteFileRow&) const = default;
};

namespace PaletteList {

// The palette files ("*.ctb") of `folder` in the order the catalogue reads them; only the first
// two lines of each file are read. A missing folder gives no rows; a file that cannot be read
// is left out.
QList<PaletteFileRow> readPalettes(const QString& folder);

// The row whose palette is the catalogue palette `colorsName`, or -1.
int rowOfPalette(const QList<PaletteFileRow>& rows, const QString& colorsName);

// The file-name rule applied when the "Filename :" field is left: unless the extension is
// ".ctb" in any case, it becomes ".ctb" (appended to a name without extension, otherwise
// replacing the part from the last dot on).
QString withPaletteExtension(const QString& fileName);

// How the folder compares file names: exactly on Linux and other case-sensitive systems,
// without regard to case on Windows and macOS.
Qt::CaseSensitivity fileNameCase();

// True when a row of another file than `fileName` holds the palette `name` of `version` (name
// and version compared exactly). Whether a row is the same file follows `fileCase`.
bool paletteVersionExists(const QList<PaletteFileRow>& rows, const QString& fileName,
                          const QString& name, const QString& version,
                          Qt::CaseSensitivity fileCase = fileNameCase());

// A file name that names a file inside the palette folder: not empty before its extension and
// without folder separators.
bool isPlainFileName(const QString& fileName);

// What the OK button does with the entered values in save mode.
enum class OkStep {
    Accept,          // the dialog closes with OK
    InvalidName,     // the file name is empty or names another folder: refused
    AskOverride,     // the file exists: ask before going on
    RefuseDuplicate, // another file has this name and version: refused
};

// The first check that applies, in the order the OK button runs them. With `overrideConfirmed`
// the file-exists question counts as answered with OK.
OkStep okStep(const QList<PaletteFileRow>& rows, const QString& folder, const QString& fileName,
              const QString& name, const QString& version, bool overrideConfirmed,
              Qt::CaseSensitivity fileCase = fileNameCase());

// The untranslated texts of the dialog's messages.
inline const char* const kMessageFileAlreadyExists = "File already exists. Override it?";
inline const char* const kMessagePaletteWithSameVersion =
    "Palette with same version already exists. Can not save.";
inline const char* const kMessageInvalidFileName = "Invalid file name.";

} // namespace PaletteList
