// The main window as an editor, driven with the mouse and the keyboard: the tools on the chart,
// the undo history, zoom and scrolling, the colour panel and its dialogs. The tools' algorithms
// are tested below the widgets; here the wiring is.
#include "WindowFixture.h"
#include "ModalScript.h"
#include "app/AppCursors.h"
#include "app/ChartWidget.h"
#include "app/MainWindow.h"
#include "core/ColorListModel.h"
#include "core/ui/ColorPanel.h"
#include "editing/TActions.h"
#include "editing/ToolController.h"
#include "palettes/ChangeCharacter.h"
#include "palettes/ui/TFCMYK.h"
#include "palettes/ui/TFChangeCharacter.h"
#include "palettes/ui/TFCharacters.h"
#include "palettes/ui/TFPalette.h"
#include "support/TestSupport.h"
#include "view/ChartGeometry.h"
#include "view/ChartView.h"
#include "view/StitchPreview.h"
#include "view/ZoomList.h"

#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <set>

namespace {

using namespace apptest;
using Cells = std::set<std::pair<int, int>>;

class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_settings = testsupport::currentTestPath(QStringLiteral(".ini"));
        w = apptest::showFreshMainWindow(m_settings);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        a = st().drawcolor();
        for (const auto& [key, info] : st().Colors)
            if (key != a && keyToQColor(key) != QColor(Qt::white)) {
                b = key;
                break;
            }
        ASSERT_NE(a, b);
    }

    TStitch& st() { return w->stitch(); }
    PatternDocument& doc() { return w->document(); }
    QWidget* vp() { return w->chart()->viewport(); }
    QAction* act(const char* name) { return w->action(QString::fromLatin1(name)); }

    // The centre pixel of a cell, or of a quarter, on the viewport.
    QPoint cellPx(int x, int y)
    {
        const QPoint s = w->chart()->scrollPosition();
        const QSize c = w->chartView()->cellSize();
        return QPoint((x - s.x()) * c.width() + c.width() / 2, (y - s.y()) * c.height() + c.height() / 2);
    }
    QPoint quarterPx(int qx, int qy)
    {
        const QSize c = w->chartView()->cellSize();
        const QPoint s = w->chartView()->scrollPosition();
        return QPoint((qx - 2 * s.x()) * (c.width() / 2) + 1, (qy - 2 * s.y()) * (c.height() / 2) + 1);
    }

    void press(QPoint p, Qt::MouseButton button = Qt::LeftButton)
    {
        m_button = button;
        QTest::mousePress(vp(), button, Qt::NoModifier, p);
    }
    void move(QPoint p)
    {
        QMouseEvent e(QEvent::MouseMove, QPointF(p), vp()->mapToGlobal(QPointF(p)), Qt::NoButton,
                      m_button, Qt::NoModifier);
        QApplication::sendEvent(vp(), &e);
    }
    void release(QPoint p) { QTest::mouseRelease(vp(), m_button, Qt::NoModifier, p); }
    void click(QPoint p)
    {
        press(p);
        release(p);
    }
    void wheel(QPoint p, int delta, Qt::KeyboardModifiers mods)
    {
        QWheelEvent e(QPointF(p), vp()->mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta),
                      Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(vp(), &e);
    }

    // Content of a cell or quarter: the colour key, or `kEmpty`.
    static constexpr quint32 kEmpty = 0xFFFFFFFFu;
    quint32 cell(int x, int y)
    {
        const TColor32 raw = doc().CrossCells.pixel(x, y);
        return raw == st().BackGroundColor ? kEmpty : pixelToKey(raw);
    }
    quint32 quarter(int qx, int qy)
    {
        const TColor32 raw = doc().QuarterCells.pixel(qx, qy);
        return raw == st().BackGroundColor ? kEmpty : pixelToKey(raw);
    }
    Cells cellsOf(ColorKey k)
    {
        Cells out;
        for (int y = 0; y < doc().height(); ++y)
            for (int x = 0; x < doc().width(); ++x)
                if (cell(x, y) == k)
                    out.insert({x, y});
        return out;
    }
    qint32 uses(ColorKey k) { return st().Colors.find(k)->colorCount; }

    std::unique_ptr<MainWindow> w;
    QString m_settings;
    ColorKey a = 0, b = 0;
    Qt::MouseButton m_button = Qt::LeftButton;
};

