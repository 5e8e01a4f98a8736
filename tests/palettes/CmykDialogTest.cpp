// The "CMYK colors ..." dialog below its window: the rows built from the design colour table,
// the rule for an edited "C,M,Y,K" text, and "OK" writing the table.
#include "palettes/CmykDialog.h"
#include "palettes/CmykTable.h"
#include "support/SmallDesign.h"
#include "support/TestSupport.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

using namespace testsupport;

TEST(CmykDialog, RowsInPaletteOrderWithTheirValues)
{
    SmallDesign d;
    TStitch& st = d.stitch;
    // Palette order differs from the table's order; white already has a table entry.
    st.Colors.find(kRed)->orderID = 3;
    st.Colors.find(kBlue)->orderID = 0;
    st.CMYK.insert(cmykTableKey(kWhite), makeCmyk(0, 0, 0, 100));

    CmykDialog dialog(st);
    dialog.FormShow();
    const QList<TCMYKColor>& rows = dialog.rows();
    ASSERT_EQ(rows.size(), 4);
    const struct { ColorKey color; const char* name; int id; const char* rgb; const char* cmyk;
                   const char* newRgb; const char* newCmyk; } expected[] = {
        {kBlue, "Blue", 0, "#0000FF", "100,100,0,0", "", ""},
        {kGreen, "Green", 1, "#008000", "100,0,100,50", "", ""},
        {kWhite, "White", 2, "#FFFFFF", "0,0,0,0", "#000000", "0,0,0,100"},
        {kRed, "Red", 3, "#FF0000", "0,100,100,0", "", ""},
    };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(expected[i].name);
        const TCMYKColor& r = rows[i];
        EXPECT_EQ(r.Color, expected[i].color);
        EXPECT_EQ(r.Name, expected[i].name);
        EXPECT_EQ(r.ID, expected[i].id);
        EXPECT_EQ(r.Symbol, st.chars.symbolAt(st.Colors.find(r.Color)->charID));
        EXPECT_FALSE(r.Symbol.isNull());
        EXPECT_EQ(r.RGBColor, expected[i].rgb);
        EXPECT_EQ(r.CMYKColor, expected[i].cmyk);
        EXPECT_EQ(r.NewRGBColor, expected[i].newRgb);
        EXPECT_EQ(r.NewCMYKColor, expected[i].newCmyk);
    }
    EXPECT_EQ(dialog.editText(2), "0,0,0,100");
    EXPECT_EQ(dialog.editText(7), "");
}

