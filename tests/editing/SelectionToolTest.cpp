// The selection tool without a window: the frame's rules (normalised, snapped to cells, kept
// over the design), drags by pointer offsets, panning beside the frame, and the clipboard
// commands through the tool controller: copy, cut and undo, paste at the selection or at the
// first visible cell, transforms that turn the frame with the block, merge at the design's
// edge, and Escape dropping the block while the clipboard stays.
#include "ToolFixture.h"
#include "editing/Selection.h"
#include "support/SmallDesign.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

QRect cells(int left, int top, int right, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

} // namespace

TEST(SelectionFrame, RubberResizeKeepsTheFrameOverTheDesignAndNormalised)
{
    // Frame (2, 2)-(5, 4) on a 10 x 8 design; `proposed` as the pointer puts the edges.
    const QRect current = cells(2, 2, 5, 4);
    const QSize design(10, 8);
    struct Case
    {
        const char* name;
        TDragState state;
        TCellEdges proposed;
        QRect expected;
    };
    const Case cases[] = {
        {"move keeps the size", dsMove, {4, 3, 0, 0}, cells(4, 3, 7, 5)},
        {"move partly beyond the near side", dsMove, {-2, -1, 0, 0}, cells(-2, -1, 1, 1)},
        {"move wholly left of the design keeps one column", dsMove, {-9, 2, 0, 0}, cells(-2, 2, 1, 4)},
        {"move wholly above keeps one row", dsMove, {2, -7, 0, 0}, cells(2, -1, 5, 1)},
        {"move beyond the far side keeps one column", dsMove, {15, 2, 0, 0}, cells(9, 2, 12, 4)},
        {"move below keeps one row", dsMove, {2, 30, 0, 0}, cells(2, 7, 5, 9)},
        {"right handle grows", dsRight, {2, 2, 8, 4}, cells(2, 2, 8, 4)},
        {"right handle beyond the design is allowed", dsRight, {2, 2, 14, 4}, cells(2, 2, 14, 4)},
        {"left handle stops at the last column", dsLeft, {12, 2, 5, 4}, cells(5, 2, 9, 4)},
        {"left handle past the right edge turns the frame", dsLeft, {7, 2, 5, 4}, cells(5, 2, 7, 4)},
        {"left handle onto the right edge keeps one cell", dsLeft, {5, 2, 5, 4}, cells(4, 2, 5, 4)},
        {"top handle stops at the last row", dsTop, {2, 20, 5, 4}, cells(2, 4, 5, 7)},
        {"bottom handle stops at the first row", dsBottom, {2, 2, 5, -6}, cells(2, 1, 5, 2)},
        {"top-left corner", dsTopLeft, {0, 1, 5, 4}, cells(0, 1, 5, 4)},
        {"bottom-right corner past both edges", dsBottomRight, {2, 2, -3, -3}, cells(1, 1, 2, 2)},
        {"top-right corner", dsTopRight, {2, -2, 9, 4}, cells(2, -2, 9, 4)},
        {"bottom-left corner", dsBottomLeft, {-4, 2, 5, 11}, cells(-4, 2, 5, 11)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TSelection::RubberResize(current, c.proposed, c.state, design), c.expected);
    }
}

TEST(SelectionFrame, DragsFollowThePointerByWholeCells)
{
    PointerMapping m;
    m.cellWidth = m.cellHeight = 10;
    m.hScroll = 3;
    m.vScroll = 1;
    TSelection s;
    s.start(QPoint(m.hScroll, m.vScroll));
    EXPECT_EQ(s.SelectionRect(), QRect(3, 1, 10, 10));
    // Frame pixels (0, 0) to (100, 100): handles at the corners and the middles of the edges.
    s.setRect(QRect(3, 1, 4, 2)); // pixels (0, 0) to (40, 20)
    EXPECT_EQ(TSelection::framePixels(s.SelectionRect(), m), QRect(QPoint(0, 0), QPoint(40, 20)));
    struct Hit { QPoint px; TDragState part; };
    const Hit hits[] = {{{1, 1}, dsTopLeft}, {{20, -3}, dsTop}, {{43, 10}, dsRight},
                        {{39, 22}, dsBottomRight}, {{0, 18}, dsBottomLeft}, {{12, 8}, dsMove},
                        {{45, 10}, dsNone}, {{-6, -6}, dsNone}};
    for (const Hit& h : hits)
        EXPECT_EQ(s.hitTest(h.px, m), h.part) << h.px.x() << "," << h.px.y();

    const QSize design(20, 20);
    struct Step { QPoint px; QRect rect; };
    // A move from (12, 8): less than half a cell stays, more snaps to the next cell.
    ASSERT_TRUE(s.beginDrag(QPoint(12, 8), dsMove));
    const Step moves[] = {{{16, 12}, QRect(3, 1, 4, 2)}, {{17, 8}, QRect(4, 1, 4, 2)},
                          {{-9, -7}, QRect(1, 0, 4, 2)}, {{-500, 8}, QRect(-3, 1, 4, 2)}};
    for (const Step& st : moves) {
        s.dragTo(st.px, m, design, false);
        EXPECT_EQ(s.SelectionRect(), st.rect) << st.px.x() << "," << st.px.y();
    }
    s.endDrag();
    s.setRect(QRect(3, 1, 4, 2));
    // The right handle, from (40, 10): the edge goes to the grid line nearest the pointer.
    ASSERT_TRUE(s.beginDrag(QPoint(40, 10), dsRight));
    EXPECT_TRUE(s.dragTo(QPoint(56, 10), m, design, false));
    EXPECT_EQ(s.SelectionRect(), QRect(3, 1, 6, 2));
    // While a block floats the handles do nothing.
    EXPECT_FALSE(s.dragTo(QPoint(90, 10), m, design, true));
    EXPECT_EQ(s.SelectionRect(), QRect(3, 1, 6, 2));
    s.endDrag();
    s.end();
    EXPECT_FALSE(s.active());
    EXPECT_FALSE(s.beginDrag(QPoint(1, 1), dsMove));
}

