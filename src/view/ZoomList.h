#pragma once
// The zoom values of the chart view (pixels per cell) and the captions of the zoom button.

#include <QString>
#include <QStringList>
#include <array>

namespace ZoomList {

// The entries of the zoom list, smallest first.
inline constexpr std::array<int, 15> kValues{2, 3, 4, 5, 6, 7, 8, 10, 12, 14, 16, 18, 20, 28, 40};
// The zoom selected at start-up.
inline constexpr int kStartValue = 8;
// The zoom bar's range: any value in it is a valid zoom.
inline constexpr int kMinimum = 2;
inline constexpr int kMaximum = 60;

// Position of `value` in the list, or -1 when the list does not hold it.
int indexOf(int value);
// The zoom button's caption: value / 4 x 100, rounded, followed by "%" ("200%" for 8).
QString caption(int value);
// The captions of the zoom menu, one per list entry.
QStringList menuCaptions();
// "Zoom in" and "Zoom out": the next list entry above or below `value`; at the ends the
// value stays as it is.
int zoomIn(int value);
int zoomOut(int value);

} // namespace ZoomList
