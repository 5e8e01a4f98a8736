#pragma once
// The application state object: the design colour table and glyph cache, titles, the
// catalogues of palettes and character sets, the translation table and the user's settings.
// One instance lives for the process (owned by the application, handed to whoever needs it).
// Property setters notify observers (status bar, menus) through signals; the object itself
// holds no widget.

#include "StitchTypes.h"
#include "TCharacters.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

class SettingsStore;

enum TFileMode { fmNew, fmOpen, fmConvert };
enum TBackGroundMode { bgmNormal, bgmCanvas };

// Entry of the CMYK table: the printed value of a thread colour in per cent (0 to 100) and
// the colour it stands for, which printing uses instead of the screen colour.
struct TCMYK
{
    quint8 C = 0, M = 0, Y = 0, K = 0;
    ColorKey RGBColor = 0;
    bool operator==(const TCMYK&) const = default;
};

// Print page borders and picture-export values: settings that are not fields of the design
// state but are read and written with the other settings.
struct TPrintSettings
{
    qint32 BorderLeft = 15, BorderTop = 15, BorderRight = 10, BorderBottom = 15;
    qint32 JPEGWidth = 900, JPEGHeight = 800, JPEGGrid = 20, JPEGQuality = 70;
};

class TStitch : public QObject
{
    Q_OBJECT
public:
    explicit TStitch(QObject* parent = nullptr);
    ~TStitch() override;

    // --- properties with side effects ---
    bool fileSaved() const { return ffilesaved; }
    void setFileSaved(bool saved);
    QString filename() const { return ffilename; }
    void setFilename(const QString& name);
    qint32 usedColors() const { return fUsedColors; }
    void setUsedColors(qint32 n) { fUsedColors = n; }
    QString colorsname() const { return fcolorsName; }
    void setColorsname(const QString& name);
    ColorKey drawcolor() const { return fdrawcolor; }
    void setDrawcolor(ColorKey c);
    qint32 pensize() const { return fPenSize; }
    void setPensize(qint32 size);

    void Change() { setFileSaved(false); }
    void NewFile();
    void OpenFile(const QString& name);
    void Save() {}

    // Translation of a shown text; unknown texts are answered with themselves and remembered.
    QString translate(const QString& s);

    // Settings (store layout, defaults and first run: GeneralSettings.cpp).
    void ReadGeneralSettings(SettingsStore& store);
    void WriteGeneralSettings(SettingsStore& store) const;

    // Number of colours of the named palette, or -1 when it is not in the catalogue.
    int paletteSize(const QString& name) const;

    // --- fields ---
    bool ffilesaved = false;
    QString ffilename;
    qint32 fUsedColors = 0;
    QString fcolorsName;
    ColorKey fdrawcolor = 0;
    qint32 fPenSize = 1;
    TFileMode fileMode = fmNew;
    QString Title;
    QString DefaultTitle;
    QString SubTitle;
    qint32 LegendDistance = 0;
    QStringList comment;
    TColor32 BackGroundColor = 0x00FFFFFFu;
    TBackGroundMode backGroundMode = bgmNormal;
    CharacterCatalogue characters;
    // Rhodes definitions of the catalogue file, in file order.
    TRhodeList RhodeCatalogue;
    // The catalogue file had problems when it was read (a definition refused, or the file
    // unreadable): the next write keeps the old file as a backup.
    bool RhodesFileDamaged = false;
    PaletteCatalogue ColorPalettes;
    ColorTable Colors;
    QList<TSimpleColorInfo> colorsList;
    OrderedMap<QString, QString> Language;
    // The CMYK table, keyed by the colour's opaque pixel value (keyToOpaquePixel).
    OrderedMap<TColor32, TCMYK> CMYK;
    QList<double> Deltas;
    TCharacters chars;
    QString defaultCharacters;
    double len = 0.01;
    double backlen = 0.01;
    double baseLen = 0;
    qint32 thickLines = 0, mediumLines = 0, thinLines = 0, backstitchLines = 0, symbolSize = 0;
    qint32 LabelGridHor = 0, LabelGridVert = 0, LabelBorderLeft = 0, LabelBorderTop = 0,
           LabelBorderRight = 0, LabelBorderBottom = 0, LabelWidth = 0, LabelHeight = 0;
    QString defaultPalette;
    qint32 maxColors = 0;
    QString libraryPath, CharactersPath, PalettesPath, PicturesPath, PatternsPath, RhodesPath,
        SavePath, FontsPath, LanguagesPath, HelpPath, InstallPath;
    QString DefaultLanguage;
    qint32 PrintPosTop = 0, PrintPosLeft = 0, BagSize = 0;
    bool FileNameAssigned = false;
    QString BookInfo;
    bool checkForUpdates = false;
    QString PathData;

    // Settings kept beside the fields above.
    bool AllowQuarterOverCross = false;
    qint32 PaletteView = 0;
    TPrintSettings print;
    QStringList RecentFiles;
    QStringList InstalledLanguages;
    bool updateCheckDue = false;

signals:
    void fileSavedChanged(bool saved);
    void filenameChanged(const QString& name);
    void colorsnameChanged(const QString& name);
    void drawcolorChanged(ColorKey color);
    void pensizeChanged(int size);
};
