#pragma once
// The drawing tools behind the chart's mouse handlers: draw, quarter draw, eraser, pipette,
// fill, replace colour, highlight and hand, the back-stitch, French-knot and Rhodes tools, and
// the selection tool with the clipboard and its floating block. Pointer positions arrive as
// pixels of the visible chart; the controller maps them, changes the design through the
// document's operations and records one action per gesture (or per changing click) in the
// history.

#include "CellRecord.h"
#include "DimensionActions.h"
#include "FloatingBlock.h"
#include "PointerMapping.h"
#include "Selection.h"
#include "TMode.h"

#include "core/StitchTypes.h"

#include <QLine>
#include <QList>
#include <QObject>
#include <QPoint>
#include <memory>
#include <vector>

class PatternDocument;
class TActions;

class ToolController : public QObject
{
    Q_OBJECT
public:
    ToolController(PatternDocument& doc, TActions& history, QObject* parent = nullptr);
    ~ToolController() override;

    TMode mode() const { return m_mode; }
    // Switches the tool; nothing happens when `mode` is the current one.
    void Setmode(TMode mode);
    // The highlight toggle: down remembers the mode and highlights, up returns to it.
    void setHighlight(bool down);
    TMode previousMode() const { return m_previousMode; }

    void setMapping(const PointerMapping& m) { m_map = m; }
    const PointerMapping& mapping() const { return m_map; }
    void setBackStitchesVisible(bool visible) { m_backStitchesVisible = visible; }
    bool backStitchesVisible() const { return m_backStitchesVisible; }
    bool gestureActive() const { return m_mouseDown; }

    void mousePress(QPoint px);
    void mouseMove(QPoint px);
    void mouseRelease(QPoint px);

    // --- shape, border and outline tools (ToolControllerShapes.cpp) ---
    static bool isFigureMode(TMode mode);
    TFillMode fillMode() const { return fFillMode; }
    void setFillMode(TFillMode mode) { fFillMode = mode; }
    bool cornerSharp() const { return CornerSharp; }
    void setCornerSharp(bool sharp) { CornerSharp = sharp; }
    bool shapeIdle() const { return ShapeIdle; }
    QPoint shapeStart() const { return ShapeStart; }
    // Escape: ends a polyline and clears the preview.
    void escapeShapes();
    // Escape pressed on the main window: ends what the current tool has pending.
    void escapePressed();
    // --- back stitches, French knots, Rhodes stitches (ToolControllerStitches.cpp) ---
    // No back-stitch start point is waiting for its end.
    bool backStitchIdle() const { return BackStitchIdle; }
    // The back stitch being built; its FromPoint is the pending start point.
    const TBackStitch& pendingBackStitch() const { return PendingBackStitch; }
    // Chain mode: every stitch's end becomes the next one's start.
    bool backStitchesContinue() const { return fBackStitchesContinue; }
    void setBackStitchesContinue(bool on) { fBackStitchesContinue = on; }
    // The catalogue position of the definition the Rhodes tool places (-1: none); the
    // definition itself lives in the catalogue, so later edits of it apply.
    int currentRhode() const { return CurrentRhode; }
    void setCurrentRhode(int position);
    // The current definition, or null when the position is not in the catalogue.
    const TRhode* currentRhodeDefinition() const;
    // Escape: drops a pending back-stitch start point and clears the preview.
    void escapeBackStitch();

    // --- row and column insertion (ToolControllerInsert.cpp) ---
    // The insert dialog was confirmed: the next press inserts `count` empty rows or columns at
    // the pressed cell, and its release returns to the mode active now.
    void beginInsert(TInsertType type, int count);
    TMode insertReturnMode() const { return m_insertReturnMode; }

    // --- selection, clipboard and floating block (ToolControllerSelection.cpp) ---
    const TSelection& selection() const { return m_selection; }
    const TFloatingBlock& floatingBlock() const { return m_block; }
    // Copy and Cut of the selection (in modSelection only): the floating block is dropped and
    // the clipboard replaced by the selection's content; Cut removes it from the design as one
    // action. False outside modSelection.
    bool selectionCopy();
    bool selectionCut();
    // Paste: the clipboard floats at the selection's top-left with the clipboard's size; from
    // another tool the selection tool starts and the block floats at the first visible cell.
    // False without a clipboard.
    bool selectionPaste();
    // A ready-made block (rendered text, a motif) becomes the clipboard and is pasted.
    void startFloatingBlock(TClipboard clip);
    // Merge: the floating block laid into the design (one action); it keeps floating.
    bool selectionMerge();
    // Transforms of the floating block; the frame keeps its top-left and takes the block's
    // new size.
    void mirrorHorizontal();
    void mirrorVertical();
    void rotateRight();
    void rotateLeft();