namespace {

// The tool controller on a 12 x 10 design at 10 pixels per cell: red cells at (1, 1) and
// (2, 2), a blue quarter in cell (3, 1), a back stitch from (2, 2) to (4, 2) and a knot at
// (4, 4) in grid points, all inside the 3 x 3 block at (1, 1).
struct Selecting : ToolFixture<12, 10, 10>
{
    void SetUp() override
    {
        ToolFixture::SetUp();
        doc.updatePixel(1, 1, kRed, false);
        doc.updatePixel(2, 2, kRed, false);
        doc.updateQPixel(7, 2, kBlue, false);
        doc.backStitchesAdd(TBackStitch{{2, 2}, {4, 2}, kGreen, 0}, false);
        doc.frenchKnotAdd(TFrenchKnot{{4, 4}, kGreen, 0}, false);
        doc.CalcColorUsage();
        tools.Setmode(modSelection);
    }
    static QPoint px(int cx, int cy) { return {cx * kZoom + 3, cy * kZoom + 3}; }
    void select(const QRect& r)
    {
        // Drag the bottom-right handle, then move the frame by its inside.
        const QRect f = TSelection::framePixels(tools.selection().SelectionRect(), tools.mapping());
        tools.mousePress(f.bottomRight());
        tools.mouseMove(f.topLeft() + QPoint(r.width(), r.height()) * kZoom);
        tools.mouseRelease(f.topLeft() + QPoint(r.width(), r.height()) * kZoom);
        moveFrameBy(r.topLeft() - tools.selection().SelectionRect().topLeft());
        ASSERT_EQ(tools.selection().SelectionRect(), r);
    }
    void moveFrameBy(QPoint cellsOffset)
    {
        const QPoint from = TSelection::framePixels(tools.selection().SelectionRect(), tools.mapping()).center();
        tools.mousePress(from);
        tools.mouseMove(from + cellsOffset * kZoom);
        tools.mouseRelease(from + cellsOffset * kZoom);
    }
    bool cellIs(int x, int y, ColorKey c) const { return doc.CrossCells.pixel(x, y) == keyToPixel(c); }
    bool cellEmpty(int x, int y) const { return doc.CrossCells.pixel(x, y) == d.bg(); }
};

} // namespace

TEST_F(Selecting, TheFrameStartsAtTheFirstVisibleCellAndAPressBesideItPans)
{
    tools.Setmode(modDraw);
    PointerMapping m = tools.mapping();
    m.hScroll = 2;
    m.vScroll = 1;
    tools.setMapping(m);
    QSignalSpy changed(&tools, &ToolController::selectionChanged);
    tools.Setmode(modSelection);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(tools.selection().SelectionRect(), QRect(2, 1, 10, 10));

    // Beside the frame the view moves with the pointer, and the frame stays.
    QSignalSpy scrolled(&tools, &ToolController::scrollBy);
    const QPoint outside(115, 5);
    tools.mousePress(outside);
    tools.mouseMove(outside + QPoint(-20, 0));
    tools.mouseRelease(outside + QPoint(-20, 0));
    ASSERT_EQ(scrolled.count(), 1);
    EXPECT_EQ(scrolled.at(0).at(0).toPoint(), QPoint(2, 0));
    EXPECT_EQ(tools.selection().SelectionRect(), QRect(2, 1, 10, 10));
    EXPECT_EQ(history.count(), 0);
}

