// The stitch tools driven by pointer positions: snapping to grid points, back stitches with
// and without chain mode, French knots and Rhodes stitches placed from the catalogue, one
// undo action per stitch, the previews and the grid-point status text.
#include "ToolFixture.h"
#include "support/SmallDesign.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

std::unique_ptr<TRhode> definition(int w, int h, QList<QLine> stitches)
{
    auto r = std::make_unique<TRhode>();
    r->name = QStringLiteral("TEST %1X%2").arg(w).arg(h);
    r->width = w;
    r->height = h;
    r->original = true;
    for (const QLine& l : stitches)
        r->stitches.append(TBackStitch{l.p1(), l.p2(), 0, 0});
    return r;
}

struct StitchTools : ToolFixture<8, 6, 8>
{
    // The pixel of a grid point.
    static QPoint gp(int x, int y) { return {x * kZoom / 2, y * kZoom / 2}; }
    void click(QPoint px)
    {
        tools.mouseMove(px);
        tools.mousePress(px);
        tools.mouseRelease(px);
    }
    QList<QLine> backStitches() const
    {
        QList<QLine> out;
        for (const TBackStitch& b : doc.DesignBackStitches)
            out.append(QLine(b.FromPoint, b.ToPoint));
        return out;
    }
    void expectConsistent() { EXPECT_EQ(doc.checkInvariant().toStdString(), ""); }
};

TEST_F(StitchTools, PointerSnapsToTheNearestGridPointAndHalfwayGoesRightAndDown)
{
    // Grid points lie every 4 pixels; the pointer is moved a quarter cell (2 pixels) right and
    // down before the division.
    const struct { QPoint px; QPoint grid; } rows[] = {
        {{0, 0}, {0, 0}}, {{1, 1}, {0, 0}}, {{2, 2}, {1, 1}}, {{5, 3}, {1, 1}}, {{6, 9}, {2, 2}},
        {{10, 14}, {3, 4}},
    };
    tools.Setmode(modFrenchKnot);
    for (const auto& r : rows) {
        click(r.px);
        EXPECT_EQ(doc.DesignFrenchKnots.last().Center, r.grid) << r.px.x() << "," << r.px.y();
    }
    // With the view scrolled the grid points move by two per cell.
    PointerMapping m = tools.mapping();
    m.hScroll = 2;
    m.vScroll = 1;
    tools.setMapping(m);
    click({2, 0});
    EXPECT_EQ(doc.DesignFrenchKnots.last().Center, QPoint(5, 2));
}

