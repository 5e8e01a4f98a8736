// The cell drawing tools driven by pointer positions: pen footprints, one action per gesture,
// quarters and crosses, the fill's four-neighbour region, the eraser, replace colour, pipette,
// hand, and a long random session checked against the use-count invariant and the history.
#include "ToolFixture.h"
#include "support/SmallDesign.h"

#include <QRandomGenerator>
#include <QSet>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

struct Tools : ToolFixture<8, 8, 10>
{
    static QPoint cellPx(int x, int y) { return {x * kZoom + kZoom / 2, y * kZoom + kZoom / 2}; }
    static QPoint quarterPx(int qx, int qy) { return {qx * kZoom / 2 + 1, qy * kZoom / 2 + 1}; }

    void click(QPoint px)
    {
        tools.mousePress(px);
        tools.mouseRelease(px);
    }
    void drag(QList<QPoint> pixels)
    {
        tools.mousePress(pixels.first());
        for (int i = 1; i < pixels.size(); ++i)
            tools.mouseMove(pixels[i]);
        tools.mouseRelease(pixels.last());
    }
    QSet<QPoint> cellsOf(ColorKey c) const
    {
        QSet<QPoint> out;
        for (int y = 0; y < doc.height(); ++y)
            for (int x = 0; x < doc.width(); ++x)
                if (doc.CrossCells.pixel(x, y) == keyToPixel(c))
                    out.insert({x, y});
        return out;
    }
    bool cellEmpty(int x, int y) const { return doc.CrossCells.pixel(x, y) == d.bg(); }
    bool quarterEmpty(int x, int y) const { return doc.QuarterCells.pixel(x, y) == d.bg(); }
    void expectConsistent() { EXPECT_EQ(doc.checkInvariant(), QString()); }
};

TEST_F(Tools, PenFootprints)
{
    struct Row { int pen; QSet<QPoint> cells; };
    const Row rows[] = {
        {1, {{3, 3}}},
        {2, {{3, 3}, {4, 3}, {3, 4}, {4, 4}}},
        {3, {{3, 2}, {2, 3}, {3, 3}, {4, 3}, {3, 4}}},
        {4, {{3, 2}, {4, 2}, {2, 3}, {3, 3}, {4, 3}, {5, 3}, {2, 4}, {3, 4}, {4, 4}, {5, 4}, {3, 5}, {4, 5}}},
    };
    for (const Row& r : rows) {
        doc.CreateNewTemplate(8, 8, "Shapes", "Small");
        d.stitch.setDrawcolor(kRed);
        d.stitch.setPensize(r.pen);
        click(cellPx(3, 3));
        EXPECT_EQ(cellsOf(kRed), r.cells) << "pen " << r.pen;
    }
    // Footprint cells outside the design are ignored.
    doc.CreateNewTemplate(8, 8, "Shapes", "Small");
    d.stitch.setDrawcolor(kRed);
    d.stitch.setPensize(3);
    click(cellPx(0, 0));
    EXPECT_EQ(cellsOf(kRed), (QSet<QPoint>{{0, 0}, {1, 0}, {0, 1}}));
    expectConsistent();
}

TEST_F(Tools, AStrokeIsOneActionAndKeepsFirstContents)
{
    doc.updatePixel(2, 0, kBlue, true);
    const QJsonObject before = snapshot(doc);
    drag({cellPx(0, 0), cellPx(1, 0), cellPx(2, 0), cellPx(1, 0), cellPx(0, 0), cellPx(2, 0)});
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(cellsOf(kRed).size(), 3);
    history.Undo();
    EXPECT_EQ(snapshot(doc), before);
    EXPECT_EQ(cellsOf(kBlue), (QSet<QPoint>{{2, 0}}));
    expectConsistent();
}

TEST_F(Tools, QuarterOverCross)
{
    for (bool allow : {false, true}) {
        doc.CreateNewTemplate(8, 8, "Shapes", "Small");
        d.stitch.AllowQuarterOverCross = allow;
        d.stitch.setDrawcolor(kBlue);
        tools.Setmode(modQDraw);
        click(quarterPx(0, 0)); // quarter in cell (0,0)
        tools.Setmode(modDraw);
        d.stitch.setDrawcolor(kRed);
        click(cellPx(0, 0)); // cross over it
        EXPECT_EQ(quarterEmpty(0, 0), !allow) << allow;
        d.stitch.setDrawcolor(kGreen);
        tools.Setmode(modQDraw);
        click(quarterPx(1, 1)); // quarter into the cross
        EXPECT_EQ(cellEmpty(0, 0), !allow) << allow;
        expectConsistent();
    }
}

