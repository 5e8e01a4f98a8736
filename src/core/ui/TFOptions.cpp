#include "TFOptions.h"

#include "core/TStitch.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// The page of the help that explains this dialog.
constexpr int kHelpContext = 3700;

using N = OptionNumber;

void selectName(QComboBox* box, const QStringList& names, const QString& wanted)
{
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(names.indexOf(wanted));
}

} // namespace

TFOptions::TFOptions(TStitch& stitch, QWidget* parent) : QDialog(parent), m_stitch(stitch)
{
    setObjectName(QStringLiteral("FOptions"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->addTab(createGeneralTab(), QString());
    m_tabs->addTab(createPrintingTab(), QString());

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("ButtonOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("ButtonCancel"));
    m_default = new QPushButton(this);
    m_default->setObjectName(QStringLiteral("ButtonDefault"));
    m_help = new QPushButton(this);
    m_help->setObjectName(QStringLiteral("ButtonHelp"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_default, &QPushButton::clicked, this, &TFOptions::DefaultClick);
    connect(m_help, &QPushButton::clicked, this,
            [this] { showHelpContext(this, m_stitch, kHelpContext); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_default);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_help);

    auto* top = new QVBoxLayout(this);
    top->addWidget(m_tabs);
    top->addLayout(buttons);

    translateUi();
}

QLabel* TFOptions::keyed(const char* key, QWidget* parent)
{
    auto* label = new QLabel(parent);
    setTextKey(label, QString::fromLatin1(key), m_stitch);
    return label;
}

QSpinBox* TFOptions::addNumber(OptionNumber id, QWidget* parent)
{
    const OptionNumberDef& d = optionNumber(id);
    auto* field = new QSpinBox(parent);
    field->setObjectName(QString::fromLatin1(d.control));
    field->setRange(d.minimum, d.maximum);
    field->setAccelerated(true);
    m_numbers.insert(int(id), field);
    return field;
}

QWidget* TFOptions::createGeneralTab()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabGeneral"));
    m_palette = new QComboBox(page);
    m_palette->setObjectName(QStringLiteral("ComboPalette"));
    m_symbols = new QComboBox(page);
    m_symbols->setObjectName(QStringLiteral("ComboSymbols"));
    m_path = new QLineEdit(page);
    m_path->setObjectName(QStringLiteral("EPath"));
    m_pathButton = new QPushButton(QStringLiteral("..."), page);
    m_pathButton->setObjectName(QStringLiteral("ButtonPath"));
    m_pathButton->setFixedWidth(m_pathButton->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 20);
    connect(m_pathButton, &QPushButton::clicked, this, &TFOptions::chooseLibraryFolder);
    m_pathLabel = new QLabel(page);
    m_pathLabel->setObjectName(QStringLiteral("LPath"));
    m_pathLabel->setMinimumWidth(50);
    m_pathLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    connect(m_path, &QLineEdit::textChanged, this, &TFOptions::showPathLabel);
    m_title = new QLineEdit(page);
    m_title->setObjectName(QStringLiteral("EditDefTitle"));
    m_subTitle = new QLineEdit(page);
    m_subTitle->setObjectName(QStringLiteral("EditSubTitle"));
    m_bookInfo = new QTextEdit(page);
    m_bookInfo->setObjectName(QStringLiteral("MemoBookInfo"));
    m_bookInfo->setAcceptRichText(true);
    m_bookInfo->setMinimumHeight(90);
    m_updates = new QCheckBox(page);
    m_updates->setObjectName(QStringLiteral("CheckCheckForUpdates"));
    setTextKey(m_updates, QStringLiteral("Check for updates once a month"), m_stitch);

    auto* path = new QHBoxLayout;
    path->addWidget(m_path, 1);
    path->addWidget(m_pathButton);
    auto* form = new QFormLayout;
    form->addRow(keyed("Color Palette", page), m_palette);
    form->addRow(keyed("Symbols Table", page), m_symbols);
    form->addRow(keyed("Library Path", page), path);
    form->addRow(QString(), m_pathLabel);
    form->addRow(keyed("Default Title", page), m_title);
    form->addRow(keyed("Sub Title", page), m_subTitle);
    form->addRow(keyed("Book info", page), m_bookInfo);
    form->addRow(QString(), m_updates);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    return page;
}

void TFOptions::addSides(QGridLayout* grid, int row, QWidget* parent, const std::array<OptionNumber, 4>& sides)
{
    // Top and Bottom on the first row, Left and Right on the next, each caption before its field.
    const char* captions[] = {"Top", "Bottom", "Left", "Right"};
    for (int i = 0; i < 4; ++i) {
        grid->addWidget(keyed(captions[i], parent), row + i / 2, (i % 2) * 2);
        grid->addWidget(addNumber(sides[size_t(i)], parent), row + i / 2, (i % 2) * 2 + 1);
    }
}

QWidget* TFOptions::createPrintingTab()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("TabPrinting"));
    // A field with its unit after it.
    auto unit = [this](QSpinBox* field, const char* key) {
        auto* row = new QHBoxLayout;
        row->addWidget(field);
        auto* label = new QLabel(field->parentWidget());
        setTextKey(label, QString::fromLatin1(key), m_stitch);
        row->addWidget(label, 1);
        return row;
    };

    auto* lines = new QFormLayout;
    lines->addRow(keyed("Thick grid lines", page), unit(addNumber(N::ThickLines, page), "1/100 mm"));
    lines->addRow(keyed("Medium grid lines", page), unit(addNumber(N::MediumLines, page), "1/100 mm"));
    lines->addRow(keyed("Thin grid lines", page), unit(addNumber(N::ThinLines, page), "1/100 mm"));
    QSpinBox* symbolSize = addNumber(N::SymbolSize, page);
    symbolSize->setSuffix(QStringLiteral(" %"));
    auto* symbolRow = new QHBoxLayout;
    symbolRow->addWidget(symbolSize);
    symbolRow->addStretch(1);
    lines->addRow(keyed("Symbol size", page), symbolRow);

    auto* position = new QGroupBox(page);
    position->setObjectName(QStringLiteral("GroupSymbolPosition"));
    setTextKey(position, QStringLiteral("Symbol Font Position"), m_stitch);
    auto* positionForm = new QFormLayout(position);
    positionForm->addRow(keyed("Up/Down", position), unit(addNumber(N::PrintPosTop, position), "pixels"));
    positionForm->addRow(keyed("Left/Right", position), unit(addNumber(N::PrintPosLeft, position), "pixels"));

    auto* border = new QGroupBox(page);
    border->setObjectName(QStringLiteral("GroupInlineBorder"));
    setTextKey(border, QStringLiteral("Inline border in mm"), m_stitch);
    auto* borderGrid = new QGridLayout(border);
    addSides(borderGrid, 0, border, {N::BorderTop, N::BorderBottom, N::BorderLeft, N::BorderRight});

    auto* distance = new QFormLayout;
    distance->addRow(keyed("Distance between picture and legend", page),
                     unit(addNumber(N::LegendDistance, page), "mm"));

    m_bagGroup = new QGroupBox(page);
    m_bagGroup->setObjectName(QStringLiteral("GroupBags"));
    auto* bagForm = new QFormLayout(m_bagGroup);
    bagForm->addRow(keyed("Diamonds/Tessera per bag:", m_bagGroup), addNumber(N::BagSize, m_bagGroup));

    auto* labels = new QGroupBox(page);
    labels->setObjectName(QStringLiteral("GroupLabels"));
    setTextKey(labels, QStringLiteral("Labels"), m_stitch);
    auto* labelGrid = new QGridLayout(labels);
    labelGrid->addWidget(keyed("Grid", labels), 0, 0);
    labelGrid->addWidget(addNumber(N::LabelGridHor, labels), 0, 1);
    labelGrid->addWidget(new QLabel(QStringLiteral("x"), labels), 0, 2, Qt::AlignCenter);
    labelGrid->addWidget(addNumber(N::LabelGridVert, labels), 0, 3);
    auto* bordersCaption = keyed("Label page borders", labels);
    bordersCaption->setObjectName(QStringLiteral("LabelBorders"));
    labelGrid->addWidget(bordersCaption, 1, 0, 1, 4);
    addSides(labelGrid, 2, labels,
             {N::LabelBorderTop, N::LabelBorderBottom, N::LabelBorderLeft, N::LabelBorderRight});
    auto* sizeCaption = keyed("Label Size", labels);
    sizeCaption->setObjectName(QStringLiteral("LabelSize"));
    labelGrid->addWidget(sizeCaption, 4, 0, 1, 4);
    labelGrid->addWidget(keyed("Width", labels), 5, 0);
    labelGrid->addWidget(addNumber(N::LabelWidth, labels), 5, 1);
    labelGrid->addWidget(keyed("Height", labels), 5, 2);
    labelGrid->addWidget(addNumber(N::LabelHeight, labels), 5, 3);
    auto* labelUnit = new QLabel(labels);
    labelUnit->setObjectName(QStringLiteral("LabelUnit"));
    setTextKey(labelUnit, QStringLiteral("1/10 mm"), m_stitch);
    labelGrid->addWidget(labelUnit, 6, 0, 1, 4);

    m_stitchGroup = new QGroupBox(page);
    m_stitchGroup->setObjectName(QStringLiteral("GroupStitchBehavior"));
    setTextKey(m_stitchGroup, QStringLiteral("Cross- and Back stitch behavior"), m_stitch);
    auto* stitchForm = new QFormLayout(m_stitchGroup);
    stitchForm->addRow(keyed("Backstitch width", m_stitchGroup),
                       unit(addNumber(N::BackstitchLines, m_stitchGroup), "1/100 mm"));
    m_quarterOverCross = new QCheckBox(m_stitchGroup);
    m_quarterOverCross->setObjectName(QStringLiteral("CheckAllowQuarterOverCross"));
    setTextKey(m_quarterOverCross, QStringLiteral("Allow quarterstitch over crossstitch"), m_stitch);
    stitchForm->addRow(m_quarterOverCross);

    auto* left = new QVBoxLayout;
    left->addLayout(lines);
    left->addWidget(position);
    left->addWidget(border);
    left->addLayout(distance);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->addWidget(labels);
    right->addWidget(m_bagGroup);
    right->addWidget(m_stitchGroup);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addLayout(right);
    return page;
}

void TFOptions::setValues(const OptionsValues& v)
{
    m_values = v;
    selectName(m_palette, v.paletteNames, v.palette);
    selectName(m_symbols, v.characterNames, v.characters);
    m_path->setText(v.libraryPath);
    m_title->setText(v.defaultTitle);
    m_subTitle->setText(v.subTitle);
    // Stored rich text is HTML; a plain text (an older store) keeps its lines.
    if (Qt::mightBeRichText(v.bookInfo))
        m_bookInfo->setHtml(v.bookInfo);
    else
        m_bookInfo->setPlainText(v.bookInfo);
    m_bookInfoShown = m_bookInfo->toHtml();
    m_updates->setChecked(v.checkForUpdates);
    m_quarterOverCross->setChecked(v.allowQuarterOverCross);
    for (const OptionNumberDef& d : optionNumbers())
        m_numbers.value(int(d.id))->setValue(v.number(d.id));
    showPathLabel();
}

OptionsValues TFOptions::values() const
{
    OptionsValues v = m_values;
    if (m_palette->currentIndex() >= 0)
        v.palette = m_palette->currentText();
    if (m_symbols->currentIndex() >= 0)
        v.characters = m_symbols->currentText();
    v.libraryPath = m_path->text();
    v.defaultTitle = m_title->text();
    v.subTitle = m_subTitle->text();
    // The editor's HTML differs from the stored text even when nothing was edited: the stored
    // text stays unless the content changed.
    if (const QString html = m_bookInfo->toHtml(); html != m_bookInfoShown)
        v.bookInfo = m_bookInfo->document()->isEmpty() ? QString() : html;
    v.checkForUpdates = m_updates->isChecked();
    v.allowQuarterOverCross = m_quarterOverCross->isChecked();
    for (const OptionNumberDef& d : optionNumbers())
        v.number(d.id) = m_numbers.value(int(d.id))->value();
    return v;
}

void TFOptions::DefaultClick()
{
    // Only the fields change; nothing is stored until OK.
    OptionsValues v = values();
    v.setDefaults(m_stitch);
    m_updates->setChecked(v.checkForUpdates);
    m_quarterOverCross->setChecked(v.allowQuarterOverCross);
    m_subTitle->setText(v.subTitle);
    for (const OptionNumberDef& d : optionNumbers())
        m_numbers.value(int(d.id))->setValue(v.number(d.id));
}

void TFOptions::chooseLibraryFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(
        this, m_stitch.translate(QStringLiteral("Library Path")), m_path->text());
    if (!folder.isEmpty())
        m_path->setText(QDir::toNativeSeparators(folder) + QDir::separator());
}

