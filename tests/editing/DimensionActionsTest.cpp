// Size changes and row/column insertion: what moves, what is dropped, the refusals that leave
// the design untouched, and undo/redo giving back the exact design, counts included. Each
// expected design is built independently: the fixture's content, moved or filtered by the rule,
// painted into a fresh design of the resulting size.
#include "editing/DimensionActions.h"
#include "editing/TActions.h"
#include "core/QuillError.h"
#include "support/SmallDesign.h"

#include <QSignalSpy>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace testsupport;

namespace {

struct Cell { QPoint p; ColorKey c; };
struct Line { QPoint from, to; ColorKey c; };
struct Rhode { QList<std::pair<QPoint, QPoint>> stitches; ColorKey c; };

// Everything a design can hold, as plain values.
struct Content
{
    QList<Cell> cells, quarters;
    QList<Line> back;
    QList<Cell> knots;
    QList<Rhode> rhodes;
};

// Cells, quarters and stitches on both sides of every edge and line the cases use, on a 20 x 20
// design: a back stitch ending exactly on grid point 20, stitches crossing it, knots and Rhodes
// stitches inside, on the line and beyond.
Content fixture()
{
    Content c;
    c.cells = {{{0, 0}, kRed}, {{9, 9}, kGreen}, {{10, 5}, kBlue}, {{5, 10}, kRed},
               {{19, 19}, kGreen}, {{15, 2}, kWhite}, {{4, 4}, kBlue}, {{0, 19}, kWhite}};
    c.quarters = {{{19, 19}, kRed}, {{20, 3}, kGreen}, {{3, 20}, kBlue}, {{39, 39}, kWhite},
                  {{8, 8}, kGreen}, {{9, 8}, kGreen}, {{11, 30}, kRed}};
    c.back = {{{0, 0}, {20, 0}, kRed},    {{0, 0}, {21, 0}, kGreen}, {{4, 4}, {4, 30}, kBlue},
              {{30, 30}, {38, 38}, kRed}, {{2, 2}, {6, 6}, kGreen},  {{0, 10}, {8, 10}, kWhite},
              {{12, 1}, {20, 20}, kBlue}, {{10, 0}, {10, 40}, kRed}};
    c.knots = {{{20, 20}, kRed}, {{21, 1}, kBlue}, {{1, 39}, kGreen}, {{10, 10}, kWhite},
               {{11, 3}, kRed}};
    c.rhodes = {{{{{2, 2}, {6, 6}}, {{6, 2}, {2, 6}}}, kBlue},
                {{{{18, 18}, {24, 24}}, {{24, 18}, {18, 24}}}, kRed},
                {{{{30, 0}, {34, 4}}, {{34, 0}, {30, 4}}}, kGreen},
                {{{{10, 12}, {14, 16}}}, kWhite}};
    return c;
}

void paint(PatternDocument& doc, const Content& c)
{
    for (const Cell& e : c.cells)
        doc.updatePixel(e.p.x(), e.p.y(), e.c, false);
    for (const Cell& e : c.quarters)
        doc.updateQPixel(e.p.x(), e.p.y(), e.c, false);
    for (const Line& l : c.back)
        doc.backStitchesAdd(TBackStitch{l.from, l.to, l.c, 0}, false);
    for (const Cell& k : c.knots)
        doc.frenchKnotAdd(TFrenchKnot{k.p, k.c, 0}, false);
    for (const Rhode& r : c.rhodes) {
        auto rhode = std::make_unique<TRhode>();
        rhode->width = rhode->height = 2;
        rhode->name = QStringLiteral("Star");
        rhode->color = r.c;
        for (const auto& [from, to] : r.stitches)
            rhode->stitches.append(TBackStitch{from, to, r.c, 0});
        doc.RhodeAdd(std::move(rhode), false);
    }
}

// The design a fresh w x h design with `c` painted into it would be.
QJsonObject designOf(int w, int h, const Content& c)
{
    SmallDesign fresh(w, h);
    paint(fresh.doc, c);
    return snapshot(fresh.doc);
}

struct Dimensions : ::testing::Test
{
    SmallDesign d{20, 20};
    PatternDocument& doc = d.doc;
    TActions history{doc};
    Content content = fixture();

