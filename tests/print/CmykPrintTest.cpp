// "Use CMYK Colors": a colour with an entry in the CMYK table prints in the entry's colour, on
// flat chart pages and in real mode; without the option, or without an entry, the screen
// colour is printed.
#include "PagePainterSupport.h"
#include "palettes/CmykTable.h"
#include "print/RealMode.h"
#include "support/SmallDesign.h"

#include <gtest/gtest.h>

using namespace testsupport;
using namespace printtest;

namespace {

struct CmykPrintTest : ::testing::Test
{
    CmykPrintTest() : design(16, 12), v(smallPreview())
    {
        design.stitch.symbolSize = 100;
        opt.pageNumbers = false;
        opt.printSymbols = false;
        // Red prints as 50,0,0,0 (128, 255, 255); blue has no entry.
        design.stitch.CMYK.insert(cmykTableKey(kRed), makeCmyk(50, 0, 0, 0));
        design.doc.updatePixel(3, 2, kRed, false);
        design.doc.updatePixel(4, 2, kBlue, false);
    }

    QImage render()
    {
        ImageTarget target(QSize(v.pagewidthReal, v.pageheightReal));
        const PrintContext ctx{design.doc, design.stitch, v, opt, keys, steps};
        PagePainter painter(ctx, target);
        painter.beginJob();
        painter.drawTablePage(chartPage(v, 0, 8, 0, 6, true, true));
        return target.current();
    }

    SmallDesign design;
    TPreview v;
    TPrintOptions opt;
    QList<TMyColor> keys;
    QList<TStitchListItem> steps;
};

} // namespace

TEST_F(CmykPrintTest, CellFillsTakeTheTableColourOnlyWithTheOption)
{
    // Cell (3, 2) covers page pixels 120..139 x 200..219, cell (4, 2) the 20 pixels right of it.
    const struct { bool cmyk; QRgb red, blue; } cases[] = {
        {false, qRgb(255, 0, 0), qRgb(0, 0, 255)},
        {true, qRgb(128, 255, 255), qRgb(0, 0, 255)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cmyk ? "cmyk" : "screen");
        opt.cmyk = c.cmyk;
        const QImage page = render();
        EXPECT_EQ(page.pixel(130, 210), c.red);
        EXPECT_EQ(page.pixel(150, 210), c.blue);
    }
}

TEST_F(CmykPrintTest, RealModeTintsWithTheTableColour)
{
    for (bool cmyk : {false, true}) {
        SCOPED_TRACE(cmyk ? "cmyk" : "screen");
        RealModeTextures t(design.doc, design.stitch, {12, 12}, cmyk);
        EXPECT_EQ(t.printedColor(kRed), cmyk ? makeColorKey(128, 255, 255) : kRed);
        EXPECT_EQ(t.printedColor(kBlue), kBlue);
    }
}
