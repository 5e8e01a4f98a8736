#include "TFText.h"

#include "core/TStitch.h"
#include "editing/DesignLimits.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

TextPreview::TextPreview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("ImagePreview"));
}

void TextPreview::setCells(const QImage& rendering, ColorKey color, TColor32 background, int zoom)
{
    m_zoom = qMax(1, zoom);
    m_background = background | 0xFF000000u;
    m_cells = QImage();
    if (!rendering.isNull()) {
        m_cells = rendering.convertToFormat(QImage::Format_RGB32);
        const TColor32 ink = keyToOpaquePixel(color);
        for (int y = 0; y < m_cells.height(); ++y) {
            auto* line = reinterpret_cast<TColor32*>(m_cells.scanLine(y));
            for (int x = 0; x < m_cells.width(); ++x)
                line[x] = qGray(line[x]) < 128 ? ink : m_background;
        }
    }
    // The widget is as large as the cells at the zoom; only the exposed part is ever painted.
    const QSize size = m_cells.isNull() ? QSize(0, 0) : m_cells.size() * m_zoom;
    setFixedSize(size.boundedTo(QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)));
    update();
}

QSize TextPreview::sizeHint() const
{
    return m_cells.isNull() ? QSize(0, 0) : m_cells.size() * m_zoom;
}

void TextPreview::paintEvent(QPaintEvent* event)
{
    QPainter p(this);
    p.fillRect(event->rect(), QColor::fromRgb(m_background));
    if (m_cells.isNull())
        return;
    // The exposed cells only, each enlarged to a square of the zoom.
    const QRect exposed = event->rect();
    const QRect cells = QRect(exposed.left() / m_zoom, exposed.top() / m_zoom,
                              exposed.width() / m_zoom + 2, exposed.height() / m_zoom + 2)
                            & m_cells.rect();
    if (cells.isEmpty())
        return;
    p.drawImage(QRect(cells.topLeft() * m_zoom, cells.size() * m_zoom), m_cells, cells);
}

TFText::TFText(TStitch& stitch, QWidget* parent) : QDialog(parent), m_stitch(stitch)
{
    setObjectName(QStringLiteral("FText"));
    m_settings.fontFamily = TextRendering::defaultFamily();

    m_fontBox = new QGroupBox(this);
    m_font = new QComboBox(m_fontBox);
    m_font->setObjectName(QStringLiteral("ComboFont"));
    m_font->addItems(TextRendering::fontFamilies());
    m_font->setCurrentIndex(qMax(0, m_font->findText(m_settings.fontFamily)));
    m_size = new QComboBox(m_fontBox);
    m_size->setObjectName(QStringLiteral("ComboSize"));
    m_size->setEditable(true);
    m_size->setInsertPolicy(QComboBox::NoInsert);
    for (int v : TextRendering::kSizes)
        m_size->addItem(QString::number(v));
    m_size->setCurrentText(QString::number(m_settings.pointSize));
    m_style = new QComboBox(m_fontBox);
    m_style->setObjectName(QStringLiteral("ComboStyle"));
    for (int i = 0; i < TextRendering::styleNames().size(); ++i)
        m_style->addItem(QString());
    m_style->setCurrentIndex(int(m_settings.style));
    m_color = new QComboBox(m_fontBox);
    m_color->setObjectName(QStringLiteral("ComboColor"));

    auto* fontForm = new QFormLayout(m_fontBox);
    const struct { const char* key; QWidget* field; } rows[] = {
        {"Font :", m_font}, {"Size :", m_size}, {"Style :", m_style}, {"Color :", m_color},
    };
    for (const auto& r : rows) {
        auto* label = new QLabel(m_fontBox);
        setTextKey(label, QString::fromLatin1(r.key), stitch);
        label->setBuddy(r.field);
        fontForm->addRow(label, r.field);
    }

    m_textBox = new QGroupBox(this);
    m_text = new QLineEdit(m_textBox);
    m_text->setObjectName(QStringLiteral("EText"));
    auto* textForm = new QFormLayout(m_textBox);
    auto* textLabel = new QLabel(m_textBox);
    setTextKey(textLabel, QStringLiteral("Text :"), stitch);
    textLabel->setBuddy(m_text);
    textForm->addRow(textLabel, m_text);

    m_previewBox = new QGroupBox(this);
    m_sizeLabel = new QLabel(m_previewBox);
    m_sizeLabel->setObjectName(QStringLiteral("LSize"));
    m_scroll = new QScrollArea(m_previewBox);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setMinimumSize(400, 180);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_preview = new TextPreview;
    m_scroll->setWidget(m_preview);
    m_autoEnlarge = new QCheckBox(m_previewBox);
    m_autoEnlarge->setObjectName(QStringLiteral("CBAutoEnlarge"));
    m_autoEnlarge->setChecked(true);
    setTextKey(m_autoEnlarge, QStringLiteral("Auto enlarge main picture"), stitch);
    auto* previewLayout = new QVBoxLayout(m_previewBox);
    previewLayout->addWidget(m_sizeLabel);
    previewLayout->addWidget(m_scroll, 1);
    previewLayout->addWidget(m_autoEnlarge);

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BOK"));
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BCancel"));
    m_help = new QPushButton(this);
    m_help->setObjectName(QStringLiteral("BHelp"));
    m_ok->setDefault(true);
    m_cancel->setAutoDefault(false);
    m_help->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_help);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_fontBox);
    layout->addWidget(m_textBox);
    layout->addWidget(m_previewBox, 1);
    layout->addLayout(buttons);

    connect(m_font, &QComboBox::currentTextChanged, this, [this](const QString& family) {
        m_settings.fontFamily = family;
        drawtext();
    });
    connect(m_size, &QComboBox::editTextChanged, this, [this](const QString& text) {
        // A size that is not a whole number leaves the size as it was.
        if (const std::optional<int> v = TextRendering::parseSize(text)) {
            m_settings.pointSize = *v;
            drawtext();
        }
    });
    connect(m_style, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0) {
            m_settings.style = TTextStyle(i);
            drawtext();
        }
    });
    connect(m_color, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0 && i < m_colors.size()) {
            m_settings.color = m_colors.at(i);
            drawtext();
        }
    });
    connect(m_text, &QLineEdit::textChanged, this, [this](const QString& text) {
        m_settings.text = text;
        drawtext();
    });
    connect(m_ok, &QPushButton::clicked, this, &TFText::BOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this, &TFText::BHelpClick);
    translateUi();
}

