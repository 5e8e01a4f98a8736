// The text tool without a window: words in installed fonts become exactly the cells a plain
// non-anti-aliased drawing of them gives, the block's cells hold the colour or the design's
// background, oversize texts are refused before anything changes, and the enlargement of the
// design is one undoable size change.
#include "editing/MergeAction.h"
#include "editing/TActions.h"
#include "editing/TextRendering.h"
#include "core/QuillError.h"
#include "support/SmallDesign.h"

#include <QFontMetrics>
#include <QPainter>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {

// The cells of a block holding `color`, as rows of '#' and '.' (easy to read in a failure).
QStringList cellRows(const TClipboard& clip, ColorKey color)
{
    QStringList rows;
    for (int y = 0; y < clip.ClipCross.height(); ++y) {
        QString row;
        for (int x = 0; x < clip.ClipCross.width(); ++x) {
            const TColor32 v = clip.ClipCross.pixel(x, y);
            row += v == clip.background ? QLatin1Char('.')
                 : pixelToKey(v) == color && (v >> 24) == 0 ? QLatin1Char('#') : QLatin1Char('?');
        }
        rows << row;
    }
    return rows;
}

// The same rows of a black-on-white picture, dark pixels as '#'.
QStringList inkRows(const QImage& picture)
{
    QStringList rows;
    for (int y = 0; y < picture.height(); ++y) {
        QString row;
        for (int x = 0; x < picture.width(); ++x)
            row += qGray(picture.pixel(x, y)) < 128 ? QLatin1Char('#') : QLatin1Char('.');
        rows << row;
    }
    return rows;
}

// The smallest rectangle holding every '#' of `rows`, cut out.
QStringList cropped(const QStringList& rows)
{
    int top = -1, bottom = -1, left = INT_MAX, right = -1;
    for (int y = 0; y < rows.size(); ++y) {
        const int first = int(rows[y].indexOf(QLatin1Char('#')));
        if (first < 0)
            continue;
        if (top < 0)
            top = y;
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, int(rows[y].lastIndexOf(QLatin1Char('#'))));
    }
    QStringList out;
    for (int y = top; top >= 0 && y <= bottom; ++y)
        out << rows[y].mid(left, right - left + 1);
    return out;
}

// The word drawn as a user's program would: a font of the point size's pixels at 96 dpi,
// anti-aliasing off, onto a white picture with room all round, thresholded at mid grey.
QStringList independentDrawing(const QString& family, int points, bool bold, bool italic,
                               const QString& word)
{
    QFont font(family);
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::NoAntialias);
    QImage canvas(400, 200, QImage::Format_RGB32);
    canvas.setDotsPerMeterX(3780);
    canvas.setDotsPerMeterY(3780);
    canvas.fill(Qt::white);
    QPainter p(&canvas);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QPoint(100, 100), word);
    p.end();
    return cropped(inkRows(canvas));
}

TTextSettings settings(const QString& text, const QString& family, int points, TTextStyle style,
                       ColorKey color = kRed)
{
    TTextSettings s;
    s.text = text;
    s.fontFamily = family;
    s.pointSize = points;
    s.style = style;
    s.color = color;
    return s;
}

constexpr TColor32 kBg = 0xFFFFFFFFu;

} // namespace

TEST(TextRendering, InstalledFontsAreListedAndArialOrItsStandInIsTheFirstChoice)
{
    const QStringList families = TextRendering::fontFamilies();
    EXPECT_TRUE(families.contains(QStringLiteral("Liberation Sans")));
    EXPECT_TRUE(families.contains(QStringLiteral("DejaVu Sans")));
    const QString first = TextRendering::defaultFamily();
    EXPECT_TRUE(first == QStringLiteral("Arial") || first == QStringLiteral("Liberation Sans"))
        << first.toStdString();
}

TEST(TextRendering, AWordBecomesTheCellsOfItsPlainDrawing)
{
    // Each case: the block's text cells, cut to their ink, equal an independent drawing of the
    // word, every text cell in the colour; nothing is cut off at the block's edges.
    const struct { const char* family; int points; TTextStyle style; const char* word; } cases[] = {
        {"Liberation Sans", 10, tsBold, "Hi"},
        {"Liberation Sans", 12, tsRegular, "Anna"},
        {"DejaVu Sans", 14, tsItalic, "fly"},
        {"DejaVu Sans", 18, tsBoldItalic, "Jaw"},
        {"Liberation Serif", 20, tsRegular, "W.g"},
    };
    for (const auto& c : cases) {
        const QString family = QString::fromLatin1(c.family);
        const QString word = QString::fromLatin1(c.word);
        SCOPED_TRACE(c.word);
        const TTextSettings s = settings(word, family, c.points, c.style, kBlue);
        const TClipboard clip = TextRendering::toClipboard(TextRendering::render(s), kBlue, kBg);
        ASSERT_FALSE(clip.isEmpty());
        const QStringList rows = cellRows(clip, kBlue);
        EXPECT_FALSE(rows.join(QString()).contains(QLatin1Char('?')));
        const bool bold = c.style == tsBold || c.style == tsBoldItalic;
        const bool italic = c.style == tsItalic || c.style == tsBoldItalic;
        EXPECT_EQ(cropped(rows).join(QLatin1Char('\n')).toStdString(),
                  independentDrawing(family, c.points, bold, italic, word)
                      .join(QLatin1Char('\n')).toStdString());

        // The block is the text's extent: at least the advance width, exactly a line high
        // unless a glyph reaches beyond the line.
        QFont font(family);
        font.setPixelSize(qRound(c.points * 96.0 / 72.0));
        font.setBold(bold);
        font.setItalic(italic);
        QImage device(1, 1, QImage::Format_RGB32);
        device.setDotsPerMeterX(3780);
        device.setDotsPerMeterY(3780);
        const QFontMetrics fm(font, &device);
        EXPECT_GE(clip.size().width(), fm.horizontalAdvance(word));
        EXPECT_GE(clip.size().height(), fm.height());
        EXPECT_EQ(clip.ClipQuarter.size(), clip.size() * 2);
        EXPECT_TRUE(clip.ClipBackStitches.isEmpty() && clip.ClipFrenchKnots.isEmpty()
                    && clip.ClipRhodes.empty());
    }
}

