// The characters editor without its window: the offered codes, every list operation with
// several selected rows and at the ends of the lists, opening files, the save rules with the
// file state, and the unsaved-changes question.
#include "core/TStitch.h"
#include "palettes/CharactersEditor.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

namespace {

using List = CharactersEditor::List;
constexpr List All = CharactersEditor::AllList;
constexpr List Sel = CharactersEditor::SelectedList;

const QString kNameMissing = QStringLiteral("Please enter name for the character set.");
const QString kNotSaved = QStringLiteral("Data is not saved, save now?");

// Scripted answers to the editor's questions, with a record of what was asked.
struct ScriptedPrompts : CharactersEditorPrompts
{
    void showMessage(const QString& text) override { messages << text; }
    void focusName() override { ++nameFocused; }
    Answer askYesNoCancel(const QString& text) override
    {
        questions << text;
        return answer;
    }
    QString chooseOpenFile(const QString& folder) override
    {
        openFolders << folder;
        return openPicks.isEmpty() ? QString() : openPicks.takeFirst();
    }
    QString chooseSaveFile(const QString& folder) override
    {
        saveFolders << folder;
        return savePicks.isEmpty() ? QString() : savePicks.takeFirst();
    }

    QStringList messages, questions, openFolders, saveFolders, openPicks, savePicks;
    int nameFocused = 0;
    Answer answer = Cancel;
};

QList<int> range(int from, int to)
{
    QList<int> r;
    for (int c = from; c <= to; ++c)
        r << c;
    return r;
}

class CharactersEditorTest : public ::testing::Test
{
public:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = testsupport::tempRoot() + QStringLiteral("/chreditor/") + QString::fromLatin1(info->name())
                 + QString::number(++counter);
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        stitch.CharactersPath = folder;
        editor = std::make_unique<CharactersEditor>(stitch, fonts, prompts);
        editor->NewSet();
    }

    QString path(const QString& name) const { return folder + u'/' + name; }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path(name);
    }

    static QByteArray readAll(const QString& p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Moves the codes at the given rows of "All Characters" to "Selected Characters".
    void add(const QList<int>& rows)
    {
        editor->setSelectedRows(All, rows);
        editor->addSelected();
    }

    // A named set of three characters, not yet saved anywhere.
    void composeSet()
    {
        editor->setName(QStringLiteral("Greek"));
        editor->setDescription(QStringLiteral("Some letters"));
        add({0, 32, 60}); // codes 33, 65 and 93
    }

    QStringList fonts{QStringLiteral("Arial"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("KorvaldArtSymbols110")};
    QString folder;
    TStitch stitch;
    ScriptedPrompts prompts;
    std::unique_ptr<CharactersEditor> editor;
    static inline int counter = 0;
};

TEST_F(CharactersEditorTest, NewSetOffersTheCodesAndStartsUnsaved)
{
    const QList<int> offered = range(33, 126) + range(160, 600);
    EXPECT_EQ(editor->codes(All), offered);
    EXPECT_TRUE(editor->codes(Sel).isEmpty());
    EXPECT_TRUE(editor->showIds());
    EXPECT_EQ(editor->fontName(), QStringLiteral("KorvaldArtSymbols110"));
    EXPECT_FALSE(editor->file().FileSaved);
    EXPECT_FALSE(editor->file().FileNameAssigned);
    EXPECT_TRUE(editor->file().FileName.isEmpty());
}

TEST_F(CharactersEditorTest, NewSetChoosesTheSymbolFontWhenInstalled)
{
    struct Case
    {
        QStringList fonts;
        QString expected;
    };
    const Case cases[] = {
        {{"Arial", "KorvaldArtSymbols", "KorvaldArtSymbols110"}, "KorvaldArtSymbols"},
        {{"Arial", "KorvaldArtSymbols110"}, "KorvaldArtSymbols110"},
        {{"Arial", "DejaVu Sans"}, ""},
        {{}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.fonts.join(u',')));
        CharactersEditor e(stitch, c.fonts, prompts);
        e.NewSet();
        EXPECT_EQ(e.fontName(), c.expected);
        EXPECT_EQ(e.codes(All).size(), 94 + 441); // the codes do not depend on the font
    }
}

