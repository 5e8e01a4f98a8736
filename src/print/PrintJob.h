#pragma once
// The print job: walks the page table and has every page drawn onto a PageTarget (printer
// pages, page pictures or one PDF file), reporting progress and honouring a cancel request;
// and the export of the pages as numbered JPEG, BMP or PNG files or as one PDF file.
//
// Nothing here needs the user-interface thread: a job draws onto a QImage, a QPdfWriter or a
// QPrinter, so a dialog runs it on a worker thread (PrintJobRunner.h) and stays responsive.

#include "ExportFiles.h"
#include "PagePainter.h"
#include "PrintTypes.h"
#include "TPreview.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class PatternDocument;
class TStitch;

struct TPrintJobInput
{
    const PatternDocument& doc;
    const TStitch& stitch;
    TPreview& preview;             // laid out for the target's pages
    const TPrintOptions& options;
    QList<TMyColor> keys;          // sorted by the job in the colour panel's order
    QList<TStitchListItem> steps;
};

// The drawing steps the job calls in its page order. On a real job they are PagePainter's;
// tests put a recorder in their place to check the order.
class PageDrawer
{
public:
    virtual ~PageDrawer() = default;
    virtual void beginJob() = 0;
    virtual void drawTitlePage() = 0;
    virtual void drawTablePage(const TMyPage& page) = 0;
    virtual void drawStitchSteps() = 0;
    virtual void drawLabels() = 0;
    virtual void drawContents() = 0;
    virtual void drawInfoPage() = 0;
};

class PrintJob
{
public:
    // Called before each page with the page about to be drawn (1-based) and the number of
    // pages; returning false cancels the job.
    using Progress = std::function<bool(int page, int pages)>;
    // Makes the drawer for the target the job draws on (which reports progress when the
    // drawer begins pages of its own).
    using DrawerFactory = std::function<std::unique_ptr<PageDrawer>(PageTarget&)>;

    explicit PrintJob(TPrintJobInput input);
    ~PrintJob();

    // Sorts the key list and draws every page onto `target` with PagePainter. Returns false
    // when cancelled. Throws QuillError when drawing fails.
    bool run(PageTarget& target, const Progress& progress = {});
    // The same walk with another drawer (the key list as given).
    bool run(PageTarget& target, const DrawerFactory& drawer, const Progress& progress = {});

    // The number of pages of the table (what the progress counts to).
    int pageCount() const;
    const QList<TMyColor>& keys() const { return m_in.keys; }
    const TPrintJobInput& input() const { return m_in; }

private:
    TPrintJobInput m_in;
};

// Page pictures: a white 32-bit picture of pagewidthReal x pageheightReal per page, its fonts
// sized for the layout's pixelsPerInch (72 for export). The job starts on a fresh first page.
class ImagePageTarget : public PageTarget
{
public:
    // With a `sink`, each finished page is handed to it at once instead of being kept.
    explicit ImagePageTarget(const TPreview& preview,
                             std::function<void(const QImage&)> sink = {});
    ~ImagePageTarget() override;
    QPainter& painter() override;
    void beginPage() override;
    // Ends the last page (dropped when nothing was drawn on it) and hands it to the sink.
    void finish();
    // Ends the last page and hands over every kept page, in order.
    QList<QImage> takePages();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// What an export writes: pictures into the folder `path` named after `fileName` (the "#"
// rule), or one PDF file `path`.
struct TExportRequest
{
    TExportType type = etPNG;
    QString path;
    QString fileName;      // pictures only
    int quality = 70;      // JPEG quality (JPEGQuality)
    bool overwrite = false;
    QString title;         // the PDF's document title
};
// The files an export of `pages` pages would write that exist already (the dialog asks once
// before it replaces them).
QStringList existingExportTargets(const TExportRequest& request, int pages);
// Draws every page of the job and writes the files. Returns the files written, or an empty
// list when cancelled (nothing is written then). Throws QuillError for an invalid file or
// folder name (kFilenameNotValid, kFoldernameNotValid, before anything is drawn), an existing
// file without `overwrite` (nothing is written), or a failed drawing or write.
QStringList exportPages(PrintJob& job, const TExportRequest& request,
                        const PrintJob::Progress& progress = {});
