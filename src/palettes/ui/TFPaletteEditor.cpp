#include "TFPaletteEditor.h"

#include "PickPicture.h"
#include "TFChoosePalette.h"
#include "convert/PictureConversion.h"
#include "core/ColorTypes.h"
#include "core/QuillError.h"
#include "core/SymbolFont.h"
#include "core/TStitch.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int kSymbolPixels = 16;
// The near-black of the list's text (colour key 2).
const QColor kNearBlack(2, 0, 0);
const QColor kSelectedBackground(0, 0, 255);

const char* const kHeaders[PaletteRowsModel::kColumnCount] = {"Name", "Number", "RGB Color", "Symbol"};

// Draws the symbol items of the drop-down list in the symbol font.
class SymbolItemDelegate : public QStyledItemDelegate
{
public:
    SymbolItemDelegate(const SymbolComboBox& box, QObject* parent)
        : QStyledItemDelegate(parent), m_box(box) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        const QWidget* w = opt.widget;
        (w ? w->style() : QApplication::style())->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);
        const QColor ink = opt.palette.color(opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                : QPalette::Text);
        if (!text.isEmpty())
            drawSymbolCentered(*painter, m_box.symbolFont(), text.at(0).unicode(), opt.rect, ink);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return {kSymbolPixels + 8, kSymbolPixels + 6};
    }

private:
    const SymbolComboBox& m_box;
};

QIcon shapeIcon(PickPicture::Shape shape)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, shape == PickPicture::Circle);
    p.setPen(QPen(Qt::black, 1.5));
    if (shape == PickPicture::Circle)
        p.drawEllipse(QRectF(2, 2, 12, 12));
    else
        p.drawRect(QRectF(2.5, 2.5, 11, 11));
    return QIcon(pm);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The colour list

int PaletteRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_editor.Palette().size());
}

int PaletteRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant PaletteRowsModel::data(const QModelIndex& index, int role) const
{
    const auto& palette = m_editor.Palette();
    if (!index.isValid() || index.row() >= palette.size() || role != Qt::DisplayRole)
        return {};
    const TColorInfo& c = palette[index.row()];
    switch (index.column()) {
    case colName: return c.colorName;
    case colNumber: return c.colorID;
    case colRGB: return PaletteEditor::rgbText(c.matchColor);
    case colSymbol: {
        const QChar ch = m_stitch.chars.symbolAt(c.charID);
        return ch.isNull() ? QString() : QString(ch);
    }
    default: return {};
    }
}

QVariant PaletteRowsModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= kColumnCount)
        return {};
    return m_stitch.translate(QString::fromLatin1(kHeaders[section]));
}

void PaletteCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const auto& palette = m_editor.Palette();
    if (index.row() >= palette.size())
        return;
    const ColorKey color = palette[index.row()].matchColor;
    const bool selected = option.state & QStyle::State_Selected;
    const QColor fill = selected ? kSelectedBackground : keyToQColor(color);
    const QColor ink = selected ? keyToQColor(color) : (symbolInkIsWhite(color) ? QColor(Qt::white) : kNearBlack);
    painter->save();
    painter->fillRect(option.rect, fill);
    const QRect textRect = option.rect.adjusted(2, 2, 0, 0);
    const QString text = index.data().toString();
    if (index.column() == PaletteRowsModel::colSymbol) {
        if (!text.isEmpty())
            drawSymbol(*painter, m_font, text.at(0).unicode(), textRect.topLeft(), ink);
    } else {
        QFont f(QStringLiteral("Tahoma"));
        f.setPixelSize(11);
        painter->setFont(f);
        painter->setPen(ink);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    painter->restore();
}

void PaletteColorList::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    if (model() && model()->rowCount() == 0 && !m_emptyText.isEmpty()) {
        QPainter p(viewport());
        p.setPen(QColor(128, 128, 128));
        p.drawText(viewport()->rect(), Qt::AlignCenter, m_emptyText);
    }
}

// ---------------------------------------------------------------------------------------------
// The symbol list

SymbolComboBox::SymbolComboBox(QWidget* parent) : QComboBox(parent)
{
    setItemDelegate(new SymbolItemDelegate(*this, this));
    setMinimumContentsLength(2);
}

void SymbolComboBox::setSymbols(const QString& characters, const QRawFont& font)
{
    m_font = font;
    const QSignalBlocker block(this);
    clear();
    for (QChar c : characters)
        addItem(QString(c));
    setCurrentIndex(-1);
}

void SymbolComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter p(this);
    QStyleOptionComboBox opt;
    initStyleOption(&opt);
    const QString text = opt.currentText;
    opt.currentText.clear();
    p.drawComplexControl(QStyle::CC_ComboBox, opt);
    if (text.isEmpty())
        return;
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
    const QColor ink = palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    drawSymbolCentered(p, m_font, text.at(0).unicode(), field, ink);
}

// ---------------------------------------------------------------------------------------------
// The window

TFPaletteEditor::TFPaletteEditor(TStitch& stitch, QWidget* parent)
    : QDialog(parent), m_stitch(stitch)
{
    setObjectName(QStringLiteral("FPaletteEditor"));
    m_editor = std::make_unique<PaletteEditor>(stitch, static_cast<PaletteEditorPrompts&>(*this));
    buildUi();
    refresh();
}

TFPaletteEditor::~TFPaletteEditor() = default;

QString TFPaletteEditor::tr2(const char* text) const
{
    return m_stitch.translate(QString::fromUtf8(text));
}

QPushButton* TFPaletteEditor::button(const char* objectName) const
{
    return findChild<QPushButton*>(QString::fromLatin1(objectName));
}

void TFPaletteEditor::buildUi()
{
    setWindowTitle(tr2("Palette Editor"));
    auto makeButton = [this](QWidget* parent, const char* name, const char* caption) {
        auto* b = new QPushButton(tr2(caption), parent);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    auto group = [this](const char* caption) {
        return new QGroupBox(groupCaption(m_stitch, QString::fromUtf8(caption)), this);
    };

    // The palette data, read-only.
    auto* data = new QWidget(this);
    auto* dataForm = new QFormLayout(data);
    dataForm->setContentsMargins(0, 0, 0, 0);
    auto readOnly = [data](const char* name) {
        auto* e = new QLineEdit(data);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        return e;
    };
    m_paletteName = readOnly("EPaletteName");
    m_paletteVersion = readOnly("EPaletteVersion");
    m_paletteFile = readOnly("EPaletteFile");
    dataForm->addRow(tr2("Palette Name :"), m_paletteName);
    dataForm->addRow(tr2("Version :"), m_paletteVersion);
    dataForm->addRow(tr2("Filename :"), m_paletteFile);

    // The colour list with its sort and moves.
    m_model = new PaletteRowsModel(*m_editor, m_stitch, this);
    m_delegate = new PaletteCellDelegate(*m_editor, this);
    m_grid = new PaletteColorList(this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(m_delegate);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->horizontalHeader()->setDefaultSectionSize(kColumnWidth);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->setEmptyText(tr2(PaletteEditorText::kEmpty));
    m_grid->setMinimumSize(4 * kColumnWidth + 24, 300);
    m_grid->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(m_grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFPaletteEditor::storeSelection);

    m_sort = new QComboBox(this);
    m_sort->setObjectName(QStringLiteral("ComboSort"));
    m_sort->addItems({tr2("by palette"), tr2("by name"), tr2("by number")});
    connect(m_sort, &QComboBox::activated, this, &TFPaletteEditor::ComboSortChange);
    auto* sortLabel = new QLabel(tr2("Sort"), this);
    sortLabel->setBuddy(m_sort);
    QPushButton* up = makeButton(this, "BUp", "Up");
    QPushButton* down = makeButton(this, "BDown", "Down");

    auto* listSide = new QVBoxLayout;
    listSide->addWidget(sortLabel);
    listSide->addWidget(m_sort);
    listSide->addSpacing(12);
    listSide->addWidget(up);
    listSide->addWidget(down);
    listSide->addStretch();
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_grid);
    listRow->addLayout(listSide);

    auto* editButtons = new QHBoxLayout;
    for (const auto& [name, caption] : {std::pair{"BNew", "New"}, {"BEdit", "Edit"}, {"BDelete", "Delete"},
                                        {"BOK", "OK"}, {"BCancel", "Cancel"}})
        editButtons->addWidget(makeButton(this, name, caption));
    editButtons->addStretch();

    auto* left = new QVBoxLayout;
    left->addWidget(data);
    left->addLayout(listRow, 1);
    left->addLayout(editButtons);

    // The colour settings.
    m_settings = group("Color settings");
    m_settings->setObjectName(QStringLiteral("GroupColorSettings"));
    m_swatch = new QPushButton(m_settings);
    m_swatch->setObjectName(QStringLiteral("PanelColor"));
    m_swatch->setAutoDefault(false);
    m_swatch->setFixedSize(64, 48);
    connect(m_swatch, &QPushButton::clicked, this, &TFPaletteEditor::PanelColorClick);
    m_rgb = new QLineEdit(m_settings);
    m_rgb->setObjectName(QStringLiteral("ERGB"));
    m_rgb->setMaxLength(7);
    m_name = new QLineEdit(m_settings);
    m_name->setObjectName(QStringLiteral("EColorName"));
    m_number = new QLineEdit(m_settings);
    m_number->setObjectName(QStringLiteral("EColorNumber"));
    m_symbol = new SymbolComboBox(m_settings);
    m_symbol->setObjectName(QStringLiteral("ComboBoxSymbol"));
    m_warning = new QLabel(tr2("Symbol is already in use!"), m_settings);
    m_warning->setObjectName(QStringLiteral("LabelSymbolWarning"));
    QPalette warningColors = m_warning->palette();
    warningColors.setColor(QPalette::WindowText, QColor(192, 0, 0));
    m_warning->setPalette(warningColors);
    // The hidden warning keeps its room, so that the panels do not jump when it shows.
    QSizePolicy keep = m_warning->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    m_warning->setSizePolicy(keep);
    m_warning->hide();
    auto* settingsForm = new QFormLayout;
    settingsForm->addRow(tr2("RGB value"), m_rgb);
    settingsForm->addRow(tr2("Color name"), m_name);
    settingsForm->addRow(tr2("Color number"), m_number);
    settingsForm->addRow(tr2("Color Symbol"), m_symbol);
    settingsForm->addRow(QString(), m_warning);
    auto* settingsLayout = new QHBoxLayout(m_settings);
    settingsLayout->addWidget(m_swatch, 0, Qt::AlignTop);
    settingsLayout->addLayout(settingsForm, 1);

    connect(m_rgb, &QLineEdit::textEdited, this, [this](const QString& t) {
        m_editor->ERGBChange(t);
        refreshFields();
    });
    connect(m_rgb, &QLineEdit::editingFinished, this, [this] {
        if (m_updating)
            return;
        m_editor->ERGBExit();
        refreshFields();
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& t) { m_editor->setName(t); });
    connect(m_number, &QLineEdit::textEdited, this, [this](const QString& t) { m_editor->setNumber(t); });
    connect(m_symbol, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_updating)
            return;
        m_editor->setSymbol(i);
        refreshFields();
    });

    // The picture to pick colours from.
    auto* pick = group("Choose colors from an image");
    m_circle = new QToolButton(pick);
    m_circle->setObjectName(QStringLiteral("ButtonCircle"));
    m_square = new QToolButton(pick);
    m_square->setObjectName(QStringLiteral("ButtonSquare"));
    for (const auto& [b, shape, tip] : {std::tuple{m_circle, PickPicture::Circle, "Circle"},
                                        std::tuple{m_square, PickPicture::Square, "Square"}}) {
        b->setIcon(shapeIcon(shape));
        b->setToolTip(tr2(tip));
        b->setCheckable(true);
        b->setAutoExclusive(true);
    }
    m_cursorSize = new QSpinBox(pick);
    m_cursorSize->setObjectName(QStringLiteral("SpinCursorSize"));
    m_cursorSize->setRange(0, PaletteEditor::kMaxCursorSize);
    m_zoom = new QComboBox(pick);
    m_zoom->setObjectName(QStringLiteral("ComboZoom"));
    for (int z : PickPicture::kZooms)
        m_zoom->addItem(QStringLiteral("%1 %").arg(z), z);
    m_zoom->setToolTip(tr2("Zoom"));
    m_zoom->setCurrentIndex(m_zoom->findData(100));
    // A button that opens a dialog ends in " ...", which is not part of the key.
    QPushButton* load = makeButton(pick, "BLoadImage", "Load image");
    load->setText(load->text() + QStringLiteral(" ..."));
    m_picture = new PickPicture(pick);
    m_picture->setObjectName(QStringLiteral("ImagePicture"));
    m_picture->setMinimumSize(280, 220);
    auto* pickBar = new QHBoxLayout;
    pickBar->addWidget(new QLabel(tr2("Cursor shape :"), pick));
    pickBar->addWidget(m_circle);
    pickBar->addWidget(m_square);
    pickBar->addSpacing(8);
    auto* sizeLabel = new QLabel(tr2("Cursor size :"), pick);
    sizeLabel->setBuddy(m_cursorSize);
    pickBar->addWidget(sizeLabel);
    pickBar->addWidget(m_cursorSize);
    pickBar->addSpacing(8);
    auto* zoomLabel = new QLabel(tr2("Zoom :"), pick);
    zoomLabel->setBuddy(m_zoom);
    pickBar->addWidget(zoomLabel);
    pickBar->addWidget(m_zoom);
    pickBar->addStretch();
    pickBar->addWidget(load);
    auto* pickLayout = new QVBoxLayout(pick);
    pickLayout->addLayout(pickBar);
    pickLayout->addWidget(m_picture, 1);

    connect(m_circle, &QToolButton::toggled, this, [this](bool on) {
        if (on)
            m_picture->setShape(PickPicture::Circle);
    });
    connect(m_square, &QToolButton::toggled, this, [this](bool on) {
        if (on)
            m_picture->setShape(PickPicture::Square);
    });
    connect(m_cursorSize, &QSpinBox::valueChanged, m_picture, &PickPicture::setCursorSize);
    connect(m_picture, &PickPicture::wheelSteps, this,
            [this](int steps) { m_cursorSize->setValue(m_cursorSize->value() + steps); });
    connect(m_zoom, &QComboBox::activated, this,
            [this](int i) { m_picture->setZoom(m_zoom->itemData(i).toInt()); });
    connect(m_picture, &PickPicture::zoomChanged, this, [this](int z) {
        const QSignalBlocker block(m_zoom);
        m_zoom->setCurrentIndex(m_zoom->findData(z));
    });
    connect(m_picture, &PickPicture::released, this, [this](const QPoint& pixel) {
        if (m_editor->pickColor(m_picture->picture(), pixel, m_cursorSize->value()))
            refreshFields();
    });
    connect(load, &QPushButton::clicked, this, &TFPaletteEditor::Button1Click);

    auto* right = new QVBoxLayout;
    right->addWidget(m_settings);
    right->addWidget(pick, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    QPushButton* save = makeButton(this, "BSave", "Save");
    QPushButton* saveAs = makeButton(this, "BSaveAs", "Save As");
    saveAs->setText(saveAs->text() + QStringLiteral(" ..."));
    QPushButton* close = makeButton(this, "BExit", "Close");
    QPushButton* help = makeButton(this, "BHelp", "Help");
    for (QPushButton* b : {save, saveAs, close, help})
        bottom->addWidget(b);

    auto* top = new QVBoxLayout(this);
    top->addLayout(columns, 1);
    top->addLayout(bottom);

    connect(button("BNew"), &QPushButton::clicked, this, [this] {
        run(&PaletteEditor::actNew);
        m_rgb->setFocus(Qt::OtherFocusReason);
    });
    connect(button("BEdit"), &QPushButton::clicked, this, [this] { run(&PaletteEditor::actEdit); });
    connect(button("BDelete"), &QPushButton::clicked, this, [this] { run(&PaletteEditor::actDelete); });
    connect(button("BCancel"), &QPushButton::clicked, this, [this] { run(&PaletteEditor::actCancel); });
    connect(button("BOK"), &QPushButton::clicked, this, [this] {
        m_editor->actOK();
        refresh();
    });
    connect(up, &QPushButton::clicked, this, [this] {
        run(&PaletteEditor::actUp);
        m_grid->scrollTo(m_model->index(m_editor->firstSelected(), 0));
    });
    connect(down, &QPushButton::clicked, this, [this] {
        run(&PaletteEditor::actDown);
        m_grid->scrollTo(m_model->index(m_editor->lastSelected(), 0));
    });
    connect(save, &QPushButton::clicked, this, [this] {
        m_editor->actSave();
        refresh();
    });
    connect(saveAs, &QPushButton::clicked, this, [this] {
        m_editor->actSaveAs();
        refresh();
    });
    connect(close, &QPushButton::clicked, this, &TFPaletteEditor::reject);
    connect(help, &QPushButton::clicked, this, &TFPaletteEditor::HelpClick);
    resize(960, 620);
}

