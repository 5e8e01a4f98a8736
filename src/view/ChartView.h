#pragma once
// The main chart view as an image: the visible part of the design at the current zoom and
// scroll position, with its layers composited in order (cells and French knots, back and
// Rhodes stitches, quarter stitches, grid, symbols, then the ghost, preview and selection
// overlays). It follows the document's change signals and repaints only what changed; a
// widget shows image() and repaints the rectangles reported by `repainted`.
//
// Only the visible viewport is ever rendered: the image is as large as the drawing area plus
// one pixel each way, whatever the design's size.

#include "ChartGeometry.h"
#include "SymbolStamps.h"
#include "ViewModes.h"

#include <QImage>
#include <QObject>

class ChartOverlay;
class PatternDocument;

class ChartView : public QObject
{
    Q_OBJECT
public:
    // Value of the view beyond the design's edge.
    static constexpr TColor32 kOutsideColor = 0xFF7F7F7Fu;
    // Grid lines.
    static constexpr TColor32 kGridColor = 0xFF808080u;
    // Pen widths of back stitches and of the stitches of placed Rhodes stitches.
    static constexpr int kBackStitchPen = 5;
    static constexpr int kRhodesPen = 3;
    // Symbols show from this zoom value on.
    static constexpr int kSymbolsMinZoom = 8;

    explicit ChartView(PatternDocument& document, QObject* parent = nullptr);
    ~ChartView() override;

    // --- state the widget drives ---
    // The drawing area's size; the image becomes one pixel larger each way (at least 1 x 1).
    void setViewportSize(QSize area);
    // The zoom value (pixels per cell across), clamped to the zoom bar's range.
    void setZoom(int value);
    int zoom() const { return m_zoom; }
    void zoomIn();
    void zoomOut();
    // The zoom button's caption and the ticked entry of the zoom menu (-1: none).
    QString zoomCaption() const;
    int zoomIndex() const;
    // First visible column and row, clamped to 0 .. width - 1 and 0 .. height - 1; repaints
    // only when the position changes.
    void setScrollPosition(QPoint firstCell);
    QPoint scrollPosition() const { return m_scroll; }
    int hScrollMaximum() const;
    int vScrollMaximum() const;

    // Grid and symbol layers (the view modes) and the back-stitch layer.
    void setVisibility(bool grid, bool symbols);
    bool gridVisible() const { return m_gridVisible; }
    bool symbolsVisible() const { return m_symbolsVisible; }
    void setGridVisible(bool on) { setVisibility(on, m_symbolsVisible); }
    void setSymbolsVisible(bool on) { setVisibility(m_gridVisible, on); }
    int viewIcon() const { return ViewModes::iconFor(m_gridVisible, m_symbolsVisible); }
    // True while symbols are wanted and the zoom is large enough to show them.
    bool symbolLayerShown() const;
    void setBackStitchesVisible(bool on);
    bool backStitchesVisible() const { return m_backStitchesVisible; }

    // The highlight display: every colour but the draw colour faded to grey. The window turns
    // it on with the highlight tool; a new draw colour redraws it.
    void setHighlightActive(bool on);
    bool highlightActive() const { return m_highlight; }
    // Draws a French knot centred at view pixel `centre` as the chart does, inside `clip`.
    static void paintFrenchKnot(QImage& target, QPoint centre, int cellWidth, TColor32 ink,
                                const QRect& clip);
    // The faded grey of a colour: all components (R + G + B) div 12 + 192.
    static TColor32 fadedColor(ColorKey color);

    // The ghost picture and the tool previews, drawn over everything else (not owned).
    void setGhostOverlay(ChartOverlay* overlay);
    void setPreviewOverlay(ChartOverlay* overlay);
    // The stitch tools' preview lines, drawn over the figure preview (not owned).
    void setStitchPreviewOverlay(ChartOverlay* overlay);
    // The selection frame and the floating block, drawn over everything (not owned).
    void setSelectionOverlay(ChartOverlay* overlay);

    // The window's command states for no design and for an open design. ResetGUI also sets
    // the flags (scroll 0, symbols off, grid on, highlight off) without repainting.
    CommandStates ResetGUI();
    CommandStates UpdateGUI(const GuiContext& context);

    // --- output ---
    const QImage& image() const { return m_image; }
    ChartGeometry geometry() const;
    QSize cellSize() const { return m_cell; }

    // Repaints everything, or only a rectangle of view pixels; returns what was repainted
    // (clipped to the image) and reports it through `repainted`.
    QRect repaintAll();
    QRect repaintRect(const QRect& viewRect);
    // Repaints cells (cell units) or quarters (quarter units).
    QRect repaintCells(const QRect& cells);
    QRect repaintQuarters(const QRect& quarters);
    // Forgets the symbol of every colour (after a colour's character changed) and repaints.
    void symbolsChanged();

signals:
    // A rectangle of the image was repainted.
    void repainted(const QRect& viewRect);

private:
    void updateCellSize();
    void designReset();
    void drawCells(const QRect& r, const ChartGeometry& g);
    void drawFrenchKnots(const QRect& r, const ChartGeometry& g);
    void drawBackStitches(const QRect& r, const ChartGeometry& g);
    void drawQuarters(const QRect& r, const ChartGeometry& g);
    void drawGrid(const QRect& r, const ChartGeometry& g);
    void drawSymbols(const QRect& r, const ChartGeometry& g);
    // A raster value as shown: the background and thread colours opaque, faded while
    // highlighting.
    TColor32 shown(TColor32 raw) const;

    PatternDocument& m_doc;
    QImage m_image;
    int m_zoom = 8;
    QSize m_cell{8, 8};
    QPoint m_scroll;
    bool m_gridVisible = true;
    bool m_symbolsVisible = false;
    bool m_backStitchesVisible = true;
    bool m_highlight = false;
    ChartOverlay* m_ghost = nullptr;
    ChartOverlay* m_preview = nullptr;
    ChartOverlay* m_stitchPreview = nullptr;
    ChartOverlay* m_selection = nullptr;
    SymbolStamps m_stamps;
};
