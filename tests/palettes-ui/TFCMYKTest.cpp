// The CMYK window driven as a user does: the grid's columns and drawing, editing a cell of the
// last column, "OK" writing "cmyk.ini", and a write that fails.
#include "palettes/CmykTable.h"
#include "palettes/ui/TFCMYK.h"
#include "support/SmallDesign.h"
#include "support/TestSupport.h"
#include "i18n/ui/THelpWindow.h"

#include <QApplication>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

class TFCMYKTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        d.stitch.PalettesPath = currentTestPath();
        QDir(d.stitch.PalettesPath).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(d.stitch.PalettesPath));
        dialog = std::make_unique<TFCMYK>(d.stitch);
        dialog->setMessageHandler([this](const QString& text) { messages << text; });
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }

    CmykGrid* grid() { return dialog->grid(); }
    QPoint cellCenter(int row, int column)
    {
        return grid()->visualRect(grid()->model()->index(row, column)).center();
    }
    void clickCell(int row, int column)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, cellCenter(row, column));
        QApplication::processEvents();
    }
    // The open editor of the grid, or null.
    QLineEdit* editor()
    {
        if (!grid()->isEditing())
            return nullptr;
        return qobject_cast<QLineEdit*>(grid()->indexWidget(grid()->currentIndex()));
    }
    QImage grab() { return grid()->viewport()->grab().toImage(); }

    SmallDesign d;
    std::unique_ptr<TFCMYK> dialog;
    QStringList messages;
};

TEST_F(TFCMYKTest, ColumnsAndDrawing)
{
    EXPECT_EQ(dialog->windowTitle(), "Adjust CMYK colors");
    QHeaderView* header = grid()->horizontalHeader();
    const char* titles[] = {"Color", "Number", "RGB values", "CMYK value", "New CMYK value"};
    const int widths[] = {50, 60, 80, 80, 100};
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(grid()->model()->headerData(c, Qt::Horizontal).toString(), titles[c]);
        EXPECT_EQ(header->sectionSize(c), widths[c]);
    }
    EXPECT_EQ(grid()->rowHeight(0), 24);
    ASSERT_EQ(grid()->model()->rowCount(), 4);
    EXPECT_EQ(grid()->model()->index(0, 2).data().toString(), "#FF0000");
    EXPECT_EQ(grid()->model()->index(0, 3).data().toString(), "0,100,100,0");

    // Column 0 is the colour with its symbol (white ink on dark blue, black on white); the
    // edit column is light blue.
    const QImage img = grab().convertToFormat(QImage::Format_RGB32);
    auto countInCell = [&](int row, int column, QRgb rgb) {
        const QRect r = grid()->visualRect(grid()->model()->index(row, column)).adjusted(2, 2, -2, -2);
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += img.pixel(x, y) == rgb;
        return std::pair(n, r.width() * r.height());
    };
    const auto [blueFill, blueArea] = countInCell(3, 0, qRgb(0, 0, 255));
    const auto [whiteInk, unused1] = countInCell(3, 0, qRgb(255, 255, 255));
    EXPECT_GT(blueFill, blueArea / 2);
    EXPECT_GT(whiteInk, 5);
    const auto [whiteFill, whiteArea] = countInCell(2, 0, qRgb(255, 255, 255));
    const auto [blackInk, unused2] = countInCell(2, 0, qRgb(0, 0, 0));
    EXPECT_GT(whiteFill, whiteArea / 2);
    EXPECT_GT(blackInk, 5);
    const auto [editFill, editArea] = countInCell(1, 4, qRgb(214, 234, 254));
    EXPECT_EQ(editFill, editArea);
}

