#include "TFRhodesEditor.h"

#include "core/QuillError.h"
#include "core/TStitch.h"
#include "files/RhodesFile.h"
#include "i18n/ui/Retranslate.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

RhodesSurface::RhodesSurface(RhodesEditor& editor, QWidget* parent)
    : QWidget(parent), m_editor(editor)
{
    setObjectName(QStringLiteral("Image"));
    setMouseTracking(true);
}

QSize RhodesSurface::sizeHint() const
{
    return m_editor.surfaceSize();
}

void RhodesSurface::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, m_editor.surface());
    p.drawImage(0, 0, m_editor.overlay());
}

void RhodesSurface::mousePressEvent(QMouseEvent* event)
{
    m_editor.mousePress(event->position().toPoint());
    update();
    emit changed();
}

void RhodesSurface::mouseMoveEvent(QMouseEvent* event)
{
    m_editor.mouseMove(event->position().toPoint());
    update();
}

TFRhodesEditor::TFRhodesEditor(TStitch& stitch, QWidget* parent)
    : QDialog(parent), m_stitch(stitch), m_editor(stitch.RhodeCatalogue)
{
    setObjectName(QStringLiteral("TFRhodesEditor"));
    setWindowTitle(tr_("Rhodes Editor"));

    auto* bar = new QToolBar(this);
    m_draw = bar->addAction(tr_("Draw"));
    m_draw->setObjectName(QStringLiteral("ActDraw"));
    m_draw->setCheckable(true);
    m_erase = bar->addAction(tr_("Erase"));
    m_erase->setObjectName(QStringLiteral("ActErase"));
    m_erase->setCheckable(true);
    bar->addSeparator();
    QAction* zoomOut = bar->addAction(QStringLiteral("-"));
    zoomOut->setObjectName(QStringLiteral("ToolButton4"));
    zoomOut->setToolTip(tr_("Zoom out"));
    m_zoomLabel = new QLabel(bar);
    m_zoomLabel->setObjectName(QStringLiteral("LabelZoom"));
    bar->addWidget(m_zoomLabel);
    QAction* zoomIn = bar->addAction(QStringLiteral("+"));
    zoomIn->setObjectName(QStringLiteral("ToolButton6"));
    zoomIn->setToolTip(tr_("Zoom in"));

    m_listGroup = new QGroupBox(groupCaption(m_stitch, QStringLiteral("Rhodes list")), this);
    m_list = new QTreeWidget(m_listGroup);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setColumnCount(1);
    m_list->setHeaderLabels({tr_("Rhode name")});
    m_list->setRootIsDecorated(false);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* listLayout = new QVBoxLayout(m_listGroup);
    listLayout->addWidget(m_list);

    auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(tr_(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    m_new = button("ButtonNew", "New");
    m_edit = button("ButtonEdit", "Edit");
    m_delete = button("ButtonDelete", "Delete");
    m_ok = button("ButtonOK", "OK");
    m_cancel = button("ButtonCancel", "Cancel");
    QPushButton* close = button("ButtonClose", "Close");

    m_editGroup = new QGroupBox(groupCaption(m_stitch, QStringLiteral("Rhode")), this);
    m_columns = new QSpinBox(m_editGroup);
    m_columns->setObjectName(QStringLiteral("Edit1"));
    m_columns->setRange(1, RhodesEditor::kMaxCells);
    m_rows = new QSpinBox(m_editGroup);
    m_rows->setObjectName(QStringLiteral("Edit2"));
    m_rows->setRange(1, RhodesEditor::kMaxCells);
    m_name = new QLineEdit(m_editGroup);
    m_name->setObjectName(QStringLiteral("ERhodeName"));
    m_surface = new RhodesSurface(m_editor);
    auto* scroll = new QScrollArea(m_editGroup);
    scroll->setObjectName(QStringLiteral("ScrollBox1"));
    scroll->setWidget(m_surface);
    scroll->setMinimumSize(260, 260);
    auto* fields = new QHBoxLayout;
    fields->addWidget(new QLabel(tr_("Columns :"), m_editGroup));
    fields->addWidget(m_columns);
    fields->addWidget(new QLabel(tr_("Rows :"), m_editGroup));
    fields->addWidget(m_rows);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(tr_("Rhode name :"), m_editGroup));
    nameRow->addWidget(m_name, 1);
    auto* editLayout = new QVBoxLayout(m_editGroup);
    editLayout->addLayout(fields);
    editLayout->addLayout(nameRow);
    editLayout->addWidget(scroll, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_new, m_edit, m_delete, m_ok, m_cancel})
        buttons->addWidget(b);
    auto* left = new QVBoxLayout;
    left->addWidget(m_listGroup, 1);
    left->addLayout(buttons);
    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(m_editGroup, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar);
    layout->addLayout(body, 1);
    layout->addLayout(bottom);

    connect(m_draw, &QAction::triggered, this, [this] {
        m_editor.setTool(RhodesEditor::toolDraw);
        afterChange();
    });
    connect(m_erase, &QAction::triggered, this, [this] {
        m_editor.setTool(RhodesEditor::toolErase);
        afterChange();
    });
    connect(zoomOut, &QAction::triggered, this, [this] {
        m_editor.zoomOut();
        afterChange();
    });
    connect(zoomIn, &QAction::triggered, this, [this] {
        m_editor.zoomIn();
        afterChange();
    });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] {
        if (m_updating)
            return;
        const QList<QTreeWidgetItem*> items = m_list->selectedItems();
        m_editor.select(items.isEmpty() ? -1 : items.first()->data(0, Qt::UserRole).toInt());
        afterChange();
    });
    connect(m_new, &QPushButton::clicked, this, [this] {
        m_editor.actAdd();
        afterChange();
        m_name->setFocus();
    });
    connect(m_edit, &QPushButton::clicked, this, [this] {
        m_editor.actEdit();
        afterChange();
        m_name->setFocus();
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        const int removed = m_editor.actDelete();
        if (removed >= 0)
            m_removed.append(removed);
        rebuildList();
        afterChange();
    });
    connect(m_ok, &QPushButton::clicked, this, [this] {
        const int position = m_editor.actOK();
        rebuildList();
        for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = m_list->topLevelItem(i);
            if (item->data(0, Qt::UserRole).toInt() == position) {
                m_updating = true;
                m_list->setCurrentItem(item);
                m_updating = false;
                m_list->scrollToItem(item);
                m_list->setFocus();
            }
        }
        afterChange();
    });
    connect(m_cancel, &QPushButton::clicked, this, [this] {
        m_editor.actCancel();
        rebuildList();
        afterChange();
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
        const int cursor = m_name->cursorPosition();
        m_editor.setName(text);
        m_name->setText(m_editor.name());
        m_name->setCursorPosition(cursor);
    });
    connect(m_columns, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_updating)
            return;
        m_editor.setCellsX(v);
        afterChange();
    });
    connect(m_rows, &QSpinBox::valueChanged, this, [this](int v) {
        if (m_updating)
            return;
        m_editor.setCellsY(v);
        afterChange();
    });
    connect(m_surface, &RhodesSurface::changed, this, [this] { afterChange(); });

    rebuildList();
    afterChange();
}

