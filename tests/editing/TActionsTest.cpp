// The undo history: positions and button states, one action per gesture, and every action
// class restoring exactly the design before it (undo) and after it (redo), counts included.
#include "editing/TActions.h"
#include "support/SmallDesign.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

struct History : ::testing::Test
{
    SmallDesign d{6, 4};
    PatternDocument& doc = d.doc;
    TActions history{doc};
    bool canUndo = false, canRedo = false;

    void SetUp() override
    {
        QObject::connect(&history, &TActions::buttonsChanged, [this](bool u, bool r) {
            canUndo = u;
            canRedo = r;
        });
    }

    // A stroke of the draw tool over cells, recorded as the tool records it.
    void stroke(QList<QPoint> cells, ColorKey colour)
    {
        CellRecord cross, quarters, none;
        for (QPoint p : cells) {
            const TColor32 raw = doc.CrossCells.pixel(p);
            cross.record(p, raw == d.bg() ? raw : pixelToKey(raw));
            doc.updatePixel(p.x(), p.y(), colour, true);
        }
        history.actionDraw(modDraw, cross, colour, quarters, d.bg(), none);
    }

    void expectConsistent() { EXPECT_EQ(doc.checkInvariant(), QString()); }
};

TEST_F(History, ButtonStatesAndTheRedoTail)
{
    EXPECT_FALSE(history.canUndo());
    stroke({{0, 0}, {1, 0}, {2, 0}}, kRed);
    EXPECT_TRUE(canUndo);
    EXPECT_FALSE(canRedo);
    stroke({{0, 1}}, kGreen);
    history.Undo();
    EXPECT_TRUE(canUndo);
    EXPECT_TRUE(canRedo);
    history.Undo();
    EXPECT_FALSE(canUndo);
    history.Redo();
    history.Redo();
    EXPECT_FALSE(canRedo);
    EXPECT_EQ(history.position(), 1);

    // A new stroke after an undo discards the redo tail.
    history.Undo();
    stroke({{5, 3}}, kBlue);
    EXPECT_FALSE(canRedo);
    EXPECT_EQ(history.count(), 2);
    history.Redo(); // nothing to redo: no change
    EXPECT_EQ(history.position(), 1);
    expectConsistent();
}

TEST_F(History, OneUndoTakesBackAWholeStroke)
{
    const QJsonObject before = snapshot(doc);
    stroke({{0, 0}, {1, 0}, {2, 0}, {2, 1}, {1, 0}}, kRed);
    expectUndoRedo(history, doc, before);
}

TEST_F(History, EveryReplayMarksTheDesignUnsaved)
{
    stroke({{0, 0}}, kRed);
    d.stitch.setFileSaved(true); // saved
    history.Undo();
    EXPECT_FALSE(d.stitch.fileSaved());
    d.stitch.setFileSaved(true);
    history.Redo();
    EXPECT_FALSE(d.stitch.fileSaved());
}

// Undo and redo refresh the observers with one design reset: no separate stitch, count or
// colour-list notice, whatever the action changed.
TEST_F(History, ReplayResetsTheDesignOnce)
{
    doc.setAllColorsView(false);
    stroke({{0, 0}, {1, 0}, {2, 0}}, kRed);
    stroke({{0, 1}, {1, 1}}, kGreen);
    doc.backStitchesAdd({QPoint(0, 0), QPoint(2, 0), kBlue, 0}, true);
    history.actionDrawBackStitch({QPoint(0, 0), QPoint(2, 0), kBlue, 0});
    const char* steps[] = {"undo stitch", "undo green", "undo red", "redo red", "redo green", "redo stitch"};
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(steps[i]);
        QSignalSpy list(&doc, &PatternDocument::colorListChanged);
        QSignalSpy usage(&doc, &PatternDocument::colorUsageChanged);
        QSignalSpy stitches(&doc, &PatternDocument::stitchesChanged);
        QSignalSpy reset(&doc, &PatternDocument::designReset);
        if (i < 3)
            history.Undo();
        else
            history.Redo();
        EXPECT_EQ(reset.count(), 1);
        EXPECT_EQ(list.count(), 0);
        EXPECT_EQ(usage.count(), 0);
        EXPECT_EQ(stitches.count(), 0);
        expectConsistent();
    }
}

