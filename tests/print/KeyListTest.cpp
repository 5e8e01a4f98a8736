// The printed key (entries, order, thread amounts and bags), the stitch-steps list, and what
// the layout reads of a design.
#include "print/KeyList.h"

#include "support/SmallDesign.h"

#include <gtest/gtest.h>

using namespace testsupport;

namespace {

TBackStitch stitch(int x1, int y1, int x2, int y2, ColorKey c)
{
    TBackStitch b;
    b.FromPoint = QPoint(x1, y1);
    b.ToPoint = QPoint(x2, y2);
    b.Color = c;
    return b;
}

std::unique_ptr<TRhode> rhode(ColorKey c, QList<TBackStitch> stitches)
{
    auto r = std::make_unique<TRhode>();
    r->color = c;
    r->width = r->height = 2;
    r->stitches = std::move(stitches);
    return r;
}

QChar symbolOf(const SmallDesign& d, ColorKey c)
{
    return d.stitch.chars.symbolAt(d.stitch.Colors.find(c)->charID);
}

} // namespace

TEST(KeyList, CrossEntriesThenBackEntriesWithTheirCounts)
{
    SmallDesign d(6, 4);
    for (int x = 0; x < 3; ++x)
        d.doc.updatePixel(x, 0, kRed, false);
    d.doc.updatePixel(0, 1, kBlue, false);
    d.doc.updateQPixel(4, 4, kGreen, false); // one quarter counts as one cell
    TFrenchKnot knot;
    knot.Center = QPoint(2, 2);
    knot.Color = kBlue;
    d.doc.frenchKnotAdd(knot, false);              // five units
    d.doc.backStitchesAdd(stitch(0, 0, 4, 0, kRed), false);   // 4
    d.doc.backStitchesAdd(stitch(0, 0, 3, 3, kWhite), false); // floor(4.24) = 4
    d.doc.backStitchesAdd(stitch(0, 0, 0, 2, kRed), false);   // 2
    d.doc.RhodeAdd(rhode(kWhite, {stitch(0, 0, 2, 0, kWhite), stitch(0, 0, 1, 1, kWhite)}), false); // 2 + 1
    d.doc.CalcColorUsage();

    const QList<TMyColor> keys = buildKeyList(d.doc);
    struct Expected
    {
        ColorKey color;
        TColorType type;
        qint32 count;
        const char* name;
        ColorKey ink;
    } expected[] = {
        {kRed, ctCross, 3, "Red", 0x00FFFFFF},
        {kGreen, ctCross, 1, "Green", 0x00FFFFFF},
        {kBlue, ctCross, 6, "Blue", 0x00FFFFFF},
        {kRed, ctBack, 6, "Red", 0x00FFFFFF},
        {kWhite, ctBack, 7, "White", 0},
    };
    ASSERT_EQ(keys.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(keys[i].Color, expected[i].color);
        EXPECT_EQ(keys[i].ColorType, expected[i].type);
        EXPECT_EQ(keys[i].Count, expected[i].count);
        EXPECT_EQ(keys[i].Name, QString(expected[i].name));
        EXPECT_EQ(keys[i].SymbolColor, expected[i].ink);
        EXPECT_EQ(keys[i].Symbol, QString(symbolOf(d, expected[i].color)));
    }
}

TEST(KeyList, ColourOnlyInBackStitchesHasOneCircleEntry)
{
    SmallDesign d(6, 4);
    d.stitch.backlen = 0.5;
    d.stitch.baseLen = 2;
    d.doc.backStitchesAdd(stitch(0, 0, 6, 8, kGreen), false); // length 10
    d.doc.CalcColorUsage();
    const QList<TMyColor> keys = buildKeyList(d.doc);
    ASSERT_EQ(keys.size(), 1);
    EXPECT_EQ(keys[0].ColorType, ctBack);
    EXPECT_EQ(keys[0].Count, 10);
    EXPECT_EQ(threadAmount(keys[0], d.stitch), 10 * 50 + 200);
}

