// The print job with the real page painter; apart from the walk so that the walk can be
// driven alone.
#include "KeyList.h"
#include "PrintJob.h"

#include "core/PatternDocument.h"

namespace {

class PainterDrawer : public PageDrawer
{
public:
    PainterDrawer(const PrintContext& context, PageTarget& target) : m_painter(context, target) {}
    void beginJob() override { m_painter.beginJob(); }
    void drawTitlePage() override { m_painter.drawTitlePage(); }
    void drawTablePage(const TMyPage& page) override { m_painter.drawTablePage(page); }
    void drawStitchSteps() override { m_painter.drawStitchSteps(); }
    void drawLabels() override { m_painter.drawLabels(); }
    void drawContents() override { m_painter.drawContents(); }
    void drawInfoPage() override { m_painter.drawInfoPage(); }

private:
    PagePainter m_painter;
};

} // namespace

bool PrintJob::run(PageTarget& target, const Progress& progress)
{
    sortKeyList(m_in.keys, m_in.stitch.Colors, m_in.doc.colorSortMode());
    const PrintContext context{m_in.doc, m_in.stitch, m_in.preview, m_in.options, m_in.keys,
                               m_in.steps};
    return run(
        target,
        [&context](PageTarget& page) -> std::unique_ptr<PageDrawer> {
            return std::make_unique<PainterDrawer>(context, page);
        },
        progress);
}
