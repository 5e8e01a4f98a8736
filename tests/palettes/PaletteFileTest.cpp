// Palette files: the field splitter, the catalogue reader, the editor's reader and writer, and
// the shipped palettes.
#include "core/QuillError.h"
#include "core/TStitch.h"
#include "core/TextCodec.h"
#include "palettes/FieldSplit.h"
#include "palettes/PaletteFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::string show(const QStringList& l) { return ("[" + l.join(QStringLiteral("|")) + "]").toStdString(); }

// ---------------------------------------------------------------------------------------------
// Field splitting

struct SplitCase
{
    const char* line;
    QStringList fields;
};

TEST(SplitDelimitedFields, FollowsTheCommaBlankAndQuoteRules)
{
    const std::vector<SplitCase> cases = {
        {"a,b,c", {"a", "b", "c"}},
        {"a b c", {"a", "b", "c"}},
        {"a\tb", {"a", "b"}},
        {"a, b , c", {"a", "b", "c"}},
        {"a  ,  b", {"a", "b"}},
        {"   a,b", {"a", "b"}},
        {"Dark Red, 100, 0, 0, 5", {"Dark", "Red", "100", "0", "0", "5"}},
        {"\"Dark Red\", 100", {"Dark Red", "100"}},
        {"\"a, b\",c", {"a, b", "c"}},
        {"\" lead and trail \", x", {" lead and trail ", "x"}},
        {"\"say \"\"hi\"\"\", 1", {"say \"hi\"", "1"}},
        {"\"no end, 1, 2", {"no end, 1, 2"}},
        {"\"\", x", {"", "x"}},
        {"x\"y, z", {"x\"y", "z"}},
        {"a,,b", {"a", "", "b"}},
        {"a, , b", {"a", "", "b"}},
        {",a", {"", "a"}},
        {"a,", {"a", ""}},
        {"a, ", {"a", ""}},
        {"a ,", {"a", ""}},
        {",", {"", ""}},
        {"", {}},
        {"  \t ", {}},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.line);
        const QStringList got = splitDelimitedFields(QString::fromUtf8(c.line));
        EXPECT_EQ(got, c.fields) << show(got) << " expected " << show(c.fields);
    }
}

// ---------------------------------------------------------------------------------------------
// Helpers: a folder per test under the temporary root

class PaletteFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = testsupport::tempRoot() + "/palettes-" + info->test_suite_name() + "-" + info->name();
        QDir(m_dir).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(m_dir));
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir + "/" + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    QByteArray read(const QString& path)
    {
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    QString m_dir;
};

struct Entry
{
    ColorKey key;
    QString name;
    QString id;
    qint32 charID;
    qint32 orderID;
};

TColorInfo info(const Entry& e)
{
    TColorInfo c;
    c.colorName = e.name;
    c.colorID = e.id;
    c.matchColor = e.key;
    c.charID = e.charID;
    c.orderID = e.orderID;
    return c;
}

void expectPalette(const ColorTable& got, const std::vector<Entry>& want)
{
    ASSERT_EQ(got.size(), int(want.size()));
    for (int i = 0; i < got.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(got.at(i).first, want[i].key);
        EXPECT_EQ(got.at(i).second, info(want[i]));
    }
}

// ---------------------------------------------------------------------------------------------
// Catalogue reader

struct FileCase
{
    const char* what;
    QByteArray bytes;
    QString catalogueName;
    std::vector<Entry> entries;
};

