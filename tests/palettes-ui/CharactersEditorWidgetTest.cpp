// The characters editor window driven as a user does: selecting rows with the mouse, the
// buttons, double clicks, "Show ID's", typing a name and saving, opening a file, the question
// on closing and the help button; the editor state and the written file are checked after.
#include "core/SymbolFont.h"
#include "core/TStitch.h"
#include "palettes/ui/TFCharacters.h"
#include "support/TestSupport.h"
#include "i18n/ui/THelpWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

using List = CharactersEditor::List;

struct ScriptedPrompts : CharactersEditorPrompts
{
    void showMessage(const QString& text) override { messages << text; }
    Answer askYesNoCancel(const QString& text) override
    {
        questions << text;
        return answer;
    }
    QString chooseOpenFile(const QString&) override { return openPicks.isEmpty() ? QString() : openPicks.takeFirst(); }
    QString chooseSaveFile(const QString&) override { return savePicks.isEmpty() ? QString() : savePicks.takeFirst(); }

    QStringList messages, questions, openPicks, savePicks;
    Answer answer = Cancel;
};

class CharactersEditorWidgetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(registerSymbolFontFile(testsupport::shippedDataDir()
                                            + QStringLiteral("/fonts/KorvaldArtSymbols110.ttf"))
                         .isEmpty());
        folder = testsupport::currentTestPath(QStringLiteral(".chr-folder"));
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        stitch.CharactersPath = folder;
        dialog = std::make_unique<TFCharacters>(stitch);
        dialog->setPrompts(&prompts);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    template <typename T>
    T* child(const char* name) const
    {
        T* w = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QPushButton* button(const QString& text) const
    {
        for (QPushButton* b : dialog->findChildren<QPushButton*>()) {
            if (b->text() == text)
                return b;
        }
        ADD_FAILURE() << "no button " << text.toStdString();
        return nullptr;
    }

    // A user's double click: the press and release of the first click, then the double click.
    void doubleClickRow(QTableView* view, int row)
    {
        clickRow(view, row);
        const QModelIndex i = view->model()->index(row, 0);
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(i).center());
    }

    void clickRow(QTableView* view, int row, Qt::KeyboardModifiers mods = {})
    {
        const QModelIndex i = view->model()->index(row, 0);
        view->scrollTo(i);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, view->visualRect(i).center());
    }

    QList<int> viewSelection(QTableView* view) const
    {
        QList<int> rows;
        for (const QModelIndex& i : view->selectionModel()->selectedRows())
            rows << i.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    CharactersEditor& editor() { return dialog->editor(); }

    static QByteArray readAll(const QString& p)
    {
        QFile f(p);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QString folder;
    TStitch stitch;
    ScriptedPrompts prompts;
    std::unique_ptr<TFCharacters> dialog;
};

TEST_F(CharactersEditorWidgetTest, ShowsANewSetWithTheDescribedControls)
{
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Characters"));
    for (const char* text : {"Add all >>", "Add >", "< Remove", "<< Remove all", "Move up", "Move down",
                             "Close", "Help"})
        EXPECT_NE(button(QString::fromLatin1(text)), nullptr);
    QStringList labels;
    for (QLabel* l : dialog->findChildren<QLabel*>())
        labels << l->text();
    for (const char* text : {"Font :", "Name :", "Description :", "All Characters", "Selected Characters"})
        EXPECT_TRUE(labels.contains(QString::fromLatin1(text))) << text;
    QStringList groups;
    for (QGroupBox* g : dialog->findChildren<QGroupBox*>())
        groups << g->title();
    EXPECT_EQ(groups, (QStringList{" Options ", "Characters"}));
    for (const char* name : {"newButton", "openButton", "saveButton", "saveAsButton"})
        EXPECT_FALSE(child<QToolButton>(name)->icon().isNull()) << name;

    EXPECT_EQ(child<QComboBox>("fontBox")->currentText(), QStringLiteral("KorvaldArtSymbols110"));
    EXPECT_GE(child<QComboBox>("fontBox")->count(), 1);
    QTableView* all = dialog->allList();
    EXPECT_EQ(all->model()->rowCount(), 535);
    EXPECT_EQ(all->model()->index(0, 1).data().toInt(), 33);
    EXPECT_EQ(all->model()->index(534, 1).data().toInt(), 600);
    EXPECT_FALSE(all->isColumnHidden(1));
    EXPECT_EQ(dialog->selectedList()->model()->rowCount(), 0);

    // The first row shows its symbol: ink in the character column.
    const QRect cell = all->visualRect(all->model()->index(0, 0));
    const QImage shot = all->viewport()->grab().toImage();
    const QColor background = shot.pixelColor(cell.topLeft());
    int ink = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x)
            ink += shot.pixelColor(x, y) != background ? 1 : 0;
    }
    EXPECT_GT(ink, 10);
}

