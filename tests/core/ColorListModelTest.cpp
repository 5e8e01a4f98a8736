// The colour list as the panel shows it: rows follow the document's list in both views and
// every sort order, with the symbol only on used colours, and the status-bar count.
#include "core/ColorListModel.h"
#include "support/SmallDesign.h"

#include <gtest/gtest.h>

using namespace testsupport;

TEST(ColorListModel, RowsFollowTheDocument)
{
    SmallDesign d(4, 4);
    ColorListModel model(d.doc);
    EXPECT_EQ(model.rowCount(), 4); // all colours at start
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), "Number");
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "Pixel");

    d.doc.updatePixel(0, 0, kBlue, true);
    d.doc.updatePixel(1, 0, kBlue, true);
    const int row = model.rowOf(kBlue);
    ASSERT_GE(row, 0);
    EXPECT_EQ(model.data(model.index(row, ColorListModel::ColName), Qt::DisplayRole).toString(), "Blue");
    EXPECT_EQ(model.data(model.index(row, ColorListModel::ColCount), Qt::DisplayRole).toInt(), 2);
    EXPECT_TRUE(model.data(model.index(row, 0), ColorListModel::HasGlyphRole).toBool());
    EXPECT_FALSE(model.data(model.index(model.rowOf(kRed), 0), ColorListModel::HasGlyphRole).toBool());
    EXPECT_EQ(model.usedColorsText(), "Colors used: 1 (7)");

    d.doc.setColorSortMode(PatternDocument::csUsage);
    EXPECT_EQ(model.colorAt(0), kBlue);

    d.doc.setAllColorsView(false);
    EXPECT_EQ(model.rowCount(), 1);
    d.doc.updatePixel(0, 0, d.bg(), true);
    d.doc.updatePixel(1, 0, d.bg(), true);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.usedColorsText(), "Colors used: 0 (7)");
}
