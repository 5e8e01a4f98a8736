#pragma once
// The New Image dialog: size, palette, character set and cell aspect of a new design. A thin
// view over NewImageOptions; the New command of the main window reads the result.

#include "core/NewImageOptions.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TStitch;

class TFNewImage : public QDialog
{
    Q_OBJECT
public:
    explicit TFNewImage(TStitch& stitch, QWidget* parent = nullptr);

    // Fills the fields (and the two lists) from the options.
    void setOptions(const NewImageOptions& options);
    // The values of the fields, with the lists the dialog offered.
    NewImageOptions options() const;

    // Captions through the translation table.
    void translateUi();
    // Hides the choice of cell aspect (the product mode has no knitting charts). Idempotent.
    void applyProductMode();

    QSpinBox* widthEdit() const { return m_width; }
    QSpinBox* heightEdit() const { return m_height; }
    QComboBox* paletteBox() const { return m_palette; }
    QComboBox* charactersBox() const { return m_characters; }
    QRadioButton* crossButton() const { return m_cross; }
    QRadioButton* knittingButton() const { return m_knitting; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* helpButton() const { return m_help; }

private:
    void confirm();
    void showHelp();

    TStitch& m_stitch;
    NewImageOptions m_options;
    QLabel* m_widthLabel;
    QLabel* m_heightLabel;
    QLabel* m_paletteLabel;
    QLabel* m_charactersLabel;
    QSpinBox* m_width;
    QSpinBox* m_height;
    QComboBox* m_palette;
    QComboBox* m_characters;
    QRadioButton* m_cross;
    QRadioButton* m_knitting;
    QLabel* m_imageCross;
    QLabel* m_imageKnitting;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QPushButton* m_help;
};