TEST_F(PaletteFiles, CatalogueReaderBuildsEntriesFromColourLines)
{
    const std::vector<FileCase> cases = {
        {"five and six fields",
         ";$NSample\r\n;$V1.0\r\n\"Black\", 310, 0, 0, 0, 12\r\nB5200, 255, 255, 255, 3\r\n",
         "Sample v1.0",
         {{0x000000, "Black", "310", 12, 0}, {0xFFFFFF, "B5200", "B5200", 3, 1}}},
        {"LF line ends and no final line end",
         ";$NSample\n;$V1.0\n\"Black\", 310, 0, 0, 0, 12\nB5200,255,255,255,3",
         "Sample v1.0",
         {{0x000000, "Black", "310", 12, 0}, {0xFFFFFF, "B5200", "B5200", 3, 1}}},
        {"other field counts are skipped but keep their place",
         ";$NP\r\n;$V2\r\n1, 2, 3, 4\r\n\r\nn, a, 1, 2, 3, 4, 5\r\nX, 1, 2, 3, 9\r\n   \r\nY, 4, 5, 6, 1\r\n",
         "P v2",
         {{0x030201, "X", "X", 9, 3}, {0x060504, "Y", "Y", 1, 5}}},
        {"components modulo 256, signed symbol index",
         ";$NM\r\n;$V1\r\nA, 256, -1, 300, -5\r\nB, 511, -256, 0, 2147483647\r\nC, +7, 0, 0, -2147483648\r\n",
         "M v1",
         {{0x2CFF00, "A", "A", -5, 0}, {0x0000FF, "B", "B", 2147483647, 1},
          {0x000007, "C", "C", qint32(-2147483647 - 1), 2}}},
        {"a repeated colour key keeps the first line",
         ";$ND\r\n;$V1\r\nA, 1, 2, 3, 0\r\nB, 1, 2, 3, 1\r\nC, 4, 5, 6, 2\r\n",
         "D v1",
         {{0x030201, "A", "A", 0, 0}, {0x060504, "C", "C", 2, 2}}},
        {"without a version line the second line is lost",
         ";$NPlain\r\nA, 1, 2, 3, 4\r\nB, 5, 6, 7, 8\r\n",
         "Plain",
         {{0x070605, "B", "B", 8, 0}}},
        {"header only gives an empty palette", ";$NEmpty\r\n;$V3\r\n", "Empty v3", {}},
        {"header lines lose three characters whatever they are",
         "xyzName\r\nab;$V9\r\n", "Name v$V9", {}},
        {"quoted names with commas, blanks and doubled quotes",
         ";$NQ\r\n;$V1\r\n\"Red, \"\"dark\"\"\", 321, 10, 20, 30, 1\r\n\"Dark Red, 100, 0, 0, 5\r\n"
         "Dark Red, 100, 0, 0, 5\r\n",
         "Q v1",
         {{0x1E140A, "Red, \"dark\"", "321", 1, 0}, {0x000064, "Dark", "Red", 5, 2}}},
        {"Windows-1252 text",
         ";$NCaf\xE9\r\n;$V\x80 1\r\n\"cr\xE8me \x80\", \xE9t\xE9, 1, 2, 3, 4\r\n",
         QString::fromUtf8("Café v€ 1"),
         {{0x030201, QString::fromUtf8("crème €"), QString::fromUtf8("été"), 4, 0}}},
        {"Windows-1252 text that is also valid UTF-8",
         ";$NCaf\xC3\xA9\r\n;$V1\r\n\xC3\xA9t\xC3\xA9, 1, 1, 2, 3, 4\r\n",
         QStringLiteral("Caf\u00C3\u00A9 v1"),
         {{0x030201, QStringLiteral("\u00C3\u00A9t\u00C3\u00A9"), "1", 4, 0}}},
        {"UTF-8 behind a byte-order mark",
         "\xEF\xBB\xBF;$NCaf\xC3\xA9\r\n;$V1\r\n\xC3\xA9t\xC3\xA9, 1, 1, 2, 3, 4\r\n",
         QString::fromUtf8("Café v1"),
         {{0x030201, QString::fromUtf8("été"), "1", 4, 0}}},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.what);
        TStitch stitch;
        loadPaletteFile(stitch, write("case.ctb", c.bytes));
        ASSERT_EQ(stitch.ColorPalettes.keys(), QStringList{c.catalogueName});
        expectPalette(stitch.ColorPalettes.at(0).second, c.entries);
    }
}

struct BadCase
{
    const char* what;
    QByteArray bytes;
    QString messagePart;
};