TEST_F(EditorTest, ToolButtonsKeysCursorsAndPen)
{
    // Each tool: its key, whether its button shows in this product, its cursor, and whether
    // the pen-size button is enabled with it.
    const struct { const char* name; TMode mode; const char* hint; Qt::Key key; bool visible; const char* cursor; bool pen; } rows[] = {
        {"ButtonErase", modErase, "Erase", Qt::Key_E, true, "crErase", true},
        {"ButtonPipette", modPipette, "Pipette", Qt::Key_I, true, "crPipette", false},
        {"ButtonFill", modFill, "Fill", Qt::Key_F, true, "crFill", false},
        {"ButtonSwitchColors", modReplaceColor, "Replace color", Qt::Key_R, true, "", false},
        {"ButtonCursor", modCursor, "Mode cursor", Qt::Key_H, true, "crMove", false},
        {"ButtonSelection", modSelection, "Show selection", Qt::Key_M, true, "", false},
        {"ButtonDrawQuarter", modQDraw, "Draw Quarter Stitches", Qt::Key_Q, false, "crDraw", true},
        {"ButtonDraw", modDraw, "Draw Pixel", Qt::Key_D, true, "crDraw", true},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QAction* tool = act(r.name);
        ASSERT_NE(tool, nullptr);
        EXPECT_FALSE(tool->icon().isNull());
        EXPECT_EQ(tool->isVisible(), r.visible);
        EXPECT_EQ(w->mainToolBar()->actions().contains(tool), true);
        const QString key = QKeySequence(r.key).toString(QKeySequence::NativeText);
        EXPECT_EQ(tool->toolTip(), QString::fromLatin1(r.hint) + QStringLiteral(" (") + key + QLatin1Char(')'));
        QTest::keyClick(w.get(), r.key); // a hidden tool's key works too
        EXPECT_EQ(w->tools()->mode(), r.mode);
        for (QAction* other : tool->actionGroup()->actions())
            EXPECT_EQ(other->isChecked(), other == tool) << other->objectName().toStdString();
        const QCursor cur = vp()->cursor();
        if (*r.cursor) {
            EXPECT_EQ(AppCursors::nameFor(r.mode), QString::fromLatin1(r.cursor));
            EXPECT_EQ(cur.shape(), Qt::BitmapCursor);
            EXPECT_EQ(cur.pixmap().toImage(), AppCursors::named(QString::fromLatin1(r.cursor)).pixmap().toImage());
        } else {
            EXPECT_EQ(cur.shape(), Qt::ArrowCursor);
        }
        EXPECT_EQ(w->penButton()->isEnabled(), r.pen);
        EXPECT_EQ(w->penButton()->menu() != nullptr, r.pen);
    }

    // The highlight toggle remembers the tool and returns to it.
    QAction* highlight = act("ButtonHighlight");
    w->Setmode(modFill);
    QTest::keyClick(w.get(), Qt::Key_L);
    EXPECT_EQ(w->tools()->mode(), modHighlight);
    EXPECT_TRUE(highlight->isChecked());
    EXPECT_TRUE(w->chartView()->highlightActive());
    highlight->trigger();
    EXPECT_EQ(w->tools()->mode(), modFill);
    EXPECT_TRUE(act("ButtonFill")->isChecked());
    EXPECT_FALSE(highlight->isChecked());
    EXPECT_FALSE(w->chartView()->highlightActive());
    // A pressed tool clicked again stays pressed.
    act("ButtonFill")->trigger();
    EXPECT_TRUE(act("ButtonFill")->isChecked());
    EXPECT_EQ(w->tools()->mode(), modFill);

    // Every cursor resource exists.
    for (const char* name : {"crDraw", "crPipette", "crMove", "crFill", "crErase"})
        EXPECT_EQ(AppCursors::named(QString::fromLatin1(name)).shape(), Qt::BitmapCursor) << name;
}

TEST_F(EditorTest, PenFootprintsThroughTheMouse)
{
    // Pen chosen in its menu; one click at cell (10, 10) with the right button (any button
    // draws).
    const struct { const char* entry; int size; Cells cells; } rows[] = {
        {"N11", 1, {{10, 10}}},
        {"N22", 2, {{10, 10}, {11, 10}, {10, 11}, {11, 11}}},
        {"N32", 3, {{10, 9}, {9, 10}, {10, 10}, {11, 10}, {10, 11}}},
        {"N42", 4, {{10, 9}, {11, 9}, {9, 10}, {10, 10}, {11, 10}, {12, 10},
                    {9, 11}, {10, 11}, {11, 11}, {12, 11}, {10, 12}, {11, 12}}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.entry);
        QAction* entry = w->findChild<QMenu*>(QStringLiteral("PopupPenSize"))
                             ->findChild<QAction*>(QString::fromLatin1(r.entry));
        ASSERT_NE(entry, nullptr);
        entry->trigger();
        EXPECT_EQ(st().pensize(), r.size);
        press(cellPx(10, 10), Qt::RightButton);
        release(cellPx(10, 10));
        EXPECT_EQ(cellsOf(a), r.cells);
        EXPECT_EQ(uses(a), qint32(r.cells.size()));
        act("Undo1")->trigger();
        EXPECT_TRUE(cellsOf(a).empty());
        EXPECT_EQ(uses(a), 0);
    }
}

