#pragma once
// Turning a picture into a new design: loading, crop, brightness and contrast, size, colour
// matching and reduction, dithering, and building the design as the conversion wizard's
// "Finish" does. The wizard runs the stages one by one as the user moves through its steps;
// convertPicture runs them all for the command line and the benchmarks.

#include "ColorReduction.h"
#include "Dithering.h"
#include "KeyRaster.h"

#include "files/GhostPicture.h"

#include <QImage>
#include <QRectF>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class PatternDocument;

// Pictures of more pixels than this are refused before they are decoded.
inline constexpr qint64 kMaxPicturePixels = 50000000;

// Reads a PNG, JPEG, BMP, TIFF or ICO picture as Format_ARGB32. Throws QuillError, naming the
// file, for an unreadable picture, an unsupported format (WMF, EMF) and a picture of more than
// 50,000,000 pixels ("Out of Memory. Picture is very big!").
QImage loadPicture(const QString& path);

// The crop of step 2: each coordinate of the selection rounded (halves to even).
QRect roundedSelection(const QRectF& selection);
// The crop copied out of the source (full resolution).
QImage cropPicture(const QImage& source, const QRectF& selection);

// x' = clamp(R(x c / 100) + (100 - c) + b, 0, 255) for every channel value x.
std::array<std::uint8_t, 256> brightnessContrastTable(int brightness, int contrast);
// The picture with the table applied to red, green and blue; alpha unchanged.
QImage adjustBrightnessContrast(const QImage& picture, int brightness, int contrast);

// The design size for a picture and a box: the longer side gets the box side, the shorter one
// keeps the proportion (rounded, halves to even).
QRect FitSize(const QRect& source, const QRect& box);
QSize fitSize(const QSize& picture, int maxSide);

struct ConversionSettings
{
    int size = 100;           // "Max width/height": 2 up to the larger side of the crop
    QString palette;          // catalogue name; empty: Stitch.defaultPalette
    QString characters;       // character-set name; empty: Stitch.defaultCharacters
    int colors = 500;         // "Colors count"
    DitherMethod dither = DitherMethod::None;
    int level = 0;            // "Dithering Level" position, 0..100
    int brightness = 0;       // -255..255
    int contrast = 100;       // 0..255
    QRectF crop;              // in source pixels; null: the whole picture
    bool emptyDesign = false; // "Create empty template": cells left empty
    QString sourcePath;       // the picture's file, which names the design
};

struct ConversionResult
{
    QImage adjusted;  // crop after brightness and contrast: the ghost picture
    QImage resized;   // at the design size
    KeyRaster final;  // in palette colours
    ColorTable reduced;
    int maxAvailableColors = 0;
    int colorsCount = 0;
};

// The colour work of step 4 on a resized picture, as the wizard runs it when a palette is
// chosen: match, count, limit, then plain or dithered painting. Returns false when cancelled.
bool mapPictureColors(const KeyRaster& resized, const ColorTable& palette, int symbolCount,
                      const ConversionSettings& settings, int maxColors, QList<double>& deltas,
                      PictureColorMapper& mapper, KeyRaster& final,
                      const DitherProgress& progress = {});

// Replaces the design in `doc` by the converted picture as "Finish" does: the kept colours
// first, then the rest of `palette` (the table named `paletteName`), in the colour table; a
// new glyph cache over the character set; one cell per pixel of `final` (all empty when
// `empty`); empty quarters and stitches; fileMode fmConvert, unsaved; the design named after
// `sourcePath`; full recount. Throws QuillError (from CreateNewTemplate) only when the memory
// cannot hold the design, before `doc` is changed.
void buildConvertedDesign(PatternDocument& doc, const QString& paletteName, const ColorTable& palette,
                          const QString& charactersName, const ColorTable& reduced,
                          const KeyRaster& final, bool empty, const QString& sourcePath);

// The longest side of the ghost picture a conversion leaves.
inline constexpr int kMaxGhostSide = 1000;
// The size of that ghost for an adjusted picture of `adjusted`: the same size when neither
// side is longer than 1000 pixels (the ghost is then the adjusted picture itself), else
// reduced so that the longer side is 1000.
QSize conversionGhostSize(QSize adjusted);

// Runs every stage on `source` and builds the design. Throws QuillError for settings that
// cannot work (unknown palette or character set, an empty palette, an empty crop); returns
// false when the progress callback cancelled, leaving `doc` untouched. `result` receives the
// pictures and tables (the adjusted picture is the design's ghost picture).
bool convertPicture(const QImage& source, const ConversionSettings& settings, PatternDocument& doc,
                    ConversionResult* result = nullptr, const DitherProgress& progress = {});

// The conversion of a picture file as the command line runs it: the same design as
// loadPicture and convertPicture give, and `ghost` as GhostOverlay::ghostFromAdjusted makes it
// from the adjusted picture. The rows are cropped, adjusted and resampled to the design size
// and to the ghost's size as they are read (a JPEG decoded band by band), so no full-size
// copy of the picture is made. `ghostReady`, when given, receives the ghost picture as soon as
// it exists, before the colour work (to write it meanwhile). Throws QuillError as loadPicture
// and convertPicture do; returns false when `progress` cancelled, leaving `doc` untouched.
bool convertPictureFile(const QString& path, const ConversionSettings& settings, PatternDocument& doc,
                        GhostPicture& ghost,
                        const std::function<void(const GhostPicture&)>& ghostReady = {},
                        const DitherProgress& progress = {});
