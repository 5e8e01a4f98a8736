// How often the design document notifies its observers: a bulk operation (recount, list
// rebuild, font change, a batch of cell changes) tells each observer once at its end, while a
// single cell change still notifies at once. The colour list model refreshes only its count
// column when just the counts change.
#include "core/ColorListModel.h"
#include "support/SmallDesign.h"

#include <QSignalSpy>
#include <functional>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// Counts of every document signal over one operation.
struct Counts
{
    int list = 0, usage = 0, reset = 0, stitches = 0, cells = 0;
    bool operator==(const Counts&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Counts& c)
{
    return os << "{list " << c.list << ", usage " << c.usage << ", reset " << c.reset
              << ", stitches " << c.stitches << ", cells " << c.cells << "}";
}

Counts countSignals(PatternDocument& doc, const std::function<void()>& op)
{
    QSignalSpy list(&doc, &PatternDocument::colorListChanged);
    QSignalSpy usage(&doc, &PatternDocument::colorUsageChanged);
    QSignalSpy reset(&doc, &PatternDocument::designReset);
    QSignalSpy stitches(&doc, &PatternDocument::stitchesChanged);
    QSignalSpy cells(&doc, &PatternDocument::cellsChanged);
    op();
    return {int(list.count()), int(usage.count()), int(reset.count()), int(stitches.count()),
            int(cells.count())};
}

// Draws the four colours of the small palette into the first row without notifying.
void drawAllColours(PatternDocument& doc)
{
    const ColorKey colours[] = {kRed, kGreen, kWhite, kBlue};
    for (int i = 0; i < 4; ++i)
        doc.updatePixel(i, 0, colours[i], false);
}

struct NotifyCase
{
    const char* name;
    bool allColours;                       // "All colors" or "Only used colors"
    std::function<void(PatternDocument&)> setup;
    std::function<void(PatternDocument&)> op;
    Counts expected;
};

class NotifyTable : public ::testing::TestWithParam<NotifyCase> {};

TEST_P(NotifyTable, EachObserverIsToldOnce)
{
    const NotifyCase& c = GetParam();
    SmallDesign d(6, 4);
    d.doc.setAllColorsView(c.allColours);
    if (c.setup)
        c.setup(d.doc);
    EXPECT_EQ(countSignals(d.doc, [&] { c.op(d.doc); }), c.expected);
    EXPECT_EQ(d.doc.checkInvariant(), QString());
}

const TColor32 kEmpty = 0xFFFFFFFFu; // the new design's background

INSTANTIATE_TEST_SUITE_P(
    Document, NotifyTable,
    ::testing::Values(
        // A recount of four used colours: one list notice, not one per colour.
        NotifyCase{"RecountAllColours", true, drawAllColours,
                   [](PatternDocument& doc) { doc.CalcColorUsage(); }, {1, 1, 0, 0, 0}},
        NotifyCase{"RecountUsedColours", false, drawAllColours,
                   [](PatternDocument& doc) { doc.CalcColorUsage(); }, {1, 1, 0, 0, 0}},
        // Colours that a bulk write left unused leave the list in the same single notice.
        NotifyCase{"RecountDropsUnused", false,
                   [](PatternDocument& doc) {
                       drawAllColours(doc);
                       doc.CalcColorUsage();
                       for (int i = 0; i < 4; ++i)
                           doc.CrossCells.setPixel(i, 0, kEmpty);
                   },
                   [](PatternDocument& doc) { doc.CalcColorUsage(); }, {1, 1, 0, 0, 0}},
        NotifyCase{"RebuildList", true, drawAllColours,
                   [](PatternDocument& doc) { doc.rebuildColorSymbols(); }, {1, 1, 0, 0, 0}},
        NotifyCase{"SwitchToUsedView", true, drawAllColours,
                   [](PatternDocument& doc) { doc.setAllColorsView(false); }, {1, 1, 0, 0, 0}},
        // A font change resets the design, which covers the rebuilt list.
        NotifyCase{"FontChange", true, drawAllColours,
                   [](PatternDocument& doc) { doc.setSymbolFont(doc.stitch().chars.fontname()); },
                   {0, 0, 1, 0, 0}},
        NotifyCase{"RefreshAll", true, nullptr, [](PatternDocument& doc) { doc.refreshAll(); },
                   {0, 0, 1, 0, 0}},
        // Single changes still notify at once.
        NotifyCase{"FirstCellOfAColour", false, nullptr,
                   [](PatternDocument& doc) { doc.updatePixel(1, 1, kRed, true); }, {1, 1, 0, 0, 1}},
        NotifyCase{"AnotherCellOfAUsedColour", false,
                   [](PatternDocument& doc) { doc.updatePixel(0, 0, kRed, true); },
                   [](PatternDocument& doc) { doc.updatePixel(1, 1, kRed, true); }, {0, 1, 0, 0, 1}},
        // The last cell of a colour: removal and re-sort make one list notice.
        NotifyCase{"LastCellOfAColour", false,
                   [](PatternDocument& doc) { doc.updatePixel(0, 0, kRed, true); },
                   [](PatternDocument& doc) { doc.updatePixel(0, 0, kEmpty, true); }, {1, 1, 0, 0, 1}},
        NotifyCase{"OneColourReplacesAnother", false,
                   [](PatternDocument& doc) { doc.updatePixel(0, 0, kRed, true); },
                   [](PatternDocument& doc) { doc.updatePixel(0, 0, kBlue, true); }, {1, 1, 0, 0, 1}},
        NotifyCase{"BackStitch", false, nullptr,
                   [](PatternDocument& doc) {
                       doc.backStitchesAdd(TBackStitch{QPoint(0, 0), QPoint(2, 2), kGreen, 0}, true);
                   },
                   {1, 1, 0, 1, 0}},
        // Many cells in one batch: every cell repaints, the list and counts are told once.
        NotifyCase{"BatchOfCells", false, nullptr,
                   [](PatternDocument& doc) {
                       PatternDocument::NotifyBatch batch(doc);
                       const ColorKey colours[] = {kRed, kGreen, kWhite, kBlue};
                       for (int i = 0; i < 12; ++i)
                           doc.updatePixel(i % 6, i / 6, colours[i % 4], true);
                       doc.updatePixel(0, 0, kEmpty, true);
                   },
                   {1, 1, 0, 0, 13}},
        NotifyCase{"StitchesInABatch", false, nullptr,
                   [](PatternDocument& doc) {
                       PatternDocument::NotifyBatch batch(doc);
                       doc.backStitchesAdd(TBackStitch{QPoint(0, 0), QPoint(2, 2), kGreen, 0}, true);
                       doc.frenchKnotAdd(TFrenchKnot{QPoint(1, 1), kRed, 0}, true);
                       doc.backStitchesRecolor(0, kBlue, true);
                   },
                   {1, 1, 0, 1, 0}},
        NotifyCase{"NestedBatches", false, nullptr,
                   [](PatternDocument& doc) {
                       PatternDocument::NotifyBatch outer(doc);
                       {
                           PatternDocument::NotifyBatch inner(doc);
                           doc.updatePixel(0, 0, kRed, true);
                       }
                       doc.CalcColorUsage();
                       doc.updatePixel(1, 0, kRed, true);
                   },
                   {1, 1, 0, 0, 2}},
        // A reset inside a batch covers what was due before it, not what comes after.
        NotifyCase{"ResetInsideABatch", false, nullptr,
                   [](PatternDocument& doc) {
                       PatternDocument::NotifyBatch batch(doc);
                       doc.updatePixel(0, 0, kRed, true);
                       doc.refreshAll();
                       doc.updatePixel(1, 0, kRed, true);
                   },
                   {0, 1, 1, 0, 2}}),
    [](const ::testing::TestParamInfo<NotifyCase>& info) { return std::string(info.param.name); });

TEST(DocumentNotify, BatchOpensNoNoticeWhenNothingChanged)
{
    SmallDesign d(4, 4);
    const Counts none;
    EXPECT_EQ(countSignals(d.doc, [&] { PatternDocument::NotifyBatch batch(d.doc); }), none);
}

// The message about unknown colours comes after the observers have the recounted list.
TEST(DocumentNotify, RecountMessageFollowsTheListNotice)
{
    SmallDesign d(4, 4);
    d.doc.CrossCells.setPixel(0, 0, keyToPixel(makeColorKey(1, 2, 3)));
    QStringList order;
    QObject::connect(&d.doc, &PatternDocument::colorListChanged, [&] { order << "list"; });
    QObject::connect(&d.doc, &PatternDocument::colorUsageChanged, [&] { order << "usage"; });
    QObject::connect(&d.doc, &PatternDocument::message, [&] { order << "message"; });
    d.doc.CalcColorUsage();
    EXPECT_EQ(order, (QStringList{"list", "usage", "message"}));
}

TEST(DocumentNotify, DrawColourIsToldOnlyWhenItChanges)
{
    SmallDesign d(4, 4);
    d.stitch.setDrawcolor(kRed);
    QSignalSpy spy(&d.stitch, &TStitch::drawcolorChanged);
    const ColorKey sequence[] = {kRed, kRed, kBlue, kBlue, kRed};
    for (ColorKey c : sequence)
        d.stitch.setDrawcolor(c);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(d.stitch.drawcolor(), kRed);
}

// ---------------------------------------------------------------------------------------------
// The colour list model

struct ModelSpies
{
    explicit ModelSpies(ColorListModel& m)
        : resets(&m, &QAbstractItemModel::modelReset), data(&m, &QAbstractItemModel::dataChanged)
    {
    }
    QSignalSpy resets;
    QSignalSpy data;
};

TEST(ColorListModelNotify, CountsAloneRefreshTheCountColumn)
{
    SmallDesign d(4, 4);
    ColorListModel model(d.doc);
    d.doc.updatePixel(0, 0, kBlue, true);

    ModelSpies spies(model);
    d.doc.updatePixel(1, 0, kBlue, true);
    EXPECT_EQ(spies.resets.count(), 0);
    ASSERT_EQ(spies.data.count(), 1);
    const QModelIndex from = spies.data.at(0).at(0).value<QModelIndex>();
    const QModelIndex to = spies.data.at(0).at(1).value<QModelIndex>();
    EXPECT_EQ(from, model.index(0, ColorListModel::ColCount));
    EXPECT_EQ(to, model.index(model.rowCount() - 1, ColorListModel::ColCount));
    EXPECT_EQ(model.data(model.index(model.rowOf(kBlue), ColorListModel::ColCount), Qt::DisplayRole).toInt(), 2);
}

TEST(ColorListModelNotify, ListChangesStillReset)
{
    struct Row
    {
        const char* name;
        std::function<void(SmallDesign&)> op;
        int resets;
    };
    const Row rows[] = {
        {"new colour", [](SmallDesign& d) { d.doc.updatePixel(2, 2, kRed, true); }, 1},
        {"colour gone", [](SmallDesign& d) { d.doc.updatePixel(0, 0, d.bg(), true); }, 1},
        {"recount", [](SmallDesign& d) { d.doc.CalcColorUsage(); }, 1},
        {"sort order", [](SmallDesign& d) { d.doc.setColorSortMode(PatternDocument::csUsage); }, 1},
        {"refresh", [](SmallDesign& d) { d.doc.refreshAll(); }, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        SmallDesign d(4, 4);
        d.doc.setAllColorsView(false);
        d.doc.updatePixel(0, 0, kBlue, true);
        ColorListModel model(d.doc);
        ModelSpies spies(model);
        r.op(d);
        EXPECT_EQ(spies.resets.count(), r.resets);
        EXPECT_EQ(model.rowCount(), d.doc.ColorSymbolsList.size());
    }
}

} // namespace