TEST(TextRendering, UprightBarsGiveSolidRectanglesOfCells)
{
    // "I" in a sans-serif face is an upright bar: whatever the font engine does, its cells are
    // one solid rectangle, and two of them are two equal rectangles side by side.
    for (const char* word : {"I", "II"}) {
        SCOPED_TRACE(word);
        const TTextSettings s = settings(QString::fromLatin1(word), QStringLiteral("DejaVu Sans"),
                                         36, tsRegular);
        const QStringList ink = cropped(cellRows(TextRendering::toClipboard(
            TextRendering::render(s), kRed, kBg), kRed));
        ASSERT_GT(ink.size(), 20);
        const QString first = ink.first();
        for (const QString& row : ink)
            EXPECT_EQ(row, first);
        const QStringList bars = first.split(QLatin1Char('.'), Qt::SkipEmptyParts);
        ASSERT_EQ(bars.size(), qsizetype(qstrlen(word)));
        EXPECT_EQ(bars.first(), bars.last());
        EXPECT_GE(bars.first().size(), 3);
    }
}

TEST(TextRendering, RenderingsHoldOnlyBlackAndWhite)
{
    const QImage r = TextRendering::render(settings(QStringLiteral("Round o's"),
                                                    QStringLiteral("Liberation Serif"), 28,
                                                    tsBoldItalic));
    ASSERT_FALSE(r.isNull());
    int dark = 0;
    for (int y = 0; y < r.height(); ++y)
        for (int x = 0; x < r.width(); ++x) {
            const QRgb v = r.pixel(x, y) & 0xFFFFFFu;
            ASSERT_TRUE(v == 0 || v == 0xFFFFFFu) << x << "," << y;
            dark += v == 0;
        }
    EXPECT_GT(dark, 50);
}

TEST(TextRendering, TheBlockHoldsTheColourOrTheDesignsBackground)
{
    // A hand-made rendering: dark pixels become the colour (a thread pixel, alpha 0), light ones
    // the background given, also when the background is not white and when the text is white.
    QImage rendering(3, 2, QImage::Format_RGB32);
    const QRgb k = qRgb(0, 0, 0), w = qRgb(255, 255, 255), grey = qRgb(100, 100, 100);
    const QRgb pixels[2][3] = {{k, w, grey}, {w, k, qRgb(200, 200, 200)}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            rendering.setPixel(x, y, pixels[y][x]);
    const struct { ColorKey color; TColor32 background; } cases[] = {
        {kRed, 0xFFFFFFFFu}, {kWhite, 0xFFFFFFFFu}, {kGreen, keyToBackground(kBlue)},
    };
    for (const auto& c : cases) {
        const TClipboard clip = TextRendering::toClipboard(rendering, c.color, c.background);
        EXPECT_EQ(clip.background, c.background);
        EXPECT_EQ(cellRows(clip, c.color), QStringList({"#.#", ".#."}));
        EXPECT_EQ(clip.ClipCross.pixel(0, 0), keyToPixel(c.color));
        ASSERT_EQ(clip.ClipQuarter.size(), QSize(6, 4));
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 6; ++x)
                EXPECT_EQ(clip.ClipQuarter.pixel(x, y), c.background);
    }
    EXPECT_TRUE(TextRendering::toClipboard(QImage(), kRed, kBg).isEmpty());
}

