#include "TFWizzard.h"

#include "BackgroundJob.h"

#include "core/QuillError.h"
#include "core/TStitch.h"
#include "files/GhostPicture.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"
#include "session/Session.h"
#include "view/GhostOverlay.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace wizard_detail {

// A raster shown enlarged (or reduced) to fit, with nearest-neighbour pixels, so that every
// design cell shows as a block.
class PixelView : public QWidget
{
public:
    using QWidget::QWidget;
    void setImage(const QImage& image)
    {
        m_image = image;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().window());
        if (m_image.isNull())
            return;
        const QSize s = m_image.size().scaled(size(), Qt::KeepAspectRatio);
        const QRect r(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        p.drawImage(r, m_image);
    }

private:
    QImage m_image;
};

// The picture at the zoom factor with the rubber band over it. Drags of the band's inside move
// it; drags near an edge or corner resize it. Positions are widget pixels (the scroll area
// moves the widget, so the offset of the model is 0).
class SelectionView : public QWidget
{
public:
    SelectionView(WizardModel& model, QWidget* parent) : QWidget(parent), m_model(model)
    {
        setMouseTracking(true);
    }
    // The picture at the model's zoom, once computed.
    void setImage(const QImage& image)
    {
        m_image = image;
        fitToModel();
    }
    // Takes the size of the picture at the model's zoom at once, so that the rubber band fits
    // it; until the picture at that zoom arrives the previous one is shown stretched.
    void fitToModel()
    {
        const QSize s = m_model.hasSource() ? m_model.selectionViewSize() : QSize();
        resize(s);
        setMinimumSize(s);
        update();
    }
    void setBusy(bool busy)
    {
        m_busy = busy;
        if (busy)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        if (m_image.size() == size())
            p.drawImage(0, 0, m_image);
        else if (!m_image.isNull())
            p.drawImage(rect(), m_image);
        if (!m_model.rubberVisible())
            return;
        const QRect f = m_model.rubberFrame().toRect().adjusted(0, 0, -1, -1);
        // A stipple of yellow, yellow, black.
        QPen pen(Qt::yellow);
        pen.setDashPattern({2, 1});
        p.setPen(QPen(Qt::black));
        p.drawRect(f);
        p.setPen(pen);
        p.drawRect(f);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() != Qt::LeftButton)
            return;
        m_dragStart = e->position();
        m_frameStart = m_model.rubberFrame();
        m_kind = hit(e->position());
        m_dragging = m_kind.has_value();
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (!m_dragging) {
            setCursor(m_busy ? Qt::WaitCursor : cursorFor(hit(e->position())));
            return;
        }
        const QPointF d = e->position() - m_dragStart;
        QRectF f = m_frameStart;
        using D = WizardModel::Drag;
        switch (*m_kind) {
        case D::Move: f.translate(d); break;
        case D::Left: f.setLeft(f.left() + d.x()); break;
        case D::Right: f.setRight(f.right() + d.x()); break;
        case D::Top: f.setTop(f.top() + d.y()); break;
        case D::Bottom: f.setBottom(f.bottom() + d.y()); break;
        case D::TopLeft: f.setTopLeft(f.topLeft() + d); break;
        case D::TopRight: f.setTopRight(f.topRight() + d); break;
        case D::BottomLeft: f.setBottomLeft(f.bottomLeft() + d); break;
        case D::BottomRight: f.setBottomRight(f.bottomRight() + d); break;
        }
        m_model.RubberResize(f, *m_kind);
        update();
    }
    void mouseReleaseEvent(QMouseEvent*) override { m_dragging = false; }

