#pragma once
// The palette editor window: a thin view over PaletteEditor. The colour list draws each row in
// its colour; the colour settings edit one colour; colours can be picked from a picture.

#include "palettes/PaletteEditor.h"
#include "palettes/PaletteList.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDialog>
#include <QRawFont>
#include <QStyledItemDelegate>
#include <QTableView>
#include <memory>

class PickPicture;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QToolButton;
class TStitch;

// The colours of the palette as a four-column table: name, number, RGB and symbol.
class PaletteRowsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { colName, colNumber, colRGB, colSymbol, kColumnCount };

    PaletteRowsModel(const PaletteEditor& editor, TStitch& stitch, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_editor(editor), m_stitch(stitch) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    void reload() { beginResetModel(); endResetModel(); }

private:
    const PaletteEditor& m_editor;
    TStitch& m_stitch;
};

// GridDrawCell: the row in its colour, white or near-black text, the selected rows on blue
// with the colour as text colour, the symbol in the symbol font.
class PaletteCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit PaletteCellDelegate(const PaletteEditor& editor, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), m_editor(editor) {}
    void setSymbolFont(const QRawFont& font) { m_font = font; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const PaletteEditor& m_editor;
    QRawFont m_font;
};

// The colour list; an empty palette shows a grey note in its middle.
class PaletteColorList : public QTableView
{
    Q_OBJECT
public:
    using QTableView::QTableView;
    void setEmptyText(const QString& text) { m_emptyText = text; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_emptyText;
};

// "Color Symbol": the characters of the design's character set, drawn in its symbol font.
class SymbolComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit SymbolComboBox(QWidget* parent = nullptr);
    void setSymbols(const QString& characters, const QRawFont& font);
    const QRawFont& symbolFont() const { return m_font; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRawFont m_font;
};

class TFPaletteEditor : public QDialog, private PaletteEditorPrompts
{
    Q_OBJECT
public:
    static constexpr int kHelpTopic = 4200;
    static constexpr int kColumnWidth = 64;
    static constexpr int kRowHeight = 24;

    explicit TFPaletteEditor(TStitch& stitch, QWidget* parent = nullptr);
    ~TFPaletteEditor() override;

    PaletteEditor& editor() { return *m_editor; }
    // Replaces the message boxes and the palette list dialog (tests answer them); null
    // restores them.
    void setPrompts(PaletteEditorPrompts* prompts) { m_testPrompts = prompts; }

    // Prepares the editor for a palette file of the palette folder (false when it cannot be
    // read, after the message), or for a new palette when `fileName` is empty.
    bool prepare(const QString& fileName, const QString& name, const QString& version);
    // prepare, then shows the editor modally.
    int execute(const QString& fileName, const QString& name, const QString& version);

    // Shows a picture in the picture panel (what "Load image ..." does after reading it).
    void setPicture(const QImage& picture);

    PaletteColorList* grid() const { return m_grid; }
    PickPicture* picture() const { return m_picture; }
    QComboBox* sortBox() const { return m_sort; }
    SymbolComboBox* symbolBox() const { return m_symbol; }
    QLineEdit* rgbEdit() const { return m_rgb; }
    QLineEdit* nameEdit() const { return m_name; }
    QLineEdit* numberEdit() const { return m_number; }
    QLabel* symbolWarning() const { return m_warning; }
    QSpinBox* cursorSizeBox() const { return m_cursorSize; }
    QPushButton* button(const char* objectName) const;

    // Shows the editor's state: fields, list, selection and which commands are enabled.
    void refresh();

public slots:
    void ComboSortChange(int index);
    void Button1Click(); // "Load image ..."
    void PanelColorClick();
    void HelpClick();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // PaletteEditorPrompts, passed on to the test prompts when set.
    void showMessage(const QString& text, bool warning) override;
    bool askYesNo(const QString& text) override;
    Answer askYesNoCancel(const QString& text) override;
    void focusField(Field field) override;
    bool choosePaletteFile(QString& fileName, QString& name, QString& version) override;

    void buildUi();
    void FormShow();
    void refreshFields();
    void refreshList();
    void refreshEnabling();
    void storeSelection();
    void run(void (PaletteEditor::*command)());
    QString tr2(const char* text) const;

    TStitch& m_stitch;
    std::unique_ptr<PaletteEditor> m_editor;
    PaletteEditorPrompts* m_testPrompts = nullptr;
    bool m_updating = false;

    QLineEdit* m_paletteName = nullptr;
    QLineEdit* m_paletteVersion = nullptr;
    QLineEdit* m_paletteFile = nullptr;
    PaletteRowsModel* m_model = nullptr;
    PaletteCellDelegate* m_delegate = nullptr;
    PaletteColorList* m_grid = nullptr;
    QComboBox* m_sort = nullptr;
    QGroupBox* m_settings = nullptr;
    QPushButton* m_swatch = nullptr;
    QLineEdit* m_rgb = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_number = nullptr;
    SymbolComboBox* m_symbol = nullptr;
    QLabel* m_warning = nullptr;
    QToolButton* m_circle = nullptr;
    QToolButton* m_square = nullptr;
    QSpinBox* m_cursorSize = nullptr;
    QComboBox* m_zoom = nullptr;
    PickPicture* m_picture = nullptr;
};

// "New palette ...": the editor for a new, empty palette.
void showNewPalette(QWidget* parent, TStitch& stitch);
// "Edit palette ...": the palette list dialog picks a palette file, which the editor opens.
// Nothing happens when the list is cancelled or confirmed without a chosen row.
void showEditPalette(QWidget* parent, TStitch& stitch);
