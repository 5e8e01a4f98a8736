#pragma once
// The palette list dialog: the palette files of the palette folder, to pick one for editing
// (vmView) or to name the file, palette and version a palette is saved under (vmAllowChange).
// A thin view over PaletteList; its messages go through showMessage, which tests replace.

#include "palettes/PaletteList.h"

#include <QDialog>
#include <QMessageBox>
#include <optional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QWidget;
class TStitch;

class TFChoosePalette : public QDialog
{
    Q_OBJECT
public:
    explicit TFChoosePalette(TStitch& stitch, QWidget* parent = nullptr);

    // Fills the dialog for `mode` (steps 1 to 3 of execute) without showing it.
    void prepare(TViewMode mode);
    // Fills and shows the dialog modally; returns QDialog::Accepted or Rejected.
    int execute(TViewMode mode);

    // Fills the list from the palette folder.
    void readPalettes();
    // The file-name field was left: its name gets the ".ctb" extension.
    void EPaletteFilenameExit();
    // The OK button.
    void BOKClick();
    bool paletteVersionExists(const QString& fileName, const QString& name,
                              const QString& version) const;

    // Captions and message texts through the translation table.
    void translateUi();

    TViewMode mode() const { return m_mode; }
    const QList<PaletteFileRow>& rows() const { return m_rows; }
    // The chosen row (view mode), if any.
    std::optional<PaletteFileRow> selectedRow() const;
    // The entered values (save mode).
    QString enteredFilename() const;
    QString enteredName() const;
    QString enteredVersion() const;

    QTreeWidget* listView() const { return m_list; }
    QWidget* editPanel() const { return m_panel; }
    QLineEdit* filenameEdit() const { return m_filename; }
    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* versionEdit() const { return m_version; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    // Set by the caller before a save-mode use.
    QString palettename;
    QString paletteFilename;
    QString paletteVersion;
    // Translated message texts.
    QString MessageFileAlreadyExists;
    QString MessagePaletteWithSameVersion;
    QString MessageInvalidFileName;

protected:
    // Shows a message box and returns the button chosen.
    virtual QMessageBox::StandardButton showMessage(QMessageBox::Icon icon, const QString& text,
                                                    QMessageBox::StandardButtons buttons);

private:
    TStitch& m_stitch;
    TViewMode m_mode = vmView;
    QList<PaletteFileRow> m_rows;
    QGroupBox* m_group;
    QTreeWidget* m_list;
    QWidget* m_panel;
    QLabel* m_filenameLabel;
    QLabel* m_nameLabel;
    QLabel* m_versionLabel;
    QLineEdit* m_filename;
    QLineEdit* m_name;
    QLineEdit* m_version;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