private:
    std::optional<WizardModel::Drag> hit(QPointF p) const
    {
        using D = WizardModel::Drag;
        const QRectF f = m_model.rubberFrame();
        constexpr double g = 4;
        if (!f.adjusted(-g, -g, g, g).contains(p))
            return std::nullopt;
        const bool l = std::abs(p.x() - f.left()) <= g, r = std::abs(p.x() - f.right()) <= g;
        const bool t = std::abs(p.y() - f.top()) <= g, b = std::abs(p.y() - f.bottom()) <= g;
        if (t && l) return D::TopLeft;
        if (t && r) return D::TopRight;
        if (b && l) return D::BottomLeft;
        if (b && r) return D::BottomRight;
        if (l) return D::Left;
        if (r) return D::Right;
        if (t) return D::Top;
        if (b) return D::Bottom;
        return D::Move;
    }
    static Qt::CursorShape cursorFor(std::optional<WizardModel::Drag> k)
    {
        using D = WizardModel::Drag;
        if (!k) return Qt::ArrowCursor;
        switch (*k) {
        case D::Move: return Qt::SizeAllCursor;
        case D::Left: case D::Right: return Qt::SizeHorCursor;
        case D::Top: case D::Bottom: return Qt::SizeVerCursor;
        case D::TopLeft: case D::BottomRight: return Qt::SizeFDiagCursor;
        default: return Qt::SizeBDiagCursor;
        }
    }

    WizardModel& m_model;
    QImage m_image;
    bool m_busy = false;
    bool m_dragging = false;
    std::optional<WizardModel::Drag> m_kind;
    QPointF m_dragStart;
    QRectF m_frameStart;
};

} // namespace wizard_detail

using wizard_detail::PixelView;
using wizard_detail::SelectionView;

namespace {

QSlider* bar(Qt::Orientation o, int lo, int hi, int value, int single, int page)
{
    auto* s = new QSlider(o);
    s->setRange(lo, hi);
    s->setValue(value);
    s->setSingleStep(single);
    s->setPageStep(page);
    return s;
}

QString sizeText(QSize s)
{
    return QString::number(s.width()) + QStringLiteral(" x ") + QString::number(s.height());
}

} // namespace

TFWizzard::TFWizzard(TStitch& stitch, QWidget* parent) : QDialog(parent), m_stitch(stitch), m_model(stitch)
{
    setTextKey(this, QStringLiteral("Wizard"), m_stitch);
    resize(908, 601);
    m_timer1 = new QTimer(this);
    m_timer1->setInterval(2000);
    m_timer1->setSingleShot(true);
    connect(m_timer1, &QTimer::timeout, this, &TFWizzard::Button1Click);
    m_timer2 = new QTimer(this);
    m_timer2->setInterval(1000);
    m_timer2->setSingleShot(true);
    connect(m_timer2, &QTimer::timeout, this, &TFWizzard::SetUsedColors);
    buildPages();
    fillLists();
    const auto changed = [this] { busyChanged(); };
    m_viewJob = new BackgroundJob(this, changed);
    m_cropJob = new BackgroundJob(this, changed);
    m_adjustJob = new BackgroundJob(this, changed);
    m_sizeJob = new BackgroundJob(this, changed);
}

QPushButton* TFWizzard::keyButton(const char* key)
{
    auto* b = new QPushButton;
    setTextKey(b, QString::fromLatin1(key), m_stitch);
    return b;
}

QLabel* TFWizzard::keyLabel(const char* key)
{
    auto* l = new QLabel;
    setTextKey(l, QString::fromLatin1(key), m_stitch);
    return l;
}

void TFWizzard::translateUi()
{
    retranslate(this, m_stitch);
    for (int i = 0; i < m_dither->count(); ++i)
        m_dither->setItemText(i, m_stitch.translate(ditherMethodCaption(DitherMethod(m_dither->itemData(i).toInt()))));
}

TFWizzard::~TFWizzard()
{
    // Gone before the rest of the dialog, so that no result can reach it any more; a job still
    // running finishes on its own and its result is dropped.
    delete m_viewJob;
    delete m_cropJob;
    delete m_adjustJob;
    delete m_sizeJob;
}