TEST_F(PaletteFiles, UnreadableFilesAreReportedWithFileAndLine)
{
    const std::vector<BadCase> cases = {
        {"red not a number", ";$NB\r\n;$V1\r\nA, 1, 2, 3, 4\r\nB, x, 2, 3, 4\r\n", "line 4: the red value \"x\""},
        {"green empty", ";$NB\r\n;$V1\r\nB, 1, , 3, 4\r\n", "line 3: the green value \"\""},
        {"blue with a fraction", ";$NB\r\n;$V1\r\n\"N\", B, 1, 2, 3.5, 4\r\n", "line 3: the blue value \"3.5\""},
        {"symbol out of 32-bit range", ";$NB\r\n;$V1\r\nB, 1, 2, 3, 2147483648\r\n",
         "line 3: the symbol value \"2147483648\""},
        {"symbol hexadecimal", ";$NB\r\n;$V1\r\nB, 1, 2, 3, $1F\r\n", "line 3: the symbol value \"$1F\""},
        {"bad line after a line without version", ";$NB\r\nB, 1, 2, 3, 4\r\nC, 1, 2, 3, -\r\n",
         "line 3: the symbol value \"-\""},
        {"empty file", "", "is empty"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.what);
        TStitch stitch;
        const QString path = write("bad.ctb", c.bytes);
        try {
            loadPaletteFile(stitch, path);
            ADD_FAILURE() << "no error";
        } catch (const QuillError& e) {
            EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path))) << e.what();
            EXPECT_TRUE(e.message().contains(c.messagePart)) << e.what();
        }
        EXPECT_TRUE(stitch.ColorPalettes.isEmpty());
    }

    TStitch stitch;
    EXPECT_THROW(loadPaletteFile(stitch, m_dir + "/missing.ctb"), QuillError);
    EXPECT_THROW(loadpalette(m_dir + "/no-folder/missing.ctb"), QuillError);
    EXPECT_THROW(loadpalette(write("bad.ctb", ";$NB\r\n;$V1\r\nB, 1, 2, x, 4\r\n")), QuillError);
}

TEST_F(PaletteFiles, FirstFileOfANameAndVersionWinsAndABadFileDoesNotStopTheOthers)
{
    write("b.ctb", ";$NDup\r\n;$V1\r\nSecond, 1, 1, 1, 0\r\n");
    write("a.ctb", ";$NDup\r\n;$V1\r\nFirst, 2, 2, 2, 0\r\n");
    write("B2.ctb", ";$NDup\r\n;$V2\r\nOther version, 3, 3, 3, 0\r\n");
    write("c.ctb", ";$NBroken\r\n;$V1\r\nGood, 1, 1, 1, 0\r\nBad, 1, 1, one, 0\r\n");
    // A later file of a name already loaded is not read at all, so its bad line is no error.
    write("d.CTB", ";$NDup\r\n;$V1\r\nBad, 1, 1, one, 0\r\n");
    write("e.ctb", ";$NPlain\r\n\r\nP, 4, 4, 4, 0\r\n");
    write("notes.txt", ";$NNot a palette\r\n;$V1\r\n");

    TStitch stitch;
    stitch.ColorPalettes.insert("Stale", ColorTable());
    stitch.PalettesPath = m_dir;
    QStringList errors;
    loadPalettes(stitch, &errors);

    EXPECT_EQ(stitch.ColorPalettes.keys(), (QStringList{"Dup v1", "Dup v2", "Plain"}));
    expectPalette(*stitch.ColorPalettes.find("Dup v1"), {{0x020202, "First", "First", 0, 0}});
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QDir::toNativeSeparators(m_dir + "/c.ctb"))) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("line 4")) << errors[0].toStdString();

    stitch.PalettesPath = m_dir + "/does-not-exist";
    errors.clear();
    loadPalettes(stitch, &errors);
    EXPECT_TRUE(stitch.ColorPalettes.isEmpty());
    EXPECT_TRUE(errors.isEmpty());
}

// ---------------------------------------------------------------------------------------------
// Editor's reader and writer