TEST(TextRendering, SizeFieldsHoldWholeNumbersFromOne)
{
    const struct { const char* text; std::optional<int> size; } cases[] = {
        {"12", 12}, {" 14 ", 14}, {"72", 72}, {"1", 1}, {"0", std::nullopt}, {"-3", std::nullopt},
        {"12.5", std::nullopt}, {"abc", std::nullopt}, {"", std::nullopt}, {"9x", std::nullopt},
        {"99999999999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextRendering::parseSize(QString::fromLatin1(c.text)), c.size) << c.text;
}

TEST(TextRendering, ColoursAreListedInPaletteOrder)
{
    SmallDesign d;
    // The table's order is red, green, white, blue; the palette order says otherwise.
    const std::pair<ColorKey, int> order[] = {{kRed, 3}, {kGreen, 1}, {kWhite, 1}, {kBlue, 0}};
    for (const auto& [key, id] : order)
        d.stitch.Colors.find(key)->orderID = id;
    EXPECT_EQ(TextRendering::colorList(d.stitch), QList<ColorKey>({kBlue, kGreen, kWhite, kRed}));
}

TEST(TextRendering, TextsBeyondTheLargestDesignAreRefusedBeforeAnythingChanges)
{
    SmallDesign d(20, 20);
    TActions history(d.doc);
    const QJsonObject before = snapshot(d.doc);
    const QString many = QString(200, QLatin1Char('W'));
    const struct { TTextSettings s; qint64 available; const char* says; } cases[] = {
        // A point size whose line alone is higher than the largest design.
        {settings(QStringLiteral("A"), QStringLiteral("DejaVu Sans"), 30000, tsBold), -1, "30000"},
        // Wider than 32767 cells.
        {settings(many, QStringLiteral("DejaVu Sans"), 200, tsBold), -1, "32767"},
        // Within the limits, but not within the memory that is free.
        {settings(QStringLiteral("Hello"), QStringLiteral("DejaVu Sans"), 72, tsBold), 10000,
         "memory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        const QString problem = TextRendering::renderProblem(d.stitch, c.s, c.available);
        EXPECT_TRUE(problem.contains(QLatin1String(c.says))) << problem.toStdString();
        EXPECT_THROW(TextRendering::makeTextBlock(d.doc, history, c.s, true, c.available),
                     QuillError);
        EXPECT_EQ(snapshot(d.doc), before);
        EXPECT_EQ(history.count(), 0);
    }
    EXPECT_TRUE(TextRendering::renderProblem(
                    d.stitch, settings(QStringLiteral("Hello"), QStringLiteral("DejaVu Sans"), 72,
                                       tsBold), -1).isEmpty());
}

TEST(TextRendering, AutoEnlargementGrowsTheDesignToTheTextAsOneUndoableAction)
{
    // A word wider than the 20 x 20 design and lower than it: the design becomes as wide as
    // the block and keeps its height.
    const TTextSettings s = settings(QStringLiteral("Wide text"), QStringLiteral("DejaVu Sans"),
                                     9, tsBold);
    const QSize extent = TextRendering::measure(s).size;
    ASSERT_GT(extent.width(), 20);
    ASSERT_LT(extent.height(), 20);

    SmallDesign d(20, 20);
    d.doc.updatePixel(19, 19, kGreen, false);
    TActions history(d.doc);
    const QJsonObject before = snapshot(d.doc);
    d.stitch.setFileSaved(true);
    const TClipboard clip = TextRendering::makeTextBlock(d.doc, history, s, true, -1);
    EXPECT_EQ(clip.size(), extent);
    EXPECT_EQ(QSize(d.doc.width(), d.doc.height()), QSize(extent.width(), 20));
    EXPECT_EQ(history.count(), 1);
    EXPECT_FALSE(d.stitch.fileSaved());
    expectUndoRedo(history, d.doc, before);

    // Without the enlargement the design stays, and a merge writes only what lies inside it.
    SmallDesign plain(20, 20);
    TActions plainHistory(plain.doc);
    const TClipboard same = TextRendering::makeTextBlock(plain.doc, plainHistory, s, false, -1);
    EXPECT_EQ(plain.doc.width(), 20);
    EXPECT_EQ(plainHistory.count(), 0);
    actionFix(plain.doc, plainHistory, same, QPoint(0, 0));
    int written = 0, inside = 0;
    for (int y = 0; y < same.size().height(); ++y)
        for (int x = 0; x < same.size().width(); ++x)
            if (same.ClipCross.pixel(x, y) != same.background) {
                if (x < 20 && y < 20) {
                    ++inside;
                    EXPECT_EQ(plain.doc.CrossCells.pixel(x, y), keyToPixel(kRed));
                }
            }
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            written += plain.doc.CrossCells.pixel(x, y) != plain.bg();
    EXPECT_GT(inside, 0);
    EXPECT_EQ(written, inside);
    EXPECT_EQ(plain.doc.checkInvariant(), QString());
}

TEST(TextRendering, AnEmptyTextChangesNothing)
{
    // Even at a size whose empty line would be higher than the design.
    SmallDesign d(5, 5);
    TActions history(d.doc);
    const QJsonObject before = snapshot(d.doc);
    const TClipboard clip = TextRendering::makeTextBlock(
        d.doc, history, settings(QString(), QStringLiteral("DejaVu Sans"), 72, tsBold), true, -1);
    EXPECT_TRUE(clip.isEmpty());
    EXPECT_EQ(history.count(), 0);
    EXPECT_EQ(snapshot(d.doc), before);
    EXPECT_GT(TextRendering::measure(settings(QString(), QStringLiteral("DejaVu Sans"), 72, tsBold))
                  .size.height(), 5);
}
