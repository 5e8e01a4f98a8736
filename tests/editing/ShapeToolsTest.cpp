// The shape tools driven by pointer positions: the polyline and its ending, two-click
// rectangles and circles, figures clicked partly outside the design, the border tools, the
// outline's back stitches, one action per figure with its undo and redo, and the preview.
#include "editing/Figures.h"
#include "ToolFixture.h"
#include "support/SmallDesign.h"

#include <QSet>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

struct Shapes : ToolFixture<8, 6, 10>
{
    void SetUp() override
    {
        ToolFixture::SetUp();
        d.stitch.setPensize(1);
    }

    static QPoint px(int x, int y) { return {x * kZoom + kZoom / 2, y * kZoom + kZoom / 2}; }
    void click(int x, int y)
    {
        tools.mousePress(px(x, y));
        tools.mouseRelease(px(x, y));
    }
    QList<QPoint> cellsOf(ColorKey c) const
    {
        QList<QPoint> out;
        for (int y = 0; y < doc.height(); ++y)
            for (int x = 0; x < doc.width(); ++x)
                if (doc.CrossCells.pixel(x, y) == keyToPixel(c))
                    out.append({x, y});
        return out;
    }
    QSet<QPoint> setOf(const QList<QPoint>& l) const { return QSet<QPoint>(l.begin(), l.end()); }
    void expectConsistent() { EXPECT_EQ(doc.checkInvariant(), QString()); }
};

} // namespace

TEST_F(Shapes, PolylineGoesOnUntilTheSameCellIsClickedTwice)
{
    tools.Setmode(modLine);
    const QJsonObject before = snapshot(doc);
    click(0, 0);
    EXPECT_FALSE(tools.shapeIdle());
    EXPECT_EQ(history.count(), 0);
    click(5, 2);
    EXPECT_EQ(setOf(cellsOf(kRed)), (QSet<QPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}));
    EXPECT_EQ(history.count(), 1);
    click(5, 4); // continues from (5, 2)
    EXPECT_EQ(history.count(), 2);
    EXPECT_EQ(cellsOf(kRed).size(), 8);
    EXPECT_FALSE(tools.shapeIdle());
    click(5, 4); // the same cell again: that one cell, and the polyline ends
    EXPECT_EQ(history.count(), 3);
    EXPECT_TRUE(tools.shapeIdle());
    click(1, 4); // a new first point: nothing painted
    EXPECT_EQ(history.count(), 3);
    expectConsistent();
    history.Undo();
    history.Undo();
    EXPECT_EQ(cellsOf(kRed).size(), 6);
    history.Undo();
    EXPECT_EQ(snapshot(doc), before);
}

TEST_F(Shapes, SameCellTwiceIsOneCell)
{
    tools.Setmode(modLine);
    click(3, 3);
    click(3, 3);
    EXPECT_EQ(cellsOf(kRed), (QList<QPoint>{{3, 3}}));
    EXPECT_TRUE(tools.shapeIdle());
    EXPECT_EQ(history.count(), 1);
}

