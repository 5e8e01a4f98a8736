// The clipboard without a window: what a copy takes (with and without back stitches, partly
// outside the design), the transforms of the block (exact cells, quarters turned with the block,
// stitch points moved), and merging: stencil rules, clipping at the design's edge, undo.
#include "editing/Clipboard.h"
#include "editing/CutAction.h"
#include "editing/MergeAction.h"
#include "editing/TActions.h"
#include "support/SmallDesign.h"

#include <gtest/gtest.h>
#include <set>

using namespace testsupport;

namespace {

using Points = std::set<std::pair<int, int>>;

// The non-empty points of a clipboard raster, per colour.
Points pointsOf(const QImage& raster, TColor32 background, ColorKey c)
{
    Points out;
    for (int y = 0; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x)
            if (raster.pixel(x, y) != background && pixelToKey(raster.pixel(x, y)) == c)
                out.insert({x, y});
    return out;
}

std::unique_ptr<TRhode> rhode(QList<std::pair<QPoint, QPoint>> stitches, ColorKey c, int w, int h)
{
    auto r = std::make_unique<TRhode>();
    r->width = w;
    r->height = h;
    r->color = c;
    r->name = QStringLiteral("R");
    for (const auto& [a, b] : stitches)
        r->stitches.append(TBackStitch{a, b, c, 0});
    return r;
}

// A 3 x 2 block at (1, 1) of an 8 x 6 design: red cells at its top-left and bottom-right, a
// green quarter in the top-right quarter of its middle top cell, a back stitch along its top
// edge, a knot at its bottom-left corner, a 1 x 1 Rhodes stitch in its top-left cell.
struct Block : ::testing::Test
{
    SmallDesign d{8, 6};
    PatternDocument& doc = d.doc;
    TActions history{doc};
    const QRect selection{1, 1, 3, 2};

    void SetUp() override
    {
        doc.updatePixel(1, 1, kRed, false);
        doc.updatePixel(3, 2, kRed, false);
        doc.updateQPixel(5, 2, kGreen, false);
        doc.backStitchesAdd(TBackStitch{{2, 2}, {4, 2}, kBlue, 0}, false);
        doc.frenchKnotAdd(TFrenchKnot{{2, 6}, kGreen, 0}, false);
        doc.RhodeAdd(rhode({{{2, 2}, {4, 4}}, {{4, 2}, {2, 4}}}, kWhite, 1, 1), false);
        // Outside the block, or half in it: never copied.
        doc.backStitchesAdd(TBackStitch{{4, 2}, {10, 2}, kRed, 0}, false);
        doc.frenchKnotAdd(TFrenchKnot{{12, 2}, kRed, 0}, false);
    }
};

} // namespace

TEST_F(Block, CopyTakesTheBlockRelativeToItsCorner)
{
    for (bool withBack : {true, false}) {
        SCOPED_TRACE(withBack ? "back stitches shown" : "back stitches hidden");
        const TClipboard clip = Clipboard::copy(doc, selection, withBack);
        EXPECT_EQ(clip.size(), QSize(3, 2));
        EXPECT_EQ(pointsOf(clip.ClipCross, clip.background, kRed), (Points{{0, 0}, {2, 1}}));
        EXPECT_EQ(pointsOf(clip.ClipQuarter, clip.background, kGreen), (Points{{3, 0}}));
        ASSERT_EQ(clip.ClipFrenchKnots.size(), 1);
        EXPECT_EQ(clip.ClipFrenchKnots[0].Center, QPoint(0, 4));
        if (withBack) {
            ASSERT_EQ(clip.ClipBackStitches.size(), 1); // the half-inside one stays out
            EXPECT_EQ(clip.ClipBackStitches[0].FromPoint, QPoint(0, 0));
            EXPECT_EQ(clip.ClipBackStitches[0].ToPoint, QPoint(2, 0));
            ASSERT_EQ(clip.ClipRhodes.size(), 1u);
            EXPECT_EQ(clip.ClipRhodes[0]->stitches[0].ToPoint, QPoint(2, 2));
        } else {
            EXPECT_TRUE(clip.ClipBackStitches.isEmpty());
            EXPECT_TRUE(clip.ClipRhodes.empty());
        }
    }
}

TEST_F(Block, ASelectionBeyondTheDesignCopiesEmptyCellsThere)
{
    const TClipboard clip = Clipboard::copy(doc, QRect(-2, -1, 4, 3), true);
    EXPECT_EQ(clip.size(), QSize(4, 3));
    EXPECT_EQ(pointsOf(clip.ClipCross, clip.background, kRed), (Points{{3, 2}}));
    const TClipboard outside = Clipboard::copy(doc, QRect(20, 20, 2, 2), true);
    EXPECT_EQ(outside.size(), QSize(2, 2));
    EXPECT_TRUE(pointsOf(outside.ClipCross, outside.background, kRed).empty());
    EXPECT_TRUE(outside.ClipFrenchKnots.isEmpty());
}

