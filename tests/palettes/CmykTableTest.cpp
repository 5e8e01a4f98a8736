// The CMYK table: the two conversions, "cmyk.ini" read and written, damaged files reported
// and read as far as they are good, and the colour printing uses for a thread colour.
#include "core/QuillError.h"
#include "palettes/CmykTable.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

struct Rgb
{
    int r, g, b;
};

ColorKey key(Rgb c) { return makeColorKey(c.r, c.g, c.b); }

std::string show(ColorKey c)
{
    return QStringLiteral("(%1,%2,%3)").arg(kRedOf(c)).arg(kGreenOf(c)).arg(kBlueOf(c)).toStdString();
}

TEST(CmykTable, RgbToCmyk)
{
    const struct { Rgb rgb; int c, m, y, k; } cases[] = {
        {{255, 0, 0}, 0, 100, 100, 0},
        {{0, 0, 0}, 0, 0, 0, 100},
        {{255, 255, 255}, 0, 0, 0, 0},
        {{128, 128, 128}, 0, 0, 0, 50},   // grey is black ink only
        {{0, 128, 255}, 100, 50, 0, 0},
        {{1, 0, 0}, 0, 100, 100, 100},    // nearly black: k rounds to 100, the hue stays
        {{51, 102, 153}, 67, 33, 0, 40},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(show(key(t.rgb)));
        const TCMYK v = rgbToCmyk(key(t.rgb));
        EXPECT_EQ(v.C, t.c);
        EXPECT_EQ(v.M, t.m);
        EXPECT_EQ(v.Y, t.y);
        EXPECT_EQ(v.K, t.k);
        EXPECT_EQ(v.RGBColor, cmykToRgb(t.c, t.m, t.y, t.k));
    }
}

TEST(CmykTable, CmykToRgb)
{
    const struct { int c, m, y, k; Rgb rgb; } cases[] = {
        {0, 0, 0, 100, {0, 0, 0}},
        {50, 0, 0, 0, {128, 255, 255}},    // 127.5 goes to the even neighbour
        {0, 50, 0, 0, {255, 128, 255}},
        {0, 0, 50, 0, {255, 255, 128}},
        {0, 0, 0, 0, {255, 255, 255}},
        {100, 100, 100, 0, {0, 0, 0}},
        {0, 0, 0, 50, {128, 128, 128}},
        {50, 0, 0, 50, {64, 128, 128}},    // 63.75 and 127.5
        {10, 20, 30, 10, {207, 184, 161}},
        // Values above 100 (a file keeps whatever fits in 8 bits) count as 100: the product of
        // two "negative" factors must not turn a full black into white.
        {200, 0, 0, 200, {0, 0, 0}},
        {255, 0, 0, 0, {0, 255, 255}},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(testing::Message() << t.c << "," << t.m << "," << t.y << "," << t.k);
        EXPECT_EQ(show(cmykToRgb(t.c, t.m, t.y, t.k)), show(key(t.rgb)));
    }
}

TEST(CmykTable, EveryColourComesBackWithinRounding)
{
    // Whole per cents lose a little: a colour's CMYK value prints within 2 of the colour in
    // every channel, and the extremes come back exactly.
    int worst = 0;
    ColorKey worstColour = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 256; b += 3) {
                const ColorKey c = makeColorKey(r, g, b);
                const TCMYK v = rgbToCmyk(c);
                ASSERT_LE(std::max({v.C, v.M, v.Y, v.K}), 100) << show(c);
                const ColorKey back = cmykToRgb(v.C, v.M, v.Y, v.K);
                const int e = std::max({std::abs(int(kRedOf(back)) - r),
                                        std::abs(int(kGreenOf(back)) - g),
                                        std::abs(int(kBlueOf(back)) - b)});
                if (e > worst) {
                    worst = e;
                    worstColour = c;
                }
            }
    EXPECT_LE(worst, 2) << show(worstColour);
    for (Rgb exact : {Rgb{0, 0, 0}, Rgb{255, 255, 255}, Rgb{255, 0, 0}, Rgb{0, 255, 255},
                      Rgb{0, 0, 255}, Rgb{255, 255, 0}}) {
        const TCMYK v = rgbToCmyk(key(exact));
        EXPECT_EQ(show(cmykToRgb(v.C, v.M, v.Y, v.K)), show(key(exact)));
    }
}