TEST_F(Shapes, EscapeAndModeChangesEndTheFigure)
{
    QSignalSpy preview(&tools, &ToolController::previewChanged);
    tools.Setmode(modLine);
    click(1, 1);
    tools.mouseMove(px(4, 1));
    ASSERT_EQ(preview.count(), 1);
    EXPECT_EQ(preview.last().at(0).value<QList<QPoint>>(), (QList<QPoint>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    tools.escapeShapes();
    EXPECT_TRUE(tools.shapeIdle());
    ASSERT_EQ(preview.count(), 2);
    EXPECT_TRUE(preview.last().at(0).value<QList<QPoint>>().isEmpty());
    tools.mouseMove(px(5, 1)); // idle: no preview
    EXPECT_EQ(preview.count(), 2);
    click(4, 1); // a new first point, not a segment
    EXPECT_EQ(history.count(), 0);

    // A mode change drops the pending point and clears the preview.
    tools.mouseMove(px(6, 3));
    EXPECT_EQ(preview.count(), 3);
    tools.Setmode(modRectangle);
    EXPECT_TRUE(tools.shapeIdle());
    EXPECT_TRUE(preview.last().at(0).value<QList<QPoint>>().isEmpty());
    click(0, 0);
    tools.Setmode(modDraw);
    EXPECT_TRUE(tools.shapeIdle());
    EXPECT_EQ(history.count(), 0);
}

TEST_F(Shapes, PreviewFollowsAFastPointerWithTheWholeFigure)
{
    QSignalSpy preview(&tools, &ToolController::previewChanged);
    tools.Setmode(modLine);
    click(0, 0);
    tools.mouseMove(px(1, 0));
    tools.mouseMove(px(7, 5)); // one jump across the design
    ASSERT_EQ(preview.count(), 2);
    EXPECT_EQ(preview.last().at(0).value<QList<QPoint>>(), Figures::line({0, 0}, {7, 5}, 1));
    tools.mouseMove(px(7, 5) + QPoint(1, 1)); // the same cell: nothing new
    EXPECT_EQ(preview.count(), 2);
    // Beyond the design the preview holds only the inside cells.
    tools.mouseMove(px(12, 0));
    EXPECT_EQ(preview.last().at(0).value<QList<QPoint>>(), Figures::clipped(Figures::line({0, 0}, {12, 0}, 1), {8, 6}));
    EXPECT_EQ(history.count(), 0);
    EXPECT_TRUE(cellsOf(kRed).isEmpty()); // previews never change the design
}

TEST_F(Shapes, FiguresPartlyOutsidePaintOnlyTheirInsideCells)
{
    struct Row { TMode mode; TFillMode fill; QPoint first, second; int pen; int painted; bool recorded; };
    const Row rows[] = {
        // first point on the right and bottom edge is accepted; the second anywhere
        {modRectangle, fillFull, {8, 6}, {6, 4}, 1, 4, true},
        {modRectangle, fillNone, {-2, -2}, {3, 3}, 1, 0, false},  // first click outside: idle
        {modRectangle, fillFull, {2, 2}, {-5, -9}, 2, 4 * 4, true}, // pen 2 reaches row and column 3
        {modCircle, fillFull, {0, 0}, {3, 0}, 1, -1, true},
        {modCircle, fillNone, {8, 6}, {20, 20}, 4, 0, false}, // rim wholly outside
        {modLine, fillNone, {8, 0}, {-10, 0}, 1, 8, true},
    };
    for (const Row& r : rows) {
        doc.CreateNewTemplate(8, 6, "Shapes", "Small");
        history.Reset();
        d.stitch.setDrawcolor(kRed);
        d.stitch.setPensize(r.pen);
        tools.Setmode(modDraw);
        tools.Setmode(r.mode);
        tools.setFillMode(r.fill);
        click(r.first.x(), r.first.y());
        click(r.second.x(), r.second.y());
        const QList<QPoint> red = cellsOf(kRed);
        if (r.painted >= 0) {
            EXPECT_EQ(red.size(), r.painted) << r.mode << " " << r.first.x();
        } else {
            EXPECT_EQ(setOf(red), setOf(Figures::circle({0, 0}, {3, 0}, true, 1, {8, 6})));
        }
        EXPECT_EQ(history.count(), r.recorded ? 1 : 0) << r.mode << " " << r.first.x();
        expectConsistent();
    }
}

TEST_F(Shapes, AFigureIsOneActionAndEmptiesTheQuartersItCovers)
{
    d.stitch.setDrawcolor(kBlue);
    doc.updatePixel(2, 2, kGreen, true);
    doc.updateQPixel(6, 6, kBlue, true);
    doc.updateQPixel(7, 7, kGreen, true);
    doc.backStitchesAdd(TBackStitch{{0, 0}, {4, 4}, kGreen, 0}, true);
    d.stitch.setDrawcolor(kRed);
    const QJsonObject before = snapshot(doc);
    tools.Setmode(modCircle);
    tools.setFillMode(fillFull);
    click(3, 3);
    click(3, 5);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(doc.CrossCells.pixel(2, 2), keyToPixel(kRed));
    EXPECT_EQ(doc.QuarterCells.pixel(6, 6), d.bg());
    EXPECT_EQ(doc.QuarterCells.pixel(7, 7), d.bg());
    EXPECT_EQ(doc.DesignBackStitches.size(), 1); // stitches stay
    expectConsistent();
    expectUndoRedo(history, doc, before);
}

TEST_F(Shapes, BordersRecordTheirCells)
{
    // A 4 x 3 green block at (2, 1); the rest empty.
    for (int y = 1; y < 4; ++y)
        for (int x = 2; x < 6; ++x)
            doc.updatePixel(x, y, kGreen, true);
    struct Row { TMode mode; bool sharp; QPoint click; int red; };
    const Row rows[] = {
        {modInlineBorder, false, {3, 2}, 10},
        {modInlineBorder, true, {3, 2}, 10},
        {modOutlineBorder, false, {3, 2}, 14},
        {modOutlineBorder, true, {3, 2}, 18},
        {modInlineBorder, false, {8, 6}, 0}, // on the edge, outside the cells: nothing
    };
    for (const Row& r : rows) {
        history.Reset();
        tools.Setmode(r.mode);
        tools.setCornerSharp(r.sharp);
        const QJsonObject before = snapshot(doc);
        const int count = history.count();
        click(r.click.x(), r.click.y());
        EXPECT_EQ(cellsOf(kRed).size(), r.red) << r.mode << " sharp " << r.sharp;
        if (r.red == 0) {
            EXPECT_EQ(history.count(), count);
            continue;
        }
        EXPECT_EQ(history.count(), count + 1);
        expectConsistent();
        expectUndoRedo(history, doc, before);
        history.Undo();
    }
    // The whole design one colour: no ring cell inside the design, nothing recorded.
    tools.Setmode(modFill);
    click(0, 0);
    click(3, 3);
    const int count = history.count();
    tools.Setmode(modOutlineBorder);
    click(0, 0);
    EXPECT_EQ(history.count(), count);
}

TEST_F(Shapes, OutlineLaysBackStitchesAsOneAction)
{
    doc.backStitchesAdd(TBackStitch{{0, 0}, {2, 2}, kGreen, 0}, true);
    for (int x = 1; x < 4; ++x)
        doc.updatePixel(x, 2, kGreen, true);
    d.stitch.setDrawcolor(kBlue);
    const QJsonObject before = snapshot(doc);
    tools.Setmode(modOutline);
    click(1, 2); // the chain starts at the bar's left end, so each side is one stitch
    ASSERT_EQ(history.count(), 1);
    ASSERT_EQ(doc.DesignBackStitches.size(), 5);
    for (int i = 1; i < 5; ++i) {
        EXPECT_EQ(doc.DesignBackStitches[i].Color, kBlue);
        EXPECT_EQ(doc.DesignBackStitches[i].Index, i);
    }
    EXPECT_EQ(doc.DesignBackStitches[1].FromPoint, QPoint(2, 4));
    EXPECT_EQ(doc.DesignBackStitches[2].ToPoint, QPoint(8, 6));
    EXPECT_EQ(d.stitch.Colors.find(kBlue)->backStitchesCount, 2 * 2 + 2 * 6);
    expectConsistent();
    expectUndoRedo(history, doc, before);
    // Outside the design: nothing.
    click(9, 2);
    EXPECT_EQ(history.count(), 1);
}
