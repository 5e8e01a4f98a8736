#pragma once
// The conversion both picture benchmarks time (the Google Benchmark one and the side-by-side
// script's program): a photo to a 300-cell design of 40 DMC colours with Floyd-Steinberg.

#include "convert/Dithering.h"
#include "convert/PictureConversion.h"

inline ConversionSettings benchConversionSettings()
{
    ConversionSettings settings;
    settings.palette = QStringLiteral("DMC");
    settings.size = 300;
    settings.colors = 40;
    settings.dither = DitherMethod::FloydSteinberg;
    settings.level = 100;
    return settings;
}
