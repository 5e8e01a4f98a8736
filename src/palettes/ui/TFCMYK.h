#pragma once
// The "CMYK colors ..." window: a thin view over CmykDialog. A grid of the design's colours
// with their screen and CMYK values; the last column takes the value to print with.

#include "palettes/CmykDialog.h"

#include <QAbstractTableModel>
#include <QDialog>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>

class QPushButton;

// The rows of CmykDialog as a five-column table; only the last column can be edited.
class CmykRowsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    CmykRowsModel(CmykDialog& logic, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_logic(logic) {}

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    void reload() { beginResetModel(); endResetModel(); }

private:
    CmykDialog& m_logic;
};

// Draws the cells: the colour with its symbol, the texts at 8 points, the edit column on
// light blue.
class CmykCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    CmykCellDelegate(CmykDialog& logic, QObject* parent = nullptr)
        : QStyledItemDelegate(parent), m_logic(logic) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

    static const QColor kEditBackground;

private:
    CmykDialog& m_logic;
};

// The grid, which can commit and close an open editor (when the view scrolls or OK is pressed).
class CmykGrid : public QTableView
{
    Q_OBJECT
public:
    using QTableView::QTableView;
    void finishEditing();
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
};

class TFCMYK : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kColumnWidths[CmykDialog::kColumnCount] = {50, 60, 80, 80, 100};
    static constexpr int kRowHeight = 24;

    explicit TFCMYK(TStitch& stitch, QWidget* parent = nullptr);
    ~TFCMYK() override;

    CmykDialog& logic() { return m_logic; }
    CmykGrid* grid() const { return m_grid; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* helpButton() const { return m_help; }

    // Replaces the message box (tests read the text); null restores it.
    void setMessageHandler(std::function<void(const QString&)> handler)
    {
        m_messageHandler = std::move(handler);
    }

    // Rebuilds the rows from the design and the CMYK table.
    void FormShow();

public slots:
    // Commits an open editor, writes "cmyk.ini" and closes; a failed write is reported and
    // the window stays open with the table as edited.
    void BOKClick();
    void HelpClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showMessage(const QString& text);

    TStitch& m_stitch;
    CmykDialog m_logic;
    CmykRowsModel* m_model = nullptr;
    CmykGrid* m_grid = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_help = nullptr;
    std::function<void(const QString&)> m_messageHandler;
};

// Opens the dialog modally for the current design ("CMYK colors ...").
void showCmykDialog(QWidget* parent, TStitch& stitch);
