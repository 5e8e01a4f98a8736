// The Rhodes editor's logic: which definitions may be changed, adding and changing
// definitions on the zoomed grid, the pointer-to-grid-point rounding, erasing the newest
// stitch under the pointer, names in upper case, and the limits of zoom and grid.
#include "editing/RhodesEditor.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TRhode> definition(const QString& name, int w, int h, bool original,
                                   QList<QLine> stitches = {})
{
    auto r = std::make_unique<TRhode>();
    r->name = name;
    r->width = w;
    r->height = h;
    r->original = original;
    for (const QLine& l : stitches)
        r->stitches.append(TBackStitch{l.p1(), l.p2(), 0, 0});
    return r;
}

QList<QLine> linesOf(const TRhode& r)
{
    QList<QLine> out;
    for (const TBackStitch& s : r.stitches)
        out.append(QLine(s.FromPoint, s.ToPoint));
    return out;
}

struct RhodesEditorTest : ::testing::Test
{
    TRhodeList catalogue;
    void SetUp() override
    {
        catalogue.push_back(definition(QStringLiteral("MINE"), 2, 2, false, {QLine(0, 0, 4, 4)}));
        catalogue.push_back(definition(QStringLiteral("ALPHA"), 1, 1, true, {QLine(0, 0, 2, 2)}));
    }
    // The surface pixel of a grid point at the editor's zoom.
    static QPoint at(const RhodesEditor& e, int x, int y) { return e.pixelOf(QPoint(x, y)); }
};

TEST_F(RhodesEditorTest, StartsWithATwoByTwoGridAtZoomFiftyAndListsByName)
{
    RhodesEditor e(catalogue);
    EXPECT_EQ(e.cellsX(), 2);
    EXPECT_EQ(e.cellsY(), 2);
    EXPECT_EQ(e.zoom(), 50);
    EXPECT_EQ(e.surfaceSize(), QSize(101, 101));
    EXPECT_EQ(e.mode(), RhodesEditor::modNone);
    EXPECT_EQ(e.listOrder(), (QList<int>{1, 0}));
    // Grid lines at every multiple of the zoom, white between them.
    EXPECT_EQ(e.surface().pixel(50, 20), RhodesEditor::kGridColor);
    EXPECT_EQ(e.surface().pixel(20, 100), RhodesEditor::kGridColor);
    EXPECT_EQ(e.surface().pixel(20, 30), 0xFFFFFFFFu);
}

TEST_F(RhodesEditorTest, OnlyDefinitionsTheUserMadeCanBeEditedOrDeleted)
{
    RhodesEditor e(catalogue);
    EXPECT_TRUE(e.canNew());
    EXPECT_FALSE(e.canEdit());
    e.select(0);
    EXPECT_TRUE(e.canEdit());
    EXPECT_TRUE(e.canDelete());
    e.select(1);
    EXPECT_EQ(e.cellsX(), 1);
    EXPECT_EQ(e.name(), QStringLiteral("ALPHA"));
    EXPECT_FALSE(e.canEdit());
    EXPECT_FALSE(e.canDelete());
    e.actEdit();
    EXPECT_EQ(e.mode(), RhodesEditor::modNone);
    EXPECT_EQ(e.actDelete(), -1);
    EXPECT_EQ(catalogue.size(), 2u);
    // Clicking the list with no row selected clears the display.
    e.select(-1);
    EXPECT_EQ(e.edited(), nullptr);
    EXPECT_TRUE(e.name().isEmpty());
}

TEST_F(RhodesEditorTest, NewDefinitionIsDrawnWithTwoPressesPerStitchAndAppendedOnOK)
{
    RhodesEditor e(catalogue);
    e.actAdd();
    EXPECT_EQ(e.mode(), RhodesEditor::modAdd);
    EXPECT_TRUE(e.editing());
    EXPECT_FALSE(e.canNew());
    e.setName(QStringLiteral("star Über"));
    EXPECT_EQ(e.name(), QStringLiteral("STAR ÜBER"));
    EXPECT_EQ(e.setCellsX(3), 3);
    e.mousePress(at(e, 0, 0));
    EXPECT_TRUE(e.startPending());
    // The preview line shows in green from the start to the pointer's grid point.
    e.mouseMove(at(e, 6, 4));
    EXPECT_EQ(e.overlay().pixel(at(e, 3, 2)), RhodesEditor::kPreviewColor);
    e.mousePress(at(e, 6, 4));
    EXPECT_FALSE(e.startPending());
    // Two presses on one grid point give a stitch of length 0.
    e.mousePress(at(e, 2, 2));
    e.mousePress(at(e, 2, 2));
    EXPECT_EQ(e.surface().pixel(at(e, 3, 2)), RhodesEditor::kStitchColor);
    EXPECT_EQ(e.actOK(), 2);
    ASSERT_EQ(catalogue.size(), 3u);
    const TRhode& added = *catalogue[2];
    EXPECT_EQ(added.name, QStringLiteral("STAR ÜBER"));
    EXPECT_EQ(added.width, 3);
    EXPECT_EQ(added.height, 2);
    EXPECT_FALSE(added.original);
    EXPECT_EQ(linesOf(added), (QList<QLine>{QLine(0, 0, 6, 4), QLine(2, 2, 2, 2)}));
    EXPECT_EQ(e.mode(), RhodesEditor::modNone);
    EXPECT_EQ(e.selected(), 2);
}