void TFText::translateUi()
{
    setWindowTitle(m_stitch.translate(QStringLiteral("Insert text")));
    m_fontBox->setTitle(groupCaption(m_stitch, QStringLiteral("Font settings")));
    m_textBox->setTitle(groupCaption(m_stitch, QStringLiteral("Text settings")));
    m_previewBox->setTitle(groupCaption(m_stitch, QStringLiteral("Preview")));
    const QStringList styles = TextRendering::styleNames();
    for (int i = 0; i < styles.size(); ++i)
        m_style->setItemText(i, m_stitch.translate(styles.at(i)));
    m_ok->setText(m_stitch.translate(QStringLiteral("OK")));
    m_cancel->setText(m_stitch.translate(QStringLiteral("Cancel")));
    m_help->setText(m_stitch.translate(QStringLiteral("Help")));
    retranslate(this, m_stitch);
    drawtext();
}

void TFText::prepare(int zoom)
{
    m_zoom = qMax(1, zoom);
    fillColors();
    m_text->clear();
    m_settings.text.clear();
    m_ok->setDefault(true);
    drawtext();
    m_text->setFocus(Qt::OtherFocusReason);
}

void TFText::fillColors()
{
    m_colors = TextRendering::colorList(m_stitch);
    const QSignalBlocker block(m_color);
    m_color->clear();
    const int swatch = m_color->fontMetrics().height();
    for (ColorKey key : m_colors) {
        const TColorInfo* info = m_stitch.Colors.find(key);
        QPixmap pm(swatch, swatch);
        pm.fill(keyToQColor(key));
        m_color->addItem(QIcon(pm), info ? info->colorName : QString());
        // Each row of the list painted in its colour, its name in the ink that reads on it.
        const int row = m_color->count() - 1;
        m_color->setItemData(row, keyToQColor(key), Qt::BackgroundRole);
        m_color->setItemData(row, keyToQColor(symbolInk(key)), Qt::ForegroundRole);
    }
    int current = int(m_colors.indexOf(m_stitch.drawcolor()));
    if (current < 0)
        current = int(m_colors.indexOf(m_settings.color));
    if (current < 0 && !m_colors.isEmpty())
        current = 0;
    m_color->setCurrentIndex(current);
    if (current >= 0)
        m_settings.color = m_colors.at(current);
    // Without a colour there is nothing to write with.
    m_ok->setEnabled(!m_colors.isEmpty());
}

bool TFText::autoEnlarge() const
{
    return m_autoEnlarge->isChecked();
}

void TFText::drawtext()
{
    m_problem = TextRendering::renderProblem(m_stitch, m_settings,
                                             DesignLimits::availableMemory());
    const bool measurable = m_settings.pointSize <= TextRendering::kMaxPointSize;
    m_extent = measurable ? TextRendering::measure(m_settings).size : QSize();
    if (measurable)
        m_sizeLabel->setText(m_stitch.translate(QStringLiteral("Size")) + QStringLiteral(": ")
                             + QString::number(m_extent.width()) + QStringLiteral("x")
                             + QString::number(m_extent.height()));
    else
        m_sizeLabel->setText(m_problem);
    const QImage rendering = m_problem.isEmpty() ? TextRendering::render(m_settings) : QImage();
    m_preview->setCells(rendering, m_settings.color, m_stitch.BackGroundColor, m_zoom);
}

void TFText::BOKClick()
{
    // A text that cannot become a block keeps the dialog open, so that the size can be changed.
    if (!m_settings.text.isEmpty()) {
        m_problem = TextRendering::renderProblem(m_stitch, m_settings,
                                                 DesignLimits::availableMemory());
        if (!m_problem.isEmpty()) {
            showMessage(m_problem);
            return;
        }
    }
    accept();
}

void TFText::BHelpClick()
{
    showHelpContext(this, m_stitch, kHelpContext);
}

void TFText::showMessage(const QString& text)
{
    if (m_messageHandler)
        m_messageHandler(text);
    else
        showMessageBox(this, QMessageBox::Warning, windowTitle(), text, m_stitch);
}