void TFWizzard::buildPages()
{
    m_pages = new QStackedWidget;
    m_pages->addWidget(buildStep1());
    m_pages->addWidget(buildStep2());
    m_pages->addWidget(buildStep3());
    m_pages->addWidget(buildStep4());

    m_help = keyButton("Help");
    m_empty = keyButton("Create empty template");
    m_prev = keyButton("Prev");
    m_next = keyButton("Next");
    m_cancel = keyButton("Cancel");
    m_next->setDefault(true);
    m_busyBar = new QProgressBar;
    m_busyBar->setRange(0, 0); // no known end: a moving bar
    m_busyBar->setTextVisible(false);
    m_busyBar->setMaximumWidth(120);
    m_busyText = keyLabel("Computing the picture ...");
    // The row keeps its height whether or not the indicator shows.
    for (QWidget* w : {static_cast<QWidget*>(m_busyBar), static_cast<QWidget*>(m_busyText)}) {
        QSizePolicy keep = w->sizePolicy();
        keep.setRetainSizeWhenHidden(true);
        w->setSizePolicy(keep);
        w->hide();
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_help);
    buttons->addWidget(m_empty);
    buttons->addSpacing(12);
    buttons->addWidget(m_busyBar);
    buttons->addWidget(m_busyText);
    buttons->addStretch();
    buttons->addWidget(m_prev);
    buttons->addWidget(m_next);
    buttons->addWidget(m_cancel);
    auto* main = new QVBoxLayout(this);
    main->addWidget(m_pages, 1);
    main->addLayout(buttons);

    connect(m_prev, &QPushButton::clicked, this, [this] { SetStep(m_model.step() - 1); });
    connect(m_next, &QPushButton::clicked, this, &TFWizzard::BNextClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, &TFWizzard::BHelpClick);
    connect(m_empty, &QPushButton::clicked, this, [this] {
        m_emptyChosen = true;
        accept();
    });
}

QWidget* TFWizzard::buildStep1()
{
    auto* page = new QWidget;
    m_zoom = bar(Qt::Vertical, WizardModel::kZoomMin, WizardModel::kZoomMax, 100, 1, 5);
    m_zoom->setInvertedAppearance(true);
    m_scroll = new QScrollArea;
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_selection = new SelectionView(m_model, nullptr);
    m_scroll->setWidget(m_selection);
    auto* left = new QVBoxLayout;
    left->addWidget(keyLabel("Zoom :"));
    left->addWidget(m_zoom, 1);
    auto* l = new QHBoxLayout(page);
    l->addLayout(left);
    l->addWidget(m_scroll, 1);
    connect(m_zoom, &QSlider::valueChanged, this, [this](int v) {
        if (m_updating)
            return;
        m_model.SetZoomFactor(v / 100.0);
        ResizeMain();
    });
    return page;
}

QWidget* TFWizzard::buildStep2()
{
    auto* page = new QWidget;
    m_brightness = bar(Qt::Vertical, WizardModel::kBrightnessMin, WizardModel::kBrightnessMax, 0, 10, 20);
    m_contrast = bar(Qt::Vertical, WizardModel::kContrastMin, WizardModel::kContrastMax, 100, 10, 20);
    m_reset = keyButton("Reset to default");
    m_adjustView = new PixelView;
    auto* bars = new QGridLayout;
    bars->addWidget(keyLabel("Brightness :"), 0, 0);
    bars->addWidget(keyLabel("Contrast :"), 0, 1);
    bars->addWidget(m_brightness, 1, 0, Qt::AlignHCenter);
    bars->addWidget(m_contrast, 1, 1, Qt::AlignHCenter);
    bars->addWidget(m_reset, 2, 0, 1, 2);
    bars->setRowStretch(1, 1);
    auto* l = new QHBoxLayout(page);
    l->addLayout(bars);
    l->addWidget(m_adjustView, 1);
    connect(m_brightness, &QSlider::valueChanged, this, &TFWizzard::BrightnessChange);
    connect(m_contrast, &QSlider::valueChanged, this, &TFWizzard::BrightnessChange);
    connect(m_reset, &QPushButton::clicked, this, [this] {
        m_updating = true;
        m_brightness->setValue(0);
        m_contrast->setValue(100);
        m_updating = false;
        BrightnessChange();
    });
    return page;
}