TEST_F(RhodesEditorTest, CancelDropsANewDefinitionButKeepsChangesToAnExistingOne)
{
    RhodesEditor e(catalogue);
    e.actAdd();
    e.mousePress(at(e, 0, 0));
    e.mousePress(at(e, 4, 4));
    e.actCancel();
    EXPECT_EQ(catalogue.size(), 2u);
    EXPECT_EQ(e.mode(), RhodesEditor::modNone);

    e.select(0);
    e.actEdit();
    EXPECT_EQ(e.mode(), RhodesEditor::modEdit);
    e.mousePress(at(e, 4, 0));
    e.mousePress(at(e, 0, 4));
    e.actCancel();
    EXPECT_EQ(linesOf(*catalogue[0]), (QList<QLine>{QLine(0, 0, 4, 4), QLine(4, 0, 0, 4)}));
}

TEST_F(RhodesEditorTest, PointerToGridPointRoundsHalvesToEven)
{
    RhodesEditor e(catalogue);
    e.setZoom(4); // a grid point every 2 pixels: pixel x is grid point x / 2
    const struct { QPoint px; QPoint grid; } rows[] = {
        {{0, 0}, {0, 0}}, {{1, 1}, {0, 0}}, {{2, 3}, {1, 2}}, {{3, 5}, {2, 2}}, {{7, 6}, {4, 3}},
        {{8, 8}, {4, 4}}, {{40, -9}, {4, 0}}, // beyond the grid: its edge
    };
    for (const auto& r : rows)
        EXPECT_EQ(e.gridPointAt(r.px), r.grid) << r.px.x() << "," << r.px.y();
}

TEST_F(RhodesEditorTest, EraseRemovesOnlyTheNewestStitchUnderThePointer)
{
    RhodesEditor e(catalogue);
    e.select(0);
    e.actEdit();
    e.mousePress(at(e, 4, 0));
    e.mousePress(at(e, 0, 4)); // crosses the first at (2, 2)
    e.setTool(RhodesEditor::toolErase);
    e.mousePress(at(e, 2, 2) + QPoint(2, -2));
    EXPECT_EQ(linesOf(*catalogue[0]), (QList<QLine>{QLine(0, 0, 4, 4)}));
    // Three pixels away misses.
    e.mousePress(at(e, 4, 0) + QPoint(3, 3));
    EXPECT_EQ(catalogue[0]->stitches.size(), 1);
    e.mousePress(at(e, 1, 1));
    EXPECT_TRUE(catalogue[0]->stitches.isEmpty());
    // Every mode change gives the draw tool again.
    e.actOK();
    e.actEdit();
    EXPECT_EQ(e.tool(), RhodesEditor::toolDraw);
}

TEST_F(RhodesEditorTest, ZoomAndGridLimits)
{
    RhodesEditor e(catalogue);
    e.setZoom(3);
    e.zoomOut();
    e.zoomOut();
    e.zoomOut();
    EXPECT_EQ(e.zoom(), 1);
    EXPECT_EQ(e.surfaceSize(), QSize(3, 3));
    e.actAdd();
    EXPECT_EQ(e.setCellsX(0), 1);
    EXPECT_EQ(e.setCellsY(-4), 1);
    EXPECT_EQ(e.setCellsX(25), RhodesEditor::kMaxCells);
    // The grid never gets smaller than the stitches drawn on it need.
    e.setZoom(10);
    e.mousePress(at(e, 0, 0));
    e.mousePress(at(e, 7, 1));
    EXPECT_EQ(e.setCellsX(1), 4);
    EXPECT_EQ(e.setCellsY(1), 1);
}

TEST_F(RhodesEditorTest, DeleteRemovesTheSelectedDefinitionTheUserMade)
{
    RhodesEditor e(catalogue);
    e.select(0);
    EXPECT_EQ(e.actDelete(), 0);
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(catalogue[0]->name, QStringLiteral("ALPHA"));
    EXPECT_EQ(e.selected(), -1);
    EXPECT_EQ(e.edited(), nullptr);
}

} // namespace
