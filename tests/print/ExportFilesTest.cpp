// The export's files: the numbered names (the "#" rule and the digits of the page count), the
// refused names, the dialog's default folder and file name, and the picture writer (folder
// made with its parents, pictures readable at the page size, nothing half written, nothing
// replaced without being asked).
#include "print/ExportFiles.h"

#include "core/QuillError.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct NameCase
{
    const char* fileName;
    TExportType type;
    int pages;
    QStringList expected; // first, [second,] last
};

TEST(ExportFileNames, FollowTheHashRuleAndTheDigitsOfThePageCount)
{
    const NameCase cases[] = {
        {"Girl_#.png", etJPEG, 12, {"Girl_01.jpeg", "Girl_02.jpeg", "Girl_12.jpeg"}},
        {"Girl.jpeg", etJPEG, 3, {"1Girl.jpeg", "2Girl.jpeg", "3Girl.jpeg"}},
        {"Girl", etPNG, 10, {"01Girl.png", "02Girl.png", "10Girl.png"}},
        {"Girl_#.BMP", etBMP, 9, {"Girl_1.bmp", "Girl_2.bmp", "Girl_9.bmp"}},
        {"Girl_#.BMP", etBMP, 10, {"Girl_01.bmp", "Girl_02.bmp", "Girl_10.bmp"}},
        {"p#.png", etPNG, 100, {"p001.png", "p002.png", "p100.png"}},
        {"p#.png", etPNG, 1, {"p1.png"}},
        // Only the first "#" is the place of the number.
        {"a#b#.png", etPNG, 2, {"a1b#.png", "a2b#.png"}},
        // The extension is the part after the last ".".
        {"my.chart_#.JPEG", etPNG, 2, {"my.chart_1.png", "my.chart_2.png"}},
        // A "#" in the extension numbers the end of the name.
        {"Girl.p#ng", etPNG, 2, {"Girl1.png", "Girl2.png"}},
    };
    for (const NameCase& c : cases) {
        const QStringList names = exportFileNames(QString(), c.fileName, c.type, c.pages);
        ASSERT_EQ(names.size(), c.pages) << c.fileName;
        EXPECT_EQ(names.first(), c.expected.first()) << c.fileName;
        EXPECT_EQ(names.last(), c.expected.last()) << c.fileName;
        if (c.expected.size() == 3) {
            EXPECT_EQ(names.at(1), c.expected.at(1)) << c.fileName;
        }
    }
}

TEST(ExportFileNames, GoIntoTheFolder)
{
    for (const QString folder : {"/tmp/out", "/tmp/out/"})
        EXPECT_EQ(exportFileNames(folder, "Girl_#.png", etPNG, 2),
                  (QStringList{"/tmp/out/Girl_1.png", "/tmp/out/Girl_2.png"}))
            << folder.toStdString();
    EXPECT_TRUE(exportFileNames("/tmp", "a#.png", etPNG, 0).isEmpty());
}

TEST(ExportFileNames, RefusesTheCharactersNoFileNameMayHold)
{
    for (const char* bad : {"a\"b#.png", "a*#.png", "a/b#.png", "C:#.png", "a<#.png", "a>#.png",
                            "a?#.png", "a\\b#.png", "a|#.png", "", "   "})
        EXPECT_EQ(checkExportFileName(bad), kFilenameNotValid) << bad;
    for (const char* good : {"Girl_#.png", "a b #.jpeg", "Mädchen_#.PNG", "#", "no-hash.bmp"})
        EXPECT_EQ(checkExportFileName(QString::fromUtf8(good)), QString()) << good;
}

