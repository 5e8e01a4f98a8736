// The palette editor below its window: adding, changing, deleting and moving colours, the
// duplicate checks, the sort modes, the RGB field, picking from a picture, and saving with
// the palette read back through the catalogue.
#include "core/TStitch.h"
#include "core/TextCodec.h"
#include "palettes/PaletteEditor.h"
#include "palettes/PaletteFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPoint>

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

namespace {

using P = PaletteEditorPrompts;

// Scripted answers; every message, question and list-dialog use is recorded.
class ScriptedPrompts : public PaletteEditorPrompts
{
public:
    void showMessage(const QString& text, bool warning) override
    {
        messages << text;
        warnings << warning;
    }
    bool askYesNo(const QString& text) override
    {
        questions << text;
        return yesNo;
    }
    Answer askYesNoCancel(const QString& text) override
    {
        questions << text;
        return yesNoCancel;
    }
    void focusField(Field f) override { focus.push_back(f); }
    bool choosePaletteFile(QString& fileName, QString& name, QString& version) override
    {
        listShown << QStringList{fileName, name, version};
        if (!listAnswer)
            return false;
        fileName = listFile;
        name = listName;
        version = listVersion;
        return true;
    }

    QStringList messages;
    QList<bool> warnings;
    QStringList questions;
    std::vector<Field> focus;
    QList<QStringList> listShown;
    bool yesNo = true;
    Answer yesNoCancel = Yes;
    bool listAnswer = true;
    QString listFile = QStringLiteral("Mine.ctb");
    QString listName = QStringLiteral("Mine");
    QString listVersion = QStringLiteral("2.0");
};

class PaletteEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = testsupport::currentTestPath() + QLatin1Char('/');
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        stitch.PalettesPath = folder;
        stitch.chars.Create(QStringLiteral("ABCDEFGHIJKLMNOP"));
    }

    // Adds a colour as the user does: New, the fields, OK.
    bool add(const QString& name, const QString& number, ColorKey color, int symbol)
    {
        editor.actNew();
        editor.setName(name);
        editor.setNumber(number);
        editor.ERGBChange(PaletteEditor::rgbText(color));
        editor.setSymbol(symbol);
        return editor.actOK();
    }

    void writeFile(const QString& name, const QByteArray& bytes)
    {
        QFile f(folder + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    QByteArray readFile(const QString& name)
    {
        QFile f(folder + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QStringList names() const
    {
        QStringList out;
        for (const TColorInfo& c : editor.Palette())
            out << c.colorName;
        return out;
    }

    QString folder;
    TStitch stitch;
    ScriptedPrompts prompts;
    PaletteEditor editor{stitch, prompts};
};

std::string show(const QStringList& l) { return l.join(QLatin1Char('|')).toStdString(); }

// ---------------------------------------------------------------------------------------------
// The round trip

TEST_F(PaletteEditorTest, ANewPaletteSavedThroughTheListReadsBackThroughTheCatalogue)
{
    EXPECT_EQ(editor.name(), QStringLiteral("New Palette"));
    EXPECT_EQ(editor.fileName(), QStringLiteral("New Palette.ctb"));
    EXPECT_EQ(editor.version(), QStringLiteral("1.0"));
    EXPECT_FALSE(editor.knownFile());
    EXPECT_FALSE(editor.canSave());

    ASSERT_TRUE(add(QStringLiteral("Black"), QStringLiteral("310"), 0x000000, 0));
    // A name with a double quote and a number with a comma and a blank are written so that
    // they read back unchanged.
    ASSERT_TRUE(add(QStringLiteral("Say \"red\""), QStringLiteral("B 5,2"), 0x0000FF, 1));
    // An empty name takes the number.
    ASSERT_TRUE(add(QStringLiteral("  "), QStringLiteral("3865"), 0xFFFFFF, 2));
    EXPECT_EQ(editor.Palette().last().colorName, QStringLiteral("3865"));
    EXPECT_TRUE(editor.changed());

    // The last two move above the first: rows 1 to 2 up.
    editor.selectRows(1, 2);
    ASSERT_TRUE(editor.canUp());
    editor.actUp();
    EXPECT_EQ(editor.firstSelected(), 0);
    EXPECT_EQ(editor.lastSelected(), 1);

    ASSERT_TRUE(editor.actSave());
    ASSERT_EQ(prompts.listShown.size(), 1);
    EXPECT_EQ(show(prompts.listShown[0]), "New Palette.ctb|New Palette|1.0");
    EXPECT_EQ(show(prompts.messages),
              "Palette saved successfully|Palette will be available next time you start the program");
    EXPECT_FALSE(editor.changed());
    EXPECT_TRUE(editor.knownFile());
    EXPECT_EQ(editor.fileName(), QStringLiteral("Mine.ctb"));

    // The colour whose name is its number is written without a quoted name.
    const QStringList lines = splitDataLines(decodeDataText(readFile(QStringLiteral("Mine.ctb"))));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], QStringLiteral(";$NMine"));
    EXPECT_EQ(lines[1], QStringLiteral(";$V2.0"));
    EXPECT_EQ(lines[3], QStringLiteral("3865, 255, 255, 255, 2"));

    loadPalettes(stitch);
    ASSERT_TRUE(stitch.ColorPalettes.contains(QStringLiteral("Mine v2.0")));
    const ColorTable& read = stitch.ColorPalettes.value(QStringLiteral("Mine v2.0"));
    ASSERT_EQ(read.size(), 3);
    const struct { ColorKey key; const char* name; const char* number; int symbol; int order; } expected[] = {
        {0x0000FF, "Say \"red\"", "B 5,2", 1, 0},
        {0xFFFFFF, "3865", "3865", 2, 1},
        {0x000000, "Black", "310", 0, 2},
    };
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const auto& [key, info] = read.at(i);
        EXPECT_EQ(key, expected[i].key);
        EXPECT_EQ(info.colorName, QString::fromUtf8(expected[i].name));
        EXPECT_EQ(info.colorID, QString::fromUtf8(expected[i].number));
        EXPECT_EQ(info.charID, expected[i].symbol);
        EXPECT_EQ(info.orderID, expected[i].order);
    }

    // Opened again, the editor shows the same colours, the first one selected.
    PaletteEditor again(stitch, prompts);
    ASSERT_TRUE(again.openFile(QStringLiteral("Mine.ctb"), QStringLiteral("Mine"), QStringLiteral("2.0")));
    EXPECT_TRUE(again.knownFile());
    EXPECT_FALSE(again.changed());
    ASSERT_EQ(again.Palette().size(), 3);
    EXPECT_EQ(again.firstSelected(), 0);
    EXPECT_EQ(again.fields().rgb, QStringLiteral("$FF0000"));
    EXPECT_EQ(again.fields().name, QStringLiteral("Say \"red\""));
}

