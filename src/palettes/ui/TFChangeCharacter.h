#pragma once
// The change-character dialog: a 25 x 25 grid over the design's symbol string in which the
// user picks a new symbol for the draw colour; symbols in use are greyed and cannot be taken.

#include "palettes/ChangeCharacter.h"

#include <QDialog>
#include <QRawFont>
#include <QWidget>
#include <functional>

class PatternDocument;
class QLabel;
class QPushButton;

// The grid of symbols (a draw grid with fixed 23-pixel cells and 1-pixel lines).
class SymbolGrid : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kLine = 1;
    static constexpr int kPitch = ChangeCharacter::kCellSize + kLine;

    SymbolGrid(ChangeCharacter& logic, QWidget* parent = nullptr);
    void setSymbolFont(const QString& family);
    // The rectangle of cell (column, row) in widget coordinates.
    static QRect cellRect(int column, int row);
    QSize sizeHint() const override;

signals:
    // GridSelectCell: the user selected a cell.
    void cellSelected(int column, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // GridDrawCell.
    void drawCell(QPainter& p, int column, int row);
    void selectCell(int column, int row);

    ChangeCharacter& m_logic;
    QRawFont m_font;
};

class TFChangeCharacter : public QDialog
{
    Q_OBJECT
public:
    explicit TFChangeCharacter(PatternDocument& doc, QWidget* parent = nullptr);

    ChangeCharacter& logic() { return m_logic; }
    SymbolGrid* grid() const { return m_grid; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }
    // Shows "help is not available" through this function, so tests can observe it.
    std::function<void(const QString&)> showMessage;

    // FormShow: cell (0, 0) selected, the design's symbol font, the focus on the grid.
    void FormShow();

public slots:
    void GridSelectCell(int column, int row);
    void BOKClick();
    void HelpClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    PatternDocument& m_doc;
    ChangeCharacter m_logic;
    SymbolGrid* m_grid = nullptr;
    QLabel* m_text = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
};

// Opens the dialog modally for the draw colour ("Change character ..."). Does nothing and
// returns false when the draw colour is not used; true when the symbol was changed.
bool showChangeCharacter(QWidget* parent, PatternDocument& doc);
