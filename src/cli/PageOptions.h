#pragma once
// The page options that `layout` and `export` share: which pages, where the key goes, the
// paper or the picture size, parsed from the command line into the print dialog's options,
// and the layout run on them.

#include "print/KeyList.h"
#include "print/PrintTypes.h"
#include "print/TPreview.h"

#include <QList>
#include <QPageSize>
#include <QStringList>
#include <optional>

class PatternDocument;
class TStitch;

struct PageOptions
{
    TPrintOptions options;           // the dialog's start values, changed by the flags
    TPosition position = pSeparate;  // --key
    // Printer pages (without --export): the paper, turned by --landscape, at 300 dpi.
    QPageSize::PageSizeId paper = QPageSize::A4;
    TFormat format = fPortrait;
    int dpi = 300;
    // Export pages: --width, --height (pixels) and --grid (pixels per cell) replace the
    // settings JPEGWidth, JPEGHeight and JPEGGrid. For printer pages --grid is the cell size in
    // hundredths of a millimetre.
    std::optional<int> width, height, grid;
};

// One line per option, for the usage text.
QString pageOptionsUsage();

// Takes the page options out of `args` into `page`; every other argument stays in `rest`, in
// order, for the command's own parsing. False with `error` set on a bad option value.
bool parsePageOptions(const QStringList& args, PageOptions& page, QStringList& rest,
                      QString& error);

// A layout of a design's pages: the key list (in the colour panel's order), the stitch-steps
// list and the page table.
struct PageLayout
{
    QList<TMyColor> keys;
    QList<TStitchListItem> steps;
    TPreview preview;
    bool fitted = true; // false: the key did not fit beside the chart and went to pages of its own
};

// Writes the export-size overrides into the settings and lays the design out.
PageLayout layoutPages(const PageOptions& page, PatternDocument& doc);