TEST(ExportFileNames, DefaultFileNameFromTheDesignFile)
{
    const struct
    {
        const char* design;
        TExportType type;
        const char* expected;
    } cases[] = {
        {"/home/u/Girl.qvxp", etJPEG, "Girl_#.JPEG"},
        {"/home/u/Girl.qvxp", etBMP, "Girl_#.BMP"},
        {"/home/u/Girl.qvxp", etPNG, "Girl_#.PNG"},
        {"/home/u/my.girl.qvxp", etPNG, "my.girl_#.PNG"},
        {"/home/u/Girl", etJPEG, "_#Girl.JPEG"},
        {"/home/u/Girl.qvxp", etPDF, "Girl.pdf"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultExportFileName(c.design, c.type), c.expected) << c.design;
}

TEST(ExportFolder, DefaultsAsTheDialogShowsIt)
{
    const struct
    {
        const char* what;
        TExportFolderInput in;
        const char* expected;
    } cases[] = {
        {"no file name: the most recent file's folder",
         {"/shown", false, false, "/d/New.qvxp", {"/r/one.qvxp", "/s/two.qvxp"}, "/save"},
         "/r"},
        {"no file name and no recent file: the save folder",
         {"/shown", false, false, "/d/New.qvxp", {}, "/save"},
         "/save"},
        // Unsaved changes take the design's folder, never a folder named like the design file.
        {"file name and unsaved changes: the design's folder",
         {"/shown", true, false, "/d/Girl.qvxp", {"/r/one.qvxp"}, "/save"},
         "/d"},
        {"file name, saved: the folder shown stays",
         {"/shown", true, true, "/d/Girl.qvxp", {"/r/one.qvxp"}, "/save"},
         "/shown"},
        {"file name, saved, nothing shown yet: the design's folder",
         {"", true, true, "/d/Girl.qvxp", {}, "/save"},
         "/d"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(defaultExportFolder(c.in), c.expected) << c.what;
}

TEST(ExportTypes, NamesAndCaptions)
{
    const struct
    {
        const char* name;
        TExportType type;
        const char* caption;
        const char* extension;
    } cases[] = {{"jpeg", etJPEG, ".JPEG", ".jpeg"},
                 {"BMP", etBMP, ".BMP", ".bmp"},
                 {"png", etPNG, ".PNG", ".png"},
                 {"pdf", etPDF, "PDF file", ".pdf"}};
    for (const auto& c : cases) {
        TExportType t = etPDF;
        ASSERT_TRUE(exportTypeFromName(c.name, t)) << c.name;
        EXPECT_EQ(t, c.type);
        EXPECT_EQ(exportTypeCaption(t), c.caption);
        EXPECT_EQ(exportTypeExtension(t), c.extension);
    }
    TExportType t = etPNG;
    EXPECT_FALSE(exportTypeFromName("gif", t));
}

// --- writing ---

class ExportWriterTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString path(const QString& name) const { return m_dir.filePath(name); }
    static QImage page(QRgb colour, int w = 90, int h = 80)
    {
        QImage img(w, h, QImage::Format_ARGB32);
        img.fill(colour);
        return img;
    }
    // Every entry of a folder, hidden ones included.
    static QStringList entries(const QString& folder)
    {
        return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                      QDir::Name);
    }
    QTemporaryDir m_dir;
};

TEST_F(ExportWriterTest, WritesReadablePicturesOfEveryTypeIntoANewFolder)
{
    const struct
    {
        TExportType type;
        const char* format;
    } cases[] = {{etJPEG, "jpeg"}, {etBMP, "bmp"}, {etPNG, "png"}};
    for (const auto& c : cases) {
        const QString folder = path(QStringLiteral("a/b/%1").arg(c.format));
        ExportPictureWriter writer(folder, "Girl_#.png", c.type, 70);
        writer.add(page(qRgb(255, 0, 0)));
        writer.add(page(qRgb(0, 0, 255)));
        const QStringList written = writer.commit(false);
        ASSERT_EQ(written.size(), 2);
        EXPECT_EQ(entries(folder), (QStringList{QStringLiteral("Girl_1") + exportTypeExtension(c.type),
                                                QStringLiteral("Girl_2") + exportTypeExtension(c.type)}));
        for (int i = 0; i < 2; ++i) {
            QImageReader reader(written[i]);
            EXPECT_EQ(reader.format(), c.format) << written[i].toStdString();
            const QImage back = reader.read();
            ASSERT_EQ(back.size(), QSize(90, 80)) << written[i].toStdString();
            const QColor centre = back.pixelColor(45, 40);
            const QColor expected = i == 0 ? QColor(255, 0, 0) : QColor(0, 0, 255);
            EXPECT_NEAR(centre.red(), expected.red(), 8);
            EXPECT_NEAR(centre.blue(), expected.blue(), 8);
        }
        const QFile::Permissions perms = QFileInfo(written[0]).permissions();
        EXPECT_TRUE(perms & QFile::ReadOther) << "an ordinary file, not one private to its owner";
    }
}

TEST_F(ExportWriterTest, JpegQualityIsUsed)
{
    QImage noisy(200, 200, QImage::Format_ARGB32);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 200; ++x)
            noisy.setPixel(x, y, qRgb((x * 37 + y * 11) % 256, (x * y) % 256, (x + y * 53) % 256));
    qint64 sizes[2] = {};
    const int qualities[2] = {10, 100};
    for (int i = 0; i < 2; ++i) {
        ExportPictureWriter writer(path(QString::number(i)), "q#.jpeg", etJPEG, qualities[i]);
        writer.add(noisy);
        sizes[i] = QFileInfo(writer.commit(false).first()).size();
    }
    EXPECT_LT(sizes[0] * 2, sizes[1]);
}

