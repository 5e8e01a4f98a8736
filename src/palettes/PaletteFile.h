#pragma once
// Palette files (".ctb"): 8-bit text, line 1 ";$N" + name, line 2 ";$V" + version (optional),
// then one colour per line with five (ID, R, G, B, S) or six (Name, ID, R, G, B, S) fields.
// loadPalettes/loadPaletteFile fill the palette catalogue at start-up; loadpalette/savePalette
// are the palette editor's reader and writer.

#include "core/StitchTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

class TStitch;

// Replaces stitch.ColorPalettes with the palettes of every "*.ctb" file in stitch.PalettesPath,
// read in file-name order. A file that cannot be read is skipped and its message appended to
// `errors`; the other files still load. A missing folder gives an empty catalogue.
void loadPalettes(TStitch& stitch, QStringList* errors = nullptr);

// Reads one palette file into stitch.ColorPalettes under "Name" or "Name vVersion". A file whose
// catalogue name is already present is ignored (the first one read wins). Throws QuillError
// (naming the file and line) when the file cannot be read or a colour line has a field that is
// not a whole number; the catalogue is then left unchanged.
void loadPaletteFile(TStitch& stitch, const QString& path);

// A palette file as the editor sees it: the header and every colour line in file order.
// `colors` keeps duplicate colour keys; each entry's colour is its matchColor.
struct PaletteFileData
{
    QString name;
    // Empty when the file has no ";$V" line; savePalette then writes none either, so that the
    // palette keeps its catalogue name (the bare name) when it is saved again.
    QString version;
    QList<TColorInfo> colors;

    bool operator==(const PaletteFileData&) const = default;
};

// The catalogue name of a palette: the name, plus " v" and the version when it has a version.
QString paletteCatalogueName(const QString& name, const QString& version, bool hasVersion);

// The editor's reader: every colour line of five or six fields, duplicates included, with
// orderID = its position among the colour lines. Throws QuillError as loadPaletteFile does.
PaletteFileData loadpalette(const QString& path);

// The editor's writer: Windows-1252 text with CR LF line ends, written through a safe save
// (a failed write leaves the old file as it was). Throws QuillError on failure, also for a
// name, version or field that holds a line break (it could not be read back).
void savePalette(const QString& path, const PaletteFileData& data);
// The bytes savePalette writes.
QByteArray paletteFileBytes(const PaletteFileData& data);