TEST_F(CharactersEditorTest, AddMovesTheSelectedRowsAndSelectsTheFollowingRow)
{
    struct Case
    {
        const char* what;
        QList<int> before;       // rows of "All Characters" added first (unselected afterwards)
        QList<int> picked;       // rows of "All Characters" selected for "Add >"
        QList<int> selectedCodes; // "Selected Characters" afterwards
        QList<int> selectedRows;  // its selected rows
        int allSelectedCode;      // the one selected row left in "All Characters", or -1
    };
    const Case cases[] = {
        {"one row", {}, {5}, {38}, {0}, 39},
        // With several rows the one now at the last removed row's position is selected.
        {"rows apart", {}, {0, 2}, {33, 35}, {0, 1}, 37},
        {"adjacent rows at the top", {}, {0, 1}, {33, 34}, {0, 1}, 36},
        {"appended after earlier rows", {{7}}, {0, 3}, {40, 33, 36}, {1, 2}, 38},
        {"three rows apart", {}, {1, 4, 10}, {34, 37, 43}, {0, 1, 2}, 46},
        {"the last row", {}, {534}, {600}, {0}, 599},
        {"the last two rows", {}, {533, 534}, {599, 600}, {0, 1}, 598},
        {"nothing selected", {{7}}, {}, {40}, {0}, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor->NewSet();
        if (!c.before.isEmpty())
            add(c.before);
        add(c.picked);
        EXPECT_EQ(editor->codes(Sel), c.selectedCodes);
        EXPECT_EQ(editor->selectedRows(Sel), c.selectedRows);
        const QList<int> allSel = editor->selectedRows(All);
        if (c.allSelectedCode < 0) {
            EXPECT_EQ(editor->codes(All).size(), 535 - c.selectedCodes.size());
        } else {
            ASSERT_EQ(allSel.size(), 1);
            EXPECT_EQ(editor->codes(All)[allSel.first()], c.allSelectedCode);
            EXPECT_EQ(editor->currentRow(All), allSel.first());
        }
        for (int code : c.selectedCodes)
            EXPECT_FALSE(editor->codes(All).contains(code)) << code;
        if (!c.picked.isEmpty()) {
            EXPECT_EQ(editor->currentRow(Sel), c.selectedRows.first());
        }
    }
}

TEST_F(CharactersEditorTest, AddOfTheLastRowsEmptiesAllWithoutSelection)
{
    editor->addAll();
    editor->setSelectedRows(Sel, {0});
    editor->removeSelected(); // code 33 back
    add({0});
    EXPECT_TRUE(editor->codes(All).isEmpty());
    EXPECT_EQ(editor->currentRow(All), -1);
    EXPECT_EQ(editor->codes(Sel).last(), 33);
    EXPECT_EQ(editor->codes(Sel).size(), 535);
}

TEST_F(CharactersEditorTest, AnAlreadySelectedCharacterIsNotOfferedTwice)
{
    add({32}); // 65
    const QList<int> all = editor->codes(All);
    EXPECT_EQ(all.count(65), 0);
    // Adding the row now at that place adds the next code, never 65 again.
    add({32});
    EXPECT_EQ(editor->codes(Sel), (QList<int>{65, 66}));
    // A second "Add >" of the same selection after removal adds it once.
    editor->setSelectedRows(Sel, {0});
    editor->removeSelected();
    add({32});
    EXPECT_EQ(editor->codes(Sel), (QList<int>{66, 65}));
    EXPECT_EQ(editor->codes(All).count(65), 0);
}

TEST_F(CharactersEditorTest, RemoveReturnsRowsSortedAndSelectsTheRowAtTheFirstRemoved)
{
    struct Case
    {
        const char* what;
        QList<int> picked;          // rows of "Selected Characters" [33, 34, 35, 36, 37]
        QList<int> selectedCodes;   // afterwards
        int selectedSelectedCode;   // the selected row left there, or -1
        QList<int> allSelectedCodes; // selected rows of "All Characters"
    };
    const Case cases[] = {
        {"one row in the middle", {2}, {33, 34, 36, 37}, 36, {35}},
        {"rows apart", {1, 3}, {33, 35, 37}, 35, {34, 36}},
        {"the last row", {4}, {33, 34, 35, 36}, 36, {37}},
        {"the last two rows", {3, 4}, {33, 34, 35}, 35, {36, 37}},
        {"every row", {0, 1, 2, 3, 4}, {}, -1, {33, 34, 35, 36, 37}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor->NewSet();
        add({0, 1, 2, 3, 4});
        editor->setSelectedRows(Sel, c.picked);
        editor->removeSelected();
        EXPECT_EQ(editor->codes(Sel), c.selectedCodes);
        const QList<int> selRows = editor->selectedRows(Sel);
        if (c.selectedSelectedCode < 0) {
            EXPECT_TRUE(selRows.isEmpty());
        } else {
            ASSERT_EQ(selRows.size(), 1);
            EXPECT_EQ(editor->codes(Sel)[selRows.first()], c.selectedSelectedCode);
        }
        QList<int> allSelected;
        for (int r : editor->selectedRows(All))
            allSelected << editor->codes(All)[r];
        EXPECT_EQ(allSelected, c.allSelectedCodes);
        EXPECT_EQ(editor->codes(All)[editor->currentRow(All)], c.allSelectedCodes.first());
        QList<int> sorted = editor->codes(All);
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(editor->codes(All), sorted);
    }
}

TEST_F(CharactersEditorTest, AddAllAndRemoveAllKeepOrders)
{
    add({10, 3});       // 43, 36
    editor->addAll();   // then every other code in ascending order
    QList<int> expected{36, 43}; // in the order of "All Characters"
    for (int c : range(33, 126) + range(160, 600)) {
        if (c != 43 && c != 36)
            expected << c;
    }
    EXPECT_EQ(editor->codes(Sel), expected);
    EXPECT_TRUE(editor->codes(All).isEmpty());
    editor->removeAll();
    EXPECT_TRUE(editor->codes(Sel).isEmpty());
    EXPECT_EQ(editor->codes(All), range(33, 126) + range(160, 600));
}

TEST_F(CharactersEditorTest, MovesStopAtTheEnds)
{
    struct Case
    {
        const char* what;
        bool up;
        QList<int> picked;
        QList<int> order;
        QList<int> selected;
    };
    const Case cases[] = {
        {"up: a block", true, {1, 2}, {34, 35, 33, 36, 37}, {0, 1}},
        {"up: rows apart", true, {2, 4}, {33, 35, 34, 37, 36}, {1, 3}},
        {"up: the first row selected stops at once", true, {0, 2}, {33, 34, 35, 36, 37}, {0, 2}},
        {"up: nothing selected", true, {}, {33, 34, 35, 36, 37}, {}},
        {"down: a block", false, {2, 3}, {33, 34, 37, 35, 36}, {3, 4}},
        {"down: rows apart", false, {0, 2}, {34, 33, 36, 35, 37}, {1, 3}},
        {"down: the last row selected stops at once", false, {2, 4}, {33, 34, 35, 36, 37}, {2, 4}},
        {"down: the only row selected is the last", false, {4}, {33, 34, 35, 36, 37}, {4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor->NewSet();
        add({0, 1, 2, 3, 4});
        editor->setSelectedRows(Sel, c.picked);
        editor->file().OpenFile(path("x.chr")); // saved: the move marks it changed
        c.up ? editor->moveUp() : editor->moveDown();
        EXPECT_EQ(editor->codes(Sel), c.order);
        EXPECT_EQ(editor->selectedRows(Sel), c.selected);
        EXPECT_FALSE(editor->file().FileSaved);
    }
}

TEST_F(CharactersEditorTest, DoubleClicksMoveOnlyTheClickedRow)
{
    editor->setSelectedRows(All, {0, 1, 2});
    editor->doubleClicked(All, 4); // code 37
    EXPECT_EQ(editor->codes(Sel), QList<int>{37});
    add({0, 1});
    editor->setSelectedRows(Sel, {0, 1, 2});
    editor->doubleClicked(Sel, 1); // code 33
    EXPECT_EQ(editor->codes(Sel), (QList<int>{37, 34}));
    EXPECT_TRUE(editor->codes(All).contains(33));
    editor->doubleClicked(Sel, 7); // no such row: nothing happens
    EXPECT_EQ(editor->codes(Sel), (QList<int>{37, 34}));
}

TEST_F(CharactersEditorTest, EveryEditMarksTheSetChanged)
{
    const std::pair<const char*, std::function<void(CharactersEditor&)>> edits[] = {
        {"name", [](CharactersEditor& e) { e.setName(QStringLiteral("x")); }},
        {"description", [](CharactersEditor& e) { e.setDescription(QStringLiteral("x")); }},
        {"font", [](CharactersEditor& e) { e.setFontName(QStringLiteral("Arial")); }},
        {"add", [](CharactersEditor& e) { e.setSelectedRows(All, {0}); e.addSelected(); }},
        {"remove", [](CharactersEditor& e) { e.setSelectedRows(Sel, {0}); e.removeSelected(); }},
        {"add all", [](CharactersEditor& e) { e.addAll(); }},
        {"remove all", [](CharactersEditor& e) { e.removeAll(); }},
        {"move up", [](CharactersEditor& e) { e.moveUp(); }},
        {"move down", [](CharactersEditor& e) { e.moveDown(); }},
    };
    add({0, 1});
    for (const auto& [what, edit] : edits) {
        SCOPED_TRACE(what);
        editor->file().OpenFile(path("x.chr"));
        ASSERT_TRUE(editor->file().FileSaved);
        edit(*editor);
        EXPECT_FALSE(editor->file().FileSaved);
    }
    editor->setFontName(QStringLiteral("Not Installed"));
    EXPECT_TRUE(editor->fontName().isEmpty());
}

TEST_F(CharactersEditorTest, OpenReadsTheFileIntoTheLists)
{
    const QString file = write(QStringLiteral("greek.chr"),
                               "Greek\r\nSome letters\r\nArial,,53\r\n65\r\n550\r\n128\r\n33\r\n65\r\n499\r\n");
    prompts.openPicks << file;
    ASSERT_TRUE(editor->openClicked());
    EXPECT_EQ(prompts.openFolders, QStringList{folder});
    EXPECT_EQ(editor->name(), QStringLiteral("Greek"));
    EXPECT_EQ(editor->description(), QStringLiteral("Some letters"));
    EXPECT_EQ(editor->fontName(), QStringLiteral("Arial"));
    EXPECT_EQ(editor->codes(Sel), (QList<int>{65, 550, 128, 33, 65, 499}));
    // Only codes up to 499 are offered after opening, each taken out once.
    QList<int> expectedAll = range(34, 126) + range(160, 498);
    expectedAll.removeOne(65);
    EXPECT_EQ(editor->codes(All), expectedAll);
    EXPECT_EQ(editor->selectedCharacters(),
              QStringLiteral("A\u0226\u20AC!A\u01F3"));
    EXPECT_TRUE(editor->file().FileSaved);
    EXPECT_TRUE(editor->file().FileNameAssigned);
    EXPECT_EQ(editor->file().FileName, file);
}

TEST_F(CharactersEditorTest, OpenFontAndShortFiles)
{
    struct Case
    {
        const char* what;
        QByteArray bytes;
        QString font; // before: KorvaldArtSymbols110
        QList<int> selected;
    };
    const Case cases[] = {
        {"font not installed", "S\r\nD\r\nWingdings,,2\r\n66\r\n", "", {66}},
        {"quoted installed font", "S\r\nD\r\n\"DejaVu Sans\",0,0\r\n", "DejaVu Sans", {}},
        {"empty font line keeps the font", "S\r\nD\r\n\r\n", "KorvaldArtSymbols110", {}},
        {"only three lines", "S\r\nD\r\nArial,,53", "Arial", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        editor->NewSet();
        ASSERT_TRUE(editor->openFile(write(QStringLiteral("f.chr"), c.bytes)));
        EXPECT_EQ(editor->fontName(), c.font);
        EXPECT_EQ(editor->codes(Sel), c.selected);
        EXPECT_TRUE(prompts.messages.isEmpty());
    }
}

TEST_F(CharactersEditorTest, ABadCharacterLineKeepsTheRowsButNotTheFile)
{
    const QString good = write(QStringLiteral("good.chr"), "Good\r\nD\r\nArial,,53\r\n70\r\n");
    ASSERT_TRUE(editor->openFile(good));
    const QString bad = write(QStringLiteral("bad.chr"), "Bad\r\nD\r\nArial,,53\r\n65\r\n66\r\nx7\r\n67\r\n");
    EXPECT_FALSE(editor->openFile(bad));
    ASSERT_EQ(prompts.messages.size(), 1);
    EXPECT_TRUE(prompts.messages.first().contains(QStringLiteral("line 6")));
    EXPECT_EQ(editor->codes(Sel), (QList<int>{65, 66}));
    EXPECT_EQ(editor->name(), QStringLiteral("Bad"));
    // Saving the partial set asks for a file and never replaces the one opened before.
    EXPECT_FALSE(editor->file().FileNameAssigned);
    EXPECT_FALSE(editor->file().FileSaved);
    EXPECT_FALSE(editor->saveClicked()); // the dialog is cancelled
    EXPECT_EQ(prompts.saveFolders.size(), 1);
    EXPECT_EQ(readAll(good), QByteArray("Good\r\nD\r\nArial,,53\r\n70\r\n"));
    // A file that cannot be read leaves the editor as it was.
    EXPECT_FALSE(editor->openFile(path("missing.chr")));
    EXPECT_EQ(editor->codes(Sel), (QList<int>{65, 66}));
}

TEST_F(CharactersEditorTest, SaveAsksForAFileAndAddsTheExtension)
{
    struct Case
    {
        const char* what;
        QString typed;   // empty: the dialog is cancelled
        QString written; // empty: nothing is written
    };
    const Case cases[] = {
        {"plain name", "symbols", "symbols.chr"},
        {"exact extension", "symbols.chr", "symbols.chr"},
        {"other extension", "symbols.txt", "symbols.txt.chr"},
        {"extension in capitals", "symbols.CHR", "symbols.CHR.chr"},
        {"cancelled", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        editor->NewSet();
        composeSet();
        prompts.saveFolders.clear();
        if (!c.typed.isEmpty())
            prompts.savePicks << path(c.typed);
        const bool saved = editor->saveClicked();
        EXPECT_EQ(prompts.saveFolders, QStringList{folder});
        EXPECT_EQ(saved, !c.written.isEmpty());
        EXPECT_EQ(editor->file().FileSaved, saved);
        EXPECT_EQ(editor->file().FileNameAssigned, saved);
        if (saved) {
            EXPECT_EQ(editor->file().FileName, path(c.written));
            EXPECT_EQ(readAll(path(c.written)),
                      QByteArray("Greek\r\nSome letters\r\nKorvaldArtSymbols110,,53\r\n33\r\n65\r\n93\r\n"));
            EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 1);
        } else {
            EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
        }
    }
}

TEST_F(CharactersEditorTest, SaveNeedsANameAndWritesOnlyUnsavedSets)
{
    editor->setName(QStringLiteral("  "));
    add({0});
    EXPECT_FALSE(editor->saveClicked());
    EXPECT_EQ(prompts.messages, QStringList{kNameMissing});
    EXPECT_EQ(prompts.nameFocused, 1);
    EXPECT_TRUE(prompts.saveFolders.isEmpty());

    editor->setName(QStringLiteral("Set"));
    prompts.savePicks << path(QStringLiteral("set"));
    ASSERT_TRUE(editor->saveClicked());
    const QString file = path(QStringLiteral("set.chr"));
    // Saved: the save button writes nothing.
    QFile::remove(file);
    EXPECT_TRUE(editor->saveClicked());
    EXPECT_FALSE(QFile::exists(file));
    // Changed: written again into the same file without a dialog.
    editor->moveUp();
    EXPECT_TRUE(editor->saveClicked());
    EXPECT_EQ(readAll(file), QByteArray("Set\r\n\r\nKorvaldArtSymbols110,,53\r\n33\r\n"));
    EXPECT_EQ(prompts.saveFolders.size(), 1);
    // Save as always asks.
    prompts.savePicks << path(QStringLiteral("copy"));
    EXPECT_TRUE(editor->saveAsClicked());
    EXPECT_EQ(prompts.saveFolders.size(), 2);
    EXPECT_EQ(editor->file().FileName, path(QStringLiteral("copy.chr")));
    EXPECT_TRUE(QFile::exists(path(QStringLiteral("copy.chr"))));
}

TEST_F(CharactersEditorTest, SavedFileHoldsFontAndCodesAsWritten)
{
    ASSERT_TRUE(editor->openFile(write(QStringLiteral("in.chr"),
                                       "Euro\r\nD\r\nDejaVu Sans,,53\r\n128\r\n8364\r\n600\r\n")));
    editor->setFontName(QStringLiteral("Not Installed")); // no font selected
    editor->setSelectedRows(Sel, {2});
    editor->moveUp();
    ASSERT_TRUE(editor->saveClicked());
    EXPECT_EQ(readAll(path(QStringLiteral("in.chr"))),
              QByteArray("Euro\r\nD\r\n,,53\r\n128\r\n600\r\n8364\r\n"));
    editor->setFontName(QStringLiteral("DejaVu Sans"));
    ASSERT_TRUE(editor->saveClicked());
    EXPECT_TRUE(readAll(path(QStringLiteral("in.chr"))).startsWith("Euro\r\nD\r\n\"DejaVu Sans\",,53\r\n"));
}

TEST_F(CharactersEditorTest, AFailedWriteLeavesTheSetUnsaved)
{
    composeSet();
    editor->setName(QStringLiteral("Greek \u03A9")); // not storable in the file's code page
    prompts.savePicks << path(QStringLiteral("omega"));
    EXPECT_FALSE(editor->saveClicked());
    EXPECT_EQ(prompts.messages.size(), 1);
    EXPECT_FALSE(editor->file().FileSaved);
    EXPECT_FALSE(editor->file().FileNameAssigned);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("omega.chr"))));
    // The question on closing then keeps the work.
    prompts.answer = CharactersEditorPrompts::Yes;
    prompts.savePicks << path(QStringLiteral("omega.chr"));
    EXPECT_FALSE(editor->file().Check());
}

TEST_F(CharactersEditorTest, CheckAsksOnlyAboutUnsavedNonEmptySets)
{
    using P = CharactersEditorPrompts;
    struct Case
    {
        const char* what;
        std::function<void(CharactersEditorTest&)> setup;
        P::Answer answer;
        QString typed;     // picked in the save dialog (empty: cancelled)
        bool expected;
        bool asked;
        QString written;   // file written, or empty
    };
    const Case cases[] = {
        {"saved set", [](auto& t) { t.composeSet(); t.editor->file().OpenFile(t.path("o.chr")); },
         P::Cancel, "", true, false, ""},
        {"empty selection", [](auto& t) { t.editor->setName("Changed"); }, P::Cancel, "", true, false, ""},
        {"cancel", [](auto& t) { t.composeSet(); }, P::Cancel, "", false, true, ""},
        {"no", [](auto& t) { t.composeSet(); }, P::No, "", true, true, ""},
        {"yes without a name", [](auto& t) { t.composeSet(); t.editor->setName(""); }, P::Yes, "x", false, true, ""},
        {"yes with a file name", [](auto& t) {
             t.composeSet();
             t.editor->file().OpenFile(t.path("assigned.chr"));
             t.editor->file().Change();
         }, P::Yes, "", true, true, "assigned.chr"},
        {"yes, the name taken as typed", [](auto& t) { t.composeSet(); }, P::Yes, "typed.txt", true, true, "typed.txt"},
        {"yes, the dialog cancelled", [](auto& t) { t.composeSet(); }, P::Yes, "", false, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        editor->NewSet();
        prompts = ScriptedPrompts();
        c.setup(*this);
        prompts.answer = c.answer;
        if (!c.typed.isEmpty())
            prompts.savePicks << path(c.typed);
        EXPECT_EQ(editor->file().Check(), c.expected);
        EXPECT_EQ(prompts.questions, c.asked ? QStringList{kNotSaved} : QStringList());
        const QStringList files = QDir(folder).entryList(QDir::Files);
        EXPECT_EQ(files, c.written.isEmpty() ? QStringList() : QStringList{c.written});
        if (!c.written.isEmpty()) {
            EXPECT_TRUE(editor->file().FileSaved);
            EXPECT_EQ(editor->file().FileName, path(c.written));
            EXPECT_TRUE(readAll(path(c.written)).startsWith("Greek\r\n"));
        }
        if (!c.written.isEmpty()) {
            EXPECT_TRUE(prompts.messages.isEmpty());
        }
    }
    EXPECT_EQ(prompts.messages, QStringList()); // last case: cancelled, nothing shown
}

TEST_F(CharactersEditorTest, CheckSaveDialogStartsWhereItLastWas)
{
    const QString other = folder + QStringLiteral("/other");
    QDir().mkpath(other);
    composeSet();
    prompts.answer = CharactersEditorPrompts::Yes;
    prompts.savePicks << other + QStringLiteral("/first");
    ASSERT_TRUE(editor->file().Check());
    EXPECT_TRUE(QFile::exists(other + QStringLiteral("/first")));
    editor->NewSet();
    composeSet();
    EXPECT_FALSE(editor->file().Check()); // the dialog is cancelled
    EXPECT_EQ(prompts.saveFolders, (QStringList{folder, other}));
}

TEST_F(CharactersEditorTest, NewAndOpenRespectTheQuestion)
{
    composeSet();
    prompts.answer = CharactersEditorPrompts::Cancel;
    editor->newClicked();
    EXPECT_EQ(editor->codes(Sel), (QList<int>{33, 65, 93}));
    prompts.openPicks << write(QStringLiteral("o.chr"), "O\r\nD\r\nArial,,53\r\n66\r\n");
    EXPECT_FALSE(editor->openClicked());
    EXPECT_TRUE(prompts.openFolders.isEmpty());
    EXPECT_EQ(editor->name(), QStringLiteral("Greek"));

    prompts.answer = CharactersEditorPrompts::No;
    editor->newClicked();
    EXPECT_TRUE(editor->codes(Sel).isEmpty());
    EXPECT_TRUE(editor->name().isEmpty());
    EXPECT_EQ(editor->codes(All).size(), 535);
}

} // namespace
