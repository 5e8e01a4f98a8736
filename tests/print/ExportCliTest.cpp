// quillmark-cli export, run as a separate process with its settings in a temporary folder and
// the shipped data: pictures of the page size with the export names, one PDF file whose text
// holds the chart's symbols, no file replaced without --overwrite, and the exit codes.
#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include "files/DesignFile.h"
#include "session/Session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::CliRun;

class ExportCliTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        // A 60 x 40 design of six colours from the shipped sample: four export pages of chart
        // and a key page.
        const CliRun r = cli({"convert", testsupport::shippedDataDir() + "/samples/chelsea.png",
                              "-o", design(), "--size", "60", "--colors", "6"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    }
    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(m_out.isValid()); }

    static QString design() { return s_dir->filePath("Girl.qvxp"); }
    QString out(const QString& name) const { return m_out.filePath(name); }

    static CliRun cli(const QStringList& args)
    {
        return testsupport::runCli(QStringLiteral(QUILLMARK_CLI), s_dir->filePath("settings.ini"),
                                   args, 120000);
    }

    static int pageNumber(const QStringList& options)
    {
        const CliRun r = cli(QStringList{"layout", design()} + options);
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object()["pageNumber"].toInt();
    }

    // The symbols of the colours the design uses, as the application gives them.
    static QString usedSymbols()
    {
        Session session({s_dir->filePath("settings.ini"), testsupport::shippedDataDir()});
        session.initialise();
        openDesignFile(session.document(), design());
        const TStitch& st = session.stitch();
        QString symbols;
        for (const auto& [key, info] : st.Colors) {
            if (info.colorCount > 0)
                symbols += st.chars.symbolAt(info.charID);
        }
        return symbols;
    }

    static QTemporaryDir* s_dir;
    QTemporaryDir m_out;
};

QTemporaryDir* ExportCliTest::s_dir = nullptr;

bool havePoppler()
{
    return !QStandardPaths::findExecutable("pdftotext").isEmpty()
        && !QStandardPaths::findExecutable("pdfinfo").isEmpty();
}

QString tool(const QString& name, const QStringList& args)
{
    QProcess p;
    p.start(name, args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

TEST_F(ExportCliTest, PicturesOfThePageSizeWithTheExportNames)
{
    const int pages = pageNumber({"--export"});
    ASSERT_GE(pages, 2);
    const int digits = int(QString::number(pages).size());
    const struct
    {
        const char* type;
        const char* format;
        QStringList options;
        QSize size;
    } cases[] = {
        {"png", "png", {}, {900, 800}},
        {"jpeg", "jpeg", {}, {900, 800}},
        {"bmp", "bmp", {"--width", "700", "--height", "600", "--grid", "15"}, {700, 600}},
    };
    for (const auto& c : cases) {
        const QString folder = out(QStringLiteral("pictures/%1").arg(c.type));
        const CliRun r = cli(QStringList{"export", design(), "-o", folder, "--type", c.type} + c.options);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QStringList written = r.lines();
        const int expected = c.options.isEmpty() ? pages : pageNumber(QStringList{"--export"} + c.options);
        ASSERT_EQ(written.size(), expected) << c.type;
        for (int i = 0; i < written.size(); ++i) {
            const QString name = QStringLiteral("Girl_%1.%2")
                                     .arg(i + 1, digits, 10, QLatin1Char('0'))
                                     .arg(c.type);
            EXPECT_EQ(written[i], folder + "/" + name);
            QImageReader reader(written[i]);
            EXPECT_EQ(reader.format(), c.format);
            const QImage page = reader.read();
            EXPECT_EQ(page.size(), c.size) << written[i].toStdString();
            EXPECT_EQ(page.pixelColor(1, 1), QColor(Qt::white)) << "the corner is the page's border";
        }
        // Nothing else in the folder: no temporary left behind.
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
                  written.size());
    }
}

TEST_F(ExportCliTest, OnePdfWhoseTextHoldsTheSymbols)
{
    const QString pdf = out("charts/Girl.pdf");
    const CliRun r = cli({"export", design(), "-o", pdf});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.lines(), QStringList{pdf});
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.read(5) == "%PDF-");
    if (!havePoppler())
        GTEST_SKIP() << "pdftotext and pdfinfo are not installed";
    const QString info = tool("pdfinfo", {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(
        QStringLiteral("Pages:\\s+%1\\n").arg(pageNumber({})))))
        << info.toStdString();
    EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts")))
        << info.toStdString();
    const QString text = tool("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
    const QString symbols = usedSymbols();
    ASSERT_EQ(symbols.size(), 6);
    for (QChar s : symbols)
        EXPECT_TRUE(text.contains(s)) << "symbol U+" << QString::number(s.unicode(), 16).toStdString()
                                      << " is not text on the chart page";
}

