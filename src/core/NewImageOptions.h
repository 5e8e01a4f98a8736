#pragma once
// The values of the New Image dialog and their defaults, apart from the dialog so that the
// New command's choices can be built and checked without a window.

#include <QString>
#include <QStringList>

class TStitch;

struct NewImageOptions
{
    static constexpr int kMinSize = 1;
    static constexpr int kMaxSize = 32767;

    int width = 50;
    int height = 50;
    QString palette;
    QString characters;
    bool knitting = false;

    // The names the two drop-down lists offer, in catalogue order.
    QStringList paletteNames;
    QStringList characterNames;

    // 50 x 50, the default palette and character set preselected when the catalogue has them
    // (else its first name), and the current knitting mode.
    static NewImageOptions defaultsFrom(const TStitch& stitch, bool knittingMode);

    // Empty when the values can make a design; otherwise what is wrong (untranslated text).
    QString validate() const;
};
