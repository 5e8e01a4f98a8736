#pragma once
// The picture of the palette editor's "Choose colors from an image" panel: shown at a zoom
// (scale 1 when loaded) with scroll bars, with the picking cursor's outline (circle or square
// of the cursor size, in picture pixels) cycling through twelve blues under the pointer.

#include <QAbstractScrollArea>
#include <QColor>
#include <QImage>
#include <QPoint>
#include <array>
#include <optional>

class QTimer;

class PickPicture : public QAbstractScrollArea
{
    Q_OBJECT
public:
    enum Shape { Circle, Square };
    // The zoom steps in per cent.
    static constexpr std::array<int, 7> kZooms{25, 50, 100, 200, 400, 800, 1600};
    static constexpr int kOutlineInterval = 20; // ms
    static const std::array<QColor, 12> kOutlineColors;

    explicit PickPicture(QWidget* parent = nullptr);

    // A new picture at scale 1, scrolled to its top-left corner.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return m_picture; }
    void setZoom(int percent);
    int zoom() const { return m_zoom; }
    void setCursorSize(int size);
    int cursorSize() const { return m_size; }
    void setShape(Shape shape);
    Shape shape() const { return m_shape; }

    // The picture pixel under a viewport position, or nothing off the picture.
    std::optional<QPoint> pixelAt(const QPoint& viewportPos) const;
    // Whether the outline is shown, and its colour step.
    bool outlineShown() const { return m_inside; }
    int outlinePhase() const { return m_phase; }

signals:
    // A mouse button was released over the picture pixel.
    void released(const QPoint& pixel);
    // The wheel turned by `steps` notches (without Ctrl, which zooms).
    void wheelSteps(int steps);
    void zoomChanged(int percent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QSize scaledSize() const;
    void updateScrollBars();
    void hideOutline();

    QImage m_picture;
    int m_zoom = 100;
    int m_size = 30;
    Shape m_shape = Circle;
    QPoint m_pointer;
    bool m_inside = false;
    int m_phase = 0;
    int m_wheelRest = 0;
    QTimer* m_timer = nullptr;
};
