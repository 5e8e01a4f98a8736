#include "TFPrintOptions.h"

#include "TFPrintInProgress.h"
#include "PrinterTarget.h"

#include "core/PatternDocument.h"
#include "core/TStitch.h"
#include "print/PrinterStatus.h"
#include "i18n/ui/THelpWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {
const char* const kMessageSelectFolder = "Select folder";
constexpr int kHelpTopic = 3200;
} // namespace

TFPrintOptions::TFPrintOptions(TStitch& stitch, QWidget* parent)
    : QDialog(parent), m_stitch(stitch)
{
    setObjectName(QStringLiteral("FPrintOptions"));
    m_progress = new TFPrintInProgress(stitch, this);
    m_runner = new PrintJobRunner(this);
    buildUi();
    translateUi();
    syncControls();
}

TFPrintOptions::~TFPrintOptions() = default;

void TFPrintOptions::translateUi()
{
    setWindowTitle(m_stitch.translate(QStringLiteral("Print")));
    for (const auto& [widget, key] : m_captions) {
        const QString text = m_stitch.translate(
            widget == m_legendPattern && m_productMode ? QStringLiteral("Art Pattern") : key);
        if (auto* b = qobject_cast<QAbstractButton*>(widget))
            b->setText(text);
        else if (auto* l = qobject_cast<QLabel*>(widget))
            l->setText(text);
        else if (auto* g = qobject_cast<QGroupBox*>(widget))
            g->setTitle(text);
    }
    for (int i = 0; i < m_imageType->count(); ++i) {
        const auto type = TExportType(m_imageType->itemData(i).toInt());
        const QString caption = exportTypeCaption(type);
        m_imageType->setItemText(i, type == etPDF ? m_stitch.translate(caption) : caption);
    }
}

void TFPrintOptions::applyProductMode()
{
    m_productMode = true;
    for (TPrintOption hidden : {poReal, poBackStitchesSeparate, poStitchList, poBackStitches,
                                poRhodes, poBackSymbol})
        for (const auto& [box, option] : m_checks)
            if (option == hidden)
                box->setVisible(false);
    for (QWidget* w : m_legendBackStitches + m_legendStitchSteps)
        w->setVisible(false);
    m_realPicture->setVisible(false);
    translateUi();
}

void TFPrintOptions::syncControls()
{
    const PrintDialogModel& m = m_model;
    for (const auto& [box, option] : m_checks) {
        const QSignalBlocker b(box);
        box->setChecked(m.option(option));
    }
    for (const auto& [button, position] : m_positions) {
        const QSignalBlocker b(button);
        button->setChecked(m.keyPosition() == position);
    }
    {
        const QSignalBlocker b1(m_colors), b2(m_noColors);
        (m.options.useColors ? m_colors : m_noColors)->setChecked(true);
    }
    {
        const QSignalBlocker b1(m_toPrinter), b2(m_toFiles);
        (m.exportMode() ? m_toFiles : m_toPrinter)->setChecked(true);
    }
    {
        const QSignalBlocker b1(m_portrait), b2(m_landscape), b3(m_auto);
        if (!m_auto->isChecked())
            (m.format() == fLandscape ? m_landscape : m_portrait)->setChecked(true);
        if (m_orientationShown != int(fAuto))
            drawOrientationPicture(m.format());
    }
    const struct { QSpinBox* spin; int value; } spins[] = {
        {m_gridX, m.options.gridX}, {m_gridY, m.options.gridY},
        {m_jpegWidth, m.exportWidth()}, {m_jpegHeight, m.exportHeight()},
        {m_jpegGrid, m.exportGrid()}, {m_quality, m.qualityField()}};
    for (const auto& s : spins) {
        const QSignalBlocker b(s.spin);
        s.spin->setValue(s.value);
    }
    {
        const QSignalBlocker b(m_imageType);
        m_imageType->setCurrentIndex(m_imageType->findData(int(m.imageType())));
    }
    m_quality->setEnabled(m.qualityEnabled());
    // A PDF file has paper pages: the picture size does not apply to it.
    for (QSpinBox* s : {m_jpegWidth, m_jpegHeight, m_jpegGrid})
        s->setEnabled(!m.pdfPages());
    m_printerGroup->setEnabled(!m.exportMode());
    m_fileGroup->setEnabled(m.exportMode());
}

void TFPrintOptions::SetsaveToJpegs(bool exportMode)
{
    if (m_model.exportMode() != exportMode)
        m_model.setExportMode(exportMode);
    syncControls();
}

void TFPrintOptions::perform(PrintEffect effect)
{
    syncControls();
    switch (effect) {
    case PrintEffect::None:
        break;
    case PrintEffect::Layout:
        layout();
        break;
    case PrintEffect::ApplyPrinter:
        applyPrinter();
        break;
    }
}

void TFPrintOptions::fillPrinterList()
{
    const QSignalBlocker b(m_printers);
    m_printers->clear();
    const QStringList names = QPrinterInfo::availablePrinterNames();
    m_printers->addItems(names);
    if (m_printer.outputFormat() != QPrinter::NativeFormat) {
        // Printing into a PDF file: no system printer is chosen.
        m_printers->setCurrentIndex(-1);
        return;
    }
    QString current = m_printer.printerName();
    if (current.isEmpty() || !names.contains(current)) {
        current = QPrinterInfo::defaultPrinterName();
        if (current.isEmpty() && !names.isEmpty())
            current = names.first();
        if (!current.isEmpty())
            m_printer.setPrinterName(current);
    }
    m_printers->setCurrentIndex(names.indexOf(current));
}

