// The pages around the table: the stitch-steps list (row headings, runs of one colour,
// background runs, column and page breaks with their footers), label sheet geometry and label
// page counts, the title page, the table of contents and the information page.
#include "PagePainterSupport.h"
#include "print/KeyList.h"
#include "print/PrintFonts.h"
#include "support/SmallDesign.h"
#include "support/TestSupport.h"

#include <QFontMetrics>
#include <QPdfWriter>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace testsupport;
using namespace printtest;

namespace {

class ExtraPagesTest : public ::testing::Test
{
protected:
    ExtraPagesTest() : design(6, 4), v(smallPreview())
    {
        TStitch& s = design.stitch;
        s.symbolSize = 100;
        s.len = s.backlen = 0.01;
        s.BagSize = 200;
        s.LabelGridHor = 10;
        s.LabelGridVert = 27;
        s.LabelBorderLeft = 40;
        s.LabelBorderTop = 135;
        s.LabelBorderRight = 40;
        s.LabelBorderBottom = 135;
        s.LabelWidth = 178;
        s.LabelHeight = 100;
        s.Title = QStringLiteral("Rose");
        s.SubTitle = QStringLiteral("Created with KORVALD Quillmark");
    }

    PrintContext context() { return {design.doc, design.stitch, v, opt, keys, steps}; }

    template <typename Draw>
    Recorded record(Draw draw)
    {
        RecordingTarget target(QSize(v.pagewidthReal, v.pageheightReal));
        const PrintContext ctx = context();
        PagePainter painter(ctx, target);
        painter.beginJob();
        draw(painter);
        return target.rec;
    }

    TMyColor entry(ColorKey c, qint32 count) { return keyEntry(design, c, count); }

