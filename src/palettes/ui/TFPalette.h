#pragma once
// The palette pop-up: a borderless, stay-on-top window with the colours of the design as a
// grid of swatches, each showing no text, its number, its use count, its name or its symbol.
// Clicking a swatch makes its colour the draw colour; the window fades in when shown and fades
// out after a choice or when it loses the focus. A thin view over PalettePopup.

#include "palettes/PalettePopup.h"

#include <QAbstractScrollArea>
#include <QRawFont>
#include <QWidget>

class PatternDocument;
class QComboBox;
class QLabel;
class QTimer;
class SettingsStore;
class TStitch;

// Draws one cell of the grid: the hatch past the end of the list, or the swatch with its text
// or symbol in the ink of its colour. `symbolFont` draws the symbols.
void paintPaletteCell(QPainter& painter, const QRect& rect, const PaletteCell& cell,
                      const QRawFont& symbolFont);

// The draw grid of the pop-up: fixed column width and row height, one-pixel grid lines, a
// vertical scroll bar only.
class PaletteGrid : public QAbstractScrollArea
{
    Q_OBJECT
public:
    PaletteGrid(PalettePopup& popup, QWidget* parent = nullptr);

    // The rectangle of cell (column, row) in viewport coordinates.
    QRect cellRect(int column, int row) const;
    // The cell under a viewport point, or false.
    bool cellAt(const QPoint& pos, int& column, int& row) const;
    // Re-reads the layout (columns and rows) and repaints.
    void relayout();
    void setSymbolFont(const QRawFont& font) { m_symbolFont = font; }

signals:
    void cellClicked(int column, int row);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateScrollBar();

    PalettePopup& m_popup;
    QRawFont m_symbolFont;
};

class TFPalette : public QWidget
{
    Q_OBJECT
public:
    TFPalette(TStitch& stitch, PatternDocument& document, QWidget* parent = nullptr);

    // Captions through the translation table.
    void translateUi();

    // Event handlers.
    void FormCreate();
    void FormShow();
    void PanelPaletteResize();
    void GridPaletteSelectCell(int column, int row);
    void ComboPaletteViewChange(int index);
    void FormDeactivate();
    void Timer1Timer();

    PalettePopup& popup() { return m_popup; }
    const PaletteFade& fade() const { return m_fade; }
    PaletteGrid* grid() const { return m_grid; }
    QComboBox* viewBox() const { return m_view; }
    QTimer* timer() const { return m_timer; }

    // A size that shows `columns` columns and up to `maxRows` rows of `colorCount` colours.
    QSize preferredSize(int colorCount, int columns = 8, int maxRows = 14) const;

signals:
    // A swatch was clicked and its colour became the draw colour.
    void colorChosen(ColorKey color);
    // The colour panels should refresh (after a choice or when the window loses the focus).
    void colorPanelsUpdate();
    // The window lost the focus: the palette button's timer should start.
    void deactivated();

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyAlpha();

    TStitch& m_stitch;
    PatternDocument& m_document;
    PalettePopup m_popup;
    PaletteFade m_fade;
    QWidget* m_bar;
    QLabel* m_label;
    QComboBox* m_view;
    PaletteGrid* m_grid;
    QTimer* m_timer;
};

// Opens the palette pop-up of `parent` (created on first use and kept) near the mouse pointer,
// sized for the colours of the design.
// The view is written to `settings` when the user changes it.
TFPalette* showPalettePopup(QWidget* parent, TStitch& stitch, PatternDocument& document,
                            SettingsStore* settings = nullptr);
