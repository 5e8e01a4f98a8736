#pragma once
// "Add to library": the area to save (the selection, or the whole design) with its preview,
// the file name, title and description of the new motif, and the library's motifs with the
// preview of one chosen (only to look at). "Save" writes the motif and closes the dialog.

#include <QDialog>
#include <QRect>

class MotifPreview;
class PatternDocument;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class TStitch;

class TFLibraryAdd : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHelpContext = 3900;

    TFLibraryAdd(PatternDocument& doc, QWidget* parent = nullptr);

    // Before each showing (FormShow): the area to save, its preview, the folder listed,
    // the file name "*.qvxp" and empty title and description.
    void prepare(const QRect& rectangle);
    void translateUi();

    QRect rectangle() const { return m_rectangle; }
    // The file written by the last successful "Save".
    QString savedPath() const { return m_saved; }

    QLineEdit* fileNameField() const { return m_fileName; }
    QLineEdit* titleField() const { return m_title; }
    QPlainTextEdit* descriptionField() const { return m_description; }
    QListWidget* list() const { return m_list; }
    MotifPreview* selectionPreview() const { return m_selectionImage; }
    MotifPreview* motifPreview() const { return m_motifImage; }
    QPushButton* saveButton() const { return m_save; }

    // "Save": writes the motif (a failure is shown and the dialog stays open).
    void BSaveClick();

private:
    PatternDocument& m_doc;
    TStitch& m_stitch;
    QRect m_rectangle;
    QString m_saved;
    QGroupBox* m_filesBox = nullptr;
    QGroupBox* m_fileBox = nullptr;
    QGroupBox* m_previewBox = nullptr;
    QGroupBox* m_selectionBox = nullptr;
    QListWidget* m_list = nullptr;
    QLineEdit* m_fileName = nullptr;
    QLineEdit* m_title = nullptr;
    QPlainTextEdit* m_description = nullptr;
    MotifPreview* m_motifImage = nullptr;
    MotifPreview* m_selectionImage = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_help = nullptr;
};
