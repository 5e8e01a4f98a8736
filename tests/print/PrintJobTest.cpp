// The print job's walk (title page, the table row by row, the pages after it, a fresh page
// only after a used one), its progress and cancel, its failures, the page targets (pictures,
// one PDF file) and the worker-thread runner. A recorder stands in for the page painter, so
// the order is checked exactly.
#include "print/PdfPageTarget.h"
#include "print/PrintJob.h"
#include "print/PrintJobRunner.h"
#include "print/KeyList.h"

#include "core/QuillError.h"
#include "support/SmallDesign.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// A target that writes down every page begun ("/") into the shared log.
class RecordingTarget : public PageTarget
{
public:
    explicit RecordingTarget(QStringList& log) : m_log(log), m_image(10, 10, QImage::Format_ARGB32)
    {
        m_painter.begin(&m_image);
    }
    QPainter& painter() override { return m_painter; }
    void beginPage() override
    {
        m_log << "/";
        markFresh();
    }

private:
    QStringList& m_log;
    QImage m_image;
    QPainter m_painter;
};

QString kindName(TPrintStitches kind)
{
    switch (kind) {
    case psCrossStitchOnly: return "cross";
    case psBackStitchOnly: return "back";
    case psBoth: return "both";
    default: return "other";
    }
}

// Writes down every drawing step; label sheets take `labelSheets` pages, each begun by the
// drawer as the painter does; `failOn` throws when that step comes.
class RecordingDrawer : public PageDrawer
{
public:
    RecordingDrawer(PageTarget& target, QStringList& log, int labelSheets, QString failOn)
        : m_target(target), m_log(log), m_labelSheets(labelSheets), m_failOn(std::move(failOn)) {}
    void beginJob() override { step("begin", false); }
    void drawTitlePage() override { step("title"); }
    void drawTablePage(const TMyPage& page) override
    {
        step(QStringLiteral("%1:%2-%3")
                 .arg(page.keysOnly ? "key" : kindName(page.PrintStitches))
                 .arg(page.cellXFirst)
                 .arg(page.cellYFirst));
    }
    void drawStitchSteps() override { step("steps"); }
    void drawLabels() override
    {
        for (int i = 0; i < m_labelSheets; ++i) {
            if (m_target.pageUsed())
                m_target.beginPage();
            step(QStringLiteral("labels%1").arg(i + 1));
        }
    }
    void drawContents() override { step("contents"); }
    void drawInfoPage() override { step("info"); }

private:
    void step(const QString& what, bool draws = true)
    {
        if (what == m_failOn)
            throw QuillError("drawing failed");
        if (what + "!" == m_failOn)
            throw std::bad_alloc();
        m_log << what;
        if (draws) {
            m_target.painter().fillRect(0, 0, 2, 2, Qt::black);
            m_target.markUsed();
        }
    }
    PageTarget& m_target;
    QStringList& m_log;
    int m_labelSheets;
    QString m_failOn;
};

TMyPage chartPage(TPrintStitches kind, int x, int y)
{
    TMyPage p;
    p.PrintStitches = kind;
    p.cellXFirst = x;
    p.cellYFirst = y;
    return p;
}
TMyPage keyPage(int first)
{
    TMyPage p;
    p.PrintStitches = psCrossStitchOnly;
    p.keysOnly = true;
    p.cellXFirst = first;
    return p;
}
TMyPage extraPage(TPrintStitches kind)
{
    TMyPage p;
    p.PrintStitches = kind;
    return p;
}

struct JobFixture : ::testing::Test
{
    SmallDesign design{6, 4};
    TPreview preview;
    TPrintOptions options;

    // The table's entries, given in any order; numbered 1.. in the table's order.
    void table(std::initializer_list<std::pair<TPagePos, TMyPage>> entries)
    {
        preview.pages.clear();
        for (const auto& [pos, page] : entries)
            preview.pages[pos] = page;
        int n = 0;
        for (auto& [pos, page] : preview.pages)
            page.pageNum = ++n;
        preview.pageNumber = n;
    }

    PrintJob job() { return PrintJob({design.doc, design.stitch, preview, options, {}, {}}); }

    // The walk as a log: the drawing steps with "/" for each page begun after the first.
    QStringList walk(int labelSheets = 1, const PrintJob::Progress& progress = {},
                     bool* completed = nullptr, const QString& failOn = QString())
    {
        QStringList log;
        RecordingTarget target(log);
        PrintJob j = job();
        const bool done = j.run(
            target,
            [&](PageTarget& page) -> std::unique_ptr<PageDrawer> {
                return std::make_unique<RecordingDrawer>(page, log, labelSheets, failOn);
            },
            progress);
        if (completed)
            *completed = done;
        return log;
    }
};

