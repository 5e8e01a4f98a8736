#pragma once
// The view modes of the "Grid and symbols" menu and the enabled state of the window's commands
// for no design (ResetGUI) and an open design (UpdateGUI). The window applies these values to
// its actions and controls; nothing here touches a widget.

#include <QString>
#include <array>

struct ViewModeEntry
{
    const char* menuName; // the menu entry's object name
    const char* caption;  // shown text (translated by the window)
    bool grid;
    bool symbols;
};

namespace ViewModes {
// The four entries of the menu, in menu order.
inline constexpr std::array<ViewModeEntry, 4> kEntries{{
    {"MenuNone", "None", false, false},
    {"MenuGrid", "Grid", true, false},
    {"MenuSymbols", "Symbols", false, true},
    {"MenuGridSymbols", "Grid and symbols", true, true},
}};
// The icon of the menu entry "Grid and symbols" and the view tool button for a mode:
// 9 for neither, 42 for symbols only, 43 for grid only, 10 for both.
int iconFor(bool grid, bool symbols);
// Menu position of the entry for a mode.
int entryFor(bool grid, bool symbols);
} // namespace ViewModes

// What the window needs to know to enable its commands.
struct GuiContext
{
    bool hasSelection = false;  // the selection tool is active (cut, copy)
    bool hasFloating = false;   // a floating block lies over the selection (merge, rotate, mirror)
    bool hasCopied = false;     // cells were copied (paste)
    bool knittingMode = false;  // the quarter tool is hidden in knitting mode
    bool openedPicture = false; // a picture is open for conversion ("Wizzard ...")
};

// Enabled state of the window's commands and controls.
struct CommandStates
{
    bool patternSettings = false;
    bool save = false;
    bool print = false;
    bool cut = false;
    bool copy = false;
    bool paste = false;
    bool merge = false;
    bool zoom = false;
    bool tools = false;
    bool quarterTool = false;
    bool rotate = false;
    bool mirror = false;
    bool view = false;
    bool colorRadios = false;
    bool colorGrid = false;
    bool chartImage = false;
    bool scrollBars = false;
    bool wizard = false;

    bool operator==(const CommandStates&) const = default;
};

namespace GuiStates {
// Every command disabled: the state without a design.
CommandStates reset();
// The state with an open design.
CommandStates update(const GuiContext& context);
} // namespace GuiStates
