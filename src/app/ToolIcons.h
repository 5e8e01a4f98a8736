#pragma once
// Tool-bar icons: the style's standard icons where it has one, small drawn ones otherwise
// (a bare machine has no desktop icon theme).

#include <QIcon>

class QStyle;

namespace ToolIcons {
enum Kind { New, Open, Save, Print, Undo, Redo, Cut, Copy, Paste, View, RealPreview };
QIcon icon(Kind kind, const QStyle* style);
}