TEST_F(JobFixture, WalksTheTableAndTheExtraPagesInTheirOrder)
{
    // A 2 x 2 chart with a key column, back-stitch copies below, and the extra pages' entries,
    // given out of order: the job draws by row, then by column.
    table({{{1, 1}, chartPage(psBackStitchOnly, 3, 0)},
           {{0, 0}, chartPage(psCrossStitchOnly, 0, 0)},
           {{2, 0}, keyPage(0)},
           {{1, 0}, chartPage(psCrossStitchOnly, 3, 0)},
           {{0, 1}, chartPage(psBackStitchOnly, 0, 0)},
           {{0, 2}, extraPage(psBookHeader)},
           {{1, 2}, extraPage(psLabels)},
           {{2, 2}, extraPage(psStitchList)},
           {{3, 2}, extraPage(psContents)},
           {{4, 2}, extraPage(psBookFooter)}});

    const struct
    {
        const char* what;
        bool title, stitchList, labels, contents, info;
        int labelSheets;
        QStringList expected;
    } cases[] = {
        {"the table only", false, false, false, false, false, 1,
         {"begin", "cross:0-0", "/", "cross:3-0", "/", "key:0-0", "/",
          "back:0-0", "/", "back:3-0"}},
        {"every extra page", true, true, true, true, true, 2,
         {"begin", "title", "/", "cross:0-0", "/", "cross:3-0", "/",
          "key:0-0", "/", "back:0-0", "/", "back:3-0", "/", "steps", "/",
          "labels1", "/", "labels2", "/", "contents", "/", "info"}},
        {"title and information page", true, false, false, false, true, 1,
         {"begin", "title", "/", "cross:0-0", "/", "cross:3-0", "/",
          "key:0-0", "/", "back:0-0", "/", "back:3-0", "/", "info"}},
    };
    for (const auto& c : cases) {
        options.title = c.title;
        options.stitchList = c.stitchList;
        options.labels = c.labels;
        options.contents = c.contents;
        options.info = c.info;
        EXPECT_EQ(walk(c.labelSheets), c.expected) << c.what;
    }
}

TEST_F(JobFixture, NoEmptyPageAtTheEndOrBetween)
{
    // A table with only the extra entries and nothing selected to draw them: no page is begun.
    table({{{0, 0}, chartPage(psBoth, 0, 0)}, {{0, 1}, extraPage(psLabels)}});
    EXPECT_EQ(walk(), (QStringList{"begin", "both:0-0"}));
    // Label sheets of no page (nothing to label) leave the page after the chart unused.
    options.labels = true;
    options.info = true;
    EXPECT_EQ(walk(0), (QStringList{"begin", "both:0-0", "/", "info"}));
}

TEST_F(JobFixture, ReportsProgressBeforeEachPage)
{
    table({{{0, 0}, chartPage(psBoth, 0, 0)}, {{1, 0}, chartPage(psBoth, 3, 0)},
           {{0, 1}, extraPage(psLabels)}});
    options.labels = true;
    QList<std::pair<int, int>> calls;
    bool completed = false;
    walk(3, [&](int page, int pages) {
        calls << std::pair{page, pages};
        return true;
    }, &completed);
    EXPECT_TRUE(completed);
    // The table holds three pages, the label sheets took three: the count grows with them.
    EXPECT_EQ(calls, (QList<std::pair<int, int>>{{1, 3}, {2, 3}, {3, 3}, {4, 4}, {5, 5}}));
}

TEST_F(JobFixture, CancelStopsBeforeTheNextPage)
{
    table({{{0, 0}, chartPage(psBoth, 0, 0)}, {{1, 0}, chartPage(psBoth, 3, 0)},
           {{2, 0}, chartPage(psBoth, 6, 0)}, {{0, 1}, extraPage(psLabels)}});
    options.labels = true;
    const struct
    {
        int cancelAt;
        QStringList expected;
    } cases[] = {
        {1, {}},
        {2, {"begin", "both:0-0"}},
        {3, {"begin", "both:0-0", "/", "both:3-0"}},
        // Inside the label sheets, which the drawer begins itself.
        {5, {"begin", "both:0-0", "/", "both:3-0", "/", "both:6-0", "/", "labels1"}},
    };
    for (const auto& c : cases) {
        bool completed = true;
        const QStringList log =
            walk(3, [&](int page, int) { return page < c.cancelAt; }, &completed);
        EXPECT_FALSE(completed) << c.cancelAt;
        EXPECT_EQ(log, c.expected) << c.cancelAt;
    }
}

