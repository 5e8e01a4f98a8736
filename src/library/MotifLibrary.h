#pragma once
// The motif library: a folder of small designs in the native design file. Listing the folder,
// reading a motif into what the browser shows (preview, details) and what "Load" needs,
// turning it into the clipboard of a floating block in the open design's colours, saving a
// part of the design as a motif, deleting one. No widget: the dialogs are thin views over it.

#include "core/StitchTypes.h"
#include "editing/Clipboard.h"

#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>

class PatternDocument;
class TStitch;

namespace MotifLibrary {

// A motif's file name: the extension exactly ".qvx" or ".qvxp" (case-sensitive).
bool isMotifFileName(const QString& name);

// The motifs directly in `folder` (files only, subfolders ignored), by file name. A folder
// that does not exist has none.
QStringList listMotifs(const QString& folder);

// `folder` (without a trailing separator) joined with `fileName`.
QString motifPath(const QString& folder, const QString& fileName);

// A motif as read: what the browser shows and what "Load" takes.
struct TMotif
{
    QString fileName;
    QString path;
    int width = 0;
    int height = 0;
    QString paletteName;
    // As the details show them: the title stored with the motif (or the file name), and its
    // description (or the file's full path).
    QString name;
    QString description;
    // 2W x 2H: two by two pixels per cell, one per quarter, back stitches one pixel wide;
    // pixels nothing painted are transparent.
    QImage preview;
    // The motif's cells (W x H) and quarters (2W x 2H): its background value for an empty
    // point, the thread pixel of the colour otherwise.
    QImage selectedbitmap;
    QImage selectedQBitmap;
    QList<TBackStitch> selectedBackStitches;
    // Every colour of the motif's cells, quarters and back stitches, in the order first met.
    QList<ColorKey> colors;
    TColor32 backGroundColor = 0;
};

// Reads `fileName` of `folder` through the native design reader. Throws QuillError (the
// reader's error, naming the file) when it cannot be read.
TMotif readMotif(const QString& folder, const QString& fileName);

// The motif was made with another palette than the open design's (exact comparison).
bool needsConversion(const TMotif& motif, const TStitch& stitch);

// The floating block's clipboard of a motif for the open design: empty points take the
// design's background value; with `convert` every colour (of cells, quarters and back
// stitches) becomes its nearest colour of the design's whole colour table.
TClipboard motifClipboard(const TMotif& motif, const TStitch& stitch, bool convert);

// --- adding ---

// The area "Add to library" saves: the selection clipped to the design when there is one,
// else the whole design.
QRect addRectangle(const PatternDocument& doc, const QRect* selection);

// The preview of the area to save: 2w x 2h pixels in the design's background colour, the
// rectangle's cells two by two, its quarters one by one, and the back stitches lying wholly
// in it one pixel wide.
QImage selectionPreview(const PatternDocument& doc, const QRect& rectangle);

// The name part of the file-name field: after its last path separator.
QString fileNamePart(const QString& field);
// "Save" is possible: the name part is not empty and holds none of  " * / : < > ? \ |
bool fileNameAllowed(const QString& field);
// The file the field names: its name part, with ".qvxp" appended unless it ends so exactly.
QString motifFileName(const QString& field);

// Saves `rectangle` of the design as the motif `motifFileName(field)` in `folder` (made when
// missing), with `title` and the description lines, through a safe save; the design keeps
// its own title and comment. An existing motif of that name is replaced. Returns the file's
// path; throws QuillError when the folder cannot be made or the file cannot be written.
QString saveMotif(PatternDocument& doc, const QString& folder, const QString& field,
                  const QRect& rectangle, const QString& title, const QStringList& description);

// Deletes the motif `fileName` of `folder`; throws QuillError when it cannot.
void deleteMotif(const QString& folder, const QString& fileName);

} // namespace MotifLibrary
