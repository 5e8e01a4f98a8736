#include "PrintDialogModel.h"

#include "PaperDevice.h"

#include "core/PatternDocument.h"
#include "core/TStitch.h"


PrintDialogModel::PrintDialogModel()
{
    preview.position = pSeparate;
    const TPrintSettings defaults;
    m_input.jpegWidth = defaults.JPEGWidth;
    m_input.jpegHeight = defaults.JPEGHeight;
    m_input.jpegGrid = defaults.JPEGGrid;
}

void PrintDialogModel::open(const PatternDocument& doc)
{
    // The export page keeps what the user set in an earlier showing; the first showing takes
    // the stored settings.
    const bool first = m_doc == nullptr;
    const int width = m_input.jpegWidth, height = m_input.jpegHeight, grid = m_input.jpegGrid;
    m_doc = &doc;
    m_keys = buildKeyList(doc);
    m_steps.clear();
    m_haveStitchSteps = false;
    if (options.stitchList) {
        m_steps = buildStitchSteps(doc);
        m_haveStitchSteps = true;
    }
    m_input = layoutInputFor(doc, m_keys, m_steps);
    if (first) {
        const TPrintSettings& stored = doc.stitch().print;
        m_quality = qBound(int(kQualityMin), stored.JPEGQuality / kQualityStep * kQualityStep,
                           int(kQualityMax));
    } else {
        m_input.jpegWidth = width;
        m_input.jpegHeight = height;
        m_input.jpegGrid = grid;
    }
    options.inlineBorder = true;
    options.useColors = true;
    preview.useColors = true;
    m_laidOut = false;
}

bool PrintDialogModel::option(TPrintOption o) const
{
    const TPrintOptions& p = options;
    switch (o) {
    case poTitle: return p.title;
    case poDesign: return p.design;
    case poLegend: return p.legend;
    case poLabels: return p.labels;
    case poInfo: return p.info;
    case poContents: return p.contents;
    case poStitchList: return p.stitchList;
    case poInlineBorder: return p.inlineBorder;
    case poPageNumbers: return p.pageNumbers;
    case poGridNumbers: return p.gridNumbers;
    case poBackStitchesSeparate: return p.backStitchesSeparate;
    case poLegendSize: return p.legendSize;
    case poUseColors: return p.useColors;
    case poCMYK: return p.cmyk;
    case poReal: return p.realMode;
    case poCircles: return p.asCircles;
    case poLight: return p.lightAroundCircles;
    case poBackStitches: return p.backStitches;
    case poRhodes: return p.rhodes;
    case poBackSymbol: return p.backSymbol;
    case poGrid: return p.printGrid;
    case poSymbols: return p.printSymbols;
    case poRuler: return p.printRuler;
    }
    return false;
}

// Options that change the paper area or the extra pages: in printer mode the printer's page
// is read again (the page-number strip and the border come off it), then the layout runs.
PrintEffect PrintDialogModel::pageOptionEffect() const
{
    return options.exportMode ? PrintEffect::Layout : PrintEffect::ApplyPrinter;
}

// After "Print Design" or "Print Legend" changed: with only one of them chosen the key goes
// on pages of its own. Either way the pages change.
PrintEffect PrintDialogModel::afterPageChoice()
{
    if (options.design != options.legend)
        preview.position = pSeparate;
    return PrintEffect::Layout;
}

PrintEffect PrintDialogModel::setOption(TPrintOption o, bool on)
{
    TPrintOptions& p = options;
    switch (o) {
    case poDesign:
        p.design = on;
        return afterPageChoice();
    case poLegend:
        p.legend = on;
        return afterPageChoice();
    case poTitle: p.title = on; return pageOptionEffect();
    case poInfo: p.info = on; return pageOptionEffect();
    case poLabels: p.labels = on; return pageOptionEffect();
    case poInlineBorder: p.inlineBorder = on; return pageOptionEffect();
    case poContents: p.contents = on; return pageOptionEffect();
    case poPageNumbers: p.pageNumbers = on; return pageOptionEffect();
    case poStitchList: p.stitchList = on; return pageOptionEffect();
    case poGridNumbers:
        // Numbers are written on the ruler: without it they stay off.
        if (on && !p.printRuler) {
            return PrintEffect::None;
        }
        if (p.gridNumbers == on)
            return PrintEffect::None;
        p.gridNumbers = on;
        return pageOptionEffect();
    case poRuler:
        p.printRuler = on;
        if (!on && p.gridNumbers) {
            p.gridNumbers = false;
            return pageOptionEffect();
        }
        return PrintEffect::None;
    case poBackStitchesSeparate: p.backStitchesSeparate = on; return PrintEffect::Layout;
    case poLegendSize: p.legendSize = on; return PrintEffect::Layout;
    case poCircles:
        p.asCircles = on;
        if (on)
            p.lightAroundCircles = false;
        return PrintEffect::None;
    case poLight:
        p.lightAroundCircles = on;
        if (on)
            p.asCircles = false;
        return PrintEffect::None;
    case poUseColors:
        p.useColors = on;
        preview.useColors = on;
        return PrintEffect::None;
    case poCMYK: p.cmyk = on; return PrintEffect::None;
    case poReal: p.realMode = on; return PrintEffect::None;
    case poBackStitches: p.backStitches = on; return PrintEffect::None;
    case poRhodes: p.rhodes = on; return PrintEffect::None;
    case poBackSymbol: p.backSymbol = on; return PrintEffect::None;
    case poGrid: p.printGrid = on; return PrintEffect::None;
    case poSymbols: p.printSymbols = on; return PrintEffect::None;
    }
    return PrintEffect::None;
}