QWidget* TFWizzard::buildStep3()
{
    auto* page = new QWidget;
    m_originalSize = new QLabel;
    m_newSize = new QLabel;
    m_size = new QSpinBox;
    m_size->setRange(2, WizardModel::kSizeLimit);
    m_size->setValue(100);
    m_size->setKeyboardTracking(true);
    m_setSize = keyButton("Set size");
    m_sizeView = new PixelView;
    auto* form = new QGridLayout;
    form->addWidget(keyLabel("Original size:"), 0, 0);
    form->addWidget(m_originalSize, 0, 1);
    form->addWidget(keyLabel("New size:"), 1, 0);
    form->addWidget(m_newSize, 1, 1);
    form->addWidget(keyLabel("Max width/height :"), 2, 0);
    form->addWidget(m_size, 2, 1);
    form->addWidget(m_setSize, 3, 0, 1, 2);
    form->setRowStretch(4, 1);
    auto* l = new QHBoxLayout(page);
    l->addLayout(form);
    l->addWidget(m_sizeView, 1);
    // Typing or the arrows: the size takes effect two seconds after the last change.
    connect(m_size, &QSpinBox::valueChanged, this, [this] {
        if (!m_updating)
            m_timer1->start();
    });
    connect(m_setSize, &QPushButton::clicked, this, &TFWizzard::Button1Click);
    return page;
}

QWidget* TFWizzard::buildStep4()
{
    auto* page = new QWidget;
    m_symbols = new QComboBox;
    m_palettes = new QComboBox;
    m_maxColors = new QLabel;
    m_colors = new QSpinBox;
    m_colors->setRange(WizardModel::kColorsMin, WizardModel::kColorsMax);
    m_colors->setValue(500);
    m_setColors = keyButton("Set used colors");
    m_setColors->hide();
    m_dither = new QComboBox;
    for (DitherMethod m : {DitherMethod::None, DitherMethod::FloydSteinberg, DitherMethod::JarvisJudiceNinke,
                           DitherMethod::Stucki, DitherMethod::SierraLite})
        m_dither->addItem(m_stitch.translate(ditherMethodCaption(m)), int(m));
    m_level = bar(Qt::Horizontal, 0, WizardModel::kLevelMax, 0, 1, 5);
    m_finalView = new PixelView;
    auto* form = new QGridLayout;
    int row = 0;
    form->addWidget(keyLabel("Symbols :"), row, 0);
    form->addWidget(m_symbols, row++, 1);
    form->addWidget(keyLabel("Palettes :"), row, 0);
    form->addWidget(m_palettes, row++, 1);
    form->addWidget(keyLabel("Max colours"), row, 0);
    form->addWidget(m_maxColors, row++, 1);
    form->addWidget(keyLabel("Colors count :"), row, 0);
    form->addWidget(m_colors, row++, 1);
    form->addWidget(m_setColors, row++, 0, 1, 2);
    form->addWidget(keyLabel("Dithering :"), row, 0);
    form->addWidget(m_dither, row++, 1);
    form->addWidget(keyLabel("Dithering Level"), row, 0);
    form->addWidget(m_level, row++, 1);
    form->setRowStretch(row, 1);
    auto* l = new QHBoxLayout(page);
    l->addLayout(form);
    l->addWidget(m_finalView, 1);

    connect(m_palettes, &QComboBox::currentIndexChanged, this, &TFWizzard::ComboPalettesChange);
    connect(m_symbols, &QComboBox::currentIndexChanged, this, &TFWizzard::ComboPalettesChange);
    connect(m_colors, &QSpinBox::valueChanged, this, [this] {
        if (!m_updating)
            m_timer2->start();
    });
    connect(m_setColors, &QPushButton::clicked, this, &TFWizzard::SetUsedColors);
    connect(m_dither, &QComboBox::currentIndexChanged, this, [this] {
        if (m_updating)
            return;
        m_model.setDither(DitherMethod(m_dither->currentData().toInt()));
        SetUsedColors();
    });
    // The level applies when the bar is let go, not at every position of a drag (each run
    // dithers the whole picture); a change by keyboard or by a click beside the handle
    // applies at once.
    connect(m_level, &QSlider::valueChanged, this, [this](int v) {
        if (m_updating)
            return;
        m_model.setLevel(v);
        if (!m_level->isSliderDown() && m_model.dither() != DitherMethod::None)
            SetUsedColors();
    });
    connect(m_level, &QSlider::sliderReleased, this, [this] {
        m_model.setLevel(m_level->value());
        if (m_model.dither() != DitherMethod::None && !m_model.resultCurrent())
            SetUsedColors();
    });
    return page;
}

