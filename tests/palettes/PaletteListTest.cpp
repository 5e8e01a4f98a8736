// The palette list logic: the rows read from the palette folder, the file-name rule, the
// duplicate test and the order of the OK button's checks.
#include "core/TStitch.h"
#include "palettes/PaletteFile.h"
#include "palettes/PaletteList.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace PaletteList;

// A fresh folder under the test's temporary root with the given files (name -> bytes).
QString makeFolder(const QString& name, const std::vector<std::pair<QString, QByteArray>>& files)
{
    const QString path = testsupport::tempRoot() + QStringLiteral("/palettelist-") + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    for (const auto& [file, bytes] : files) {
        QFile f(path + QLatin1Char('/') + file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    return path + QLatin1Char('/');
}

std::string show(const PaletteFileRow& r)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(r.fileName, r.paletteName, r.version, r.hasVersion ? "v" : "-")
        .toStdString();
}

TEST(PaletteListRead, ListsEveryPaletteFileFromItsFirstTwoLines)
{
    const QString folder = makeFolder(QStringLiteral("read"), {
        {"b.ctb", ";$NSample\r\n;$V1.0\r\n\"Black\", 310, 0, 0, 0, 12\r\n"},
        // Without ";$V" the whole second line is the version, even a colour line.
        {"a.ctb", ";$NPlain\r\n310, 0, 0, 0, 1\r\n"},
        // The first three characters go whatever they are; LF alone ends a line too.
        {"C.ctb", "xyzOdd\n;$V 2 \n"},
        {"d.ctb", ";$NOnly one line"},
        {"e.ctb", ""},
        {"notes.txt", ";$NNot a palette\r\n;$V1\r\n"},
        // ";$V" anywhere in line 2 makes it a version line; its first three characters go.
        {"f.ctb", ";$NMid\r\nab;$V3\r\n"},
    });
    const QList<PaletteFileRow> rows = readPalettes(folder);
    const std::vector<PaletteFileRow> expected = {
        {"a.ctb", "Plain", "310, 0, 0, 0, 1", false},
        {"b.ctb", "Sample", "1.0", true},
        {"C.ctb", "Odd", " 2 ", true},
        {"d.ctb", "Only one line", "", false},
        {"e.ctb", "", "", false},
        {"f.ctb", "Mid", "$V3", true},
    };
    ASSERT_EQ(rows.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(show(rows[i]), show(expected[i])) << "row " << i;
}

TEST(PaletteListRead, MissingOrEmptyFolderGivesNoRows)
{
    EXPECT_TRUE(readPalettes(testsupport::tempRoot() + QStringLiteral("/no-such-folder/")).isEmpty());
    EXPECT_TRUE(readPalettes(QString()).isEmpty());
    EXPECT_TRUE(readPalettes(makeFolder(QStringLiteral("empty"), {})).isEmpty());
}

// Every row names its palette as the catalogue does, so that the dialog can find the design's
// palette among the rows.
TEST(PaletteListRead, RowsOfTheShippedPalettesNameTheCataloguePalettes)
{
    TStitch stitch;
    stitch.PalettesPath = testsupport::shippedDataDir() + QStringLiteral("/palettes/");
    loadPalettes(stitch);
    const QList<PaletteFileRow> rows = readPalettes(stitch.PalettesPath);
    ASSERT_EQ(rows.size(), stitch.ColorPalettes.size());
    for (int i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].catalogueName(), stitch.ColorPalettes.at(i).first);
        EXPECT_EQ(rowOfPalette(rows, stitch.ColorPalettes.at(i).first), i);
    }
}

TEST(PaletteListRead, FindsTheRowOfACataloguePalette)
{
    const QList<PaletteFileRow> rows = {
        {"a.ctb", "Sample", "1.0", true},
        {"b.ctb", "Sample", "2.0", true},
        {"c.ctb", "Plain", "", false},
        {"d.ctb", "Plain", "", false},
    };
    const std::vector<std::pair<const char*, int>> cases = {
        {"Sample v2.0", 1},
        {"Sample v1.0", 0},
        {"Sample", -1},
        // A file without a version is catalogued under its bare name.
        {"Plain", 2},
        {"Plain v", -1},
        {"sample v1.0", -1},
        {"", -1},
    };
    for (const auto& [name, row] : cases)
        EXPECT_EQ(rowOfPalette(rows, QString::fromUtf8(name)), row) << name;
}

