// Reading and writing the general settings of TStitch: every value of the settings key, its
// default, and whether it is written back when the application closes.
#include "Product.h"
#include "QuillError.h"
#include "SettingsStore.h"
#include "TStitch.h"

#include <QDir>

namespace {

const QString kNotInstalled = QStringLiteral("Software was not installed properly. Please reinstall.");

// A string without a default: empty when absent, nothing written.
QString readText(const SettingsStore& store, const QString& name)
{
    return store.readString(name).value_or(QString());
}

// A value with a default: read when present, otherwise the default is taken and written.
// A value that does not hold its type counts as absent and is replaced by the default.
QString readText(SettingsStore& store, const QString& name, const QString& fallback)
{
    if (const std::optional<QString> v = store.readString(name))
        return *v;
    store.writeString(name, fallback);
    return fallback;
}

qint32 readNumber(SettingsStore& store, const QString& name, qint32 fallback)
{
    if (const std::optional<qint32> v = store.readInteger(name))
        return *v;
    store.writeInteger(name, fallback);
    return fallback;
}

bool readFlag(SettingsStore& store, const QString& name, bool fallback)
{
    if (const std::optional<bool> v = store.readBool(name))
        return *v;
    store.writeBool(name, fallback);
    return fallback;
}

} // namespace

void TStitch::ReadGeneralSettings(SettingsStore& store)
{
    if (!store.keyExists())
        throw QuillError(kNotInstalled);

    // In the order of the settings table.
    PathData = readText(store, QStringLiteral("AppDataPath"));
    const std::optional<qint32> colors = store.readInteger(QStringLiteral("maxColors"));
    if (!colors)
        throw QuillError(QStringLiteral(
            "The setting \"maxColors\" is missing from the settings. Please reinstall."));
    maxColors = *colors;
    CharactersPath = readText(store, QStringLiteral("CharactersPath"));
    PalettesPath = readText(store, QStringLiteral("PalettesPath"));
    FontsPath = readText(store, QStringLiteral("FontsPath"));
    HelpPath = readText(store, QStringLiteral("HelpPath"));
    LanguagesPath = readText(store, QStringLiteral("LanguagesPath"));
    libraryPath = readText(store, QStringLiteral("LibraryPath"));
    defaultCharacters = readText(store, QStringLiteral("DefaultCharacterMap"));
    defaultPalette = readText(store, QStringLiteral("DefaultColorTable"));
    DefaultTitle = readText(store, QStringLiteral("DefaultTitle"), QString());
    SubTitle = readText(store, QStringLiteral("SubTitle"), Product::kDefaultSubtitle);
    LegendDistance = readNumber(store, QStringLiteral("LegendDistance"), 5);
    LabelGridHor = readNumber(store, QStringLiteral("LabelGridHor"), 10);
    LabelGridVert = readNumber(store, QStringLiteral("LabelGridVert"), 27);
    LabelBorderLeft = readNumber(store, QStringLiteral("LabelBorderLeft"), 40);
    LabelBorderTop = readNumber(store, QStringLiteral("LabelBorderTop"), 135);
    LabelBorderRight = readNumber(store, QStringLiteral("LabelBorderRight"), 40);
    LabelBorderBottom = readNumber(store, QStringLiteral("LabelBorderBottom"), 135);
    LabelWidth = readNumber(store, QStringLiteral("LabelWidth"), 178);
    LabelHeight = readNumber(store, QStringLiteral("LabelHeight"), 100);
    DefaultLanguage = readText(store, QStringLiteral("DefaultLanguage"));
    PicturesPath = readText(store, QStringLiteral("PicturesPath"));
    PatternsPath = readText(store, QStringLiteral("PatternsPath"));
    RhodesPath = readText(store, QStringLiteral("RhodesPath"));
    SavePath = readText(store, QStringLiteral("SavePath"));
    PrintPosLeft = readNumber(store, QStringLiteral("PrintPosLeft"), 0);
    PrintPosTop = readNumber(store, QStringLiteral("PrintPosTop"), 0);
    checkForUpdates = readFlag(store, QStringLiteral("CheckForUpdates"), true);

    // The monthly update check is due once its date has passed; a first run waits a day.
    const QDateTime now = QDateTime::currentDateTime();
    const std::optional<QDateTime> due = store.readDateTime(QStringLiteral("CheckForUpdatesDate"));
    updateCheckDue = due && now > *due && checkForUpdates;
    if (!due)
        store.writeDateTime(QStringLiteral("CheckForUpdatesDate"), now.addSecs(24 * 60 * 60));

    thickLines = readNumber(store, QStringLiteral("ThickLines"), 50);
    mediumLines = readNumber(store, QStringLiteral("MediumLines"), 20);
    thinLines = readNumber(store, QStringLiteral("ThinLines"), 1);
    backstitchLines = readNumber(store, QStringLiteral("backStitchLines"), 60);
    symbolSize = readNumber(store, QStringLiteral("SymbolSize"), 100);
    print.BorderLeft = readNumber(store, QStringLiteral("BorderLeft"), 15);
    print.BorderTop = readNumber(store, QStringLiteral("BorderTop"), 15);
    print.BorderRight = readNumber(store, QStringLiteral("BorderRight"), 10);
    print.BorderBottom = readNumber(store, QStringLiteral("BorderBottom"), 15);
    AllowQuarterOverCross = readFlag(store, QStringLiteral("AllowQuarterOverCross"), false);
    BookInfo = readText(store, QStringLiteral("BookInfo"), QString());
    BagSize = readNumber(store, QStringLiteral("BagSize"), 200);
    print.JPEGWidth = readNumber(store, QStringLiteral("JPEGWidth"), 900);
    print.JPEGHeight = readNumber(store, QStringLiteral("JPEGHeight"), 800);
    print.JPEGGrid = readNumber(store, QStringLiteral("JPEGGrid"), 20);
    print.JPEGQuality = readNumber(store, QStringLiteral("JPEGQuality"), 70);
    InstallPath = readText(store, QStringLiteral("InstallPath"), InstallPath);
    // The palette pop-up's view, kept here so that it is written with the others.
    PaletteView = readNumber(store, QStringLiteral("PaletteView"), 0);

    RecentFiles = store.subkeyStrings(QStringLiteral("LastFiles"));
    InstalledLanguages = store.subkeyStrings(QStringLiteral("Languages"));

    // The defaults just written complete the store; a store that cannot be written (read-only
    // file) still gives its values, so a failure here does not stop the start.
    store.sync();
}

