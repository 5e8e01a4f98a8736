#include "HelpTopics.h"

namespace {

const HelpTopic kTopics[] = {
    {1400, "Insert text",
     "Type a line of text and choose its font, size, style and colour. Every pixel of the text "
     "becomes one cell; the preview shows the cells at the zoom of the chart and the size line "
     "gives the text's width and height in cells. With Auto enlarge main picture set, a design "
     "smaller than the text grows to fit it. OK puts the text on the chart as a floating block: "
     "move it with the frame, rotate or mirror it, and merge it into the design."},
    {5100, "Step 1: choose the part of the picture",
     "Drag the yellow frame or its edges and corners over the part of the picture that becomes "
     "the pattern. The zoom bar makes the picture smaller or larger on the screen; it does not "
     "change the picture. Press Next to go on."},
    {5200, "Step 2: brightness and contrast",
     "Move the Brightness and Contrast bars until the picture looks right. Reset to default "
     "gives brightness 0 and contrast 100, the picture as it was chosen."},
    {5300, "Step 3: size of the pattern",
     "Enter the largest width or height of the pattern in cells. The other side keeps the "
     "proportion of the picture. The new size is shown after two seconds or when you press "
     "Set size."},
    {5400, "Step 4: palette, symbols and colours",
     "Choose the palette whose colours the pattern uses and the symbols of its chart. Colors "
     "count keeps only the colours that cover most of the picture. Dithering mixes the kept "
     "colours to show the ones that were left out; the level bar sets how strongly. Finish "
     "makes the pattern; Create empty template makes an empty pattern of this size with the "
     "picture behind it."},
};

} // namespace

const HelpTopic* findHelpTopic(int context)
{
    for (const HelpTopic& t : kTopics)
        if (t.context == context)
            return &t;
    return nullptr;
}