TEST_F(EditorTest, StrokeIsOneUndoStepAndTheCommandsFollowTheHistory)
{
    QAction* undo = act("Undo1");
    QAction* redo = act("Redo1");
    auto states = [&] { return std::make_pair(undo->isEnabled(), redo->isEnabled()); };
    EXPECT_EQ(states(), std::make_pair(false, false));
    EXPECT_TRUE(st().fileSaved());
    EXPECT_TRUE(w->findChild<QToolButton*>(QStringLiteral("BUndo")));
    EXPECT_TRUE(w->findChild<QToolButton*>(QStringLiteral("BRedo")));

    // A drag over four cells and back over the first two: one action, first contents kept.
    doc().updatePixel(7, 5, b, true);
    press(cellPx(5, 5));
    for (QPoint c : {QPoint(6, 5), QPoint(7, 5), QPoint(7, 6), QPoint(6, 5), QPoint(5, 5)})
        move(cellPx(c.x(), c.y()));
    release(cellPx(5, 5));
    EXPECT_EQ(cellsOf(a), Cells({{5, 5}, {6, 5}, {7, 5}, {7, 6}}));
    EXPECT_EQ(w->history()->count(), 1);
    EXPECT_EQ(states(), std::make_pair(true, false));
    EXPECT_FALSE(st().fileSaved());

    // Keys: Ctrl+Z undoes the whole stroke; Ctrl+Y and Ctrl+Shift+Z redo.
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(cellsOf(a).empty());
    EXPECT_EQ(cell(7, 5), b);
    EXPECT_EQ(states(), std::make_pair(false, true));
    QTest::keyClick(w.get(), Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(cellsOf(a).size(), 4u);
    EXPECT_EQ(states(), std::make_pair(true, false));
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(cellsOf(a).size(), 4u);

    // A new stroke after an undo discards the redo tail.
    undo->trigger();
    click(cellPx(20, 20));
    EXPECT_EQ(w->history()->count(), 1);
    EXPECT_EQ(states(), std::make_pair(true, false));
    EXPECT_EQ(cellsOf(a), Cells({{20, 20}}));

    // The repainted view shows the stroke.
    const QImage img = vp()->grab().toImage();
    EXPECT_EQ(QColor(img.pixel(cellPx(20, 20))), keyToQColor(a));

    // A new design empties the history.
    ModalScript script({apptest::click("No"), apptest::click("OK")});
    w->action(QStringLiteral("MenuNew"))->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(w->history()->count(), 0);
    EXPECT_EQ(states(), std::make_pair(false, false));
}

TEST_F(EditorTest, FillSpreadsToFourNeighboursOnly)
{
    // A diagonal of B from (0, 4) to (4, 0) closes the corner: cells touching only at their
    // corners still stop the fill.
    for (int i = 0; i <= 4; ++i)
        doc().updatePixel(i, 4 - i, b, true);
    QTest::keyClick(w.get(), Qt::Key_F);
    ASSERT_EQ(w->tools()->mode(), modFill);
    click(cellPx(0, 0));
    Cells corner;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x + y < 4; ++x)
            corner.insert({x, y});
    EXPECT_EQ(cellsOf(a), corner);
    EXPECT_EQ(uses(a), qint32(corner.size()));
    EXPECT_EQ(w->history()->count(), 1);

    // Clicking a cell of the draw colour records nothing.
    click(cellPx(1, 1));
    EXPECT_EQ(w->history()->count(), 1);
    act("Undo1")->trigger();
    EXPECT_TRUE(cellsOf(a).empty());
    EXPECT_EQ(cellsOf(b).size(), 5u);
}

TEST_F(EditorTest, QuarterToolHiddenButWorking)
{
    // A cross of B in cell (3, 3); the hidden quarter tool draws A into its top-left quarter.
    const struct { bool allow; quint32 crossAfter; } rows[] = {{false, kEmpty}, {true, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.allow);
        st().AllowQuarterOverCross = r.allow;
        act("ButtonDraw")->trigger();
        doc().updatePixel(3, 3, b, true);
        QAction* quarterTool = act("ButtonDrawQuarter");
        EXPECT_FALSE(quarterTool->isVisible());
        quarterTool->trigger();
        ASSERT_EQ(w->tools()->mode(), modQDraw);
        click(quarterPx(6, 6));
        EXPECT_EQ(quarter(6, 6), a);
        EXPECT_EQ(cell(3, 3), r.allow ? b : kEmpty);
        act("Undo1")->trigger();
        EXPECT_EQ(quarter(6, 6), kEmpty);
        EXPECT_EQ(cell(3, 3), b);
        doc().updatePixel(3, 3, st().BackGroundColor, true);
    }

    // Four quarters of the draw colour in one drag become a cross; one undo empties the cell.
    st().AllowQuarterOverCross = false;
    press(quarterPx(4, 4));
    for (QPoint q : {QPoint(5, 4), QPoint(4, 5), QPoint(5, 5)})
        move(quarterPx(q.x(), q.y()));
    release(quarterPx(5, 5));
    EXPECT_EQ(cell(2, 2), a);
    for (QPoint q : {QPoint(4, 4), QPoint(5, 4), QPoint(4, 5), QPoint(5, 5)})
        EXPECT_EQ(quarter(q.x(), q.y()), kEmpty) << q.x() << "," << q.y();
    EXPECT_EQ(uses(a), 1);
    act("Undo1")->trigger();
    EXPECT_EQ(cell(2, 2), kEmpty);
    EXPECT_EQ(uses(a), 0);
    EXPECT_EQ(doc().checkInvariant(), QString());
}

TEST_F(EditorTest, EraserTakesTheNewerOfTwoCrossingBackStitches)
{
    // Two back stitches crossing at grid point (6, 6), the newer one last, and a cell.
    doc().backStitchesAdd(TBackStitch{QPoint(4, 4), QPoint(8, 8), a, 0}, true);
    doc().backStitchesAdd(TBackStitch{QPoint(8, 4), QPoint(4, 8), b, 0}, true);
    doc().updatePixel(10, 10, b, true);
    ASSERT_TRUE(act("ButtonBackStitch")->isChecked()); // shown, though its button is hidden
    QTest::keyClick(w.get(), Qt::Key_E);
    ASSERT_EQ(w->tools()->mode(), modErase);
    const QPoint crossing(6 * 8 / 2, 6 * 8 / 2);
    press(crossing);
    move(cellPx(10, 10));
    release(cellPx(10, 10));
    ASSERT_EQ(doc().DesignBackStitches.size(), 1);
    EXPECT_EQ(doc().DesignBackStitches.first().Color, a);
    EXPECT_EQ(cell(10, 10), kEmpty);
    EXPECT_EQ(w->history()->count(), 1);
    act("Undo1")->trigger();
    ASSERT_EQ(doc().DesignBackStitches.size(), 2);
    EXPECT_EQ(doc().DesignBackStitches.at(1).Color, b);
    EXPECT_EQ(cell(10, 10), b);

    // Back stitches hidden: the eraser leaves them.
    act("ButtonBackStitch")->setChecked(false);
    click(crossing);
    EXPECT_EQ(doc().DesignBackStitches.size(), 2);
}