TEST_F(PaletteEditorTest, SavingAKnownFileNeedsNoListAndSaveAsAlwaysAsks)
{
    writeFile(QStringLiteral("Kit.ctb"), ";$NKit\r\n;$V1\r\n\"Red\", 1, 255, 0, 0, 4\r\n");
    ASSERT_TRUE(editor.openFile(QStringLiteral("Kit.ctb"), QStringLiteral("Kit"), QStringLiteral("1")));
    ASSERT_TRUE(add(QStringLiteral("Blue"), QStringLiteral("2"), 0xFF0000, 5));
    ASSERT_TRUE(editor.actSave());
    EXPECT_TRUE(prompts.listShown.isEmpty());
    EXPECT_EQ(show(prompts.messages), "Palette saved successfully");
    EXPECT_EQ(readFile(QStringLiteral("Kit.ctb")),
              QByteArray(";$NKit\r\n;$V1\r\n\"Red\", 1, 255, 0, 0, 4\r\n\"Blue\", 2, 0, 0, 255, 5\r\n"));

    prompts.messages.clear();
    EXPECT_TRUE(editor.actSaveAs());
    EXPECT_EQ(prompts.listShown.size(), 1);
    EXPECT_EQ(show(prompts.listShown[0]), "Kit.ctb|Kit|1");
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("Mine.ctb")));

    // A cancelled list dialog saves nothing.
    prompts.listAnswer = false;
    EXPECT_FALSE(editor.actSaveAs());
    EXPECT_EQ(editor.fileName(), QStringLiteral("Mine.ctb"));
}