void TFPrintOptions::showPrinterDetails()
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(m_printer.printerName());
    if (m_printer.outputFormat() == QPrinter::PdfFormat || info.isNull()) {
        m_type->setText(QStringLiteral("PDF"));
        m_location->setText(QFileInfo(m_printer.outputFileName()).fileName());
        m_comment->clear();
        m_status->setText(m_stitch.translate(PrinterStatus::text(0)));
        return;
    }
    m_type->setText(info.makeAndModel());
    m_location->setText(info.location());
    m_comment->setText(info.description());
    m_status->setText(m_stitch.translate(PrinterStatus::text(PrinterStatus::word(int(info.state())))));
}

void TFPrintOptions::applyPrinter(bool runLayout)
{
    // A PDF file has no edge that cannot be printed: its pages use the whole sheet at the
    // resolution of the PDF export, so that both give the same pages. A printer keeps its
    // unprintable margins and its own resolution.
    const bool pdf = m_printer.outputFormat() == QPrinter::PdfFormat;
    m_printer.setFullPage(pdf);
    if (pdf)
        m_printer.setResolution(PrintDialogModel::kPdfDpi);
    m_printer.setPageOrientation(m_model.format() == fLandscape ? QPageLayout::Landscape
                                                               : QPageLayout::Portrait);
    showPrinterDetails();
    m_model.preview.setPrinterMetrics(pageDeviceOf(m_printer), m_model.options,
                                      m_model.layoutInput());
    if (runLayout)
        layout();
}

void TFPrintOptions::layout()
{
    if (!m_doc)
        return;
    const bool fitted = m_model.runLayout();
    drawThumbnails();
    if (!fitted) {
        syncControls();
        showMessage(QString::fromLatin1(TPreview::kTooManyColorsMessage));
    }
}

void TFPrintOptions::drawThumbnails()
{
    QImage map(m_previewBox->contentsRect().size(), QImage::Format_RGB32);
    map.fill(Qt::white);
    {
        QPainter p(&map);
        m_model.preview.drawThumbnails(p, map.size(), m_model.options);
    }
    m_thumbnails = map;
    m_previewBox->setPixmap(QPixmap::fromImage(map));
}

void TFPrintOptions::drawOrientationPicture(int which)
{
    m_orientationShown = which;
    QPixmap pm(m_orientationPicture->size());
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    const QRect page = which == fLandscape ? QRect(3, 10, 37, 26) : QRect(9, 3, 26, 37);
    p.drawRect(page);
    p.setPen(QPen(QColor(0x13, 0xB6, 0x01), 2));
    if (which == fAuto) {
        // Both shapes over each other: the orientation follows the page.
        p.drawRect(QRect(3, 10, 37, 26).adjusted(4, 4, -4, -4));
    }
    const QRect in = page.adjusted(5, 5, -5, -5);
    for (int y = in.top(); y < in.bottom(); y += 5)
        p.drawLine(in.left(), y, in.right(), y);
    p.end();
    m_orientationPicture->setPixmap(pm);
}

void TFPrintOptions::setExportDefaults(const PatternDocument& doc)
{
    const TStitch& st = doc.stitch();
    TExportFolderInput in;
    in.current = QDir::fromNativeSeparators(m_path->text().trimmed());
    in.fileNameAssigned = st.FileNameAssigned;
    in.fileSaved = st.fileSaved();
    in.designFile = st.filename();
    in.recentFiles = st.RecentFiles;
    in.savePath = st.SavePath;
    m_path->setText(QDir::toNativeSeparators(defaultExportFolder(in)));
    m_fileName->setText(defaultExportFileName(st.filename(), m_model.imageType()));
}

void TFPrintOptions::prepare(const PatternDocument& doc)
{
    m_doc = &doc;
    m_model.open(doc);
    fillPrinterList();
    applyPrinter(false);
    setExportDefaults(doc);
    syncControls();
    layout();
}

int TFPrintOptions::Execute(const PatternDocument& doc)
{
    prepare(doc);
    return exec();
}

void TFPrintOptions::browseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, m_stitch.translate(QString::fromLatin1(kMessageSelectFolder)), m_path->text(),
        QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        m_path->setText(QDir::toNativeSeparators(folder));
}

void TFPrintOptions::showProperties()
{
    QPageSetupDialog dialog(&m_printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The setup dialog may have turned the page.
    const TFormat turned = m_printer.pageLayout().orientation() == QPageLayout::Landscape
        ? fLandscape : fPortrait;
    if (turned != m_model.format())
        m_model.setFormat(turned);
    fillPrinterList();
    syncControls();
    applyPrinter();
}

void TFPrintOptions::showHelp()
{
    showHelpContext(this, m_stitch, kHelpTopic);
}

void TFPrintOptions::showMessage(const QString& key, const QString& detail)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(), m_stitch.translate(key), QMessageBox::Ok, this);
    box.setInformativeText(detail);
    box.exec();
}

void TFPrintOptions::reject()
{
    if (m_running)
        return;
    QDialog::reject();
}