TEST_F(EditorTest, ColourPanelRowChoosesTheDrawColour)
{
    ColorPanel* panel = w->colorPanel();
    QTableView* grid = panel->grid();
    const int row = panel->model()->rowOf(b);
    ASSERT_GE(row, 0);
    grid->scrollTo(panel->model()->index(row, 0));
    const QRect rect = grid->visualRect(panel->model()->index(row, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    EXPECT_EQ(st().drawcolor(), b);
    const QImage swatch = panel->drawColorSwatch()->pixmap().toImage();
    EXPECT_EQ(QColor(swatch.pixel(1, 1)), keyToQColor(b));

    // The pen then draws in it, and the status bar counts it.
    click(cellPx(1, 1));
    EXPECT_EQ(cell(1, 1), b);
    EXPECT_TRUE(w->statusPanel(3)->text().startsWith(QStringLiteral("Colors used: 1 (")))
        << w->statusPanel(3)->text().toStdString();
}

// A stroke over many cells refreshes the colour panel's counts without resetting its list for
// every cell, and the status bar's colour count follows the stroke and its undo.
TEST_F(EditorTest, StrokeRefreshesTheColourPanelOncePerStep)
{
    ColorListModel* model = w->colorPanel()->model();
    st().setPensize(2);
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy counts(model, &QAbstractItemModel::dataChanged);
    QSignalSpy texts(w->colorPanel(), &ColorPanel::usedColorsTextChanged);
    const QList<QPoint> stroke{cellPx(1, 1), cellPx(3, 1), cellPx(5, 1), cellPx(7, 1), cellPx(9, 1)};
    press(stroke.first());
    for (int i = 1; i < stroke.size(); ++i)
        move(stroke[i]);
    release(stroke.last());
    const int steps = int(stroke.size()) + 1;
    EXPECT_EQ(uses(a), 20); // five 2 x 2 pens side by side
    EXPECT_LE(resets.count(), 1); // the draw colour joins the used colours once
    EXPECT_LE(counts.count(), steps);
    EXPECT_LE(texts.count(), 1);
    EXPECT_EQ(w->statusPanel(3)->text().section(QLatin1Char('('), 0, 0), QStringLiteral("Colors used: 1 "));
    const int row = model->rowOf(a);
    ASSERT_GE(row, 0);
    EXPECT_EQ(model->data(model->index(row, ColorListModel::ColCount), Qt::DisplayRole).toInt(), 20);
    EXPECT_TRUE(w->colorPanel()->grid()->selectionModel()->isRowSelected(row, {}));

    act("Undo1")->trigger();
    EXPECT_EQ(w->statusPanel(3)->text().section(QLatin1Char('('), 0, 0), QStringLiteral("Colors used: 0 "));
    EXPECT_EQ(model->data(model->index(model->rowOf(a), ColorListModel::ColCount), Qt::DisplayRole).toInt(), 0);
}

// Scrolling both ways at once repaints the chart once.
TEST_F(EditorTest, DiagonalScrollRepaintsOnce)
{
    w->resize(700, 500);
    QApplication::processEvents();
    ChartWidget* chart = w->chart();
    const struct { QPoint to; int repaints; } rows[] = {
        {{4, 6}, 1}, {{4, 6}, 0}, {{5, 6}, 1}, {{0, 0}, 1}, {{-3, -3}, 0}, {{500, 500}, 1},
    };
    for (const auto& r : rows) {
        QSignalSpy spy(w->chartView(), &ChartView::repainted);
        chart->setScrollPosition(r.to);
        EXPECT_EQ(spy.count(), r.repaints) << r.to.x() << "," << r.to.y();
        EXPECT_EQ(chart->mapping().hScroll, chart->scrollPosition().x());
        EXPECT_EQ(chart->mapping().vScroll, chart->scrollPosition().y());
    }
    EXPECT_EQ(chart->scrollPosition(), QPoint(chart->horizontalScrollBar()->maximum(),
                                              chart->verticalScrollBar()->maximum()));
}

TEST_F(EditorTest, WheelZoomsInListStepsAroundThePointer)
{
    w->chart()->setScrollPosition(QPoint(20, 20));
    const QPoint at(100, 100);
    const int cellBefore = 20 + 100 / 8;
    // Ctrl+wheel notches in a row: zoom, button caption, and the cell under the pointer.
    const struct { int delta; int zoom; const char* caption; } rows[] = {
        {120, 10, "250%"}, {120, 12, "300%"}, {-120, 10, "250%"}, {-240, 7, "175%"},
        {60, 7, "175%"}, {60, 8, "200%"}, // half notches add up
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.zoom);
        wheel(at, r.delta, Qt::ControlModifier);
        EXPECT_EQ(w->chartView()->zoom(), r.zoom);
        EXPECT_EQ(w->zoomButton()->text(), QString::fromLatin1(r.caption));
        EXPECT_EQ(w->zoomList()->currentText(), QString::number(r.zoom));
        EXPECT_EQ(w->chart()->mapping().cellAt(at), QPoint(cellBefore, cellBefore));
    }
    // At the ends of the list the zoom stays.
    w->setZoom(40);
    wheel(at, 120, Qt::ControlModifier);
    EXPECT_EQ(w->chartView()->zoom(), 40);
    w->setZoom(2);
    act("ButtonZoomOut")->trigger();
    EXPECT_EQ(w->chartView()->zoom(), 2);
    act("ButtonZoomIn")->trigger();
    EXPECT_EQ(w->chartView()->zoom(), 3);
    EXPECT_EQ(w->zoomButton()->text(), QStringLiteral("75%"));

    // The plain wheel scrolls rows, Shift+wheel columns, three cells a notch.
    w->setZoom(8);
    w->chart()->setScrollPosition(QPoint(10, 10));
    wheel(at, -120, Qt::NoModifier);
    EXPECT_EQ(w->chart()->scrollPosition(), QPoint(10, 13));
    wheel(at, 120, Qt::ShiftModifier);
    EXPECT_EQ(w->chart()->scrollPosition(), QPoint(7, 13));

    // The zoom list and the zoom menu choose values too.
    w->zoomList()->setCurrentIndex(12);
    emit w->zoomList()->activated(12);
    EXPECT_EQ(w->chartView()->zoom(), 20);
    EXPECT_EQ(w->zoomButton()->text(), QStringLiteral("500%"));
    w->zoomButton()->menu()->actions().at(14)->trigger();
    EXPECT_EQ(w->chartView()->zoom(), 40);
    EXPECT_TRUE(w->zoomButton()->menu()->actions().at(14)->isChecked());
    EXPECT_EQ(w->zoomList()->currentText(), QStringLiteral("40"));
}

TEST_F(EditorTest, SymbolsShowFromZoomEight)
{
    doc().updatePixel(1, 1, b, true);
    auto inkInCell = [&] {
        const QImage img = vp()->grab().toImage();
        const QSize c = w->chartView()->cellSize();
        int ink = 0;
        for (int y = c.height() + 1; y < 2 * c.height(); ++y)
            for (int x = c.width() + 1; x < 2 * c.width(); ++x)
                ink += QColor(img.pixel(x, y)) != keyToQColor(b);
        return ink;
    };
    const struct { const char* mode; int zoom; bool symbols; } rows[] = {
        {"MenuGridSymbols", 8, true}, {"MenuSymbols", 7, false}, {"MenuSymbols", 16, true},
        {"MenuGrid", 16, false}, {"MenuNone", 8, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(std::string(r.mode) + " " + std::to_string(r.zoom));
        w->setZoom(r.zoom);
        act(r.mode)->trigger();
        EXPECT_EQ(inkInCell() > 0, r.symbols);
    }
}

TEST_F(EditorTest, HandScrollsByWholeCellsWithinTheLimits)
{
    w->resize(700, 500);
    QApplication::processEvents();
    QTest::keyClick(w.get(), Qt::Key_H);
    ASSERT_EQ(w->tools()->mode(), modCursor);
    const int hMax = w->chart()->horizontalScrollBar()->maximum();
    ASSERT_EQ(hMax, 49);
    // Each row: start scroll, drag from one view pixel to another, the scroll position after.
    const struct { QPoint start; QPoint from, to; QPoint scroll; } rows[] = {
        {{0, 0}, {80, 80}, {56, 64}, {3, 2}},       // drag left and up by 3 and 2 cells
        {{10, 10}, {40, 40}, {84, 40}, {5, 10}},    // drag right: earlier columns
        {{1, 1}, {8, 8}, {200, 200}, {0, 0}},       // stops at the first column and row
        {{48, 48}, {200, 200}, {20, 20}, {49, 49}}, // stops at the last
        {{5, 5}, {40, 40}, {43, 46}, {5, 5}},       // within the same cell: no move
    };
    for (const auto& r : rows) {
        w->chart()->setScrollPosition(r.start);
        press(r.from);
        move(r.to);
        release(r.to);
        EXPECT_EQ(w->chart()->scrollPosition(), r.scroll) << r.start.x() << "," << r.start.y();
        EXPECT_EQ(w->chart()->horizontalScrollBar()->value(), r.scroll.x());
        EXPECT_EQ(w->chart()->mapping().hScroll, r.scroll.x());
    }
    EXPECT_EQ(w->history()->count(), 0);
}

TEST_F(EditorTest, SplitterKeepsThePanelBetween151And299)
{
    QSplitter* s = w->splitter();
    const int total = s->sizes().value(0) + s->sizes().value(1);
    const struct { int asked; int got; } rows[] = {
        {100, 151}, {150, 151}, {151, 151}, {220, 220}, {299, 299}, {300, 299}, {450, 299},
    };
    for (const auto& r : rows) {
        s->setSizes({r.asked, total - r.asked});
        EXPECT_EQ(w->colorPanel()->width(), r.got) << r.asked;
    }
    // The same limits when the user drags the handle from a panel of 200 pixels.
    QSplitterHandle* handle = s->handle(1);
    ASSERT_NE(handle, nullptr);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.asked);
        s->setSizes({200, total - 200});
        ASSERT_EQ(w->colorPanel()->width(), 200);
        const QPoint from = handle->rect().center();
        const QPoint to = from + QPoint(r.asked - 200, 0);
        QTest::mousePress(handle, Qt::LeftButton, Qt::NoModifier, from);
        QMouseEvent drag(QEvent::MouseMove, QPointF(to), handle->mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(handle, &drag);
        QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, to);
        EXPECT_EQ(w->colorPanel()->width(), r.got);
    }
}

