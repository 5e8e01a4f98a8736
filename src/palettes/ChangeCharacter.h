#pragma once
// The change-character dialog without its window: the 25 x 25 grid over the design's symbol
// string, which symbols are in use, the rule that enables "OK", and the change it applies to
// the draw colour of the design.

#include <QChar>
#include <QString>

class PatternDocument;
class TStitch;

class ChangeCharacter
{
public:
    static constexpr int kColumns = 25;
    static constexpr int kRows = 25;
    static constexpr int kCellSize = 23;   // pixels per cell
    static constexpr int kFontPixels = 19; // symbol size in the grid

    explicit ChangeCharacter(const TStitch& stitch) : m_stitch(stitch) {}

    // Position of the design's symbol string that cell (column, row) stands for.
    static int positionOf(int column, int row) { return row * kColumns + column; }
    // The symbol of a cell, or a null QChar for a cell past the end of the string.
    QChar symbolAt(int column, int row) const;
    // True when the cell's symbol belongs to a used colour.
    bool isUsed(int column, int row) const;

    // The selected cell (0, 0 when the dialog is shown).
    int selectedColumn() const { return m_column; }
    int selectedRow() const { return m_row; }
    void select(int column, int row);
    int selectedPosition() const { return positionOf(m_column, m_row); }
    // "OK" is enabled: the selected position lies in the string and its symbol is not in use.
    bool canAccept() const;

    // "OK": gives the draw colour the selected symbol. False when "OK" is not allowed or the
    // draw colour is not a used colour of the design; the document is then unchanged.
    bool accept(PatternDocument& doc) const;

private:
    const TStitch& m_stitch;
    int m_column = 0;
    int m_row = 0;
};

// True when `position` of the design's symbol string may be given to a colour: inside the
// string and not the symbol of a used colour.
bool symbolPositionFree(const TStitch& stitch, int position);

// Gives the draw colour the symbol at `position`: its table entry, the symbol positions in
// use, its glyph in every size and its entry in the colour list follow, and the document
// announces the changed symbols. Not recorded in the undo history, but an unsaved change: the
// symbols are part of the design file.
// False (and nothing changed) when the position is not free or the draw colour is not used.
bool changeDrawColorSymbol(PatternDocument& doc, int position);
