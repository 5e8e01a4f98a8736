#include "ExportFiles.h"

#include "core/QuillError.h"

#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

QString exportTypeCaption(TExportType type)
{
    switch (type) {
    case etJPEG: return QStringLiteral(".JPEG");
    case etBMP: return QStringLiteral(".BMP");
    case etPNG: return QStringLiteral(".PNG");
    case etPDF: return QStringLiteral("PDF file");
    }
    return {};
}

QString exportTypeExtension(TExportType type)
{
    switch (type) {
    case etJPEG: return QStringLiteral(".jpeg");
    case etBMP: return QStringLiteral(".bmp");
    case etPNG: return QStringLiteral(".png");
    case etPDF: return QStringLiteral(".pdf");
    }
    return {};
}

bool exportTypeFromName(const QString& name, TExportType& type)
{
    const QString n = name.toLower();
    if (n == QLatin1String("jpeg") || n == QLatin1String("jpg"))
        type = etJPEG;
    else if (n == QLatin1String("bmp"))
        type = etBMP;
    else if (n == QLatin1String("png"))
        type = etPNG;
    else if (n == QLatin1String("pdf"))
        type = etPDF;
    else
        return false;
    return true;
}

QString checkExportFileName(const QString& fileName)
{
    static const QString forbidden = QStringLiteral("\"*/:<>?\\|");
    if (fileName.trimmed().isEmpty())
        return QString::fromLatin1(kFilenameNotValid);
    for (QChar c : fileName) {
        if (forbidden.contains(c) || c.unicode() < 0x20)
            return QString::fromLatin1(kFilenameNotValid);
    }
    return {};
}

namespace {

// The name with "#" taken out, split into the part before the extension and the place where
// the number goes (the first "#", or the front).
struct NamePattern
{
    QString stem;  // without the extension
    qsizetype at = 0;
};

NamePattern namePattern(const QString& fileName)
{
    NamePattern p;
    QString name = fileName;
    const qsizetype hash = name.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        name.remove(hash, 1);
        p.at = hash;
    }
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    p.stem = dot >= 0 ? name.left(dot) : name;
    // A "#" inside the extension numbers the end of the stem.
    p.at = std::min(p.at, p.stem.size());
    return p;
}