TEST_F(Block, TransformsMoveCellsQuartersAndStitchPoints)
{
    struct Case
    {
        const char* name;
        void (*transform)(TClipboard&);
        QSize size;
        Points red, green;
        QPoint backFrom, backTo, knot;
    };
    // Before: red (0,0) (2,1); green quarter (3,0) of 6 x 4; back (0,0)-(2,0); knot (0,4).
    const Case cases[] = {
        {"mirror horizontal", Clipboard::mirrorHorizontal, {3, 2}, {{2, 0}, {0, 1}}, {{2, 0}},
         {6, 0}, {4, 0}, {6, 4}},
        {"mirror vertical", Clipboard::mirrorVertical, {3, 2}, {{0, 1}, {2, 0}}, {{3, 3}},
         {0, 4}, {2, 4}, {0, 0}},
        // The Part's example: a 3 x 2 block turned right is 2 x 3, (0,0)-(2,0) is (4,0)-(4,2).
        {"rotate right", Clipboard::rotateRight, {2, 3}, {{1, 0}, {0, 2}}, {{3, 3}},
         {4, 0}, {4, 2}, {0, 0}},
        {"rotate left", Clipboard::rotateLeft, {2, 3}, {{0, 2}, {1, 0}}, {{0, 2}},
         {0, 6}, {0, 4}, {4, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TClipboard clip = Clipboard::copy(doc, selection, true);
        c.transform(clip);
        EXPECT_EQ(clip.size(), c.size);
        EXPECT_EQ(clip.ClipQuarter.size(), c.size * 2);
        EXPECT_EQ(pointsOf(clip.ClipCross, clip.background, kRed), c.red);
        EXPECT_EQ(pointsOf(clip.ClipQuarter, clip.background, kGreen), c.green);
        EXPECT_EQ(clip.ClipBackStitches[0].FromPoint, c.backFrom);
        EXPECT_EQ(clip.ClipBackStitches[0].ToPoint, c.backTo);
        EXPECT_EQ(clip.ClipFrenchKnots[0].Center, c.knot);
    }
}

TEST_F(Block, FourTurnsOrTwoMirrorsGiveTheBlockBack)
{
    const TClipboard original = Clipboard::copy(doc, selection, true);
    auto same = [&](const TClipboard& c) {
        EXPECT_EQ(c.ClipCross, original.ClipCross);
        EXPECT_EQ(c.ClipQuarter, original.ClipQuarter);
        EXPECT_EQ(c.ClipBackStitches, original.ClipBackStitches);
        EXPECT_EQ(c.ClipFrenchKnots, original.ClipFrenchKnots);
        EXPECT_TRUE(c.ClipRhodes[0]->sameContent(*original.ClipRhodes[0]));
    };
    TClipboard c = Clipboard::copy(doc, selection, true);
    for (int i = 0; i < 4; ++i)
        Clipboard::rotateRight(c);
    same(c);
    Clipboard::rotateLeft(c);
    Clipboard::rotateRight(c);
    same(c);
    Clipboard::mirrorHorizontal(c);
    Clipboard::mirrorHorizontal(c);
    Clipboard::mirrorVertical(c);
    Clipboard::mirrorVertical(c);
    same(c);
}

TEST_F(Block, MergeIsAStencilWhereQuartersWin)
{
    // Target (5, 3): a blue cross under the block's green quarter, a quarter under its red cell.
    doc.updatePixel(6, 3, kBlue, false);
    doc.updateQPixel(10, 6, kBlue, false);
    doc.updatePixel(7, 3, kWhite, false); // under an empty block cell: stays
    const QJsonObject before = snapshot(doc);
    const TClipboard clip = Clipboard::copy(doc, selection, true);
    actionFix(doc, history, clip, QPoint(5, 3));
    EXPECT_EQ(doc.CrossCells.pixel(5, 3), keyToPixel(kRed));
    EXPECT_EQ(doc.QuarterCells.pixel(10, 6), d.bg()); // the red cross cleared the quarter
    EXPECT_EQ(doc.QuarterCells.pixel(13, 6), keyToPixel(kGreen));
    EXPECT_EQ(doc.CrossCells.pixel(6, 3), d.bg()); // the green quarter cleared the cross
    EXPECT_EQ(doc.CrossCells.pixel(7, 3), keyToPixel(kWhite));
    EXPECT_EQ(doc.checkInvariant(), QString());
    expectUndoRedo(history, doc, before);
}

TEST_F(Block, MergingTwiceIsTwoActions)
{
    const TClipboard clip = Clipboard::copy(doc, selection, true);
    actionFix(doc, history, clip, QPoint(4, 3));
    const QJsonObject first = snapshot(doc);
    actionFix(doc, history, clip, QPoint(4, 3));
    EXPECT_EQ(history.count(), 2);
    history.Undo();
    EXPECT_EQ(snapshot(doc), first);
}

TEST_F(Block, AMergeAtTheEdgeWritesOnlyInsideAndDropsStitchesThatLeave)
{
    const TClipboard clip = Clipboard::copy(doc, selection, true);
    const QJsonObject before = snapshot(doc);
    const int back = int(doc.DesignBackStitches.size()), knots = int(doc.DesignFrenchKnots.size());
    struct Case { const char* name; QPoint at; bool redInside, backKept, knotKept; };
    const Case cases[] = {
        // Only the block's first column fits: its red cell, the back stitch and the knot.
        {"right edge", {7, 0}, true, true, true},
        // Beyond the right edge: only the knot, on the design's edge, still fits.
        {"just beyond the right edge", {8, 0}, false, false, true},
        // Above the design: the bottom row fits, the back stitch on the top edge does not.
        {"top edge", {-2, -1}, true, false, false},
        {"wholly outside", {20, 20}, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        actionFix(doc, history, clip, c.at);
        EXPECT_EQ(doc.width(), 8);
        EXPECT_EQ(doc.DesignBackStitches.size(), back + (c.backKept ? 1 : 0));
        EXPECT_EQ(doc.DesignFrenchKnots.size(), knots + (c.knotKept ? 1 : 0));
        EXPECT_EQ(doc.checkInvariant(), QString());
        if (c.redInside) {
            EXPECT_NE(snapshot(doc).value("cells"), before.value("cells"));
        }
        history.Undo();
        EXPECT_EQ(snapshot(doc), before);
    }
}

TEST_F(Block, CutTakesTheBlockOutAndUndoPutsItBackInPlace)
{
    const QJsonObject before = snapshot(doc);
    const TClipboard copied = Clipboard::copy(doc, selection, true);
    const TClipboard clip = cutSelection(doc, history, selection, true);
    EXPECT_EQ(clip.ClipCross, copied.ClipCross);
    EXPECT_EQ(clip.ClipBackStitches, copied.ClipBackStitches);
    EXPECT_EQ(history.count(), 1);
    EXPECT_EQ(doc.CrossCells.pixel(1, 1), d.bg());
    EXPECT_EQ(doc.QuarterCells.pixel(5, 2), d.bg());
    // Only the stitches lying wholly in the block went.
    ASSERT_EQ(doc.DesignBackStitches.size(), 1);
    EXPECT_EQ(doc.DesignBackStitches[0].ToPoint, QPoint(10, 2));
    ASSERT_EQ(doc.DesignFrenchKnots.size(), 1);
    EXPECT_EQ(doc.DesignFrenchKnots[0].Center, QPoint(12, 2));
    EXPECT_TRUE(doc.DesignRhodes.empty());
    EXPECT_EQ(doc.checkInvariant(), QString());
    // Back at their list positions, and the clipboard untouched by the replays.
    expectUndoRedo(history, doc, before);
    EXPECT_EQ(clip.ClipCross, copied.ClipCross);
}

TEST_F(Block, AColourTheDesignCannotDrawLeavesTheCellAndItsQuartersAlone)
{
    // A block from a design of another palette: its top-left cell and its quarter hold a
    // colour this design's table does not have.
    TClipboard clip = Clipboard::copy(doc, selection, true);
    const TColor32 foreign = keyToPixel(makeColorKey(1, 2, 3));
    clip.ClipCross.setPixel(0, 0, foreign);
    clip.ClipQuarter.setPixel(3, 0, foreign);
    // Under them: a blue quarter in the top-left cell's place, a white cross under the quarter.
    doc.updateQPixel(8, 6, kBlue, false);
    doc.updatePixel(5, 3, kWhite, false);
    const QJsonObject before = snapshot(doc);
    actionFix(doc, history, clip, QPoint(4, 3));
    EXPECT_EQ(doc.QuarterCells.pixel(8, 6), keyToPixel(kBlue));
    EXPECT_EQ(doc.CrossCells.pixel(4, 3), d.bg());
    EXPECT_EQ(doc.CrossCells.pixel(5, 3), keyToPixel(kWhite));
    EXPECT_EQ(doc.CrossCells.pixel(6, 4), keyToPixel(kRed)); // the drawable cell is laid
    EXPECT_EQ(doc.checkInvariant(), QString());
    expectUndoRedo(history, doc, before);
}