void TFWizzard::fillLists()
{
    m_updating = true;
    m_symbols->clear();
    m_symbols->addItems(m_model.characterSetNames());
    m_symbols->setCurrentIndex(m_symbols->findText(m_model.characters()));
    m_palettes->clear();
    m_palettes->addItems(m_model.paletteNames());
    m_palettes->setCurrentIndex(m_palettes->findText(m_model.palette())); // none at first
    m_updating = false;
}

void TFWizzard::setSource(const QImage& source, const QString& path)
{
    // Nothing computed for the previous picture is wanted any more.
    for (BackgroundJob* job : {m_viewJob, m_cropJob, m_adjustJob, m_sizeJob})
        job->cancel();
    m_model.setSource(source, path);
    m_selection->setImage(QImage());
    m_emptyChosen = false;
    // The view's visible size: the scroll area's viewport once laid out.
    m_pages->setCurrentIndex(0);
    if (!isVisible())
        layout()->activate();
    m_model.ResetAll(m_scroll->viewport()->size());
    m_updating = true;
    m_brightness->setValue(0);
    m_contrast->setValue(100);
    m_zoom->setValue(m_model.zoomBarPosition());
    m_updating = false;
    ResizeMain();
    SetStep(1);
}

void TFWizzard::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (m_symbols->count() == 0 || m_palettes->count() == 0)
        fillLists();
}

void TFWizzard::done(int r)
{
    m_timer1->stop();
    m_timer2->stop();
    // A closed wizard does not move on by itself; pending pictures still arrive, so that
    // "Wizzard ..." shows it as it was left.
    m_advanceWhenReady = false;
    QDialog::done(r);
}

void TFWizzard::ResizeMain()
{
    m_selection->fitToModel();
    const QImage source = m_model.source();
    const double zoom = m_model.zoomFactor();
    m_viewJob->request([this, source, zoom] {
        const QImage view = WizardModel::makeSelectionView(source, zoom);
        return BackgroundJob::Apply([this, view] { m_selection->setImage(view); });
    });
}

