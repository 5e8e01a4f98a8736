#pragma once
// The colour panel beside the chart: the colour list (swatch with symbol, name, count) in
// four sort orders, for all colours or only the used ones, the draw-colour swatch, and the
// "Palette" button. Clicking a row chooses the draw colour.

#include <QWidget>

class ColorListModel;
class PatternDocument;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableView;

class ColorPanel : public QWidget
{
    Q_OBJECT
public:
    // Widths the splitter accepts for the panel: more than 150 and less than 300 pixels.
    static bool acceptsWidth(int width) { return width > 150 && width < 300; }

    explicit ColorPanel(PatternDocument& doc, QWidget* parent = nullptr);

    QTableView* grid() const { return m_grid; }
    ColorListModel* model() const { return m_model; }
    QComboBox* sortList() const { return m_sort; }
    QRadioButton* allColorsButton() const { return m_all; }
    QRadioButton* usedColorsButton() const { return m_used; }
    QLabel* drawColorSwatch() const { return m_foreground; }
    QPushButton* paletteButton() const { return m_palette; }

    // Texts through the translation table (after a language change).
    void retranslate();
    // Sort order back to "by palette" (a new or opened design).
    void resetSort();

signals:
    void paletteRequested();
    void changeCharacterRequested();
    void usedColorsTextChanged(const QString& text);

private:
    void updateColorPanels();
    void selectDrawColorRow();

    PatternDocument& m_doc;
    ColorListModel* m_model;
    QTableView* m_grid;
    QComboBox* m_sort;
    QRadioButton* m_all;
    QRadioButton* m_used;
    QLabel* m_foreground;
    QPushButton* m_palette;
};