TEST_F(Tools, FourthQuarterMakesACrossAndOneUndoEmptiesIt)
{
    tools.Setmode(modQDraw);
    const QJsonObject before = snapshot(doc);
    click(quarterPx(2, 2));
    click(quarterPx(3, 2));
    click(quarterPx(2, 3));
    const QJsonObject three = snapshot(doc);
    click(quarterPx(3, 3));
    EXPECT_EQ(doc.CrossCells.pixel(1, 1), keyToPixel(kRed));
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(quarterEmpty(2 + i % 2, 2 + i / 2));
    EXPECT_EQ(d.stitch.Colors.find(kRed)->quarterStitchesCount, 0);
    const QJsonObject full = snapshot(doc);
    history.Undo();
    EXPECT_EQ(snapshot(doc), three);
    history.Redo();
    EXPECT_EQ(snapshot(doc), full);
    for (int i = 0; i < 4; ++i)
        history.Undo();
    EXPECT_EQ(snapshot(doc), before);

    // One gesture over all four quarters, then one undo.
    tools.mousePress(quarterPx(2, 2));
    tools.mouseMove(quarterPx(3, 2));
    tools.mouseMove(quarterPx(2, 3));
    tools.mouseMove(quarterPx(3, 3));
    tools.mouseRelease(quarterPx(3, 3));
    EXPECT_EQ(doc.CrossCells.pixel(1, 1), keyToPixel(kRed));
    history.Undo();
    EXPECT_EQ(snapshot(doc), before);
    expectConsistent();
}

TEST_F(Tools, FillFollowsFourNeighboursAndExactContents)
{
    // A diagonal line of blue cells closes the top-left corner; a white thread cell stays apart
    // from the empty cells around it.
    for (int i = 0; i < 4; ++i)
        doc.updatePixel(3 - i, i, kBlue, true);
    doc.updatePixel(6, 6, kWhite, true);
    tools.Setmode(modFill);
    click(cellPx(0, 0));
    EXPECT_EQ(cellsOf(kRed), (QSet<QPoint>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {0, 2}}));
    EXPECT_EQ(history.count(), 1);

    click(cellPx(1, 1)); // the draw colour itself: nothing, no action
    EXPECT_EQ(history.count(), 1);

    d.stitch.setDrawcolor(kGreen);
    click(cellPx(6, 6)); // white thread: only that cell
    EXPECT_EQ(cellsOf(kGreen), (QSet<QPoint>{{6, 6}}));
    click(cellPx(7, 7)); // empty region beyond the diagonal: not the white (now green) cell
    EXPECT_EQ(cellsOf(kGreen).size(), 64 - 6 - 4);
    history.Undo();
    history.Undo();
    history.Undo();
    EXPECT_TRUE(cellsOf(kRed).isEmpty());
    EXPECT_EQ(cellsOf(kWhite).size(), 1);
    expectConsistent();
}

TEST_F(Tools, EraserTakesTheNewerOfCrossingStitchesAndUndoRestoresAll)
{
    // Two stitches crossing at the centre of cell (1,1), a knot, and painted cells.
    doc.backStitchesAdd({QPoint(2, 2), QPoint(4, 4), kBlue, 0}, true);
    doc.backStitchesAdd({QPoint(4, 2), QPoint(2, 4), kGreen, 1}, true);
    doc.frenchKnotAdd({QPoint(3, 3), kWhite, 0}, true);
    doc.updatePixel(1, 1, kRed, true);
    doc.updatePixel(2, 1, kRed, true);
    const QJsonObject before = snapshot(doc);
    tools.Setmode(modErase);
    drag({QPoint(15, 15), cellPx(2, 1)});
    ASSERT_EQ(doc.DesignBackStitches.size(), 1);
    EXPECT_EQ(doc.DesignBackStitches.at(0).Color, kBlue);
    EXPECT_TRUE(doc.DesignFrenchKnots.isEmpty());
    EXPECT_TRUE(cellsOf(kRed).isEmpty());
    EXPECT_EQ(history.count(), 1);
    expectUndoRedo(history, doc, before);
    history.Redo();

    click(cellPx(6, 6)); // nothing to erase on an empty spot: cells are recorded (press)
    EXPECT_EQ(history.count(), 2);
}

TEST_F(Tools, ReplaceColourFromABackStitch)
{
    doc.updatePixel(0, 0, kBlue, true);
    doc.updatePixel(5, 5, kBlue, true);
    doc.updatePixel(3, 3, kGreen, true);
    doc.backStitchesAdd({QPoint(6, 6), QPoint(8, 6), kBlue, 0}, true);
    tools.Setmode(modReplaceColor);
    click(cellPx(3, 3)); // the cell is green, but the stitch through its corner is blue
    EXPECT_EQ(cellsOf(kRed), (QSet<QPoint>{{0, 0}, {5, 5}}));
    EXPECT_EQ(doc.DesignBackStitches.at(0).Color, kRed);
    EXPECT_EQ(cellsOf(kGreen).size(), 1);
    EXPECT_EQ(d.stitch.Colors.find(kBlue)->colorCount, 0);
    expectConsistent();
    history.Undo();
    EXPECT_EQ(cellsOf(kBlue).size(), 2);
    EXPECT_EQ(doc.DesignBackStitches.at(0).Color, kBlue);
    expectConsistent();
}