TEST_F(CharactersEditorWidgetTest, MouseSelectionAndTheListButtons)
{
    QTableView* all = dialog->allList();
    QTableView* sel = dialog->selectedList();
    clickRow(all, 0);
    clickRow(all, 2, Qt::ControlModifier);
    clickRow(all, 3, Qt::ControlModifier);
    QTest::mouseClick(button(QStringLiteral("Add >")), Qt::LeftButton);
    EXPECT_EQ(editor().codes(List::SelectedList), (QList<int>{33, 35, 36}));
    EXPECT_EQ(viewSelection(sel), (QList<int>{0, 1, 2}));
    // The row now at the position of the last one taken (row 3) is selected: 34, 37, 38, 39.
    ASSERT_EQ(viewSelection(all).size(), 1);
    EXPECT_EQ(all->model()->index(viewSelection(all).first(), 1).data().toInt(), 39);
    EXPECT_EQ(all->model()->rowCount(), 532);

    // Move the last one up twice: the second press stops at the top.
    clickRow(sel, 2);
    QTest::mouseClick(button(QStringLiteral("Move up")), Qt::LeftButton);
    QTest::mouseClick(button(QStringLiteral("Move up")), Qt::LeftButton);
    QTest::mouseClick(button(QStringLiteral("Move up")), Qt::LeftButton);
    EXPECT_EQ(editor().codes(List::SelectedList), (QList<int>{36, 33, 35}));
    EXPECT_EQ(viewSelection(sel), QList<int>{0});
    QTest::mouseClick(button(QStringLiteral("Move down")), Qt::LeftButton);
    EXPECT_EQ(editor().codes(List::SelectedList), (QList<int>{33, 36, 35}));

    // A double click in "Selected Characters" gives the row back.
    doubleClickRow(sel, 1);
    EXPECT_EQ(editor().codes(List::SelectedList), (QList<int>{33, 35}));
    EXPECT_TRUE(editor().codes(List::AllList).contains(36));
    EXPECT_EQ(sel->model()->rowCount(), 2);

    // A double click in "All Characters" adds the clicked row only.
    clickRow(all, 5);
    clickRow(all, 6, Qt::ControlModifier);
    const int tenth = all->model()->index(10, 1).data().toInt();
    doubleClickRow(all, 10);
    EXPECT_EQ(editor().codes(List::SelectedList), (QList<int>{33, 35, tenth}));

    clickRow(sel, 0);
    clickRow(sel, 2, Qt::ShiftModifier);
    QTest::mouseClick(button(QStringLiteral("< Remove")), Qt::LeftButton);
    EXPECT_TRUE(editor().codes(List::SelectedList).isEmpty());
    EXPECT_EQ(all->model()->rowCount(), 535);

    QTest::mouseClick(button(QStringLiteral("Add all >>")), Qt::LeftButton);
    EXPECT_EQ(all->model()->rowCount(), 0);
    EXPECT_EQ(sel->model()->rowCount(), 535);
    QTest::mouseClick(button(QStringLiteral("<< Remove all")), Qt::LeftButton);
    EXPECT_EQ(all->model()->rowCount(), 535);
    EXPECT_EQ(sel->model()->rowCount(), 0);
}

TEST_F(CharactersEditorWidgetTest, ShowIdsHidesAndShowsTheCodeColumn)
{
    auto* box = dialog->findChild<QCheckBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), QStringLiteral("Show ID's"));
    EXPECT_TRUE(box->isChecked());
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(editor().showIds());
    EXPECT_TRUE(dialog->allList()->isColumnHidden(1));
    EXPECT_TRUE(dialog->selectedList()->isColumnHidden(1));
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_FALSE(dialog->allList()->isColumnHidden(1));
    EXPECT_FALSE(dialog->selectedList()->isColumnHidden(1));
}