TEST(CmykTable, PrintColorSubstitutesOnlyWhenAskedAndKnown)
{
    TStitch st;
    const ColorKey red = makeColorKey(255, 0, 0), blue = makeColorKey(0, 0, 255);
    st.CMYK.insert(cmykTableKey(red), makeCmyk(0, 0, 0, 100));
    EXPECT_EQ(cmykTableKey(red), 0xFFFF0000u);
    const struct { ColorKey c; bool use; ColorKey expected; } cases[] = {
        {red, true, makeColorKey(0, 0, 0)},
        {red, false, red},
        {blue, true, blue},
        {blue, false, blue},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(show(t.c) + (t.use ? " cmyk" : " screen"));
        EXPECT_EQ(printColor(st, t.c, t.use), t.expected);
    }
}

TEST(CmykTable, EmptyTableWritesOnlyTheCount)
{
    EXPECT_EQ(cmykTableBytes(CmykTable()), QByteArray("[main]\r\ncount=0\r\n"));
}

TEST(CmykTable, WrittenInTableOrderWithUpperCaseHex)
{
    CmykTable t;
    t.insert(cmykTableKey(makeColorKey(0xAB, 0xCD, 0xEF)), makeCmyk(1, 2, 3, 4));
    t.insert(cmykTableKey(makeColorKey(0, 0, 0x0A)), makeCmyk(100, 0, 50, 0));
    EXPECT_EQ(cmykTableBytes(t), QByteArray("[main]\r\ncount=2\r\n"
                                            "\r\n[color1]\r\nrgb=$ABCDEF\r\nCValue=1\r\nMValue=2\r\n"
                                            "YValue=3\r\nKValue=4\r\n"
                                            "\r\n[color2]\r\nrgb=$00000A\r\nCValue=100\r\nMValue=0\r\n"
                                            "YValue=50\r\nKValue=0\r\n"));
}

TEST(CmykTable, SaveAndReadBack)
{
    TStitch st;
    st.PalettesPath = testsupport::currentTestPath();
    ASSERT_TRUE(QDir().mkpath(st.PalettesPath));
    // Deliberately not in key order: the order of the table survives the round trip.
    st.CMYK.insert(cmykTableKey(makeColorKey(0, 0, 255)), makeCmyk(100, 100, 0, 0));
    st.CMYK.insert(cmykTableKey(makeColorKey(255, 0, 0)), makeCmyk(0, 100, 100, 0));
    st.CMYK.insert(cmykTableKey(makeColorKey(12, 34, 56)), makeCmyk(7, 0, 100, 33));
    const CmykTable written = st.CMYK;
    saveCmykTable(st);
    EXPECT_TRUE(QFile::exists(st.PalettesPath + QStringLiteral("/cmyk.ini")));

    QStringList warnings;
    loadCmykTable(st, &warnings);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_EQ(st.CMYK, written);

    // Saving again replaces the whole file: a smaller table leaves no old sections behind.
    st.CMYK.remove(cmykTableKey(makeColorKey(0, 0, 255)));
    saveCmykTable(st);
    const CmykTable smaller = st.CMYK;
    loadCmykTable(st, &warnings);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
    EXPECT_EQ(st.CMYK, smaller);
}

TEST(CmykTable, MissingFileIsAnEmptyTable)
{
    TStitch st;
    st.PalettesPath = testsupport::currentTestPath();
    st.CMYK.insert(1, makeCmyk(1, 1, 1, 1)); // left from an earlier reading
    QStringList warnings;
    loadCmykTable(st, &warnings);
    EXPECT_TRUE(st.CMYK.isEmpty());
    EXPECT_TRUE(warnings.isEmpty());
}

