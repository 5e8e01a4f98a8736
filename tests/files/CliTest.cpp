// quillmark-cli's file commands, run as a separate process with its settings in a temporary
// folder and the shipped data: new, save-as and info, their exit codes, and that a failing
// command writes nothing.
#include "FileTestSupport.h"

#include "support/CliRunner.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <unistd.h>

using namespace filetest;

namespace {

using testsupport::CliRun;

QJsonObject withoutOrder(QJsonObject s)
{
    QJsonArray colours;
    for (const QJsonValue& c : s["colors"].toArray()) {
        QJsonObject o = c.toObject();
        o.remove("orderID");
        colours.append(o);
    }
    s["colors"] = colours;
    return s;
}

class CliTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        // Open to everyone, so that the unprivileged run below can use it too.
        QFile::setPermissions(m_dir.path(), QFile::Permissions(0x7777));
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    CliRun cli(const QStringList& args, uid_t asUser = uid_t(-1))
    {
        std::function<void()> asOtherUser;
        if (asUser != uid_t(-1)) {
            asOtherUser = [asUser] {
                if (setgid(asUser) != 0 || setuid(asUser) != 0)
                    _exit(99);
            };
        }
        return testsupport::runCli(QStringLiteral(QUILLMARK_CLI), path("settings.ini"), args,
                                   60000, asOtherUser);
    }

    QJsonObject info(const QString& file, bool cells = false)
    {
        const CliRun r = cli(cells ? QStringList{"info", file, "--cells"} : QStringList{"info", file});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        return QJsonDocument::fromJson(r.out).object();
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path(name);
    }

    QTemporaryDir m_dir{QDir::tempPath() + "/quillmark-cli-XXXXXX"};
};

} // namespace

