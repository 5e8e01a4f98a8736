// Character-set files: reading one file into the catalogue, loading a folder (unique names,
// failing files skipped and reported), the writer and its round trip, and the shipped sets.
#include "core/QuillError.h"
#include "core/SymbolFont.h"
#include "core/TStitch.h"
#include "palettes/CharacterSetFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// A fresh folder per test under the run's temporary root.
class CharacterSetFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = testsupport::tempRoot() + QStringLiteral("/chr/") + QString::fromLatin1(info->name())
                 + QString::number(++counter);
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        stitch.CharactersPath = folder;
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = folder + u'/' + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    static QByteArray readAll(const QString& path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString folder;
    TStitch stitch;
    static inline int counter = 0;
};

struct ReadCase
{
    const char* what;
    QByteArray bytes;
    QString name, altName, fontName;
    qint32 fontStyle, fontCharset;
    QString characters;
};

TEST_F(CharacterSetFileTest, ReadsTheFieldsOfOneFile)
{
    const QString euro(QChar(0x20AC));
    const ReadCase cases[] = {
        {"editor file with CR LF", "Greek\r\nSome letters\r\nKorvaldArtSymbols110,,53\r\n65\r\n160\r\n600\r\n",
         "Greek", "Some letters", "KorvaldArtSymbols110", 0, 53, QStringLiteral("A\u00A0\u0258")},
        {"LF line ends", "Greek\nSome letters\nKorvaldArtSymbols110,,53\n65\n160\n600\n",
         "Greek", "Some letters", "KorvaldArtSymbols110", 0, 53, QStringLiteral("A\u00A0\u0258")},
        {"no final line end", "G\r\nD\r\nF,,53\r\n66", "G", "D", "F", 0, 53, "B"},
        {"only three lines", "Empty\r\n\r\nArial,,53\r\n", "Empty", "", "Arial", 0, 53, ""},
        {"third font field not a number", "S\r\nD\r\nArial,2,x\r\n65\r\n", "S", "D", "Arial", 2, 0, "A"},
        {"font line with one field", "S\r\nD\r\nArial\r\n", "S", "D", "Arial", 0, 0, ""},
        {"quoted font name with a blank", "S\r\nD\r\n\"Courier New\",1,0\r\n", "S", "D", "Courier New", 1, 0, ""},
        {"codes 128..159 are Windows-1252 characters", "S\r\nD\r\nF,,53\r\n128\r\n8364\r\n159\r\n127\r\n",
         "S", "D", "F", 0, 53, euro + euro + QChar(0x0178) + QChar(0x7F)},
        {"undefined Windows-1252 byte keeps its code", "S\r\nD\r\nF,,53\r\n129\r\n", "S", "D", "F", 0, 53,
         QString(QChar(0x81))},
        {"blanks around a code", "S\r\nD\r\nF,,53\r\n 65 \r\n", "S", "D", "F", 0, 53, "A"},
        {"8-bit name", "Gr\xFC\xDF" "e\r\nD\r\nF,,53\r\n", QStringLiteral("Grüße"), "D", "F", 0, 53, ""},
        // Bytes that are also valid UTF-8 are still Windows-1252 text without a byte-order mark.
        {"Windows-1252 that looks like UTF-8", "Caf\xC3\xA9\r\n\xC2\xA9 D\r\nF,,53\r\n",
         QStringLiteral("Caf\u00C3\u00A9"), QStringLiteral("\u00C2\u00A9 D"), "F", 0, 53, ""},
        {"UTF-8 behind a byte-order mark", "\xEF\xBB\xBF" "Caf\xC3\xA9\r\nD\r\nF,,53\r\n65\r\n",
         QStringLiteral("Café"), "D", "F", 0, 53, "A"},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        stitch.characters.clear();
        const QString path = write(QStringLiteral("one.chr"), c.bytes);
        ASSERT_NO_THROW(loadCharacterSetFile(stitch, path));
        ASSERT_EQ(stitch.characters.size(), 1);
        const TCharacterInfo& info = stitch.characters.at(0).second;
        EXPECT_EQ(stitch.characters.at(0).first, c.name);
        EXPECT_EQ(info.fileName, path);
        EXPECT_EQ(info.Name, c.name);
        EXPECT_EQ(info.altName, c.altName);
        EXPECT_EQ(info.fontName, c.fontName);
        EXPECT_EQ(info.fontStyle, c.fontStyle);
        EXPECT_EQ(info.fontCharset, c.fontCharset);
        EXPECT_EQ(info.characters, c.characters);
    }
}