TEST_F(Selecting, CopyPasteMoveAndMergeLeaveTheSourceAndLayACopy)
{
    select(QRect(1, 1, 3, 3));
    EXPECT_TRUE(tools.selectionCopy());
    EXPECT_TRUE(tools.floatingBlock().hasClipboard());
    EXPECT_FALSE(tools.floatingBlock().floating());
    EXPECT_EQ(history.count(), 0);

    ASSERT_TRUE(tools.selectionPaste());
    EXPECT_TRUE(tools.floatingBlock().floating());
    // The block goes with the frame; a handle drag is refused while it floats.
    moveFrameBy(QPoint(5, 4));
    EXPECT_EQ(tools.selection().SelectionRect(), QRect(6, 5, 3, 3));
    EXPECT_EQ(tools.floatingBlock().topLeft(), QPoint(6, 5));
    const QRect f = TSelection::framePixels(tools.selection().SelectionRect(), tools.mapping());
    tools.mousePress(f.bottomRight());
    tools.mouseMove(f.bottomRight() + QPoint(30, 30));
    tools.mouseRelease(f.bottomRight() + QPoint(30, 30));
    EXPECT_EQ(tools.selection().SelectionRect(), QRect(6, 5, 3, 3));
    EXPECT_EQ(history.count(), 0); // nothing in the design changed yet

    const QJsonObject before = snapshot(doc);
    ASSERT_TRUE(tools.selectionMerge());
    EXPECT_EQ(history.count(), 1);
    EXPECT_TRUE(cellIs(6, 5, kRed));
    EXPECT_TRUE(cellIs(7, 6, kRed));
    EXPECT_EQ(doc.QuarterCells.pixel(17, 10), keyToPixel(kBlue));
    EXPECT_TRUE(cellIs(1, 1, kRed)); // the source stays
    ASSERT_EQ(doc.DesignBackStitches.size(), 2);
    EXPECT_EQ(doc.DesignBackStitches[1].FromPoint, QPoint(12, 10));
    EXPECT_EQ(doc.DesignBackStitches[1].ToPoint, QPoint(14, 10));
    ASSERT_EQ(doc.DesignFrenchKnots.size(), 2);
    EXPECT_EQ(doc.DesignFrenchKnots[1].Center, QPoint(14, 12));
    EXPECT_EQ(doc.checkInvariant(), QString());
    // The block keeps floating; a second merge elsewhere is a second action.
    EXPECT_TRUE(tools.floatingBlock().floating());
    expectUndoRedo(history, doc, before);
}

TEST_F(Selecting, CutThenUndoGivesTheDesignBack)
{
    select(QRect(1, 1, 3, 3));
    const QJsonObject before = snapshot(doc);
    ASSERT_TRUE(tools.selectionCut());
    EXPECT_EQ(history.count(), 1);
    EXPECT_TRUE(cellEmpty(1, 1));
    EXPECT_TRUE(cellEmpty(2, 2));
    EXPECT_EQ(doc.QuarterCells.pixel(7, 2), d.bg());
    EXPECT_TRUE(doc.DesignBackStitches.isEmpty());
    EXPECT_TRUE(doc.DesignFrenchKnots.isEmpty());
    EXPECT_EQ(doc.checkInvariant(), QString());
    expectUndoRedo(history, doc, before);
    // Undo leaves the clipboard; pasting it lays the cut cells again.
    ASSERT_TRUE(tools.selectionPaste());
    EXPECT_EQ(tools.floatingBlock().clipboard().ClipBackStitches.size(), 1);
}

TEST_F(Selecting, TurnsSwapTheFrameAndMergeAtTheEdgeWritesOnlyInside)
{
    select(QRect(1, 1, 3, 2)); // the red cells at (0, 0) and (1, 1) of the block
    tools.selectionCopy();
    tools.selectionPaste();
    tools.rotateRight();
    EXPECT_EQ(tools.selection().SelectionRect(), QRect(1, 1, 2, 3));
    EXPECT_EQ(tools.floatingBlock().clipboard().size(), QSize(2, 3));
    tools.mirrorHorizontal(); // a mirror keeps the frame
    EXPECT_EQ(tools.selection().SelectionRect(), QRect(1, 1, 2, 3));
    tools.mirrorHorizontal();
    tools.rotateLeft();
    tools.mirrorVertical();
    tools.mirrorVertical();
    EXPECT_EQ(tools.selection().SelectionRect(), QRect(1, 1, 3, 2));
    EXPECT_EQ(tools.floatingBlock().clipboard().ClipCross.pixel(0, 0), keyToPixel(kRed));

    // Turned right, moved so that only its first column lies on the design's last one.
    tools.rotateRight();
    moveFrameBy(QPoint(10, 6));
    ASSERT_EQ(tools.selection().SelectionRect(), QRect(11, 7, 2, 3));
    const QJsonObject before = snapshot(doc);
    ASSERT_TRUE(tools.selectionMerge());
    // Turned right, the block's red cells are (1, 0) and (0, 1): only (0, 1) is inside.
    EXPECT_TRUE(cellIs(11, 8, kRed));
    EXPECT_EQ(doc.width(), 12);
    // The back stitch ran along the block's top; turned it lies on the block's right edge,
    // which is outside the design, so it is left out.
    EXPECT_EQ(doc.DesignBackStitches.size(), 1);
    EXPECT_EQ(doc.checkInvariant(), QString());
    expectUndoRedo(history, doc, before);
}