// ---------------------------------------------------------------------------------------------
// Refusals

TEST_F(PaletteEditorTest, OKRefusesAColourThatRepeatsAnotherOnesNameNumberOrRGB)
{
    ASSERT_TRUE(add(QStringLiteral("Black"), QStringLiteral("310"), 0x000000, 0));
    ASSERT_TRUE(add(QStringLiteral("White"), QStringLiteral("B5200"), 0xFFFFFF, 1));
    struct Case
    {
        const char* name;
        const char* number;
        ColorKey color;
        const char* message;
        P::Field focus;
    };
    const std::vector<Case> cases = {
        {"Black", "999", 0x123456, "A color with this name already exists", P::NameField},
        {"Other", "B5200", 0x123456, "A color with same number already exists", P::NumberField},
        {"Other", "999", 0xFFFFFF, "A color with same RGB values already exists", P::RgbField},
        // An empty name is the number, which then repeats a number.
        {"", "310", 0x123456, "A color with same number already exists", P::NumberField},
        // The colours are compared in list order, each for name, then number, then RGB.
        {"White", "310", 0x000000, "A color with same number already exists", P::NumberField},
        {"Black", "B5200", 0xFFFFFF, "A color with this name already exists", P::NameField},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        prompts.messages.clear();
        prompts.focus.clear();
        EXPECT_FALSE(add(QString::fromUtf8(c.name), QString::fromUtf8(c.number), c.color, 2));
        EXPECT_EQ(show(prompts.messages), c.message);
        ASSERT_EQ(prompts.focus.size(), 1u);
        EXPECT_EQ(prompts.focus[0], c.focus);
        EXPECT_EQ(editor.state(), PaletteEditor::emNew);
        EXPECT_EQ(editor.Palette().size(), 2);
        editor.actCancel();
    }
    // Case matters for names.
    EXPECT_TRUE(add(QStringLiteral("black"), QStringLiteral("311"), 0x010101, 2));
}

TEST_F(PaletteEditorTest, EditingAcceptsTheColoursOwnValuesAndAsksAboutAnotherOnesSymbol)
{
    ASSERT_TRUE(add(QStringLiteral("Black"), QStringLiteral("310"), 0x000000, 0));
    ASSERT_TRUE(add(QStringLiteral("White"), QStringLiteral("B5200"), 0xFFFFFF, 1));
    editor.selectRows(0, 0);
    editor.actEdit();
    EXPECT_EQ(editor.state(), PaletteEditor::emEdit);
    EXPECT_TRUE(editor.actOK());
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_EQ(editor.Palette().size(), 2);

    // The symbol of "White": the question; No keeps the editing state.
    editor.actEdit();
    editor.setSymbol(1);
    EXPECT_TRUE(editor.symbolWarning());
    prompts.yesNo = false;
    EXPECT_FALSE(editor.actOK());
    EXPECT_EQ(show(prompts.questions), "The Symbol is already in use, continue anyway?");
    ASSERT_FALSE(prompts.focus.empty());
    EXPECT_EQ(prompts.focus.back(), P::SymbolField);
    EXPECT_EQ(editor.Palette()[0].charID, 0);
    // Yes accepts it.
    prompts.yesNo = true;
    editor.setName(QStringLiteral("Jet"));
    EXPECT_TRUE(editor.actOK());
    EXPECT_EQ(editor.Palette()[0].charID, 1);
    EXPECT_EQ(editor.Palette()[0].colorName, QStringLiteral("Jet"));
    EXPECT_EQ(editor.firstSelected(), 0);
    EXPECT_EQ(editor.state(), PaletteEditor::emIdle);

    // A new colour with a symbol in use gets only the warning.
    prompts.questions.clear();
    editor.actNew();
    EXPECT_EQ(editor.fields().symbol, 2); // the one after the last colour's symbol
    EXPECT_FALSE(editor.symbolWarning());
    editor.setSymbol(1);
    EXPECT_TRUE(editor.symbolWarning());
    editor.setNumber(QStringLiteral("700"));
    editor.ERGBChange(QStringLiteral("$00FF00"));
    EXPECT_TRUE(editor.actOK());
    EXPECT_TRUE(prompts.questions.isEmpty());
}

