// The motif library in the main window: "Add to library" saves the selection as a motif,
// "Library ..." shows it and loads it as a floating block at the first visible cell, and the
// merge puts it into the design; "Delete" asks first.
#include "ModalScript.h"
#include "WindowFixture.h"
#include "app/ChartWidget.h"
#include "app/LibraryCommands.h"
#include "editing/FloatingBlock.h"
#include "editing/TActions.h"
#include "editing/ToolController.h"
#include "library/ui/MotifPreview.h"
#include "library/ui/TFLibrary.h"
#include "library/ui/TFLibraryAdd.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using namespace apptest;

class LibraryWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        m_library = testsupport::currentTestPath() + QStringLiteral("/library");
        QDir(m_library).removeRecursively();
        w = showFreshMainWindow(m_settings);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        // The library of this test, not the shipped one; it does not exist yet.
        w->stitch().libraryPath = m_library;
    }
    void TearDown() override
    {
        w.reset();
        QFile::remove(m_settings);
    }
    QAction* act(const char* name) { return w->action(QString::fromLatin1(name)); }

    QString m_settings;
    QString m_library;
    std::unique_ptr<MainWindow> w;
};

TEST_F(LibraryWindowTest, AddASelectionLoadItBackAndMergeIt)
{
    PatternDocument& doc = w->document();
    const ColorKey ink = w->stitch().drawcolor();
    for (const QPoint p : {QPoint(3, 3), QPoint(4, 3), QPoint(4, 4)})
        doc.updatePixel(p.x(), p.y(), ink, true);
    EXPECT_TRUE(act("MenuLibrary")->isEnabled());
    EXPECT_TRUE(act("MenuAddToLibrary")->isEnabled());

    // The selection tool starts with 10 x 10 cells at the first visible cell, over the three
    // cells; "Add to library" saves it under a typed name.
    w->Setmode(modSelection);
    ASSERT_EQ(w->tools()->selection().SelectionRect(), QRect(0, 0, 10, 10));
    {
    ModalScript add({[&](QWidget* d) {
        auto* dialog = qobject_cast<TFLibraryAdd*>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->saveButton()->isEnabled()); // "*.qvxp"
        dialog->fileNameField()->setText(QStringLiteral("my motif"));
        EXPECT_TRUE(dialog->saveButton()->isEnabled());
        dialog->titleField()->setText(QStringLiteral("Three cells"));
        dialog->descriptionField()->setPlainText(QStringLiteral("An L of three cells"));
        QTest::mouseClick(dialog->saveButton(), Qt::LeftButton);
    }});
    EXPECT_TRUE(LibraryCommands::MenuAddToLibraryClick(*w));
    EXPECT_TRUE(add.done());
    } // the script ends: it would close the next dialog
    const QString saved = m_library + QStringLiteral("/my motif.qvxp");
    ASSERT_TRUE(QFile::exists(saved));

    // The cells are cleared; "Library ..." shows the motif and loads it.
    for (const QPoint p : {QPoint(3, 3), QPoint(4, 3), QPoint(4, 4)})
        doc.updatePixel(p.x(), p.y(), w->stitch().BackGroundColor, true);
    w->Setmode(modDraw);
    ModalScript browse({[&](QWidget* d) {
        auto* dialog = qobject_cast<TFLibrary*>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(dialog->loadButton()->isEnabled());
        const auto items = dialog->list()->findItems(QStringLiteral("my motif.qvxp"), Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        dialog->list()->setCurrentItem(items.first());
        EXPECT_TRUE(dialog->loadButton()->isEnabled());
        EXPECT_EQ(dialog->detail(2)->text(), QStringLiteral("Three cells"));
        EXPECT_EQ(dialog->detail(3)->text(), w->stitch().colorsname());
        EXPECT_TRUE(dialog->convertLabel()->isHidden());
        EXPECT_FALSE(dialog->preview()->picture().isNull());
        QTest::mouseClick(dialog->loadButton(), Qt::LeftButton);
    }});
    ASSERT_TRUE(LibraryCommands::Library1Click(*w));
    EXPECT_TRUE(browse.done());
    EXPECT_EQ(w->tools()->mode(), modSelection);
    ASSERT_TRUE(w->tools()->floatingBlock().floating());
    const QSize saveSize = w->tools()->floatingBlock().clipboard().size();
    // At the first visible cell, as a paste would put it.
    EXPECT_EQ(w->tools()->selection().SelectionRect().topLeft(), w->chart()->scrollPosition());
    EXPECT_EQ(w->tools()->selection().SelectionRect().size(), saveSize);

    // Merging puts the cells back where the block lies.
    const QPoint at = w->tools()->selection().SelectionRect().topLeft();
    const QImage block = w->tools()->floatingBlock().clipboard().ClipCross;
    int inked = 0;
    for (int y = 0; y < block.height(); ++y)
        for (int x = 0; x < block.width(); ++x)
            inked += block.pixel(x, y) == keyToPixel(ink);
    EXPECT_EQ(inked, 3);
    w->MenuMergeClick();
    int painted = 0;
    for (int y = 0; y < saveSize.height(); ++y)
        for (int x = 0; x < saveSize.width(); ++x)
            if (doc.CrossCells.pixel(at.x() + x, at.y() + y) == keyToPixel(ink)) {
                ++painted;
                EXPECT_EQ(block.pixel(x, y), keyToPixel(ink));
            }
    EXPECT_EQ(painted, 3);
    EXPECT_EQ(doc.checkInvariant().toStdString(), "");
}

TEST_F(LibraryWindowTest, DeleteAsksFirst)
{
    ASSERT_TRUE(QDir().mkpath(m_library));
    QFile::copy(testsupport::shippedDataDir() + QStringLiteral("/library/heart.qvxp"),
                m_library + QStringLiteral("/heart.qvxp"));
    TFLibrary* dialog = LibraryCommands::libraryDialog(*w);
    dialog->prepare(true);
    ASSERT_EQ(dialog->list()->count(), 1);
    dialog->list()->setCurrentRow(0);
    EXPECT_TRUE(dialog->deleteButton()->isEnabled());
    for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
        ModalScript script({[answer](QWidget* d) {
            auto* box = qobject_cast<QMessageBox*>(d);
            ASSERT_NE(box, nullptr);
            box->button(answer)->click();
        }});
        dialog->BDeleteClick();
        EXPECT_TRUE(script.done());
        EXPECT_EQ(QFile::exists(m_library + QStringLiteral("/heart.qvxp")), answer == QMessageBox::No);
    }
    EXPECT_EQ(dialog->list()->count(), 0);
    EXPECT_FALSE(dialog->deleteButton()->isEnabled());
}

} // namespace
