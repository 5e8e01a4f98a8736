#include "PdfPageTarget.h"

#include "TPreview.h"
#include "core/QuillError.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QSaveFile>

PagedDeviceTarget::PagedDeviceTarget(QPagedPaintDevice& device) : m_device(device)
{
    if (!m_painter.begin(&m_device))
        throw QuillError(QStringLiteral("The page device cannot be painted on."));
}

PagedDeviceTarget::~PagedDeviceTarget()
{
    if (m_painter.isActive())
        m_painter.end();
}

void PagedDeviceTarget::beginPage()
{
    if (!m_device.newPage())
        throw QuillError(QStringLiteral("The page device refused a new page."));
    markFresh();
}

void PagedDeviceTarget::finish()
{
    if (m_painter.isActive() && !m_painter.end())
        throw QuillError(QStringLiteral("The page device could not end the document."));
}

struct PdfPageTarget::Impl
{
    QString path;
    QSaveFile file;
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
};

namespace {

[[noreturn]] void pdfFailed(const QString& path, const QString& reason)
{
    throw QuillError(QStringLiteral("Cannot write the PDF file \"%1\": %2."),
                     {QDir::toNativeSeparators(path), QuillError::translatable(reason)});
}

} // namespace

PdfPageTarget::PdfPageTarget(const QString& path, const TPreview& preview, const QString& title)
    : d(std::make_unique<Impl>())
{
    d->path = path;
    d->file.setFileName(path);
    if (!d->file.open(QIODevice::WriteOnly))
        pdfFailed(path, d->file.errorString());
    d->writer = std::make_unique<QPdfWriter>(&d->file);
    const int dpi = preview.pixelsPerInch > 0 ? preview.pixelsPerInch : 72;
    d->writer->setResolution(dpi);
    d->writer->setTitle(title);
    d->writer->setCreator(QStringLiteral("Quillmark"));
    // The page is exactly the layout's page: its pixels at its resolution, no margins, so
    // that device pixels are the layout's pixels.
    const QSizeF sizeMM(preview.pagewidthReal * 25.4 / dpi, preview.pageheightReal * 25.4 / dpi);
    const QPageSize pageSize(sizeMM, QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    d->writer->setPageLayout(QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(),
                                         QPageLayout::Millimeter, QMarginsF()));
    if (!d->painter.begin(d->writer.get()))
        pdfFailed(path, QStringLiteral("the PDF writer cannot begin"));
}

PdfPageTarget::~PdfPageTarget()
{
    // Not finished: the job failed or was cancelled; the partial file is thrown away.
    if (d->painter.isActive())
        d->painter.end();
    d->writer.reset();
    d->file.cancelWriting();
}

QPainter& PdfPageTarget::painter()
{
    return d->painter;
}

void PdfPageTarget::beginPage()
{
    if (!d->writer->newPage())
        pdfFailed(d->path, QStringLiteral("a new page could not be begun"));
    markFresh();
}

void PdfPageTarget::finish()
{
    if (d->painter.isActive() && !d->painter.end())
        pdfFailed(d->path, QStringLiteral("the last page could not be ended"));
    d->writer.reset();
    if (!d->file.commit())
        pdfFailed(d->path, d->file.errorString());
}