TEST_F(PaletteFiles, EditorReaderKeepsEveryColourLineInFileOrder)
{
    const PaletteFileData data =
        loadpalette(write("ed.ctb", ";$NEd\r\n;$V1.5\r\nA, 1, 2, 3, 0\r\nskip me\r\n\"Again\", A2, 1, 2, 3, 7\r\n"));
    EXPECT_EQ(data.name, "Ed");
    EXPECT_EQ(data.version, "1.5");
    EXPECT_EQ(data.colors, (QList<TColorInfo>{info({0x030201, "A", "A", 0, 0}),
                                              info({0x030201, "Again", "A2", 7, 2})}));

    const PaletteFileData bare = loadpalette(write("bare.ctb", ";$NBare\r\nA, 1, 2, 3, 0\r\n"));
    EXPECT_EQ(bare.name, "Bare");
    EXPECT_EQ(bare.version, "");
    EXPECT_TRUE(bare.colors.isEmpty());
}

TEST_F(PaletteFiles, SavedPaletteReadsBackUnchanged)
{
    PaletteFileData data;
    data.name = QString::fromUtf8("Café €");
    data.version = "2.0";
    const std::vector<Entry> entries = {
        {0x000000, "Black", "310", 12, 0},
        {0xFFFFFF, "B5200", "B5200", 3, 1},
        {0x1E140A, "Say \"hi\"", "321", 0, 2},
        {0x0000FF, "Red, dark", "B 52", -1, 3},
        {0x00FF00, QString::fromUtf8("Vert é €"), "1,5", 504, 4},
        {0x00FF00, "Same colour again", "\"q\"", 7, 5},
        {0x123456, "", "5", 8, 6},
        {0x654321, "   ", "", 9, 7},
        {0xABCDEF, "", "", 10, 8},
    };
    for (const Entry& e : entries)
        data.colors.append(info(e));

    const QString path = m_dir + "/round.ctb";
    savePalette(path, data);
    EXPECT_EQ(loadpalette(path), data);

    const QByteArray bytes = read(path);
    EXPECT_TRUE(bytes.startsWith(";$NCaf\xE9 \x80\r\n;$V2.0\r\n\"Black\", 310, 0, 0, 0, 12\r\n"
                                 "B5200, 255, 255, 255, 3\r\n"))
        << bytes.left(80).toStdString();
    EXPECT_FALSE(bytes.contains("\n\n")) << "every line ends with CR LF";
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n"));

    // The catalogue reader keeps the first of the two lines of one colour.
    TStitch stitch;
    loadPaletteFile(stitch, path);
    ASSERT_EQ(stitch.ColorPalettes.keys(), QStringList{QString::fromUtf8("Café € v2.0")});
    EXPECT_EQ(stitch.ColorPalettes.at(0).second.size(), 8);

    // Saving again replaces the file.
    data.colors.removeLast();
    savePalette(path, data);
    EXPECT_EQ(loadpalette(path), data);
}

TEST_F(PaletteFiles, PaletteWithoutVersionKeepsItsBareNameWhenSaved)
{
    const QString path = write("bare.ctb", ";$NDMC\r\n\r\n\"Black\", 310, 0, 0, 0, 1\r\n");
    const PaletteFileData data = loadpalette(path);
    savePalette(path, data);
    EXPECT_EQ(read(path), QByteArray(";$NDMC\r\n\r\n\"Black\", 310, 0, 0, 0, 1\r\n"));
    TStitch stitch;
    loadPaletteFile(stitch, path);
    EXPECT_EQ(stitch.ColorPalettes.keys(), QStringList{"DMC"});
}

TEST_F(PaletteFiles, FailedSaveLeavesTheOldFile)
{
    const QByteArray old = ";$NOld\r\n;$V1\r\nA, 1, 2, 3, 4\r\n";
    const QString path = write("old.ctb", old);
    const std::vector<std::pair<const char*, std::function<void(PaletteFileData&)>>> cases = {
        {"line break in a name", [](PaletteFileData& d) { d.colors[0].colorName = "two\nlines"; }},
        {"line break in the palette name", [](PaletteFileData& d) { d.name = "a\r\nb"; }},
        {"character outside Windows-1252", [](PaletteFileData& d) { d.colors[0].colorID = QString::fromUtf8("Ω"); }},
    };
    for (const auto& [what, change] : cases) {
        SCOPED_TRACE(what);
        PaletteFileData data = loadpalette(path);
        change(data);
        EXPECT_THROW(savePalette(path, data), QuillError);
        EXPECT_EQ(read(path), old);
    }
    EXPECT_THROW(savePalette(m_dir + "/no-folder/new.ctb", loadpalette(path)), QuillError);
}