void TFOptions::showPathLabel()
{
    m_pathLabel->setText(m_pathLabel->fontMetrics().elidedText(m_path->text(), Qt::ElideMiddle,
                                                               qMax(50, m_pathLabel->width())));
}

void TFOptions::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    showPathLabel();
}

void TFOptions::translateUi()
{
    setWindowTitle(m_stitch.translate(QStringLiteral("Options")));
    retranslate(this, m_stitch);
    m_tabs->setTabText(0, m_stitch.translate(QStringLiteral("General Settings")));
    m_tabs->setTabText(1, m_stitch.translate(QStringLiteral("Printing Settings")));
    m_ok->setText(m_stitch.translate(QStringLiteral("OK")));
    m_cancel->setText(m_stitch.translate(QStringLiteral("Cancel")));
    m_default->setText(m_stitch.translate(QStringLiteral("Default")));
    m_help->setText(m_stitch.translate(QStringLiteral("Help")));
}

void TFOptions::applyProductMode()
{
    m_bagGroup->setVisible(true);
    m_stitchGroup->setVisible(false);
}

bool showOptionsDialog(QWidget* parent, TStitch& stitch, bool* titled)
{
    TFOptions dialog(stitch, parent);
    dialog.setValues(OptionsValues::from(stitch));
    dialog.applyProductMode();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const bool t = dialog.values().applyTo(stitch);
    if (titled)
        *titled = t;
    return true;
}