    void SetUp() override { paint(doc, content); }
};

// --- size change -------------------------------------------------------------------------------

// What survives a size change to w x h: cells and quarters inside, stitches with no point
// beyond grid point 2w, 2h.
Content cropped(const Content& c, int w, int h)
{
    auto inside = [&](QPoint p) { return p.x() <= 2 * w && p.y() <= 2 * h; };
    Content out;
    for (const Cell& e : c.cells)
        if (e.p.x() < w && e.p.y() < h)
            out.cells.append(e);
    for (const Cell& e : c.quarters)
        if (e.p.x() < 2 * w && e.p.y() < 2 * h)
            out.quarters.append(e);
    for (const Line& l : c.back)
        if (inside(l.from) && inside(l.to))
            out.back.append(l);
    for (const Cell& k : c.knots)
        if (inside(k.p))
            out.knots.append(k);
    for (const Rhode& r : c.rhodes) {
        bool in = true;
        for (const auto& [from, to] : r.stitches)
            in = in && inside(from) && inside(to);
        if (in)
            out.rhodes.append(r);
    }
    return out;
}

TEST_F(Dimensions, SizeChangesKeepWhatFitsAndUndoGivesEverythingBack)
{
    struct Case { const char* name; int w, h; };
    const Case cases[] = {
        {"shrink both ways", 10, 10},
        {"narrower, taller", 10, 25},
        {"wider, lower", 26, 9},
        {"enlarge both ways", 30, 31},
        {"down to one cell", 1, 1},
        {"one column less", 19, 20},
        {"one row less", 20, 19},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmallDesign s(20, 20);
        paint(s.doc, content);
        TActions h(s.doc);
        const QJsonObject before = snapshot(s.doc);
        actionChangeDimensions(s.doc, h, c.w, c.h);
        EXPECT_EQ(h.count(), 1);
        EXPECT_EQ(snapshot(s.doc), designOf(c.w, c.h, cropped(content, c.w, c.h)));
        EXPECT_EQ(s.doc.checkInvariant(), QString());
        expectUndoRedo(h, s.doc, before);
    }
}

TEST_F(Dimensions, ABackStitchOnTheNewEdgeStaysAndOneBeyondGoes)
{
    actionChangeDimensions(doc, history, 10, 10);
    auto has = [&](QPoint from, QPoint to) {
        for (const TBackStitch& b : doc.DesignBackStitches)
            if (b.FromPoint == from && b.ToPoint == to)
                return true;
        return false;
    };
    EXPECT_TRUE(has({0, 0}, {20, 0}));
    EXPECT_FALSE(has({0, 0}, {21, 0}));
    EXPECT_FALSE(has({4, 4}, {4, 30}));
}

TEST_F(Dimensions, EnlargingRecordsOnlyTheSize)
{
    actionChangeDimensions(doc, history, 25, 30);
    const auto* a = dynamic_cast<const TChangeDimensionsAction*>(history.action(0));
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->fRightCells.isNull() && a->fBottomCells.isNull());
    EXPECT_TRUE(a->fRightQuarters.isNull() && a->fBottomQuarters.isNull());
    EXPECT_TRUE(a->fArrBack.isEmpty() && a->fArrKnots.isEmpty() && a->fArrRhodes.empty());
    EXPECT_EQ(a->fOldWidth, 20);
    EXPECT_EQ(a->fNewHeight, 30);
}

