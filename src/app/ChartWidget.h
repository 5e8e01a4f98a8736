#pragma once
// The chart area of the main window: shows the chart view's image with scroll bars whose
// positions are the first visible column and row, sizes the view to the widget, forwards the
// mouse to the drawing tools, scrolls with the wheel and zooms with Ctrl+wheel.

#include "editing/PointerMapping.h"
#include "editing/TMode.h"

#include <QAbstractScrollArea>

class ChartView;
class ToolController;

class ChartWidget : public QAbstractScrollArea
{
    Q_OBJECT
public:
    ChartWidget(ChartView& view, ToolController& tools, QWidget* parent = nullptr);

    ChartView& view() { return m_view; }
    // The pointer mapping for the current zoom and scroll position.
    PointerMapping mapping() const;
    // Scroll position in cells (first visible column and row).
    QPoint scrollPosition() const;
    void setScrollPosition(QPoint firstCell);
    void scrollByCells(QPoint cells);
    // A new zoom value; the cell at `anchor` (viewport pixels) stays under it as far as
    // whole-cell scrolling allows.
    void zoomTo(int value, QPoint anchor);
    // Follows a replaced or resized design (scroll ranges, position).
    void designChanged();
    // The mouse cursor of a tool mode over the chart.
    void setToolCursor(TMode mode);

    // Cells scrolled per wheel notch.
    static constexpr int kWheelCells = 3;

signals:
    // The zoom changed through the wheel.
    void zoomChanged(int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void updateScrollRanges();
    void syncMapping();

    ChartView& m_view;
    ToolController& m_tools;
    int m_wheelRemainder = 0;
    int m_zoomRemainder = 0;
    bool m_updatingBars = false;
};
