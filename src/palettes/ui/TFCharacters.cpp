#include "TFCharacters.h"

#include "core/SymbolFont.h"
#include "core/TStitch.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"
#include "palettes/CharacterSetFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int kHelpTopic = 3100;
constexpr int kRowHeight = 26;
constexpr int kCharColumnWidth = 34;
} // namespace

// ---------------------------------------------------------------------------------------------
// List model and delegate

int CharacterListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_editor.rows(m_list).size());
}

int CharacterListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant CharacterListModel::data(const QModelIndex& index, int role) const
{
    const auto& rows = m_editor.rows(m_list);
    if (!index.isValid() || index.row() >= rows.size())
        return {};
    const int code = rows[index.row()].code;
    if (role == Qt::UserRole)
        return code;
    if (index.column() == 1 && role == Qt::DisplayRole)
        return code;
    if (index.column() == 0 && role == Qt::AccessibleTextRole)
        return QString(characterSetChar(code));
    return {};
}

QVariant CharacterListModel::headerData(int, Qt::Orientation, int) const
{
    return {};
}

void CharacterDelegate::setFont(const QString& family)
{
    m_font = family.isEmpty() ? QRawFont() : symbolRawFont(family, kPixelSize);
}

void CharacterDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    if (index.column() != 0) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* w = opt.widget;
    QStyle* style = w ? w->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, w);
    const bool selected = opt.state & QStyle::State_Selected;
    const QColor ink = opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    const int code = index.data(Qt::UserRole).toInt();
    drawSymbolCentered(*painter, m_font, characterSetChar(code).unicode(), opt.rect, ink);
}

QSize CharacterDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (index.column() == 0)
        return {kCharColumnWidth, kRowHeight};
    return QStyledItemDelegate::sizeHint(option, index);
}

// ---------------------------------------------------------------------------------------------
// The window

TFCharacters::TFCharacters(TStitch& stitch, QWidget* parent)
    : QDialog(parent), m_stitch(stitch)
{
    m_editor = std::make_unique<CharactersEditor>(stitch, CharactersEditor::installedFonts(),
                                                  static_cast<CharactersEditorPrompts&>(*this));
    buildUi();
}

TFCharacters::~TFCharacters() = default;

QString TFCharacters::tr2(const char* text) const
{
    return m_stitch.translate(QString::fromUtf8(text));
}