TEST_F(PaletteEditorTest, APaletteThatCannotBeWrittenAsItReadsIsRefusedAndTheOldFileStays)
{
    const QByteArray old(";$NKit\r\n;$V1\r\n\"Red\", 1, 255, 0, 0, 4\r\n");
    writeFile(QStringLiteral("Kit.ctb"), old);
    struct Case
    {
        const char* what;
        std::function<void(PaletteEditor&)> change;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"line break in a name",
         [this](PaletteEditor&) { add(QStringLiteral("Two\nlines"), QStringLiteral("2"), 0x00FF00, 1); },
         "The colour name \"Two lines\" holds a line break or a NUL character and cannot be written to a palette file."},
        {"character outside Windows-1252",
         [this](PaletteEditor&) { add(QStringLiteral("Snow \u2603"), QStringLiteral("3"), 0x00FF00, 1); },
         "The colour name \"Snow \u2603\" holds characters that a palette file (Windows-1252) cannot store."},
        {"line break in a number",
         [this](PaletteEditor&) { add(QStringLiteral("Green"), QStringLiteral("4\r"), 0x00FF00, 1); },
         "The colour number \"4 \" holds a line break or a NUL character and cannot be written to a palette file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(editor.openFile(QStringLiteral("Kit.ctb"), QStringLiteral("Kit"), QStringLiteral("1")));
        c.change(editor);
        ASSERT_TRUE(editor.changed());
        prompts.messages.clear();
        EXPECT_FALSE(editor.actSave());
        EXPECT_EQ(show(prompts.messages), c.message);
        EXPECT_TRUE(prompts.warnings.back());
        EXPECT_TRUE(editor.changed());
        EXPECT_EQ(readFile(QStringLiteral("Kit.ctb")), old);
    }
    // A palette without a name is refused too.
    prompts.listName = QStringLiteral(" ");
    prompts.messages.clear();
    EXPECT_FALSE(editor.actSaveAs());
    EXPECT_EQ(show(prompts.messages), "The palette needs a name.");
    EXPECT_EQ(editor.fileName(), QStringLiteral("Kit.ctb"));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("Mine.ctb")));
}

TEST_F(PaletteEditorTest, AFailedWriteIsReportedAndTheFileNameStays)
{
    stitch.PalettesPath = folder + QStringLiteral("missing/");
    ASSERT_TRUE(add(QStringLiteral("Red"), QStringLiteral("1"), 0x0000FF, 0));
    EXPECT_FALSE(editor.actSave());
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].startsWith(QStringLiteral("Cannot write the palette file")))
        << prompts.messages[0].toStdString();
    EXPECT_TRUE(editor.changed());
    EXPECT_FALSE(editor.knownFile());
    EXPECT_EQ(editor.fileName(), QStringLiteral("New Palette.ctb"));
}

TEST_F(PaletteEditorTest, AFileThatCannotBeReadIsReportedWithItsName)
{
    writeFile(QStringLiteral("Bad.ctb"), ";$NBad\r\n;$V1\r\n\"Red\", 1, x, 0, 0, 4\r\n");
    EXPECT_FALSE(editor.openFile(QStringLiteral("Bad.ctb"), QStringLiteral("Bad"), QStringLiteral("1")));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("Bad.ctb")));
    EXPECT_TRUE(prompts.messages[0].contains(QStringLiteral("line 3")));
    EXPECT_FALSE(editor.knownFile());
    EXPECT_TRUE(editor.Palette().isEmpty());
}

// ---------------------------------------------------------------------------------------------
// The list