TEST_F(TFCMYKTest, EditAValueAndPressOk)
{
    // Only the last column opens an editor.
    clickCell(1, 3);
    EXPECT_EQ(editor(), nullptr);
    clickCell(1, 4);
    QLineEdit* e = editor();
    ASSERT_NE(e, nullptr);
    QTest::keyClicks(e, QStringLiteral("50,0,0,0"));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    const ColorKey green = dialog->logic().rows()[1].Color;
    EXPECT_EQ(dialog->logic().rows()[1].NewRGBColor, "#80FFFF");

    QFile f(cmykFilePath(d.stitch));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QStringList warnings;
    const CmykTable read = parseCmykTable(f.readAll(), f.fileName(), &warnings);
    EXPECT_TRUE(warnings.isEmpty());
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read.at(0).first, cmykTableKey(green));
    EXPECT_EQ(read.at(0).second, makeCmyk(50, 0, 0, 0));
    EXPECT_EQ(printColor(d.stitch, green, true), makeColorKey(128, 255, 255));
}

TEST_F(TFCMYKTest, LeavingTheCellOrScrollingCommitsTheEdit)
{
    clickCell(0, 4);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), QStringLiteral("0,0,0,100"));
    clickCell(2, 1); // another cell: the edit is committed and the editor closes
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(d.stitch.CMYK.value(cmykTableKey(kRed)), makeCmyk(0, 0, 0, 100));

    // A text that is not four per-cent values clears the colour.
    clickCell(0, 4);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), "0,0,0,100");
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("101,0,0,0"));
    grid()->finishEditing();
    EXPECT_FALSE(d.stitch.CMYK.contains(cmykTableKey(kRed)));
    EXPECT_EQ(grid()->model()->index(0, 4).data().toString(), "");

    // Scrolling closes the editor too; the dialog keeps the value in memory without "OK".
    for (int i = 0; i < 40; ++i) {
        TColorInfo extra;
        extra.colorName = QStringLiteral("Grey %1").arg(i);
        extra.orderID = 10 + i;
        d.stitch.Colors.insert(makeColorKey(i, i, i), extra);
    }
    dialog->FormShow();
    clickCell(1, 4);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), QStringLiteral("1,2,3,4"));
    grid()->verticalScrollBar()->setValue(grid()->verticalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(d.stitch.CMYK.value(cmykTableKey(kGreen)), makeCmyk(1, 2, 3, 4));
    dialog->reject();
    EXPECT_TRUE(d.stitch.CMYK.contains(cmykTableKey(kGreen)));
    EXPECT_FALSE(QFile::exists(cmykFilePath(d.stitch)));
}

TEST_F(TFCMYKTest, AFailedWriteIsReportedAndTheDialogStays)
{
    // The palette "folder" is a plain file: "cmyk.ini" cannot be written below it.
    const QString blocker = currentTestPath(QStringLiteral(".blocker"));
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    d.stitch.PalettesPath = blocker;
    clickCell(0, 4);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), QStringLiteral("0,0,0,100"));
    QTest::mouseClick(dialog->okButton(), Qt::LeftButton);

    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QDir::toNativeSeparators(cmykFilePath(d.stitch))))
        << messages[0].toStdString();
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(d.stitch.CMYK.value(cmykTableKey(kRed)), makeCmyk(0, 0, 0, 100));
}

TEST_F(TFCMYKTest, DestroyingTheWindowWhileEditingKeepsTheEdit)
{
    // The window is the active one, so that hiding it moves the focus out of the editor.
    QApplication::setActiveWindow(dialog.get());
    clickCell(2, 4);
    ASSERT_NE(editor(), nullptr);
    editor()->setFocus();
    QTest::keyClicks(editor(), QStringLiteral("0,0,0,100"));
    dialog.reset();
    EXPECT_EQ(d.stitch.CMYK.value(cmykTableKey(kWhite)), makeCmyk(0, 0, 0, 100));
}

TEST_F(TFCMYKTest, HelpOpensThePageOfTheTable)
{
    QTest::mouseClick(dialog->helpButton(), Qt::LeftButton);
    EXPECT_TRUE(messages.isEmpty());
    auto* page = dialog->findChild<THelpWindow*>();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->context(), 3150);
    EXPECT_TRUE(dialog->isVisible());
    page->close();
}

} // namespace