    // Offsets of the pen footprint for a pen size 1..4 (rounded: no corners from size 3).
    static QList<QPoint> penFootprint(int penSize);
    // Whether the pen-size button is enabled, and with its menu, in a mode.
    static bool penEnabled(TMode mode);
    static bool penMenu(TMode mode);

signals:
    // Status-bar panel 0 text after a pointer move.
    void statusText(const QString& text);
    // The hand tool moves the view by whole cells (the view clamps).
    void scrollBy(QPoint cells);
    // The chart must show (or stop showing) the highlight of the draw colour.
    void highlightChanged(bool on);
    void modeChanged(TMode mode);
    // The figure a shape tool would paint now (design cells inside the design); empty clears
    // the preview.
    void previewChanged(const QList<QPoint>& cells);
    // A change was refused and nothing happened (a size beyond the limits); the message is
    // ready to show.
    void refused(const QString& message);
    // The stitch tools' preview: segments between grid points, drawn `penWidth` pixels wide
    // in the draw colour; an empty list clears it.
    void stitchPreviewChanged(const QList<QLine>& gridLines, int penWidth);
    // The selection frame moved, was resized, appeared or went away.
    void selectionChanged();
    // The floating block's content changed, it appeared or went away, or the clipboard was
    // replaced.
    void floatingBlockChanged();
    // The part of the selection frame under the pointer changed (for the pointer's shape).
    void frameHoverChanged(TDragState part);

private:
    quint32 cellContent(QPoint c) const;
    quint32 quarterContent(QPoint q) const;
    bool insideCells(QPoint c) const;
    bool insideQuarters(QPoint q) const;
    void updateStatus(QPoint px);

    void drawAt(QPoint px, bool press);
    void drawStamp(QPoint centre, bool press);
    void quarterDrawAt(QPoint px, bool press);
    void quarterDrawStamp(QPoint centre, bool press);
    void eraseAt(QPoint px, bool press);
    bool eraseBackStitchAt(QPoint px);
    bool eraseRhodeAt(QPoint px);
    bool eraseFrenchKnotAt(QPoint px);
    void pipetteAt(QPoint px);
    void fillAt(QPoint px);
    void replaceColorAt(QPoint px);
    void finishGesture();

    // Shape tools.
    void shapesModeChanged(TMode old, TMode mode);
    void shapePress(QPoint px);
    void shapeMove(QPoint px);
    QList<QPoint> figureTo(QPoint c) const;
    void recordFigure(const QList<QPoint>& cells);
    void clearPreview();
    void outlineAt(QPoint c);
    // Stitch tools.
    void stitchesModeChanged(TMode old, TMode mode);
    void stitchPress(QPoint px);
    void stitchMove(QPoint px);
    void backStitchPress(QPoint p);
    void frenchKnotPress(QPoint p);
    void rhodePress(QPoint p);
    void drawTempBackStitch(QPoint p);
    void drawTempRhode(QPoint p);
    void clearStitchPreview();
    bool insideGrid(QPoint p) const;

    // Selection.
    void selectionModeChanged(TMode old, TMode mode);
    void selectionPress(QPoint px);
    void selectionMove(QPoint px);
    void selectionHover(QPoint px);
    bool selectionCanBeCopied();
    void transformBlock(void (TFloatingBlock::*transform)(), bool turns);

    // Insertion.
    void insertPress(QPoint px);
    void insertRelease();

    PatternDocument& m_doc;
    TActions& m_history;
    PointerMapping m_map;
    TMode m_mode = modDraw;
    TMode m_previousMode = modDraw;
    bool m_backStitchesVisible = true;
    bool m_mouseDown = false;
    QPoint m_panStart;
    QPoint m_lastEraseCell{-1, -1};
    // The cell (or quarter) of the pen's previous position in the running stroke.
    QPoint m_lastPenPos;

    // Records of the running gesture.
    CellRecord m_cross, m_quarter, m_crossFromQuarter;
    QList<TBackStitch> m_erasedBack;
    std::vector<std::unique_ptr<TRhode>> m_erasedRhodes;
    QList<TFrenchKnot> m_erasedKnots;

    // Shape tools: the first point of the running figure, whether none is pending, the fill
    // of rectangles and circles, the border tools' corners, and whether a preview shows.
    QPoint ShapeStart;
    bool ShapeIdle = true;
    TFillMode fFillMode = fillNone;
    bool CornerSharp = false;
    bool m_previewShown = false;
    QPoint m_previewCell;

    // Insertion: what the dialog chose and the mode to return to after the press.
    TInsertType m_insertType = itRow;
    int m_insertCount = 1;
    TMode m_insertReturnMode = modDraw;
    // Stitch tools: the back stitch being built, whether no start point waits, chain mode,
    // the Rhodes definition placed, and whether a preview shows.
    TBackStitch PendingBackStitch;
    bool BackStitchIdle = true;
    bool fBackStitchesContinue = true;
    int CurrentRhode = -1;
    bool m_stitchPreviewShown = false;
    // Selection tool: the frame, the clipboard with its floating block, whether the running
    // press pans the view (it missed the frame), and the frame part last under the pointer.
    TSelection m_selection;
    TFloatingBlock m_block;
    bool m_selectionPans = false;
    TDragState m_hoverPart = dsNone;
};
