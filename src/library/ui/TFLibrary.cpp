#include "TFLibrary.h"

#include "MotifPreview.h"
#include "core/QuillError.h"
#include "core/TStitch.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TFLibrary::TFLibrary(TStitch& stitch, QWidget* parent)
    : QDialog(parent), m_stitch(stitch), m_browser(stitch)
{
    setObjectName(QStringLiteral("FLibrary"));

    m_filesBox = new QGroupBox(this);
    m_list = new QListWidget(m_filesBox);
    m_list->setObjectName(QStringLiteral("List"));
    m_list->setUniformItemSizes(true);
    m_note = new QLabel(m_filesBox);
    m_note->setObjectName(QStringLiteral("LNote"));
    m_note->setWordWrap(true);
    m_note->hide();
    auto* filesLayout = new QVBoxLayout(m_filesBox);
    filesLayout->addWidget(m_list, 1);
    filesLayout->addWidget(m_note);

    m_previewBox = new QGroupBox(this);
    m_preview = new MotifPreview(m_previewBox);
    m_preview->setObjectName(QStringLiteral("Image"));
    auto* previewLayout = new QVBoxLayout(m_previewBox);
    previewLayout->addWidget(m_preview, 1);

    m_detailsBox = new QGroupBox(this);
    auto* form = new QFormLayout(m_detailsBox);
    const char* labels[] = {"Width :", "Height :", "Name :", "Palette :", "Description :"};
    const char* names[] = {"LWidth", "LHeight", "LName", "LPalette", "LDescription"};
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(m_detailsBox);
        setTextKey(label, QString::fromLatin1(labels[i]), stitch);
        m_values[i] = new QLabel(m_detailsBox);
        m_values[i]->setObjectName(QString::fromLatin1(names[i]));
        m_values[i]->setWordWrap(true);
        m_values[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, m_values[i]);
    }
    m_convert = new QLabel(m_detailsBox);
    m_convert->setObjectName(QStringLiteral("LConvert"));
    setTextKey(m_convert, QStringLiteral("Template needs to be converted"), stitch);
    m_convert->hide();
    form->addRow(m_convert);

    m_load = new QPushButton(this);
    m_load->setObjectName(QStringLiteral("BLoad"));
    m_delete = new QPushButton(this);
    m_delete->setObjectName(QStringLiteral("BDelete"));
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("BClose"));
    m_help = new QPushButton(this);
    m_help->setObjectName(QStringLiteral("BHelp"));
    for (QPushButton* b : {m_delete, m_close, m_help})
        b->setAutoDefault(false);
    m_load->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_delete);
    buttons->addStretch(1);
    buttons->addWidget(m_load);
    buttons->addWidget(m_close);
    buttons->addWidget(m_help);

    auto* right = new QVBoxLayout;
    right->addWidget(m_previewBox, 1);
    right->addWidget(m_detailsBox);
    auto* top = new QHBoxLayout;
    top->addWidget(m_filesBox, 1);
    top->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(640, 480);

    // The chosen motif follows the list's selection (not its current row, which the list
    // sets by itself when it gets the focus).
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { ListSelectItem(); });
    connect(m_load, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_delete, &QPushButton::clicked, this, &TFLibrary::BDeleteClick);
    connect(m_help, &QPushButton::clicked, this,
            [this] { showHelpContext(this, m_stitch, kHelpContext); });
    translateUi();
    prepare();
}

void TFLibrary::translateUi()
{
    setWindowTitle(m_stitch.translate(QStringLiteral("Library")));
    m_filesBox->setTitle(groupCaption(m_stitch, QStringLiteral("Files")));
    m_previewBox->setTitle(groupCaption(m_stitch, QStringLiteral("Preview")));
    m_detailsBox->setTitle(groupCaption(m_stitch, QStringLiteral("Details")));
    m_load->setText(m_stitch.translate(QStringLiteral("Load")));
    m_delete->setText(m_stitch.translate(QStringLiteral("Delete")));
    m_close->setText(m_stitch.translate(QStringLiteral("Close")));
    m_help->setText(m_stitch.translate(QStringLiteral("Help")));
    retranslate(this, m_stitch);
    const QString note = m_browser.folderNote();
    m_note->setText(note);
    if (m_browser.selected() || !m_browser.error().isEmpty())
        showDetails();
}

void TFLibrary::prepare(bool designOpen)
{
    m_browser.refresh(designOpen);
    const QSignalBlocker block(m_list);
    m_list->clear();
    m_list->addItems(m_browser.files());
    const QString note = m_browser.folderNote();
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
    showDetails();
}

void TFLibrary::ListSelectItem()
{
    const QList<QListWidgetItem*> chosen = m_list->selectedItems();
    m_browser.select(chosen.isEmpty() ? -1 : m_list->row(chosen.first()));
    showDetails();
}

void TFLibrary::showDetails()
{
    const auto& motif = m_browser.selected();
    if (motif) {
        m_values[0]->setText(QString::number(motif->width));
        m_values[1]->setText(QString::number(motif->height));
        m_values[2]->setText(motif->name);
        m_values[3]->setText(motif->paletteName);
        m_values[4]->setText(motif->description);
        m_preview->setPicture(motif->preview);
    } else {
        for (QLabel* v : m_values)
            v->clear();
        // A motif that cannot be read shows why; the list stays usable.
        m_values[4]->setText(m_browser.error());
        m_preview->setPicture(QImage());
    }
    m_convert->setVisible(m_browser.needsConversion());
    m_load->setEnabled(m_browser.canLoad());
    m_delete->setEnabled(motif.has_value());
}

void TFLibrary::BDeleteClick()
{
    const auto& motif = m_browser.selected();
    if (!motif)
        return;
    const QString question = QuillError::fill(
        m_stitch.translate(QStringLiteral("Do you really want to delete the motif %1?")), {motif->fileName});
    if (showMessageBox(this, QMessageBox::Question, windowTitle(), question, m_stitch,
                       QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    try {
        m_browser.deleteSelected();
    } catch (const QuillError& e) {
        showMessageBox(this, QMessageBox::Warning, windowTitle(), e.translated(m_stitch), m_stitch);
        return;
    }
    const QSignalBlocker block(m_list);
    m_list->clear();
    m_list->addItems(m_browser.files());
    showDetails();
}
