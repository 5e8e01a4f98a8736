// The selection tool in the main window, driven as a user does: M, the frame's handle and
// inside dragged with the mouse, Ctrl+C, Ctrl+V, the floating block dragged, turned with its
// button and merged with Return; the commands' enabled states follow each step, the chart
// shows the frame and the block, Escape drops the block and Ctrl+Z takes the merge back.
#include "WindowFixture.h"
#include "app/ChartWidget.h"
#include "app/MainWindow.h"
#include "editing/TActions.h"
#include "editing/ToolController.h"
#include "support/TestSupport.h"
#include "view/ChartView.h"
#include "view/SelectionLayer.h"

#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class SelectionWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        w = apptest::showFreshMainWindow(m_settings);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }

    QWidget* vp() { return w->chart()->viewport(); }
    QSize cell() { return w->chartView()->cellSize(); }
    // The middle of a cell, and the grid crossing at a cell's top-left corner.
    QPoint cellPx(int x, int y)
    {
        const QPoint s = w->chart()->scrollPosition();
        return QPoint((x - s.x()) * cell().width() + cell().width() / 2,
                      (y - s.y()) * cell().height() + cell().height() / 2);
    }
    QPoint cornerPx(int x, int y)
    {
        const QPoint s = w->chart()->scrollPosition();
        return QPoint((x - s.x()) * cell().width(), (y - s.y()) * cell().height());
    }
    void drag(QPoint from, QPoint to)
    {
        QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, from);
        for (int i = 1; i <= 4; ++i) {
            const QPoint p = from + (to - from) * i / 4;
            QMouseEvent e(QEvent::MouseMove, QPointF(p), vp()->mapToGlobal(QPointF(p)),
                          Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(vp(), &e);
        }
        QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, to);
    }
    bool enabled(const char* name) { return w->action(QString::fromLatin1(name))->isEnabled(); }
    QRect selection() { return w->tools()->selection().SelectionRect(); }
    bool drawn(int x, int y) { return w->document().CrossCells.pixel(x, y) == m_ink; }
    TColor32 shown(QPoint viewPx) { return w->chartView()->image().pixel(viewPx) | 0xFF000000u; }

    std::unique_ptr<MainWindow> w;
    QString m_settings;
    TColor32 m_ink = 0;
};

} // namespace

