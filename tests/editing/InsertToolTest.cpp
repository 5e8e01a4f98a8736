// The insert tool behind the chart: after the dialog, one press inserts at the pressed cell and
// its release returns to the tool before; a refused insertion changes nothing and says why.
#include "ToolFixture.h"
#include "support/SmallDesign.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

struct InsertTool : ToolFixture<8, 6, 10>
{
    void SetUp() override
    {
        ToolFixture::SetUp();
        tools.Setmode(modFill);
    }
    static QPoint px(int x, int y) { return {x * kZoom + kZoom / 2, y * kZoom + kZoom / 2}; }
    void click(QPoint p)
    {
        tools.mousePress(p);
        tools.mouseRelease(p);
    }
};

} // namespace

TEST_F(InsertTool, OnePressInsertsAtTheCellAndTheReleaseReturnsToTheTool)
{
    struct Case { const char* name; TInsertType type; int count; QPoint cell; QSize size; };
    const Case cases[] = {
        {"columns at the pressed column", itColumn, 2, {3, 1}, {10, 6}},
        {"rows at the pressed row", itRow, 3, {5, 4}, {8, 9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmallDesign s(8, 6);
        s.doc.updatePixel(3, 4, kRed, false);
        TActions h(s.doc);
        ToolController t(s.doc, h);
        PointerMapping m;
        m.cellWidth = m.cellHeight = kZoom;
        t.setMapping(m);
        t.Setmode(modFill);
        t.beginInsert(c.type, c.count);
        EXPECT_EQ(t.mode(), modInsert);
        t.mousePress(px(c.cell.x(), c.cell.y()));
        EXPECT_EQ(t.mode(), modInsert);
        t.mouseRelease(px(c.cell.x(), c.cell.y()));
        EXPECT_EQ(t.mode(), modFill);
        EXPECT_EQ(QSize(s.doc.width(), s.doc.height()), c.size);
        // The red cell sat in the pressed column (row) and moved with it.
        const QPoint red = c.type == itColumn ? QPoint(3 + c.count, 4) : QPoint(3, 4 + c.count);
        EXPECT_EQ(s.doc.CrossCells.pixel(red), keyToPixel(kRed));
        EXPECT_EQ(h.count(), 1);
        h.Undo();
        EXPECT_EQ(QSize(s.doc.width(), s.doc.height()), QSize(8, 6));
        EXPECT_EQ(s.doc.CrossCells.pixel(3, 4), keyToPixel(kRed));
    }
}

TEST_F(InsertTool, TheDialogConfirmedAgainKeepsTheModeToReturnTo)
{
    tools.beginInsert(itRow, 1);
    tools.beginInsert(itColumn, 4);
    EXPECT_EQ(tools.insertReturnMode(), modFill);
    click(px(0, 0));
    EXPECT_EQ(doc.width(), 12);
    EXPECT_EQ(tools.mode(), modFill);
    // The next press fills again, it inserts nothing.
    click(px(1, 1));
    EXPECT_EQ(doc.width(), 12);
}

TEST_F(InsertTool, APressOutsideTheDesignInsertsNothing)
{
    tools.beginInsert(itColumn, 1);
    click(px(8, 2));
    EXPECT_EQ(doc.width(), 8);
    EXPECT_EQ(history.count(), 0);
    EXPECT_EQ(tools.mode(), modFill);
}

TEST_F(InsertTool, ARefusedInsertionChangesNothingAndSaysWhy)
{
    QSignalSpy refused(&tools, &ToolController::refused);
    const QJsonObject before = snapshot(doc);
    tools.beginInsert(itColumn, 32767);
    click(px(2, 2));
    EXPECT_EQ(snapshot(doc), before);
    EXPECT_EQ(history.count(), 0);
    ASSERT_EQ(refused.count(), 1);
    EXPECT_TRUE(refused.at(0).at(0).toString().contains(QStringLiteral("32767")));
    EXPECT_EQ(tools.mode(), modFill);
}