    SmallDesign design;
    TPreview v;
    TPrintOptions opt;
    QList<TMyColor> keys;
    QList<TStitchListItem> steps;
};

TEST_F(ExtraPagesTest, StitchStepsListHasRowHeadingsColourRunsAndBackgroundRuns)
{
    for (int x = 0; x < 6; ++x)
        design.doc.updatePixel(x, 0, kRed, false); // row 1: one run of red
    design.doc.updatePixel(2, 2, kGreen, false);   // row 3: background, green, background
    steps = buildStitchSteps(design.doc);
    opt.stitchList = true;
    const Recorded r = record([](PagePainter& p) { p.drawStitchSteps(); });
    EXPECT_EQ(r.strings(), (QStringList{"Stitch Steps List", "1. row", "6 x [", "] Red", "2. row",
                                        "6 x BackGround", "3. row", "2 x BackGround", "1 x [",
                                        "] Green", "3 x BackGround", "4. row", "6 x BackGround"}));
    EXPECT_EQ(r.page, 0);
}

TEST_F(ExtraPagesTest, StitchStepsBreakIntoColumnsAndPagesWithTheirPageNumbers)
{
    steps = buildStitchSteps(design.doc); // four empty rows: eight lines
    opt.stitchList = true;
    opt.pageNumbers = true;
    // Three lines a column (the usable height of 132 below the border, less the 40-pixel
    // title line, holds three of 24 pixels), one column a page.
    v.pageheight = 60 + 3 * 24;
    v.pagewidth = 300;
    TMyPage listPage;
    listPage.PrintStitches = psStitchList;
    listPage.pageNum = 3;
    v.pages[{0, 2}] = listPage;
    listPage.pageNum = 4;
    v.pages[{1, 2}] = listPage;
    const Recorded r = record([](PagePainter& p) { p.drawStitchSteps(); });
    EXPECT_EQ(r.page, 2); // three pages: the last one holds the last two lines, none is empty
    EXPECT_EQ(r.strings().filter(QStringLiteral("Page:")),
              (QStringList{"Page: 3/5", "Page: 4/5", "Page: 5/5"}));
    EXPECT_EQ(r.strings().count(QStringLiteral("6 x BackGround")), 4);
}

// The list takes the pages the layout reserved for it, no more, with the inline border on
// and off: a design whose list just fits them.
TEST_F(ExtraPagesTest, StitchStepsFillTheLayoutsListPagesAndStayOnTheUsablePage)
{
    opt.exportMode = true;
    opt.stitchList = true;
    opt.pageNumbers = true;
    for (const bool border : {true, false}) {
        SCOPED_TRACE(testing::Message() << "border " << border);
        opt.inlineBorder = border;
        // Lines a page: list columns a page times lines a column below the title line.
        TLayoutInput in;
        in.width = 3;
        in.height = 1;
        v = TPreview();
        v.calc(opt, in);
        const int perPage = (v.pagewidth / v.keyWidthPx)
            * ((v.pageheight - v.titleHeightPx) / v.keyHeightPx);
        // Empty rows give two lines each (heading and background run); with the layout's
        // one line to spare, H + 2H + 1 lines fill two pages exactly or nearly.
        const int rows = (2 * perPage - 1) / 2;
        design.doc.CreateNewTemplate(3, rows, QStringLiteral("Shapes"), QStringLiteral("Small"));
        steps = buildStitchSteps(design.doc);
        in.height = rows;
        in.stitchListLength = int(steps.size());
        v = TPreview();
        v.calc(opt, in);
        QStringList footers;
        for (const auto& [pos, page] : v.pages)
            if (page.PrintStitches == psStitchList)
                footers.append(QStringLiteral("Page: %1/%2").arg(page.pageNum).arg(v.pageNumber));
        ASSERT_EQ(footers.size(), 2);
        const Recorded r = record([](PagePainter& p) { p.drawStitchSteps(); });
        EXPECT_EQ(r.strings().filter(QStringLiteral("Page:")), footers);
        EXPECT_EQ(r.strings().count(QStringLiteral("3 x BackGround")), rows);
        const int x0 = border ? v.borderLeftPx() : 0, y0 = border ? v.borderTopPx() : 0;
        for (const auto& t : r.texts) {
            if (t.text.startsWith(QStringLiteral("Page:")))
                continue;
            EXPECT_GE(t.baseline.x(), x0);
            EXPECT_LT(t.baseline.x(), x0 + v.pagewidth);
            EXPECT_GT(t.baseline.y(), y0);
            EXPECT_LT(t.baseline.y(), y0 + v.pageheight) << t.text.toStdString();
        }
    }
}

TEST_F(ExtraPagesTest, LabelRectanglesSpreadOverTheA4Sheet)
{
    struct Case
    {
        const char* what;
        qint32 gridHor, width;
        int row, col;
        QRect rect;
    };
    // 10 mm per pixel-millimetre for readable numbers: labels of 17.8 x 10 mm, 4 and 13.5 mm
    // borders, gaps of (210 - 186) / 9 = 2.667 mm across and 0 down.
    const Case cases[] = {
        {"first label", 10, 178, 0, 0, QRect(QPoint(40, 135), QPoint(217, 234))},
        {"second in the row", 10, 178, 0, 1, QRect(QPoint(245, 135), QPoint(422, 234))},
        {"last of the sheet ends at the right and bottom borders", 10, 178, 26, 9,
         QRect(QPoint(1882, 2735), QPoint(2059, 2834))},
        {"labels wider than the sheet: no negative gap", 10, 250, 0, 1,
         QRect(QPoint(290, 135), QPoint(539, 234))},
        {"one label a row: no gap", 1, 178, 1, 0, QRect(QPoint(40, 235), QPoint(217, 334))},
    };
    for (const Case& c : cases) {
        design.stitch.LabelGridHor = c.gridHor;
        design.stitch.LabelWidth = c.width;
        EXPECT_EQ(labelRect(design.stitch, 10, c.row, c.col), c.rect) << c.what;
    }
}

TEST_F(ExtraPagesTest, LabelSheetsHoldTwoHundredSeventyLabels)
{
    opt.labels = true;
    struct Case
    {
        int entries, pages, labelsOnLastPage;
    };
    for (const Case c : {Case{1, 1, 1}, Case{270, 1, 270}, Case{271, 2, 1}}) {
        keys.clear();
        for (int i = 0; i < c.entries; ++i)
            keys.append(entry(i % 2 ? kRed : kGreen, 10));
        const Recorded r = record([](PagePainter& p) { p.drawLabels(); });
        // Each label writes its name once.
        int names = 0, onLast = 0;
        for (const auto& t : r.texts)
            if (t.text == QLatin1String("Red") || t.text == QLatin1String("Green")) {
                ++names;
                onLast += t.page == r.page;
            }
        EXPECT_EQ(r.page + 1, c.pages) << c.entries;
        EXPECT_EQ(names, c.entries) << c.entries;
        EXPECT_EQ(onLast, c.labelsOnLastPage) << c.entries;
    }
    keys.clear();
    EXPECT_EQ(record([](PagePainter& p) { p.drawLabels(); }).texts.size(), 0);
}

// A full sheet of labels on the layout's pages: on paper at the page's millimetres, on the
// default 900 x 800 picture pages shrunk so that the last row stays on the picture.
TEST_F(ExtraPagesTest, AFullLabelSheetLiesOnThePage)
{
    struct Case
    {
        const char* what;
        bool exportMode;
        double scale;
    };
    TLayoutInput in;
    in.width = in.height = 10;
    const Case cases[] = {{"picture pages", true, 800 / 297.0}, {"A4 at 300 dpi", false, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        opt.exportMode = c.exportMode;
        v = TPreview();
        if (!c.exportMode)
            v.setPrinterMetrics({210, 297, 2480, 3508, 300}, opt, in);
        v.calc(opt, in);
        const double scale = labelSheetScale(v, c.exportMode);
        EXPECT_DOUBLE_EQ(scale, c.exportMode ? c.scale : v.mmPx);
        const QRect page(0, 0, v.pagewidthReal, v.pageheightReal);
        for (int row = 0; row < 27; ++row)
            for (int col = 0; col < 10; ++col)
                EXPECT_TRUE(page.contains(labelRect(design.stitch, scale, row, col)))
                    << row << "," << col;
        // Every label's texts are drawn on the page.
        opt.labels = true;
        keys.clear();
        for (int i = 0; i < 270; ++i)
            keys.append(entry(kRed, 10));
        const Recorded r = record([](PagePainter& p) { p.drawLabels(); });
        EXPECT_EQ(r.page, 0);
        EXPECT_EQ(r.strings().count(QStringLiteral("Red")), 270);
        for (const auto& t : r.texts)
            EXPECT_TRUE(page.contains(t.baseline.toPoint())) << t.baseline.y();
    }
}

TEST_F(ExtraPagesTest, LabelShowsNameAndNumberCentred)
{
    opt.labels = true;
    keys = {entry(kRed, 10)};
    const Recorded r = record([](PagePainter& p) { p.drawLabels(); });
    EXPECT_EQ(r.strings(), (QStringList{"Red", "321"}));
    // On an A4 page at 300 dpi the name's line and the number's share at most one pixel row
    // (rounding), the number ends on the label's bottom, and both lie on the label.
    v.mmPx = 2480 / 210.0;
    const QRect label = labelRect(design.stitch, v.mmPx, 0, 0);
    const Recorded r300 = record([](PagePainter& p) { p.drawLabels(); });
    QList<Recorded::Text> texts;
    for (const auto& t : r300.texts)
        if (t.text == QLatin1String("Red") || t.text == QLatin1String("321"))
            texts.append(t);
    ASSERT_EQ(texts.size(), 2);
    auto line = [](const Recorded::Text& t) {
        QFont f = printFont(kPrintSansFamily, 1, 72);
        f.setPixelSize(t.pixelSize);
        const QFontMetrics fm(f);
        return QRect(t.baseline.toPoint() - QPoint(0, fm.ascent()),
                     QSize(fm.horizontalAdvance(t.text), fm.height()));
    };
    const QRect name = line(texts[0]), number = line(texts[1]);
    EXPECT_TRUE(label.contains(name));
    EXPECT_TRUE(label.contains(number));
    EXPECT_LE(name.bottom(), number.top());
    EXPECT_EQ(number.bottom(), label.bottom());
    design.stitch.Colors.find(kRed)->colorID = QStringLiteral("Red");
    EXPECT_EQ(record([](PagePainter& p) { p.drawLabels(); }).strings(), QStringList{"Red"});
}

TEST_F(ExtraPagesTest, TitlePageShowsHeadingPictureTitleCommentFileAndSubtitle)
{
    design.stitch.comment = {"one", "two", "three", "four", "five"};
    design.stitch.setFilename(QStringLiteral("/x/y/rose.qvxp"));
    for (int x = 0; x < 6; ++x)
        design.doc.updatePixel(x, 1, kBlue, false);
    const Recorded r = record([](PagePainter& p) { p.drawTitlePage(); });
    EXPECT_EQ(r.strings(), (QStringList{"Design", "Rose", "one", "two", "three", "rose.qvxp",
                                        "Created with KORVALD Quillmark"}));
    design.stitch.comment.clear();
    EXPECT_EQ(record([](PagePainter& p) { p.drawTitlePage(); }).strings().size(), 4);

    // The picture: 264 pixels of height for 6 cells across gives 44 pixels a cell, centred.
    ImageTarget target(QSize(v.pagewidthReal, v.pageheightReal));
    const PrintContext ctx = context();
    PagePainter painter(ctx, target);
    painter.drawTitlePage();
    const QImage img = target.current();
    const int k = Rnd(0.528 * 500) / 6, x = (600 - 6 * k) / 2;
    const int y = Rnd(0.194 * 500) + (6 * k - 4 * k) / 2;
    const QRgb blueCell = img.pixel(x + k / 2, y + k + k / 2);
    EXPECT_GT(qBlue(blueCell), qRed(blueCell) + 40) << "a blue cell in row 1";
    EXPECT_EQ(img.pixel(x - 2, y + k), qRgb(255, 255, 255)) << "white left of the picture";
}

TEST_F(ExtraPagesTest, ContentsPageDrawsTheHeadingAndEveryPageOfTheTable)
{
    opt.contents = true;
    v.hpages = 2;
    v.vpages = 2;
    int n = 0;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col) {
            TMyPage page = chartPage(v, 0, 8, 0, 6, col == 0, row == 0);
            page.pageNum = ++n;
            v.pages[{col, row}] = page;
        }
    v.pages[{1, 1}].PrintStitches = psContents;
    v.pageNumber = n;
    opt.pageNumbers = true;
    const Recorded r = record([](PagePainter& p) { p.drawContents(); });
    EXPECT_EQ(r.strings(), (QStringList{"Contents", "1", "2", "3", "4", "Page: 4/4"}));
}

TEST_F(ExtraPagesTest, InformationPageWritesTheBookInformationAsText)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (tools/install-deps.sh)";
    opt.info = true;
    design.stitch.BookInfo = QStringLiteral("<p>Stitched by <b>Anna</b> in winter.</p>");
    v.pixelsPerInch = 300;
    v.pagewidthReal = 2480;
    v.pageheightReal = 3508;
    const QString pdf = currentTestPath(QStringLiteral(".pdf"));
    {
        QPdfWriter writer(pdf);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        printtest::PainterTarget target;
        target.p.begin(&writer);
        const PrintContext ctx = context();
        PagePainter painter(ctx, target);
        painter.drawInfoPage();
        target.p.end();
    }
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(run.waitForFinished(30000));
    const QString text = QString::fromUtf8(run.readAllStandardOutput());
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QStringList trimmed;
    for (const QString& l : lines)
        if (!l.trimmed().isEmpty())
            trimmed.append(l.trimmed());
    EXPECT_EQ(trimmed, (QStringList{"Info", "Stitched by Anna in winter.",
                                    "Created with KORVALD Quillmark",
                                    "https://quillmark.example.org"}));
}

} // namespace