void TFPaletteEditor::run(void (PaletteEditor::*command)())
{
    (m_editor.get()->*command)();
    refresh();
}

bool TFPaletteEditor::prepare(const QString& fileName, const QString& name, const QString& version)
{
    // Opening: the cursor at its start values, then the palette.
    m_cursorSize->setValue(PaletteEditor::kDefaultCursorSize);
    m_circle->setChecked(true);
    bool ok = true;
    if (fileName.isEmpty())
        m_editor->openNew();
    else
        ok = m_editor->openFile(fileName, name, version);
    m_sort->setCurrentIndex(m_editor->sortMode());
    refresh();
    return ok;
}

int TFPaletteEditor::execute(const QString& fileName, const QString& name, const QString& version)
{
    if (!prepare(fileName, name, version))
        return QDialog::Rejected;
    return exec();
}

void TFPaletteEditor::FormShow()
{
    // The symbols of the design's character set, in its symbol font.
    const QRawFont font = symbolRawFont(m_stitch.chars.fontname(), kSymbolPixels);
    m_symbol->setSymbols(m_stitch.chars.fcharacters, font);
    m_delegate->setSymbolFont(font);
    refresh();
}

void TFPaletteEditor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFPaletteEditor::setPicture(const QImage& picture)
{
    m_picture->setPicture(picture);
}

