// The controls of the print dialog and how they are laid out and wired to the model.
#include "TFPrintOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr QSize kPreviewSize(300, 380);

// A spin field over hundredths of a millimetre shown as millimetres with two decimals. While
// a mouse button is held on an arrow the step grows from 1 to 10 after 100 ms.
class GridSpinBox : public QSpinBox
{
public:
    explicit GridSpinBox(QWidget* parent) : QSpinBox(parent)
    {
        setLocale(QLocale::c());
        setRange(PrintDialogModel::kGridMin, PrintDialogModel::kGridMax);
        setKeyboardTracking(false);
        m_hold.setSingleShot(true);
        m_hold.setInterval(100);
        QObject::connect(&m_hold, &QTimer::timeout, this, [this] { setSingleStep(10); });
    }

protected:
    QString textFromValue(int value) const override
    {
        return QString::number(value / 100.0, 'f', 2);
    }
    int valueFromText(const QString& text) const override
    {
        return qRound(QLocale::c().toDouble(text.trimmed()) * 100);
    }
    QValidator::State validate(QString& text, int&) const override
    {
        bool ok = false;
        const double v = QLocale::c().toDouble(text.trimmed(), &ok);
        if (text.trimmed().isEmpty() || text.trimmed() == QLatin1String("."))
            return QValidator::Intermediate;
        if (!ok)
            return QValidator::Invalid;
        const int hundredths = qRound(v * 100);
        return hundredths >= minimum() && hundredths <= maximum() ? QValidator::Acceptable
                                                                  : QValidator::Intermediate;
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        QStyleOptionSpinBox opt;
        initStyleOption(&opt);
        const auto hit = style()->hitTestComplexControl(QStyle::CC_SpinBox, &opt, e->pos(), this);
        if (hit == QStyle::SC_SpinBoxUp || hit == QStyle::SC_SpinBoxDown)
            m_hold.start();
        QSpinBox::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        m_hold.stop();
        setSingleStep(1);
        QSpinBox::mouseReleaseEvent(e);
    }

private:
    QTimer m_hold;
};

QSpinBox* pixelField(QWidget* parent, const char* spinName, const char* editName)
{
    auto* s = new QSpinBox(parent);
    s->setObjectName(QString::fromLatin1(spinName));
    s->setRange(0, PrintDialogModel::kExportSizeMax);
    s->setKeyboardTracking(false);
    if (auto* edit = s->findChild<QLineEdit*>())
        edit->setObjectName(QString::fromLatin1(editName));
    return s;
}

// A small coloured square of the thumbnail map's legend.
QLabel* colorBox(QWidget* parent, const char* color)
{
    auto* box = new QLabel(parent);
    box->setFixedSize(14, 14);
    box->setFrameShape(QFrame::Box);
    box->setAutoFillBackground(true);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Window, QColor(QString::fromLatin1(color)));
    box->setPalette(pal);
    return box;
}

struct LegendDef
{
    const char* name;
    const char* caption;
    const char* color;
};
const LegendDef kLegend[] = {
    {"LegendTitle", "Title", "#FF75B4"},
    {"LegendComment", "Comment", "#1188FF"},
    {"LegendPattern", "Stitch pattern", "#13B601"},
    {"LegendKey", "Key", "#FFDE24"},
    {"LegendBackStitches", "Backstitches", "#8BAC2D"},
    {"LegendExtra", "Extra", "#999999"},
    {"LegendStitchSteps", "Stitch steps", "#E5E5E5"},
    {"LegendLabels", "Labels", "#FF8200"},
};

} // namespace

struct TFPrintOptions::CheckDef
{
    const char* name;
    const char* caption;
    TPrintOption option;
};