TFRhodesEditor::~TFRhodesEditor() = default;

QString TFRhodesEditor::tr_(const char* text) const
{
    return m_stitch.translate(QString::fromUtf8(text));
}

void TFRhodesEditor::rebuildList()
{
    m_updating = true;
    m_list->clear();
    for (int position : m_editor.listOrder()) {
        auto* item = new QTreeWidgetItem(m_list, {m_stitch.RhodeCatalogue[size_t(position)]->name});
        item->setData(0, Qt::UserRole, position);
        if (position == m_editor.selected())
            m_list->setCurrentItem(item);
    }
    m_updating = false;
}

void TFRhodesEditor::afterChange()
{
    m_updating = true;
    const bool editing = m_editor.editing();
    m_listGroup->setEnabled(!editing);
    m_editGroup->setEnabled(editing);
    m_new->setEnabled(m_editor.canNew());
    m_edit->setEnabled(m_editor.canEdit());
    m_delete->setEnabled(m_editor.canDelete());
    m_ok->setEnabled(editing);
    m_cancel->setEnabled(editing);
    m_draw->setEnabled(editing);
    m_erase->setEnabled(editing);
    m_draw->setChecked(m_editor.tool() == RhodesEditor::toolDraw);
    m_erase->setChecked(m_editor.tool() == RhodesEditor::toolErase);
    (editing ? m_ok : m_new)->setDefault(true);
    (editing ? m_new : m_ok)->setDefault(false);
    m_columns->setValue(m_editor.cellsX());
    m_rows->setValue(m_editor.cellsY());
    if (m_name->text() != m_editor.name())
        m_name->setText(m_editor.name());
    m_zoomLabel->setText(QStringLiteral("%1%").arg(m_editor.zoom() * 2));
    m_surface->resize(m_editor.surfaceSize());
    m_surface->update();
    m_updating = false;
}

void TFRhodesEditor::done(int result)
{
    // Every close writes the catalogue, changed or not; a definition still being drawn is
    // dropped as by "Cancel".
    m_editor.actCancel();
    m_saveError.clear();
    try {
        RhodesFile::saveRhodes(m_stitch);
    } catch (const QuillError& e) {
        m_saveError = e.message();
    }
    QDialog::done(result);
}

QList<int> showRhodesEditor(QWidget* parent, TStitch& stitch)
{
    TFRhodesEditor dialog(stitch, parent);
    dialog.exec();
    if (!dialog.saveError().isEmpty())
        QMessageBox::warning(parent, stitch.translate(QStringLiteral("Rhodes Editor")),
                             dialog.saveError());
    return dialog.removed();
}