TEST_F(Dimensions, RemovedStitchesComeBackAtTheirListPositions)
{
    actionChangeDimensions(doc, history, 10, 10);
    const auto* a = dynamic_cast<const TChangeDimensionsAction*>(history.action(0));
    ASSERT_NE(a, nullptr);
    // In order of removal: from the last position to the first.
    EXPECT_EQ(a->fBackPositions, (QList<qint32>{7, 3, 2, 1}));
    EXPECT_EQ(a->fKnotPositions, (QList<qint32>{2, 1}));
    EXPECT_EQ(a->fRhodePositions, (QList<qint32>{2, 1}));
    history.Undo();
    EXPECT_EQ(snapshot(doc), designOf(20, 20, content));
}

TEST_F(Dimensions, ImpossibleSizesAreRefusedAndChangeNothing)
{
    struct Case { const char* name; int w, h; qint64 available; };
    const Case cases[] = {
        {"no width", 0, 10, -1},
        {"no height", 10, 0, -1},
        {"negative", -5, 10, -1},
        {"wider than a design file holds", 32768, 10, -1},
        {"taller than a design file holds", 10, 32768, -1},
        {"more than the memory", 100, 100, 1000},
        // The cut-off strips are kept for the undo and need memory too.
        {"strips beyond the memory", 10, 10, 20 * 10 * 10 + 100},
    };
    doc.stitch().setFileSaved(true);
    const QJsonObject before = snapshot(doc);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            actionChangeDimensions(doc, history, c.w, c.h, c.available);
            ADD_FAILURE() << "not refused";
        } catch (const QuillError& e) {
            EXPECT_FALSE(e.message().isEmpty());
        }
        EXPECT_EQ(snapshot(doc), before);
        EXPECT_EQ(history.count(), 0);
        EXPECT_TRUE(doc.stitch().fileSaved());
    }
    // The largest size a design file holds is possible (one row, so it stays small).
    SmallDesign wide(2, 1);
    TActions h(wide.doc);
    EXPECT_NO_THROW(actionChangeDimensions(wide.doc, h, 32767, 1));
    EXPECT_EQ(wide.doc.width(), 32767);
}

TEST_F(Dimensions, TheCurrentSizeRecordsNothing)
{
    actionChangeDimensions(doc, history, 20, 20);
    EXPECT_EQ(history.count(), 0);
}

// --- insertion ---------------------------------------------------------------------------------

// Where the content goes when n columns (rows) are inserted before column (row) p: cells and
// quarters of it and beyond, back-stitch ends and knots beyond the line, Rhodes stitches wholly
// on or beyond it.
Content inserted(const Content& c, TInsertType type, int p, int n)
{
    auto axis = [type](QPoint& q) -> int& { return type == itColumn ? q.rx() : q.ry(); };
    auto cell = [&](Cell e, int scale) {
        if (axis(e.p) >= scale * p)
            axis(e.p) += scale * n;
        return e;
    };
    auto point = [&](QPoint q) {
        if (axis(q) > 2 * p)
            axis(q) += 2 * n;
        return q;
    };
    Content out;
    for (const Cell& e : c.cells)
        out.cells.append(cell(e, 1));
    for (const Cell& e : c.quarters)
        out.quarters.append(cell(e, 2));
    for (const Line& l : c.back)
        out.back.append({point(l.from), point(l.to), l.c});
    for (const Cell& k : c.knots)
        out.knots.append({point(k.p), k.c});
    for (Rhode r : c.rhodes) {
        int low = INT_MAX;
        for (auto& [from, to] : r.stitches)
            low = std::min({low, axis(from), axis(to)});
        if (low >= 2 * p)
            for (auto& [from, to] : r.stitches) {
                axis(from) += 2 * n;
                axis(to) += 2 * n;
            }
        out.rhodes.append(r);
    }
    return out;
}