TEST_F(ExportWriterTest, NothingIsWrittenBeforeTheCommitNorWithoutIt)
{
    const QString folder = path("out");
    {
        ExportPictureWriter writer(folder, "p#.png", etPNG, 70);
        writer.add(page(qRgb(1, 2, 3)));
        writer.add(page(qRgb(1, 2, 3)));
        EXPECT_EQ(writer.fileNames(), (QStringList{folder + "/p1.png", folder + "/p2.png"}));
        EXPECT_TRUE(existingFiles(writer.fileNames()).isEmpty());
    }
    // Dropped without a commit (a cancelled or failed job): no page and no temporary is left.
    EXPECT_TRUE(entries(folder).isEmpty()) << entries(folder).join(",").toStdString();
}

TEST_F(ExportWriterTest, RefusesToReplaceAnExistingFileUnlessAsked)
{
    const QString folder = path("out");
    QDir().mkpath(folder);
    QFile old(folder + "/p2.png");
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("keep me");
    old.close();

    EXPECT_EQ(existingFiles(exportFileNames(folder, "p#.png", etPNG, 3)),
              QStringList{folder + "/p2.png"});
    {
        ExportPictureWriter writer(folder, "p#.png", etPNG, 70);
        for (int i = 0; i < 3; ++i)
            writer.add(page(qRgb(9, 9, 9)));
        try {
            writer.commit(false);
            ADD_FAILURE() << "an existing file was replaced without asking";
        } catch (const QuillError& e) {
            EXPECT_EQ(e.message(), fileExistsMessage(folder + "/p2.png"));
        }
    }
    // None of the pages went in, the old file is untouched, no temporary is left.
    EXPECT_EQ(entries(folder), QStringList{"p2.png"});
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "keep me");
    old.close();

    ExportPictureWriter writer(folder, "p#.png", etPNG, 70);
    for (int i = 0; i < 3; ++i)
        writer.add(page(qRgb(9, 9, 9)));
    EXPECT_EQ(writer.commit(true).size(), 3);
    EXPECT_EQ(entries(folder), (QStringList{"p1.png", "p2.png", "p3.png"}));
    EXPECT_EQ(QImage(folder + "/p2.png").size(), QSize(90, 80));
}

TEST_F(ExportWriterTest, RefusesABadNameOrFolderBeforeWritingAnything)
{
    // A folder below an ordinary file cannot be made.
    QFile blocker(path("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const struct
    {
        QString folder;
        const char* fileName;
        const char* message;
    } cases[] = {
        {path("new"), "bad:name#.png", kFilenameNotValid},
        {path("new"), "", kFilenameNotValid},
        {path("file/below"), "good#.png", kFoldernameNotValid},
        {path("file"), "good#.png", kFoldernameNotValid},
        {QString(), "good#.png", kFoldernameNotValid},
    };
    for (const auto& c : cases) {
        try {
            ExportPictureWriter writer(c.folder, c.fileName, etPNG, 70);
            ADD_FAILURE() << c.fileName << " in " << c.folder.toStdString() << " was accepted";
        } catch (const QuillError& e) {
            EXPECT_EQ(e.message(), c.message) << c.folder.toStdString();
        }
    }
    // The name is checked before the folder is made.
    EXPECT_FALSE(QFileInfo::exists(path("new")));
}

} // namespace