TEST(CmykDialog, EditedTexts)
{
    const struct { const char* text; bool valid; int c, m, y, k; const char* newRgb; } cases[] = {
        {"0,0,0,100", true, 0, 0, 0, 100, "#000000"},
        {"50,0,0,0", true, 50, 0, 0, 0, "#80FFFF"},
        {"50, 0,0 ,0", true, 50, 0, 0, 0, "#80FFFF"},
        {"10 20 30 40", true, 10, 20, 30, 40, "#8A7A6B"},   // blanks separate too
        {"\"5\",6,7,8", true, 5, 6, 7, 8, "#DFDDDA"},
        {"100,100,100,100", true, 100, 100, 100, 100, "#000000"},
        {"101,0,0,0", false, 0, 0, 0, 0, ""},
        {"10,20,30", false, 0, 0, 0, 0, ""},
        {"10,20,30,40,50", false, 0, 0, 0, 0, ""},
        {"10,,20,30", false, 0, 0, 0, 0, ""},
        {"-1,0,0,0", false, 0, 0, 0, 0, ""},
        {"a,b,c,d", false, 0, 0, 0, 0, ""},
        {"1.5,0,0,0", false, 0, 0, 0, 0, ""},
        {"0x10,0,0,0", false, 0, 0, 0, 0, ""},
        {"", false, 0, 0, 0, 0, ""},
    };
    for (const auto& t : cases) {
        SCOPED_TRACE(t.text);
        SmallDesign d;
        TStitch& st = d.stitch;
        // Every case starts with an entry for red, so that clearing it shows.
        st.CMYK.insert(cmykTableKey(kRed), makeCmyk(1, 2, 3, 4));
        st.CMYK.insert(cmykTableKey(kBlue), makeCmyk(9, 9, 9, 9));
        CmykDialog dialog(st);
        dialog.FormShow();
        ASSERT_EQ(dialog.rows()[0].Color, kRed);
        ASSERT_TRUE(dialog.setEditText(0, QString::fromUtf8(t.text)));
        const TCMYKColor& row = dialog.rows()[0];
        if (t.valid) {
            const TCMYK* e = st.CMYK.find(cmykTableKey(kRed));
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(*e, makeCmyk(quint8(t.c), quint8(t.m), quint8(t.y), quint8(t.k)));
            EXPECT_EQ(row.NewCMYKColor, QString::fromUtf8(t.text)); // kept as typed
            EXPECT_EQ(row.NewRGBColor, t.newRgb);
            EXPECT_EQ(CmykDialog::rgbText(e->RGBColor), t.newRgb);
        } else {
            EXPECT_FALSE(st.CMYK.contains(cmykTableKey(kRed)));
            EXPECT_EQ(row.NewCMYKColor, "");
            EXPECT_EQ(row.NewRGBColor, "");
        }
        // Other colours keep their entries.
        EXPECT_EQ(st.CMYK.value(cmykTableKey(kBlue)), makeCmyk(9, 9, 9, 9));
        EXPECT_EQ(st.CMYK.size(), t.valid ? 2 : 1);
    }
}

TEST(CmykDialog, AnInvalidTextForAColourWithoutEntryChangesNothing)
{
    SmallDesign d;
    CmykDialog dialog(d.stitch);
    dialog.FormShow();
    EXPECT_TRUE(dialog.setEditText(1, QStringLiteral("nonsense")));
    EXPECT_TRUE(d.stitch.CMYK.isEmpty());
    EXPECT_FALSE(dialog.setEditText(4, QStringLiteral("1,2,3,4")));
    EXPECT_FALSE(dialog.setEditText(-1, QStringLiteral("1,2,3,4")));
    EXPECT_TRUE(d.stitch.CMYK.isEmpty());
}

TEST(CmykDialog, AnotherDesignWithTheSameColourSharesItsValue)
{
    SmallDesign d;
    CmykDialog dialog(d.stitch);
    dialog.FormShow();
    dialog.setEditText(0, QStringLiteral("0,0,0,100")); // red

    // A new design with only red and blue: red shows the value given in the first one.
    d.stitch.Colors.remove(kGreen);
    d.stitch.Colors.remove(kWhite);
    dialog.FormShow();
    ASSERT_EQ(dialog.rows().size(), 2);
    EXPECT_EQ(dialog.rows()[0].Color, kRed);
    EXPECT_EQ(dialog.rows()[0].NewCMYKColor, "0,0,0,100");
    EXPECT_EQ(dialog.rows()[0].NewRGBColor, "#000000");
    EXPECT_EQ(dialog.rows()[1].NewCMYKColor, "");
}

TEST(CmykDialog, OkWritesTheTable)
{
    SmallDesign d;
    d.stitch.PalettesPath = currentTestPath();
    ASSERT_TRUE(QDir().mkpath(d.stitch.PalettesPath));
    CmykDialog dialog(d.stitch);
    dialog.FormShow();
    dialog.setEditText(3, QStringLiteral("1,2,3,4"));
    dialog.save();
    const CmykTable written = d.stitch.CMYK;
    d.stitch.CMYK.clear();
    loadCmykTable(d.stitch);
    EXPECT_EQ(d.stitch.CMYK, written);
    ASSERT_EQ(written.size(), 1);

    // Clearing the only value and saving leaves an empty table in the file.
    dialog.setEditText(3, QString());
    dialog.save();
    QFile f(cmykFilePath(d.stitch));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("[main]\r\ncount=0\r\n"));
}

} // namespace
