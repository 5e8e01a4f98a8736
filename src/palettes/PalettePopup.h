#pragma once
// The logic of the palette pop-up: the snapshot of the design colour table it shows, the grid
// layout (which colour goes in which cell), what each cell shows in each of the five text
// views, the choice of a colour, and the fades as a small state machine that the window's
// timer drives.

#include "core/ColorTypes.h"
#include "core/StitchTypes.h"

#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>

class SettingsStore;
class TStitch;

// The text shown in the swatches: the items of ComboPaletteView, by index.
enum TPaletteView { pvNone = 0, pvColorNumber = 1, pvUsage = 2, pvColorName = 3, pvSymbol = 4 };

// What one grid cell shows.
struct PaletteCell
{
    enum Kind { Empty, Swatch };
    enum TextFont { NoText, NumberFont, NameFont, SymbolFont };

    Kind kind = Empty;       // Empty: past the end of the list (hatched)
    ColorKey color = 0;      // the swatch colour
    TextFont font = NoText;  // how the text is drawn
    QString text;            // the number, count or name; the symbol character for SymbolFont
    bool whiteInk = false;   // text colour: white on dark colours, black on light ones

    bool operator==(const PaletteCell&) const = default;
};

class PalettePopup
{
public:
    static constexpr int kColumnWidth = 64;
    static constexpr int kRowHeight = 24;
    // Grid width kept free of columns for the scroll bar and the frame.
    static constexpr int kGridReserve = 26;
    // Text height in a cell: the row height less this margin.
    static constexpr int kTextMargin = 6;

    explicit PalettePopup(TStitch& stitch);
    // The settings store the view is written to when it changes (none: only kept in `stitch`).
    void setSettings(SettingsStore* store) { m_store = store; }

    // The untranslated items of the view list, index 0 to 4.
    static QStringList viewItems();

    // Creation: takes the view from the settings; a value that is not a view index is replaced
    // by 0 in the settings.
    void FormCreate();

    // Showing: refills stitch.colorsList from the design colour table (colour key, name and
    // palette order of every entry), sorted by palette order.
    void takeSnapshot();

    // Lays the grid out for a grid of `gridWidth` pixels: as many columns as fit (at least one),
    // and the rows the colours of the design colour table need.
    void layout(int gridWidth);
    int columns() const { return m_columns; }
    int rows() const { return m_rows; }

    // The list entry of cell (column, row): the entries fill the grid column by column. -1 past
    // the end of the list.
    int entryIndex(int column, int row) const;
    // What the cell shows in the current view.
    PaletteCell cell(int column, int row) const;

    int view() const { return m_view; }
    // Changing the view: kept and written to the settings at once (so that it survives a
    // start that does not end by closing the window). An index outside 0..4 is ignored.
    void setView(int index);

    // Clicking a cell: a cell with an entry makes its colour the draw colour and returns true;
    // a cell past the end does nothing and returns false.
    bool selectCell(int column, int row);

    // The font of the "ColorName" view: the height starts at `startHeight` and goes down one
    // pixel at a time until `measure` (text width at a pixel height) is at most `maxWidth`;
    // never below one pixel.
    static int fitTextHeight(const QString& text, int startHeight, int maxWidth,
                             const std::function<int(int pixelHeight)>& measure);
    // The font of a view at a pixel height (Arial for numbers and counts, Tahoma for names).
    static QFont textFont(PaletteCell::TextFont font, int pixelHeight);

private:
    TStitch& m_stitch;
    SettingsStore* m_store = nullptr;
    int m_view = pvNone;
    int m_columns = 1;
    int m_rows = 0;
};

// The fades of the pop-up window: alpha rises by 10 per tick from 10 until it reaches 221 or
// more (then it is 255), or falls by 10 per tick until it is 19 or less (then the window closes
// and alpha is reset to 255). The window runs tick() from a timer of kInterval ms while
// running() is true.
class PaletteFade
{
public:
    static constexpr int kInterval = 8;
    static constexpr int kStep = 10;
    static constexpr int kStartAlpha = 10;
    static constexpr int kOpaqueFrom = 221;
    static constexpr int kCloseAt = 19;

    enum State { Idle, FadingIn, FadingOut };
    enum Result { Continue, Shown, Close };

    // Showing: alpha 10, fading in.
    void startIn();
    // Fading out from the current alpha.
    void startOut();
    Result tick();

    State state() const { return m_state; }
    bool running() const { return m_state != Idle; }
    int alpha() const { return m_alpha; }

private:
    State m_state = Idle;
    int m_alpha = 255;
};
