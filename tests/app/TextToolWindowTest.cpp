// The text tool in the main window: key T opens the text dialog, its text floats as a block in
// selection mode and Merge writes it; a design too small for the text grows first as an undo
// action of its own; Cancel and an empty text leave clipboard and design alone.
#include "WindowFixture.h"
#include "ModalScript.h"
#include "app/ChartWidget.h"
#include "app/MainWindow.h"
#include "app/ToolKeys.h"
#include "editing/TActions.h"
#include "editing/TextRendering.h"
#include "editing/ToolController.h"
#include "editing/ui/TFText.h"
#include "support/SmallDesign.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

using namespace apptest;

class TextToolWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        w = apptest::showFreshMainWindow(testsupport::currentTestPath(QStringLiteral(".ini")));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }

    // Answers the text dialog: the fields set as a user sets them, then OK.
    ModalScript::Step write(const QString& text, int points, bool autoEnlarge = true)
    {
        return [this, text, points, autoEnlarge](QWidget* dialog) {
            auto* d = qobject_cast<TFText*>(dialog);
            ASSERT_NE(d, nullptr);
            d->fontList()->setCurrentIndex(d->fontList()->findText(QStringLiteral("DejaVu Sans")));
            d->sizeList()->setEditText(QString::number(points));
            d->styleList()->setCurrentIndex(int(tsBold));
            d->autoEnlargeBox()->setChecked(autoEnlarge);
            QTest::keyClicks(d->textField(), text);
            written = d->settings();
            d->okButton()->click();
        };
    }

    // Presses T on the chart with the dialog answered by `step`.
    void pressT(ModalScript::Step step)
    {
        ModalScript script({std::move(step)});
        w->chart()->setFocus();
        QTest::keyClick(w->chart(), Qt::Key_T);
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
        // The window is active again once the dialog is gone, as on a desktop.
        QApplication::setActiveWindow(w.get());
        w->chart()->setFocus();
    }

    QAction* textButton() { return w->action(QStringLiteral("ButtonText")); }
    const TFloatingBlock& block() { return w->tools()->floatingBlock(); }

    std::unique_ptr<MainWindow> w;
    TTextSettings written;
};

} // namespace

TEST_F(TextToolWindowTest, TheButtonShowsItsKey)
{
    ASSERT_NE(textButton(), nullptr);
    // The key is bound on the window (ToolKeys), so it works whether the button shows or not.
    EXPECT_EQ(ToolKeys::keyText(textButton()), QStringLiteral("T"));
    EXPECT_EQ(textButton()->toolTip(), QStringLiteral("Create Text... (T)"));
    EXPECT_TRUE(textButton()->isEnabled());
    EXPECT_FALSE(textButton()->icon().isNull());
}

TEST_F(TextToolWindowTest, AWordFloatsAndMergeWritesIt)
{
    PatternDocument& doc = w->document();
    w->stitch().setDrawcolor(TextRendering::colorList(w->stitch()).at(3));
    const ColorKey color = w->stitch().drawcolor();
    // A copied back stitch in the clipboard: the text replaces the whole clipboard.
    doc.backStitchesAdd(TBackStitch{{2, 2}, {6, 2}, TextRendering::colorList(w->stitch()).at(5), 0},
                       true);
    w->Setmode(modSelection);
    ASSERT_TRUE(w->tools()->selectionCopy());
    ASSERT_EQ(block().clipboard().ClipBackStitches.size(), 1);
    pressT(write(QStringLiteral("Hi"), 12));
    EXPECT_TRUE(block().clipboard().ClipBackStitches.isEmpty());
    EXPECT_EQ(written.color, color);

    // The block floats in selection mode at the first visible cell and holds the rendering.
    EXPECT_EQ(w->tools()->mode(), modSelection);
    ASSERT_TRUE(block().floating());
    const TClipboard expected = TextRendering::toClipboard(TextRendering::render(written), color,
                                                           w->stitch().BackGroundColor);
    EXPECT_EQ(block().clipboard().ClipCross, expected.ClipCross);
    EXPECT_EQ(block().topLeft(), w->chart()->scrollPosition());
    EXPECT_EQ(w->history()->count(), 0); // nothing in the design yet
    EXPECT_EQ(doc.width(), 50);

    // Return merges: the text cells enter the design, one undo action.
    QTest::keyClick(w->chart(), Qt::Key_Return);
    EXPECT_EQ(w->history()->count(), 1);
    const QPoint at = block().topLeft();
    int cells = 0;
    for (int y = 0; y < expected.size().height(); ++y)
        for (int x = 0; x < expected.size().width(); ++x) {
            const bool text = expected.ClipCross.pixel(x, y) != expected.background;
            EXPECT_EQ(doc.CrossCells.pixel(at.x() + x, at.y() + y),
                      text ? keyToPixel(color) : w->stitch().BackGroundColor);
            cells += text;
        }
    EXPECT_GT(cells, 10);
    EXPECT_EQ(doc.stitch().Colors.find(color)->colorCount, cells);
}

TEST_F(TextToolWindowTest, ATextWiderThanTheDesignEnlargesItFirst)
{
    PatternDocument& doc = w->document();
    pressT(write(QStringLiteral("Wide"), 36));
    const QSize extent = TextRendering::measure(written).size;
    ASSERT_GT(extent.width(), 50);
    EXPECT_EQ(QSize(doc.width(), doc.height()), QSize(extent.width(), std::max(50, extent.height())));
    EXPECT_EQ(w->history()->count(), 1);
    ASSERT_TRUE(block().floating());

    // The size change is undone on its own, after the merge's undo.
    QTest::keyClick(w->chart(), Qt::Key_Return);
    EXPECT_EQ(w->history()->count(), 2);
    w->history()->Undo();
    EXPECT_EQ(doc.width(), extent.width());
    w->history()->Undo();
    EXPECT_EQ(QSize(doc.width(), doc.height()), QSize(50, 50));

    // Without the enlargement the design keeps its size.
    pressT(write(QStringLiteral("Wide"), 36, false));
    EXPECT_EQ(doc.width(), 50);
    EXPECT_TRUE(block().floating());
}

TEST_F(TextToolWindowTest, CancelAndAnEmptyTextChangeNothing)
{
    pressT(write(QStringLiteral("Hi"), 12));
    const QImage first = block().clipboard().ClipCross;
    QTest::keyClick(w->chart(), Qt::Key_Escape);

    pressT(dismiss());
    pressT(write(QString(), 72));
    EXPECT_EQ(block().clipboard().ClipCross, first);
    EXPECT_EQ(w->history()->count(), 0);
    EXPECT_EQ(w->document().width(), 50);
}
