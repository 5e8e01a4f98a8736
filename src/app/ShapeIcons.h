#pragma once
// Tool-bar icons of the shape, border and outline tools and of the fill-mode drop-down, drawn
// like the other tool icons: a few cells of a chart with the figure in the draw colour.

#include <QIcon>

namespace ShapeIcons {
enum Kind {
    Line, Rectangle, FilledRectangle, Circle, FilledCircle,
    InlineBorder, OutlineBorder, CornerRound, CornerSharp, Outline,
    // the fill-mode button while no figure tool is chosen
    FillModeOff
};
QIcon icon(Kind kind);
}
