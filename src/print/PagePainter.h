#pragma once
// Draws the pages of a print job onto the current page of a PageTarget: chart pages with the
// key beside them, key pages, the title page, the stitch-steps list, label sheets, the table
// of contents and the information page. Any QPainter device serves as a page (a printer, a
// QImage, a QPdfWriter); sizes are device pixels of `TPreview`.

#include "PrintTypes.h"
#include "TPreview.h"

#include <QList>
#include <QRect>
#include <functional>
#include <memory>

class PatternDocument;
class QPainter;
class TStitch;

// Everything a job draws from; the job owns it for its duration.
struct PrintContext
{
    const PatternDocument& doc;
    const TStitch& stitch;
    const TPreview& preview;
    const TPrintOptions& options;
    const QList<TMyColor>& keys;           // sorted
    const QList<TStitchListItem>& steps;   // when the stitch-steps list is chosen
};

// Where pages are drawn: the print job's printer, page pictures or PDF writer.
class PageTarget
{
public:
    virtual ~PageTarget() = default;
    // The canvas of the current page.
    virtual QPainter& painter() = 0;
    // Ends the current page and begins a fresh one.
    virtual void beginPage() = 0;
    // Whether anything was drawn on the current page since it began.
    bool pageUsed() const { return m_used; }
    void markUsed() { m_used = true; }
    void markFresh() { m_used = false; }

private:
    bool m_used = false;
};

// Label (row, column) of a label sheet in page pixels at `mmPx` pixels per millimetre: an A4
// sheet of LabelGridHor x LabelGridVert labels with the label settings' borders and sizes and
// the gaps that spread them over the sheet.
QRect labelRect(const TStitch& stitch, double mmPx, int row, int col);
// Pixels per millimetre of the label sheet: the page's own on paper; on picture pages as much
// as lets the whole A4 sheet fit on the picture.
double labelSheetScale(const TPreview& preview, bool exportMode);

class PagePainter
{
public:
    PagePainter(const PrintContext& context, PageTarget& target);
    ~PagePainter();

    // Prepares per-job state (real-mode textures); call once before the first page.
    void beginJob();
    // Title page, on the current page.
    void drawTitlePage();
    // A chart page (cross-stitch, back-stitch or both) or a key page of the table, with its
    // key entries and footer, on the current page.
    void drawTablePage(const TMyPage& page);
    // The pages after the table; each begins a fresh page when the current one is used.
    void drawStitchSteps();
    void drawLabels();
    void drawContents();
    void drawInfoPage();

    // Called after each back stitch drawn in real mode (stitches done, stitches in all); the
    // job steps its progress bar and lets the window repaint.
    std::function<void(int, int)> backStitchProgress;

    // The drawing state of the job, shared by the page painters' source files.
    struct State;

private:
    const PrintContext& m_ctx;
    PageTarget& m_target;
    std::unique_ptr<State> m_state;
};