TEST_F(CharacterSetFileTest, RejectsFilesItCannotReadNamingFileAndLine)
{
    struct Case
    {
        const char* what;
        QByteArray bytes; // null: the file does not exist
        QString expectedPart;
    };
    const Case cases[] = {
        {"word as a code", "S\r\nD\r\nF,,53\r\n65\r\nabc\r\n", QStringLiteral("line 5")},
        {"empty character line", "S\r\nD\r\nF,,53\r\n65\r\n\r\n66\r\n", QStringLiteral("line 5")},
        {"code beyond UTF-16", "S\r\nD\r\nF,,53\r\n70000\r\n", QStringLiteral("line 4")},
        {"negative code", "S\r\nD\r\nF,,53\r\n-1\r\n", QStringLiteral("line 4")},
        {"empty file", QByteArray(""), QStringLiteral("empty")},
        {"missing file", QByteArray(), QStringLiteral("Cannot read")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        stitch.characters.clear();
        const QString path = c.bytes.isNull() ? folder + QStringLiteral("/missing.chr")
                                              : write(QStringLiteral("bad.chr"), c.bytes);
        try {
            loadCharacterSetFile(stitch, path);
            ADD_FAILURE() << "no error";
        } catch (const QuillError& e) {
            EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(path))) << e.message().toStdString();
            EXPECT_TRUE(e.message().contains(c.expectedPart)) << e.message().toStdString();
        }
        EXPECT_TRUE(stitch.characters.isEmpty());
    }
}

TEST_F(CharacterSetFileTest, LoadsAFolderInNameOrderWithUniqueNamesAndSkipsBadFiles)
{
    stitch.characters.insert(QStringLiteral("Old"), TCharacterInfo());
    write(QStringLiteral("c.chr"), "Greek (2)\r\nthird\r\nF,,53\r\n67\r\n");
    write(QStringLiteral("a.chr"), "Greek\r\nfirst\r\nF,,53\r\n65\r\n");
    write(QStringLiteral("b.chr"), "Greek\r\nsecond\r\nF,,53\r\n66\r\n");
    write(QStringLiteral("bad.chr"), "Broken\r\nD\r\nF,,53\r\n65\r\nx\r\n");
    write(QStringLiteral("d.chr"), "Greek\r\nfourth\r\nF,,53\r\n68\r\n");
    write(QStringLiteral("notes.txt"), "Not\r\nD\r\nF,,53\r\n");

    QStringList errors;
    loadCharacterSets(stitch, &errors);

    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().contains(QStringLiteral("bad.chr")));
    EXPECT_TRUE(errors.first().contains(QStringLiteral("line 5")));
    const QStringList expectedNames = {QStringLiteral("Greek"), QStringLiteral("Greek (1)"),
                                       QStringLiteral("Greek (2)"), QStringLiteral("Greek (3)")};
    EXPECT_EQ(stitch.characters.keys(), expectedNames);
    const QStringList expectedDescriptions = {"first", "second", "third", "fourth"};
    for (int i = 0; i < stitch.characters.size(); ++i) {
        EXPECT_EQ(stitch.characters.at(i).second.Name, expectedNames.at(i));
        EXPECT_EQ(stitch.characters.at(i).second.altName, expectedDescriptions.at(i));
    }
    EXPECT_EQ(stitch.characters.value(QStringLiteral("Greek (1)")).fileName,
              QDir(folder).filePath(QStringLiteral("b.chr")));

    // Without an error list, and for an empty or missing folder, the catalogue is just rebuilt.
    loadCharacterSets(stitch);
    EXPECT_EQ(stitch.characters.size(), 4);
    stitch.CharactersPath = folder + QStringLiteral("/nowhere");
    loadCharacterSets(stitch, &errors);
    EXPECT_TRUE(stitch.characters.isEmpty());
    EXPECT_EQ(errors.size(), 1);
}