TEST_F(PaletteEditorTest, TheSortModesOrderTheListAndOnlyPaletteOrderMovesRows)
{
    writeFile(QStringLiteral("Mix.ctb"),
              ";$NMix\r\n;$V1\r\n"
              "\"beige\", 10, 1, 0, 0, 0\r\n"
              "\"Apple\", 9, 2, 0, 0, 1\r\n"
              "\"Zinc\", B5200, 3, 0, 0, 2\r\n"
              "\"apple\", 100, 4, 0, 0, 3\r\n"
              "\"Blanc\", BLANC, 5, 0, 0, 4\r\n"
              "\"Ash\", -3, 6, 0, 0, 5\r\n");
    ASSERT_TRUE(editor.openFile(QStringLiteral("Mix.ctb"), QStringLiteral("Mix"), QStringLiteral("1")));
    struct Case
    {
        PaletteEditor::SortMode mode;
        const char* order;
        bool moves;
    };
    const std::vector<Case> cases = {
        {PaletteEditor::sortByName, "Apple|Ash|Blanc|Zinc|apple|beige", false},
        // Whole numbers by value (9 before 10), the others by code units after them.
        {PaletteEditor::sortByNumber, "Ash|Apple|beige|apple|Zinc|Blanc", false},
        {PaletteEditor::sortByPalette, "beige|Apple|Zinc|apple|Blanc|Ash", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.order);
        editor.selectRows(2, 2);
        const QString selected = editor.Palette()[2].colorName;
        editor.ComboSortChange(c.mode);
        EXPECT_EQ(show(names()), c.order);
        // The sort does not change the palette, and the selected colour stays selected.
        EXPECT_FALSE(editor.changed());
        EXPECT_EQ(editor.Palette()[editor.firstSelected()].colorName, selected);
        EXPECT_EQ(editor.fields().name, selected);
        editor.selectRows(2, 3);
        EXPECT_EQ(editor.canUp(), c.moves);
        EXPECT_EQ(editor.canDown(), c.moves);
    }

    // A save writes the list in its current order.
    editor.ComboSortChange(PaletteEditor::sortByName);
    ASSERT_TRUE(editor.actSaveAs());
    const PaletteFileData back = loadpalette(folder + QStringLiteral("Mine.ctb"));
    QStringList order;
    for (const TColorInfo& c : back.colors)
        order << c.colorName;
    EXPECT_EQ(show(order), "Apple|Ash|Blanc|Zinc|apple|beige");
}

TEST_F(PaletteEditorTest, ByNumberIsOneOrderWhicheverPairIsComparedFirst)
{
    // Mixed numbers once made a cycle (2 < 10 < 1A < 2); the order must be a strict weak one.
    QStringList numbers = {QStringLiteral("2"), QStringLiteral("10"), QStringLiteral("1A"),
                           QStringLiteral("B5200"), QStringLiteral("-4"), QStringLiteral("007"),
                           QStringLiteral("7"), QStringLiteral("ECRU"), QStringLiteral(""),
                           QStringLiteral("99999999999999999999")};
    for (const QString& a : numbers) {
        EXPECT_FALSE(PaletteEditor::numberLess(a, a)) << a.toStdString();
        for (const QString& b : numbers) {
            if (PaletteEditor::numberLess(a, b)) {
                EXPECT_FALSE(PaletteEditor::numberLess(b, a)) << a.toStdString() << " " << b.toStdString();
            }
            for (const QString& c : numbers) {
                if (PaletteEditor::numberLess(a, b) && PaletteEditor::numberLess(b, c)) {
                    EXPECT_TRUE(PaletteEditor::numberLess(a, c))
                        << a.toStdString() << " " << b.toStdString() << " " << c.toStdString();
                }
            }
        }
    }
    EXPECT_TRUE(PaletteEditor::numberLess(QStringLiteral("9"), QStringLiteral("10")));
    EXPECT_TRUE(PaletteEditor::numberLess(QStringLiteral("B5200"), QStringLiteral("BLANC")));
}