void TFPaletteEditor::refresh()
{
    refreshList();
    refreshFields();
    refreshEnabling();
}

void TFPaletteEditor::refreshList()
{
    const bool was = m_updating;
    m_updating = true;
    m_model->reload();
    m_paletteName->setText(m_editor->name());
    m_paletteVersion->setText(m_editor->version());
    m_paletteFile->setText(m_editor->fileName());
    QItemSelection selection;
    const int first = m_editor->firstSelected(), last = m_editor->lastSelected();
    if (first >= 0 && last >= first)
        selection.select(m_model->index(first, 0), m_model->index(last, PaletteRowsModel::kColumnCount - 1));
    m_grid->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (first >= 0) {
        m_grid->selectionModel()->setCurrentIndex(m_model->index(first, 0), QItemSelectionModel::NoUpdate);
        m_grid->scrollTo(m_model->index(first, 0));
    }
    m_grid->viewport()->update();
    m_updating = was;
}

void TFPaletteEditor::refreshFields()
{
    const bool was = m_updating;
    m_updating = true;
    const PaletteEditor::Fields& f = m_editor->fields();
    QPixmap swatch(m_swatch->size() - QSize(8, 8));
    swatch.fill(keyToQColor(f.swatch));
    m_swatch->setIcon(QIcon(swatch));
    m_swatch->setIconSize(swatch.size());
    // The RGB field keeps what is being typed into it.
    if (m_rgb->text() != f.rgb)
        m_rgb->setText(f.rgb);
    if (m_name->text() != f.name)
        m_name->setText(f.name);
    if (m_number->text() != f.number)
        m_number->setText(f.number);
    m_symbol->setCurrentIndex(f.symbol >= 0 && f.symbol < m_symbol->count() ? f.symbol : -1);
    m_warning->setVisible(m_editor->symbolWarning());
    m_updating = was;
}

