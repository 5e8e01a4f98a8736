#pragma once
// Tool-bar icons: the style's standard icons where it has one, small drawn ones otherwise
// (a bare machine has no desktop icon theme).

#include <QIcon>

class QStyle;

namespace ToolIcons {
enum Kind {
    New, Open, Save, Print, Undo, Redo, Cut, Copy, Paste, View, RealPreview,
    // drawing tools
    Draw, DrawQuarter, Erase, Pipette, Fill, ReplaceColor, Hand, Highlight, BackStitch,
    ZoomIn, ZoomOut,
    // pen sizes 1 to 4 (images 57 to 60 of the tool image list)
    Pen1, Pen2, Pen3, Pen4,
    // view modes: neither (image 9), symbols only (42), grid only (43), both (10)
    ViewNone, ViewSymbols, ViewGrid, ViewBoth,
    // the shadow button: the ghost over the chart, or in its own window
    ShadowOverlay, ShadowWindow,
    // the selection tool, Merge, and the floating block's turns and mirrors
    Selection, Merge, RotateRight, RotateLeft, MirrorHorz, MirrorVert,
    // the text tool
    Text
};
QIcon icon(Kind kind, const QStyle* style);
// The icon of a pen size 1..4.
QIcon penIcon(int size);
// The icon of a view mode.
QIcon viewIcon(bool grid, bool symbols);
}
