// The palette editor window driven as a user does: the buttons, typing into the colour
// settings, selecting rows with the mouse, picking from a picture, saving, and the question on
// closing; the editor state and the written file are checked after.
#include "core/SymbolFont.h"
#include "core/TStitch.h"
#include "palettes/PaletteFile.h"
#include "palettes/ui/PickPicture.h"
#include "palettes/ui/TFPaletteEditor.h"
#include "support/TestSupport.h"
#include "i18n/ui/THelpWindow.h"

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct ScriptedPrompts : PaletteEditorPrompts
{
    void showMessage(const QString& text, bool) override { messages << text; }
    bool askYesNo(const QString& text) override
    {
        questions << text;
        return true;
    }
    Answer askYesNoCancel(const QString& text) override
    {
        questions << text;
        return answer;
    }
    bool choosePaletteFile(QString& fileName, QString& name, QString& version) override
    {
        ++listUses;
        fileName = QStringLiteral("Kit.ctb");
        name = QStringLiteral("Kit");
        version = QStringLiteral("1.0");
        return true;
    }

    QStringList messages, questions;
    int listUses = 0;
    Answer answer = Cancel;
};

class TFPaletteEditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString family = registerSymbolFontFile(testsupport::shippedDataDir()
                                                      + QStringLiteral("/fonts/KorvaldArtSymbols110.ttf"));
        ASSERT_FALSE(family.isEmpty());
        folder = testsupport::currentTestPath() + QLatin1Char('/');
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        stitch.PalettesPath = folder;
        stitch.chars.Create(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ"));
        stitch.chars.ffontname = family;
        dialog = std::make_unique<TFPaletteEditor>(stitch);
        dialog->setPrompts(&prompts);
        dialog->prepare(QString(), QString(), QString());
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    void click(const char* name)
    {
        QPushButton* b = dialog->button(name);
        ASSERT_NE(b, nullptr) << name;
        ASSERT_TRUE(b->isEnabled()) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }

    void type(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    // New, the fields typed, a symbol chosen, OK.
    void addColour(const QString& rgb, const QString& name, const QString& number, int symbol)
    {
        click("BNew");
        type(dialog->rgbEdit(), rgb);
        type(dialog->nameEdit(), name);
        type(dialog->numberEdit(), number);
        dialog->symbolBox()->setCurrentIndex(symbol);
        click("BOK");
    }

    void clickRow(int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        PaletteColorList* grid = dialog->grid();
        const QRect r = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, r.center());
    }

    QString folder;
    TStitch stitch;
    ScriptedPrompts prompts;
    std::unique_ptr<TFPaletteEditor> dialog;
};