PrintEffect PrintDialogModel::setKeyPosition(TPosition position)
{
    preview.position = position;
    if (position == pTop || position == pBottom || position == pRight) {
        // A key beside the chart is a key that is printed.
        options.legend = true;
        return afterPageChoice();
    }
    return PrintEffect::Layout;
}

PrintEffect PrintDialogModel::setFormat(TFormat format)
{
    if (format == fAuto)
        return PrintEffect::None; // only the orientation picture turns
    m_format = format;
    preview.fformat = format;
    return PrintEffect::ApplyPrinter;
}

PrintEffect PrintDialogModel::setExportMode(bool exportMode)
{
    options.exportMode = exportMode;
    return exportMode ? PrintEffect::Layout : PrintEffect::ApplyPrinter;
}

bool PrintDialogModel::setGrid(qint32& field, int value)
{
    if (value < kGridMin || value > kGridMax)
        return false;
    field = value;
    return true;
}

bool PrintDialogModel::setGridX(int value)
{
    return setGrid(options.gridX, value);
}

bool PrintDialogModel::setGridY(int value)
{
    return setGrid(options.gridY, value);
}

void PrintDialogModel::setExportWidth(int value)
{
    m_input.jpegWidth = qBound(0, value, kExportSizeMax);
}

void PrintDialogModel::setExportHeight(int value)
{
    m_input.jpegHeight = qBound(0, value, kExportSizeMax);
}

void PrintDialogModel::setExportGrid(int value)
{
    m_input.jpegGrid = qBound(0, value, kExportSizeMax);
}

PrintEffect PrintDialogModel::setImageType(TExportType type)
{
    const bool wasPdf = pdfPages();
    m_imageType = type;
    return pdfPages() != wasPdf ? PrintEffect::Layout : PrintEffect::None;
}

TPrintOptions PrintDialogModel::layoutOptions() const
{
    TPrintOptions o = options;
    if (pdfPages())
        o.exportMode = false;
    return o;
}

void PrintDialogModel::setQualityField(int value)
{
    const int stepped = (value + kQualityStep / 2) / kQualityStep * kQualityStep;
    m_quality = qBound(int(kQualityMin), stepped, int(kQualityMax));
}

bool PrintDialogModel::applyPrinterPage(const TPageDevice& device)
{
    preview.setPrinterMetrics(device, options, m_input);
    return runLayout();
}

bool PrintDialogModel::runLayout()
{
    if (options.stitchList && !m_haveStitchSteps && m_doc) {
        m_steps = buildStitchSteps(*m_doc);
        m_haveStitchSteps = true;
        const int w = m_input.jpegWidth, h = m_input.jpegHeight, g = m_input.jpegGrid;
        m_input = layoutInputFor(*m_doc, m_keys, m_steps);
        m_input.jpegWidth = w;
        m_input.jpegHeight = h;
        m_input.jpegGrid = g;
    }
    const TPrintOptions o = layoutOptions();
    preview.useColors = options.useColors;
    m_laidOut = true;
    if (pdfPages()) {
        preview.setPrinterMetrics(paperDevice(QPageSize::A4, m_format, kPdfDpi), o, m_input);
        return preview.calc(o, m_input);
    }
    // A zero-sized export page or grid cannot hold a cell: nothing is laid out.
    if (options.exportMode && (m_input.jpegWidth <= 0 || m_input.jpegHeight <= 0
                               || m_input.jpegGrid <= 0)) {
        preview.pages.clear();
        preview.hpages = preview.vpages = preview.pageNumber = 0;
        return true;
    }
    if (options.exportMode)
        preview.setExportMetrics(o, m_input);
    return preview.calc(o, m_input);
}