TEST_F(CharactersEditorWidgetTest, TypedFieldsAreSavedIntoTheFile)
{
    // Saving without a name: the message, the name field takes the focus, nothing written.
    QTest::mouseClick(button(QStringLiteral("Add all >>")), Qt::LeftButton);
    dialog->activateWindow();
    QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
    EXPECT_EQ(prompts.messages, QStringList{"Please enter name for the character set."});
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    if (QApplication::activeWindow() == dialog.get()) {
        EXPECT_EQ(QApplication::focusWidget(), child<QLineEdit>("nameEdit"));
    }

    QTest::keyClicks(child<QLineEdit>("nameEdit"), QStringLiteral("Mine"));
    QTest::keyClicks(child<QLineEdit>("descriptionEdit"), QStringLiteral("My symbols"));
    EXPECT_EQ(editor().name(), QStringLiteral("Mine"));
    auto* font = child<QComboBox>("fontBox");
    const int other = font->currentIndex() == 0 ? 1 : 0;
    ASSERT_GT(font->count(), 1);
    font->setCurrentIndex(other);
    const QString fontName = font->itemText(other);
    EXPECT_EQ(editor().fontName(), fontName);

    prompts.savePicks << folder + QStringLiteral("/mine");
    QTest::mouseClick(child<QToolButton>("saveButton"), Qt::LeftButton);
    const QByteArray bytes = readAll(folder + QStringLiteral("/mine.chr"));
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 3 + 535 + 1);
    EXPECT_EQ(lines[0], "Mine\r");
    EXPECT_EQ(lines[1], "My symbols\r");
    EXPECT_TRUE(lines[2].endsWith(",,53\r"));
    EXPECT_TRUE(lines[2].contains(fontName.toLatin1()));
    EXPECT_EQ(lines[3], "33\r");
    EXPECT_EQ(lines[537], "600\r");
    EXPECT_TRUE(editor().file().FileSaved);

    // Save as asks again and writes a second file.
    prompts.savePicks << folder + QStringLiteral("/copy.chr");
    QTest::mouseClick(child<QToolButton>("saveAsButton"), Qt::LeftButton);
    EXPECT_EQ(readAll(folder + QStringLiteral("/copy.chr")), bytes);
}

TEST_F(CharactersEditorWidgetTest, OpenShowsTheShippedSet)
{
    const QString file = testsupport::shippedDataDir() + QStringLiteral("/characters/QuillmarkSymbols.chr");
    prompts.openPicks << file;
    QTest::mouseClick(child<QToolButton>("openButton"), Qt::LeftButton);
    EXPECT_EQ(child<QLineEdit>("nameEdit")->text(), QStringLiteral("Quillmark Symbols"));
    EXPECT_EQ(child<QComboBox>("fontBox")->currentText(), QStringLiteral("KorvaldArtSymbols110"));
    EXPECT_EQ(dialog->selectedList()->model()->rowCount(), 535);
    EXPECT_EQ(dialog->selectedList()->model()->index(0, 1).data().toInt(), 160);
    EXPECT_TRUE(editor().file().FileSaved);
    EXPECT_EQ(editor().file().FileName, file);
    // Nothing changed: closing asks nothing.
    dialog->close();
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_FALSE(dialog->isVisible());

    const QString shots = qEnvironmentVariable("QUILL_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        dialog->show();
        prompts.openPicks << file;
        QTest::mouseClick(child<QToolButton>("openButton"), Qt::LeftButton);
        dialog->selectedList()->selectRow(3);
        dialog->grab().save(shots + QStringLiteral("/characters-editor.png"));
    }
}

TEST_F(CharactersEditorWidgetTest, ClosingAsksAboutUnsavedWork)
{
    clickRow(dialog->allList(), 4);
    QTest::mouseClick(button(QStringLiteral("Add >")), Qt::LeftButton);
    prompts.answer = CharactersEditorPrompts::Cancel;
    QTest::mouseClick(button(QStringLiteral("Close")), Qt::LeftButton);
    EXPECT_EQ(prompts.questions, QStringList{"Data is not saved, save now?"});
    EXPECT_TRUE(dialog->isVisible());
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_EQ(prompts.questions.size(), 2);
    EXPECT_TRUE(dialog->isVisible());

    prompts.answer = CharactersEditorPrompts::No;
    QTest::mouseClick(button(QStringLiteral("Close")), Qt::LeftButton);
    EXPECT_EQ(prompts.questions.size(), 3);
    EXPECT_FALSE(dialog->isVisible());

    // Showing it again starts a new, empty set.
    dialog->show();
    EXPECT_TRUE(editor().codes(List::SelectedList).isEmpty());
    EXPECT_EQ(dialog->allList()->model()->rowCount(), 535);
}

TEST_F(CharactersEditorWidgetTest, HelpOpensThePageOfTheEditor)
{
    QTest::mouseClick(button(QStringLiteral("Help")), Qt::LeftButton);
    EXPECT_TRUE(prompts.messages.isEmpty());
    auto* page = dialog->findChild<THelpWindow*>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->context(), 3100);
    EXPECT_TRUE(page->isVisible());
    page->close();
}

} // namespace
