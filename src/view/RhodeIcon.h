#pragma once
// The 36 x 36 icon of a Rhodes definition for the Rhodes menu: its cell grid in grey and its
// stitches in orange, scaled so that the definition's largest end point reaches the far edge.

#include "core/StitchTypes.h"

#include <QImage>
#include <QSize>

namespace RhodeIcon {

constexpr int kSize = 36;
// Pixels per grid unit across and down: 35 div the largest x and y of the end points (each
// taken as at least 1).
QSize scale(const TRhode& definition);
// The icon on a magenta background (the transparent colour of the tool images).
QImage draw(const TRhode& definition);

} // namespace RhodeIcon
