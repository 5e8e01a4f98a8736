// The shipped symbol font drawn the way the chart draws it (glyph outlines, no antialiasing):
// every code the characters editor offers has a glyph that leaves ink at every glyph size, and
// no two symbols of 160..600 look the same at 12 pixels.
#include "core/SymbolFont.h"
#include "core/TCharacters.h"
#include "support/TestSupport.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const QString kFamily = QStringLiteral("KorvaldArtSymbols110");

QList<char32_t> offeredCodes()
{
    QList<char32_t> codes;
    for (char32_t c = 33; c <= 126; ++c)
        codes.append(c);
    for (char32_t c = 160; c <= 600; ++c)
        codes.append(c);
    return codes;
}

// The glyph drawn at the top-left of a transparent image, reduced to its ink: the smallest
// rectangle holding every inked pixel, one byte per pixel, prefixed by its size. Empty when
// the glyph draws nothing.
QByteArray inkBitmap(const QRawFont& font, char32_t code)
{
    const int side = int(std::ceil(font.ascent() + font.descent())) + 2;
    const QImage img = renderSymbolGlyph(font, code, QSize(2 * side, side), Qt::black);
    int left = img.width(), top = img.height(), right = -1, bottom = -1;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(row[x]) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0)
        return {};
    QByteArray bits = QByteArray::number(right - left + 1) + 'x' + QByteArray::number(bottom - top + 1) + ':';
    for (int y = top; y <= bottom; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = left; x <= right; ++x)
            bits.append(qAlpha(row[x]) != 0 ? '#' : '.');
    }
    return bits;
}

class SymbolFontTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        family = registerSymbolFontFile(testsupport::shippedDataDir()
                                        + QStringLiteral("/fonts/KorvaldArtSymbols110.ttf"));
    }
    static QString family;
};
QString SymbolFontTest::family;

TEST_F(SymbolFontTest, RegistersUnderItsFamilyName)
{
    EXPECT_EQ(family, kFamily);
    EXPECT_TRUE(symbolRawFont(kFamily, 12).isValid());
}

TEST_F(SymbolFontTest, EveryOfferedCodeHasAGlyphThatDrawsInkAtEverySize)
{
    ASSERT_EQ(family, kFamily);
    const QRawFont font12 = symbolRawFont(kFamily, 12);
    for (char32_t code : offeredCodes())
        EXPECT_TRUE(symbolFontHasGlyph(font12, code)) << "code " << unsigned(code);
    for (int px = 6; px <= 16; ++px) {
        const QRawFont font = symbolRawFont(kFamily, px);
        ASSERT_TRUE(font.isValid());
        for (char32_t code : offeredCodes())
            EXPECT_FALSE(inkBitmap(font, code).isEmpty()) << "code " << unsigned(code) << " at " << px << " px";
    }
}

TEST_F(SymbolFontTest, SymbolsDrawDistinctBitmapsAtTwelvePixels)
{
    ASSERT_EQ(family, kFamily);
    const QRawFont font = symbolRawFont(kFamily, 12);
    QHash<QByteArray, char32_t> seen;
    for (char32_t code = 160; code <= 600; ++code) {
        const QByteArray bits = inkBitmap(font, code);
        const auto it = seen.constFind(bits);
        EXPECT_TRUE(it == seen.cend()) << "codes " << unsigned(it == seen.cend() ? 0 : *it) << " and " << unsigned(code)
                                       << " draw the same bitmap";
        seen.insert(bits, code);
    }
}

// The colour panel draws its symbols with the glyph cache's fonts: the same font as a fresh
// one at the same pixel size, and a new font name is not served from the old font.
TEST_F(SymbolFontTest, CachedFontsMatchFreshOnes)
{
    ASSERT_EQ(family, kFamily);
    TCharacters chars;
    chars.setFontName(kFamily, ColorTable());
    const struct { int points; qreal pixels; } rows[] = {{16, 16 * 96.0 / 72.0}, {18, 24.0}, {9, 12.0}};
    for (const auto& r : rows) {
        const QRawFont cached = chars.rawFont(r.points);
        const QRawFont fresh = symbolRawFont(kFamily, r.pixels);
        ASSERT_TRUE(cached.isValid());
        EXPECT_DOUBLE_EQ(cached.pixelSize(), r.pixels) << r.points;
        EXPECT_EQ(inkBitmap(cached, U'A'), inkBitmap(fresh, U'A')) << r.points;
    }
    const QString before = chars.rawFont(16).familyName();
    chars.setFontName(QStringLiteral("No Such Symbol Font"), ColorTable());
    EXPECT_NE(chars.rawFont(16).familyName(), before);
}

TEST(SymbolFontFiles, UnreadableFileRegistersNothing)
{
    EXPECT_TRUE(registerSymbolFontFile(testsupport::tempRoot() + QStringLiteral("/missing.ttf")).isEmpty());
}

} // namespace