TEST_F(SelectionWindowTest, SelectCopyPasteDragTurnAndMergeWithMouseAndKeys)
{
    m_ink = keyToPixel(w->stitch().drawcolor());
    for (QPoint c : {QPoint(2, 2), QPoint(3, 2), QPoint(4, 3)})
        QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, cellPx(c.x(), c.y()));
    const int drawn0 = w->history()->count();
    for (const char* name : {"MenuCut", "MenuCopy", "MenuPaste", "MenuMerge", "ButtonRotateRight"})
        EXPECT_FALSE(enabled(name)) << name;

    QTest::keyClick(w.get(), Qt::Key_M);
    ASSERT_EQ(w->tools()->mode(), modSelection);
    EXPECT_TRUE(w->action(QStringLiteral("ButtonSelection"))->isChecked());
    EXPECT_EQ(selection(), QRect(0, 0, 10, 10));
    EXPECT_TRUE(enabled("MenuCut"));
    EXPECT_TRUE(enabled("MenuCopy"));
    EXPECT_FALSE(enabled("MenuPaste"));
    // The frame's handles show on the chart.
    EXPECT_EQ(shown(cornerPx(10, 10)), 0xFFE00000u);

    // The bottom-right handle makes it 3 x 2, a drag inside moves it onto the cells.
    drag(cornerPx(10, 10), cornerPx(3, 2));
    EXPECT_EQ(selection(), QRect(0, 0, 3, 2));
    // Moving the frame repaints only around it, never the whole chart.
    QSignalSpy repainted(w->chartView(), &ChartView::repainted);
    drag(cellPx(1, 1), cellPx(3, 3));
    ASSERT_EQ(selection(), QRect(2, 2, 3, 2));
    ASSERT_FALSE(repainted.isEmpty());
    for (const QList<QVariant>& r : repainted)
        EXPECT_LT(r.at(0).toRect().width(), w->chartView()->image().width() / 2);

    QTest::keyClick(w.get(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(enabled("MenuPaste"));
    EXPECT_FALSE(enabled("MenuMerge"));
    QTest::keyClick(w.get(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(w->tools()->floatingBlock().floating());
    for (const char* name : {"MenuMerge", "ButtonRotateRight", "ButtonRotateLeft",
                             "ButtonMirrorHorz", "ButtonMirrorVert"})
        EXPECT_TRUE(enabled(name)) << name;
    EXPECT_EQ(w->history()->count(), drawn0); // pasting changes nothing yet

    // The block goes with the pointer; the chart shows it there before anything is merged.
    drag(cellPx(3, 2), cellPx(9, 7));
    ASSERT_EQ(selection(), QRect(8, 7, 3, 2));
    EXPECT_FALSE(drawn(8, 7));
    EXPECT_EQ(shown(cellPx(8, 7)), m_ink | 0xFF000000u);

    w->action(QStringLiteral("ButtonRotateRight"))->trigger();
    EXPECT_EQ(selection(), QRect(8, 7, 2, 3));
    QTest::keyClick(w.get(), Qt::Key_Return);
    EXPECT_EQ(w->history()->count(), drawn0 + 1);
    // Turned right, the row (0,0) (1,0) and the cell (2,1) become (1,0) (1,1) and (0,2).
    for (QPoint c : {QPoint(9, 7), QPoint(9, 8), QPoint(8, 9)})
        EXPECT_TRUE(drawn(c.x(), c.y())) << c.x() << "," << c.y();
    EXPECT_FALSE(drawn(8, 7));
    EXPECT_TRUE(drawn(2, 2)); // the source stays
    EXPECT_TRUE(w->tools()->floatingBlock().floating());

    // Escape drops the block; the clipboard stays for another paste.
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_EQ(w->tools()->mode(), modDraw);
    EXPECT_FALSE(w->selectionLayer()->hasBlock());
    EXPECT_TRUE(enabled("MenuPaste"));
    EXPECT_FALSE(enabled("MenuMerge"));
    // Return no longer merges.
    QTest::keyClick(w.get(), Qt::Key_Return);
    EXPECT_EQ(w->history()->count(), drawn0 + 1);

    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(drawn(9, 7));
    EXPECT_TRUE(drawn(2, 2));
}

TEST_F(SelectionWindowTest, CutIsOneActionAndABlockMadeElsewhereFloats)
{
    m_ink = keyToPixel(w->stitch().drawcolor());
    QTest::mouseClick(vp(), Qt::LeftButton, Qt::NoModifier, cellPx(1, 1));
    const int before = w->history()->count();
    QTest::keyClick(w.get(), Qt::Key_M);
    QTest::keyClick(w.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(w->history()->count(), before + 1);
    EXPECT_FALSE(drawn(1, 1));
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(drawn(1, 1));

    // A block from another command (text, motif) floats at the first visible cell.
    w->Setmode(modFill);
    w->chart()->setScrollPosition(QPoint(5, 4));
    TClipboard clip = Clipboard::copy(w->document(), QRect(0, 0, 4, 2), true);
    w->startFloatingBlock(std::move(clip));
    EXPECT_EQ(w->tools()->mode(), modSelection);
    EXPECT_TRUE(w->action(QStringLiteral("ButtonSelection"))->isChecked());
    EXPECT_EQ(selection(), QRect(5, 4, 4, 2));
    EXPECT_TRUE(enabled("MenuMerge"));
    EXPECT_TRUE(w->selectionLayer()->hasBlock());
}