TEST_F(CharacterSetFileTest, WriterOutputReadsBackTheSameSet)
{
    TCharacterInfo info;
    info.Name = QStringLiteral("Mixed äé");
    info.altName = QStringLiteral("Codes, quotes \"and\" blanks");
    info.fontName = QStringLiteral("Courier New");
    info.fontCharset = 53;
    info.characters = QStringLiteral("A\u00A0\u00AD\u0258z") + QChar(0x20AC);
    const QString path = folder + QStringLiteral("/mixed.chr");
    ASSERT_NO_THROW(saveCharacterSetFile(path, info));

    const QByteArray bytes = readAll(path);
    EXPECT_TRUE(bytes.startsWith("Mixed \xE4\xE9\r\nCodes, quotes \"and\" blanks\r\n\"Courier New\",,53\r\n65\r\n160\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n8364\r\n"));

    loadCharacterSetFile(stitch, path);
    info.fileName = path;
    EXPECT_EQ(stitch.characters.value(info.Name), info);
}

TEST_F(CharacterSetFileTest, WriterRefusesTextsAFileCannotHold)
{
    struct Case
    {
        const char* what;
        QString name, altName, fontName;
    };
    const Case cases[] = {
        {"line break in the name", QStringLiteral("Two\nlines"), "D", "F"},
        {"NUL in the description", "N", QStringLiteral("a") + QChar(0) + u'b', "F"},
        {"name outside Windows-1252", QStringLiteral("Ωmega"), "D", "F"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TCharacterInfo info;
        info.Name = c.name;
        info.altName = c.altName;
        info.fontName = c.fontName;
        EXPECT_THROW(characterSetFileBytes(info), QuillError);
    }
    TCharacterInfo ok;
    ok.Name = QStringLiteral("N");
    EXPECT_THROW(saveCharacterSetFile(folder + QStringLiteral("/no/such/folder/x.chr"), ok), QuillError);
}

TEST_F(CharacterSetFileTest, ShippedSetsLoadAndAreDrawnByTheShippedFont)
{
    const QString dataDir = testsupport::shippedDataDir();
    stitch.CharactersPath = dataDir + QStringLiteral("/characters");
    QStringList errors;
    loadCharacterSets(stitch, &errors);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
    const QStringList names = {QStringLiteral("Bold Shapes"), QStringLiteral("Letters and Digits"),
                               QStringLiteral("Quillmark Symbols")};
    ASSERT_EQ(stitch.characters.keys(), names);

    const QString family = registerSymbolFontFile(dataDir + QStringLiteral("/fonts/KorvaldArtSymbols110.ttf"));
    ASSERT_EQ(family, QStringLiteral("KorvaldArtSymbols110"));
    const QRawFont font = symbolRawFont(family, 12);
    for (const auto& [name, info] : stitch.characters) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(info.fontName, family);
        EXPECT_EQ(info.fontCharset, 53);
        // The generator and the editor's writer produce the same bytes.
        EXPECT_EQ(characterSetFileBytes(info), readAll(info.fileName));
        QSet<QChar> distinct;
        for (QChar c : info.characters) {
            const char16_t u = c.unicode();
            EXPECT_TRUE((u >= 33 && u <= 126) || (u >= 160 && u <= 600)) << "code " << int(u);
            EXPECT_TRUE(symbolFontHasGlyph(font, u)) << "code " << int(u);
            distinct.insert(c);
        }
        EXPECT_EQ(distinct.size(), info.characters.size()) << "a character appears twice";
    }

    const TCharacterInfo symbols = stitch.characters.value(QStringLiteral("Quillmark Symbols"));
    EXPECT_GE(symbols.characters.size(), 535);
    for (int code = 160; code <= 600; ++code)
        EXPECT_EQ(symbols.characters.at(code - 160), QChar(char16_t(code)));

    const TCharacterInfo shapes = stitch.characters.value(QStringLiteral("Bold Shapes"));
    EXPECT_GE(shapes.characters.size(), 30);
    EXPECT_LE(shapes.characters.size(), 50);

    const QString letters = stitch.characters.value(QStringLiteral("Letters and Digits")).characters;
    EXPECT_EQ(letters.size(), 26 + 26 + 10 - 5);
    for (QChar c : QStringLiteral("Il1O0"))
        EXPECT_FALSE(letters.contains(c)) << "look-alike " << char(c.unicode());
}

} // namespace