void TFWizzard::SetStep(int n)
{
    n = std::clamp(n, 1, 4);
    m_timer1->stop();
    m_timer2->stop();
    m_advanceWhenReady = false;
    // A picture still computed for the step being left is not wanted any more.
    m_cropJob->cancel();
    m_adjustJob->cancel();
    m_sizeJob->cancel();
    if (n == 4 || (n == 3 && m_model.adjusted().isNull())) {
        // Step 4 builds on the installed size (its colour work shows its own progress); step 3
        // entered without step 2's crop (only when called directly) computes the crop at once.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (m_model.adjusted().isNull())
            m_model.setBrightnessContrast(m_brightness->value(), m_contrast->value());
        m_model.SetStep(n);
        QApplication::restoreOverrideCursor();
    } else {
        m_model.setCurrentStep(n);
    }
    m_pages->setCurrentIndex(n - 1);
    m_model.setRubberVisible(n == 1);
    if (n == 2) {
        requestPreAdjustments();
    } else if (n == 3) {
        m_updating = true;
        m_size->setMaximum(m_model.sizeMaximum());
        m_size->setValue(m_model.size());
        m_updating = false;
        m_originalSize->setText(sizeText(m_model.adjusted().size()));
        Button1Click();
    } else if (n == 4) {
        if (m_palettes->count() > 0 && m_palettes->currentIndex() < 0) {
            m_updating = true;
            m_palettes->setCurrentIndex(m_palettes->findText(m_model.palette()));
            m_updating = false;
        }
        // The count field starts at the colours available. The colour work is done once, for
        // every colour the picture can have; the field then shows that number, which keeps the
        // same colours, so it is set without starting its delay.
        const int before = m_colors->value();
        setColorsField(WizardModel::kColorsMax);
        m_model.setColors(WizardModel::kColorsMax);
        takeChoices();
        if (m_model.resultCurrent())
            showFinal();
        else
            SetUsedColors();
        if (m_model.paletteChosen()) {
            showColorsCount();
        } else {
            setColorsField(before);
            m_model.setColors(before);
        }
    }
    updateButtons();
}

void TFWizzard::updateButtons()
{
    const int n = m_model.step();
    m_prev->setEnabled(n > 1);
    m_empty->setEnabled(n == 4);
    m_dither->setEnabled(n == 4);
    setTextKey(m_next, n == 4 ? QStringLiteral("Finish") : QStringLiteral("Next"), m_stitch);
    m_next->setEnabled(!m_advanceWhenReady && (n < 4 || m_model.paletteChosen()));
}

bool TFWizzard::isBusy() const
{
    return m_viewJob->isPending() || stepPending();
}

bool TFWizzard::stepPending() const
{
    return m_cropJob->isPending() || m_adjustJob->isPending() || m_sizeJob->isPending();
}

QWidget* TFWizzard::busyIndicator() const
{
    return m_busyBar;
}

QWidget* TFWizzard::adjustmentPreview() const
{
    return m_adjustView;
}

QWidget* TFWizzard::sizePreview() const
{
    return m_sizeView;
}

void TFWizzard::busyChanged()
{
    const bool busy = isBusy();
    m_busyBar->setVisible(busy);
    m_busyText->setVisible(busy);
    m_selection->setBusy(busy);
    for (QWidget* preview : {static_cast<QWidget*>(m_adjustView), static_cast<QWidget*>(m_sizeView)}) {
        if (busy)
            preview->setCursor(Qt::WaitCursor);
        else
            preview->unsetCursor();
    }
    if (m_advanceWhenReady && !stepPending()) {
        m_advanceWhenReady = false;
        BNextClick();
        return;
    }
    updateButtons();
}

void TFWizzard::BNextClick()
{
    if (m_model.step() < 4) {
        // A typed size whose delay has not run out yet is the size the next step gets.
        if (m_timer1->isActive())
            Button1Click();
        // The next step builds on this step's picture: wait for the newest one.
        if (stepPending()) {
            m_advanceWhenReady = true;
            updateButtons();
            return;
        }
        SetStep(m_model.step() + 1);
        return;
    }
    // "Finish" builds what the fields ask for: a count whose delay is still running, or a run
    // that was cancelled or failed, is done first (and can be cancelled again).
    if (m_timer2->isActive() || !m_model.resultCurrent())
        SetUsedColors();
    if (m_model.resultCurrent()) {
        m_emptyChosen = false;
        accept();
    }
}

void TFWizzard::BrightnessChange()
{
    if (m_updating)
        return;
    requestAdjustment();
}

void TFWizzard::requestPreAdjustments()
{
    m_adjustJob->cancel();
    const QImage source = m_model.source();
    const QRectF selection = m_model.selectionRect();
    const int b = m_brightness->value(), c = m_contrast->value();
    m_cropJob->request([this, source, selection, b, c] {
        const WizardModel::PreAdjustments p = WizardModel::makePreAdjustments(source, selection, b, c);
        return BackgroundJob::Apply([this, p] {
            m_model.installPreAdjustments(p);
            m_adjustView->setImage(p.adjusted.picture);
            // The bars moved while the crop was computed: their newest values follow.
            if (m_brightness->value() != p.adjusted.brightness || m_contrast->value() != p.adjusted.contrast)
                requestAdjustment();
        });
    });
}

