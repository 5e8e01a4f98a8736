#pragma once
// The options dialog ("Options ..."): the user's settings on two tabs, "General Settings" and
// "Printing Settings". A thin view over OptionsValues: the fields show the values, "Default"
// puts the default values into the fields, OK hands the fields' values back.

#include "core/OptionsValues.h"

#include <QDialog>
#include <QHash>

#include <array>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTextEdit;
class TStitch;

class TFOptions : public QDialog
{
    Q_OBJECT
public:
    explicit TFOptions(TStitch& stitch, QWidget* parent = nullptr);

    // Fills the fields (and the two lists) from the values.
    void setValues(const OptionsValues& values);
    // The values of the fields. A list without a selection keeps the value it was given; the
    // book information is HTML, kept as given unless it was edited.
    OptionsValues values() const;

    // Captions through the translation table.
    void translateUi();
    // The bag size is shown, the stitch-behaviour group is hidden (its values are kept).
    void applyProductMode();

    QTabWidget* tabs() const { return m_tabs; }
    QComboBox* paletteBox() const { return m_palette; }
    QComboBox* symbolsBox() const { return m_symbols; }
    QLineEdit* pathEdit() const { return m_path; }
    QLabel* pathLabel() const { return m_pathLabel; }
    QLineEdit* titleEdit() const { return m_title; }
    QLineEdit* subTitleEdit() const { return m_subTitle; }
    QTextEdit* bookInfoEdit() const { return m_bookInfo; }
    QCheckBox* updatesCheck() const { return m_updates; }
    QCheckBox* quarterOverCrossCheck() const { return m_quarterOverCross; }
    QSpinBox* numberField(OptionNumber id) const { return m_numbers.value(int(id)); }
    QGroupBox* stitchGroup() const { return m_stitchGroup; }
    QGroupBox* bagGroup() const { return m_bagGroup; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* defaultButton() const { return m_default; }
    QPushButton* helpButton() const { return m_help; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* createGeneralTab();
    QWidget* createPrintingTab();
    QSpinBox* addNumber(OptionNumber id, QWidget* parent);
    QLabel* keyed(const char* key, QWidget* parent);
    // The four fields of a set of margins (top, bottom, left, right) on rows `row` and `row` + 1.
    void addSides(QGridLayout* grid, int row, QWidget* parent, const std::array<OptionNumber, 4>& sides);
    void showPathLabel();
    void DefaultClick();
    void chooseLibraryFolder();

    TStitch& m_stitch;
    OptionsValues m_values;
    QString m_bookInfoShown; // the editor's HTML right after setValues
    QTabWidget* m_tabs;
    QComboBox* m_palette = nullptr;
    QComboBox* m_symbols = nullptr;
    QLineEdit* m_path = nullptr;
    QLabel* m_pathLabel = nullptr;
    QPushButton* m_pathButton = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_subTitle = nullptr;
    QTextEdit* m_bookInfo = nullptr;
    QCheckBox* m_updates = nullptr;
    QCheckBox* m_quarterOverCross = nullptr;
    QGroupBox* m_stitchGroup = nullptr;
    QGroupBox* m_bagGroup = nullptr;
    QHash<int, QSpinBox*> m_numbers;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_default;
    QPushButton* m_help;
};

// "Options ...": shows the dialog over the current settings; on OK they go into `stitch`.
// True when OK was pressed; `titled` tells whether the open design took the default title.
bool showOptionsDialog(QWidget* parent, TStitch& stitch, bool* titled = nullptr);
