#include "TFNewImage.h"

#include "core/TStitch.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The page of the help that explains this dialog.
constexpr int kHelpContext = 3300;

// Small pictures of the two cell aspects: a cross in a square cell, a "V" in a flat one.
QPixmap aspectPicture(bool knitting)
{
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF cell = knitting ? QRectF(2, 6, 28, 20) : QRectF(2, 2, 28, 28);
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1));
    p.setBrush(Qt::white);
    p.drawRect(cell);
    p.setPen(QPen(QColor(0x20, 0x40, 0xA0), 3, Qt::SolidLine, Qt::RoundCap));
    const QRectF in = cell.adjusted(6, 5, -6, -5);
    if (knitting) {
        p.drawLine(in.topLeft(), QPointF(in.center().x(), in.bottom()));
        p.drawLine(in.topRight(), QPointF(in.center().x(), in.bottom()));
    } else {
        p.drawLine(in.topLeft(), in.bottomRight());
        p.drawLine(in.topRight(), in.bottomLeft());
    }
    return pm;
}

QSpinBox* sizeField(QWidget* parent)
{
    auto* s = new QSpinBox(parent);
    s->setRange(NewImageOptions::kMinSize, NewImageOptions::kMaxSize);
    s->setValue(50);
    return s;
}

} // namespace

TFNewImage::TFNewImage(TStitch& stitch, QWidget* parent) : QDialog(parent), m_stitch(stitch)
{
    setObjectName(QStringLiteral("FNewImage"));
    m_widthLabel = new QLabel(this);
    m_heightLabel = new QLabel(this);
    m_paletteLabel = new QLabel(this);
    m_charactersLabel = new QLabel(this);
    m_width = sizeField(this);
    m_width->setObjectName(QStringLiteral("EditWidth"));
    m_height = sizeField(this);
    m_height->setObjectName(QStringLiteral("EditHeight"));
    m_palette = new QComboBox(this);
    m_palette->setObjectName(QStringLiteral("ComboPalette"));
    m_characters = new QComboBox(this);
    m_characters->setObjectName(QStringLiteral("ComboCharacters"));
    m_widthLabel->setBuddy(m_width);
    m_heightLabel->setBuddy(m_height);
    m_paletteLabel->setBuddy(m_palette);
    m_charactersLabel->setBuddy(m_characters);

    m_cross = new QRadioButton(this);
    m_cross->setObjectName(QStringLiteral("RStitches"));
    m_knitting = new QRadioButton(this);
    m_knitting->setObjectName(QStringLiteral("RKnitting"));
    auto* group = new QButtonGroup(this);
    group->addButton(m_cross);
    group->addButton(m_knitting);
    m_cross->setChecked(true);
    m_imageCross = new QLabel(this);
    m_imageCross->setObjectName(QStringLiteral("ImageCross"));
    m_imageCross->setPixmap(aspectPicture(false));
    m_imageKnitting = new QLabel(this);
    m_imageKnitting->setObjectName(QStringLiteral("ImageKnitting"));
    m_imageKnitting->setPixmap(aspectPicture(true));

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("ButtonOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
    m_help = new QPushButton(this);
    m_help->setObjectName(QStringLiteral("ButtonHelp"));
    connect(m_ok, &QPushButton::clicked, this, &TFNewImage::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, &TFNewImage::showHelp);

    auto* fields = new QGridLayout;
    fields->addWidget(m_widthLabel, 0, 0);
    fields->addWidget(m_width, 0, 1);
    fields->addWidget(m_heightLabel, 1, 0);
    fields->addWidget(m_height, 1, 1);
    fields->addWidget(m_paletteLabel, 2, 0);
    fields->addWidget(m_palette, 2, 1);
    fields->addWidget(m_charactersLabel, 3, 0);
    fields->addWidget(m_characters, 3, 1);
    fields->setColumnStretch(1, 1);

    auto* aspect = new QGridLayout;
    aspect->addWidget(m_imageCross, 0, 0);
    aspect->addWidget(m_cross, 0, 1);
    aspect->addWidget(m_imageKnitting, 1, 0);
    aspect->addWidget(m_knitting, 1, 1);
    aspect->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_help);

    auto* top = new QVBoxLayout(this);
    top->addLayout(fields);
    top->addLayout(aspect);
    top->addStretch(1);
    top->addLayout(buttons);
    setSizeGripEnabled(false);

    translateUi();
}

void TFNewImage::setOptions(const NewImageOptions& options)
{
    m_options = options;
    m_width->setValue(options.width);
    m_height->setValue(options.height);
    m_palette->clear();
    m_palette->addItems(options.paletteNames);
    m_palette->setCurrentIndex(options.paletteNames.indexOf(options.palette));
    m_characters->clear();
    m_characters->addItems(options.characterNames);
    m_characters->setCurrentIndex(options.characterNames.indexOf(options.characters));
    (options.knitting ? m_knitting : m_cross)->setChecked(true);
}

NewImageOptions TFNewImage::options() const
{
    NewImageOptions o = m_options;
    o.width = m_width->value();
    o.height = m_height->value();
    o.palette = m_palette->currentText();
    o.characters = m_characters->currentText();
    o.knitting = m_knitting->isChecked();
    return o;
}

void TFNewImage::translateUi()
{
    setWindowTitle(m_stitch.translate(QStringLiteral("New Image")));
    m_widthLabel->setText(m_stitch.translate(QStringLiteral("Width :")));
    m_heightLabel->setText(m_stitch.translate(QStringLiteral("Height :")));
    m_paletteLabel->setText(m_stitch.translate(QStringLiteral("Palette :")));
    m_charactersLabel->setText(m_stitch.translate(QStringLiteral("Characters :")));
    m_cross->setText(m_stitch.translate(QStringLiteral("Cross Stitch")));
    m_knitting->setText(m_stitch.translate(QStringLiteral("Knitting")));
    m_ok->setText(m_stitch.translate(QStringLiteral("OK")));
    m_cancel->setText(m_stitch.translate(QStringLiteral("Cancel")));
    m_help->setText(m_stitch.translate(QStringLiteral("Help")));
}

void TFNewImage::applyProductMode()
{
    for (QWidget* w : {static_cast<QWidget*>(m_cross), static_cast<QWidget*>(m_knitting),
                       static_cast<QWidget*>(m_imageCross), static_cast<QWidget*>(m_imageKnitting)})
        w->setVisible(false);
    adjustSize();
}

void TFNewImage::confirm()
{
    const QString problem = options().validate();
    if (!problem.isEmpty()) {
        showMessageBox(this, QMessageBox::Warning, windowTitle(), m_stitch.translate(problem), m_stitch);
        return;
    }
    accept();
}

void TFNewImage::showHelp()
{
    showHelpContext(this, m_stitch, kHelpContext);
}