void TFWizzard::requestAdjustment()
{
    // A crop still being computed takes the bars' values when it arrives.
    if (m_cropJob->isPending())
        return;
    const QImage pre = m_model.preAdjustments();
    const int b = m_brightness->value(), c = m_contrast->value();
    m_adjustJob->request([this, pre, b, c] {
        const WizardModel::Adjusted a = WizardModel::makeAdjusted(pre, b, c);
        return BackgroundJob::Apply([this, a] {
            m_model.installAdjusted(a);
            m_adjustView->setImage(a.picture);
        });
    });
}

void TFWizzard::Button1Click()
{
    m_timer1->stop();
    const QImage adjusted = m_model.adjusted();
    const int n = m_size->value();
    if (adjusted.isNull()) { // nothing to resize: only the size is recorded
        m_sizeJob->cancel();
        m_model.setSize(n);
        return;
    }
    m_sizeJob->request([this, adjusted, n] {
        const WizardModel::Resized r = WizardModel::makeResized(adjusted, n);
        return BackgroundJob::Apply([this, r] {
            m_model.installResized(r);
            m_newSize->setText(sizeText(r.picture.size()));
            m_sizeView->setImage(r.picture);
        });
    });
}

void TFWizzard::ComboPalettesChange()
{
    if (m_updating || m_palettes->currentIndex() < 0)
        return;
    takeChoices();
    // Another palette or set: every colour it can give is asked for again.
    setColorsField(WizardModel::kColorsMax);
    SetUsedColors();
}

void TFWizzard::takeChoices()
{
    if (m_palettes->currentIndex() >= 0)
        m_model.setPalette(m_palettes->currentText());
    if (m_symbols->currentIndex() >= 0)
        m_model.setCharacters(m_symbols->currentText());
}

void TFWizzard::setColorsField(int n)
{
    m_updating = true;
    m_colors->setValue(n);
    m_updating = false;
}

void TFWizzard::SetUsedColors()
{
    m_timer2->stop();
    if (m_model.palette().isEmpty())
        return;
    m_model.setColors(m_colors->value());
    try {
        runWithProgress([this](const DitherProgress& p) { return m_model.processPalette(p); });
    } catch (const QuillError& e) {
        showMessageBox(this, QMessageBox::Warning, windowTitle(), e.translated(m_stitch), m_stitch);
    }
    // The field shows the number of colours the run kept.
    if (m_model.resultCurrent())
        showColorsCount();
    showFinal();
    updateButtons();
}

void TFWizzard::showColorsCount()
{
    setColorsField(std::clamp(m_model.colorsCount(), WizardModel::kColorsMin, WizardModel::kColorsMax));
    m_model.setColors(m_colors->value());
}

void TFWizzard::showFinal()
{
    m_maxColors->setText(QString::number(m_model.maxAvailableColors()));
    m_finalView->setImage(m_model.paletteChosen() ? m_model.finalPicture().toOpaqueImage() : QImage());
}