TEST_F(EditorTest, PaletteButtonChangeCharacterAndBackground)
{
    // The "Palette" button opens the pop-up beside the colour panel and closes it again.
    QPushButton* button = w->colorPanel()->paletteButton();
    QTest::mouseClick(button, Qt::LeftButton);
    TFPalette* popup = w->palettePopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_TRUE(popup->isVisible());
    EXPECT_TRUE(button->isChecked());
    EXPECT_EQ(popup->pos(), w->colorPanel()->mapToGlobal(QPoint(w->colorPanel()->width(), 0)));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_FALSE(button->isChecked());

    // "Change character ..." only for a used draw colour.
    QAction* change = act("MenuChangeCharacter");
    EXPECT_FALSE(change->isEnabled());
    click(cellPx(2, 2));
    EXPECT_TRUE(change->isEnabled());
    {
        ModalScript script({apptest::click("Cancel")});
        change->trigger();
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
    }
    act("Undo1")->trigger();
    EXPECT_FALSE(change->isEnabled());

    // Tools > "Characters editor ..." opens the editor.
    {
        ModalScript script({[](QWidget* d) {
            EXPECT_NE(qobject_cast<TFCharacters*>(d), nullptr);
            d->close();
        }});
        act("MenuCharactersEditor")->trigger();
        EXPECT_TRUE(script.done());
    }

    // Tools > "CMYK colors ..." opens the CMYK table for the design's colours. (Closed without
    // "OK": the shipped data folder is not written.)
    {
        ModalScript script({[this](QWidget* d) {
            auto* dialog = qobject_cast<TFCMYK*>(d);
            EXPECT_NE(dialog, nullptr);
            if (dialog) {
                EXPECT_EQ(dialog->logic().rows().size(), st().Colors.size());
            }
            d->close();
        }});
        act("MenuCMYK")->trigger();
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
    }

    // The background through the history: empty cells take it, Undo gives the old one back.
    click(cellPx(2, 2));
    const int before = w->history()->count();
    const TColor32 oldBg = st().BackGroundColor;
    w->changeBackgroundColor(0x00C0FFEEu);
    EXPECT_NE(st().BackGroundColor, oldBg);
    EXPECT_EQ(w->history()->count(), before + 1);
    EXPECT_EQ(cell(2, 2), a);
    EXPECT_EQ(QColor(vp()->grab().toImage().pixel(cellPx(5, 5))), keyToQColor(0x00C0FFEEu));
    act("Undo1")->trigger();
    EXPECT_EQ(st().BackGroundColor, oldBg);
    EXPECT_EQ(cell(5, 5), kEmpty);
    EXPECT_EQ(cell(2, 2), a);
}

