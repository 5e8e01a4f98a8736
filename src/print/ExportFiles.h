#pragma once
// The files an export writes: the numbered page pictures (JPEG, BMP, PNG) and their names,
// the checks of the file and folder name, the default folder and file name of the print
// dialog, and the one PDF file. Every file is written beside its target first and renamed
// over it only when complete, and no existing file is replaced unless the caller says so.

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>

// The kinds of file an export writes.
enum TExportType { etJPEG, etBMP, etPNG, etPDF };
// ".JPEG", ".BMP", ".PNG" as the dialog lists them, and "PDF file".
QString exportTypeCaption(TExportType type);
// The written extension: ".jpeg", ".bmp", ".png", ".pdf".
QString exportTypeExtension(TExportType type);
// "jpeg", "bmp", "png", "pdf" (the command line's names, any case); false when unknown.
bool exportTypeFromName(const QString& name, TExportType& type);

// Message keys (English texts; callers translate them for the user).
inline constexpr const char* kFilenameNotValid = "Filename is not valid";
inline constexpr const char* kFoldernameNotValid = "Foldername is not valid";

// Empty when the name can be used, else the message key kFilenameNotValid: the name is empty
// or holds one of " * / : < > ? \ |.
QString checkExportFileName(const QString& fileName);

// The export's file names: the first "#" of `fileName` (or its front) receives the page number
// filled with "0" to the digits of `pages`, the extension follows `type`; each in `folder`.
QStringList exportFileNames(const QString& folder, const QString& fileName, TExportType type,
                            int pages);
// Those of `paths` that exist already (the dialog asks once before replacing them).
QStringList existingFiles(const QStringList& paths);

// Creates `folder` with every missing parent; throws QuillError(kFoldernameNotValid) when that
// fails or the name is empty.
void makeExportFolder(const QString& folder);

// The print dialog's default export folder when it is shown: without a file name chosen by
// the user, the folder of the most recent file, or `savePath` when there is none; with a file
// name and unsaved changes, the folder of the design file; otherwise the folder already shown
// (the design's folder when nothing is shown yet).
struct TExportFolderInput
{
    QString current;          // the folder field's text
    bool fileNameAssigned = false;
    bool fileSaved = false;
    QString designFile;       // the design's file name with its folder
    QStringList recentFiles;  // most recent first
    QString savePath;
};
QString defaultExportFolder(const TExportFolderInput& in);
// The default export file name: the design file's name without folder, "_#" before its last
// "." (at the front when it has none), its extension replaced by the type's caption (".JPEG",
// ".BMP", ".PNG"). A PDF is one file: the name with ".pdf" and no "#".
QString defaultExportFileName(const QString& designFile, TExportType type);

// Writes the page pictures of one export: each page goes into a hidden temporary file in the
// folder as soon as it is finished (so the pages never all sit in memory), and `commit` gives
// them their numbered names once their number is known. Until then, and when the writer is
// destroyed without a commit, no target file is touched.
class ExportPictureWriter
{
public:
    // Checks the name (QuillError kFilenameNotValid) and makes the folder (QuillError
    // kFoldernameNotValid). `quality` is the JPEG quality (0..100).
    ExportPictureWriter(const QString& folder, const QString& fileName, TExportType type,
                        int quality);
    ~ExportPictureWriter();
    ExportPictureWriter(const ExportPictureWriter&) = delete;
    ExportPictureWriter& operator=(const ExportPictureWriter&) = delete;

    // Encodes one page; throws QuillError when it cannot be written.
    void add(const QImage& page);
    int count() const;
    // The names the pages will get.
    QStringList fileNames() const;
    // Renames the pages to their names and returns them. Without `overwrite`, an existing
    // target stops the commit before any file is renamed (QuillError naming the first one).
    QStringList commit(bool overwrite);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The message of a refused replacement: "File exists: <path>".
QString fileExistsMessage(const QString& path);