void TStitch::WriteGeneralSettings(SettingsStore& store) const
{
    store.writeString(QStringLiteral("DefaultCharacterMap"), defaultCharacters);
    store.writeString(QStringLiteral("DefaultColorTable"), defaultPalette);
    store.writeString(QStringLiteral("DefaultTitle"), DefaultTitle);
    store.writeString(QStringLiteral("SubTitle"), SubTitle);
    store.writeString(QStringLiteral("LibraryPath"), libraryPath);
    store.writeString(QStringLiteral("PicturesPath"), PicturesPath);
    store.writeString(QStringLiteral("PatternsPath"), PatternsPath);
    store.writeString(QStringLiteral("SavePath"), SavePath);
    store.writeString(QStringLiteral("DefaultLanguage"), DefaultLanguage);
    store.writeInteger(QStringLiteral("ThickLines"), thickLines);
    store.writeInteger(QStringLiteral("mediumLines"), mediumLines);
    store.writeInteger(QStringLiteral("ThinLines"), thinLines);
    store.writeInteger(QStringLiteral("BackStitchLines"), backstitchLines);
    store.writeInteger(QStringLiteral("SymbolSize"), symbolSize);
    store.writeInteger(QStringLiteral("BorderLeft"), print.BorderLeft);
    store.writeInteger(QStringLiteral("BorderTop"), print.BorderTop);
    store.writeInteger(QStringLiteral("BorderRight"), print.BorderRight);
    store.writeInteger(QStringLiteral("BorderBottom"), print.BorderBottom);
    store.writeInteger(QStringLiteral("LabelGridHor"), LabelGridHor);
    store.writeInteger(QStringLiteral("LabelGridVert"), LabelGridVert);
    store.writeInteger(QStringLiteral("LabelBorderLeft"), LabelBorderLeft);
    store.writeInteger(QStringLiteral("LabelBorderTop"), LabelBorderTop);
    store.writeInteger(QStringLiteral("LabelBorderRight"), LabelBorderRight);
    store.writeInteger(QStringLiteral("LabelBorderBottom"), LabelBorderBottom);
    store.writeInteger(QStringLiteral("LabelWidth"), LabelWidth);
    store.writeInteger(QStringLiteral("LabelHeight"), LabelHeight);
    store.writeBool(QStringLiteral("AllowQuarterOverCross"), AllowQuarterOverCross);
    store.writeBool(QStringLiteral("CheckForUpdates"), checkForUpdates);
    store.writeString(QStringLiteral("BookInfo"), BookInfo);
    store.writeInteger(QStringLiteral("PrintPosLeft"), PrintPosLeft);
    store.writeInteger(QStringLiteral("PrintPosTop"), PrintPosTop);
    store.writeInteger(QStringLiteral("BagSize"), BagSize);
    store.writeInteger(QStringLiteral("LegendDistance"), LegendDistance);
    store.writeInteger(QStringLiteral("PaletteView"), PaletteView);

    // The subkey holds exactly the current list: entries of a longer earlier list must not
    // come back at the next start.
    store.replaceSubkeyList(QStringLiteral("LastFiles"), RecentFiles);

    if (!store.sync()) {
        // The store's reason names its file: the file becomes the argument, so that the
        // reason is a key of the language files like every other message.
        QString reason = store.errorText();
        reason.replace(store.fileName(), QStringLiteral("%1"));
        throw QuillError(QStringLiteral("The settings could not be saved.\n") + reason,
                         {QDir::toNativeSeparators(store.fileName())});
    }
}