TEST_F(PaletteEditorTest, UpAndDownMoveTheSelectedBlockByOneRow)
{
    for (int i = 0; i < 6; ++i)
        ASSERT_TRUE(add(QString::number(i), QString::number(i), ColorKey(i), i));
    // Rows 2 to 4 up: entry 1 goes below them, and the block stays selected as rows 1 to 3.
    editor.selectRows(2, 4);
    editor.actUp();
    EXPECT_EQ(show(names()), "0|2|3|4|1|5");
    EXPECT_EQ(editor.firstSelected(), 1);
    EXPECT_EQ(editor.lastSelected(), 3);
    editor.actDown();
    EXPECT_EQ(show(names()), "0|1|2|3|4|5");
    EXPECT_EQ(editor.firstSelected(), 2);
    EXPECT_EQ(editor.lastSelected(), 4);
    // The moved order is the palette order from now on.
    editor.selectRows(0, 0);
    editor.actDown();
    editor.ComboSortChange(PaletteEditor::sortByName);
    editor.ComboSortChange(PaletteEditor::sortByPalette);
    EXPECT_EQ(show(names()), "1|0|2|3|4|5");
    // At the ends the moves are disabled.
    editor.selectRows(0, 1);
    EXPECT_FALSE(editor.canUp());
    EXPECT_TRUE(editor.canDown());
    editor.selectRows(4, 5);
    EXPECT_TRUE(editor.canUp());
    EXPECT_FALSE(editor.canDown());
    // While a colour is added nothing moves.
    editor.actNew();
    EXPECT_FALSE(editor.canUp());
    EXPECT_FALSE(editor.canEdit());
    EXPECT_TRUE(editor.canOK());
}

TEST_F(PaletteEditorTest, DeleteRemovesTheSelectedRowsAndShowsTheNextOne)
{
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(add(QString::number(i), QString::number(i), ColorKey(i), i));
    ASSERT_TRUE(editor.actSave());
    editor.selectRows(1, 2);
    editor.actDelete();
    EXPECT_EQ(show(names()), "0|3");
    EXPECT_EQ(editor.firstSelected(), 1);
    EXPECT_EQ(editor.fields().name, QStringLiteral("3"));
    EXPECT_TRUE(editor.changed());
    editor.actDelete();
    editor.actDelete();
    EXPECT_TRUE(editor.Palette().isEmpty());
    EXPECT_EQ(editor.firstSelected(), -1);
    EXPECT_EQ(editor.fields(), PaletteEditor::Fields());
    EXPECT_FALSE(editor.canDelete());
    EXPECT_TRUE(editor.canNew());
}

// ---------------------------------------------------------------------------------------------
// The colour settings

TEST_F(PaletteEditorTest, TheRGBFieldReadsDollarAndSixHexDigits)
{
    editor.actNew();
    EXPECT_EQ(editor.fields().swatch, PaletteEditor::kGrey);
    struct Case
    {
        const char* text;
        ColorKey swatch; // after the change
    };
    const std::vector<Case> cases = {
        {"$FF0000", 0x0000FF},  // red
        {"$FF00", 0x0000FF},    // too short: ignored
        {"$00ff80", 0x80FF00},  // lower case reads too
        {"$GG0000", 0x80FF00},  // not hexadecimal: ignored
        {"00FF00", 0x80FF00},   // without the dollar sign: ignored
        {"$0000FF", 0xFF0000},  // blue
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        editor.ERGBChange(QString::fromUtf8(c.text));
        EXPECT_EQ(editor.fields().swatch, c.swatch);
    }
    // Leaving the field with text that does not read puts the swatch's value back.
    editor.ERGBChange(QStringLiteral("$12"));
    editor.ERGBExit();
    EXPECT_EQ(editor.fields().rgb, QStringLiteral("$0000FF"));
    EXPECT_EQ(PaletteEditor::rgbText(0x0A0B0C), QStringLiteral("$0C0B0A"));

    // The colour dialog's choice, and the field gives the name the focus.
    editor.setSwatch(0x00FF00);
    EXPECT_EQ(editor.fields().rgb, QStringLiteral("$00FF00"));
    ASSERT_FALSE(prompts.focus.empty());
    EXPECT_EQ(prompts.focus.back(), P::NameField);

    // While idle, typing changes nothing.
    editor.actCancel();
    editor.ERGBChange(QStringLiteral("$FFFFFF"));
    EXPECT_EQ(editor.fields().swatch, PaletteEditor::kGrey);
}