TEST_F(EditorTest, ChangedCharacterIsAnUnsavedChangeThatClosingAsksAbout)
{
    click(cellPx(2, 2));
    st().setFileSaved(true);
    int picked = -1;
    {
        ModalScript script({[&picked, this](QWidget* d) {
            auto* dialog = qobject_cast<TFChangeCharacter*>(d);
            ASSERT_NE(dialog, nullptr);
            const TStitch& s = st();
            for (int p = 0; p < s.chars.fcharacters.size() && picked < 0; ++p)
                if (symbolPositionFree(s, p))
                    picked = p;
            dialog->logic().select(picked % ChangeCharacter::kColumns, picked / ChangeCharacter::kColumns);
            dialog->okButton()->click();
        }});
        act("MenuChangeCharacter")->trigger();
        EXPECT_TRUE(script.done());
        EXPECT_EQ(script.unexpected, 0);
    }
    ASSERT_GE(picked, 0);
    EXPECT_EQ(st().Colors.find(a)->charID, picked);
    EXPECT_FALSE(st().fileSaved());
    EXPECT_TRUE(act("MenuSave")->isEnabled());

    // Closing now asks; "Cancel" keeps the window and the change.
    ModalScript script({apptest::click("Cancel")});
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.texts.size(), 1);
    EXPECT_EQ(st().Colors.find(a)->charID, picked);
}

TEST_F(EditorTest, QuarterUnderThePointerIsTheQuarterDrawnThereAtEveryZoom)
{
    // At odd cell sizes the quarters of a cell differ in width by a pixel; a click must hit
    // the quarter that is drawn under the pointer, on every pixel column and row of a cell
    // and on the first one of the next.
    act("MenuNone")->trigger(); // no grid and no symbols over the quarters
    act("ButtonDrawQuarter")->trigger();
    ASSERT_EQ(w->tools()->mode(), modQDraw);
    const TColor32 shownColour = keyToQColor(a).rgb();
    for (int zoom : ZoomList::kValues) {
        SCOPED_TRACE(zoom);
        w->setZoom(zoom);
        const ChartGeometry g = w->chartView()->geometry();
        const QRect cell = g.cellRect(3 + g.scroll.x(), 3 + g.scroll.y());
        for (int i = 0; i <= cell.width(); ++i) {
            // Along a row through the cell, and down a column through it.
            for (const QPoint p : {QPoint(cell.left() + i, cell.top() + 1),
                                   QPoint(cell.left() + 1, cell.top() + i)}) {
                SCOPED_TRACE(testing::Message() << p.x() << "," << p.y());
                click(p);
                QPoint hit(-1, -1);
                for (int qy = 0; qy < doc().QuarterCells.height(); ++qy)
                    for (int qx = 0; qx < doc().QuarterCells.width(); ++qx)
                        if (quarter(qx, qy) == a)
                            hit = QPoint(qx, qy);
                EXPECT_TRUE(g.quarterRect(hit.x(), hit.y()).contains(p));
                EXPECT_EQ(hit, g.quarterAt(p));
                EXPECT_EQ(w->chartView()->image().pixel(p) & 0xFFFFFFu, shownColour & 0xFFFFFFu);
                act("Undo1")->trigger();
            }
        }
    }
    EXPECT_EQ(doc().checkInvariant(), QString());
}