TEST(CmykTable, AFileNamedInAnotherCaseIsTheTable)
{
    // A table copied from a system whose file names ignore case may be called "CMYK.ini":
    // it is read, and saving replaces it instead of leaving a second table beside it.
    TStitch st;
    st.PalettesPath = testsupport::currentTestPath();
    QDir(st.PalettesPath).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(st.PalettesPath));
    const QString upper = st.PalettesPath + QStringLiteral("/CMYK.ini");
    {
        QFile f(upper);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[main]\r\ncount=1\r\n[color1]\r\nrgb=$FF0000\r\nKValue=100\r\n");
    }
    loadCmykTable(st);
    ASSERT_EQ(st.CMYK.size(), 1);
    EXPECT_EQ(st.CMYK.value(cmykTableKey(makeColorKey(255, 0, 0))), makeCmyk(0, 0, 0, 100));

    st.CMYK.clear();
    saveCmykTable(st);
    EXPECT_EQ(QDir(st.PalettesPath).entryList(QDir::Files), QStringList{"CMYK.ini"});
    loadCmykTable(st);
    EXPECT_TRUE(st.CMYK.isEmpty());
}

TEST(CmykTable, FailedSaveNamesTheFileAndKeepsTheTable)
{
    // The palette "folder" is a plain file, so nothing can be written below it.
    TStitch st;
    st.PalettesPath = testsupport::currentTestPath(QStringLiteral(".blocker"));
    QFile blocker(st.PalettesPath);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    st.CMYK.insert(cmykTableKey(makeColorKey(1, 2, 3)), makeCmyk(1, 2, 3, 4));
    const CmykTable before = st.CMYK;
    try {
        saveCmykTable(st);
        ADD_FAILURE() << "the save did not fail";
    } catch (const QuillError& e) {
        EXPECT_TRUE(e.message().contains(QDir::toNativeSeparators(cmykFilePath(st))))
            << e.message().toStdString();
    }
    EXPECT_EQ(st.CMYK, before);
}

// One expected entry: the colour, then C, M, Y, K.
struct Entry
{
    Rgb rgb;
    int c, m, y, k;
};

struct ParseCase
{
    const char* name;
    const char* text;
    std::vector<Entry> entries;      // in table order
    std::vector<const char*> warns;  // each must appear in one warning, in this order
};

