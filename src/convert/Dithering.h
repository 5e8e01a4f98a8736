#pragma once
// Error diffusion against a palette: every pixel takes its nearest palette colour and spreads
// its error over neighbours not yet visited, with one of four published kernels. Only a pixel
// further from its match than 1.2 times the level spreads its error. Rows are scanned from the
// top, every row from the left; the last column and the last row receive no error.

#include "ColorMatch.h"
#include "KeyRaster.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

enum class DitherMethod { None = 0, FloydSteinberg = 1, JarvisJudiceNinke = 2, Stucki = 3, SierraLite = 4 };

// The captions of the dithering list, by method ("none", "Floyd-Steinberg", ...).
QString ditherMethodCaption(DitherMethod m);
// Command-line names: "none", "floyd-steinberg", "jarvis-judice-ninke", "stucki", "sierra-lite".
QString ditherMethodName(DitherMethod m);
QStringList ditherMethodNames();
std::optional<DitherMethod> ditherMethodFromName(const QString& name);

// Progress of a run: called with position 0 first, then every 10 rows; returning false cancels.
using DitherProgress = std::function<bool(int position, int maximum)>;
// trunc((H - 1) / 10) + 1.
int ditherProgressMaximum(int height);

struct ColorErrorTriple
{
    int e0 = 0, e1 = 0, e2 = 0; // red, green, blue
    bool operator==(const ColorErrorTriple&) const = default;
};

// The error of replacing `oldColor` by `newColor`: zero when their distance (dithering order)
// is at most 1.2 x `level`, else the per-channel difference old - new.
ColorErrorTriple ColorError(ColorKey oldColor, ColorKey newColor, double level);
// Each channel plus (error x weight) / divisor truncated toward zero, clamped to 0..255.
ColorKey AddError(ColorKey color, const ColorErrorTriple& error, int weight, int divisor);

// Which search answers the per-pixel questions: the fast one, or the plain scan (reference).
enum class NearestSearchKind { Fast, Plain };

// Dithers `raster` in place against the keys of `palette`. Returns false when cancelled (the
// raster is then half done: run on a copy and keep the previous result). A method of None only
// maps every pixel to its nearest colour, spreading nothing.
bool DitherBitmap(KeyRaster& raster, const ColorTable& palette, DitherMethod method, double level,
                  const DitherProgress& progress = {},
                  NearestSearchKind search = NearestSearchKind::Fast);

// The four methods of the dithering list.
bool FloydSteinberg(KeyRaster& raster, const ColorTable& palette, double level,
                    const DitherProgress& progress = {});
bool JarvisJudiceNinke(KeyRaster& raster, const ColorTable& palette, double level,
                       const DitherProgress& progress = {});
bool Stucki(KeyRaster& raster, const ColorTable& palette, double level,
            const DitherProgress& progress = {});
bool SierraLite(KeyRaster& raster, const ColorTable& palette, double level,
                const DitherProgress& progress = {});
