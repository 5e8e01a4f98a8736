#pragma once
// The print dialog ("Print"): printer or picture export, the page options, the drawing
// options, the printer's status and a thumbnail map of the pages. The rules of the options
// and the layout are PrintDialogModel's; this dialog shows them, applies the printer's page
// and runs the print job with its progress window.

#include "print/PrintDialogModel.h"
#include "print/PrintJobRunner.h"

#include <QDialog>
#include <QPrinter>

#include <functional>

class PatternDocument;
class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TFPrintInProgress;
class TStitch;

class TFPrintOptions : public QDialog
{
    Q_OBJECT
public:
    explicit TFPrintOptions(TStitch& stitch, QWidget* parent = nullptr);
    ~TFPrintOptions() override;

    // Prepares the dialog for `doc` (key list, printer list, export folder and name, layout)
    // and shows it modally.
    int Execute(const PatternDocument& doc);
    // Everything Execute does before showing the dialog.
    void prepare(const PatternDocument& doc);

    // Printer mode (false) or export mode (true), with the groups enabled to match.
    void SetsaveToJpegs(bool exportMode);
    // Hides what the pixel-art product mode does not offer; the hidden options keep their
    // values.
    void applyProductMode();
    void translateUi();

    // The "Print" button: runs the print job. False when nothing was produced.
    bool printJob();

    PrintDialogModel& model() { return m_model; }
    QPrinter& printer() { return m_printer; }
    TFPrintInProgress* progressWindow() const { return m_progress; }
    // The thumbnail map as last drawn.
    QImage thumbnailMap() const { return m_thumbnails; }
    // The files the last export wrote.
    QStringList writtenFiles() const { return m_written; }

    // Closing is refused while a job runs.
    void reject() override;

private:
    struct CheckDef;
    void buildUi();
    QWidget* buildOutputColumn();
    QWidget* buildPagesColumn();
    QWidget* buildOptionsColumn();
    QWidget* buildPreviewColumn();

    // Controls follow the model (signals blocked).
    void syncControls();
    void perform(PrintEffect effect);
    // Step 3 of showing: the chosen printer becomes current, its orientation follows the
    // format, its details and status are shown and its page is read; then the layout.
    void applyPrinter(bool runLayout = true);
    void fillPrinterList();
    void showPrinterDetails();
    void layout();
    void drawThumbnails();
    void drawOrientationPicture(int which);
    void setExportDefaults(const PatternDocument& doc);
    void browseFolder();
    void showProperties();
    void showHelp();
    void showMessage(const QString& key, const QString& detail = {});

    bool runOnPrinter();
    bool runExport();
    // Runs `work` with the progress window, on the worker thread or here in slices; false
    // when it was cancelled or failed (the failure shown).
    bool runJob(const PrintJobRunner::Work& work, bool onWorker);
    TPrintJobInput jobInput();
    TExportRequest exportRequest() const;

    TStitch& m_stitch;
    const PatternDocument* m_doc = nullptr;
    PrintDialogModel m_model;
    QPrinter m_printer{QPrinter::HighResolution};
    TFPrintInProgress* m_progress = nullptr;
    PrintJobRunner* m_runner = nullptr;
    TPrintOptions m_jobOptions;
    QImage m_thumbnails;
    QStringList m_written;
    bool m_running = false;

    QWidget* m_body = nullptr;
    QRadioButton* m_toPrinter = nullptr;
    QRadioButton* m_toFiles = nullptr;
    QGroupBox* m_printerGroup = nullptr;
    QGroupBox* m_fileGroup = nullptr;
    QComboBox* m_printers = nullptr;
    QLabel* m_type = nullptr;
    QLabel* m_location = nullptr;
    QLabel* m_comment = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_properties = nullptr;
    QSpinBox* m_jpegWidth = nullptr;
    QSpinBox* m_jpegHeight = nullptr;
    QSpinBox* m_jpegGrid = nullptr;
    QSpinBox* m_quality = nullptr;
    QLineEdit* m_path = nullptr;
    QLineEdit* m_fileName = nullptr;
    QPushButton* m_browse = nullptr;
    QComboBox* m_imageType = nullptr;
    QList<QPair<QRadioButton*, TPosition>> m_positions;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QRadioButton* m_auto = nullptr;
    QLabel* m_orientationPicture = nullptr;
    QList<QPair<QCheckBox*, TPrintOption>> m_checks;
    QRadioButton* m_colors = nullptr;
    QRadioButton* m_noColors = nullptr;
    QLabel* m_realPicture = nullptr;
    QSpinBox* m_gridX = nullptr;
    QSpinBox* m_gridY = nullptr;
    QLabel* m_previewBox = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_help = nullptr;
    // Widgets whose text is a translation key, with the key.
    QList<QPair<QWidget*, QString>> m_captions;
    QList<QWidget*> m_legendBackStitches;
    QList<QWidget*> m_legendStitchSteps;
    QLabel* m_legendPattern = nullptr;
    bool m_productMode = false;
    int m_orientationShown = 0;
};
