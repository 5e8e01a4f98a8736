#pragma once
// The print dialog without its widgets: the options and how one change leads to others
// (the key position, the page choice, ruler and grid numbers, circles), what has to run after
// a change (nothing, the layout, or reading the printer again), the export settings and image
// type, the page layout itself for a printer page or for export, and the printer status text.

#include "KeyList.h"
#include "PrintJob.h"
#include "PrintTypes.h"
#include "TPreview.h"

#include <QList>
#include <QString>
#include <QStringList>

class PatternDocument;

// What the dialog has to do after an option changed.
enum class PrintEffect {
    None,        // a drawing option: the pages stay as they are
    Layout,      // the layout runs again
    ApplyPrinter // the printer is applied again, which reads its page and runs the layout
};

// The check boxes and radio pairs of the dialog that hold one Boolean option.
enum TPrintOption {
    poTitle, poDesign, poLegend, poLabels, poInfo, poContents, poStitchList,
    poInlineBorder, poPageNumbers, poGridNumbers, poBackStitchesSeparate, poLegendSize,
    poUseColors, poCMYK, poReal, poCircles, poLight, poBackStitches, poRhodes, poBackSymbol,
    poGrid, poSymbols, poRuler
};

class PrintDialogModel
{
public:
    static constexpr int kGridMin = 90, kGridMax = 2010;
    static constexpr int kExportSizeMax = 5000;
    static constexpr int kQualityMin = 10, kQualityMax = 100, kQualityStep = 10;

    PrintDialogModel();

    // The dialog is shown for `doc`: the key list and (when chosen) the stitch-steps list are
    // built, the layout input taken from the design and the settings, the export page size
    // taken from the settings, "Inline border" and "Print with colors" switched on.
    void open(const PatternDocument& doc);

    // --- option changes; each returns what has to run next ---
    PrintEffect setOption(TPrintOption option, bool on);
    bool option(TPrintOption option) const;
    // A key position button ("key above", "below", "right", the hidden "left", "Separate").
    PrintEffect setKeyPosition(TPosition position);
    TPosition keyPosition() const { return preview.position; }
    // "Portrait", "Landscape" (the printer turns and is applied again), "Auto" (nothing).
    PrintEffect setFormat(TFormat format);
    TFormat format() const { return m_format; }
    // "Print to printer" (false) / "Export to JPEG files" (true).
    PrintEffect setExportMode(bool exportMode);
    bool exportMode() const { return options.exportMode; }
    // The grid size fields in hundredths of a millimetre; a value outside 90..2010 is refused
    // (false, nothing changes).
    bool setGridX(int value);
    bool setGridY(int value);
    // The export page and grid in pixels (0..5000); the layout runs.
    void setExportWidth(int value);
    void setExportHeight(int value);
    void setExportGrid(int value);
    int exportWidth() const { return m_input.jpegWidth; }
    int exportHeight() const { return m_input.jpegHeight; }
    int exportGrid() const { return m_input.jpegGrid; }
    // The image type; the quality field is usable only for JPEG. A PDF file has paper pages,
    // so choosing it or leaving it in export mode lays the pages out again.
    PrintEffect setImageType(TExportType type);
    TExportType imageType() const { return m_imageType; }
    bool qualityEnabled() const { return m_imageType == etJPEG; }
    // An export into one PDF file: its pages are A4 sheets (turned by the format) at 300 dpi,
    // laid out as for a printer, not pictures of the export size.
    bool pdfPages() const { return options.exportMode && m_imageType == etPDF; }
    // The options the layout and the job read: as chosen, with a PDF export laid out as for
    // a printer.
    TPrintOptions layoutOptions() const;
    static constexpr int kPdfDpi = 300;
    // The quality field's value (10..100 in steps of 10). The files use the stored setting.
    void setQualityField(int value);
    int qualityField() const { return m_quality; }

    // --- the layout ---
    // Reads a printer page (already turned to the format) and runs the layout for it.
    bool applyPrinterPage(const TPageDevice& device);
    // The layout for the current mode: export pages are sized from the export settings, a
    // printer run uses the page read last. False when the key did not fit beside the chart
    // and the position fell back to "Separate" (the dialog shows the message).
    bool runLayout();
    const TLayoutInput& layoutInput() const { return m_input; }
    const QList<TMyColor>& keys() const { return m_keys; }
    const QList<TStitchListItem>& stitchSteps() const { return m_steps; }
    // True once a layout ran since the dialog was opened.
    bool laidOut() const { return m_laidOut; }

    TPrintOptions options;
    TPreview preview;

private:
    bool setGrid(qint32& field, int value);
    PrintEffect pageOptionEffect() const;
    PrintEffect afterPageChoice();

    const PatternDocument* m_doc = nullptr;
    TFormat m_format = fPortrait;
    TExportType m_imageType = etJPEG;
    int m_quality = 70;
    TLayoutInput m_input;
    QList<TMyColor> m_keys;
    QList<TStitchListItem> m_steps;
    bool m_haveStitchSteps = false;
    bool m_laidOut = false;
};