QString withSlash(const QString& folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

QStringList exportFileNames(const QString& folder, const QString& fileName, TExportType type,
                            int pages)
{
    QStringList names;
    if (pages <= 0)
        return names;
    const NamePattern p = namePattern(fileName);
    const int digits = int(QString::number(pages).size());
    const QString prefix = folder.isEmpty() ? QString() : withSlash(folder);
    const QString ext = exportTypeExtension(type);
    for (int i = 1; i <= pages; ++i) {
        QString stem = p.stem;
        stem.insert(p.at, QStringLiteral("%1").arg(i, digits, 10, QLatin1Char('0')));
        names << prefix + stem + ext;
    }
    return names;
}

QStringList existingFiles(const QStringList& paths)
{
    QStringList found;
    for (const QString& path : paths) {
        if (QFileInfo::exists(path))
            found << path;
    }
    return found;
}

void makeExportFolder(const QString& folder)
{
    if (folder.trimmed().isEmpty() || !QDir().mkpath(folder) || !QFileInfo(folder).isDir())
        throw QuillError(QString::fromLatin1(kFoldernameNotValid));
}

QString defaultExportFolder(const TExportFolderInput& in)
{
    if (!in.fileNameAssigned) {
        if (!in.recentFiles.isEmpty())
            return QFileInfo(in.recentFiles.first()).absolutePath();
        return in.savePath;
    }
    const QString designFolder = QFileInfo(in.designFile).absolutePath();
    if (!in.fileSaved || in.current.isEmpty())
        return designFolder;
    return in.current;
}

QString defaultExportFileName(const QString& designFile, TExportType type)
{
    QString name = QFileInfo(designFile).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (type == etPDF)
        return (dot >= 0 ? name.left(dot) : name) + QStringLiteral(".pdf");
    if (dot >= 0)
        return name.left(dot) + QStringLiteral("_#") + exportTypeCaption(type);
    return QStringLiteral("_#") + name + exportTypeCaption(type);
}

QString fileExistsMessage(const QString& path)
{
    return QStringLiteral("File exists: %1").arg(QDir::toNativeSeparators(path));
}

// --- the picture writer ---

struct ExportPictureWriter::Impl
{
    QString folder, fileName;
    TExportType type = etPNG;
    int quality = 70;
    std::vector<std::unique_ptr<QTemporaryFile>> pages;
    bool committed = false;
};

namespace {

[[noreturn]] void writeFailed(const QString& path, const QString& reason)
{
    throw QuillError(QStringLiteral("Cannot write the page picture \"%1\": %2."),
                     {QDir::toNativeSeparators(path), QuillError::translatable(reason)});
}

mode_t processUmask()
{
    static const mode_t mask = [] {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }();
    return mask;
}

const char* formatOf(TExportType type)
{
    switch (type) {
    case etJPEG: return "jpeg";
    case etBMP: return "bmp";
    case etPNG:
    case etPDF: break;
    }
    return "png";
}

} // namespace

ExportPictureWriter::ExportPictureWriter(const QString& folder, const QString& fileName,
                                         TExportType type, int quality)
    : d(std::make_unique<Impl>())
{
    const QString bad = checkExportFileName(fileName);
    if (!bad.isEmpty())
        throw QuillError(bad);
    makeExportFolder(folder);
    d->folder = folder;
    d->fileName = fileName;
    d->type = type == etPDF ? etPNG : type;
    d->quality = qBound(0, quality, 100);
}

ExportPictureWriter::~ExportPictureWriter() = default;

void ExportPictureWriter::add(const QImage& page)
{
    auto file = std::make_unique<QTemporaryFile>(withSlash(d->folder)
                                                 + QStringLiteral(".quillmark-page-XXXXXX"));
    if (!file->open())
        writeFailed(d->folder, file->errorString());
    // The page becomes an ordinary file of the user's, not one only its owner may read.
    ::fchmod(file->handle(), 0666 & ~processUmask());
    QImageWriter writer(file.get(), formatOf(d->type));
    if (d->type == etJPEG)
        writer.setQuality(d->quality);
    // BMP keeps the page as it is; JPEG has no alpha and PNG needs none: the pages are white.
    const QImage picture = d->type == etBMP ? page : page.convertToFormat(QImage::Format_RGB32);
    if (!writer.write(picture))
        writeFailed(file->fileName(), writer.errorString());
    if (!file->flush() || ::fsync(file->handle()) != 0)
        writeFailed(file->fileName(), file->errorString());
    file->close();
    d->pages.push_back(std::move(file));
}

int ExportPictureWriter::count() const
{
    return int(d->pages.size());
}

QStringList ExportPictureWriter::fileNames() const
{
    return exportFileNames(d->folder, d->fileName, d->type, count());
}

QStringList ExportPictureWriter::commit(bool overwrite)
{
    const QStringList names = fileNames();
    if (!overwrite) {
        const QStringList existing = existingFiles(names);
        if (!existing.isEmpty())
            throw QuillError(QStringLiteral("File exists: %1"), {QDir::toNativeSeparators(existing.first())});
    }
    for (size_t i = 0; i < d->pages.size(); ++i) {
        QTemporaryFile& file = *d->pages[i];
        const QString& target = names[qsizetype(i)];
        // rename() replaces an existing target in one step; QFile::rename would refuse.
        if (std::rename(QFile::encodeName(file.fileName()).constData(),
                        QFile::encodeName(target).constData()) != 0)
            writeFailed(target, QString::fromLocal8Bit(std::strerror(errno)));
        file.setAutoRemove(false);
    }
    d->committed = true;
    return names;
}