TEST(CmykTable, ReadingFilesGoodAndDamaged)
{
    const ParseCase cases[] = {
        {"empty file", "", {}, {}},
        {"only the count", "[main]\r\ncount=0\r\n", {}, {}},
        {"missing keys read as 0", "[main]\ncount=1\n[color1]\nrgb=$FF0000\n",
         {{{255, 0, 0}, 0, 0, 0, 0}}, {}},
        {"no case in names, blanks around values",
         "[MAIN]\nCOUNT = 2\n[Color2]\n RGB=$00ff00 \ncvalue= 10\n[COLOR1]\nRgb=$000001\nKVALUE=5\n",
         {{{0, 0, 1}, 0, 0, 0, 5}, {{0, 255, 0}, 10, 0, 0, 0}}, {}},
        {"decimal rgb and comments", "; a comment\n[main]\ncount=1\n[color1]\nrgb=255\nYValue=$14\n",
         {{{0, 0, 255}, 0, 0, 20, 0}}, {}},
        {"values keep 8 bits", "[main]\ncount=1\n[color1]\nrgb=$010203\nCValue=300\nKValue=-1\n",
         {{{1, 2, 3}, 44, 0, 0, 255}}, {}},
        {"the same colour twice: the later wins",
         "[main]\ncount=2\n[color1]\nrgb=$0A0A0A\nCValue=1\n[color2]\nrgb=$0a0a0a\nCValue=2\n",
         {{{10, 10, 10}, 2, 0, 0, 0}}, {}},
        {"rgb not a number",
         "[main]\ncount=2\n[color1]\nrgb=red\n[color2]\nrgb=$000102\nMValue=7\n",
         {{{0, 1, 2}, 0, 7, 0, 0}}, {"section [color1], line 4: the \"rgb\" value \"red\""}},
        {"a value not a number",
         "[main]\ncount=2\n[color1]\nrgb=$000001\nCValue=ten\n[color2]\nrgb=$000002\n",
         {{{0, 0, 2}, 0, 0, 0, 0}}, {"section [color1], line 5: the \"CValue\" value \"ten\""}},
        {"count larger than the sections present",
         "[main]\ncount=5\n[color1]\nrgb=$000001\n[color3]\nrgb=$000003\n",
         {{{0, 0, 1}, 0, 0, 0, 0}, {{0, 0, 3}, 0, 0, 0, 0}},
         {"\"count\" is 5 but the file holds 2 colour sections"}},
        {"a huge count",
         "[main]\ncount=2147483647\n[color1]\nrgb=$000001\n",
         {{{0, 0, 1}, 0, 0, 0, 0}}, {"\"count\" is 2147483647 but the file holds 1"}},
        {"a count that is no number reads every colour section",
         "[main]\ncount=99999999999\n[color2]\nrgb=$000002\n[color1]\nrgb=$000001\n",
         {{{0, 0, 1}, 0, 0, 0, 0}, {{0, 0, 2}, 0, 0, 0, 0}},
         {"section [main]: \"count\" value \"99999999999\" is not a number of entries"}},
        {"a negative count", "[main]\ncount=-3\n[color1]\nrgb=$000001\n",
         {{{0, 0, 1}, 0, 0, 0, 0}}, {"\"count\" value \"-3\""}},
        {"sections beyond the count",
         "[main]\ncount=1\n[color1]\nrgb=$000001\n[color2]\nrgb=$000002\n",
         {{{0, 0, 1}, 0, 0, 0, 0}}, {"section [color2]: the section lies beyond \"count\" 1"}},
        {"no count at all", "[color1]\nrgb=$000001\n",
         {}, {"section [color1]: the section lies beyond \"count\" 0"}},
        {"garbage lines",
         "[main]\ncount=1\nthis is not ini\n[color1\n[color1]\nrgb=$000001\n=5\n",
         {{{0, 0, 1}, 0, 0, 0, 0}},
         {"line 3: \"this is not ini\"", "line 4: \"[color1\" is not a section name",
          "line 7: \"=5\""}},
        {"a repeated section: the first counts",
         "[main]\ncount=1\n[color1]\nrgb=$000001\n[color1]\nrgb=$000002\n",
         {{{0, 0, 1}, 0, 0, 0, 0}}, {"line 5: section [color1] appears again"}},
        {"names with leading zeros are no colour sections",
         "[main]\ncount=1\n[color01]\nrgb=$000001\n[color1]\nrgb=$000002\n",
         {{{0, 0, 2}, 0, 0, 0, 0}}, {}},
    };
    const QString file = QStringLiteral("/data/palettes/cmyk.ini");
    for (const ParseCase& t : cases) {
        SCOPED_TRACE(t.name);
        QStringList warnings;
        const CmykTable table = parseCmykTable(QByteArray(t.text), file, &warnings);
        ASSERT_EQ(table.size(), int(t.entries.size()));
        for (int i = 0; i < table.size(); ++i) {
            const Entry& e = t.entries[size_t(i)];
            const auto& [k, v] = table.at(i);
            EXPECT_EQ(k, cmykTableKey(key(e.rgb))) << i;
            EXPECT_EQ(v, makeCmyk(quint8(e.c), quint8(e.m), quint8(e.y), quint8(e.k))) << i;
        }
        ASSERT_EQ(warnings.size(), qsizetype(t.warns.size())) << warnings.join('\n').toStdString();
        for (size_t i = 0; i < t.warns.size(); ++i) {
            EXPECT_TRUE(warnings[qsizetype(i)].startsWith(QLatin1Char('"') + file + QLatin1Char('"')))
                << warnings[qsizetype(i)].toStdString();
            EXPECT_TRUE(warnings[qsizetype(i)].contains(QString::fromUtf8(t.warns[i])))
                << warnings[qsizetype(i)].toStdString();
        }
    }
}

TEST(CmykTable, ALargeDamagedFileIsReadQuicklyWithAShortReport)
{
    QByteArray text = "[main]\ncount=2000000000\n";
    for (int i = 1; i <= 3000; ++i)
        text += "[color" + QByteArray::number(i) + "]\nrgb=x\n";
    QElapsedTimer timer;
    timer.start();
    QStringList warnings;
    const CmykTable table = parseCmykTable(text, QStringLiteral("cmyk.ini"), &warnings);
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(table.isEmpty());
    ASSERT_EQ(warnings.size(), 21);
    EXPECT_TRUE(warnings.last().contains(QStringLiteral("2981 more problems"))) << warnings.last().toStdString();
}

} // namespace