void TFPaletteEditor::refreshEnabling()
{
    const PaletteEditor& e = *m_editor;
    // The list is enabled exactly when New is, the colour settings exactly when it is not.
    m_grid->setEnabled(e.canNew());
    m_settings->setEnabled(!e.canNew());
    button("BNew")->setEnabled(e.canNew());
    button("BEdit")->setEnabled(e.canEdit());
    button("BDelete")->setEnabled(e.canDelete());
    button("BOK")->setEnabled(e.canOK());
    button("BCancel")->setEnabled(e.canCancel());
    button("BUp")->setEnabled(e.canUp());
    button("BDown")->setEnabled(e.canDown());
    button("BSave")->setEnabled(e.canSave());
    button("BSaveAs")->setEnabled(e.canSaveAs());
    m_sort->setEnabled(e.canNew());
}

void TFPaletteEditor::storeSelection()
{
    if (m_updating)
        return;
    int first = -1, last = -1;
    for (const QModelIndex& i : m_grid->selectionModel()->selectedRows()) {
        first = first < 0 ? i.row() : std::min(first, i.row());
        last = std::max(last, i.row());
    }
    if (first < 0) {
        // The list keeps a selected row: a click that cleared it selects the row again.
        refreshList();
        return;
    }
    m_editor->selectRows(first, last);
    refreshFields();
    refreshEnabling();
}