TEST(KeyList, AmountsAndBags)
{
    struct Case
    {
        TColorType type;
        qint32 count;
        double len, backlen, baseLen;
        qint32 bagSize;
        qint64 amount, bags;
    } cases[] = {
        {ctCross, 450, 0.01, 0.5, 0, 200, 450, 3},
        {ctCross, 400, 0.01, 0.5, 0, 200, 400, 2},
        {ctCross, 401, 0.01, 0.5, 0, 200, 401, 3},
        {ctCross, 1, 0.01, 0.5, 0, 200, 1, 1},
        {ctCross, 10, 0.25, 0.01, 1.5, 200, 400, 2},   // 250 + 150
        {ctBack, 10, 0.01, 0.25, 0, 100, 250, 3},
        {ctBack, 3, 0.01, 0.004, 0, 200, 1, 1},        // 1.2 shows as 1
        {ctBack, 1, 0.01, 0.006, 0, 200, 1, 1},        // 0.6 shows as 1
        {ctCross, 5, 0.01, 0.01, 0, 0, 5, 0},          // no bag size: no bags
    };
    for (const Case& c : cases) {
        TStitch st;
        st.len = c.len;
        st.backlen = c.backlen;
        st.baseLen = c.baseLen;
        TMyColor e;
        e.ColorType = c.type;
        e.Count = c.count;
        const qint64 amount = threadAmount(e, st);
        EXPECT_EQ(amount, c.amount) << c.count;
        EXPECT_EQ(bagsFor(amount, c.bagSize), c.bags) << c.count;
    }
}

TEST(KeyList, SortsInTheColourPanelsOrder)
{
    ColorTable table;
    struct Row
    {
        ColorKey key;
        const char* name;
        const char* id;
        qint32 count, order;
    } rows[] = {
        {1, "10", "B5200", 5, 2},
        {2, "9", "310", 9, 0},
        {3, "blue", "3865", 5, 1},
        {4, "Azure", "42", 1, 3},
    };
    QList<TMyColor> keys;
    for (const Row& r : rows) {
        TColorInfo info;
        info.colorName = r.name;
        info.colorID = r.id;
        info.colorCount = r.count;
        info.orderID = r.order;
        table.insert(r.key, info);
        TMyColor k;
        k.Color = r.key;
        k.Name = r.name;
        keys.append(k);
    }
    TMyColor back = keys[0];
    back.ColorType = ctBack;
    keys.append(back); // cross and back entries sort together

    struct Case
    {
        PatternDocument::ColorSort order;
        std::vector<ColorKey> expected;
    } cases[] = {
        {PatternDocument::csPalette, {2, 3, 1, 1, 4}},
        {PatternDocument::csName, {2, 1, 1, 4, 3}},   // 9 < 10 by value, "Azure" < "blue"
        {PatternDocument::csNumber, {4, 2, 3, 1, 1}}, // 42 < 310 < 3865, then "B5200"
        {PatternDocument::csUsage, {2, 3, 1, 1, 4}},  // 9, then 5 and 5 by palette order, 1
    };
    for (const Case& c : cases) {
        QList<TMyColor> sorted = keys;
        sortKeyList(sorted, table, c.order);
        std::vector<ColorKey> got;
        for (const TMyColor& k : sorted)
            got.push_back(k.Color);
        EXPECT_EQ(got, c.expected) << int(c.order);
    }
}