TEST_F(JobFixture, FailuresReachTheCallerAsQuillError)
{
    table({{{0, 0}, chartPage(psBoth, 0, 0)}});
    options.info = true;
    for (const QString failOn : {"info", "info!"}) {
        try {
            walk(1, {}, nullptr, failOn);
            ADD_FAILURE() << failOn.toStdString();
        } catch (const QuillError& e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
    }
}

// --- targets ---

TEST_F(JobFixture, PicturePagesAreWhiteAtThePageSizeWithFontsAt72Dpi)
{
    preview.pagewidthReal = 90;
    preview.pageheightReal = 80;
    preview.pixelsPerInch = 72;
    table({{{0, 0}, chartPage(psBoth, 0, 0)}, {{1, 0}, chartPage(psBoth, 3, 0)}});
    ImagePageTarget target(preview);
    PrintJob j = job();
    QStringList log;
    ASSERT_TRUE(j.run(target, [&](PageTarget& page) -> std::unique_ptr<PageDrawer> {
        return std::make_unique<RecordingDrawer>(page, log, 1, QString());
    }));
    const QList<QImage> pages = target.takePages();
    ASSERT_EQ(pages.size(), 2);
    for (const QImage& p : pages) {
        EXPECT_EQ(p.size(), QSize(90, 80));
        EXPECT_EQ(p.format(), QImage::Format_ARGB32);
        EXPECT_EQ(p.logicalDpiX(), 72);
        EXPECT_EQ(p.pixel(1, 1), qRgb(0, 0, 0));   // the recorder's mark
        EXPECT_EQ(p.pixel(50, 50), qRgb(255, 255, 255));
    }
    // A font of 10 points is 10 pixels on these pages.
    QImage probe(10, 10, QImage::Format_ARGB32);
    probe.setDotsPerMeterX(pages[0].dotsPerMeterX());
    probe.setDotsPerMeterY(pages[0].dotsPerMeterY());
    QPainter p(&probe);
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPointSizeF(10);
    p.setFont(f);
    EXPECT_EQ(p.fontInfo().pixelSize(), 10);
}

TEST_F(JobFixture, APictureJobThatDrewNothingHandsOverNoPage)
{
    preview.pagewidthReal = 20;
    preview.pageheightReal = 20;
    table({{{0, 0}, extraPage(psLabels)}});
    ImagePageTarget target(preview);
    PrintJob j = job();
    QStringList log;
    ASSERT_TRUE(j.run(target, [&](PageTarget& page) -> std::unique_ptr<PageDrawer> {
        return std::make_unique<RecordingDrawer>(page, log, 1, QString());
    }));
    EXPECT_TRUE(target.takePages().isEmpty());
}

bool havePoppler()
{
    return !QStandardPaths::findExecutable("pdftotext").isEmpty()
        && !QStandardPaths::findExecutable("pdfinfo").isEmpty();
}

QString runTool(const QString& tool, const QStringList& args)
{
    QProcess p;
    p.start(tool, args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(JobFixture, PdfPagesHaveTheLayoutsSizeAndRealText)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("chart.pdf");
    // A4 at 300 dpi.
    preview.pagewidthReal = 2480;
    preview.pageheightReal = 3508;
    preview.pixelsPerInch = 300;
    {
        PdfPageTarget target(file, preview, "Girl");
        // PDF pages are whole points: A4 is 595 x 842 pt, a pixel less across at 300 dpi.
        EXPECT_NEAR(target.painter().device()->width(), 2480, 1);
        EXPECT_NEAR(target.painter().device()->height(), 3508, 1);
        target.painter().setFont(QFont(QStringLiteral("Liberation Sans"), 12));
        target.painter().drawText(200, 300, "first page");
        target.painter().drawRect(100, 100, 2280, 3308);
        target.beginPage();
        target.painter().drawText(200, 300, "second page");
        // Nothing is in place before the document is finished.
        EXPECT_FALSE(QFileInfo::exists(file));
        target.finish();
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
    if (!havePoppler())
        GTEST_SKIP() << "pdftotext and pdfinfo are not installed";
    const QString info = runTool("pdfinfo", {file});
    EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+2\\b"))) << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts")))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Title:\\s+Girl\\n"))) << info.toStdString();
    const QString text = runTool("pdftotext", {file, "-"});
    EXPECT_TRUE(text.contains("first page")) << text.toStdString();
    EXPECT_TRUE(text.contains("second page")) << text.toStdString();
}

TEST_F(JobFixture, AnUnfinishedPdfLeavesNoFileAndKeepsAnOldOne)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("chart.pdf");
    preview.pagewidthReal = 595;
    preview.pageheightReal = 842;
    preview.pixelsPerInch = 72;
    {
        PdfPageTarget target(file, preview, "Girl");
        target.painter().drawText(20, 30, "cancelled");
    }
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));

    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    {
        PdfPageTarget target(file, preview, "Girl");
        target.painter().drawText(20, 30, "failed");
    }
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}

TEST_F(JobFixture, APdfInAMissingFolderIsAFailure)
{
    preview.pagewidthReal = 100;
    preview.pageheightReal = 100;
    preview.pixelsPerInch = 72;
    EXPECT_THROW(PdfPageTarget("/nonexistent-folder/x/chart.pdf", preview, "t"), QuillError);
}

