#pragma once
// Page targets over Qt's paged devices: any QPagedPaintDevice (a QPrinter of the print
// dialog), and one PDF file written with QPdfWriter, whose pages are vector drawings with the
// symbols as text in the embedded symbol font.

#include "PagePainter.h"

#include <QPainter>
#include <QString>
#include <memory>

class QPagedPaintDevice;
class TPreview;

// Draws on a paged device: the painter begins the document on the device (the first page),
// `beginPage` asks for a new page, `finish` ends the document.
class PagedDeviceTarget : public PageTarget
{
public:
    // Throws QuillError when the device cannot be painted on.
    explicit PagedDeviceTarget(QPagedPaintDevice& device);
    ~PagedDeviceTarget() override;
    QPainter& painter() override { return m_painter; }
    // Throws QuillError when the device refuses a new page.
    void beginPage() override;
    // Ends the document; throws QuillError when the device reports a failure.
    void finish();

protected:
    QPagedPaintDevice& m_device;
    QPainter m_painter;
};

// One PDF file of the layout's pages (pagewidthReal x pageheightReal at pixelsPerInch, no
// margins). The file is written beside its target and replaces it only at `finish`; a job
// that fails or is cancelled leaves no file behind.
class PdfPageTarget : public PageTarget
{
public:
    // Throws QuillError when the file cannot be begun.
    PdfPageTarget(const QString& path, const TPreview& preview, const QString& title);
    ~PdfPageTarget() override;
    QPainter& painter() override;
    void beginPage() override;
    // Ends the last page and puts the file in place; throws QuillError when that fails.
    void finish();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};
