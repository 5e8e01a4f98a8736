// The shape tools in the main window: their keys and tool tips, the fill-mode drop-down that
// follows the tool, the preview on the chart with Escape, and a figure drawn with the mouse
// undone with Ctrl+Z. The figures themselves are tested below the widgets.
#include "WindowFixture.h"
#include "app/ChartWidget.h"
#include "app/MainWindow.h"
#include "app/ShapeToolBar.h"
#include "editing/TActions.h"
#include "editing/ToolController.h"
#include "support/TestSupport.h"
#include "view/ChartView.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class ShapeToolBarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        w = apptest::showFreshMainWindow(m_settings);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        w->stitch().setPensize(1);
        // A colour that differs from the white background on the chart.
        for (const auto& [key, info] : w->stitch().Colors)
            if (keyToQColor(key).lightness() < 128) {
                w->stitch().setDrawcolor(key);
                break;
            }
    }
    void TearDown() override
    {
        w.reset();
        QFile::remove(m_settings);
    }

    QWidget* vp() { return w->chart()->viewport(); }
    QAction* act(const char* name) { return w->action(QString::fromLatin1(name)); }
    QPoint cellPx(int x, int y)
    {
        const QPoint s = w->chart()->scrollPosition();
        const QSize c = w->chartView()->cellSize();
        return QPoint((x - s.x()) * c.width() + c.width() / 2, (y - s.y()) * c.height() + c.height() / 2);
    }
    void click(QPoint p)
    {
        QTest::mousePress(vp(), Qt::LeftButton, Qt::NoModifier, p);
        QTest::mouseRelease(vp(), Qt::LeftButton, Qt::NoModifier, p);
    }
    void move(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), vp()->mapToGlobal(QPointF(p)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(vp(), &e);
    }
    // The chart image's pixel at the centre of a cell.
    QRgb shown(int x, int y) { return w->chartView()->image().pixel(cellPx(x, y)); }
    QRgb ink() { return keyToOpaquePixel(w->stitch().drawcolor()); }
    int inked(int x0, int y0, int x1, int y1)
    {
        int n = 0;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x)
                n += doc().CrossCells.pixel(x, y) == keyToPixel(w->stitch().drawcolor());
        return n;
    }
    PatternDocument& doc() { return w->document(); }

    QString m_settings;
    std::unique_ptr<MainWindow> w;
};

TEST_F(ShapeToolBarTest, KeysChooseTheToolsAndTheFillModeButtonFollows)
{
    QToolButton* fill = w->shapeTools()->fillButton();
    ASSERT_TRUE(fill);
    EXPECT_EQ(fill->objectName(), QStringLiteral("DropDownFillFactor"));
    EXPECT_FALSE(fill->isEnabled()); // the draw tool has no fill mode

    struct Row
    {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        TMode mode;
        const char* button;
        const char* menu; // the fill button's menu, or none
        const char* hint;
        int fill;         // expected fill mode, or -1 when it does not matter
    };
    const Row rows[] = {
        {Qt::Key_N, Qt::NoModifier, modLine, "ButtonDrawLine", nullptr, "", -1},
        {Qt::Key_U, Qt::NoModifier, modRectangle, "ButtonDrawRectangle", "PopupRectangle", "Empty rectangle", fillNone},
        {Qt::Key_U, Qt::ShiftModifier, modRectangle, "ButtonDrawRectangle", "PopupRectangle", "Filled rectangle", fillFull},
        {Qt::Key_C, Qt::NoModifier, modCircle, "ButtonDrawCircle", "PopupCircle", "Empty circle", fillNone},
        {Qt::Key_C, Qt::ShiftModifier, modCircle, "ButtonDrawCircle", "PopupCircle", "Filled circle", fillFull},
        {Qt::Key_J, Qt::NoModifier, modInlineBorder, "ButtonInlineBorder", "PopupOutlineBorder", "Corner round", -1},
        {Qt::Key_J, Qt::ShiftModifier, modOutlineBorder, "ButtonOutlineBorder", "PopupOutlineBorder", "Corner round", -1},
        {Qt::Key_O, Qt::NoModifier, modOutline, "ButtonOutline", nullptr, "", -1},
        {Qt::Key_D, Qt::NoModifier, modDraw, "ButtonDraw", nullptr, "", -1},
    };
    for (const Row& r : rows) {
        QTest::keyClick(w.get(), r.key, r.mods);
        const std::string what = QKeySequence(int(r.mods) | r.key).toString().toStdString();
        EXPECT_EQ(w->tools()->mode(), r.mode) << what;
        EXPECT_TRUE(act(r.button)->isChecked()) << what;
        EXPECT_EQ(fill->menu() ? fill->menu()->objectName() : QString(), QString::fromLatin1(r.menu ? r.menu : ""))
            << what;
        EXPECT_EQ(fill->isEnabled(), r.menu != nullptr) << what;
        EXPECT_EQ(fill->toolTip(), QString::fromLatin1(r.hint)) << what;
        if (r.fill >= 0) {
            EXPECT_EQ(int(w->tools()->fillMode()), r.fill) << what;
        }
        // The tool tip names the key.
        EXPECT_TRUE(act(r.button)->toolTip().contains(QKeySequence(r.key).toString())) << what;
    }
    // The outline tool showed the back stitches.
    EXPECT_TRUE(act("ButtonBackStitch")->isChecked());

    // The rectangle button repeats the last choice (filled, from Shift+U above) ...
    QTest::keyClick(w.get(), Qt::Key_U, Qt::ShiftModifier);
    QTest::keyClick(w.get(), Qt::Key_D);
    act("ButtonDrawRectangle")->trigger();
    EXPECT_EQ(w->tools()->fillMode(), fillFull);
    EXPECT_EQ(fill->toolTip(), QStringLiteral("Filled rectangle"));
    // ... and the corner menu sets the border tools' corners.
    QTest::keyClick(w.get(), Qt::Key_J);
    act("MenuCornerSharp")->trigger();
    EXPECT_TRUE(w->tools()->cornerSharp());
    EXPECT_EQ(fill->toolTip(), QStringLiteral("Corner sharp"));
    act("MenuCornerRound")->trigger();
    EXPECT_FALSE(w->tools()->cornerSharp());
}

TEST_F(ShapeToolBarTest, PreviewShowsOnTheChartUntilEscape)
{
    const QRgb background = shown(4, 2);
    QTest::keyClick(w.get(), Qt::Key_N);
    click(cellPx(2, 2));
    move(cellPx(6, 2));
    EXPECT_EQ(shown(4, 2), ink());
    EXPECT_EQ(inked(0, 0, 10, 10), 0); // the design is untouched
    // A jump elsewhere: the old preview is gone, the new one shows.
    move(cellPx(2, 8));
    EXPECT_EQ(shown(4, 2), background);
    EXPECT_EQ(shown(2, 6), ink());
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_TRUE(w->tools()->shapeIdle());
    EXPECT_EQ(shown(2, 6), background);
    EXPECT_EQ(w->history()->count(), 0);
}

TEST_F(ShapeToolBarTest, AFigureIsOneStepThatCtrlZTakesBack)
{
    QTest::keyClick(w.get(), Qt::Key_U, Qt::ShiftModifier);
    click(cellPx(1, 1));
    click(cellPx(4, 3));
    EXPECT_EQ(inked(0, 0, 10, 10), 4 * 3);
    EXPECT_EQ(shown(2, 2), ink());
    EXPECT_EQ(w->history()->count(), 1);
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(inked(0, 0, 10, 10), 0);
}

} // namespace
