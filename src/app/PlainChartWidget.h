#pragma once
// A plain picture of the design's cells for the main window until the full chart view takes
// over: one square per cell in its colour (empty cells in the background colour), a thin
// grid, grey beyond the design. It repaints what the document reports as changed.

#include <QWidget>

class PatternDocument;

class PlainChartWidget : public QWidget
{
    Q_OBJECT
public:
    explicit PlainChartWidget(PatternDocument& document, QWidget* parent = nullptr);

    bool gridVisible() const { return m_grid; }
    void setGridVisible(bool on);

    // The widget rectangle of cell (x, y), grid line included on its top and left.
    QRect cellRect(int x, int y) const;
    // Follows a replaced or resized design.
    void designChanged();

    static QColor gridColor() { return QColor(0xB0, 0xB0, 0xB0); }
    static QColor outsideColor() { return QColor(0x7F, 0x7F, 0x7F); }

signals:
    // The pointer moved over cell (x, y) of the design (0-based).
    void pointerMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    QSize sizeHint() const override;

private:
    void cellsChanged(const QRect& cells);
    QSize cellSize() const;

    PatternDocument& m_document;
    bool m_grid = true;
};
