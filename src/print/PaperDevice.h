#pragma once
// A paper page as a printer would report it, with the whole page printable: for the PDF export
// and the command line's default page.

#include "PrintTypes.h"

#include <QPageSize>

// The page `id` turned to `format` (`fAuto` counts as portrait) at `dpi` pixels per inch.
TPageDevice paperDevice(QPageSize::PageSizeId id, TFormat format, int dpi);
