#include "ViewModes.h"

namespace ViewModes {

int iconFor(bool grid, bool symbols)
{
    if (grid && symbols)
        return 10;
    if (grid)
        return 43;
    if (symbols)
        return 42;
    return 9;
}

int entryFor(bool grid, bool symbols)
{
    for (int i = 0; i < int(kEntries.size()); ++i) {
        if (kEntries[i].grid == grid && kEntries[i].symbols == symbols)
            return i;
    }
    return 0;
}

} // namespace ViewModes

namespace GuiStates {

CommandStates reset()
{
    return {};
}

CommandStates update(const GuiContext& c)
{
    CommandStates s;
    s.patternSettings = true;
    s.save = true;
    s.print = true;
    s.cut = c.hasSelection;
    s.copy = c.hasSelection;
    s.merge = c.hasSelection && c.hasFloating;
    s.rotate = s.merge;
    s.mirror = s.merge;
    s.paste = c.hasCopied;
    s.zoom = true;
    s.tools = true;
    s.quarterTool = !c.knittingMode;
    s.view = true;
    s.colorRadios = true;
    s.colorGrid = true;
    s.chartImage = true;
    s.scrollBars = true;
    s.wizard = c.openedPicture;
    return s;
}

} // namespace GuiStates
