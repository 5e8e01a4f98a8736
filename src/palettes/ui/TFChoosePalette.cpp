#include "TFChoosePalette.h"

#include "core/TStitch.h"
#include "i18n/ui/Retranslate.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

TFChoosePalette::TFChoosePalette(TStitch& stitch, QWidget* parent)
    : QDialog(parent), m_stitch(stitch)
{
    setObjectName(QStringLiteral("FChoosePalette"));
    m_group = new QGroupBox(this);
    m_list = new QTreeWidget(m_group);
    m_list->setObjectName(QStringLiteral("ListPalettes"));
    m_list->setColumnCount(3);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 200);
    m_list->setColumnWidth(1, 100);
    // Room for the three columns without a horizontal scroll bar.
    m_list->setMinimumWidth(440);
    auto* groupLayout = new QVBoxLayout(m_group);
    groupLayout->addWidget(m_list);

    m_panel = new QWidget(this);
    m_panel->setObjectName(QStringLiteral("PanelEdit"));
    m_filename = new QLineEdit(m_panel);
    m_filename->setObjectName(QStringLiteral("EPaletteFilename"));
    m_name = new QLineEdit(m_panel);
    m_name->setObjectName(QStringLiteral("EPaletteName"));
    m_version = new QLineEdit(m_panel);
    m_version->setObjectName(QStringLiteral("EPaletteVersion"));
    m_filenameLabel = new QLabel(m_panel);
    m_nameLabel = new QLabel(m_panel);
    m_versionLabel = new QLabel(m_panel);
    m_filenameLabel->setBuddy(m_filename);
    m_nameLabel->setBuddy(m_name);
    m_versionLabel->setBuddy(m_version);
    auto* form = new QFormLayout(m_panel);
    form->setContentsMargins(0, 0, 0, 0);
    form->addRow(m_filenameLabel, m_filename);
    form->addRow(m_nameLabel, m_name);
    form->addRow(m_versionLabel, m_version);

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("BOK"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("BCancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_group, 1);
    layout->addWidget(m_panel);
    layout->addLayout(buttons);
    resize(460, 400);

    // Leaving the field, also by Return, applies the file-name rule.
    connect(m_filename, &QLineEdit::editingFinished, this, &TFChoosePalette::EPaletteFilenameExit);
    connect(m_ok, &QPushButton::clicked, this, &TFChoosePalette::BOKClick);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    translateUi();
}

void TFChoosePalette::translateUi()
{
    TStitch& st = m_stitch;
    setWindowTitle(st.translate(QStringLiteral("Palette list")));
    m_group->setTitle(groupCaption(st, QStringLiteral("Choose palette")));
    m_list->setHeaderLabels({st.translate(QStringLiteral("Filename")),
                             st.translate(QStringLiteral("Palette")),
                             st.translate(QStringLiteral("Version"))});
    m_filenameLabel->setText(st.translate(QStringLiteral("Filename :")));
    m_nameLabel->setText(st.translate(QStringLiteral("Palette :")));
    m_versionLabel->setText(st.translate(QStringLiteral("Version :")));
    m_ok->setText(st.translate(QStringLiteral("OK")));
    m_cancel->setText(st.translate(QStringLiteral("Cancel")));
    MessageFileAlreadyExists =
        st.translate(QString::fromLatin1(PaletteList::kMessageFileAlreadyExists));
    MessagePaletteWithSameVersion =
        st.translate(QString::fromLatin1(PaletteList::kMessagePaletteWithSameVersion));
    MessageInvalidFileName =
        st.translate(QString::fromLatin1(PaletteList::kMessageInvalidFileName));
}

void TFChoosePalette::prepare(TViewMode mode)
{
    m_mode = mode;
    if (mode == vmAllowChange) {
        m_filename->setText(paletteFilename);
        m_name->setText(palettename);
        m_version->setText(paletteVersion);
    }
    m_panel->setVisible(mode == vmAllowChange);
    readPalettes();
    const int row = PaletteList::rowOfPalette(m_rows, m_stitch.fcolorsName);
    if (row >= 0) {
        QTreeWidgetItem* item = m_list->topLevelItem(row);
        m_list->setCurrentItem(item);
        m_list->scrollToItem(item);
    }
}

int TFChoosePalette::execute(TViewMode mode)
{
    prepare(mode);
    return exec();
}

void TFChoosePalette::readPalettes()
{
    m_list->clear();
    m_rows = PaletteList::readPalettes(m_stitch.PalettesPath);
    for (const PaletteFileRow& r : m_rows)
        new QTreeWidgetItem(m_list, {r.fileName, r.paletteName, r.version});
}

void TFChoosePalette::EPaletteFilenameExit()
{
    const QString fixed = PaletteList::withPaletteExtension(m_filename->text());
    if (fixed != m_filename->text())
        m_filename->setText(fixed);
}

bool TFChoosePalette::paletteVersionExists(const QString& fileName, const QString& name,
                                           const QString& version) const
{
    return PaletteList::paletteVersionExists(m_rows, fileName, name, version);
}

void TFChoosePalette::BOKClick()
{
    // Picking a palette to edit saves nothing: the save checks would only judge the hidden
    // fields left from an earlier save.
    if (m_mode == vmView) {
        accept();
        return;
    }
    // Return in the file-name field reaches OK before the field is left.
    EPaletteFilenameExit();
    using PaletteList::OkStep;
    bool confirmed = false;
    for (;;) {
        const OkStep step = PaletteList::okStep(m_rows, m_stitch.PalettesPath, enteredFilename(),
                                                enteredName(), enteredVersion(), confirmed);
        switch (step) {
        case OkStep::Accept:
            accept();
            return;
        case OkStep::InvalidName:
            showMessage(QMessageBox::Warning, MessageInvalidFileName, QMessageBox::Ok);
            return;
        case OkStep::AskOverride:
            if (showMessage(QMessageBox::Warning, MessageFileAlreadyExists,
                            QMessageBox::Ok | QMessageBox::Cancel)
                != QMessageBox::Ok)
                return;
            confirmed = true;
            break;
        case OkStep::RefuseDuplicate:
            showMessage(QMessageBox::Information, MessagePaletteWithSameVersion, QMessageBox::Ok);
            return;
        }
    }
}

std::optional<PaletteFileRow> TFChoosePalette::selectedRow() const
{
    const QList<QTreeWidgetItem*> sel = m_list->selectedItems();
    if (sel.isEmpty())
        return std::nullopt;
    const int i = m_list->indexOfTopLevelItem(sel.first());
    if (i < 0 || i >= m_rows.size())
        return std::nullopt;
    return m_rows[i];
}

QString TFChoosePalette::enteredFilename() const { return m_filename->text(); }
QString TFChoosePalette::enteredName() const { return m_name->text(); }
QString TFChoosePalette::enteredVersion() const { return m_version->text(); }

QMessageBox::StandardButton TFChoosePalette::showMessage(QMessageBox::Icon icon,
                                                         const QString& text,
                                                         QMessageBox::StandardButtons buttons)
{
    return showMessageBox(this, icon, windowTitle(), text, m_stitch, buttons);
}
