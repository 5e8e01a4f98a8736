#pragma once
// The conversion wizard dialog (caption "Wizard"): four pages without tabs, crop with a rubber
// band, brightness and contrast, size, and palette, symbols, colours and dithering, each with a
// preview of its result. The work is WizardModel's; this dialog shows it and feeds it the
// user's choices. "Finish" and "Create empty template" close it with OK; buildDesign then
// makes the new design.
// The pictures of steps 1 to 3 are computed off the user-interface thread, the newest request
// winning; while one is pending the dialog shows that it is busy, and "Next" waits for it.

#include "convert/WizardModel.h"

#include <QDialog>
#include <QImage>

#include <functional>

class BackgroundJob;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QTimer;
class Session;
struct GhostPicture;
class TStitch;

namespace wizard_detail {
class SelectionView;
class PixelView;
}

class TFWizzard : public QDialog
{
    Q_OBJECT
public:
    explicit TFWizzard(TStitch& stitch, QWidget* parent = nullptr);
    ~TFWizzard() override;

    // Takes a loaded picture and prepares the dialog for it (ResetAll).
    void setSource(const QImage& source, const QString& path);
    WizardModel& model() { return m_model; }

    // Every caption again from the translation table (after a change of language).
    void translateUi();

    void SetStep(int n);
    int step() const { return m_model.step(); }
    // True when the dialog closed through "Create empty template".
    bool emptyTemplateChosen() const { return m_emptyChosen; }
    // True while a picture of steps 1 to 3 is still being computed.
    bool isBusy() const;
    // The help context of the step shown: 5100, 5200, 5300 or 5400.
    int helpContext() const { return 5000 + 100 * step(); }

    // After OK: checks that the design can be built (else the message is shown and nothing
    // changes), runs the start-up initialisation again as for New (`reinitialise`, which
    // shows its own errors and returns false to stop; session.initialise() when empty), builds
    // the design from the results of step 4 and makes the adjusted picture the ghost. Nothing
    // is computed again and nothing can be cancelled. Returns false when the design was not
    // replaced; the ghost is then untouched too.
    bool buildDesign(Session& session, GhostPicture& ghost,
                     const std::function<bool()>& reinitialise = {});

    // The controls, for the window's tests.
    QPushButton* prevButton() const { return m_prev; }
    QPushButton* nextButton() const { return m_next; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* emptyTemplateButton() const { return m_empty; }
    QPushButton* setSizeButton() const { return m_setSize; }
    QPushButton* resetButton() const { return m_reset; }
    QSlider* zoomBar() const { return m_zoom; }
    QSlider* brightnessBar() const { return m_brightness; }
    QSlider* contrastBar() const { return m_contrast; }
    QSlider* levelBar() const { return m_level; }
    QSpinBox* sizeField() const { return m_size; }
    QSpinBox* colorsField() const { return m_colors; }
    QComboBox* paletteList() const { return m_palettes; }
    QComboBox* symbolsList() const { return m_symbols; }
    QComboBox* ditherList() const { return m_dither; }
    QLabel* newSizeLabel() const { return m_newSize; }
    QLabel* originalSizeLabel() const { return m_originalSize; }
    QLabel* maxColorsLabel() const { return m_maxColors; }
    QTimer* sizeTimer() const { return m_timer1; }
    QTimer* colorsTimer() const { return m_timer2; }
    QWidget* busyIndicator() const;
    QWidget* adjustmentPreview() const;
    QWidget* sizePreview() const;

protected:
    void showEvent(QShowEvent* e) override;
    void done(int r) override;

private:
    // A button or label whose caption is the translation of `key`.
    QPushButton* keyButton(const char* key);
    QLabel* keyLabel(const char* key);
    void buildPages();
    QWidget* buildStep1();
    QWidget* buildStep2();
    QWidget* buildStep3();
    QWidget* buildStep4();
    void fillLists();
    void ResizeMain();
    void BrightnessChange();
    void Button1Click();
    void ComboPalettesChange();
    // The chosen palette and character set into the model.
    void takeChoices();
    // The colour count field set by the program: its delay does not start.
    void setColorsField(int n);
    void SetUsedColors();
    // The colour count field shows the number of colours the last run kept.
    void showColorsCount();
    void BNextClick();
    void BHelpClick();
    void showFinal();
    void updateButtons();
    // The background recomputations: crop (entering step 2) and brightness/contrast.
    void requestPreAdjustments();
    void requestAdjustment();
    // True while crop, adjustment or size is pending: the pictures the next step builds on.
    bool stepPending() const;
    // Busy indicator, wait cursor over the previews, buttons, and a "Next" waiting for them.
    void busyChanged();
    // The progress of a long colour run: a modal progress dialog that can cancel it.
    bool runWithProgress(const std::function<bool(const DitherProgress&)>& work);

    TStitch& m_stitch;
    WizardModel m_model;
    bool m_emptyChosen = false;
    bool m_updating = false;
    bool m_advanceWhenReady = false; // "Next" pressed while the step's picture was pending

    QStackedWidget* m_pages = nullptr;
    QPushButton *m_prev = nullptr, *m_next = nullptr, *m_cancel = nullptr, *m_help = nullptr,
                *m_empty = nullptr, *m_setSize = nullptr, *m_reset = nullptr, *m_setColors = nullptr;
    QSlider *m_zoom = nullptr, *m_brightness = nullptr, *m_contrast = nullptr, *m_level = nullptr;
    QSpinBox *m_size = nullptr, *m_colors = nullptr;
    QComboBox *m_palettes = nullptr, *m_symbols = nullptr, *m_dither = nullptr;
    QLabel *m_originalSize = nullptr, *m_newSize = nullptr, *m_maxColors = nullptr;
    QScrollArea* m_scroll = nullptr;
    wizard_detail::SelectionView* m_selection = nullptr;
    wizard_detail::PixelView *m_adjustView = nullptr, *m_sizeView = nullptr, *m_finalView = nullptr;
    QTimer *m_timer1 = nullptr, *m_timer2 = nullptr;
    QProgressBar* m_busyBar = nullptr;
    QLabel* m_busyText = nullptr;
    BackgroundJob *m_viewJob = nullptr, *m_cropJob = nullptr, *m_adjustJob = nullptr, *m_sizeJob = nullptr;
};

// The "Convert Picture to Template ..." command after the window's own checks: chooses a
// picture in Stitch.PicturesPath, loads it (errors shown naming the file), runs the wizard
// (kept as a child of `parent` for "Wizzard ...") and builds the design with buildDesign,
// passing it `reinitialise`. `pictureOpened` runs once the chosen picture is in the wizard
// (before it is shown), so that "Wizzard ..." can show it again even when it is cancelled.
// True when a new design was made; the window then prepares its view as for a new design.
bool runConversionWizard(QWidget* parent, Session& session, GhostPicture& ghost,
                         const std::function<bool()>& reinitialise = {},
                         const std::function<void()>& pictureOpened = {});
// The same for a picture already chosen.
bool runConversionWizard(QWidget* parent, Session& session, GhostPicture& ghost, const QString& path,
                         const std::function<bool()>& reinitialise = {},
                         const std::function<void()>& pictureOpened = {});
// The kept wizard of `parent`, if any, takes the captions of the current language.
void translateConversionWizard(QWidget* parent);
// "Wizzard ...": shows the kept wizard again as it was left; its result is not applied.
// False when no picture has been converted yet.
bool showConversionWizardAgain(QWidget* parent);
