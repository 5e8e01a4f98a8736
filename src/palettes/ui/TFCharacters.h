#pragma once
// The characters editor window: a thin view over CharactersEditor. The two lists draw each
// character in the chosen font and, while "Show ID's" is ticked, its code beside it.

#include "palettes/CharactersEditor.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QRawFont>
#include <QStyledItemDelegate>
#include <memory>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolButton;
class TStitch;

// One list of the editor as a two-column table: the character and its code.
class CharacterListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    CharacterListModel(const CharactersEditor& editor, CharactersEditor::List list,
                       QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_editor(editor), m_list(list) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    void reload() { beginResetModel(); endResetModel(); }

private:
    const CharactersEditor& m_editor;
    CharactersEditor::List m_list;
};

// Paints a character of the list in the symbol font through the glyph outline.
class CharacterDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    explicit CharacterDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}
    void setFont(const QString& family);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    static constexpr int kPixelSize = 20;

private:
    QRawFont m_font;
};

class TFCharacters : public QDialog, private CharactersEditorPrompts
{
    Q_OBJECT
public:
    explicit TFCharacters(TStitch& stitch, QWidget* parent = nullptr);
    ~TFCharacters() override;

    CharactersEditor& editor() { return *m_editor; }
    // Replaces the message boxes and file dialogs (tests answer them); null restores them.
    void setPrompts(CharactersEditorPrompts* prompts) { m_testPrompts = prompts; }

    QTableView* allList() const { return m_allView; }
    QTableView* selectedList() const { return m_selectedView; }

    // FormShow: every showing starts a new, empty set.
    void FormShow();

public slots:
    void ToolButton1Click(); // new
    void Button7Click();     // open
    void ToolButton3Click(); // save
    void ToolButton4Click(); // save as
    void BAddClick();
    void BRemoveClick();
    void BAddAllClick();
    void BRemoveAllClick();
    void BMoveUpClick();
    void BMoveDownClick();
    void HelpClick();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    // CharactersEditorPrompts, passed on to the test prompts when set.
    void showMessage(const QString& text) override;
    void focusName() override;
    Answer askYesNoCancel(const QString& text) override;
    QString chooseOpenFile(const QString& folder) override;
    QString chooseSaveFile(const QString& folder) override;

    // FormCloseQuery.
    bool mayClose();
    void buildUi();
    // Shows the editor's state: fields, both lists, their selections and scroll positions.
    void refresh();
    void refreshFields();
    void refreshList(CharactersEditor::List list);
    void storeSelection(CharactersEditor::List list);
    QString tr2(const char* text) const;

    TStitch& m_stitch;
    std::unique_ptr<CharactersEditor> m_editor;
    CharactersEditorPrompts* m_testPrompts = nullptr;
    bool m_updating = false;

    QToolButton* m_newButton = nullptr;
    QToolButton* m_openButton = nullptr;
    QToolButton* m_saveButton = nullptr;
    QToolButton* m_saveAsButton = nullptr;
    QComboBox* m_font = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_description = nullptr;
    QCheckBox* m_showIds = nullptr;
    QTableView* m_allView = nullptr;
    QTableView* m_selectedView = nullptr;
    CharacterListModel* m_allModel = nullptr;
    CharacterListModel* m_selectedModel = nullptr;
    CharacterDelegate* m_delegate = nullptr;
    QPushButton* m_addAll = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_removeAll = nullptr;
    QPushButton* m_moveUp = nullptr;
    QPushButton* m_moveDown = nullptr;
    QPushButton* m_close = nullptr;
    QPushButton* m_help = nullptr;
};

// Opens the characters editor modally ("Characters editor ...").
void showCharactersEditor(QWidget* parent, TStitch& stitch);
