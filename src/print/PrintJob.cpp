#include "PrintJob.h"

#include "core/QuillError.h"

#include <QPainter>
#include <exception>

namespace {

// Thrown inside a job when the progress callback answers false; never leaves the job.
struct JobCancelled
{
};

// Stands between the drawers and the caller's target: asks the progress callback before each
// page (also when a drawer begins a page of its own, as the label sheets do) and begins a new
// page only when the current one has been drawn on.
class ProgressTarget : public PageTarget
{
public:
    ProgressTarget(PageTarget& target, const PrintJob::Progress& progress, int pages)
        : m_target(target), m_progress(progress), m_pages(pages) {}

    QPainter& painter() override { return m_target.painter(); }

    void beginPage() override
    {
        ask(m_page + 1);
        m_target.markUsed();
        m_target.beginPage();
        m_target.markFresh();
        markFresh();
    }

    // The first page is begun by the target itself.
    void first() { ask(1); }

    // A fresh page, unless the current one is still empty.
    void freshPage()
    {
        if (pageUsed())
            beginPage();
    }

    void done()
    {
        if (pageUsed())
            m_target.markUsed();
    }

private:
    void ask(int page)
    {
        m_page = page;
        if (m_progress && !m_progress(page, std::max(page, m_pages)))
            throw JobCancelled{};
    }

    PageTarget& m_target;
    const PrintJob::Progress& m_progress;
    int m_pages = 0;
    int m_page = 0;
};

bool isChartOrKeyPage(TPrintStitches kind)
{
    return kind == psCrossStitchOnly || kind == psBackStitchOnly || kind == psBoth;
}

} // namespace

PrintJob::PrintJob(TPrintJobInput input) : m_in(std::move(input)) {}

PrintJob::~PrintJob() = default;

int PrintJob::pageCount() const
{
    return m_in.preview.pageNumber;
}

bool PrintJob::run(PageTarget& target, const DrawerFactory& makeDrawer, const Progress& progress)
{
    ProgressTarget page(target, progress, pageCount());
    try {
        page.first();
        std::unique_ptr<PageDrawer> drawer = makeDrawer(page);
        drawer->beginJob();

        if (m_in.options.title) {
            drawer->drawTitlePage();
            page.markUsed();
        }
        // The table row by row, column by column. Label sheets come after the table; title,
        // stitch-steps, contents and information entries are drawn in their own steps.
        for (const auto& [pos, entry] : m_in.preview.pages) {
            if (!isChartOrKeyPage(entry.PrintStitches))
                continue;
            page.freshPage();
            drawer->drawTablePage(entry);
            page.markUsed();
        }
        // These mark the page used when they draw on it (and begin pages of their own).
        if (m_in.options.stitchList) {
            page.freshPage();
            drawer->drawStitchSteps();
        }
        if (m_in.options.labels) {
            page.freshPage();
            drawer->drawLabels();
        }
        if (m_in.options.contents) {
            page.freshPage();
            drawer->drawContents();
        }
        if (m_in.options.info) {
            page.freshPage();
            drawer->drawInfoPage();
        }
        page.done();
        return true;
    } catch (const JobCancelled&) {
        return false;
    } catch (const QuillError&) {
        throw;
    } catch (const std::exception& e) {
        throw QuillError(QString::fromLocal8Bit(e.what()));
    }
}

// --- page pictures ---

struct ImagePageTarget::Impl
{
    int width = 0, height = 0;
    int dotsPerMeter = 0;
    std::function<void(const QImage&)> sink;
    QImage page;
    QPainter painter;
    QList<QImage> pages;
    int handedOver = 0;
    bool finished = false;

    void newPage()
    {
        page = QImage(std::max(1, width), std::max(1, height), QImage::Format_ARGB32);
        if (page.isNull())
            throw QuillError(QStringLiteral("There is not enough memory for a page of %1 x %2 pixels."),
                             {QString::number(width), QString::number(height)});
        page.fill(Qt::white);
        page.setDotsPerMeterX(dotsPerMeter);
        page.setDotsPerMeterY(dotsPerMeter);
        painter.begin(&page);
    }

    void endPage()
    {
        painter.end();
        ++handedOver;
        if (sink)
            sink(page);
        else
            pages << page;
        page = QImage();
    }
};

ImagePageTarget::ImagePageTarget(const TPreview& preview, std::function<void(const QImage&)> sink)
    : d(std::make_unique<Impl>())
{
    d->width = preview.pagewidthReal;
    d->height = preview.pageheightReal;
    const int dpi = preview.pixelsPerInch > 0 ? preview.pixelsPerInch : 72;
    d->dotsPerMeter = qRound(dpi / 0.0254);
    d->sink = std::move(sink);
    d->newPage();
}

ImagePageTarget::~ImagePageTarget()
{
    if (d->painter.isActive())
        d->painter.end();
}

QPainter& ImagePageTarget::painter()
{
    return d->painter;
}

void ImagePageTarget::beginPage()
{
    d->endPage();
    d->newPage();
    markFresh();
}

void ImagePageTarget::finish()
{
    if (d->finished)
        return;
    d->finished = true;
    // An empty last page stays out (only a job that drew nothing leaves one).
    if (pageUsed())
        d->endPage();
    else
        d->painter.end();
}

QList<QImage> ImagePageTarget::takePages()
{
    finish();
    return std::exchange(d->pages, {});
}