TEST_F(Dimensions, InsertingMovesEveryStitchKindAndUndoRemovesTheBand)
{
    struct Case { const char* name; TInsertType type; int position, count; };
    const Case cases[] = {
        // Ends on the left edge (x = 0) stay; everything else moves by 4 grid points.
        {"2 columns at column 0", itColumn, 0, 2},
        {"3 columns at column 5", itColumn, 5, 3},
        {"columns through Rhodes and knots", itColumn, 10, 4},
        {"a column after the last", itColumn, 20, 1},
        {"1 row at row 5", itRow, 5, 1},
        {"rows at row 0", itRow, 0, 3},
        {"rows at row 10", itRow, 10, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmallDesign s(20, 20);
        paint(s.doc, content);
        TActions h(s.doc);
        const QJsonObject before = snapshot(s.doc);
        actionInsert(s.doc, h, c.position, c.type, c.count);
        const int w = c.type == itColumn ? 20 + c.count : 20;
        const int hh = c.type == itRow ? 20 + c.count : 20;
        EXPECT_EQ(snapshot(s.doc), designOf(w, hh, inserted(content, c.type, c.position, c.count)));
        // A back stitch across the line is longer now: its colour's count follows.
        EXPECT_EQ(s.doc.checkInvariant(), QString());
        expectUndoRedo(h, s.doc, before);
    }
}

TEST_F(Dimensions, InsertingARowIntoTenRowsGivesElevenAndUndoTen)
{
    SmallDesign s(6, 10);
    paint(s.doc, cropped(content, 6, 10));
    TActions h(s.doc);
    const QJsonObject before = snapshot(s.doc);
    actionInsert(s.doc, h, 5, itRow, 1);
    EXPECT_EQ(s.doc.height(), 11);
    EXPECT_EQ(s.doc.QuarterCells.height(), 22);
    h.Undo();
    EXPECT_EQ(s.doc.height(), 10);
    EXPECT_EQ(snapshot(s.doc), before);
}

TEST_F(Dimensions, InsertionsBeyondTheLargestSizeOrTheMemoryAreRefused)
{
    SmallDesign s(32767, 1);
    TActions h(s.doc);
    const QJsonObject before = snapshot(s.doc);
    EXPECT_THROW(actionInsert(s.doc, h, 3, itColumn, 1), QuillError);
    EXPECT_NO_THROW(actionInsert(s.doc, h, 0, itRow, 1));
    EXPECT_EQ(h.count(), 1);
    h.Undo();
    EXPECT_EQ(snapshot(s.doc), before);

    const QJsonObject mine = snapshot(doc);
    EXPECT_THROW(actionInsert(doc, history, 3, itRow, 32767 - 19), QuillError);
    EXPECT_THROW(actionInsert(doc, history, 3, itColumn, 10, 1000), QuillError);
    EXPECT_EQ(snapshot(doc), mine);
    EXPECT_EQ(history.count(), 0);
}

// --- the history when a replay cannot run --------------------------------------------------------

// An action whose replay fails as a size change short of memory does: before changing anything.
struct FailingAction : TUndoAction
{
    bool failUndo = false, failExecute = false;
    void Undo(PatternDocument&) override
    {
        if (failUndo)
            throw QuillError(QStringLiteral("no memory"));
    }
    void Execute(PatternDocument&) override
    {
        if (failExecute)
            throw QuillError(QStringLiteral("no memory"));
    }
    QString name() const override { return QStringLiteral("Failing"); }
};

TEST_F(Dimensions, AReplayThatFailsLeavesTheHistoryWhereItWas)
{
    auto owned = std::make_unique<FailingAction>();
    FailingAction* a = owned.get();
    history.record(std::move(owned));
    QSignalSpy failed(&history, &TActions::replayFailed);

    a->failUndo = true;
    history.Undo();
    EXPECT_EQ(history.position(), 0);
    a->failUndo = false;
    history.Undo();
    EXPECT_EQ(history.position(), -1);
    a->failExecute = true;
    history.Redo();
    EXPECT_EQ(history.position(), -1);
    EXPECT_TRUE(history.canRedo());
    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(failed.at(0).at(0).toString(), QStringLiteral("no memory"));
}

} // namespace