void TFPaletteEditor::ComboSortChange(int index)
{
    m_editor->ComboSortChange(PaletteEditor::SortMode(std::clamp(index, 0, 2)));
    refresh();
}

void TFPaletteEditor::Button1Click()
{
    const QString filter = tr2("Pictures") +
        QStringLiteral(" (*.bmp *.jpg *.jpeg *.png *.PNG *.tif *.tiff *.ico *.wmf *.emf)");
    const QString path = QFileDialog::getOpenFileName(this, tr2("Load image"), m_stitch.PicturesPath, filter);
    if (path.isEmpty())
        return;
    // A large picture takes a moment to decode.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    try {
        setPicture(loadPicture(path));
        QApplication::restoreOverrideCursor();
    } catch (const QuillError& e) {
        QApplication::restoreOverrideCursor();
        showMessage(e.translated(m_stitch), true);
    }
}

void TFPaletteEditor::PanelColorClick()
{
    const QColor chosen = QColorDialog::getColor(keyToQColor(m_editor->fields().swatch), this);
    if (!chosen.isValid())
        return;
    m_editor->setSwatch(qColorToKey(chosen));
    refreshFields();
}

void TFPaletteEditor::HelpClick()
{
    showHelpContext(this, m_stitch, kHelpTopic);
}

void TFPaletteEditor::reject()
{
    // "Close", Escape and the title bar's button all ask about unsaved changes first.
    if (!m_editor->close()) {
        refresh();
        return;
    }
    m_picture->setPicture(QImage()); // stops the outline timer and frees the picture
    QDialog::reject();
}

// ---------------------------------------------------------------------------------------------
// Questions and the palette list

void TFPaletteEditor::showMessage(const QString& text, bool warning)
{
    if (m_testPrompts) {
        m_testPrompts->showMessage(text, warning);
        return;
    }
    showMessageBox(this, warning ? QMessageBox::Warning : QMessageBox::Information, windowTitle(), text,
                   m_stitch);
}

bool TFPaletteEditor::askYesNo(const QString& text)
{
    if (m_testPrompts)
        return m_testPrompts->askYesNo(text);
    return showMessageBox(this, QMessageBox::Question, windowTitle(), text, m_stitch,
                          QMessageBox::Yes | QMessageBox::No)
           == QMessageBox::Yes;
}

PaletteEditorPrompts::Answer TFPaletteEditor::askYesNoCancel(const QString& text)
{
    if (m_testPrompts)
        return m_testPrompts->askYesNoCancel(text);
    switch (showMessageBox(this, QMessageBox::Warning, windowTitle(), text, m_stitch,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes: return Yes;
    case QMessageBox::No: return No;
    default: return Cancel;
    }
}

void TFPaletteEditor::focusField(Field field)
{
    QWidget* w = field == NameField ? static_cast<QWidget*>(m_name)
               : field == NumberField ? static_cast<QWidget*>(m_number)
               : field == RgbField ? static_cast<QWidget*>(m_rgb)
                                   : static_cast<QWidget*>(m_symbol);
    refreshEnabling();
    w->setFocus(Qt::OtherFocusReason);
    if (m_testPrompts)
        m_testPrompts->focusField(field);
}

bool TFPaletteEditor::choosePaletteFile(QString& fileName, QString& name, QString& version)
{
    if (m_testPrompts)
        return m_testPrompts->choosePaletteFile(fileName, name, version);
    TFChoosePalette list(m_stitch, this);
    list.paletteFilename = fileName;
    list.palettename = name;
    list.paletteVersion = version;
    if (list.execute(vmAllowChange) != QDialog::Accepted)
        return false;
    fileName = list.enteredFilename();
    name = list.enteredName();
    version = list.enteredVersion();
    return true;
}

// ---------------------------------------------------------------------------------------------
// The menu commands

void showNewPalette(QWidget* parent, TStitch& stitch)
{
    TFPaletteEditor editor(stitch, parent);
    editor.execute(QString(), QString(), QString());
}

void showEditPalette(QWidget* parent, TStitch& stitch)
{
    TFChoosePalette list(stitch, parent);
    if (list.execute(vmView) != QDialog::Accepted)
        return;
    const std::optional<PaletteFileRow> row = list.selectedRow();
    if (!row)
        return;
    TFPaletteEditor editor(stitch, parent);
    // A file without a version line keeps none when it is saved again.
    editor.execute(row->fileName, row->paletteName, row->hasVersion ? row->version : QString());
}