TEST_F(History, EraseRestoresStitchesAtTheirPlaces)
{
    doc.backStitchesAdd({QPoint(0, 0), QPoint(2, 0), kRed, 0}, true);
    doc.backStitchesAdd({QPoint(0, 2), QPoint(4, 2), kGreen, 1}, true);
    doc.backStitchesAdd({QPoint(1, 1), QPoint(3, 3), kBlue, 2}, true);
    doc.frenchKnotAdd({QPoint(2, 2), kBlue, 0}, true);
    doc.frenchKnotAdd({QPoint(4, 4), kRed, 1}, true);
    doc.updatePixel(3, 3, kWhite, true);
    const QJsonObject before = snapshot(doc);

    // The eraser removes back stitch 1, then (shifted) back stitch 0, knot 1, and a cell.
    QList<TBackStitch> removed;
    TBackStitch b1 = doc.DesignBackStitches.at(1);
    b1.Index = 1;
    removed << b1;
    doc.backStitchesDelete(1, true);
    TBackStitch b0 = doc.DesignBackStitches.at(0);
    b0.Index = 0;
    removed << b0;
    doc.backStitchesDelete(0, true);
    TFrenchKnot k1 = doc.DesignFrenchKnots.at(1);
    k1.Index = 1;
    doc.frenchKnotDelete(1, true);
    CellRecord cross, quarters;
    cross.record(QPoint(3, 3), kWhite);
    doc.updatePixel(3, 3, d.bg(), true);
    history.actionErase(cross, quarters, removed, {}, {k1}, d.bg());
    const QJsonObject after = snapshot(doc);

    history.Undo();
    EXPECT_EQ(snapshot(doc), before);
    expectConsistent();
    history.Redo();
    EXPECT_EQ(snapshot(doc), after);
    expectConsistent();
}

TEST_F(History, StitchActionsAndRhodes)
{
    const QJsonObject empty = snapshot(doc);
    TBackStitch b{QPoint(0, 0), QPoint(4, 4), kRed, 0};
    doc.backStitchesAdd(b, true);
    history.actionDrawBackStitch(b);
    TFrenchKnot k{QPoint(1, 1), kGreen, 0};
    doc.frenchKnotAdd(k, true);
    history.actionDrawFrenchKnot(k);
    TRhode r;
    r.color = kBlue;
    r.stitches = {TBackStitch{QPoint(0, 0), QPoint(2, 2), 0, 0}};
    r.index = 0;
    doc.RhodeAdd(r.Clone(), true);
    history.actionDrawRhode(r);
    const QJsonObject all = snapshot(doc);

    for (int i = 0; i < 3; ++i)
        history.Undo();
    EXPECT_EQ(snapshot(doc), empty);
    for (int i = 0; i < 3; ++i)
        history.Redo();
    EXPECT_EQ(snapshot(doc), all);
    expectConsistent();
}

TEST_F(History, FillAndReplaceColour)
{
    doc.updateQPixel(2, 2, kBlue, true); // a quarter inside the region, cleared by the fill
    doc.backStitchesAdd({QPoint(0, 0), QPoint(0, 4), kGreen, 0}, true);
    const QJsonObject before = snapshot(doc);

    QList<QPoint> region{{0, 0}, {1, 0}, {1, 1}};
    CellRecord quarters;
    quarters.record(QPoint(2, 2), kBlue);
    for (QPoint p : region)
        doc.updatePixel(p.x(), p.y(), kGreen, true);
    doc.updateQPixel(2, 2, d.bg(), true);
    history.actionFill(region, d.bg(), kGreen, quarters, d.bg());
    const QJsonObject filled = snapshot(doc);

    // Replace green by red: the cells and the back stitch, counts moving at once.
    for (QPoint p : region)
        doc.updatePixel(p.x(), p.y(), kRed, true);
    TBackStitch b = doc.DesignBackStitches.at(0);
    b.Index = 0;
    doc.backStitchesRecolor(0, kRed, true);
    history.actionReplaceColor(region, {b}, kGreen, kRed);
    EXPECT_EQ(d.stitch.Colors.find(kGreen)->colorCount, 0);
    EXPECT_EQ(d.stitch.Colors.find(kRed)->backStitchesCount, 4);
    expectConsistent();
    const QJsonObject replaced = snapshot(doc);

    history.Undo();
    EXPECT_EQ(snapshot(doc), filled);
    expectConsistent();
    history.Undo();
    EXPECT_EQ(snapshot(doc), before);
    history.Redo();
    history.Redo();
    EXPECT_EQ(snapshot(doc), replaced);
    expectConsistent();
}

TEST_F(History, BackgroundChangeKeepsWhiteThreadApart)
{
    doc.updatePixel(0, 0, kWhite, true);
    const QJsonObject before = snapshot(doc);
    const TBackgroundChange change = doc.changeBackgroundColor(makeColorKey(200, 100, 50));
    history.actionChangebackgroundColor(change.crossPoints, change.quarterPoints,
                                        change.oldColor, change.newColor);
    const QJsonObject after = snapshot(doc);
    history.Undo();
    EXPECT_EQ(snapshot(doc), before);
    EXPECT_EQ(d.stitch.BackGroundColor, 0xFFFFFFFFu);
    EXPECT_EQ(d.stitch.Colors.find(kWhite)->colorCount, 1);
    history.Redo();
    EXPECT_EQ(snapshot(doc), after);
    expectConsistent();
}

TEST_F(History, ResetEmptiesTheHistory)
{
    stroke({{0, 0}}, kRed);
    stroke({{1, 0}}, kRed);
    history.Undo();
    history.Reset();
    EXPECT_EQ(history.count(), 0);
    EXPECT_EQ(history.position(), -1);
    EXPECT_FALSE(canUndo);
    EXPECT_FALSE(canRedo);
}

} // namespace