TEST_F(EditorTest, PaletteViewIsWrittenToTheSettingsWhenItChanges)
{
    QTest::mouseClick(w->colorPanel()->paletteButton(), Qt::LeftButton);
    TFPalette* popup = w->palettePopup();
    ASSERT_NE(popup, nullptr);
    QComboBox* view = popup->viewBox();
    const auto written = [this] {
        QFile f(m_settings);
        if (!f.open(QIODevice::ReadOnly))
            return -1;
        for (const QByteArray& line : f.readAll().split('\n'))
            if (const int at = line.toLower().indexOf("\\paletteview="); at >= 0)
                return line.mid(at + 13).trimmed().toInt();
        return -1;
    };
    // Each choice reaches the settings file while the window stays open.
    for (int index : {3, 1, 4, 0}) {
        SCOPED_TRACE(index);
        view->setCurrentIndex(index);
        emit view->activated(index);
        EXPECT_EQ(st().PaletteView, index);
        EXPECT_EQ(written(), index);
    }
}

TEST_F(EditorTest, ToolTipsStayTenSeconds)
{
    // A short and a long hint: both are shown for 10000 ms.
    QToolButton* draw = qobject_cast<QToolButton*>(w->mainToolBar()->widgetForAction(act("ButtonDraw")));
    ASSERT_NE(draw, nullptr);
    QWidget* zoom = w->zoomList();
    zoom->setToolTip(QString(300, QLatin1Char('z')));
    for (QWidget* target : {static_cast<QWidget*>(draw), zoom}) {
        SCOPED_TRACE(target->objectName().toStdString());
        const QPoint at(2, 2);
        QHelpEvent help(QEvent::ToolTip, at, target->mapToGlobal(at));
        QApplication::sendEvent(target, &help);
        EXPECT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), target->toolTip());
        EXPECT_EQ(target->toolTipDuration(), 10000);
        QToolTip::hideText();
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Back stitches, French knots, Rhodes stitches

namespace {

// A grid point's pixel on the viewport at the start zoom (8 pixels per cell), not scrolled.
QPoint gridPx(int x, int y)
{
    return QPoint(x * 4, y * 4);
}

TEST_F(EditorTest, StitchToolsWorkByTheirKeysThoughTheirButtonsAreHidden)
{
    ASSERT_EQ(w->chartView()->cellSize(), QSize(8, 8));
    const struct { const char* name; Qt::Key key; TMode mode; const char* hint; } rows[] = {
        {"ButtonBackStitchDraw", Qt::Key_B, modBackStitch, "Draw Back Stitches"},
        {"ButtonKnot", Qt::Key_K, modFrenchKnot, "Draw french knot"},
        {"ButtonRhode", Qt::Key_P, modRhode, "Draw rhode"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QAction* tool = act(r.name);
        ASSERT_NE(tool, nullptr);
        EXPECT_FALSE(tool->icon().isNull());
        const QString key = QKeySequence(r.key).toString(QKeySequence::NativeText);
        EXPECT_EQ(tool->toolTip(), QString::fromLatin1(r.hint) + QStringLiteral(" (") + key + QLatin1Char(')'));
        // This product hides the button, not the key.
        QWidget* button = w->mainToolBar()->findChild<QToolButton*>(QString::fromLatin1(r.name));
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->isVisible());
        w->Setmode(modDraw);
        QTest::keyClick(w.get(), r.key);
        EXPECT_EQ(w->tools()->mode(), r.mode);
        for (QAction* other : tool->actionGroup()->actions())
            EXPECT_EQ(other->isChecked(), other == tool) << other->objectName().toStdString();
        EXPECT_FALSE(w->penButton()->isEnabled());
        EXPECT_EQ(vp()->cursor().shape(), Qt::ArrowCursor);
    }
}

TEST_F(EditorTest, BackStitchChainWithPreviewEscapeAndUndo)
{
    // Back stitches hidden: the back-stitch tool shows them, and keeps them shown.
    act("ButtonBackStitch")->setChecked(false);
    QTest::keyClick(w.get(), Qt::Key_B);
    ASSERT_EQ(w->tools()->mode(), modBackStitch);
    EXPECT_TRUE(act("ButtonBackStitch")->isChecked());
    act("ButtonBackStitch")->setChecked(false);
    EXPECT_TRUE(act("ButtonBackStitch")->isChecked());

    click(gridPx(2, 2));
    move(gridPx(10, 2));
    EXPECT_EQ(w->stitchPreview()->lines(), (QList<QLine>{QLine(2, 2, 10, 2)}));
    EXPECT_EQ(w->statusPanel(0)->text(), QStringLiteral("X: 11  Y: 3"));
    // The preview is drawn over the chart in the draw colour.
    EXPECT_EQ(QColor(w->chartView()->image().pixel(24, 8)), keyToQColor(a));
    click(gridPx(10, 2));
    click(gridPx(10, 8));
    ASSERT_EQ(doc().DesignBackStitches.size(), 2);
    EXPECT_EQ(doc().DesignBackStitches[1].FromPoint, QPoint(10, 2));
    EXPECT_EQ(doc().DesignBackStitches[1].ToPoint, QPoint(10, 8));
    EXPECT_EQ(w->history()->count(), 2);
    EXPECT_FALSE(st().fileSaved());

    // Escape drops the pending start and the preview; the next click starts afresh.
    const QRgb plain = w->chartView()->image().pixel(50, 34);
    move(gridPx(14, 9));
    EXPECT_FALSE(w->stitchPreview()->isEmpty());
    EXPECT_EQ(QColor(w->chartView()->image().pixel(50, 34)), keyToQColor(a));
    QTest::keyClick(w.get(), Qt::Key_Escape);
    EXPECT_TRUE(w->tools()->backStitchIdle());
    EXPECT_TRUE(w->stitchPreview()->isEmpty());
    EXPECT_EQ(w->chartView()->image().pixel(50, 34), plain);
    click(gridPx(14, 8));
    EXPECT_EQ(doc().DesignBackStitches.size(), 2);

    // One Undo per stitch.
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc().DesignBackStitches.size(), 1);
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(doc().DesignBackStitches.isEmpty());
    EXPECT_EQ(doc().checkInvariant(), QString());
}

