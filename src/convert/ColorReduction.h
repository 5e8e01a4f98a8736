#pragma once
// The colour work of a picture conversion: the picture's colours matched to a palette, the
// palette colours ranked by the pixels they cover, the most used ones kept, and the final
// picture painted in the kept colours, plainly or by dithering.
//
//  PictureColors   every distinct colour of the resized picture: count, nearest palette colour
//  PaletteColors   every colour of the chosen palette: pixels it covers, nearest kept colour
//  ReducedColors   the kept palette colours, most used first
//
// All tables keep insertion order, so every tie breaks the same way on every run.

#include "ColorMatch.h"
#include "Dithering.h"
#include "KeyRaster.h"

#include <QList>

class PictureColorMapper
{
public:
    // Builds PictureColors from the resized picture (row by row, each row from the left).
    void loadUsedColors(const KeyRaster& resized);
    // PaletteColors := a fresh copy of the palette (counts 0, every match the key itself).
    void loadPaletteColors(const ColorTable& palette);
    // Matches every picture colour to the palette, recording the distances of the inexact
    // matches in `deltas` (replaced), counts the pixels per palette colour and sets the
    // dithering level range (0 when every colour matched exactly).
    void matchUsedColors(QList<double>& deltas);
    // The resized picture in its nearest palette colours.
    KeyRaster DrawImageWithPalette(const KeyRaster& resized) const;

    // The smaller of the palette colours the picture uses and the symbols of the character set.
    int computeMaxAvailableColors(int symbolCount);
    // The smallest of the requested count, MaxAvailableColors and the settings limit (a limit
    // of 0 or less means none); at least 1 so that the picture keeps a colour.
    int computeColorsCount(int requested, int maxColors);

    // ReducedColors := the n palette colours covering the most pixels; of equal counts the one
    // met first in the palette wins. Stops early when no used colour is left.
    void selectMostUsedColors(int n);
    // Every palette colour's match := its nearest kept colour.
    void matchReducedPalette();
    // Every pixel := the kept colour nearest to its nearest palette colour.
    KeyRaster DrawImageWithReducedPalette(const KeyRaster& resized) const;
    // Counts the pixels of a raster into a palette table (colours that are not keys count for
    // their nearest key); the raster is not changed.
    static void FillPaletteDic(const KeyRaster& raster, ColorTable& table);

    // The level bar's position (0..100): FLevelDithering := (100 - position) x max / 100.
    void setLevelPosition(int position);
    int levelPosition() const { return m_levelPosition; }

    // Makes the final picture with at most n colours from the resized picture: the plain
    // mapping for DitherMethod::None, else two dithered runs when a reduction is needed (the
    // kept colours are chosen from a picture dithered against the whole palette). Needs
    // loadPaletteColors first, and for the plain mapping loadUsedColors and matchUsedColors
    // on the same picture too (their counts and matches are used as they are). Returns false
    // when the progress callback cancelled; `final`, the tables and the level then keep their
    // previous content.
    bool Dithering(int n, DitherMethod method, const KeyRaster& resized, KeyRaster& final,
                   const DitherProgress& progress = {});

    ColorTable PictureColors;
    ColorTable PaletteColors;
    ColorTable ReducedColors;
    int MaxAvailableColors = 0;
    int ColorsCount = 0;
    double MaxLevelDithering = 0;
    double FLevelDithering = 0;

private:
    ColorTable m_palette; // the palette last loaded, for the fresh copies of a dithered run
    int m_levelPosition = 0;
};