// ---------------------------------------------------------------------------------------------
// Shipped palettes

struct CsvRow
{
    QString number, name;
    int r, g, b;
};

// The thread table the palette was generated from.
QList<CsvRow> threadTable(const QString& file)
{
    QFile f(testsupport::testDataDir() + "/threads/" + file);
    QList<CsvRow> rows;
    if (!f.open(QIODevice::ReadOnly))
        return rows;
    const QStringList lines = splitDataLines(QString::fromUtf8(f.readAll()));
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList c = lines[i].split(u',');
        if (c.size() == 5)
            rows.append({c[0], c[1], c[2].toInt(), c[3].toInt(), c[4].toInt()});
    }
    return rows;
}

TEST(ShippedPalettes, LoadCompleteWithUniqueSymbolsInTableOrder)
{
    TStitch stitch;
    stitch.PalettesPath = testsupport::shippedDataDir() + "/palettes/";
    QStringList errors;
    loadPalettes(stitch, &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    ASSERT_EQ(stitch.ColorPalettes.keys(), (QStringList{"Anchor", "DMC", "Madeira"}));

    const std::vector<std::tuple<QString, const char*, int>> palettes = {
        {"DMC", "dmc.csv", 505}, {"Anchor", "anchor.csv", 445}, {"Madeira", "madeira.csv", 369}};
    for (const auto& [name, csv, count] : palettes) {
        SCOPED_TRACE(name.toStdString());
        const ColorTable& p = *stitch.ColorPalettes.find(name);
        ASSERT_EQ(p.size(), count);
        QSet<qint32> symbols;
        for (int i = 0; i < p.size(); ++i) {
            const auto& [key, c] = p.at(i);
            EXPECT_EQ(c.orderID, i);
            EXPECT_EQ(c.matchColor, key);
            EXPECT_EQ(c.colorCount, 0);
            EXPECT_TRUE(c.charID >= 0 && c.charID < 505) << c.charID;
            symbols.insert(c.charID);
        }
        EXPECT_EQ(symbols.size(), count) << "two colours share a symbol";

        const QList<CsvRow> table = threadTable(csv);
        ASSERT_EQ(table.size(), count);
        for (int i = 0; i < count; ++i) {
            const auto& [key, c] = p.at(i);
            const CsvRow& row = table[i];
            EXPECT_EQ(c.colorID, row.number) << i;
            EXPECT_EQ(c.colorName, row.name) << i;
            EXPECT_EQ(key, ColorKey(row.r + 256 * row.g + 65536 * row.b)) << i;
        }
    }

    // Spot checks of well-known threads.
    const ColorTable& dmc = *stitch.ColorPalettes.find("DMC");
    EXPECT_EQ(dmc.at(0).second.colorID, "B5200");
    EXPECT_EQ(dmc.at(0).second.colorName, "Snow White");
    EXPECT_EQ(dmc.at(0).first, 0xFFFFFFu);
    const TColorInfo* black = dmc.find(0);
    ASSERT_NE(black, nullptr);
    EXPECT_EQ(black->colorID, "310");
    EXPECT_EQ(black->colorName, "Black");
    const TColorInfo* red = dmc.find(199 + 256 * 43 + 65536 * 59);
    ASSERT_NE(red, nullptr);
    EXPECT_EQ(red->colorID, "321");

    // The editor reads the same palette with the same entries and no version.
    const PaletteFileData editor = loadpalette(stitch.PalettesPath + "DMC.ctb");
    EXPECT_EQ(editor.name, "DMC");
    EXPECT_EQ(editor.version, "");
    ASSERT_EQ(editor.colors.size(), 505);
    EXPECT_EQ(editor.colors[504], dmc.at(504).second);
}

} // namespace