TEST_F(Selecting, PasteFromAnotherToolAndEscapeKeepTheClipboard)
{
    select(QRect(1, 1, 3, 3));
    tools.selectionCopy();
    tools.Setmode(modDraw);
    EXPECT_FALSE(tools.selection().active());
    EXPECT_FALSE(tools.selectionCopy()); // only while selecting
    EXPECT_TRUE(tools.floatingBlock().hasClipboard());

    PointerMapping m = tools.mapping();
    m.hScroll = 4;
    m.vScroll = 2;
    tools.setMapping(m);
    ASSERT_TRUE(tools.selectionPaste());
    EXPECT_EQ(tools.mode(), modSelection);
    EXPECT_EQ(tools.selection().SelectionRect(), QRect(4, 2, 3, 3));
    EXPECT_TRUE(tools.floatingBlock().floating());

    tools.escapePressed();
    EXPECT_EQ(tools.mode(), modDraw);
    EXPECT_FALSE(tools.floatingBlock().floating());
    EXPECT_TRUE(tools.floatingBlock().hasClipboard());
    EXPECT_FALSE(tools.selectionMerge());
    EXPECT_EQ(history.count(), 0);
}

TEST_F(Selecting, AReadyMadeBlockFloatsAtTheSelection)
{
    select(QRect(5, 4, 2, 2));
    TClipboard clip = Clipboard::copy(doc, QRect(0, 0, 4, 3), true);
    tools.startFloatingBlock(std::move(clip));
    EXPECT_TRUE(tools.floatingBlock().floating());
    EXPECT_EQ(tools.selection().SelectionRect(), QRect(5, 4, 4, 3));
    // An empty block changes nothing.
    tools.startFloatingBlock(TClipboard());
    EXPECT_EQ(tools.floatingBlock().clipboard().size(), QSize(4, 3));

    // A rendering in another pixel format and without quarters: 32-bit cells and empty
    // quarters of twice the size, merged like any block.
    TClipboard text;
    text.background = d.bg();
    QImage rendering(2, 1, QImage::Format_RGB888);
    rendering.setPixelColor(0, 0, QColor(255, 0, 0));
    rendering.setPixelColor(1, 0, QColor::fromRgb(d.bg()));
    text.ClipCross = rendering;
    tools.startFloatingBlock(std::move(text));
    const TClipboard& made = tools.floatingBlock().clipboard();
    EXPECT_EQ(made.ClipCross.format(), QImage::Format_ARGB32);
    EXPECT_EQ(made.ClipQuarter.size(), QSize(4, 2));
    EXPECT_EQ(made.ClipQuarter.pixel(3, 1), d.bg());
    ASSERT_TRUE(tools.selectionMerge());
    EXPECT_TRUE(cellIs(5, 4, kRed));
    EXPECT_TRUE(cellEmpty(6, 4));
    EXPECT_EQ(doc.checkInvariant(), QString());
}

TEST_F(Selecting, ASelectionTooLargeToCopyIsRefusedAndNothingChanges)
{
    // Handle drags with scrolling between them can stretch the frame far beyond the design.
    const QRect f = TSelection::framePixels(tools.selection().SelectionRect(), tools.mapping());
    tools.mousePress(f.bottomRight());
    tools.mouseMove(f.bottomRight() + QPoint(40000 * kZoom, 0));
    tools.mouseRelease(f.bottomRight() + QPoint(40000 * kZoom, 0));
    ASSERT_EQ(tools.selection().SelectionRect().width(), 40010);
    QSignalSpy refused(&tools, &ToolController::refused);
    const QJsonObject before = snapshot(doc);
    EXPECT_FALSE(tools.selectionCopy());
    EXPECT_FALSE(tools.selectionCut());
    ASSERT_EQ(refused.count(), 2);
    EXPECT_EQ(refused.at(0).at(0).toString(),
              QStringLiteral("The selection of 40010 x 10 cells is too large to copy."));
    EXPECT_EQ(history.count(), 0);
    EXPECT_EQ(snapshot(doc), before);
    EXPECT_FALSE(tools.floatingBlock().hasClipboard());
}
