// quillmark-cli layout, run as a separate process with its settings in a temporary folder and
// the shipped data: the JSON page table for picture and printer pages, the page options, and
// the exit codes of wrong use.
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::CliRun;

class LayoutCliTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        // A 30 x 20 design of five colours, converted from the shipped sample picture.
        const CliRun r = cli({"convert", testsupport::shippedDataDir() + "/samples/chelsea.png",
                              "-o", design(), "--size", "30", "--colors", "5"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    static QString design() { return s_dir->filePath("design.qvxp"); }

    static CliRun cli(const QStringList& args)
    {
        return testsupport::runCli(QStringLiteral(QUILLMARK_CLI), s_dir->filePath("settings.ini"),
                                   args);
    }

    static QJsonObject layout(const QStringList& options)
    {
        const CliRun r = cli(QStringList{"layout", design()} + options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object();
    }

    static QTemporaryDir* s_dir;
};

QTemporaryDir* LayoutCliTest::s_dir = nullptr;

} // namespace

TEST_F(LayoutCliTest, ExportPagesOfTheExportSettings)
{
    const QJsonObject l = layout({"--export"});
    const QJsonObject m = l["metrics"].toObject();
    EXPECT_EQ(m["pagewidth"].toInt(), 875);
    EXPECT_EQ(m["pageheight"].toInt(), 770);
    EXPECT_EQ(m["pagewidthReal"].toInt(), 900);
    EXPECT_EQ(m["pageheightReal"].toInt(), 800);
    EXPECT_EQ(m["gridWidthPx"].toDouble(), 20);
    EXPECT_EQ(m["gridHeightPx"].toDouble(), 20);
    EXPECT_EQ(m["borderPX"].toInt(), 30);
    EXPECT_EQ(m["keyWidthPx"].toInt(), 180);
    EXPECT_EQ(m["keyHeightPx"].toInt(), 18);
    EXPECT_EQ(m["titleHeightPx"].toInt(), 30);
    EXPECT_EQ(m["CommentHeightPX"].toInt(), 45);
    EXPECT_EQ(m["LegendDistance"].toInt(), 15);
    EXPECT_EQ(m["mmPx"].toDouble(), 3.0);
    EXPECT_EQ(m["inlineBorderPX"].toObject(),
              (QJsonObject{{"Left", 15}, {"Top", 15}, {"Right", 10}, {"Bottom", 15}}));

    // 30 x 20 cells fit on the first page; the key of five colours goes onto a page beside it.
    EXPECT_EQ(l["hpages"].toInt(), 2);
    EXPECT_EQ(l["vpages"].toInt(), 1);
    EXPECT_EQ(l["pageNumber"].toInt(), 2);
    const QJsonArray pages = l["pages"].toArray();
    ASSERT_EQ(pages.size(), 2);
    const QJsonObject first = pages[0].toObject();
    EXPECT_EQ(first["col"].toInt(), 0);
    EXPECT_EQ(first["row"].toInt(), 0);
    EXPECT_EQ(first["PrintStitches"].toString(), "psBoth");
    EXPECT_EQ(first["pageNum"].toInt(), 1);
    EXPECT_EQ(first["cellsX"].toInt(), 30);
    EXPECT_EQ(first["cellsY"].toInt(), 20);
    EXPECT_EQ(first["cellXLast"].toInt(), 29);
    EXPECT_EQ(first["xOffcetPx"].toInt(), 15);
    EXPECT_EQ(first["yOffcetPx"].toInt(), 90);
    EXPECT_TRUE(first["isLeft"].toBool());
    EXPECT_TRUE(first["isTop"].toBool());
    const QJsonObject key = pages[1].toObject();
    EXPECT_EQ(key["col"].toInt(), 1);
    EXPECT_TRUE(key["keysOnly"].toBool());
    EXPECT_EQ(key["keycount"].toInt(), 5);
    EXPECT_EQ(key["keycols"].toInt(), 1);
    for (const char* field : {"hasKeys", "keyOffset", "keyFirst", "KeyRestart", "cellYFirst",
                              "cellYLast", "cellXFirst"})
        EXPECT_TRUE(key.contains(field)) << field;
}

TEST_F(LayoutCliTest, PageOptionsChangeTheTable)
{
    struct Case
    {
        QStringList options;
        int pages;
        QStringList kinds; // of every page, in order
        QString position;
    } cases[] = {
        {{"--export", "--width", "300", "--height", "400", "--grid", "5"}, 2,
         {"psBoth", "psBoth"}, "pSeparate"},
        {{"--export", "--key", "right"}, 1, {"psBoth"}, "pRight"},
        {{"--export", "--no-legend"}, 1, {"psBoth"}, "pSeparate"},
        {{"--export", "--no-design", "--key", "top"}, 1, {"psBoth"}, "pSeparate"},
        {{"--export", "--title-page", "--info", "--contents", "--labels"}, 6,
         {"psBookHeader", "psBoth", "psBoth", "psLabels", "psContents", "psBookFooter"},
         "pSeparate"},
        {{"--export", "--page-numbers", "--no-inline-border", "--backstitches-separate"}, 2,
         {"psCrossStitchOnly", "psCrossStitchOnly"}, "pSeparate"},
        {{}, 2, {"psBoth", "psBoth"}, "pSeparate"},
        {{"--paper", "a3", "--landscape", "--grid", "1000", "--key", "left"}, 1, {"psBoth"}, "pLeft"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const QJsonObject l = layout(c.options);
        const QJsonArray pages = l["pages"].toArray();
        EXPECT_EQ(l["pageNumber"].toInt(), c.pages);
        QStringList kinds;
        for (const QJsonValue& p : pages)
            kinds << p.toObject()["PrintStitches"].toString();
        EXPECT_EQ(kinds.join(' ').toStdString(), c.kinds.join(' ').toStdString());
        EXPECT_EQ(l["position"].toString(), c.position);
    }

    const QJsonObject small = layout({"--export", "--width", "300", "--height", "400", "--grid", "5"});
    EXPECT_EQ(small["metrics"].toObject()["pagewidthReal"].toInt(), 300);
    EXPECT_EQ(small["metrics"].toObject()["pageheightReal"].toInt(), 400);
    EXPECT_EQ(small["metrics"].toObject()["gridWidthPx"].toDouble(), 5);
    // The stitch-steps pages follow the chart and key rows, left to right.
    int steps = 0;
    for (const QJsonValue& p : layout({"--export", "--stitch-steps"})["pages"].toArray()) {
        const QJsonObject page = p.toObject();
        if (page["PrintStitches"].toString() == "psStitchList") {
            EXPECT_EQ(page["row"].toInt(), 1 + steps / 2);
            EXPECT_EQ(page["col"].toInt(), steps % 2);
            ++steps;
        }
    }
    EXPECT_GE(steps, 1);
    const QJsonObject a3 = layout({"--paper", "a3", "--landscape", "--grid", "1000"});
    EXPECT_EQ(a3["metrics"].toObject()["pagewidthReal"].toInt(), 4961); // 420 mm at 300 dpi
    EXPECT_EQ(a3["metrics"].toObject()["pageheightReal"].toInt(), 3508);
    const QJsonObject a4 = layout({});
    EXPECT_EQ(a4["metrics"].toObject()["pagewidthReal"].toInt(), 2480);
    EXPECT_EQ(a4["metrics"].toObject()["pageheightReal"].toInt(), 3508);
    const QJsonObject numbered = layout({"--export", "--page-numbers", "--no-inline-border"});
    EXPECT_EQ(numbered["metrics"].toObject()["pageheight"].toInt(), 790);
}

TEST_F(LayoutCliTest, WrongUseAndUnreadableDesigns)
{
    struct Case
    {
        QStringList args;
        int exitCode;
    } cases[] = {
        {{"layout"}, 1},
        {{"layout", design(), "--key", "middle"}, 1},
        {{"layout", design(), "--width", "500"}, 1},          // picture size without --export
        {{"layout", design(), "--export", "--landscape"}, 1}, // paper with --export
        {{"layout", design(), "--export", "--grid", "0"}, 1},
        {{"layout", design(), "--grid", "50"}, 1},            // below 0.9 mm
        {{"layout", design(), "--paper", "b5"}, 1},
        {{"layout", design(), "--bogus"}, 1},
        {{"layout", design(), design()}, 1},
        {{"layout", design(), "--grid"}, 1},
        {{"layout", s_dir->filePath("missing.qvxp")}, 2},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n"
                                          << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << c.args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty());
    }
}
