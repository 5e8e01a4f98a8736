#pragma once
// The values of the design-settings dialog ("Pattern settings ...") and their application to
// the open design. Palette, colour reduction, background and size are recorded in the undo
// history as one action each; title, comment, thread lengths and symbol set are plain changes
// of the design. Every change marks the design unsaved.

#include "core/ColorTypes.h"

#include <QString>
#include <QStringList>

class PatternDocument;
class TActions;

struct DesignSettingsValues
{
    static constexpr int kMaxSize = 32767;

    QString palette;
    QString characters;
    QString title;
    QStringList comment; // one entry per line
    // Thread lengths in thousandths: Rnd(len x 1000), Rnd(backlen x 1000), Rnd(baseLen x 1000).
    qint32 len = 0;
    qint32 backLen = 0;
    qint32 baseLen = 0;
    ColorKey background = 0;
    // Colours to keep; the field is disabled (range 0 .. used) below two used colours.
    qint32 colorsCount = 0;
    qint32 colorsMinimum = 0;
    qint32 colorsMaximum = 0;
    bool colorsEnabled = false;
    qint32 width = 0;
    qint32 height = 0;

    // The names the two drop-down lists offer, in catalogue order.
    QStringList paletteNames;
    QStringList characterNames;

    // What the dialog shows for the open design.
    static DesignSettingsValues from(const PatternDocument& doc);

    bool operator==(const DesignSettingsValues&) const = default;
};

// What applying the values did, so that the window can follow.
struct DesignSettingsResult
{
    bool changed = false;        // anything at all (the design is unsaved)
    bool titleChanged = false;   // the caption needs rebuilding
    bool symbolsChanged = false; // the symbol set changed: symbols are drawn anew
    int actions = 0;             // actions recorded in the history
};

// Empty when `chosen` can be applied to `doc`; otherwise the translated message saying why
// not (a size beyond what the design file or the memory allows). Checked before anything
// changes. `available` is the free memory to assume (-1: ask the system).
QString designSettingsProblem(PatternDocument& doc, const DesignSettingsValues& chosen,
                              qint64 available = -1);

// Applies the dialog's values to the design, in this order: title, comment, thread lengths,
// background, symbol set, palette, colour reduction, size; then a full recount when anything
// changed. `shown` is what the dialog showed: a thread length is taken only when its field was
// edited, so that a design's stored lengths survive a visit of the dialog. Throws QuillError
// when the size change fails (the changes before it stay, each in the history).
DesignSettingsResult applyDesignSettings(PatternDocument& doc, TActions& history,
                                         const DesignSettingsValues& shown,
                                         const DesignSettingsValues& chosen,
                                         qint64 available = -1);