TEST(StitchSteps, RowsCutIntoRunsOfOneColour)
{
    SmallDesign d(5, 3);
    for (int x = 0; x < 5; ++x)
        d.doc.updatePixel(x, 0, kRed, false); // row 1: one run of red
    // row 2: empty
    d.doc.updatePixel(0, 2, kBlue, false);    // row 3: blue, 2 background, 2 green
    d.doc.updatePixel(3, 2, kGreen, false);
    d.doc.updatePixel(4, 2, kGreen, false);
    d.doc.CalcColorUsage();

    const QList<TStitchListItem> steps = buildStitchSteps(d.doc);
    struct Expected
    {
        qint32 row, count;
        bool background;
        const char* name;
        ColorKey symbolOf;
    } expected[] = {
        {1, 5, false, "Red", kRed},
        {2, 5, true, "Red", kRed}, // background keeps the name before it
        {3, 1, false, "Blue", kBlue},
        {3, 2, true, "Blue", kBlue},
        {3, 2, false, "Green", kGreen},
    };
    ASSERT_EQ(steps.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(steps[i].Row, expected[i].row);
        EXPECT_EQ(steps[i].Count, expected[i].count);
        EXPECT_EQ(steps[i].isBackgroud, expected[i].background);
        EXPECT_EQ(steps[i].ColorName, QString(expected[i].name));
        EXPECT_EQ(steps[i].Symbol, QString(symbolOf(d, expected[i].symbolOf)));
    }
    EXPECT_EQ(steps[0].Color, kRed);
    EXPECT_EQ(steps[0].SymbolColor, 0x00FFFFFFu);
}

TEST(StitchSteps, EveryRowHasALine)
{
    SmallDesign d(7, 4);
    const QList<TStitchListItem> steps = buildStitchSteps(d.doc);
    ASSERT_EQ(steps.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(steps[i].Row, i + 1);
        EXPECT_EQ(steps[i].Count, 7);
        EXPECT_TRUE(steps[i].isBackgroud);
    }
}

TEST(KeyList, LayoutInputFromTheDesignAndTheSettings)
{
    SmallDesign d(12, 9);
    d.stitch.thickLines = 51;
    d.stitch.mediumLines = 21;
    d.stitch.thinLines = 2;
    d.stitch.backstitchLines = 61;
    d.stitch.symbolSize = 90;
    d.stitch.LegendDistance = 7;
    d.stitch.LabelGridHor = 3;
    d.stitch.LabelGridVert = 8;
    d.stitch.print.BorderLeft = 11;
    d.stitch.print.BorderTop = 12;
    d.stitch.print.BorderRight = 13;
    d.stitch.print.BorderBottom = 14;
    d.stitch.print.JPEGWidth = 640;
    d.stitch.print.JPEGHeight = 480;
    d.stitch.print.JPEGGrid = 16;
    d.doc.KnittingMode = true;

    TLayoutInput in = layoutInputFor(d.doc, QList<TMyColor>(3), QList<TStitchListItem>(5));
    EXPECT_EQ(in.width, 12);
    EXPECT_EQ(in.height, 9);
    EXPECT_FALSE(in.hasBackOrRhodes);
    EXPECT_TRUE(in.knittingMode);
    EXPECT_EQ(in.keyCount, 3);
    EXPECT_EQ(in.stitchListLength, 5);
    EXPECT_EQ(std::tie(in.thickLines, in.mediumLines, in.thinLines, in.backstitchLines), std::tuple(51, 21, 2, 61));
    EXPECT_EQ(in.symbolSize, 90);
    EXPECT_EQ(in.legendDistance, 7);
    EXPECT_EQ(std::tie(in.labelGridHor, in.labelGridVert), std::tuple(3, 8));
    EXPECT_EQ(std::tie(in.borderLeft, in.borderTop, in.borderRight, in.borderBottom), std::tuple(11, 12, 13, 14));
    EXPECT_EQ(std::tie(in.jpegWidth, in.jpegHeight, in.jpegGrid), std::tuple(640, 480, 16));

    // Back stitches or Rhodes stitches ask for back-stitch pages; French knots alone do not.
    TFrenchKnot knot;
    knot.Color = kRed;
    d.doc.frenchKnotAdd(knot, false);
    EXPECT_FALSE(layoutInputFor(d.doc, {}, {}).hasBackOrRhodes);
    d.doc.RhodeAdd(rhode(kRed, {stitch(0, 0, 1, 1, kRed)}), false);
    EXPECT_TRUE(layoutInputFor(d.doc, {}, {}).hasBackOrRhodes);
    d.doc.RhodeDelete(0, false);
    d.doc.backStitchesAdd(stitch(0, 0, 1, 1, kRed), false);
    EXPECT_TRUE(layoutInputFor(d.doc, {}, {}).hasBackOrRhodes);
}
