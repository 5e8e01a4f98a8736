#pragma once
// The Rhodes catalogue file "rhodes.xml": reading it into definitions (each checked, a bad
// one refused by name while the others are kept), writing it safely, and the start-up load
// that falls back on the definitions shipped inside the program when the file is damaged.

#include "core/StitchTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class TStitch;

namespace RhodesFile {

// Largest width and height of a definition, in cells.
constexpr int kMaxCells = 20;
// File name in the Rhodes folder.
QString fileName();

// Parses a catalogue document. A document that is not well-formed XML throws QuillError with
// its line and column; a definition with a missing or wrong attribute, a size outside
// 1..kMaxCells or a stitch end point outside its grid is left out and described in `refused`
// (naming it). Messages go through `st.translate`.
TRhodeList parse(const QByteArray& xml, const QString& shownPath, TStitch& st,
                 QStringList* refused);

// The document of a catalogue: version 1.0, UTF-8, indented.
QByteArray serialize(const TRhodeList& catalogue);

// The definitions that ship inside the program (original, read-only).
TRhodeList shipped(TStitch& st);

// Start-up: reads "rhodes.xml" of st.RhodesPath into st.RhodeCatalogue. A missing file gives
// an empty catalogue. A file that is not well-formed leaves the shipped definitions in the
// catalogue. Returns the problems to show (empty when there were none).
QStringList loadRhodes(TStitch& st);

// Writes st.RhodeCatalogue to "rhodes.xml" of st.RhodesPath through a safe save. When the
// file read at start-up had problems, it is first kept as "rhodes.xml.bak", so definitions
// that were refused can still be mended by hand. Throws QuillError when writing fails.
void saveRhodes(TStitch& st);

} // namespace RhodesFile
