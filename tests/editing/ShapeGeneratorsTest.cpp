// The figure generators of the shape tools as tables of small cases with their exact cell
// lists and orders: lines in every octant, rectangles with pens 1 to 4, circles (clipped by the
// design's edge, filled), the region borders with round and sharp corners and the outline's
// back stitches. The set kept beside each list is checked against the plain list search on
// random cases.
#include "editing/Borders.h"
#include "editing/Figures.h"
#include "editing/Outline.h"
#include "support/SmallDesign.h"

#include <QRandomGenerator>
#include <cmath>
#include <gtest/gtest.h>

using namespace testsupport;
using Cells = QList<QPoint>;

namespace {

std::string show(const Cells& cells)
{
    std::string s;
    for (const QPoint& p : cells)
        s += "(" + std::to_string(p.x()) + "," + std::to_string(p.y()) + ")";
    return s;
}

// A raster of cells: '#' red, 'w' white thread, '.' empty (the background), one row per string.
QImage raster(const QStringList& rows, TColor32 bg = 0xFFFFFFFFu)
{
    QImage img(int(rows.first().size()), int(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QChar c = rows[y][x];
            img.setPixel(x, y, c == '#' ? keyToPixel(kRed) : c == 'w' ? keyToPixel(kWhite) : bg);
        }
    }
    return img;
}

// The algorithms as the plain list search would run them, for comparing with the fast ones.
void plainAppend(Cells& list, QPoint p)
{
    if (!list.contains(p))
        list.append(p);
}

Cells plainRectangle(QPoint a, QPoint b, bool filled, int pen)
{
    Cells out;
    const QList<QPoint> foot = Figures::penFootprint(pen, true);
    const int x0 = qMin(a.x(), b.x()), x1 = qMax(a.x(), b.x());
    const int y0 = qMin(a.y(), b.y()), y1 = qMax(a.y(), b.y());
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (filled || x == x0 || x == x1 || y == y0 || y == y1)
                for (const QPoint& d : foot)
                    plainAppend(out, QPoint(x, y) + d);
    return out;
}

Cells plainCircle(QPoint c, QPoint rim, bool filled, int pen, QSize design)
{
    const QList<QPoint> foot = Figures::penFootprint(pen);
    Cells out;
    auto stamp = [&](int x, int y) {
        for (const QPoint& d : foot)
            plainAppend(out, QPoint(x, y) + d);
    };
    const int m = c.x(), n = c.y();
    const int dx = rim.x() - m, dy = rim.y() - n;
    const int r = int(std::floor(std::sqrt(double(dx * dx + dy * dy))));
    stamp(m, n + r);
    stamp(m, n - r);
    stamp(m + r, n);
    stamp(m - r, n);
    int f = 1 - r, ddx = 1, ddy = -2 * r, x = 0, y = r;
    while (x < y) {
        if (f >= 0) {
            ddy += 2;
            f += ddy;
            --y;
        }
        ddx += 2;
        f += ddx;
        ++x;
        stamp(m + x, n + y), stamp(m - x, n + y), stamp(m + x, n - y), stamp(m - x, n - y);
        stamp(m + y, n + x), stamp(m - y, n + x), stamp(m + y, n - x), stamp(m - y, n - x);
    }
    const QRect inside(QPoint(0, 0), design);
    out.removeIf([&](QPoint p) { return !inside.contains(p); });
    if (filled && !out.contains(c)) {
        Cells stack{c};
        while (!stack.isEmpty()) {
            const QPoint p = stack.takeLast();
            if (!inside.contains(p) || out.contains(p))
                continue;
            out.append(p);
            stack << QPoint(p.x() - 1, p.y()) << QPoint(p.x() + 1, p.y()) << QPoint(p.x(), p.y() - 1)
                  << QPoint(p.x(), p.y() + 1);
        }
    }
    return out;
}

Cells plainRegionBorder(const QImage& img, QPoint s, bool four)
{
    if (!img.rect().contains(s))
        return {};
    const QRgb k = img.pixel(s);
    auto other = [&](QPoint p) { return !img.rect().contains(p) || img.pixel(p) != k; };
    Cells queue{s}, region;
    const QPoint around[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}, {-1, -1}, {1, -1}, {-1, 1}, {1, 1}};
    for (int i = 0; i < queue.size(); ++i) {
        const QPoint c = queue[i];
        if (other(c))
            continue;
        region.append(c);
        for (const QPoint& d : around)
            plainAppend(queue, c + d);
    }
    Cells out;
    for (const QPoint& c : region) {
        bool border = false;
        for (int i = 0; i < (four ? 4 : 8); ++i)
            border = border || other(c + around[i]);
        if (border)
            out.append(c);
    }
    return out;
}

} // namespace

