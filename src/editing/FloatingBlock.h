#pragma once
// The clipboard and the floating block that shows it over the design: Paste lets the block
// float at a top-left cell, where it is moved, mirrored and turned (all on the clipboard, none
// recorded) and merged into the design as one undo action each time. Dropping the block
// keeps the clipboard; Copy, Cut or a ready-made block (text, motif) replace it.

#include "Clipboard.h"

#include <QPoint>
#include <QRect>

class PatternDocument;
class TActions;

class TFloatingBlock
{
public:
    bool hasClipboard() const { return !m_clip.isEmpty(); }
    const TClipboard& clipboard() const { return m_clip; }
    // A new clipboard; the floating block is dropped.
    void setClipboard(TClipboard clip);

    bool floating() const { return m_floating; }
    // The block floats with its top-left at `topLeft`; false without a clipboard.
    bool paste(QPoint topLeft);
    void drop() { m_floating = false; }
    QPoint topLeft() const { return m_topLeft; }
    void moveTo(QPoint topLeft) { m_topLeft = topLeft; }
    // The cells the floating block covers (empty when none floats).
    QRect cells() const;

    // Transforms of the floating block (nothing when none floats); a quarter turn keeps the
    // top-left and swaps width and height.
    void mirrorHorizontal();
    void mirrorVertical();
    void rotateRight();
    void rotateLeft();

    // Lays the floating block into the design at its place as one undo action; only inside
    // the design is written. False when no block floats.
    bool merge(PatternDocument& doc, TActions& history) const;

private:
    TClipboard m_clip;
    bool m_floating = false;
    QPoint m_topLeft;
};