void TFPrintOptions::buildUi()
{
    m_body = new QWidget(this);
    m_body->setObjectName(QStringLiteral("PrintBody"));
    auto* columns = new QHBoxLayout(m_body);
    columns->setContentsMargins(0, 0, 0, 0);
    columns->addWidget(buildOutputColumn(), 0, Qt::AlignTop);
    columns->addWidget(buildPagesColumn(), 0, Qt::AlignTop);
    columns->addWidget(buildOptionsColumn(), 0, Qt::AlignTop);
    columns->addWidget(buildPreviewColumn(), 0, Qt::AlignTop);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(m_body);
    outer->setSizeConstraint(QLayout::SetFixedSize);
}

QWidget* TFPrintOptions::buildOutputColumn()
{
    auto* column = new QWidget(m_body);
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);

    m_toPrinter = new QRadioButton(column);
    m_toPrinter->setObjectName(QStringLiteral("RPrintToPrinter"));
    m_captions << qMakePair(static_cast<QWidget*>(m_toPrinter), QStringLiteral("Print to printer"));
    m_toFiles = new QRadioButton(column);
    m_toFiles->setObjectName(QStringLiteral("RExportToJPEG"));
    m_captions << qMakePair(static_cast<QWidget*>(m_toFiles), QStringLiteral("Export to JPEG files"));
    connect(m_toPrinter, &QRadioButton::clicked, this, [this] {
        const PrintEffect e = m_model.setExportMode(false);
        SetsaveToJpegs(false);
        perform(e);
    });
    connect(m_toFiles, &QRadioButton::clicked, this, [this] {
        const PrintEffect e = m_model.setExportMode(true);
        SetsaveToJpegs(true);
        perform(e);
    });

    // The printer.
    v->addWidget(m_toPrinter);
    m_printerGroup = new QGroupBox(column);
    m_printerGroup->setObjectName(QStringLiteral("GroupPrinter"));
    auto* pg = new QGridLayout(m_printerGroup);
    m_printers = new QComboBox(m_printerGroup);
    m_printers->setObjectName(QStringLiteral("ComboPrinter"));
    m_printers->setMinimumWidth(240);
    pg->addWidget(m_printers, 0, 0, 1, 2);
    const struct { const char* caption; QLabel** value; const char* name; } details[] = {
        {"Type", &m_type, "LabelType"},
        {"Location", &m_location, "LabelLocation"},
        {"Comment", &m_comment, "LabelComment"},
        {"Status", &m_status, "LabelStatus"}};
    int row = 1;
    for (const auto& d : details) {
        auto* caption = new QLabel(m_printerGroup);
        m_captions << qMakePair(static_cast<QWidget*>(caption), QString::fromLatin1(d.caption));
        *d.value = new QLabel(m_printerGroup);
        (*d.value)->setObjectName(QString::fromLatin1(d.name));
        (*d.value)->setMinimumWidth(160);
        (*d.value)->setMaximumWidth(240);
        pg->addWidget(caption, row, 0);
        pg->addWidget(*d.value, row, 1);
        ++row;
    }
    m_properties = new QPushButton(m_printerGroup);
    m_properties->setObjectName(QStringLiteral("ButtonProperties"));
    m_captions << qMakePair(static_cast<QWidget*>(m_properties), QStringLiteral("Properties"));
    pg->addWidget(m_properties, row, 1, Qt::AlignRight);
    v->addWidget(m_printerGroup);
    connect(m_printers, &QComboBox::activated, this, [this] {
        m_printer.setPrinterName(m_printers->currentText());
        applyPrinter();
    });
    connect(m_properties, &QPushButton::clicked, this, &TFPrintOptions::showProperties);

    // The picture files.
    v->addWidget(m_toFiles);
    m_fileGroup = new QGroupBox(column);
    m_fileGroup->setObjectName(QStringLiteral("GroupFile"));
    auto* fg = new QGridLayout(m_fileGroup);
    m_jpegWidth = pixelField(m_fileGroup, "UDJPEGWidth", "EJpegWidth");
    m_jpegHeight = pixelField(m_fileGroup, "UDJPEGHeight", "EJpegHeight");
    m_jpegGrid = pixelField(m_fileGroup, "UDJPEGGrid", "Edit1");
    m_quality = new QSpinBox(m_fileGroup);
    m_quality->setObjectName(QStringLiteral("UpDownJPEGQuality"));
    m_quality->setRange(PrintDialogModel::kQualityMin, PrintDialogModel::kQualityMax);
    m_quality->setSingleStep(PrintDialogModel::kQualityStep);
    if (auto* edit = m_quality->findChild<QLineEdit*>()) {
        edit->setObjectName(QStringLiteral("Edit2"));
        edit->setReadOnly(true);
    }
    m_path = new QLineEdit(m_fileGroup);
    m_path->setObjectName(QStringLiteral("EPath"));
    m_browse = new QPushButton(m_fileGroup);
    m_browse->setObjectName(QStringLiteral("ButtonBrowse"));
    m_captions << qMakePair(static_cast<QWidget*>(m_browse), QStringLiteral("Browse ..."));
    m_fileName = new QLineEdit(m_fileGroup);
    m_fileName->setObjectName(QStringLiteral("EFileName"));
    m_imageType = new QComboBox(m_fileGroup);
    m_imageType->setObjectName(QStringLiteral("ComboImageType"));
    for (TExportType t : {etJPEG, etBMP, etPNG, etPDF})
        m_imageType->addItem(QString(), int(t));
    const struct { const char* caption; QWidget* field; } fields[] = {
        {"Width", m_jpegWidth}, {"Height", m_jpegHeight}, {"Grid in pixels", m_jpegGrid},
        {"JPEG quality", m_quality}};
    row = 0;
    for (const auto& f : fields) {
        auto* caption = new QLabel(m_fileGroup);
        m_captions << qMakePair(static_cast<QWidget*>(caption), QString::fromLatin1(f.caption));
        fg->addWidget(caption, row, 0);
        fg->addWidget(f.field, row, 1);
        ++row;
    }
    auto* pathCaption = new QLabel(m_fileGroup);
    m_captions << qMakePair(static_cast<QWidget*>(pathCaption), QStringLiteral("Path"));
    fg->addWidget(pathCaption, row, 0);
    fg->addWidget(m_path, row, 1);
    ++row;
    fg->addWidget(m_browse, row, 1, Qt::AlignRight);
    ++row;
    auto* nameCaption = new QLabel(m_fileGroup);
    m_captions << qMakePair(static_cast<QWidget*>(nameCaption), QStringLiteral("Filename"));
    fg->addWidget(nameCaption, row, 0);
    fg->addWidget(m_fileName, row, 1);
    ++row;
    fg->addWidget(m_imageType, row, 1);
    v->addWidget(m_fileGroup);

    connect(m_jpegWidth, &QSpinBox::valueChanged, this, [this](int value) {
        m_model.setExportWidth(value);
        perform(PrintEffect::Layout);
    });
    connect(m_jpegHeight, &QSpinBox::valueChanged, this, [this](int value) {
        m_model.setExportHeight(value);
        perform(PrintEffect::Layout);
    });
    connect(m_jpegGrid, &QSpinBox::valueChanged, this, [this](int value) {
        m_model.setExportGrid(value);
        perform(PrintEffect::Layout);
    });
    connect(m_quality, &QSpinBox::valueChanged, this,
            [this](int value) { m_model.setQualityField(value); });
    connect(m_imageType, &QComboBox::activated, this, [this](int index) {
        // A name still as it was made for the old type follows the new one.
        const bool shownDefault = m_doc
            && m_fileName->text() == defaultExportFileName(m_stitch.filename(), m_model.imageType());
        perform(m_model.setImageType(TExportType(m_imageType->itemData(index).toInt())));
        if (shownDefault)
            m_fileName->setText(defaultExportFileName(m_stitch.filename(), m_model.imageType()));
    });
    connect(m_browse, &QPushButton::clicked, this, &TFPrintOptions::browseFolder);
    v->addStretch();
    return column;
}