TEST(Figures, PenFootprints)
{
    struct Row { int pen; bool square; Cells cells; };
    const Row rows[] = {
        {1, false, {{0, 0}}},
        {2, false, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
        {3, false, {{0, -1}, {-1, 0}, {0, 0}, {1, 0}, {0, 1}}},
        {3, true, {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}}},
        {4, false, {{0, -1}, {1, -1}, {-1, 0}, {0, 0}, {1, 0}, {2, 0}, {-1, 1}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Figures::penFootprint(r.pen, r.square), r.cells) << "pen " << r.pen << " square " << r.square;
    EXPECT_EQ(Figures::penFootprint(4, true).size(), 16);
}

TEST(Figures, LinesInEveryOctant)
{
    struct Row { QPoint from, to; int pen; Cells cells; };
    const Row rows[] = {
        // flat, right and down
        {{0, 0}, {5, 2}, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        // flat, left and up
        {{5, 2}, {0, 0}, 1, {{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
        // flat, left and up from the middle
        {{5, 5}, {0, 3}, 1, {{5, 5}, {4, 5}, {3, 4}, {2, 4}, {1, 3}, {0, 3}}},
        // flat, right and up
        {{0, 5}, {5, 3}, 1, {{0, 5}, {1, 5}, {2, 4}, {3, 4}, {4, 3}, {5, 3}}},
        // steep, down and right
        {{0, 0}, {2, 5}, 1, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
        // steep, up and left
        {{2, 5}, {0, 0}, 1, {{2, 5}, {2, 4}, {1, 3}, {1, 2}, {0, 1}, {0, 0}}},
        // steep, down and left (into negative columns: the generator does not clip)
        {{0, 0}, {-2, 5}, 1, {{0, 0}, {0, 1}, {-1, 2}, {-1, 3}, {-2, 4}, {-2, 5}}},
        // steep, up and right; and back down and left
        {{3, 5}, {5, 0}, 1, {{3, 5}, {3, 4}, {4, 3}, {4, 2}, {5, 1}, {5, 0}}},
        {{5, 0}, {3, 5}, 1, {{5, 0}, {5, 1}, {4, 2}, {4, 3}, {3, 4}, {3, 5}}},
        // diagonal, horizontal, vertical, one point
        {{0, 0}, {3, 3}, 1, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {{1, 1}, {4, 1}, 1, {{1, 1}, {2, 1}, {3, 1}, {4, 1}}},
        {{2, 3}, {2, 0}, 1, {{2, 3}, {2, 2}, {2, 1}, {2, 0}}},
        {{3, 3}, {3, 3}, 1, {{3, 3}}},
        // the pen stamped at every point, each cell once
        {{0, 0}, {2, 0}, 2, {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {2, 1}, {3, 0}, {3, 1}}},
        // a line's end with pen 3 is round
        {{2, 2}, {2, 2}, 3, {{2, 1}, {1, 2}, {2, 2}, {3, 2}, {2, 3}}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(show(Figures::line(r.from, r.to, r.pen)), show(r.cells))
            << "from " << r.from.x() << "," << r.from.y() << " to " << r.to.x() << "," << r.to.y()
            << " pen " << r.pen;
}

TEST(Figures, RectanglesWithEveryPen)
{
    struct Row { QPoint from, to; bool filled; int pen; Cells cells; };
    const Row rows[] = {
        {{3, 3}, {1, 1}, false, 1, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}},
        {{1, 1}, {2, 2}, true, 1, {{1, 1}, {2, 1}, {1, 2}, {2, 2}}},
        {{1, 3}, {3, 1}, true, 1, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}},
        {{0, 0}, {1, 1}, false, 2, {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}},
        {{0, 0}, {1, 0}, true, 2, {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 0}, {2, 1}}},
        // one cell clicked twice: one footprint, square even for pens 3 and 4
        {{2, 2}, {2, 2}, false, 3, {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}, {1, 3}, {2, 3}, {3, 3}}},
        {{2, 2}, {2, 2}, false, 4, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {2, 2}, {3, 2}, {4, 2},
                                    {1, 3}, {2, 3}, {3, 3}, {4, 3}, {1, 4}, {2, 4}, {3, 4}, {4, 4}}},
        {{1, 1}, {4, 1}, false, 3, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2},
                                    {3, 0}, {3, 1}, {3, 2}, {4, 0}, {4, 1}, {4, 2}, {5, 0}, {5, 1}, {5, 2}}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(show(Figures::rectangle(r.from, r.to, r.filled, r.pen)), show(r.cells))
            << "filled " << r.filled << " pen " << r.pen;
}

TEST(Figures, CirclesClippedAndFilled)
{
    const Cells rim2 = {{5, 7}, {5, 3}, {7, 5}, {3, 5}, {6, 7}, {4, 7}, {6, 3}, {4, 3},
                        {7, 6}, {3, 6}, {7, 4}, {3, 4}};
    const Cells inside2 = {{5, 5}, {5, 6}, {6, 6}, {6, 5}, {6, 4}, {5, 4}, {4, 4}, {4, 5}, {4, 6}};
    struct Row { const char* what; QPoint centre, rim; bool filled; int pen; QSize design; Cells cells; };
    const Row rows[] = {
        {"radius 0", {3, 3}, {3, 3}, false, 1, {8, 8}, {{3, 3}}},
        {"radius 0 filled adds nothing", {3, 3}, {3, 3}, true, 1, {8, 8}, {{3, 3}}},
        {"radius 0 pen 3", {3, 3}, {3, 3}, true, 3, {8, 8}, {{3, 2}, {2, 3}, {3, 3}, {4, 3}, {3, 4}}},
        {"radius 1", {3, 3}, {4, 3}, false, 1, {8, 8}, {{3, 4}, {3, 2}, {4, 3}, {2, 3}}},
        {"radius 1 filled", {3, 3}, {3, 4}, true, 1, {8, 8}, {{3, 4}, {3, 2}, {4, 3}, {2, 3}, {3, 3}}},
        // the radius is the whole part of the distance: sqrt(5) gives 2
        {"radius 2", {5, 5}, {6, 7}, false, 1, {10, 10}, rim2},
        {"radius 2 filled", {5, 5}, {7, 5}, true, 1, {10, 10}, rim2 + inside2},
        {"clipped by the left edge", {0, 2}, {2, 2}, false, 1, {6, 6},
         {{0, 4}, {0, 0}, {2, 2}, {1, 4}, {1, 0}, {2, 3}, {2, 1}}},
        {"clipped and filled up to the edge", {0, 2}, {2, 2}, true, 1, {6, 6},
         {{0, 4}, {0, 0}, {2, 2}, {1, 4}, {1, 0}, {2, 3}, {2, 1},
          {0, 2}, {0, 3}, {1, 3}, {1, 2}, {1, 1}, {0, 1}}},
        {"centre beyond the design: nothing to fill from", {6, 2}, {8, 2}, true, 1, {6, 6},
         {{4, 2}, {5, 4}, {5, 0}, {4, 3}, {4, 1}}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(show(Figures::circle(r.centre, r.rim, r.filled, r.pen, r.design)), show(r.cells)) << r.what;
}

TEST(Figures, FastListsMatchThePlainSearch)
{
    QRandomGenerator rng(11);
    for (int i = 0; i < 200; ++i) {
        const QPoint a(rng.bounded(-3, 14), rng.bounded(-3, 14)), b(rng.bounded(-3, 14), rng.bounded(-3, 14));
        const bool filled = rng.bounded(2) == 1;
        const int pen = rng.bounded(1, 5);
        ASSERT_EQ(show(Figures::rectangle(a, b, filled, pen)), show(plainRectangle(a, b, filled, pen)));
        const QSize design(rng.bounded(1, 12), rng.bounded(1, 12));
        const QPoint c(rng.bounded(0, design.width() + 1), rng.bounded(0, design.height() + 1));
        ASSERT_EQ(show(Figures::circle(c, a, filled, pen, design)), show(plainCircle(c, a, filled, pen, design)))
            << "centre " << c.x() << "," << c.y() << " rim " << a.x() << "," << a.y();
    }
    // Larger filled circles, often clipped, where the fill's walk turns many times.
    for (int i = 0; i < 40; ++i) {
        const QSize design(rng.bounded(20, 70), rng.bounded(20, 70));
        const QPoint c(rng.bounded(-5, design.width() + 5), rng.bounded(-5, design.height() + 5));
        const QPoint a(c.x() + rng.bounded(-40, 41), c.y() + rng.bounded(-40, 41));
        const int pen = rng.bounded(1, 5);
        ASSERT_EQ(show(Figures::circle(c, a, true, pen, design)), show(plainCircle(c, a, true, pen, design)))
            << "centre " << c.x() << "," << c.y() << " rim " << a.x() << "," << a.y();
    }
}

TEST(Figures, ClippedKeepsTheOrderOfTheInsideCells)
{
    EXPECT_EQ(show(Figures::clipped({{-1, 0}, {2, 1}, {3, 0}, {0, 0}, {1, 2}, {0, -1}}, {3, 2})),
              show({{2, 1}, {0, 0}}));
}

TEST(Borders, RegionsInTheOrderTheWalkReachesThem)
{
    const QImage img = raster({"##.", ".#.", "..#"});
    EXPECT_EQ(show(Borders::region8(img, {0, 0})), show({{0, 0}, {1, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(show(Borders::region4(img, {0, 0})), show({{0, 0}, {1, 0}, {1, 1}}));
    // The empty cells: every other cell, 8-connected round the diagonal.
    EXPECT_EQ(show(Borders::region8(img, {2, 0})), show({{2, 0}, {2, 1}, {1, 2}, {0, 2}, {0, 1}}));
    EXPECT_TRUE(Borders::region4(img, {-1, 0}).isEmpty());
}

TEST(Borders, InlineBorderRoundAndSharpCorners)
{
    // The middle cell touches the empty cell only at its corner.
    const QImage notch = raster({"##.", "###", "###"});
    // A ring of white thread round empty cells: a white thread is not the empty background.
    const QImage white = raster({"www", "w.w", "www"});
    struct Row { const char* what; QImage img; QPoint start; bool sharp; Cells cells; };
    const Row rows[] = {
        {"round leaves the inner corner out", notch, {0, 0}, false,
         {{0, 0}, {1, 0}, {0, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}},
        {"sharp paints it", notch, {0, 0}, true,
         {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}},
        {"a one-cell region", notch, {2, 0}, false, {{2, 0}}},
        {"outside the design", notch, {3, 0}, false, {}},
        {"the empty cell inside white threads is a region of its own", white, {1, 1}, true, {{1, 1}}},
        // 8-connected: the diagonal neighbour belongs to the region
        {"diagonal cells join", raster({"#..", ".#.", "..."}), {0, 0}, false, {{0, 0}, {1, 1}}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(show(Borders::inlineBorder(r.img, r.start, r.sharp)), show(r.cells)) << r.what;
}

TEST(Borders, OutlineBorderRoundAndSharpCorners)
{
    const QImage block = raster({".....", ".##..", ".##..", ".....", "....."});
    struct Row { const char* what; QImage img; QPoint start; bool sharp; Cells cells; };
    const Row rows[] = {
        {"round: the sides only", block, {1, 1}, false,
         {{0, 1}, {1, 0}, {3, 1}, {2, 0}, {0, 2}, {1, 3}, {3, 2}, {2, 3}}},
        {"sharp: the corners too", block, {1, 1}, true,
         {{0, 1}, {1, 0}, {0, 0}, {2, 0}, {0, 2}, {3, 1}, {3, 0}, {3, 2}, {1, 3}, {0, 3}, {2, 3}, {3, 3}}},
        {"ring clipped by the design's edge", raster({"#.", ".."}), {0, 0}, true, {{1, 0}, {0, 1}, {1, 1}}},
        {"no outside cell inside the design", raster({"##", "##"}), {1, 1}, true, {}},
        {"outside the design", block, {5, 5}, false, {}},
    };
    for (const Row& r : rows)
        EXPECT_EQ(show(Borders::outlineBorder(r.img, r.start, r.sharp)), show(r.cells)) << r.what;
}

TEST(Borders, FastRegionMatchesThePlainSearch)
{
    QRandomGenerator rng(17);
    for (int i = 0; i < 100; ++i) {
        QStringList rows;
        const int w = rng.bounded(1, 10), h = rng.bounded(1, 10);
        for (int y = 0; y < h; ++y) {
            QString row;
            for (int x = 0; x < w; ++x)
                row += QLatin1Char("#.w"[rng.bounded(3)]);
            rows << row;
        }
        const QImage img = raster(rows);
        const QPoint s(rng.bounded(w), rng.bounded(h));
        for (bool four : {false, true})
            ASSERT_EQ(show(Borders::regionBorder(img, s, four)), show(plainRegionBorder(img, s, four)))
                << rows.join('/').toStdString();
    }
}

TEST(Outline, BackStitchesRoundARegion)
{
    using Stitches = QList<std::pair<QPoint, QPoint>>;
    struct Row { const char* what; QImage img; QPoint start; Stitches stitches; };
    const Row rows[] = {
        {"an isolated cell: a closed square of four stitches of length 2",
         raster({".....", ".....", "..#..", ".....", "....."}), {2, 2},
         {{{4, 4}, {4, 6}}, {{4, 6}, {6, 6}}, {{6, 6}, {6, 4}}, {{6, 4}, {4, 4}}}},
        {"a 3 x 1 bar: two stitches of length 6 and two of length 2",
         raster({".....", ".....", ".###.", ".....", "....."}), {1, 2},
         {{{2, 4}, {2, 6}}, {{2, 6}, {8, 6}}, {{8, 6}, {8, 4}}, {{8, 4}, {2, 4}}}},
        {"an empty region along the design's edge",
         raster({"...", "..."}), {0, 0},
         {{{0, 0}, {0, 4}}, {{0, 4}, {6, 4}}, {{6, 4}, {6, 0}}, {{6, 0}, {0, 0}}}},
        {"white threads and empty cells are different contents",
         raster({"w."}), {0, 0},
         {{{0, 0}, {0, 2}}, {{0, 2}, {2, 2}}, {{2, 2}, {2, 0}}, {{2, 0}, {0, 0}}}},
        {"4-connected: a diagonal neighbour is another region",
         raster({"#.", ".#"}), {0, 0},
         {{{0, 0}, {0, 2}}, {{0, 2}, {2, 2}}, {{2, 2}, {2, 0}}, {{2, 0}, {0, 0}}}},
        {"outside the design", raster({"#"}), {1, 0}, {}},
    };
    for (const Row& r : rows) {
        const QList<TBackStitch> got = Outline::stitches(r.img, r.start, kBlue);
        Stitches ends;
        for (const TBackStitch& b : got) {
            ends.append({b.FromPoint, b.ToPoint});
            EXPECT_EQ(b.Color, kBlue);
        }
        EXPECT_EQ(ends, r.stitches) << r.what;
    }
}

TEST(Outline, ChainingAndJoining)
{
    auto st = [](int x0, int y0, int x1, int y1) {
        TBackStitch b;
        b.FromPoint = {x0, y0};
        b.ToPoint = {x1, y1};
        return b;
    };
    // The first later stitch that starts at the end moves up; a stitch without a follower
    // leaves the next one where it is.
    const QList<TBackStitch> sides = {st(0, 0, 2, 0), st(5, 5, 6, 6), st(2, 0, 4, 0), st(2, 0, 2, 2),
                                      st(4, 0, 4, 2)};
    const QList<TBackStitch> chain = {st(0, 0, 2, 0), st(2, 0, 4, 0), st(4, 0, 4, 2), st(5, 5, 6, 6),
                                      st(2, 0, 2, 2)};
    EXPECT_EQ(Outline::chained(sides), chain);
    // Collinear stitches that meet become one; a turn stays.
    EXPECT_EQ(Outline::joined(chain), (QList<TBackStitch>{st(0, 0, 4, 0), st(4, 0, 4, 2), st(5, 5, 6, 6),
                                                          st(2, 0, 2, 2)}));
}