TEST_F(EditorTest, FrenchKnotsAndTheRhodesMenu)
{
    QTest::keyClick(w.get(), Qt::Key_K);
    click(gridPx(6, 6));
    click(gridPx(6, 6));
    EXPECT_EQ(doc().DesignFrenchKnots.size(), 2);
    EXPECT_EQ(doc().DesignFrenchKnots[0].Center, QPoint(6, 6));

    // The menu lists the catalogue in its order with an icon each; the first is current.
    const TRhodeList& catalogue = st().RhodeCatalogue;
    ASSERT_GE(catalogue.size(), 2u);
    QMenu* menu = w->rhodesMenu();
    ASSERT_EQ(menu->actions().size(), int(catalogue.size()));
    for (int i = 0; i < int(catalogue.size()); ++i) {
        EXPECT_EQ(menu->actions()[i]->text(), catalogue[size_t(i)]->name);
        EXPECT_FALSE(menu->actions()[i]->icon().isNull());
    }
    EXPECT_EQ(w->rhodeButton()->menu(), menu);
    EXPECT_EQ(w->tools()->currentRhode(), 0);

    // Choosing the second entry selects the Rhodes tool with it; a click places it centred.
    menu->actions()[1]->trigger();
    EXPECT_EQ(w->tools()->mode(), modRhode);
    EXPECT_EQ(w->tools()->currentRhode(), 1);
    const TRhode& d = *catalogue[1];
    move(gridPx(20, 20));
    EXPECT_EQ(w->stitchPreview()->lines().size(), d.stitches.size());
    click(gridPx(20, 20));
    ASSERT_EQ(doc().DesignRhodes.size(), 1u);
    const TRhode& placed = *doc().DesignRhodes[0];
    ASSERT_EQ(placed.stitches.size(), d.stitches.size());
    const QPoint offset(20 - d.width, 20 - d.height);
    EXPECT_EQ(placed.stitches[0].FromPoint, d.stitches[0].FromPoint + offset);
    EXPECT_EQ(placed.color, a);
    EXPECT_EQ(w->history()->count(), 3);
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(doc().DesignRhodes.empty());
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(doc().DesignFrenchKnots.size(), 1);
    EXPECT_EQ(doc().checkInvariant(), QString());
}

TEST_F(EditorTest, RhodesEditorAddsADefinitionWrittenOnCloseAndShownInTheMenu)
{
    // The catalogue file goes to a folder of this test, not the shipped one.
    const QString folder = testsupport::currentTestPath() + QLatin1Char('/');
    QDir(folder).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder));
    st().RhodesPath = folder;
    const size_t before = st().RhodeCatalogue.size();

    ModalScript script({[](QWidget* dialog) {
        auto* newButton = dialog->findChild<QPushButton*>(QStringLiteral("ButtonNew"));
        newButton->click();
        QTest::keyClicks(dialog->findChild<QLineEdit*>(QStringLiteral("ERhodeName")),
                         QStringLiteral("cross"));
        QWidget* surface = dialog->findChild<QWidget*>(QStringLiteral("Image"));
        // (QTest takes the point (0, 0) for the widget's centre: (1, 1) is grid point (0, 0).)
        QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
        QTest::mouseClick(surface, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
        dialog->findChild<QPushButton*>(QStringLiteral("ButtonOK"))->click();
        dialog->findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
    }});
    act("Rhodeseditor1")->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_EQ(script.unexpected, 0);
    EXPECT_EQ(script.titles.value(0), QStringLiteral("Rhodes Editor"));

    ASSERT_EQ(st().RhodeCatalogue.size(), before + 1);
    const TRhode& added = *st().RhodeCatalogue.back();
    EXPECT_EQ(added.name, QStringLiteral("CROSS"));
    EXPECT_FALSE(added.original);
    ASSERT_EQ(added.stitches.size(), 1);
    EXPECT_EQ(added.stitches[0].FromPoint, QPoint(0, 0));
    EXPECT_EQ(added.stitches[0].ToPoint, QPoint(4, 4));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("rhodes.xml")));
    EXPECT_EQ(w->rhodesMenu()->actions().size(), int(before + 1));
    EXPECT_EQ(w->rhodesMenu()->actions().last()->text(), QStringLiteral("CROSS"));
}

} // namespace
