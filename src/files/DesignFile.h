#pragma once
// Opening and saving designs by file name, for the application's file commands and the
// command-line tool. Opening dispatches on the extension (".qvxp" and ".qvx": native file,
// ".stv": text design), reads the whole file and its ghost picture first, and only then
// replaces the open design; a file that cannot be read leaves the design exactly as it was.
//
// The application re-runs its start-up initialisation before an opened file becomes the
// design; to keep a failed open harmless it can call readDesignFile, then re-initialise, then
// applyDesignFile. openDesignFile does the read and the apply in one step.

#include "GhostPicture.h"
#include "QvxFile.h"
#include "StvFile.h"

#include <QImage>
#include <QString>

class PatternDocument;

// A design file read in full, not yet applied.
struct DesignFileContent
{
    enum Kind { Native, Text };
    QString path;
    Kind kind = Native;
    TQVXFile qvx; // Native
    TSTVFile stv; // Text
    // The ".png" beside the file, or null when there is none (or it is not a picture).
    QImage ghostPicture;
};

// True for the extensions a design can be opened from (".qvxp", ".qvx", ".stv", any case).
bool isDesignFileName(const QString& path);
// `path` with its extension replaced by ".qvxp" (the name an opened design is saved under).
QString nativeDesignFileName(const QString& path);
// The name "Save as ..." writes: `chosen` itself when its extension is ".qvxp" (any case),
// otherwise `chosen` + ".qvxp".
QString saveAsFileName(const QString& chosen);

// Reads a design file and the ghost picture beside it. Throws QuillError for another
// extension, a file that cannot be opened, or one that is damaged or truncated.
DesignFileContent readDesignFile(const QString& path);
// Makes `content` the design (file name, saved state and fmOpen included). With `ghost`, the
// ghost picture read beside the file replaces the loaded one (or drops it when there is none).
void applyDesignFile(PatternDocument& doc, const DesignFileContent& content,
                     GhostPicture* ghost = nullptr);
// readDesignFile followed by applyDesignFile.
void openDesignFile(PatternDocument& doc, const QString& path, GhostPicture* ghost = nullptr);

// Saves the whole design as a native file at `path` (exactly that name) through a safe save,
// with the loaded ghost picture beside it, and on success names the design after it and marks
// it saved. A failure throws QuillError and leaves the old file, the design's name and its
// unsaved state as they were.
void saveDesignFile(PatternDocument& doc, const QString& path, const GhostPicture* ghost = nullptr,
                    const QByteArray& ghostPng = QByteArray());