TEST(PaletteFilenameRule, GivesEveryNameTheCtbExtension)
{
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"green.txt", "green.ctb"},
        {"green", "green.ctb"},
        {"green.ctb", "green.ctb"},
        {"Green.CTB", "Green.CTB"},
        {"green.Ctb", "green.Ctb"},
        {"my.pal.txt", "my.pal.ctb"},
        {"green.", "green.ctb"},
        {"green.ctbx", "green.ctb"},
        {".txt", ".ctb"},
        {"", ".ctb"},
        // Only a dot of the file name itself starts an extension.
        {"dir.x/green", "dir.x/green.ctb"},
        {"dir.x\\green", "dir.x\\green.ctb"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(withPaletteExtension(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

struct DuplicateCase
{
    const char* fileName;
    const char* name;
    const char* version;
    Qt::CaseSensitivity fileCase;
    bool exists;
};

TEST(PaletteVersionExists, OnlyAnotherFileWithTheSameNameAndVersionCounts)
{
    const QList<PaletteFileRow> rows = {
        {"sample.ctb", "Sample", "1.0", true},
        {"other.ctb", "Other", "2", true},
        {"plain.ctb", "Plain", "", false},
    };
    const auto cs = Qt::CaseSensitive, ci = Qt::CaseInsensitive;
    const std::vector<DuplicateCase> cases = {
        {"sample.ctb", "Sample", "1.0", cs, false}, // saved again into its own file
        {"new.ctb", "Sample", "1.0", cs, true},
        {"other.ctb", "Sample", "1.0", cs, true},
        {"new.ctb", "sample", "1.0", cs, false},    // names compare exactly
        {"new.ctb", "Sample", "1.00", cs, false},
        {"new.ctb", "Sample", "", cs, false},
        {"new.ctb", "Plain", "", cs, true},
        {"new.ctb", "Other", "2", ci, true},
        // The same file under another case: the same file only where the folder ignores case.
        {"SAMPLE.ctb", "Sample", "1.0", ci, false},
        {"SAMPLE.ctb", "Sample", "1.0", cs, true},
    };
    for (const DuplicateCase& c : cases) {
        EXPECT_EQ(paletteVersionExists(rows, QString::fromUtf8(c.fileName), QString::fromUtf8(c.name),
                                       QString::fromUtf8(c.version), c.fileCase),
                  c.exists)
            << c.fileName << " " << c.name << " " << c.version << " case " << int(c.fileCase);
    }
    EXPECT_FALSE(paletteVersionExists({}, QStringLiteral("a.ctb"), QString(), QString()));
}

struct OkCase
{
    const char* fileName;
    const char* name;
    const char* version;
    bool confirmed;
    OkStep step;
};

TEST(PaletteListOk, RunsTheChecksInOrder)
{
    const QString folder = makeFolder(QStringLiteral("ok"), {
        {"sample.ctb", ";$NSample\r\n;$V1.0\r\n"},
        {"other.ctb", ";$NOther\r\n;$V2\r\n"},
    });
    const QList<PaletteFileRow> rows = readPalettes(folder);
    const auto cs = Qt::CaseSensitive;
    const std::vector<OkCase> cases = {
        {"new.ctb", "Fresh", "1", false, OkStep::Accept},
        {"sample.ctb", "Sample", "1.0", false, OkStep::AskOverride},
        {"sample.ctb", "Sample", "1.0", true, OkStep::Accept},
        {"other.ctb", "Sample", "1.0", false, OkStep::AskOverride},
        {"other.ctb", "Sample", "1.0", true, OkStep::RefuseDuplicate},
        {"new.ctb", "Other", "2", false, OkStep::RefuseDuplicate},
        {".ctb", "Fresh", "1", false, OkStep::InvalidName},
        {"  .ctb", "Fresh", "1", false, OkStep::InvalidName},
        {"", "Fresh", "1", false, OkStep::InvalidName},
        {"../escape.ctb", "Fresh", "1", false, OkStep::InvalidName},
        {"sub\\x.ctb", "Fresh", "1", false, OkStep::InvalidName},
    };
    for (const OkCase& c : cases) {
        EXPECT_EQ(int(okStep(rows, folder, QString::fromUtf8(c.fileName), QString::fromUtf8(c.name),
                             QString::fromUtf8(c.version), c.confirmed, cs)),
                  int(c.step))
            << c.fileName << " " << c.name << " " << c.version << " confirmed " << c.confirmed;
    }
}

} // namespace
