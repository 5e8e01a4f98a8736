#pragma once
// The logic of the Rhodes editor: the list of catalogue definitions, the definition shown on
// the zoomed grid, drawing stitches with two presses and erasing the newest one under the
// pointer, and the New / Edit / Delete / OK / Cancel steps. The dialog is a thin view over it.
// It changes the catalogue in place; definitions that came with the application are
// read-only.

#include "core/StitchTypes.h"

#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>

class RhodesEditor
{
public:
    enum TMode { modNone, modAdd, modEdit };
    enum Tool { toolDraw, toolErase };

    static constexpr TColor32 kGridColor = 0xFF808080u;
    static constexpr TColor32 kStitchColor = 0xFF04D9FBu;  // light blue
    static constexpr TColor32 kPreviewColor = 0xFF008000u; // green
    static constexpr int kStitchPen = 5;
    static constexpr int kMaxCells = 20;

    explicit RhodesEditor(TRhodeList& catalogue);
    ~RhodesEditor();

    // --- state ---
    TMode mode() const { return fMode; }
    Tool tool() const { return m_tool; }
    int cellsX() const { return fcellsX; }
    int cellsY() const { return fCellsY; }
    int zoom() const { return fZoom; }
    QString name() const { return m_name; }
    // The definition on the grid (null when none is shown).
    const TRhode* edited() const { return m_edited; }
    bool startPending() const { return m_pending; }

    // Catalogue positions in list order (sorted by name).
    QList<int> listOrder() const;
    // The catalogue position of the selected row, or -1.
    int selected() const { return m_selected; }

    // --- enabled commands ---
    bool canNew() const { return fMode == modNone; }
    bool canEdit() const;
    bool canDelete() const { return canEdit(); }
    bool editing() const { return fMode != modNone; } // OK, Cancel, Draw, Erase, the edit group

    // --- list ---
    // Shows a catalogue entry (-1: clears the display).
    void select(int position);

    // --- commands ---
    void actAdd();
    void actEdit();
    // Removes the selected definition that the user made. Returns its former position, or -1.
    int actDelete();
    // Ends adding or editing; returns the catalogue position of the edited definition.
    int actOK();
    void actCancel();
    void setTool(Tool tool);
    // The name field; typed letters become upper case.
    void setName(const QString& text);
    // Grid columns and rows (1 .. kMaxCells, never smaller than the stitches drawn need);
    // returns the value kept.
    int setCellsX(int n);
    int setCellsY(int n);
    // Pixels per cell, at least 1.
    void setZoom(int z);
    void zoomIn() { setZoom(fZoom + 1); }
    void zoomOut() { setZoom(fZoom - 1); }

    // --- surface ---
    QSize surfaceSize() const;
    // The grid with the stitches of the shown definition.
    const QImage& surface() const { return m_surface; }
    // The preview line of a pending stitch (transparent where 0).
    const QImage& overlay() const { return m_overlay; }
    // The nearest grid point of a surface pixel (halves to the even integer), inside the grid.
    QPoint gridPointAt(QPoint px) const;
    // Surface pixel of a grid point.
    QPoint pixelOf(QPoint gridPoint) const;
    void mousePress(QPoint px);
    void mouseMove(QPoint px);

private:
    void setMode(TMode m);
    void resize();
    void redraw();
    // Smallest columns and rows that hold the shown definition's stitches.
    QSize stitchExtent() const;

    TRhodeList& m_catalogue;
    int fcellsX = 2;
    int fCellsY = 2;
    int fZoom = 50;
    TMode fMode = modNone;
    Tool m_tool = toolDraw;
    TRhode* m_edited = nullptr;
    std::unique_ptr<TRhode> m_new; // the definition being added, until OK
    int m_selected = -1;
    QString m_name;
    bool m_pending = false;
    QPoint m_start;
    QImage m_surface;
    QImage m_overlay;
};
