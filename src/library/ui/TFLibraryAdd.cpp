#include "TFLibraryAdd.h"

#include "MotifPreview.h"
#include "core/PatternDocument.h"
#include "core/QuillError.h"
#include "i18n/ui/Retranslate.h"
#include "i18n/ui/THelpWindow.h"
#include "library/MotifLibrary.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFLibraryAdd::TFLibraryAdd(PatternDocument& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_stitch(doc.stitch())
{
    setObjectName(QStringLiteral("FLibraryAdd"));

    m_filesBox = new QGroupBox(this);
    m_list = new QListWidget(m_filesBox);
    m_list->setObjectName(QStringLiteral("List"));
    m_list->setUniformItemSizes(true);
    (new QVBoxLayout(m_filesBox))->addWidget(m_list);

    m_fileBox = new QGroupBox(this);
    m_fileName = new QLineEdit(m_fileBox);
    m_fileName->setObjectName(QStringLiteral("EFileName"));
    m_title = new QLineEdit(m_fileBox);
    m_title->setObjectName(QStringLiteral("ETitle"));
    m_description = new QPlainTextEdit(m_fileBox);
    m_description->setObjectName(QStringLiteral("MemoDescription"));
    m_description->setTabChangesFocus(true);
    m_description->setFixedHeight(70);
    auto* form = new QFormLayout(m_fileBox);
    const struct { const char* key; QWidget* field; } rows[] = {
        {"Filename :", m_fileName}, {"Title :", m_title}, {"Description :", m_description}};
    for (const auto& r : rows) {
        auto* label = new QLabel(m_fileBox);
        setTextKey(label, QString::fromLatin1(r.key), m_stitch);
        label->setBuddy(r.field);
        form->addRow(label, r.field);
    }

    m_previewBox = new QGroupBox(this);
    m_motifImage = new MotifPreview(m_previewBox);
    m_motifImage->setObjectName(QStringLiteral("Image"));
    (new QVBoxLayout(m_previewBox))->addWidget(m_motifImage);
    m_selectionBox = new QGroupBox(this);
    m_selectionImage = new MotifPreview(m_selectionBox);
    m_selectionImage->setObjectName(QStringLiteral("ImageSelection"));
    (new QVBoxLayout(m_selectionBox))->addWidget(m_selectionImage);

    m_save = new QPushButton(this);
    m_save->setObjectName(QStringLiteral("BSave"));
    m_close = new QPushButton(this);
    m_close->setObjectName(QStringLiteral("BClose"));
    m_help = new QPushButton(this);
    m_help->setObjectName(QStringLiteral("BHelp"));
    m_close->setAutoDefault(false);
    m_help->setAutoDefault(false);
    m_save->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    buttons->addWidget(m_help);

    auto* pictures = new QHBoxLayout;
    pictures->addWidget(m_selectionBox);
    pictures->addWidget(m_previewBox);
    auto* right = new QVBoxLayout;
    right->addWidget(m_fileBox);
    right->addLayout(pictures, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(m_filesBox, 1);
    top->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);
    resize(680, 480);

    connect(m_fileName, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_save->setEnabled(MotifLibrary::fileNameAllowed(text)); });
    connect(m_list, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = m_list->selectedItems();
        const int row = chosen.isEmpty() ? -1 : m_list->row(chosen.first());
        // Only a look at a listed motif: the file fields stay as typed.
        QImage picture;
        if (row >= 0) {
            try {
                picture = MotifLibrary::readMotif(m_stitch.libraryPath, m_list->item(row)->text()).preview;
            } catch (const QuillError& e) {
                m_motifImage->setToolTip(e.translated(m_stitch));
            }
        }
        m_motifImage->setPicture(picture);
    });
    connect(m_save, &QPushButton::clicked, this, &TFLibraryAdd::BSaveClick);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_help, &QPushButton::clicked, this,
            [this] { showHelpContext(this, m_stitch, kHelpContext); });
    translateUi();
}

void TFLibraryAdd::translateUi()
{
    setWindowTitle(m_stitch.translate(QStringLiteral("Library")));
    m_filesBox->setTitle(groupCaption(m_stitch, QStringLiteral("Files")));
    m_fileBox->setTitle(groupCaption(m_stitch, QStringLiteral("File")));
    m_previewBox->setTitle(groupCaption(m_stitch, QStringLiteral("Preview")));
    m_selectionBox->setTitle(groupCaption(m_stitch, QStringLiteral("Selection")));
    m_save->setText(m_stitch.translate(QStringLiteral("Save")));
    m_close->setText(m_stitch.translate(QStringLiteral("Close")));
    m_help->setText(m_stitch.translate(QStringLiteral("Help")));
    retranslate(this, m_stitch);
}

void TFLibraryAdd::prepare(const QRect& rectangle)
{
    m_rectangle = rectangle;
    m_saved.clear();
    m_selectionImage->setPicture(MotifLibrary::selectionPreview(m_doc, rectangle));
    m_motifImage->setPicture(QImage());
    {
        const QSignalBlocker block(m_list);
        m_list->clear();
        m_list->addItems(MotifLibrary::listMotifs(m_stitch.libraryPath));
    }
    m_fileName->setText(QStringLiteral("*.qvxp"));
    m_save->setEnabled(MotifLibrary::fileNameAllowed(m_fileName->text()));
    m_title->clear();
    m_description->clear();
    m_fileName->setFocus(Qt::OtherFocusReason);
    m_fileName->selectAll();
}

void TFLibraryAdd::BSaveClick()
{
    if (!MotifLibrary::fileNameAllowed(m_fileName->text()))
        return;
    const QStringList description = m_description->toPlainText().isEmpty()
        ? QStringList()
        : m_description->toPlainText().split(QLatin1Char('\n'));
    try {
        m_saved = MotifLibrary::saveMotif(m_doc, m_stitch.libraryPath, m_fileName->text(), m_rectangle,
                                          m_title->text(), description);
    } catch (const QuillError& e) {
        showMessageBox(this, QMessageBox::Warning, windowTitle(), e.translated(m_stitch), m_stitch);
        return;
    }
    accept();
}