TEST_F(Tools, PipetteAndHand)
{
    doc.updatePixel(2, 2, kGreen, true);
    tools.Setmode(modPipette);
    click(cellPx(4, 4)); // empty: keeps the draw colour
    EXPECT_EQ(d.stitch.drawcolor(), kRed);
    click(cellPx(2, 2));
    EXPECT_EQ(d.stitch.drawcolor(), kGreen);
    EXPECT_EQ(history.count(), 0);

    QList<QPoint> scrolls;
    QObject::connect(&tools, &ToolController::scrollBy, [&](QPoint p) { scrolls << p; });
    tools.Setmode(modCursor);
    drag({cellPx(5, 5), cellPx(5, 5) + QPoint(3, 0), cellPx(3, 4)});
    EXPECT_EQ(scrolls, (QList<QPoint>{{2, 1}}));
}

TEST_F(Tools, HighlightToggleReturnsToThePreviousMode)
{
    QList<bool> shown;
    QObject::connect(&tools, &ToolController::highlightChanged, [&](bool on) { shown << on; });
    tools.Setmode(modFill);
    tools.setHighlight(true);
    EXPECT_EQ(tools.mode(), modHighlight);
    click(cellPx(1, 1)); // pressing the chart does nothing
    EXPECT_TRUE(cellsOf(kRed).isEmpty());
    tools.setHighlight(false);
    EXPECT_EQ(tools.mode(), modFill);
    EXPECT_EQ(shown, (QList<bool>{true, false}));
}

TEST_F(Tools, PointerMapping)
{
    PointerMapping m;
    m.cellWidth = 8;
    m.cellHeight = 6;
    m.hScroll = 10;
    m.vScroll = 20;
    EXPECT_EQ(m.cellAt({0, 0}), QPoint(10, 20));
    EXPECT_EQ(m.cellAt({15, 11}), QPoint(11, 21));
    EXPECT_EQ(m.quarterAt({15, 11}), QPoint(23, 43));
    EXPECT_EQ(m.gridPointAt({1, 1}), QPoint(20, 40));
    EXPECT_EQ(m.gridPointAt({3, 2}), QPoint(21, 41));
    EXPECT_EQ(m.gridPointPixel({3, 3}), QPoint(12, 9));
    EXPECT_TRUE(segmentMeetsRect({0, 0}, {10, 10}, {4, 4}, {6, 6}));
    EXPECT_TRUE(segmentMeetsRect({0, 4}, {10, 4}, {4, 4}, {6, 6})); // along an edge
    EXPECT_FALSE(segmentMeetsRect({0, 10}, {3, 7}, {4, 4}, {6, 6}));
    EXPECT_FALSE(segmentMeetsRect({0, 3}, {10, 3}, {4, 4}, {6, 6}));
}