void TFCharacters::buildUi()
{
    setWindowTitle(tr2("Characters"));
    auto* top = new QVBoxLayout(this);

    auto* toolBar = new QToolBar(this);
    auto makeTool = [&](QStyle::StandardPixmap icon, const char* tip) {
        auto* b = new QToolButton(toolBar);
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tr2(tip));
        b->setAutoRaise(true);
        toolBar->addWidget(b);
        return b;
    };
    m_newButton = makeTool(QStyle::SP_FileIcon, "New");
    m_newButton->setObjectName(QStringLiteral("newButton"));
    m_openButton = makeTool(QStyle::SP_DialogOpenButton, "Open");
    m_openButton->setObjectName(QStringLiteral("openButton"));
    m_saveButton = makeTool(QStyle::SP_DialogSaveButton, "Save");
    m_saveButton->setObjectName(QStringLiteral("saveButton"));
    m_saveAsButton = makeTool(QStyle::SP_DriveFDIcon, "Save as");
    m_saveAsButton->setObjectName(QStringLiteral("saveAsButton"));
    top->addWidget(toolBar);

    auto* options = new QGroupBox(groupCaption(m_stitch, QStringLiteral("Options")), this);
    auto* form = new QFormLayout(options);
    m_font = new QComboBox(options);
    m_font->addItems(m_editor->fonts());
    m_name = new QLineEdit(options);
    m_description = new QLineEdit(options);
    m_font->setObjectName(QStringLiteral("fontBox"));
    m_name->setObjectName(QStringLiteral("nameEdit"));
    m_description->setObjectName(QStringLiteral("descriptionEdit"));
    form->addRow(tr2("Font :"), m_font);
    form->addRow(tr2("Name :"), m_name);
    form->addRow(tr2("Description :"), m_description);
    top->addWidget(options);

    auto* chars = new QGroupBox(tr2("Characters"), this);
    auto* charsLayout = new QHBoxLayout(chars);
    m_delegate = new CharacterDelegate(this);
    auto makeList = [&](CharactersEditor::List l, const char* caption, CharacterListModel*& model,
                        QTableView*& view) {
        auto* box = new QVBoxLayout;
        box->addWidget(new QLabel(tr2(caption), chars));
        model = new CharacterListModel(*m_editor, l, this);
        view = new QTableView(chars);
        view->setModel(model);
        view->setItemDelegate(m_delegate);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setShowGrid(false);
        view->horizontalHeader()->hide();
        view->verticalHeader()->hide();
        view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        view->verticalHeader()->setDefaultSectionSize(kRowHeight);
        view->horizontalHeader()->setStretchLastSection(true);
        view->setColumnWidth(0, kCharColumnWidth);
        view->setMinimumSize(150, 320);
        box->addWidget(view);
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                [this, l] { storeSelection(l); });
        connect(view, &QAbstractItemView::doubleClicked, this, [this, l](const QModelIndex& i) {
            m_editor->doubleClicked(l, i.row());
            refresh();
        });
        return box;
    };
    charsLayout->addLayout(makeList(CharactersEditor::AllList, "All Characters", m_allModel, m_allView));

    auto* middle = new QVBoxLayout;
    middle->addStretch();
    auto makeButton = [&](const char* caption, void (TFCharacters::*slot)()) {
        auto* b = new QPushButton(tr2(caption), chars);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        middle->addWidget(b);
        return b;
    };
    m_addAll = makeButton("Add all >>", &TFCharacters::BAddAllClick);
    m_add = makeButton("Add >", &TFCharacters::BAddClick);
    m_remove = makeButton("< Remove", &TFCharacters::BRemoveClick);
    m_removeAll = makeButton("<< Remove all", &TFCharacters::BRemoveAllClick);
    middle->addSpacing(16);
    m_moveUp = makeButton("Move up", &TFCharacters::BMoveUpClick);
    m_moveDown = makeButton("Move down", &TFCharacters::BMoveDownClick);
    middle->addStretch();
    charsLayout->addLayout(middle);
    charsLayout->addLayout(makeList(CharactersEditor::SelectedList, "Selected Characters",
                                    m_selectedModel, m_selectedView));
    top->addWidget(chars, 1);

    auto* bottom = new QHBoxLayout;
    m_showIds = new QCheckBox(tr2("Show ID's"), this);
    m_showIds->setChecked(true);
    bottom->addWidget(m_showIds);
    bottom->addStretch();
    m_close = new QPushButton(tr2("Close"), this);
    m_help = new QPushButton(tr2("Help"), this);
    m_close->setAutoDefault(false);
    m_help->setAutoDefault(false);
    bottom->addWidget(m_close);
    bottom->addWidget(m_help);
    top->addLayout(bottom);

    connect(m_newButton, &QToolButton::clicked, this, &TFCharacters::ToolButton1Click);
    connect(m_openButton, &QToolButton::clicked, this, &TFCharacters::Button7Click);
    connect(m_saveButton, &QToolButton::clicked, this, &TFCharacters::ToolButton3Click);
    connect(m_saveAsButton, &QToolButton::clicked, this, &TFCharacters::ToolButton4Click);
    connect(m_close, &QPushButton::clicked, this, &TFCharacters::close);
    connect(m_help, &QPushButton::clicked, this, &TFCharacters::HelpClick);
    connect(m_showIds, &QCheckBox::toggled, this, [this](bool on) {
        if (m_updating)
            return;
        m_editor->setShowIds(on);
        refresh();
    });
    connect(m_font, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (m_updating)
            return;
        m_editor->setFontName(i < 0 ? QString() : m_font->itemText(i));
        m_delegate->setFont(m_editor->fontName());
        m_allView->viewport()->update();
        m_selectedView->viewport()->update();
    });
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& t) { m_editor->setName(t); });
    connect(m_description, &QLineEdit::textEdited, this,
            [this](const QString& t) { m_editor->setDescription(t); });
    resize(520, 640);
}

void TFCharacters::FormShow()
{
    m_editor->NewSet();
    refresh();
}

void TFCharacters::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFCharacters::refresh()
{
    refreshFields();
    refreshList(CharactersEditor::AllList);
    refreshList(CharactersEditor::SelectedList);
}

void TFCharacters::refreshFields()
{
    m_updating = true;
    m_font->setCurrentIndex(m_font->findText(m_editor->fontName(), Qt::MatchExactly));
    m_delegate->setFont(m_editor->fontName());
    // Text set from a file shows from its start.
    if (m_name->text() != m_editor->name()) {
        m_name->setText(m_editor->name());
        m_name->setCursorPosition(0);
    }
    if (m_description->text() != m_editor->description()) {
        m_description->setText(m_editor->description());
        m_description->setCursorPosition(0);
    }
    m_showIds->setChecked(m_editor->showIds());
    m_updating = false;
}

