// The print dialog's rules without its widgets: how one option change leads to others and
// what has to run after it, the grid and export fields, and the layout run per mode.
#include "print/PrintDialogModel.h"

#include "support/SmallDesign.h"

#include <QJsonArray>
#include <gtest/gtest.h>

namespace {

using testsupport::SmallDesign;

// One change of the table: which control, to what, and in which mode.
struct Change
{
    enum Kind { Option, Position, Format, Mode } kind = Option;
    TPrintOption option = poTitle;
    bool on = false;
    TPosition position = pSeparate;
    TFormat format = fPortrait;
};

Change opt(TPrintOption o, bool on) { return {Change::Option, o, on}; }
Change pos(TPosition p) { Change c; c.kind = Change::Position; c.position = p; return c; }
Change fmt(TFormat f) { Change c; c.kind = Change::Format; c.format = f; return c; }
Change mode(bool exportMode) { Change c; c.kind = Change::Mode; c.on = exportMode; return c; }

PrintEffect apply(PrintDialogModel& m, const Change& c)
{
    switch (c.kind) {
    case Change::Option: return m.setOption(c.option, c.on);
    case Change::Position: return m.setKeyPosition(c.position);
    case Change::Format: return m.setFormat(c.format);
    case Change::Mode: return m.setExportMode(c.on);
    }
    return PrintEffect::None;
}

// The options a row can set up before its change and check after it.
struct State
{
    bool design = true, legend = true, ruler = true, gridNumbers = false;
    bool circles = false, light = false;
    TPosition position = pSeparate;
};

void setUp(PrintDialogModel& m, const State& s, bool exportMode)
{
    m.options.exportMode = exportMode;
    m.options.design = s.design;
    m.options.legend = s.legend;
    m.options.printRuler = s.ruler;
    m.options.gridNumbers = s.gridNumbers;
    m.options.asCircles = s.circles;
    m.options.lightAroundCircles = s.light;
    m.preview.position = s.position;
}

State stateOf(const PrintDialogModel& m)
{
    return {m.options.design, m.options.legend, m.options.printRuler, m.options.gridNumbers,
            m.options.asCircles, m.options.lightAroundCircles, m.keyPosition()};
}

TEST(PrintDialogModelTest, OptionChangesSetOtherOptionsAndSayWhatRuns)
{
    using E = PrintEffect;
    const State start;
    auto with = [](State s, auto f) { f(s); return s; };
    const State designOnly = with(start, [](State& s) { s.legend = false; });
    const State legendOnly = with(start, [](State& s) { s.design = false; });
    const State rulerOff = with(start, [](State& s) { s.ruler = false; });
    const State numbersOn = with(start, [](State& s) { s.gridNumbers = true; });
    const State topKey = with(start, [](State& s) { s.position = pTop; });
    const State circles = with(start, [](State& s) { s.circles = true; });
    const State light = with(start, [](State& s) { s.light = true; });

    const struct Row {
        const char* what;
        State before;
        bool exportMode;
        Change change;
        State after;
        PrintEffect effect;
    } rows[] = {
        // A key beside the chart is printed: the legend comes on.
        {"key above", designOnly, false, pos(pTop),
         with(start, [](State& s) { s.position = pTop; }), E::Layout},
        {"key below", designOnly, true, pos(pBottom),
         with(start, [](State& s) { s.position = pBottom; }), E::Layout},
        {"key right", start, false, pos(pRight),
         with(start, [](State& s) { s.position = pRight; }), E::Layout},
        // Without the chart there is nothing to put the key beside.
        {"key above without chart", legendOnly, false, pos(pTop), legendOnly, E::Layout},
        {"key left", start, false, pos(pLeft),
         with(start, [](State& s) { s.position = pLeft; }), E::Layout},
        {"separate", topKey, false, pos(pSeparate), start, E::Layout},
        // Exactly one of design and legend: the key goes on its own pages.
        {"legend off", topKey, false, opt(poLegend, false),
         with(designOnly, [](State& s) { s.position = pSeparate; }), E::Layout},
        {"design off", topKey, false, opt(poDesign, false), legendOnly, E::Layout},
        {"design back on", with(legendOnly, [](State& s) { s.position = pSeparate; }), false,
         opt(poDesign, true), start, E::Layout},
        {"both off keeps position", with(designOnly, [](State& s) { s.position = pRight; }),
         false, opt(poDesign, false),
         with(start, [](State& s) { s.design = false; s.legend = false; s.position = pRight; }),
         E::Layout},
        {"both on again keeps position", with(designOnly, [](State& s) { s.position = pRight; }),
         false, opt(poLegend, true), with(start, [](State& s) { s.position = pRight; }), E::Layout},
        // Ruler and grid numbers.
        {"ruler off, numbers on", numbersOn, false, opt(poRuler, false), rulerOff, E::ApplyPrinter},
        {"ruler off, numbers on, export", numbersOn, true, opt(poRuler, false), rulerOff, E::Layout},
        {"ruler off, numbers off", start, false, opt(poRuler, false), rulerOff, E::None},
        {"ruler on", rulerOff, false, opt(poRuler, true), start, E::None},
        {"numbers on without ruler", rulerOff, false, opt(poGridNumbers, true), rulerOff, E::None},
        {"numbers on", start, false, opt(poGridNumbers, true), numbersOn, E::ApplyPrinter},
        {"numbers on, export", start, true, opt(poGridNumbers, true), numbersOn, E::Layout},
        {"numbers off", numbersOn, false, opt(poGridNumbers, false), start, E::ApplyPrinter},
        // The two circle options exclude each other.
        {"circles on", light, false, opt(poCircles, true), circles, E::None},
        {"light on", circles, false, opt(poLight, true), light, E::None},
        {"circles off", circles, false, opt(poCircles, false), start, E::None},
        {"light off leaves circles", with(circles, [](State& s) { s.light = true; }), false,
         opt(poLight, false), circles, E::None},
        // Orientation and mode.
        {"portrait", start, false, fmt(fPortrait), start, E::ApplyPrinter},
        {"landscape", start, true, fmt(fLandscape), start, E::ApplyPrinter},
        {"auto", start, false, fmt(fAuto), start, E::None},
        {"to printer", start, true, mode(false), start, E::ApplyPrinter},
        {"to files", start, false, mode(true), start, E::Layout},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PrintDialogModel m;
        setUp(m, r.before, r.exportMode);
        EXPECT_EQ(apply(m, r.change), r.effect);
        const State got = stateOf(m);
        EXPECT_EQ(got.design, r.after.design);
        EXPECT_EQ(got.legend, r.after.legend);
        EXPECT_EQ(got.ruler, r.after.ruler);
        EXPECT_EQ(got.gridNumbers, r.after.gridNumbers);
        EXPECT_EQ(got.circles, r.after.circles);
        EXPECT_EQ(got.light, r.after.light);
        EXPECT_EQ(got.position, r.after.position);
    }
}

TEST(PrintDialogModelTest, PageOptionsLayOutForExportAndReadThePrinterOtherwise)
{
    const struct { TPrintOption option; bool pageOption; } rows[] = {
        {poTitle, true}, {poInfo, true}, {poLabels, true}, {poInlineBorder, true},
        {poContents, true}, {poPageNumbers, true}, {poStitchList, true},
        {poBackStitchesSeparate, false}, {poLegendSize, false},
    };
    for (const auto& r : rows)
        for (bool exportMode : {false, true})
            for (bool on : {true, false}) {
                SCOPED_TRACE(testing::Message() << r.option << " export " << exportMode << " on " << on);
                PrintDialogModel m;
                m.options.exportMode = exportMode;
                m.setOption(r.option, !on);
                const PrintEffect expected = r.pageOption && !exportMode ? PrintEffect::ApplyPrinter
                                                                         : PrintEffect::Layout;
                EXPECT_EQ(m.setOption(r.option, on), expected);
                EXPECT_EQ(m.option(r.option), on);
            }
    // Drawing options change no page.
    for (TPrintOption o : {poUseColors, poCMYK, poReal, poBackStitches, poRhodes, poBackSymbol,
                           poGrid, poSymbols}) {
        PrintDialogModel m;
        for (bool on : {false, true}) {
            EXPECT_EQ(m.setOption(o, on), PrintEffect::None) << o;
            EXPECT_EQ(m.option(o), on) << o;
        }
    }
}

TEST(PrintDialogModelTest, StartValuesAreTheDialogs)
{
    PrintDialogModel m;
    EXPECT_EQ(m.keyPosition(), pSeparate);
    EXPECT_EQ(m.format(), fPortrait);
    EXPECT_FALSE(m.exportMode());
    EXPECT_EQ(m.imageType(), etJPEG);
    EXPECT_EQ(m.options.gridX, 300);
    EXPECT_EQ(m.options.gridY, 300);
    EXPECT_EQ(m.exportWidth(), 900);
    EXPECT_EQ(m.exportHeight(), 800);
    EXPECT_EQ(m.exportGrid(), 20);
    EXPECT_EQ(m.qualityField(), 70);
    const struct { TPrintOption o; bool on; } starts[] = {
        {poTitle, false}, {poDesign, true}, {poLegend, true}, {poLabels, false}, {poInfo, false},
        {poContents, false}, {poStitchList, false}, {poInlineBorder, true},
        {poPageNumbers, false}, {poGridNumbers, false}, {poBackStitchesSeparate, false},
        {poLegendSize, true}, {poUseColors, true}, {poCMYK, false}, {poReal, false},
        {poCircles, false}, {poLight, false}, {poBackStitches, true}, {poRhodes, true},
        {poBackSymbol, true}, {poGrid, true}, {poSymbols, true}, {poRuler, true}};
    for (const auto& s : starts)
        EXPECT_EQ(m.option(s.o), s.on) << s.o;
}

TEST(PrintDialogModelTest, GridFieldsAcceptOnlyTheirRange)
{
    const struct { int value; bool accepted; } rows[] = {
        {89, false}, {90, true}, {91, true}, {300, true}, {2010, true}, {2011, false},
        {0, false}, {-300, false}};
    for (const auto& r : rows) {
        PrintDialogModel m;
        EXPECT_EQ(m.setGridX(r.value), r.accepted) << r.value;
        EXPECT_EQ(m.options.gridX, r.accepted ? r.value : 300) << r.value;
        EXPECT_EQ(m.setGridY(r.value), r.accepted) << r.value;
        EXPECT_EQ(m.options.gridY, r.accepted ? r.value : 300) << r.value;
    }
}

TEST(PrintDialogModelTest, ImageTypeEnablesQualityOnlyForJpeg)
{
    const struct { TExportType type; bool quality; } rows[] = {
        {etJPEG, true}, {etBMP, false}, {etPNG, false}, {etPDF, false}};
    PrintDialogModel m;
    for (const auto& r : rows) {
        m.setImageType(r.type);
        EXPECT_EQ(m.qualityEnabled(), r.quality) << r.type;
    }
    const struct { int in, shown; } quality[] = {{70, 70}, {10, 10}, {5, 10}, {0, 10},
                                                 {100, 100}, {130, 100}, {64, 60}, {66, 70}};
    for (const auto& q : quality) {
        m.setQualityField(q.in);
        EXPECT_EQ(m.qualityField(), q.shown) << q.in;
    }
    const struct { int in, kept; } sizes[] = {{0, 0}, {5000, 5000}, {5001, 5000}, {-1, 0}, {640, 640}};
    for (const auto& s : sizes) {
        m.setExportWidth(s.in);
        m.setExportHeight(s.in);
        m.setExportGrid(s.in);
        EXPECT_EQ(m.exportWidth(), s.kept);
        EXPECT_EQ(m.exportHeight(), s.kept);
        EXPECT_EQ(m.exportGrid(), s.kept);
    }
}

// A design of the small catalogue with `colors` of its colours used.
void paint(SmallDesign& d, int colors)
{
    const ColorKey keys[] = {testsupport::kRed, testsupport::kGreen, testsupport::kWhite,
                             testsupport::kBlue};
    for (int i = 0; i < colors; ++i)
        d.doc.updatePixel(i, 0, keys[i], true);
}

TEST(PrintDialogModelTest, OpeningTakesTheDesignAndSwitchesBorderAndColoursOn)
{
    SmallDesign d(10, 10);
    paint(d, 2);
    d.stitch.print.JPEGWidth = 640;
    d.stitch.print.JPEGQuality = 90;
    PrintDialogModel m;
    m.options.inlineBorder = false;
    m.options.useColors = false;
    m.open(d.doc);
    EXPECT_TRUE(m.options.inlineBorder);
    EXPECT_TRUE(m.options.useColors);
    EXPECT_EQ(m.keys().size(), 2);
    EXPECT_EQ(m.layoutInput().width, 10);
    EXPECT_EQ(m.layoutInput().height, 10);
    EXPECT_EQ(m.exportWidth(), 640);
    EXPECT_EQ(m.qualityField(), 90);
    // The export page keeps what was set in the dialog when it is shown again.
    m.setExportWidth(700);
    m.open(d.doc);
    EXPECT_EQ(m.exportWidth(), 700);
}

TEST(PrintDialogModelTest, LayoutRunsForTheModesPage)
{
    SmallDesign d(10, 10);
    paint(d, 1);
    PrintDialogModel m;
    m.open(d.doc);
    // Export: a 10 x 10 design fits one page; the separate key takes a second one.
    m.setExportMode(true);
    EXPECT_TRUE(m.runLayout());
    EXPECT_EQ(m.preview.pagewidthReal, 900);
    EXPECT_EQ(m.preview.pageheightReal, 800);
    EXPECT_EQ(m.preview.hpages, 2);
    EXPECT_EQ(m.preview.vpages, 1);
    EXPECT_EQ(m.preview.pageNumber, 2);
    // Switching the legend off while the design stays on drops the key page.
    EXPECT_EQ(m.setOption(poLegend, false), PrintEffect::Layout);
    EXPECT_TRUE(m.runLayout());
    EXPECT_EQ(m.preview.pageNumber, 1);
    EXPECT_EQ(m.preview.pages.begin()->second.PrintStitches, psBoth);

    // A printer page: an A4 sheet at 300 dpi.
    m.setOption(poLegend, true);
    m.setExportMode(false);
    const TPageDevice a4{210, 297, 2480, 3508, 300};
    EXPECT_TRUE(m.applyPrinterPage(a4));
    EXPECT_EQ(m.preview.pagewidthReal, 2480);
    EXPECT_EQ(m.preview.pixelsPerInch, 300);
    EXPECT_EQ(m.preview.pageNumber, 2);
    // A zero export grid lays out nothing instead of dividing by it.
    m.setExportMode(true);
    m.setExportGrid(0);
    EXPECT_TRUE(m.runLayout());
    EXPECT_EQ(m.preview.pageNumber, 0);
    EXPECT_TRUE(m.preview.pages.empty());
}

} // namespace
