#pragma once
// Making a read design file the open design. The file object has been read and checked in
// full before any of these runs, so a file that fails to read never touches the design; the
// rasters are allocated before the old design is dropped. Each replaces the design as a
// whole: colour table, glyph cache, rasters, stitch lists, title, comment, thread lengths and
// background, then recounts, and marks the design opened from `filename` (with the native
// extension, so that a later save writes a native file beside it).

#include "QvxFile.h"
#include "StvFile.h"

class PatternDocument;

// Fonts of the older products that are this product's symbol font.
bool isLegacySymbolFontName(const QString& fontName);
// True when `fontName` is a registered symbol font or an installed font family.
bool symbolFontAvailable(const QString& fontName);

void applyQVX(PatternDocument& doc, const TQVXFile& file, const QString& filename);
void applySTV(PatternDocument& doc, const TSTVFile& file, const QString& filename);

// Reads a native design file and makes it the design (ReadQVX, then applyQVX).
void LoadQVX(PatternDocument& doc, const QString& filename);
// Reads a text design file and makes it the design (readSTVFile, then applySTV).
void ReadSTV(PatternDocument& doc, const QString& filename);