void TFCharacters::refreshList(CharactersEditor::List l)
{
    CharacterListModel* model = l == CharactersEditor::AllList ? m_allModel : m_selectedModel;
    QTableView* view = l == CharactersEditor::AllList ? m_allView : m_selectedView;
    const bool wasUpdating = m_updating;
    m_updating = true;
    model->reload();
    view->setColumnWidth(0, kCharColumnWidth);
    view->setColumnHidden(1, !m_editor->showIds());
    QItemSelection selection;
    for (int r : m_editor->selectedRows(l))
        selection.select(model->index(r, 0), model->index(r, 1));
    view->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    const int current = m_editor->currentRow(l);
    if (current >= 0 && current < model->rowCount()) {
        view->selectionModel()->setCurrentIndex(model->index(current, 0), QItemSelectionModel::NoUpdate);
        view->scrollTo(model->index(current, 0));
    }
    view->viewport()->update();
    m_updating = wasUpdating;
}

void TFCharacters::storeSelection(CharactersEditor::List l)
{
    if (m_updating)
        return;
    QTableView* view = l == CharactersEditor::AllList ? m_allView : m_selectedView;
    QList<int> rows;
    for (const QModelIndex& i : view->selectionModel()->selectedRows())
        rows << i.row();
    std::sort(rows.begin(), rows.end());
    m_editor->setSelectedRows(l, rows);
}

void TFCharacters::ToolButton1Click()
{
    m_editor->newClicked();
    refresh();
}

void TFCharacters::Button7Click()
{
    m_editor->openClicked();
    refresh();
}

void TFCharacters::ToolButton3Click()
{
    m_editor->saveClicked();
}

void TFCharacters::ToolButton4Click()
{
    m_editor->saveAsClicked();
}

void TFCharacters::BAddClick()
{
    m_editor->addSelected();
    refresh();
}

void TFCharacters::BRemoveClick()
{
    m_editor->removeSelected();
    refresh();
}

void TFCharacters::BAddAllClick()
{
    m_editor->addAll();
    refresh();
}

void TFCharacters::BRemoveAllClick()
{
    m_editor->removeAll();
    refresh();
}

void TFCharacters::BMoveUpClick()
{
    m_editor->moveUp();
    refresh();
}

void TFCharacters::BMoveDownClick()
{
    m_editor->moveDown();
    refresh();
}

void TFCharacters::HelpClick()
{
    showHelpContext(this, m_stitch, kHelpTopic);
}

bool TFCharacters::mayClose()
{
    return m_editor->file().Check();
}

void TFCharacters::reject()
{
    // FormCloseQuery: "Close", Escape and the window's close button (QDialog's close event
    // ends here) all ask about unsaved work first and keep the window open on "no".
    if (mayClose())
        QDialog::reject();
}

// ---------------------------------------------------------------------------------------------
// Questions and pickers

void TFCharacters::showMessage(const QString& text)
{
    if (m_testPrompts) {
        m_testPrompts->showMessage(text);
        return;
    }
    showMessageBox(this, QMessageBox::Warning, windowTitle(), text, m_stitch);
}

void TFCharacters::focusName()
{
    m_name->setFocus(Qt::OtherFocusReason);
    if (m_testPrompts)
        m_testPrompts->focusName();
}

CharactersEditorPrompts::Answer TFCharacters::askYesNoCancel(const QString& text)
{
    if (m_testPrompts)
        return m_testPrompts->askYesNoCancel(text);
    switch (showMessageBox(this, QMessageBox::Warning, windowTitle(), text, m_stitch,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    default:
        return Cancel;
    }
}

QString TFCharacters::chooseOpenFile(const QString& folder)
{
    if (m_testPrompts)
        return m_testPrompts->chooseOpenFile(folder);
    return QFileDialog::getOpenFileName(this, tr2("Open"), folder,
                                        tr2("Character sets") + QStringLiteral(" (*.chr)"));
}

QString TFCharacters::chooseSaveFile(const QString& folder)
{
    if (m_testPrompts)
        return m_testPrompts->chooseSaveFile(folder);
    // The file name is taken as typed: the editor decides about the extension.
    return QFileDialog::getSaveFileName(this, tr2("Save as"), folder,
                                        tr2("Character sets") + QStringLiteral(" (*.chr)"));
}

void showCharactersEditor(QWidget* parent, TStitch& stitch)
{
    TFCharacters dialog(stitch, parent);
    dialog.exec();
}
