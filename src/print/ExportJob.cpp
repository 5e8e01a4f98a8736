// An export: the job's pages drawn into picture files or one PDF file.
#include "PdfPageTarget.h"
#include "PrintJob.h"

#include "core/QuillError.h"

#include <QDir>
#include <QFileInfo>

QStringList existingExportTargets(const TExportRequest& request, int pages)
{
    if (request.type == etPDF)
        return existingFiles({request.path});
    return existingFiles(exportFileNames(request.path, request.fileName, request.type, pages));
}

namespace {

void refuseExisting(const TExportRequest& request, int pages)
{
    if (request.overwrite)
        return;
    const QStringList existing = existingExportTargets(request, pages);
    if (!existing.isEmpty())
        throw QuillError(QStringLiteral("File exists: %1"), {QDir::toNativeSeparators(existing.first())});
}

const char* kNothingToExport = "There is no page to export.";

} // namespace

QStringList exportPages(PrintJob& job, const TExportRequest& request,
                        const PrintJob::Progress& progress)
{
    const TPreview& preview = job.input().preview;
    if (job.pageCount() <= 0)
        throw QuillError(QString::fromLatin1(kNothingToExport));
    // Refused before any page is drawn; checked again when the files are put in place.
    refuseExisting(request, job.pageCount());

    if (request.type == etPDF) {
        const QString folder = QFileInfo(request.path).absolutePath();
        makeExportFolder(folder);
        PdfPageTarget target(request.path, preview, request.title);
        if (!job.run(target, progress))
            return {};
        refuseExisting(request, job.pageCount());
        target.finish();
        return {request.path};
    }

    ExportPictureWriter writer(request.path, request.fileName, request.type, request.quality);
    ImagePageTarget target(preview, [&writer](const QImage& page) { writer.add(page); });
    if (!job.run(target, progress))
        return {};
    target.finish();
    if (writer.count() == 0)
        throw QuillError(QString::fromLatin1(kNothingToExport));
    return writer.commit(request.overwrite);
}