bool TFWizzard::runWithProgress(const std::function<bool(const DitherProgress&)>& work)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // Shown only when the run takes a while; while it is up the wizard takes no input, so the
    // events processed between rows can only repaint or press its "Cancel".
    QProgressDialog progress(m_stitch.translate(QStringLiteral("Dithering ...")),
                             m_stitch.translate(QStringLiteral("Cancel")), 0, 1, this);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    const bool ok = work([&progress](int position, int maximum) {
        if (progress.maximum() != maximum)
            progress.setMaximum(maximum);
        progress.setValue(position);
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    QApplication::restoreOverrideCursor();
    return ok;
}

void TFWizzard::BHelpClick()
{
    // Help topics 5100 .. 5400, one per step.
    showHelpContext(this, m_stitch, helpContext());
}

bool TFWizzard::buildDesign(Session& session, GhostPicture& ghost, const std::function<bool()>& reinitialise)
{
    // Everything that can stop the build is checked while the open design is still intact.
    try {
        m_model.checkFinish(m_emptyChosen);
    } catch (const QuillError& e) {
        showMessageBox(parentWidget(), QMessageBox::Warning, windowTitle(), e.translated(m_stitch), m_stitch);
        return false;
    }
    TStitch& st = session.stitch();
    PatternDocument& doc = session.document();
    const bool wasSaved = st.fileSaved();
    const bool wasKnitting = doc.KnittingMode;
    const auto restore = [&] {
        doc.KnittingMode = wasKnitting;
        st.setFileSaved(wasSaved);
    };
    // As for New: settings and catalogues read again.
    if (reinitialise) {
        if (!reinitialise())
            return false;
    } else {
        try {
            session.initialise();
        } catch (const QuillError& e) {
            restore();
            showMessageBox(parentWidget(), QMessageBox::Warning, windowTitle(), e.translated(m_stitch), m_stitch);
            return false;
        }
    }
    // The design comes from the pictures and tables step 4 already made: nothing is computed
    // again, so nothing here can be cancelled.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        m_model.finish(doc, m_emptyChosen);
    } catch (const QuillError& e) {
        // Only a design too large for the memory (or a catalogue changed on disk since the
        // check) gets here; the open design is untouched.
        QApplication::restoreOverrideCursor();
        restore();
        showMessageBox(parentWidget(), QMessageBox::Warning, windowTitle(), e.translated(m_stitch), m_stitch);
        return false;
    }
    QApplication::restoreOverrideCursor();
    ghost = GhostOverlay::ghostFromAdjusted(m_model.adjusted());
    return true;
}

// ---------------------------------------------------------------------------------------------
// The command

namespace {

TFWizzard* keptWizard(QWidget* parent)
{
    return parent ? parent->findChild<TFWizzard*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

} // namespace

bool runConversionWizard(QWidget* parent, Session& session, GhostPicture& ghost,
                         const std::function<bool()>& reinitialise,
                         const std::function<void()>& pictureOpened)
{
    const QString filter = session.stitch().translate(QStringLiteral("Pictures")) +
        QStringLiteral(" (*.bmp *.jpg *.jpeg *.png *.PNG *.tif *.tiff *.ico *.wmf *.emf)");
    const QString path = QFileDialog::getOpenFileName(parent, QString(), session.stitch().PicturesPath, filter);
    if (path.isEmpty())
        return false;
    return runConversionWizard(parent, session, ghost, path, reinitialise, pictureOpened);
}

bool runConversionWizard(QWidget* parent, Session& session, GhostPicture& ghost, const QString& path,
                         const std::function<bool()>& reinitialise,
                         const std::function<void()>& pictureOpened)
{
    QImage source;
    try {
        source = loadPicture(path);
    } catch (const QuillError& e) {
        showMessageBox(parent, QMessageBox::Warning, session.stitch().translate(QStringLiteral("Wizard")),
                       e.translated(session.stitch()), session.stitch());
        return false;
    }
    TFWizzard* wizard = keptWizard(parent);
    if (!wizard)
        wizard = new TFWizzard(session.stitch(), parent);
    wizard->setSource(source, path);
    if (pictureOpened)
        pictureOpened();
    if (wizard->exec() != QDialog::Accepted)
        return false;
    return wizard->buildDesign(session, ghost, reinitialise);
}

void translateConversionWizard(QWidget* parent)
{
    if (TFWizzard* wizard = keptWizard(parent))
        wizard->translateUi();
}

bool showConversionWizardAgain(QWidget* parent)
{
    TFWizzard* wizard = keptWizard(parent);
    if (!wizard || !wizard->model().hasSource())
        return false;
    wizard->exec();
    return true;
}
