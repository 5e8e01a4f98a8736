// The insert tool in the main window: its button opens the insert dialog, a press on the chart
// inserts, the scroll range follows the new size, Ctrl+Z takes the insertion back, Cancel leaves
// the tool alone, and the dialog keeps its last choices.
#include "WindowFixture.h"
#include "ModalScript.h"
#include "app/ChartWidget.h"
#include "app/MainWindow.h"
#include "editing/TActions.h"
#include "editing/ToolController.h"
#include "editing/ui/TFInsert.h"
#include "support/TestSupport.h"
#include "view/ChartView.h"

#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>

namespace {

using namespace apptest;

class InsertToolWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        w = apptest::showFreshMainWindow(m_settings);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }

    QPoint cellPx(int x, int y)
    {
        const QPoint s = w->chart()->scrollPosition();
        const QSize c = w->chartView()->cellSize();
        return QPoint((x - s.x()) * c.width() + c.width() / 2, (y - s.y()) * c.height() + c.height() / 2);
    }
    QAction* insertButton() { return w->action(QStringLiteral("ButtonInsert")); }

    // Answers the insert dialog with a choice and OK.
    static ModalScript::Step choose(bool columns, int amount)
    {
        return [columns, amount](QWidget* dialog) {
            auto* d = qobject_cast<TFInsert*>(dialog);
            ASSERT_NE(d, nullptr);
            (columns ? d->columnButton() : d->rowButton())->setChecked(true);
            d->amountField()->setValue(amount);
            d->okButton()->click();
        };
    }

    std::unique_ptr<MainWindow> w;
    QString m_settings;
};

} // namespace

TEST_F(InsertToolWindowTest, InsertColumnsWithTheMouseAndUndoThem)
{
    ASSERT_NE(insertButton(), nullptr);
    EXPECT_EQ(insertButton()->toolTip(), QStringLiteral("Insert row(s)/column(s)"));
    QWidget* vp = w->chart()->viewport();
    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, cellPx(2, 2)); // a cell to move
    ASSERT_EQ(w->document().CrossCells.pixel(2, 2), keyToPixel(w->stitch().drawcolor()));

    ModalScript script({choose(true, 3)});
    insertButton()->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(w->tools()->mode(), modInsert);
    EXPECT_TRUE(insertButton()->isChecked());

    QTest::mouseClick(vp, Qt::LeftButton, Qt::NoModifier, cellPx(1, 5));
    EXPECT_EQ(w->document().width(), 53);
    EXPECT_EQ(w->document().CrossCells.pixel(5, 2), keyToPixel(w->stitch().drawcolor()));
    EXPECT_EQ(w->tools()->mode(), modDraw);
    EXPECT_FALSE(insertButton()->isChecked());
    EXPECT_EQ(w->chart()->horizontalScrollBar()->maximum(), w->chartView()->hScrollMaximum());
    EXPECT_EQ(w->chartView()->hScrollMaximum(), 52);

    EXPECT_EQ(w->history()->count(), 2);
    QApplication::setActiveWindow(w.get()); // back from the dialog
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(w->history()->position(), 0);
    EXPECT_EQ(w->document().width(), 50);
    EXPECT_EQ(w->chart()->horizontalScrollBar()->maximum(), 49);
    EXPECT_EQ(w->document().CrossCells.pixel(2, 2), keyToPixel(w->stitch().drawcolor()));
    EXPECT_EQ(script.unexpected, 0);
}

TEST_F(InsertToolWindowTest, CancelLeavesTheToolAndTheDialogKeepsItsChoices)
{
    w->Setmode(modFill);
    {
        ModalScript script({choose(true, 7)});
        insertButton()->trigger();
    }
    {
        ModalScript script({[](QWidget* dialog) {
            auto* d = qobject_cast<TFInsert*>(dialog);
            ASSERT_NE(d, nullptr);
            EXPECT_TRUE(d->columnButton()->isChecked());
            EXPECT_EQ(d->amountField()->value(), 7);
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Insert row/column"));
            d->cancelButton()->click();
        }});
        insertButton()->trigger();
        EXPECT_TRUE(script.done());
    }
    // Still waiting for the press of the first confirmation, which returns to the fill tool.
    EXPECT_EQ(w->tools()->mode(), modInsert);
    QTest::mouseClick(w->chart()->viewport(), Qt::LeftButton, Qt::NoModifier, cellPx(0, 0));
    EXPECT_EQ(w->document().width(), 57);
    EXPECT_EQ(w->tools()->mode(), modFill);

    ModalScript script({click(QStringLiteral("Cancel"))});
    insertButton()->trigger();
    EXPECT_EQ(w->tools()->mode(), modFill);
    EXPECT_TRUE(w->action(QStringLiteral("ButtonFill"))->isChecked());
    EXPECT_FALSE(insertButton()->isChecked());
}