TEST_F(ExportCliTest, NeverReplacesAFileUnlessTold)
{
    const QString folder = out("pictures");
    const CliRun first = cli({"export", design(), "-o", folder, "--type", "png"});
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const QStringList written = first.lines();
    ASSERT_FALSE(written.isEmpty());
    // One page replaced by other content: a refused export leaves it alone.
    QFile mine(written.last());
    ASSERT_TRUE(mine.open(QIODevice::WriteOnly | QIODevice::Truncate));
    mine.write("mine");
    mine.close();
    QFile::remove(written.first());

    const CliRun again = cli({"export", design(), "-o", folder, "--type", "png"});
    EXPECT_EQ(again.exitCode, 2);
    EXPECT_TRUE(again.out.isEmpty());
    EXPECT_EQ(QString::fromUtf8(again.err).count('\n'), 1) << again.err.toStdString();
    EXPECT_TRUE(again.err.contains("exists")) << again.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(written.first())) << "nothing written on a refusal";
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "mine");
    mine.close();

    const CliRun forced = cli({"export", design(), "-o", folder, "--type", "png", "--overwrite"});
    ASSERT_EQ(forced.exitCode, 0) << forced.err.toStdString();
    EXPECT_EQ(forced.lines(), written);
    EXPECT_EQ(QImage(written.last()).size(), QSize(900, 800));

    const QString pdf = out("Girl.pdf");
    ASSERT_EQ(cli({"export", design(), "-o", pdf}).exitCode, 0);
    EXPECT_EQ(cli({"export", design(), "-o", pdf}).exitCode, 2);
    EXPECT_EQ(cli({"export", design(), "-o", pdf, "--overwrite"}).exitCode, 0);
}

TEST_F(ExportCliTest, ExitCodesOfWrongUseAndFailures)
{
    QFile blocker(out("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QFile broken(out("broken.qvxp"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a design");
    broken.close();
    // A design whose name the export names cannot hold.
    const QString colon = out("a:b.qvxp");
    ASSERT_TRUE(QFile::copy(design(), colon));

    const struct
    {
        const char* what;
        QStringList args;
        int exitCode;
        const char* message;
    } cases[] = {
        {"no -o", {"export", design()}, 1, "-o"},
        {"no design", {"export", "-o", out("x")}, 1, "design"},
        {"unknown type", {"export", design(), "-o", out("x"), "--type", "gif"}, 1, "--type"},
        {"unknown option", {"export", design(), "-o", out("x"), "--colour"}, 1, "--colour"},
        {"paper for pictures", {"export", design(), "-o", out("x"), "--paper", "a3"}, 1, "--paper"},
        {"unreadable design", {"export", out("missing.qvxp"), "-o", out("x")}, 2, ""},
        {"broken design", {"export", out("broken.qvxp"), "-o", out("x")}, 2, ""},
        {"folder below a file", {"export", design(), "-o", out("file/x"), "--type", "png"}, 2,
         "Foldername is not valid"},
        {"name not valid", {"export", colon, "-o", out("x"), "--type", "png"}, 2,
         "Filename is not valid"},
        {"pdf below a file", {"export", design(), "-o", out("file/x.pdf")}, 2, ""},
    };
    for (const auto& c : cases) {
        const CliRun r = cli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.what << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << c.what << ": " << r.err.toStdString();
        if (c.exitCode == 2) {
            EXPECT_EQ(QString::fromUtf8(r.err).count('\n'), 1) << c.what << ": " << r.err.toStdString();
        }
    }
    EXPECT_FALSE(QFileInfo::exists(out("x")));
}

TEST_F(ExportCliTest, PdfPagesFollowThePaperOptions)
{
    if (!havePoppler())
        GTEST_SKIP() << "pdfinfo is not installed";
    const struct
    {
        QStringList options;
        const char* pageSize; // as pdfinfo reports it, in points
    } cases[] = {
        {{}, "595(\\.\\d+)? x 84[12](\\.\\d+)? pts"},
        {{"--landscape"}, "84[12](\\.\\d+)? x 595(\\.\\d+)? pts"},
        {{"--paper", "letter"}, "612 x 792 pts"},
        // Export-sized pages: the picture's pixels at 72 dpi.
        {{"--export", "--width", "600", "--height", "500"}, "600 x 500 pts"},
    };
    for (const auto& c : cases) {
        const QString pdf = out("paper.pdf");
        const CliRun r = cli(QStringList{"export", design(), "-o", pdf, "--overwrite"} + c.options);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QString info = tool("pdfinfo", {pdf});
        EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+") + c.pageSize)))
            << c.options.join(' ').toStdString() << "\n" << info.toStdString();
        EXPECT_TRUE(info.contains(QRegularExpression(
            QStringLiteral("Pages:\\s+%1\\n").arg(pageNumber(c.options)))))
            << c.options.join(' ').toStdString() << "\n" << info.toStdString();
    }
}
