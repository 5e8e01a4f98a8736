// The document's bulk cell and quarter writes: the same design, counts, symbols and colour list
// as one updatePixel / updateQPixel per point, and one notice for the region that changed.
#include "core/BulkWrite.h"
#include "support/SmallDesign.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// The colour list as a list of keys, in its sorted order.
QList<ColorKey> listedColours(PatternDocument& doc)
{
    doc.sortColorSymbols();
    QList<ColorKey> out;
    for (const TColorSymbols& s : doc.ColorSymbolsList)
        out.append(s.Color);
    return out;
}

// What a one-by-one write does with a content: a background value empties, a key is drawn.
quint32 plainContent(const PatternDocument& doc, quint32 content)
{
    return (content >> 24) != 0 ? doc.stitch().BackGroundColor : content;
}

TEST(BulkWrite, SameResultAsOnePointAtATime)
{
    // Contents a write may meet: the four colours, the background, a key missing from the
    // table and the background value of an earlier background.
    const quint32 contents[] = {kRed, kGreen, kWhite, kBlue, 0xFFFFFFFFu,
                                makeColorKey(1, 2, 3), 0xFF123456u};
    QRandomGenerator rng(7);
    for (bool allColours : {true, false}) {
        SmallDesign plain(9, 7), bulk(9, 7);
        plain.doc.setAllColorsView(allColours);
        bulk.doc.setAllColorsView(allColours);
        for (int step = 0; step < 300; ++step) {
            const bool quarters = rng.bounded(3) == 0;
            const bool oneColour = rng.bounded(2) == 0;
            const QSize size = quarters ? QSize(18, 14) : QSize(9, 7);
            QList<QPoint> points;
            QList<quint32> perPoint;
            const int n = rng.bounded(0, 40);
            const quint32 colour = contents[rng.bounded(int(std::size(contents)))];
            for (int i = 0; i < n; ++i) {
                // Some points outside, some repeated.
                points.append(QPoint(rng.bounded(-1, size.width() + 1), rng.bounded(-1, size.height() + 1)));
                perPoint.append(oneColour ? colour : contents[rng.bounded(int(std::size(contents)))]);
            }
            for (int i = 0; i < n; ++i) {
                const quint32 c = plainContent(plain.doc, perPoint[i]);
                if (quarters)
                    plain.doc.updateQPixel(points[i].x(), points[i].y(), c, false);
                else
                    plain.doc.updatePixel(points[i].x(), points[i].y(), c, false);
            }
            QList<BulkWrite::Entry> entries;
            for (int i = 0; i < n; ++i)
                entries.append({points[i], perPoint[i]});
            // The three forms: points with one colour, entries with one colour, entries with
            // their own contents.
            const int form = oneColour ? 1 + rng.bounded(2) : 0;
            if (quarters && form == 1)
                BulkWrite::updateQPixels(bulk.doc, points, colour, false);
            else if (quarters && form == 2)
                BulkWrite::updateQPixels(bulk.doc, entries, colour, false);
            else if (quarters)
                BulkWrite::updateQPixels(bulk.doc, entries, false);
            else if (form == 1)
                BulkWrite::updatePixels(bulk.doc, points, colour, false);
            else if (form == 2)
                BulkWrite::updatePixels(bulk.doc, entries, colour, false);
            else
                BulkWrite::updatePixels(bulk.doc, entries, false);

            SCOPED_TRACE(step);
            ASSERT_EQ(snapshot(bulk.doc), snapshot(plain.doc));
            ASSERT_EQ(bulk.doc.checkInvariant().toStdString(), "");
            ASSERT_EQ(bulk.stitch.chars.CharsUsed, plain.stitch.chars.CharsUsed);
            ASSERT_EQ(bulk.stitch.usedColors(), plain.stitch.usedColors());
            ASSERT_EQ(listedColours(bulk.doc), listedColours(plain.doc));
        }
    }
}

TEST(BulkWrite, OneNoticeForTheChangedRegion)
{
    SmallDesign d(8, 6);
    d.doc.setAllColorsView(false);
    QSignalSpy cells(&d.doc, &PatternDocument::cellsChanged);
    QSignalSpy quarters(&d.doc, &PatternDocument::quartersChanged);
    QSignalSpy usage(&d.doc, &PatternDocument::colorUsageChanged);
    QSignalSpy list(&d.doc, &PatternDocument::colorListChanged);
    auto clear = [&] {
        cells.clear();
        quarters.clear();
        usage.clear();
        list.clear();
    };

    // Red becomes used: one notice of each kind, the cells' bounding rectangle.
    BulkWrite::updatePixels(d.doc, QList<QPoint>{{1, 4}, {3, 2}, {2, 5}, {-1, 0}, {8, 1}}, kRed, true);
    ASSERT_EQ(cells.count(), 1);
    EXPECT_EQ(cells.at(0).at(0).toRect(), QRect(QPoint(1, 2), QPoint(3, 5)));
    EXPECT_EQ(usage.count(), 1);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(d.stitch.Colors.find(kRed)->colorCount, 3);

    // The same colour again changes nothing and says nothing.
    clear();
    BulkWrite::updatePixels(d.doc, QList<QPoint>{{1, 4}, {3, 2}}, kRed, true);
    EXPECT_EQ(cells.count() + usage.count() + list.count(), 0);

    // Red leaves, green and blue join: still one notice of each kind.
    clear();
    BulkWrite::updatePixels(d.doc, QList<BulkWrite::Entry>{{{1, 4}, kGreen}, {{3, 2}, kBlue}, {{2, 5}, 0xFFFFFFFFu}}, true);
    EXPECT_EQ(cells.count(), 1);
    EXPECT_EQ(usage.count(), 1);
    EXPECT_EQ(list.count(), 1);
    EXPECT_EQ(d.stitch.Colors.find(kRed)->colorCount, 0);
    EXPECT_EQ(listedColours(d.doc), (QList<ColorKey>{kGreen, kBlue}));

    // Quarters: two of a colour make one use, three make two.
    clear();
    BulkWrite::updateQPixels(d.doc, QList<QPoint>{{0, 0}, {1, 0}, {15, 11}}, kWhite, true);
    ASSERT_EQ(quarters.count(), 1);
    EXPECT_EQ(quarters.at(0).at(0).toRect(), QRect(QPoint(0, 0), QPoint(15, 11)));
    EXPECT_EQ(cells.count(), 0);
    EXPECT_EQ(d.stitch.Colors.find(kWhite)->quarterStitchesCount, 3);
    EXPECT_EQ(d.stitch.Colors.find(kWhite)->colorCount, 2);
    BulkWrite::updateQPixels(d.doc, QList<QPoint>{{1, 0}}, d.bg(), true);
    EXPECT_EQ(d.stitch.Colors.find(kWhite)->colorCount, 1);

    // Without refresh nothing is told about cells or counts.
    clear();
    BulkWrite::updatePixels(d.doc, QList<QPoint>{{0, 0}, {7, 5}}, kBlue, false);
    EXPECT_EQ(cells.count() + usage.count(), 0);
    EXPECT_EQ(d.doc.checkInvariant().toStdString(), "");
}

} // namespace