TEST_F(StitchTools, BackStitchClicksWithAndWithoutChainMode)
{
    const QPoint A(1, 1), B(5, 1), C(5, 6);
    const struct {
        bool chain;
        QList<QPoint> clicks;
        QList<QLine> stitches;
        bool idleAfter;
    } rows[] = {
        {true, {A}, {}, false},
        {true, {A, A}, {}, true},                 // the start point again ends the chain
        {true, {A, B}, {QLine(A, B)}, false},
        {true, {A, B, C}, {QLine(A, B), QLine(B, C)}, false},
        {true, {A, B, C, C}, {QLine(A, B), QLine(B, C)}, true},
        {true, {A, B, C, C, A, B}, {QLine(A, B), QLine(B, C), QLine(A, B)}, false},
        {false, {A, B}, {QLine(A, B)}, true},
        {false, {A, B, C}, {QLine(A, B)}, false}, // C starts a new stitch
        {false, {A, B, C, A}, {QLine(A, B), QLine(C, A)}, true},
        {false, {A, A, B}, {}, false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(::testing::Message() << "chain " << r.chain << ", clicks " << r.clicks.size());
        doc.CreateNewTemplate(8, 6, "Shapes", "Small");
        d.stitch.setDrawcolor(kRed);
        history.Reset();
        tools.Setmode(modDraw);
        tools.Setmode(modBackStitch);
        tools.setBackStitchesContinue(r.chain);
        for (const QPoint& p : r.clicks)
            click(gp(p.x(), p.y()));
        EXPECT_EQ(backStitches(), r.stitches);
        EXPECT_EQ(tools.backStitchIdle(), r.idleAfter);
        // One action per stitch.
        EXPECT_EQ(history.count(), r.stitches.size());
        for (int i = 0; i < doc.DesignBackStitches.size(); ++i) {
            EXPECT_EQ(doc.DesignBackStitches[i].Color, kRed);
            EXPECT_EQ(doc.DesignBackStitches[i].Index, i);
        }
        expectConsistent();
    }
}

TEST_F(StitchTools, BackStitchesReachTheFarCornerAndClicksOutsideTheGridAreIgnored)
{
    tools.Setmode(modBackStitch);
    click(gp(0, 0));
    click(gp(16, 12)); // (2W, 2H)
    EXPECT_EQ(backStitches(), (QList<QLine>{QLine(0, 0, 16, 12)}));
    // Outside: beyond 2W or 2H, or left of or above the design.
    for (QPoint outside : {gp(17, 3), gp(3, 13), QPoint(-3, 4), QPoint(4, -3)}) {
        click(outside);
        EXPECT_EQ(tools.pendingBackStitch().FromPoint, QPoint(16, 12));
    }
    EXPECT_EQ(doc.DesignBackStitches.size(), 1);
    tools.Setmode(modFrenchKnot);
    click(gp(17, 0));
    click(QPoint(-3, 0));
    EXPECT_TRUE(doc.DesignFrenchKnots.isEmpty());
}

TEST_F(StitchTools, UndoingAChainTakesOneUndoPerStitch)
{
    const QJsonObject empty = snapshot(doc);
    tools.Setmode(modBackStitch);
    click(gp(0, 0));
    click(gp(2, 0));
    const QJsonObject one = snapshot(doc);
    d.stitch.setDrawcolor(kBlue);
    click(gp(2, 2));
    // The colour counts its back-stitch length: 2 grid units each.
    EXPECT_EQ(d.stitch.Colors.find(kBlue)->backStitchesCount, 2);
    expectUndoRedo(history, doc, one);
    EXPECT_EQ(snapshot(doc), one);
    EXPECT_EQ(d.stitch.Colors.find(kRed)->backStitchesCount, 2);
    history.Undo();
    EXPECT_EQ(snapshot(doc), empty);
    expectConsistent();
}

TEST_F(StitchTools, FrenchKnotsOnAnyGridPointAlsoOnTopOfEachOther)
{
    tools.Setmode(modFrenchKnot);
    const QJsonObject before = snapshot(doc);
    click(gp(3, 3));
    click(gp(3, 3));
    click(gp(16, 12));
    ASSERT_EQ(doc.DesignFrenchKnots.size(), 3);
    EXPECT_EQ(doc.DesignFrenchKnots[1].Center, QPoint(3, 3));
    EXPECT_EQ(doc.DesignFrenchKnots[2].Index, 2);
    EXPECT_EQ(doc.DesignFrenchKnots[2].Color, kRed);
    EXPECT_EQ(history.count(), 3);
    expectConsistent();
    const QJsonObject two = [&] {
        history.Undo();
        return snapshot(doc);
    }();
    history.Redo();
    expectUndoRedo(history, doc, two);
    history.Undo();
    history.Undo();
    EXPECT_EQ(snapshot(doc), before);
}

TEST_F(StitchTools, RhodesStitchIsCentredOnTheClickedGridPoint)
{
    d.stitch.RhodeCatalogue.push_back(definition(2, 2, {QLine(0, 0, 4, 4), QLine(4, 0, 0, 4)}));
    d.stitch.RhodeCatalogue.push_back(definition(3, 2, {QLine(0, 0, 6, 4), QLine(3, 2, 3, 2)}));
    tools.Setmode(modRhode);
    tools.setCurrentRhode(0);
    // A 2 x 2 definition at (10, 10) moves by (8, 8).
    click(gp(10, 10));
    ASSERT_EQ(doc.DesignRhodes.size(), 1u);
    const TRhode& placed = *doc.DesignRhodes[0];
    ASSERT_EQ(placed.stitches.size(), 2);
    EXPECT_EQ(placed.stitches[0].FromPoint, QPoint(8, 8));
    EXPECT_EQ(placed.stitches[0].ToPoint, QPoint(12, 12));
    EXPECT_EQ(placed.color, kRed);
    EXPECT_EQ(placed.index, 0);
    EXPECT_EQ(placed.width, 0);
    EXPECT_EQ(placed.height, 0);
    EXPECT_TRUE(placed.name.isEmpty());
    // A 3 x 2 definition: its grid point (3, 2) lands on the click; stitches may leave the
    // design and are kept as they are.
    tools.setCurrentRhode(1);
    click(gp(1, 0));
    ASSERT_EQ(doc.DesignRhodes.size(), 2u);
    EXPECT_EQ(doc.DesignRhodes[1]->stitches[0].FromPoint, QPoint(-2, -2));
    EXPECT_EQ(doc.DesignRhodes[1]->stitches[0].ToPoint, QPoint(4, 2));
    EXPECT_EQ(doc.DesignRhodes[1]->stitches[1].FromPoint, QPoint(1, 0));
    // The colour counts the stitches' lengths: 5 + 5 + 7 + 0.
    EXPECT_EQ(d.stitch.Colors.find(kRed)->backStitchesCount, 17);
    EXPECT_EQ(history.count(), 2);
    expectConsistent();
    // Editing the catalogue entry later changes what the next click places.
    d.stitch.RhodeCatalogue[1]->stitches.removeLast();
    click(gp(8, 8));
    EXPECT_EQ(doc.DesignRhodes[2]->stitches.size(), 1);
}

TEST_F(StitchTools, RhodesUndoAndRedoPlaceANewEqualCopy)
{
    d.stitch.RhodeCatalogue.push_back(definition(1, 1, {QLine(0, 0, 2, 2), QLine(2, 0, 0, 2)}));
    tools.setCurrentRhode(0);
    tools.Setmode(modRhode);
    const QJsonObject before = snapshot(doc);
    click(gp(5, 5));
    const TRhode* first = doc.DesignRhodes[0].get();
    const auto copy = first->Clone();
    expectUndoRedo(history, doc, before);
    history.Redo();
    ASSERT_EQ(doc.DesignRhodes.size(), 1u);
    EXPECT_TRUE(doc.DesignRhodes[0]->sameContent(*copy));
    // The history keeps its own copy: changing the design's does not reach it.
    doc.DesignRhodes[0]->stitches.clear();
    history.Undo();
    history.Redo();
    EXPECT_TRUE(doc.DesignRhodes[0]->sameContent(*copy));
}

TEST_F(StitchTools, WithoutADefinitionTheRhodesToolPlacesNothing)
{
    tools.Setmode(modRhode);
    for (int position : {-1, 0, 3}) {
        tools.setCurrentRhode(position);
        EXPECT_EQ(tools.currentRhodeDefinition(), nullptr);
        click(gp(4, 4));
    }
    EXPECT_TRUE(doc.DesignRhodes.empty());
    EXPECT_EQ(history.count(), 0);
}

TEST_F(StitchTools, PreviewsFollowThePointerAndAreClearedByEscapeAndModeChanges)
{
    QSignalSpy spy(&tools, &ToolController::stitchPreviewChanged);
    auto last = [&] { return spy.last().at(0).value<QList<QLine>>(); };
    tools.Setmode(modBackStitch);
    tools.mouseMove(gp(2, 2));
    EXPECT_EQ(spy.count(), 0); // no start point yet
    click(gp(2, 2));
    tools.mouseMove(gp(6, 3));
    ASSERT_GT(spy.count(), 0);
    EXPECT_EQ(last(), (QList<QLine>{QLine(2, 2, 6, 3)}));
    EXPECT_EQ(spy.last().at(1).toInt(), 5);
    tools.escapeBackStitch();
    EXPECT_TRUE(last().isEmpty());
    EXPECT_TRUE(tools.backStitchIdle());
    const int afterEscape = spy.count();
    tools.mouseMove(gp(7, 3));
    EXPECT_EQ(spy.count(), afterEscape);

    click(gp(2, 2));
    tools.mouseMove(gp(4, 4));
    tools.Setmode(modDraw);
    EXPECT_TRUE(last().isEmpty());
    tools.Setmode(modBackStitch);
    EXPECT_TRUE(tools.backStitchIdle()); // entering the tool drops the old start point

    // The Rhodes preview: the definition moved to the pointer, 3 pixels wide, and only while
    // back stitches are shown.
    d.stitch.RhodeCatalogue.push_back(definition(1, 1, {QLine(0, 0, 2, 2)}));
    tools.setCurrentRhode(0);
    tools.Setmode(modRhode);
    tools.mouseMove(gp(5, 4));
    EXPECT_EQ(last(), (QList<QLine>{QLine(4, 3, 6, 5)}));
    EXPECT_EQ(spy.last().at(1).toInt(), 3);
    tools.setBackStitchesVisible(false);
    tools.mouseMove(gp(6, 4));
    EXPECT_TRUE(last().isEmpty());
    tools.setBackStitchesVisible(true);
    tools.mouseMove(gp(6, 4));
    EXPECT_FALSE(last().isEmpty());
    tools.Setmode(modFrenchKnot);
    EXPECT_TRUE(last().isEmpty());
}

TEST_F(StitchTools, StatusBarShowsTheGridPointForBackStitchesAndRhodesAndTheCellForKnots)
{
    QSignalSpy spy(&tools, &ToolController::statusText);
    const struct { TMode mode; QString text; } rows[] = {
        {modBackStitch, QStringLiteral("X: 6  Y: 4")},
        {modRhode, QStringLiteral("X: 6  Y: 4")},
        {modFrenchKnot, QStringLiteral("X: 3  Y: 2")},
    };
    for (const auto& r : rows) {
        tools.Setmode(r.mode);
        tools.mouseMove(gp(5, 3));
        EXPECT_EQ(spy.last().at(0).toString(), r.text) << int(r.mode);
    }
}

TEST_F(StitchTools, TheEraserRemovesPlacedStitchesInOneAction)
{
    d.stitch.RhodeCatalogue.push_back(definition(1, 1, {QLine(0, 0, 2, 2)}));
    tools.setCurrentRhode(0);
    tools.Setmode(modBackStitch);
    click(gp(0, 8));
    click(gp(8, 8));
    tools.Setmode(modFrenchKnot);
    click(gp(12, 2));
    tools.Setmode(modRhode);
    click(gp(13, 9));
    const QJsonObject placed = snapshot(doc);
    tools.Setmode(modErase);
    // One press on each: the back stitch, the knot and the Rhodes stitch go.
    for (QPoint px : {gp(4, 8), gp(12, 2), gp(13, 9)}) {
        tools.mousePress(px);
        tools.mouseRelease(px);
    }
    EXPECT_TRUE(doc.DesignBackStitches.isEmpty());
    EXPECT_TRUE(doc.DesignFrenchKnots.isEmpty());
    EXPECT_TRUE(doc.DesignRhodes.empty());
    expectConsistent();
    for (int i = 0; i < 3; ++i)
        history.Undo();
    EXPECT_EQ(snapshot(doc), placed);
}

} // namespace