// Each step of a gesture (press, every move, release) tells the colour list and the counts at
// most once, however many cells the pen covers; every cell still repaints on its own.
TEST_F(Tools, AGestureStepNotifiesTheColourListAtMostOnce)
{
    struct Row
    {
        const char* name;
        TMode mode;
        int pen;
        bool prefill; // cells of two colours under the stroke first
    };
    const Row rows[] = {
        {"draw", modDraw, 2, false},
        {"draw over colours", modDraw, 3, true},
        {"quarters", modQDraw, 2, false},
        {"quarters over colours", modQDraw, 4, true},
        {"erase", modErase, 2, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        doc.CreateNewTemplate(8, 8, "Shapes", "Small");
        doc.setAllColorsView(false);
        if (r.prefill) {
            for (int x = 0; x < 8; ++x)
                for (int y = 2; y < 6; ++y)
                    doc.updatePixel(x, y, x % 2 ? kBlue : kGreen, false);
            doc.CalcColorUsage();
        }
        d.stitch.setDrawcolor(kRed);
        d.stitch.setPensize(r.pen);
        tools.Setmode(r.mode);
        QSignalSpy list(&doc, &PatternDocument::colorListChanged);
        QSignalSpy usage(&doc, &PatternDocument::colorUsageChanged);
        QSignalSpy cells(&doc, &PatternDocument::cellsChanged);
        QSignalSpy quarters(&doc, &PatternDocument::quartersChanged);
        const QList<QPoint> stroke{cellPx(0, 4), cellPx(2, 4), cellPx(4, 4), cellPx(6, 4), cellPx(7, 4)};
        const int steps = int(stroke.size()) + 1; // press, moves, release
        drag(stroke);
        EXPECT_LE(list.count(), steps);
        EXPECT_LE(usage.count(), steps);
        EXPECT_GE(usage.count(), 1);
        EXPECT_GT(cells.count() + quarters.count(), steps); // the pen covered more than a cell a step
        expectConsistent();
    }
}

// The pipette dragged over cells of one colour chooses it once.
TEST_F(Tools, PipetteTellsTheDrawColourOnlyWhenItChanges)
{
    for (int x = 0; x < 8; ++x)
        doc.updatePixel(x, 1, x < 5 ? kGreen : kBlue, true);
    tools.Setmode(modPipette);
    QSignalSpy spy(&d.stitch, &TStitch::drawcolorChanged);
    QList<QPoint> stroke;
    for (int x = 0; x < 8; ++x)
        stroke << cellPx(x, 1);
    drag(stroke);
    EXPECT_EQ(spy.count(), 2); // green, then blue
    EXPECT_EQ(d.stitch.drawcolor(), kBlue);
}

// A long random session: the counts stay exact after every step, undoing everything gives
// back the first design and redoing everything the last.
TEST_F(Tools, RandomGesturesUndoAndRedo)
{
    QRandomGenerator rng(42);
    const ColorKey colours[] = {kRed, kGreen, kWhite, kBlue};
    const TMode modes[] = {modDraw, modQDraw, modErase, modFill, modReplaceColor, modPipette};
    doc.backStitchesAdd({QPoint(0, 0), QPoint(6, 6), kGreen, 0}, true);
    doc.frenchKnotAdd({QPoint(5, 5), kBlue, 0}, true);
    const QJsonObject first = snapshot(doc);
    auto randomPx = [&] { return QPoint(rng.bounded(-5, 8 * kZoom + 5), rng.bounded(-5, 8 * kZoom + 5)); };
    for (int step = 0; step < 2500; ++step) {
        const int what = rng.bounded(10);
        if (what == 0 && history.canUndo()) {
            history.Undo();
        } else if (what == 1 && history.canRedo()) {
            history.Redo();
        } else {
            d.stitch.setDrawcolor(colours[rng.bounded(4)]);
            d.stitch.setPensize(1 + rng.bounded(4));
            d.stitch.AllowQuarterOverCross = rng.bounded(4) == 0;
            tools.Setmode(modes[rng.bounded(6)]);
            QList<QPoint> gesture{randomPx()};
            for (int i = rng.bounded(4); i > 0; --i)
                gesture << randomPx();
            drag(gesture);
        }
        const QString problem = doc.checkInvariant();
        ASSERT_EQ(problem, QString()) << "step " << step;
    }
    while (history.canRedo())
        history.Redo();
    const QJsonObject last = snapshot(doc);
    while (history.canUndo())
        history.Undo();
    EXPECT_EQ(snapshot(doc), first);
    while (history.canRedo())
        history.Redo();
    EXPECT_EQ(snapshot(doc), last);
    expectConsistent();
}

} // namespace

TEST_F(Tools, AFastPointerLeavesNoGapsInTheStroke)
{
    // Two move events far apart: every cell (or quarter) between them is painted, and the
    // stroke is still one action whose undo empties them all.
    struct Row { TMode mode; QPoint from, to; int painted; };
    const Row rows[] = {
        {modDraw, cellPx(0, 0), cellPx(7, 3), 8},
        {modDraw, cellPx(1, 7), cellPx(1, 0), 8},
        {modQDraw, quarterPx(0, 0), quarterPx(9, 0), 10},
        // leaving the design and coming back in elsewhere paints the inside parts only
        {modDraw, cellPx(0, 2), cellPx(12, 2), 8},
    };
    for (const Row& r : rows) {
        doc.CreateNewTemplate(8, 8, "Shapes", "Small");
        history.Reset();
        d.stitch.setDrawcolor(kRed);
        d.stitch.setPensize(1);
        tools.Setmode(r.mode);
        const QJsonObject before = snapshot(doc);
        drag({r.from, r.to});
        int painted = 0;
        const QImage& raster = r.mode == modQDraw ? doc.QuarterCells : doc.CrossCells;
        for (int y = 0; y < raster.height(); ++y)
            for (int x = 0; x < raster.width(); ++x)
                painted += raster.pixel(x, y) == keyToPixel(kRed);
        EXPECT_EQ(painted, r.painted) << r.mode << " to " << r.to.x();
        EXPECT_EQ(history.count(), 1);
        expectConsistent();
        history.Undo();
        EXPECT_EQ(snapshot(doc), before);
    }
}