TEST_F(PaletteEditorTest, PickingAveragesTheSquareInsideThePicture)
{
    // A 4 x 4 picture: pixel (x, y) has red 10x, green 10y, blue 100.
    QImage picture(4, 4, QImage::Format_ARGB32);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            picture.setPixel(x, y, qRgb(10 * x, 10 * y, 100));
    struct Case
    {
        QPoint center;
        int size;
        std::optional<ColorKey> average;
    };
    const std::vector<Case> cases = {
        {{2, 1}, 0, makeColorKey(20, 10, 100)},    // one pixel
        {{2, 1}, 1, makeColorKey(20, 10, 100)},    // 1 div 2 = 0: still one
        {{2, 2}, 3, makeColorKey(20, 20, 100)},    // 3 x 3 around (2, 2)
        {{0, 0}, 3, makeColorKey(5, 5, 100)},      // only the four pixels inside count
        {{3, 3}, 30, makeColorKey(15, 15, 100)},   // the whole picture
        {{9, 9}, 4, std::nullopt},                 // wholly outside
        {{-5, 0}, 2, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(PaletteEditor::averageSquare(picture, c.center, c.size), c.average);
    }
    // Sums are divided down: (0 + 10) div 2 = 5.
    EXPECT_EQ(PaletteEditor::averageSquare(picture, {0, 0}, 2), makeColorKey(5, 5, 100));

    // Only while a colour is added or changed.
    EXPECT_FALSE(editor.pickColor(picture, {2, 2}, 3));
    editor.actNew();
    EXPECT_TRUE(editor.pickColor(picture, {2, 2}, 3));
    EXPECT_EQ(editor.fields().swatch, makeColorKey(20, 20, 100));
    EXPECT_EQ(editor.fields().rgb, QStringLiteral("$141464"));
    EXPECT_FALSE(editor.pickColor(picture, {9, 9}, 3));
    EXPECT_EQ(editor.fields().swatch, makeColorKey(20, 20, 100));
}

// ---------------------------------------------------------------------------------------------
// Closing

TEST_F(PaletteEditorTest, CloseAsksAboutUnsavedChanges)
{
    EXPECT_TRUE(editor.close());
    EXPECT_TRUE(prompts.questions.isEmpty());
    ASSERT_TRUE(add(QStringLiteral("Red"), QStringLiteral("1"), 0x0000FF, 0));

    prompts.yesNoCancel = P::Cancel;
    EXPECT_FALSE(editor.close());
    EXPECT_EQ(show(prompts.questions), "Palette was changed. Save it now?");
    prompts.yesNoCancel = P::No;
    EXPECT_TRUE(editor.close());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());

    // Yes on a new palette writes "New Palette.ctb" without the palette list.
    prompts.yesNoCancel = P::Yes;
    EXPECT_TRUE(editor.close());
    EXPECT_TRUE(prompts.listShown.isEmpty());
    const PaletteFileData written = loadpalette(folder + QStringLiteral("New Palette.ctb"));
    EXPECT_EQ(written.name, QStringLiteral("New Palette"));
    EXPECT_EQ(written.version, QStringLiteral("1.0"));
    ASSERT_EQ(written.colors.size(), 1);
    EXPECT_FALSE(editor.changed());
}

TEST_F(PaletteEditorTest, CloseOnANewPaletteDoesNotReplaceAnotherFileUnasked)
{
    const QByteArray earlier(";$NNew Palette\r\n;$V1.0\r\n\"Kept\", 1, 1, 2, 3, 0\r\n");
    writeFile(QStringLiteral("New Palette.ctb"), earlier);
    ASSERT_TRUE(add(QStringLiteral("Red"), QStringLiteral("1"), 0x0000FF, 0));
    prompts.yesNoCancel = P::Yes;
    // The palette list dialog asks instead; cancelling it keeps the editor open.
    prompts.listAnswer = false;
    EXPECT_FALSE(editor.close());
    EXPECT_EQ(prompts.listShown.size(), 1);
    EXPECT_EQ(readFile(QStringLiteral("New Palette.ctb")), earlier);
    // A name given there is written.
    prompts.listAnswer = true;
    EXPECT_TRUE(editor.close());
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("Mine.ctb")));
    EXPECT_EQ(readFile(QStringLiteral("New Palette.ctb")), earlier);
}

} // namespace
