#pragma once
// The values of the options dialog: what it shows, its "Default" values, and how OK puts them
// back into the settings object (from where WriteGeneralSettings stores them). Kept apart from
// the dialog so that every value can be set, stored and read back without a window.

#include <QList>
#include <QString>
#include <QStringList>
#include <array>

class TStitch;

// The whole-number options, in the order the dialog stores them.
enum class OptionNumber {
    ThickLines,
    MediumLines,
    ThinLines,
    BackstitchLines,
    SymbolSize,
    BorderTop,
    BorderLeft,
    BorderRight,
    BorderBottom,
    LabelGridHor,
    LabelGridVert,
    LabelBorderTop,
    LabelBorderBottom,
    LabelBorderLeft,
    LabelBorderRight,
    LabelWidth,
    LabelHeight,
    PrintPosTop,
    PrintPosLeft,
    BagSize,
    LegendDistance,
    Count
};

struct OptionNumberDef
{
    OptionNumber id;
    const char* control; // object name of the dialog's field
    int minimum;
    int maximum;
    qint32& (*field)(TStitch&); // the field of the settings object it edits
};

// Every whole-number option with its field and range, in OptionNumber order.
const QList<OptionNumberDef>& optionNumbers();
const OptionNumberDef& optionNumber(OptionNumber id);

struct OptionsValues
{
    QString palette;
    QString characters;
    QString libraryPath;
    QString defaultTitle;
    // As shown: the translation of the stored subtitle.
    QString subTitle;
    // Rich text (HTML), as the information page prints it.
    QString bookInfo;
    bool checkForUpdates = true;
    bool allowQuarterOverCross = false;
    std::array<qint32, size_t(OptionNumber::Count)> numbers{};

    // The names the two drop-down lists offer, in catalogue order.
    QStringList paletteNames;
    QStringList characterNames;

    qint32& number(OptionNumber id) { return numbers[size_t(id)]; }
    qint32 number(OptionNumber id) const { return numbers[size_t(id)]; }

    // The current settings, each number kept within its field's range.
    static OptionsValues from(TStitch& stitch);
    // "Default": the fixed values of the borders, lines, symbol size and position, bags, key
    // distance, the two switches and the subtitle; the labels, titles, palette, symbol set
    // and library path stay.
    void setDefaults(TStitch& stitch);
    // OK: the values into the settings object. A subtitle shown as the translation of the
    // stored one (or of the product's own) keeps its untranslated key, so that the printed
    // subtitle follows the language. An open design without a title gets the default title;
    // the answer is true when that happened (the design is then unsaved).
    bool applyTo(TStitch& stitch) const;

    bool operator==(const OptionsValues&) const = default;
};