TEST_F(TFPaletteEditorTest, AddingReorderingAndSavingThroughTheButtons)
{
    PaletteEditor& e = dialog->editor();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Palette Editor"));
    EXPECT_EQ(dialog->cursorSizeBox()->value(), 30);
    EXPECT_FALSE(dialog->button("BSave")->isEnabled());
    EXPECT_FALSE(dialog->button("BEdit")->isEnabled());
    EXPECT_FALSE(dialog->findChild<QGroupBox*>(QStringLiteral("GroupColorSettings"))->isEnabled());
    EXPECT_EQ(dialog->grid()->horizontalHeader()->count(), 4);
    EXPECT_EQ(dialog->grid()->columnWidth(0), TFPaletteEditor::kColumnWidth);

    // Typing "$FF0000" makes the swatch red; the settings are enabled and the list is not.
    click("BNew");
    EXPECT_TRUE(dialog->findChild<QGroupBox*>(QStringLiteral("GroupColorSettings"))->isEnabled());
    EXPECT_FALSE(dialog->grid()->isEnabled());
    type(dialog->rgbEdit(), QStringLiteral("$FF0000"));
    EXPECT_EQ(e.fields().swatch, makeColorKey(255, 0, 0));
    type(dialog->nameEdit(), QStringLiteral("Red"));
    type(dialog->numberEdit(), QStringLiteral("1"));
    dialog->symbolBox()->setCurrentIndex(3);
    click("BOK");
    ASSERT_EQ(e.Palette().size(), 1);
    EXPECT_EQ(e.Palette()[0].charID, 3);
    EXPECT_TRUE(dialog->button("BSave")->isEnabled());

    // The next colour starts with the symbol after the last one; reusing a symbol warns.
    click("BNew");
    EXPECT_EQ(dialog->symbolBox()->currentIndex(), 4);
    EXPECT_FALSE(dialog->symbolWarning()->isVisibleTo(dialog.get()));
    dialog->symbolBox()->setCurrentIndex(3);
    EXPECT_TRUE(dialog->symbolWarning()->isVisibleTo(dialog.get()));
    dialog->symbolBox()->setCurrentIndex(4);
    type(dialog->rgbEdit(), QStringLiteral("$00FF00"));
    type(dialog->nameEdit(), QStringLiteral("Green"));
    type(dialog->numberEdit(), QStringLiteral("2"));
    click("BOK");
    addColour(QStringLiteral("$0000FF"), QStringLiteral("Blue"), QStringLiteral("3"), 5);
    // A repeated RGB value is refused and the colour stays in the making.
    addColour(QStringLiteral("$0000FF"), QStringLiteral("Navy"), QStringLiteral("4"), 6);
    EXPECT_EQ(prompts.messages.last(), QStringLiteral("A color with same RGB values already exists"));
    EXPECT_EQ(e.state(), PaletteEditor::emNew);
    click("BCancel");
    ASSERT_EQ(e.Palette().size(), 3);

    // Rows 1 to 2 selected with the mouse and moved up.
    clickRow(1);
    clickRow(2, Qt::ShiftModifier);
    EXPECT_EQ(e.firstSelected(), 1);
    EXPECT_EQ(e.lastSelected(), 2);
    EXPECT_FALSE(dialog->button("BDown")->isEnabled());
    click("BUp");
    EXPECT_EQ(e.Palette()[0].colorName, QStringLiteral("Green"));
    EXPECT_EQ(e.Palette()[2].colorName, QStringLiteral("Red"));
    // The grid shows the moved block selected.
    const QModelIndexList rows = dialog->grid()->selectionModel()->selectedRows();
    EXPECT_EQ(rows.size(), 2);

    // A Ctrl click that clears the selection leaves the editor's rows selected in the grid.
    clickRow(0, Qt::ControlModifier);
    clickRow(1, Qt::ControlModifier);
    EXPECT_FALSE(dialog->grid()->selectionModel()->selectedRows().isEmpty());
    EXPECT_GE(e.firstSelected(), 0);

    // Sorting by name disables the moves.
    dialog->sortBox()->setCurrentIndex(1);
    dialog->ComboSortChange(1);
    EXPECT_FALSE(dialog->button("BUp")->isEnabled());
    EXPECT_EQ(e.Palette()[0].colorName, QStringLiteral("Blue"));

    // Editing a row: its fields shown, a new name kept.
    clickRow(2);
    EXPECT_EQ(dialog->nameEdit()->text(), QStringLiteral("Red"));
    EXPECT_EQ(dialog->rgbEdit()->text(), QStringLiteral("$FF0000"));
    click("BEdit");
    type(dialog->nameEdit(), QStringLiteral("Scarlet"));
    click("BOK");
    EXPECT_EQ(e.Palette()[2].colorName, QStringLiteral("Scarlet"));

    click("BSave");
    EXPECT_EQ(prompts.listUses, 1);
    EXPECT_FALSE(dialog->button("BSave")->isEnabled());
    EXPECT_EQ(dialog->findChild<QLineEdit*>(QStringLiteral("EPaletteFile"))->text(), QStringLiteral("Kit.ctb"));
    stitch.ColorPalettes = {};
    loadPalettes(stitch);
    const ColorTable& kit = stitch.ColorPalettes.value(QStringLiteral("Kit v1.0"));
    ASSERT_EQ(kit.size(), 3);
    EXPECT_EQ(kit.at(0).second.colorName, QStringLiteral("Blue"));
    EXPECT_EQ(kit.at(1).second.colorName, QStringLiteral("Green"));
    EXPECT_EQ(kit.at(2).second.colorName, QStringLiteral("Scarlet"));

    // "Help" opens the editor's page.
    click("BHelp");
    auto* help = dialog->findChild<THelpWindow*>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->title(), QStringLiteral("Palette Editor"));
    help->close();

    // Unchanged, "Close" closes without a question.
    click("BExit");
    EXPECT_TRUE(prompts.questions.isEmpty());
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(TFPaletteEditorTest, AClickIntoThePicturePicksTheAverageOfTheSquare)
{
    QImage picture(200, 150, QImage::Format_ARGB32);
    picture.fill(qRgb(10, 20, 30));
    for (int y = 40; y < 60; ++y)
        for (int x = 40; x < 60; ++x)
            picture.setPixel(x, y, qRgb(200, 100, 50));
    dialog->setPicture(picture);
    PickPicture* view = dialog->picture();
    EXPECT_TRUE(view->isEnabled());
    EXPECT_EQ(view->zoom(), 100);

    click("BNew");
    dialog->cursorSizeBox()->setValue(3);
    QTest::mouseMove(view->viewport(), QPoint(50, 50));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(dialog->rgbEdit()->text(), QStringLiteral("$C86432"));
    EXPECT_EQ(dialog->editor().fields().swatch, makeColorKey(200, 100, 50));

    // At zoom 200 the same view position is picture pixel (25, 25).
    view->setZoom(200);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    EXPECT_EQ(dialog->rgbEdit()->text(), QStringLiteral("$0A141E"));

    // The wheel changes the cursor size one notch at a time, within 0 to 100.
    QWheelEvent wheel(QPointF(20, 20), view->viewport()->mapToGlobal(QPointF(20, 20)), QPoint(),
                      QPoint(0, 120 * 200), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view->viewport(), &wheel);
    EXPECT_EQ(dialog->cursorSizeBox()->value(), 100);
}

TEST_F(TFPaletteEditorTest, CloseWithUnsavedChangesAsksAndCancelKeepsTheEditorOpen)
{
    addColour(QStringLiteral("$102030"), QStringLiteral("Dusk"), QStringLiteral("7"), 0);
    prompts.answer = PaletteEditorPrompts::Cancel;
    click("BExit");
    EXPECT_EQ(prompts.questions, QStringList{QStringLiteral("Palette was changed. Save it now?")});
    EXPECT_TRUE(dialog->isVisible());
    // Yes writes the new palette into "New Palette.ctb" and closes.
    prompts.answer = PaletteEditorPrompts::Yes;
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(prompts.listUses, 0);
    const PaletteFileData written = loadpalette(folder + QStringLiteral("New Palette.ctb"));
    ASSERT_EQ(written.colors.size(), 1);
    EXPECT_EQ(written.colors[0].colorName, QStringLiteral("Dusk"));
}

} // namespace