QWidget* TFPrintOptions::buildPagesColumn()
{
    auto* column = new QWidget(m_body);
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);

    auto* keyGroup = new QGroupBox(column);
    keyGroup->setObjectName(QStringLiteral("GroupKeyPosition"));
    m_captions << qMakePair(static_cast<QWidget*>(keyGroup), QStringLiteral("Key position"));
    auto* kg = new QVBoxLayout(keyGroup);
    const struct { const char* name; const char* caption; TPosition position; } positions[] = {
        {"RadioButton1", "Key above", pTop},
        {"RadioButton5", "Key below", pBottom},
        {"RadioButton7", "Key right", pRight},
        {"RadioButton6", "Key left", pLeft},
        {"RadioButton8", "Separate", pSeparate}};
    for (const auto& p : positions) {
        auto* b = new QRadioButton(keyGroup);
        b->setObjectName(QString::fromLatin1(p.name));
        m_captions << qMakePair(static_cast<QWidget*>(b), QString::fromLatin1(p.caption));
        kg->addWidget(b);
        m_positions << qMakePair(b, p.position);
        const TPosition position = p.position;
        connect(b, &QRadioButton::clicked, this,
                [this, position] { perform(m_model.setKeyPosition(position)); });
        // The left position exists for the layout but is not offered.
        if (p.position == pLeft)
            b->setVisible(false);
    }
    v->addWidget(keyGroup);

    auto* orientation = new QGroupBox(column);
    orientation->setObjectName(QStringLiteral("GroupOrientation"));
    m_captions << qMakePair(static_cast<QWidget*>(orientation), QStringLiteral("Orientation"));
    auto* og = new QGridLayout(orientation);
    m_portrait = new QRadioButton(orientation);
    m_portrait->setObjectName(QStringLiteral("RadioButton2"));
    m_landscape = new QRadioButton(orientation);
    m_landscape->setObjectName(QStringLiteral("RadioButton3"));
    m_auto = new QRadioButton(orientation);
    m_auto->setObjectName(QStringLiteral("RadioButton4"));
    m_orientationPicture = new QLabel(orientation);
    m_orientationPicture->setObjectName(QStringLiteral("ImageOrientation"));
    m_orientationPicture->setFixedSize(44, 44);
    const struct { QRadioButton* b; const char* caption; TFormat format; } formats[] = {
        {m_portrait, "Portrait", fPortrait}, {m_landscape, "Landscape", fLandscape},
        {m_auto, "Auto", fAuto}};
    int row = 0;
    for (const auto& f : formats) {
        m_captions << qMakePair(static_cast<QWidget*>(f.b), QString::fromLatin1(f.caption));
        og->addWidget(f.b, row++, 0);
        const TFormat format = f.format;
        connect(f.b, &QRadioButton::clicked, this, [this, format] {
            drawOrientationPicture(format);
            perform(m_model.setFormat(format));
        });
    }
    og->addWidget(m_orientationPicture, 0, 1, 3, 1, Qt::AlignCenter);
    v->addWidget(orientation);

    auto* pages = new QGroupBox(column);
    pages->setObjectName(QStringLiteral("GroupPages"));
    m_captions << qMakePair(static_cast<QWidget*>(pages), QStringLiteral("Pages"));
    auto* pgl = new QVBoxLayout(pages);
    static const CheckDef pageChecks[] = {
        {"CheckBoxTitle", "Print Title Page", poTitle},
        {"CheckBoxDesign", "Print Design", poDesign},
        {"CheckBoxLegend", "Print Legend", poLegend},
        {"CheckBoxLabels", "Print Labels", poLabels},
        {"CheckBoxInfo", "Print Info Page", poInfo},
        {"CheckBoxContents", "Print Table of Contents", poContents},
        {"CheckBoxStitchList", "Stitch Steps List", poStitchList}};
    for (const CheckDef& c : pageChecks) {
        auto* box = new QCheckBox(pages);
        box->setObjectName(QString::fromLatin1(c.name));
        m_captions << qMakePair(static_cast<QWidget*>(box), QString::fromLatin1(c.caption));
        m_checks << qMakePair(box, c.option);
        pgl->addWidget(box);
    }
    v->addWidget(pages);
    v->addStretch();
    return column;
}

