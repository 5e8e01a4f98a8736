#include "TFCMYK.h"

#include "core/QuillError.h"
#include "core/SymbolFont.h"
#include "core/TStitch.h"
#include "i18n/ui/THelpWindow.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

constexpr int kHelpTopic = 3150;
constexpr int kTextPoints = 8;
constexpr int kSymbolPoints = 16;
constexpr int kInset = 3; // symbol and edit text from the cell's left and top edges

const char* const kHeaders[CmykDialog::kColumnCount] = {"Color", "Number", "RGB values",
                                                        "CMYK value", "New CMYK value"};

QString cellText(const TCMYKColor& r, int column)
{
    switch (column) {
    case CmykDialog::colName: return r.Name;
    case CmykDialog::colRGB: return r.RGBColor;
    case CmykDialog::colCMYK: return r.CMYKColor;
    case CmykDialog::colNewCMYK: return r.NewCMYKColor;
    default: return {};
    }
}

QFont textFont(const QFont& base)
{
    QFont f(base);
    f.setPointSize(kTextPoints);
    return f;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The model

int CmykRowsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_logic.rows().size());
}

int CmykRowsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : CmykDialog::kColumnCount;
}

QVariant CmykRowsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_logic.rows().size())
        return {};
    const TCMYKColor& r = m_logic.rows()[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == CmykDialog::colColor ? QVariant(QString(r.Symbol))
                                                       : QVariant(cellText(r, index.column()));
    case Qt::EditRole:
        return m_logic.editText(index.row());
    case Qt::ToolTipRole:
        // The colour the value prints as, which the grid has no column for.
        if (index.column() == CmykDialog::colNewCMYK && !r.NewRGBColor.isEmpty())
            return r.NewRGBColor;
        return {};
    default:
        return {};
    }
}

bool CmykRowsModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !CmykDialog::isEditable(index.column())
        || !m_logic.setEditText(index.row(), value.toString()))
        return false;
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

Qt::ItemFlags CmykRowsModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (CmykDialog::isEditable(index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant CmykRowsModel::headerData(int section, Qt::Orientation o, int role) const
{
    if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= CmykDialog::kColumnCount)
        return {};
    return m_logic.stitch().translate(QString::fromLatin1(kHeaders[section]));
}

// ---------------------------------------------------------------------------------------------
// Drawing

const QColor CmykCellDelegate::kEditBackground(214, 234, 254);

void CmykCellDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    if (index.row() >= m_logic.rows().size())
        return;
    const TCMYKColor& r = m_logic.rows()[index.row()];
    const QRect cell = option.rect;
    p->save();
    p->setClipRect(cell);
    const bool selected = option.state & QStyle::State_Selected;
    switch (index.column()) {
    case CmykDialog::colColor: {
        p->fillRect(cell, keyToQColor(r.Color));
        if (!r.Symbol.isNull()) {
            const QColor ink = symbolInkIsWhite(r.Color) ? Qt::white : Qt::black;
            const QRawFont font = m_logic.stitch().chars.rawFont(kSymbolPoints);
            drawSymbol(*p, font, r.Symbol.unicode(), QPointF(cell.left() + kInset, cell.top() + kInset),
                       ink);
        }
        break;
    }
    case CmykDialog::colNewCMYK:
        p->fillRect(cell, kEditBackground);
        p->setFont(textFont(option.font));
        p->setPen(Qt::black);
        p->drawText(cell.adjusted(kInset, kInset, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                    r.NewCMYKColor);
        break;
    default: {
        const QPalette& pal = option.palette;
        p->fillRect(cell, selected ? pal.color(QPalette::Highlight) : pal.color(QPalette::Base));
        p->setFont(textFont(option.font));
        p->setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
        const QRect textRect = cell.adjusted(2, 0, -2, 0);
        p->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                    p->fontMetrics().elidedText(cellText(r, index.column()), Qt::ElideRight,
                                                textRect.width()));
        break;
    }
    }
    // The current cell of the colour and edit columns shows as a frame.
    if (selected && (index.column() == CmykDialog::colColor
                     || index.column() == CmykDialog::colNewCMYK)) {
        p->setPen(QPen(option.palette.color(QPalette::Highlight), 2));
        p->setBrush(Qt::NoBrush);
        p->drawRect(QRectF(cell).adjusted(1, 1, -1, -1));
    }
    p->restore();
}

void CmykCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const
{
    editor->setGeometry(option.rect);
    editor->setFont(textFont(option.font));
}

// ---------------------------------------------------------------------------------------------
// The grid

void CmykGrid::finishEditing()
{
    if (!isEditing())
        return;
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

// ---------------------------------------------------------------------------------------------
// The dialog

TFCMYK::TFCMYK(TStitch& stitch, QWidget* parent)
    : QDialog(parent), m_stitch(stitch), m_logic(stitch)
{
    setObjectName(QStringLiteral("FCMYK"));
    setWindowTitle(stitch.translate(QStringLiteral("Adjust CMYK colors")));

    m_model = new CmykRowsModel(m_logic, this);
    m_grid = new CmykGrid(this);
    m_grid->setObjectName(QStringLiteral("GridColors"));
    m_grid->setModel(m_model);
    m_grid->setItemDelegate(new CmykCellDelegate(m_logic, m_grid));
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    // Selecting a cell of the edit column opens its editor; the model allows no other column.
    m_grid->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked
                            | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_grid->verticalHeader()->setMinimumSectionSize(kRowHeight);
    QHeaderView* header = m_grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setFont(textFont(header->font()));
    int width = 0;
    for (int c = 0; c < CmykDialog::kColumnCount; ++c) {
        m_grid->setColumnWidth(c, kColumnWidths[c]);
        width += kColumnWidths[c];
    }
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_grid->setMinimumWidth(width + m_grid->verticalScrollBar()->sizeHint().width()
                            + 2 * m_grid->frameWidth());
    m_grid->setMinimumHeight(12 * kRowHeight);
    // Scrolling closes an open editor, keeping what was typed.
    connect(m_grid->verticalScrollBar(), &QScrollBar::valueChanged, m_grid,
            &CmykGrid::finishEditing);

    m_ok = new QPushButton(stitch.translate(QStringLiteral("OK")), this);
    m_ok->setObjectName(QStringLiteral("BOK"));
    m_ok->setAutoDefault(false);
    m_help = new QPushButton(stitch.translate(QStringLiteral("Help")), this);
    m_help->setObjectName(QStringLiteral("BHelp"));
    m_help->setAutoDefault(false);
    connect(m_ok, &QPushButton::clicked, this, &TFCMYK::BOKClick);
    connect(m_help, &QPushButton::clicked, this, &TFCMYK::HelpClick);

    auto* top = new QVBoxLayout(this);
    top->addWidget(m_grid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_help);
    top->addLayout(buttons);
    FormShow();
}

TFCMYK::~TFCMYK()
{
    // An open editor commits into the rows when it loses the focus: end it, and the grid,
    // while the rows still exist.
    m_grid->finishEditing();
    delete m_grid;
}

void TFCMYK::FormShow()
{
    m_grid->finishEditing();
    m_logic.FormShow();
    m_model->reload();
}

void TFCMYK::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TFCMYK::BOKClick()
{
    m_grid->finishEditing();
    try {
        m_logic.save();
    } catch (const QuillError& e) {
        showMessage(e.message());
        return;
    }
    accept();
}

void TFCMYK::HelpClick()
{
    showHelpContext(this, m_stitch, kHelpTopic);
}

void TFCMYK::showMessage(const QString& text)
{
    if (m_messageHandler)
        m_messageHandler(text);
    else
        QMessageBox::warning(this, windowTitle(), text);
}

void showCmykDialog(QWidget* parent, TStitch& stitch)
{
    TFCMYK dialog(stitch, parent);
    dialog.exec();
}
