#pragma once
// The tool modes of the chart editor.

enum TMode {
    modNone,
    modSelection,
    modCursor,
    modDraw,
    modQDraw,
    modErase,
    modPipette,
    modReplaceColor,
    modFill,
    modHighlight,
    modBackStitch,
    modOutline,
    modLine,
    modRectangle,
    modCircle,
    modInlineBorder,
    modOutlineBorder,
    modInsert,
    modFrenchKnot,
    modRhode
};

// Whether the rectangle and circle tools fill their figures.
enum TFillMode { fillFull, fillNone };