// --- the runner ---

// The runner's signals come from its worker thread. They are received here the way the window
// receives them, queued to an object of this thread: a spy connected directly would record them
// on the worker thread and could miss a job that ends before the spy starts waiting.
TEST(PrintJobRunner, ReportsProgressCancelsAndFailsOnItsWorkerThread)
{
    PrintJobRunner runner;
    QObject receiver;
    QList<int> pages;
    QList<std::pair<bool, QString>> results;
    int cancelAt = 0;
    QObject::connect(&runner, &PrintJobRunner::progress, &receiver, [&](int page, int) {
        pages << page;
        if (page == cancelAt)
            runner.cancel();
    });
    QObject::connect(&runner, &PrintJobRunner::finished, &receiver,
                     [&](bool completed, const QString& error) { results.append({completed, error}); });
    const auto nextResult = [&](int timeout) {
        return QTest::qWaitFor([&] { return !results.isEmpty(); }, timeout);
    };

    // Completes: three pages reported.
    Qt::HANDLE worker = nullptr;
    ASSERT_TRUE(runner.start([&](const PrintJob::Progress& p) {
        worker = QThread::currentThreadId();
        for (int i = 1; i <= 3; ++i)
            if (!p(i, 3))
                return false;
        return true;
    }));
    ASSERT_TRUE(nextResult(10000));
    EXPECT_NE(worker, QThread::currentThreadId());
    EXPECT_EQ(pages, (QList<int>{1, 2, 3}));
    EXPECT_EQ(results.takeFirst(), std::make_pair(true, QString()));

    // Cancelled while it runs: the next question answers "stop".
    pages.clear();
    cancelAt = 2;
    ASSERT_TRUE(runner.start([&](const PrintJob::Progress& p) {
        for (int i = 1; i <= 1000; ++i) {
            if (!p(i, 1000))
                return false;
            QThread::msleep(2);
        }
        return true;
    }));
    ASSERT_TRUE(nextResult(20000));
    EXPECT_EQ(results.takeFirst(), std::make_pair(false, QString()));
    EXPECT_LT(pages.size(), 1000);

    // Fails at once: the message arrives all the same.
    cancelAt = 0;
    ASSERT_TRUE(runner.start([](const PrintJob::Progress&) -> bool {
        throw QuillError("Project was not printed");
    }));
    ASSERT_TRUE(nextResult(10000));
    EXPECT_EQ(results.takeFirst(), std::make_pair(false, QString("Project was not printed")));
}

} // namespace

// --- with the page painter ---

namespace {

// A 70 x 50 design in the small palette's four colours, laid out for export pages.
struct PaintedJob
{
    explicit PaintedJob(TPosition position)
    {
        const ColorKey colours[] = {kRed, kGreen, kWhite, kBlue};
        for (int y = 0; y < design.doc.height(); ++y)
            for (int x = 0; x < design.doc.width(); ++x)
                design.doc.updatePixel(x, y, keyToPixel(colours[(x / 3 + y / 2) % 4]), false);
        design.doc.CalcColorUsage();
        options.exportMode = true;
        keys = buildKeyList(design.doc);
        const TLayoutInput input = layoutInputFor(design.doc, keys, {});
        preview.position = position;
        preview.imagewidth = design.doc.width();
        preview.imageheight = design.doc.height();
        preview.calc(options, input);
    }
    SmallDesign design{70, 50};
    TPrintOptions options;
    TPreview preview;
    QList<TMyColor> keys;
};

} // namespace

TEST(PrintJobWithPainter, EveryPageOfTheTableIsOnePictureAndNoneIsBlank)
{
    for (TPosition position : {pSeparate, pRight, pBottom, pLeft, pTop}) {
        PaintedJob j(position);
        ASSERT_GT(j.preview.pageNumber, 1) << int(position);
        ImagePageTarget target(j.preview);
        PrintJob job({j.design.doc, j.design.stitch, j.preview, j.options, j.keys, {}});
        int asked = 0;
        ASSERT_TRUE(job.run(target, [&](int page, int pages) {
            ++asked;
            EXPECT_EQ(pages, j.preview.pageNumber);
            return true;
        }));
        const QList<QImage> pages = target.takePages();
        EXPECT_EQ(pages.size(), j.preview.pageNumber) << int(position);
        EXPECT_EQ(asked, j.preview.pageNumber) << int(position);
        for (int i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(pages[i].size(), QSize(j.preview.pagewidthReal, j.preview.pageheightReal));
            QImage white(pages[i].size(), pages[i].format());
            white.fill(Qt::white);
            EXPECT_NE(pages[i], white) << "page " << i + 1 << " of position " << int(position);
        }
    }
}
