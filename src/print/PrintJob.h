#pragma once
// The print job: walks the page table and has every page drawn onto a PageTarget (printer
// pages, page pictures or one PDF file), reporting progress and honouring a cancel request;
// and the export of page pictures as numbered JPEG, BMP or PNG files.

#include "PagePainter.h"
#include "PrintTypes.h"
#include "TPreview.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class PatternDocument;
class TStitch;

// The kinds of file an export writes.
enum TExportType { etJPEG, etBMP, etPNG, etPDF };
// ".JPEG", ".BMP", ".PNG" as the dialog lists them, and "PDF file".
QString exportTypeCaption(TExportType type);

struct TPrintJobInput
{
    const PatternDocument& doc;
    const TStitch& stitch;
    TPreview& preview;             // laid out for the target's pages
    const TPrintOptions& options;
    QList<TMyColor> keys;          // sorted by the job in the colour panel's order
    QList<TStitchListItem> steps;
};

class PrintJob
{
public:
    explicit PrintJob(TPrintJobInput input);
    // Draws every page onto `target`. `progress` (may be empty) is called before each page
    // with the page about to be drawn (1-based) and the number of pages; returning false
    // cancels the job, which then returns false. Throws QuillError when drawing fails.
    bool run(PageTarget& target, const std::function<bool(int page, int pages)>& progress = {});

private:
    TPrintJobInput m_in;
};

// Page pictures: a white 32-bit picture of pagewidthReal x pageheightReal per page.
class ImagePageTarget : public PageTarget
{
public:
    explicit ImagePageTarget(const TPreview& preview);
    ~ImagePageTarget() override;
    QPainter& painter() override;
    void beginPage() override;
    // Ends the last page and hands over every page, in order.
    QList<QImage> takePages();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// The export's file names: the first "#" of `fileName` (or its front) receives the page number
// filled with "0" to the digits of `pages`, the extension follows `type`; each in `folder`.
QStringList exportFileNames(const QString& folder, const QString& fileName, TExportType type,
                            int pages);
// Empty when the name can be used, else the message key ("Filename is not valid").
QString checkExportFileName(const QString& fileName);
