#pragma once
// Character-set files (".chr"): 8-bit text, line 1 the set's name, line 2 its description,
// line 3 the font ("Name,Style,Charset"), then one decimal character code per line.
// loadCharacterSets/loadCharacterSetFile fill the character-set catalogue at start-up;
// saveCharacterSetFile is the characters editor's writer.

#include "core/StitchTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class TStitch;

// Replaces stitch.characters with the sets of every "*.chr" file in stitch.CharactersPath, read
// in file-name order (ordinal, the same on every platform). A file that cannot be read is
// skipped and its message appended to `errors`; the other files still load. A missing folder
// or one without such files gives an empty catalogue.
void loadCharacterSets(TStitch& stitch, QStringList* errors = nullptr);

// Reads one file into stitch.characters. A name already in the catalogue becomes
// "Name (k)" with the smallest free k >= 1. Throws QuillError (naming the file and the line)
// when the file cannot be read, is empty, or has a character line that is not a code from 0
// to 65535; the catalogue is then left unchanged.
void loadCharacterSetFile(TStitch& stitch, const QString& path);

// The character a code of a character-set file stands for: codes 128 to 159 are the
// Windows-1252 characters of those bytes, every other code is that UTF-16 code unit.
QChar characterSetChar(int code);

// The bytes saveCharacterSetFile writes: Windows-1252, CR LF line ends; line 3 is the font
// name followed by ",,53" as the characters editor writes it (a font name holding blanks,
// commas or quotes is quoted so that it reads back whole); each character is written as its
// UTF-16 code. Throws QuillError when the name, description or font name holds a line break,
// a NUL or a character outside Windows-1252 (it could not be read back).
QByteArray characterSetFileBytes(const TCharacterInfo& info);

// Writes a character-set file through a safe save (a failed write leaves the old file as it
// was). Throws QuillError on failure.
void saveCharacterSetFile(const QString& path, const TCharacterInfo& info);