QWidget* TFPrintOptions::buildOptionsColumn()
{
    auto* column = new QGroupBox(m_body);
    column->setObjectName(QStringLiteral("GroupOptions"));
    m_captions << qMakePair(static_cast<QWidget*>(column), QStringLiteral("Options"));
    auto* v = new QVBoxLayout(column);
    static const CheckDef layoutChecks[] = {
        {"CheckBoxBorder", "Inline border", poInlineBorder},
        {"LegendSize", "Key size corresponds to Design size", poLegendSize},
        {"CheckBoxBackStitchesSeparate", "Print backstitches separate", poBackStitchesSeparate}};
    static const CheckDef drawChecks[] = {
        {"CheckBoxCMYK", "Use CMYK Colors", poCMYK},
        {"CheckBoxReal", "Print in real mode", poReal},
        {"CheckBoxPrintAsCircle", "Color Background as Circles", poCircles},
        {"CheckBoxLight", "Print Light Color around Circles", poLight},
        {"CheckBoxBackStitches", "Print Backstitch", poBackStitches},
        {"CheckBoxRhodes", "Print Rhodes/French Knot", poRhodes},
        {"CheckBoxBackSymbol", "Print Back Stitch Colour Symbol", poBackSymbol},
        {"CheckBoxPrintGrid", "Print Grid", poGrid},
        {"CheckBoxPrintSymbols", "Print Symbols", poSymbols},
        {"CheckBoxPrintRuler", "Print Ruler", poRuler},
        {"CheckBoxGridNumbers", "Grid numbers", poGridNumbers},
        {"CheckBoxPageNumbers", "Page numbers", poPageNumbers}};
    auto addCheck = [&](const CheckDef& c) {
        auto* box = new QCheckBox(column);
        box->setObjectName(QString::fromLatin1(c.name));
        m_captions << qMakePair(static_cast<QWidget*>(box), QString::fromLatin1(c.caption));
        m_checks << qMakePair(box, c.option);
        return box;
    };
    for (const CheckDef& c : layoutChecks)
        v->addWidget(addCheck(c));
    m_colors = new QRadioButton(column);
    m_colors->setObjectName(QStringLiteral("RadioColors"));
    m_captions << qMakePair(static_cast<QWidget*>(m_colors), QStringLiteral("Print with colors"));
    m_noColors = new QRadioButton(column);
    m_noColors->setObjectName(QStringLiteral("RadioNoColors"));
    m_captions << qMakePair(static_cast<QWidget*>(m_noColors), QStringLiteral("Print without colors"));
    v->addWidget(m_colors);
    v->addWidget(m_noColors);
    connect(m_colors, &QRadioButton::clicked, this,
            [this] { perform(m_model.setOption(poUseColors, true)); });
    connect(m_noColors, &QRadioButton::clicked, this,
            [this] { perform(m_model.setOption(poUseColors, false)); });
    for (const CheckDef& c : drawChecks) {
        QCheckBox* box = addCheck(c);
        if (c.option == poReal) {
            // The real-mode option with a picture of a stitched cross beside it.
            auto* h = new QHBoxLayout;
            h->addWidget(box);
            m_realPicture = new QLabel(column);
            m_realPicture->setObjectName(QStringLiteral("ImageReal"));
            QPixmap pm(16, 16);
            pm.fill(Qt::transparent);
            QPainter p(&pm);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(QColor(0xB0, 0x20, 0x30), 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(3, 3, 13, 13);
            p.drawLine(13, 3, 3, 13);
            p.end();
            m_realPicture->setPixmap(pm);
            h->addWidget(m_realPicture);
            h->addStretch();
            v->addLayout(h);
        } else {
            v->addWidget(box);
        }
    }
    for (const auto& [box, option] : m_checks) {
        const TPrintOption o = option;
        QCheckBox* b = box;
        connect(b, &QCheckBox::clicked, this, [this, o](bool on) { perform(m_model.setOption(o, on)); });
    }

    auto* grid = new QGridLayout;
    m_gridX = new GridSpinBox(column);
    m_gridX->setObjectName(QStringLiteral("UpDownGridX"));
    m_gridY = new GridSpinBox(column);
    m_gridY->setObjectName(QStringLiteral("UpDownGridY"));
    if (auto* e = m_gridX->findChild<QLineEdit*>())
        e->setObjectName(QStringLiteral("EGridX"));
    if (auto* e = m_gridY->findChild<QLineEdit*>())
        e->setObjectName(QStringLiteral("EGridY"));
    auto* xCaption = new QLabel(column);
    auto* yCaption = new QLabel(column);
    m_captions << qMakePair(static_cast<QWidget*>(xCaption), QStringLiteral("GridX(mm)"));
    m_captions << qMakePair(static_cast<QWidget*>(yCaption), QStringLiteral("GridY(mm)"));
    grid->addWidget(xCaption, 0, 0);
    grid->addWidget(m_gridX, 0, 1);
    grid->addWidget(yCaption, 1, 0);
    grid->addWidget(m_gridY, 1, 1);
    v->addLayout(grid);
    connect(m_gridX, &QSpinBox::valueChanged, this, [this](int value) {
        if (m_model.setGridX(value))
            perform(PrintEffect::Layout);
    });
    connect(m_gridY, &QSpinBox::valueChanged, this, [this](int value) {
        if (m_model.setGridY(value))
            perform(PrintEffect::Layout);
    });
    v->addStretch();
    return column;
}

QWidget* TFPrintOptions::buildPreviewColumn()
{
    auto* column = new QWidget(m_body);
    auto* v = new QVBoxLayout(column);
    v->setContentsMargins(0, 0, 0, 0);
    m_previewBox = new QLabel(column);
    m_previewBox->setObjectName(QStringLiteral("PreviewBox"));
    m_previewBox->setFixedSize(kPreviewSize);
    m_previewBox->setFrameShape(QFrame::StyledPanel);
    m_previewBox->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    v->addWidget(m_previewBox);

    auto* legend = new QGridLayout;
    int i = 0;
    for (const LegendDef& d : kLegend) {
        QLabel* box = colorBox(column, d.color);
        box->setObjectName(QString::fromLatin1(d.name) + QStringLiteral("Box"));
        auto* word = new QLabel(column);
        word->setObjectName(QString::fromLatin1(d.name));
        m_captions << qMakePair(static_cast<QWidget*>(word), QString::fromLatin1(d.caption));
        const int r = i / 2, c = (i % 2) * 2;
        legend->addWidget(box, r, c);
        legend->addWidget(word, r, c + 1);
        if (qstrcmp(d.name, "LegendBackStitches") == 0)
            m_legendBackStitches = {box, word};
        else if (qstrcmp(d.name, "LegendStitchSteps") == 0)
            m_legendStitchSteps = {box, word};
        else if (qstrcmp(d.name, "LegendPattern") == 0)
            m_legendPattern = word;
        ++i;
    }
    legend->setColumnStretch(1, 1);
    legend->setColumnStretch(3, 1);
    v->addLayout(legend);

    auto* buttons = new QHBoxLayout;
    m_help = new QPushButton(column);
    m_help->setObjectName(QStringLiteral("ButtonHelp"));
    m_captions << qMakePair(static_cast<QWidget*>(m_help), QStringLiteral("Help"));
    m_print = new QPushButton(column);
    m_print->setObjectName(QStringLiteral("ButtonPrint"));
    m_print->setDefault(true);
    m_captions << qMakePair(static_cast<QWidget*>(m_print), QStringLiteral("Print"));
    buttons->addWidget(m_help);
    buttons->addStretch();
    buttons->addWidget(m_print);
    v->addLayout(buttons);
    connect(m_help, &QPushButton::clicked, this, &TFPrintOptions::showHelp);
    connect(m_print, &QPushButton::clicked, this, [this] { printJob(); });
    v->addStretch();
    return column;
}