TEST_F(CliTest, NewWritesADesignThatInfoReads)
{
    const QString out = path("new.qvxp");
    const CliRun r = cli({"new", "-o", out, "--width", "7", "--height", "4", "--palette", "Anchor",
                       "--characters", "Bold Shapes"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    const QJsonObject s = info(out, true);
    EXPECT_EQ(s["width"].toInt(), 7);
    EXPECT_EQ(s["height"].toInt(), 4);
    EXPECT_EQ(s["palette"].toString(), "Anchor");
    EXPECT_EQ(s["characters"].toString(), "Bold Shapes");
    EXPECT_EQ(s["font"].toString(), "KorvaldArtSymbols110");
    EXPECT_EQ(s["background"].toString(), "#FFFFFF");
    EXPECT_EQ(s["usedColors"].toInt(), 0);
    EXPECT_GT(s["colors"].toArray().size(), 10);
    EXPECT_EQ(s["cells"].toArray().size(), 4);
    EXPECT_EQ(s["cells"].toArray()[0].toArray(), QJsonArray({QJsonValue(), QJsonValue(), QJsonValue(), QJsonValue(),
                                                            QJsonValue(), QJsonValue(), QJsonValue()}));
    EXPECT_EQ(s["quarters"].toArray().size(), 8);
    EXPECT_FALSE(info(out).contains("cells"));

    // Without -o the summary is printed and nothing is written.
    const CliRun summary = cli({"new", "--width", "7", "--height", "4"});
    EXPECT_EQ(summary.exitCode, 0);
    EXPECT_TRUE(summary.out.contains("Design: 7 x 4 cells"));
}

TEST_F(CliTest, SaveAsWritesWhatTheApplicationOpens)
{
    // A text design and a native design of HEAD version 3 become native files that read the
    // same as the originals.
    QByteArray stv = text("STV") + text("R") + be16(1) + text("") + text("WIDTH") + be16(2)
        + text("HEIGHT") + be16(1) + text("COLORS") + be16(1) + text("BACKCOLOR") + be16(0)
        + text("COLORTABEL") + text("Old threads") + text("ENDHEADER") + text("D") + text("STICKCOL")
        + QByteArray("\x00" "A" "\x00" "\x11\x22\x33\x00", 7) + u16(5) + text("DATA")
        + QByteArray("\x00\x01", 2) + text("END");
    QvxLayout old;
    old.headVersion = 3;
    for (const QString& input : {write("old.stv", stv), write("old.qvx", old.bytes())}) {
        SCOPED_TRACE(input.toStdString());
        const QString out = path("converted.qvxp");
        QFile::remove(out);
        const CliRun r = cli({"save-as", input, "-o", out});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(QFileInfo::exists(out));
        // Saving numbers the colours in palette order; everything else is the same.
        EXPECT_EQ(withoutOrder(info(out, true)), withoutOrder(info(input, true)));
    }
    EXPECT_EQ(info(path("old.stv"))["palette"].toString(), "Old threads");
    EXPECT_EQ(info(path("old.qvx"))["backStitches"].toArray(), (QJsonArray{QJsonArray{0, 0, 4, 4, "#FF0000"}}));
}

TEST_F(CliTest, FailuresExitWithOneLineAndWriteNothing)
{
    const QString good = write("good.qvxp", QvxLayout().bytes());
    const QString damaged = write("damaged.qvxp", QvxLayout().bytes().left(100));
    const QString other = write("notes.txt", "hello");
    struct Case
    {
        QStringList args;
        int exitCode;
        QString mustNotExist;
    };
    const Case cases[] = {
        {{"info", damaged}, 2, {}},
        {{"info", other}, 2, {}},
        {{"info", path("missing.qvxp")}, 2, {}},
        {{"save-as", damaged, "-o", path("out1.qvxp")}, 2, path("out1.qvxp")},
        {{"save-as", other, "-o", path("out2.qvxp")}, 2, path("out2.qvxp")},
        {{"save-as", good, "-o", path("no-folder/out3.qvxp")}, 2, path("no-folder")},
        {{"new", "-o", path("no-folder/new.qvxp"), "--width", "3", "--height", "3"}, 2, path("no-folder")},
        {{"new", "-o", path("out4.qvxp"), "--width", "3", "--height", "3", "--palette", "Nope"}, 2, path("out4.qvxp")},
        {{"info"}, 1, {}},
        {{"info", good, good}, 1, {}},
        {{"save-as", good}, 1, {}},
        {{"new", "-o", path("out5.qvxp"), "--width", "0", "--height", "3"}, 1, path("out5.qvxp")},
        {{"info", good, "--bogus"}, 1, {}},
        {{"convert", path("missing.png"), "-o", path("out6.qvxp")}, 2, path("out6.qvxp")},
        {{"convert", other, "-o", path("out7.qvxp")}, 2, path("out7.qvxp")},
        {{"convert", good, "-o", path("out8.qvxp"), "--dither", "bogus"}, 1, path("out8.qvxp")},
        {{"convert", good, "-o", path("out9.qvxp"), "--level", "101"}, 1, path("out9.qvxp")},
        {{"convert", good, "-o", path("outA.qvxp"), "--crop", "5,5,2,9"}, 1, path("outA.qvxp")},
        {{"convert", good}, 1, {}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.args.join(' ').toStdString());
        const CliRun r = cli(k.args);
        EXPECT_EQ(r.exitCode, k.exitCode) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
        if (k.exitCode == 2) {
            EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
            EXPECT_TRUE(r.err.startsWith("quillmark-cli: ")) << r.err.toStdString();
        }
        if (!k.mustNotExist.isEmpty()) {
            EXPECT_FALSE(QFileInfo::exists(k.mustNotExist));
        }
    }
    // Nothing but the inputs and the settings is left in the folder (no temporary files).
    QStringList files = QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden);
    files.removeAll("settings.ini");
    EXPECT_EQ(files, (QStringList{"damaged.qvxp", "good.qvxp", "notes.txt"}));
}

TEST_F(CliTest, ConvertMakesADesignWithItsGhostPicture)
{
    // Three colour bands, 12 x 6 pixels.
    QImage picture(12, 6, QImage::Format_RGB32);
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 6; ++y)
            picture.setPixel(x, y, x < 4 ? qRgb(200, 20, 20) : x < 8 ? qRgb(20, 160, 40) : qRgb(250, 250, 250));
    ASSERT_TRUE(picture.save(path("bands.png")));

    struct Case
    {
        QStringList options;
        int width, height, usedColors;
    };
    const Case cases[] = {
        {{"--size", "12"}, 12, 6, 3},
        {{"--size", "6"}, 6, 3, -1}, // resampling mixes the bands' edges
        {{"--size", "12", "--colors", "2"}, 12, 6, 2},
        {{"--size", "12", "--crop", "0,0,4,6"}, 4, 6, 1}, // the size stops at the crop's larger side
        {{"--size", "12", "--dither", "floyd-steinberg", "--level", "50", "--palette", "Anchor"}, 12, 6, -1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.options.join(' ').toStdString());
        QFile::remove(path("out.qvxp"));
        QFile::remove(path("out.png"));
        const CliRun r = cli(QStringList{"convert", path("bands.png"), "-o", path("out.qvxp")} + k.options);
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QJsonObject design = info(path("out.qvxp"));
        EXPECT_EQ(design["width"].toInt(), k.width);
        EXPECT_EQ(design["height"].toInt(), k.height);
        if (k.usedColors >= 0) {
            EXPECT_EQ(design["usedColors"].toInt(), k.usedColors);
        }
        EXPECT_EQ(design["palette"].toString(), k.options.contains("Anchor") ? "Anchor" : "DMC");
        EXPECT_FALSE(QImage(path("out.png")).isNull()); // the ghost picture beside the design
    }
}

TEST_F(CliTest, SaveIntoAReadOnlyFolderKeepsTheOldFile)
{
    const QString input = write("in.qvxp", QvxLayout().bytes());
    QFile::setPermissions(input, QFile::Permissions(0x6444));
    const QString folder = path("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString target = folder + "/design.qvxp";
    write("locked/design.qvxp", "old contents");
    QFile::setPermissions(folder, QFile::Permissions(0x5555));
    // Root writes into any folder: run the tool as an unprivileged user then.
    const uid_t user = geteuid() == 0 ? uid_t(65534) : uid_t(-1);
    const CliRun r = cli({"save-as", input, "-o", target}, user);
    EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(target.toUtf8())) << r.err.toStdString();
    QFile f(target);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("old contents"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"design.qvxp"});
    QFile::setPermissions(folder, QFile::Permissions(0x7777));
}

TEST_F(CliTest, HelpNamesTheFileCommands)
{
    const CliRun r = cli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    for (const char* word : {"new [-o OUT]", "save-as DESIGN -o OUT", "info DESIGN [--cells]"})
        EXPECT_TRUE(r.out.contains(word)) << word;
}
