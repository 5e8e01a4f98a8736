// The settings store, reading and writing the general settings, and the first start that
// writes the installer's values.
#include "core/DataPaths.h"
#include "core/QuillError.h"
#include "core/SettingsStore.h"
#include "core/TStitch.h"
#include "support/TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kNotInstalled = QStringLiteral("Software was not installed properly. Please reinstall.");
const QString kGroup = QStringLiteral("SOFTWARE/Korvald/Quillmark/5/General");

// A fresh folder under the test run's temporary root.
QString freshDir(const QString& stem)
{
    static int counter = 0;
    const QString dir = testsupport::tempRoot() + QStringLiteral("/%1-%2").arg(stem).arg(++counter);
    QDir().mkpath(dir);
    return dir;
}

// A fresh INI file name of its own for each store.
QString freshIni() { return freshDir(QStringLiteral("settings")) + QStringLiteral("/Quillmark.ini"); }

// A data folder holding the given subfolders.
QString makeDataDir(const QStringList& subfolders)
{
    const QString dir = freshDir(QStringLiteral("data"));
    for (const QString& s : subfolders)
        QDir(dir).mkpath(s);
    return dir;
}

// Names of the General key that equal `name` without regard to case.
QStringList variantsOf(const SettingsStore& store, const QString& name)
{
    QStringList out;
    for (const QString& n : store.valueNames())
        if (n.compare(name, Qt::CaseInsensitive) == 0)
            out.append(n);
    return out;
}

// A store on a new INI file holding what the first start writes, and the stitch that read it.
struct FirstRun
{
    QString ini = freshIni();
    QString dataDir = makeDataDir({QStringLiteral("palettes"), QStringLiteral("characters"),
                                   QStringLiteral("fonts")});
    SettingsStore store{ini};
    TStitch stitch;

    FirstRun()
    {
        writeInstallerValues(store, dataDir);
        stitch.ReadGeneralSettings(store);
    }
};

} // namespace

// ---------------------------------------------------------------------------------------------
// The store

TEST(SettingsStore, CaseVariantsOfANameAreOneValue)
{
    const QString ini = freshIni();
    {
        SettingsStore store(ini);
        store.writeInteger(QStringLiteral("MediumLines"), 33);
        EXPECT_EQ(store.readInteger(QStringLiteral("mediumLines")), 33);
        EXPECT_TRUE(store.valueExists(QStringLiteral("MEDIUMLINES")));
        store.writeInteger(QStringLiteral("mediumLines"), 34);
        EXPECT_EQ(variantsOf(store, QStringLiteral("mediumlines")), QStringList{QStringLiteral("mediumLines")});
        ASSERT_TRUE(store.sync());
    }
    SettingsStore reopened(ini);
    EXPECT_EQ(variantsOf(reopened, QStringLiteral("mediumlines")), QStringList{QStringLiteral("mediumLines")});
    EXPECT_EQ(reopened.readInteger(QStringLiteral("MediumLines")), 34);
    reopened.removeValue(QStringLiteral("MEDIUMLINES"));
    EXPECT_FALSE(reopened.valueExists(QStringLiteral("mediumLines")));
}

TEST(SettingsStore, TypedValuesSurviveTheFile)
{
    const QDateTime when(QDate(2031, 2, 3), QTime(4, 5, 6));
    struct Case
    {
        const char* what;
        std::function<void(SettingsStore&)> write;
        std::function<void(const SettingsStore&)> check;
    };
    const QList<Case> cases = {
        {"string with comma, backslash and quote",
         [](SettingsStore& s) { s.writeString("S", QStringLiteral("C:\\a, \"b\"; c=d")); },
         [](const SettingsStore& s) { EXPECT_EQ(s.readString("S"), QStringLiteral("C:\\a, \"b\"; c=d")); }},
        {"empty string exists",
         [](SettingsStore& s) { s.writeString("E", QString()); },
         [](const SettingsStore& s) { EXPECT_EQ(s.readString("E"), QString("")); }},
        {"negative integer",
         [](SettingsStore& s) { s.writeInteger("I", -2147483647 - 1); },
         [](const SettingsStore& s) { EXPECT_EQ(s.readInteger("I"), -2147483647 - 1); }},
        {"Boolean stored as 0/1",
         [](SettingsStore& s) { s.writeBool("T", true); s.writeBool("F", false); },
         [](const SettingsStore& s) {
             EXPECT_EQ(s.readBool("T"), true);
             EXPECT_EQ(s.readBool("F"), false);
             EXPECT_EQ(s.readString("T"), QStringLiteral("1"));
             EXPECT_EQ(s.readString("F"), QStringLiteral("0"));
         }},
        {"date-time as ISO 8601",
         [when](SettingsStore& s) { s.writeDateTime("D", when); },
         [when](const SettingsStore& s) {
             EXPECT_EQ(s.readDateTime("D"), when);
             EXPECT_TRUE(s.readString("D")->startsWith(QStringLiteral("2031-02-03T04:05:06")));
         }},
        {"text is not an integer, Boolean or date",
         [](SettingsStore& s) { s.writeString("X", QStringLiteral("many")); },
         [](const SettingsStore& s) {
             EXPECT_FALSE(s.readInteger("X"));
             EXPECT_FALSE(s.readBool("X"));
             EXPECT_FALSE(s.readDateTime("X"));
         }},
        {"integer beyond 32 bits",
         [](SettingsStore& s) { s.writeString("Big", QStringLiteral("4294967296")); },
         [](const SettingsStore& s) { EXPECT_FALSE(s.readInteger("Big")); }},
        {"absent value",
         [](SettingsStore&) {},
         [](const SettingsStore& s) {
             EXPECT_FALSE(s.readString("Nothing"));
             EXPECT_FALSE(s.valueExists("Nothing"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString ini = freshIni();
        {
            SettingsStore store(ini);
            c.write(store);
            c.check(store);
            ASSERT_TRUE(store.sync());
        }
        c.check(SettingsStore(ini));
    }
}

TEST(SettingsStore, SubkeyListsNumericNamesInNumericOrder)
{
    const QString ini = freshIni();
    {
        SettingsStore store(ini);
        store.replaceSubkeyValues(QStringLiteral("LastFiles"), {{"2", "two"}, {"b", "bee"}, {"10", "ten"},
                                                                {"1", "one"}, {"a", "ay"}, {"9", "nine"}});
        ASSERT_TRUE(store.sync());
    }
    SettingsStore store(ini);
    EXPECT_EQ(store.subkeyStrings(QStringLiteral("LastFiles")),
              QStringList({"one", "two", "nine", "ten", "ay", "bee"}));
    // Subkey values are not values of the key itself.
    EXPECT_FALSE(store.valueExists(QStringLiteral("1")));

    store.replaceSubkeyList(QStringLiteral("LastFiles"), {"x"});
    EXPECT_EQ(store.subkeyValues(QStringLiteral("LastFiles")),
              (QList<SettingsStore::NamedValue>{{"1", "x"}}));
}

TEST(SettingsStore, SyncReportsAFailedWrite)
{
    // The folder of the file is a plain file: nothing can be written there.
    const QString blocker = freshDir(QStringLiteral("blocked")) + QStringLiteral("/file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    SettingsStore store(blocker + QStringLiteral("/Quillmark.ini"));
    store.writeInteger(QStringLiteral("maxColors"), 600);
    EXPECT_FALSE(store.sync());
    EXPECT_FALSE(store.errorText().isEmpty());
}

TEST(SettingsStore, UserStoreIsTheUsersOwnFile)
{
    SettingsStore store;
    EXPECT_TRUE(store.fileName().startsWith(testsupport::tempRoot())) << store.fileName().toStdString();
    EXPECT_TRUE(store.fileName().endsWith(QStringLiteral("Korvald/Quillmark.ini")));
}

// ---------------------------------------------------------------------------------------------
// Reading and writing the general settings

TEST(GeneralSettings, FirstRunWritesEveryDefaultAndReadsIt)
{
    FirstRun run;
    const TStitch& s = run.stitch;
    auto num = [](qint32 v) { return QString::number(v); };
    struct Row
    {
        const char* name;
        QString stored;
        std::function<QString(const TStitch&)> field;
    };
    const QList<Row> rows = {
        {"DefaultTitle", "", [](const TStitch& t) { return t.DefaultTitle; }},
        {"SubTitle", "Created with KORVALD Quillmark", [](const TStitch& t) { return t.SubTitle; }},
        {"LegendDistance", "5", [&](const TStitch& t) { return num(t.LegendDistance); }},
        {"LabelGridHor", "10", [&](const TStitch& t) { return num(t.LabelGridHor); }},
        {"LabelGridVert", "27", [&](const TStitch& t) { return num(t.LabelGridVert); }},
        {"LabelBorderLeft", "40", [&](const TStitch& t) { return num(t.LabelBorderLeft); }},
        {"LabelBorderTop", "135", [&](const TStitch& t) { return num(t.LabelBorderTop); }},
        {"LabelBorderRight", "40", [&](const TStitch& t) { return num(t.LabelBorderRight); }},
        {"LabelBorderBottom", "135", [&](const TStitch& t) { return num(t.LabelBorderBottom); }},
        {"LabelWidth", "178", [&](const TStitch& t) { return num(t.LabelWidth); }},
        {"LabelHeight", "100", [&](const TStitch& t) { return num(t.LabelHeight); }},
        {"PrintPosLeft", "0", [&](const TStitch& t) { return num(t.PrintPosLeft); }},
        {"PrintPosTop", "0", [&](const TStitch& t) { return num(t.PrintPosTop); }},
        {"CheckForUpdates", "1", [&](const TStitch& t) { return num(t.checkForUpdates); }},
        {"ThickLines", "50", [&](const TStitch& t) { return num(t.thickLines); }},
        {"MediumLines", "20", [&](const TStitch& t) { return num(t.mediumLines); }},
        {"ThinLines", "1", [&](const TStitch& t) { return num(t.thinLines); }},
        {"backStitchLines", "60", [&](const TStitch& t) { return num(t.backstitchLines); }},
        {"SymbolSize", "100", [&](const TStitch& t) { return num(t.symbolSize); }},
        {"BorderLeft", "15", [&](const TStitch& t) { return num(t.print.BorderLeft); }},
        {"BorderTop", "15", [&](const TStitch& t) { return num(t.print.BorderTop); }},
        {"BorderRight", "10", [&](const TStitch& t) { return num(t.print.BorderRight); }},
        {"BorderBottom", "15", [&](const TStitch& t) { return num(t.print.BorderBottom); }},
        {"AllowQuarterOverCross", "0", [&](const TStitch& t) { return num(t.AllowQuarterOverCross); }},
        {"BookInfo", "", [](const TStitch& t) { return t.BookInfo; }},
        {"BagSize", "200", [&](const TStitch& t) { return num(t.BagSize); }},
        {"JPEGWidth", "900", [&](const TStitch& t) { return num(t.print.JPEGWidth); }},
        {"JPEGHeight", "800", [&](const TStitch& t) { return num(t.print.JPEGHeight); }},
        {"JPEGGrid", "20", [&](const TStitch& t) { return num(t.print.JPEGGrid); }},
        {"JPEGQuality", "70", [&](const TStitch& t) { return num(t.print.JPEGQuality); }},
        {"PaletteView", "0", [&](const TStitch& t) { return num(t.PaletteView); }},
    };
    SettingsStore reopened(run.ini);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(r.field(s), r.stored);
        EXPECT_EQ(reopened.readString(r.name), r.stored);
    }
    EXPECT_TRUE(reopened.readDateTime(QStringLiteral("CheckForUpdatesDate")));

    // The installer's values arrive in their fields.
    EXPECT_EQ(s.maxColors, 600);
    EXPECT_EQ(s.PalettesPath, run.dataDir + QStringLiteral("/palettes/"));
    EXPECT_EQ(s.libraryPath, run.dataDir + QStringLiteral("/library"));
    EXPECT_EQ(s.defaultPalette, QStringLiteral("DMC"));
    EXPECT_EQ(s.defaultCharacters, QStringLiteral("Quillmark Symbols"));
    EXPECT_EQ(s.DefaultLanguage, QStringLiteral("english.lang"));
    EXPECT_EQ(s.InstalledLanguages, QStringList{QStringLiteral("english")});
    EXPECT_TRUE(s.RecentFiles.isEmpty());
}

TEST(GeneralSettings, StringsWithoutDefaultStayAbsent)
{
    const QString ini = freshIni();
    SettingsStore store(ini);
    store.writeInteger(QStringLiteral("maxColors"), 250);
    TStitch stitch;
    stitch.ReadGeneralSettings(store);
    EXPECT_EQ(stitch.maxColors, 250);
    for (const char* name : {"AppDataPath", "CharactersPath", "PalettesPath", "FontsPath", "HelpPath",
                             "LanguagesPath", "LibraryPath", "DefaultCharacterMap", "DefaultColorTable",
                             "DefaultLanguage", "PicturesPath", "PatternsPath", "RhodesPath", "SavePath"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(store.valueExists(name));
    }
    // The current (empty) installation folder is written.
    EXPECT_EQ(store.readString(QStringLiteral("InstallPath")), QString(""));
}

TEST(GeneralSettings, UnreadableValueTakesItsDefault)
{
    SettingsStore store(freshIni());
    store.writeInteger(QStringLiteral("maxColors"), 600);
    store.writeString(QStringLiteral("LegendDistance"), QStringLiteral("far"));
    store.writeString(QStringLiteral("CheckForUpdates"), QStringLiteral("maybe"));
    TStitch stitch;
    stitch.ReadGeneralSettings(store);
    EXPECT_EQ(stitch.LegendDistance, 5);
    EXPECT_TRUE(stitch.checkForUpdates);
    EXPECT_EQ(store.readString(QStringLiteral("LegendDistance")), QStringLiteral("5"));
    EXPECT_EQ(store.readString(QStringLiteral("CheckForUpdates")), QStringLiteral("1"));
}

TEST(GeneralSettings, LineWidthNamesInAnyCase)
{
    struct Case
    {
        const char* stored;
        qint32 TStitch::*field;
        const char* written;
    };
    const QList<Case> cases = {
        {"MediumLines", &TStitch::mediumLines, "mediumLines"},
        {"mediumLines", &TStitch::mediumLines, "mediumLines"},
        {"MEDIUMLINES", &TStitch::mediumLines, "mediumLines"},
        {"backStitchLines", &TStitch::backstitchLines, "BackStitchLines"},
        {"BackStitchLines", &TStitch::backstitchLines, "BackStitchLines"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const QString ini = freshIni();
        {
            // The store as another program left it, spelled its own way.
            QSettings raw(ini, QSettings::IniFormat);
            raw.setValue(kGroup + "/maxColors", 600);
            raw.setValue(kGroup + "/" + c.stored, 33);
        }
        SettingsStore store(ini);
        TStitch stitch;
        stitch.ReadGeneralSettings(store);
        EXPECT_EQ(stitch.*c.field, 33);
        EXPECT_EQ(variantsOf(store, c.stored), QStringList{QString(c.stored)});

        stitch.*c.field = 44;
        stitch.WriteGeneralSettings(store);
        SettingsStore reopened(ini);
        EXPECT_EQ(variantsOf(reopened, c.stored), QStringList{QString(c.written)});
        EXPECT_EQ(reopened.readInteger(c.written), 44);
    }
}

TEST(GeneralSettings, OnlyTheWrittenValuesGoBack)
{
    struct Row
    {
        const char* name;
        bool written;
        std::function<void(TStitch&)> change;
        std::function<QString(const TStitch&)> field;
    };
    auto num = [](qint32 v) { return QString::number(v); };
    const QList<Row> rows = {
        {"DefaultCharacterMap", true, [](TStitch& t) { t.defaultCharacters = "Other"; }, [](const TStitch& t) { return t.defaultCharacters; }},
        {"DefaultColorTable", true, [](TStitch& t) { t.defaultPalette = "Anchor"; }, [](const TStitch& t) { return t.defaultPalette; }},
        {"DefaultTitle", true, [](TStitch& t) { t.DefaultTitle = "Untitled"; }, [](const TStitch& t) { return t.DefaultTitle; }},
        {"SubTitle", true, [](TStitch& t) { t.SubTitle = "Mine, all mine"; }, [](const TStitch& t) { return t.SubTitle; }},
        {"LibraryPath", true, [](TStitch& t) { t.libraryPath = "/lib/x"; }, [](const TStitch& t) { return t.libraryPath; }},
        {"PicturesPath", true, [](TStitch& t) { t.PicturesPath = "/p/"; }, [](const TStitch& t) { return t.PicturesPath; }},
        {"PatternsPath", true, [](TStitch& t) { t.PatternsPath = "/q/"; }, [](const TStitch& t) { return t.PatternsPath; }},
        {"SavePath", true, [](TStitch& t) { t.SavePath = "/s/"; }, [](const TStitch& t) { return t.SavePath; }},
        {"DefaultLanguage", true, [](TStitch& t) { t.DefaultLanguage = "deutsch"; }, [](const TStitch& t) { return t.DefaultLanguage; }},
        {"ThickLines", true, [](TStitch& t) { t.thickLines = 51; }, [&](const TStitch& t) { return num(t.thickLines); }},
        {"ThinLines", true, [](TStitch& t) { t.thinLines = 2; }, [&](const TStitch& t) { return num(t.thinLines); }},
        {"SymbolSize", true, [](TStitch& t) { t.symbolSize = 90; }, [&](const TStitch& t) { return num(t.symbolSize); }},
        {"BorderLeft", true, [](TStitch& t) { t.print.BorderLeft = 1; }, [&](const TStitch& t) { return num(t.print.BorderLeft); }},
        {"BorderTop", true, [](TStitch& t) { t.print.BorderTop = 2; }, [&](const TStitch& t) { return num(t.print.BorderTop); }},
        {"BorderRight", true, [](TStitch& t) { t.print.BorderRight = 3; }, [&](const TStitch& t) { return num(t.print.BorderRight); }},
        {"BorderBottom", true, [](TStitch& t) { t.print.BorderBottom = 4; }, [&](const TStitch& t) { return num(t.print.BorderBottom); }},
        {"LabelGridHor", true, [](TStitch& t) { t.LabelGridHor = 11; }, [&](const TStitch& t) { return num(t.LabelGridHor); }},
        {"LabelGridVert", true, [](TStitch& t) { t.LabelGridVert = 12; }, [&](const TStitch& t) { return num(t.LabelGridVert); }},
        {"LabelBorderLeft", true, [](TStitch& t) { t.LabelBorderLeft = 13; }, [&](const TStitch& t) { return num(t.LabelBorderLeft); }},
        {"LabelBorderTop", true, [](TStitch& t) { t.LabelBorderTop = 14; }, [&](const TStitch& t) { return num(t.LabelBorderTop); }},
        {"LabelBorderRight", true, [](TStitch& t) { t.LabelBorderRight = 15; }, [&](const TStitch& t) { return num(t.LabelBorderRight); }},
        {"LabelBorderBottom", true, [](TStitch& t) { t.LabelBorderBottom = 16; }, [&](const TStitch& t) { return num(t.LabelBorderBottom); }},
        {"LabelWidth", true, [](TStitch& t) { t.LabelWidth = 17; }, [&](const TStitch& t) { return num(t.LabelWidth); }},
        {"LabelHeight", true, [](TStitch& t) { t.LabelHeight = 18; }, [&](const TStitch& t) { return num(t.LabelHeight); }},
        {"AllowQuarterOverCross", true, [](TStitch& t) { t.AllowQuarterOverCross = true; }, [&](const TStitch& t) { return num(t.AllowQuarterOverCross); }},
        {"CheckForUpdates", true, [](TStitch& t) { t.checkForUpdates = false; }, [&](const TStitch& t) { return num(t.checkForUpdates); }},
        {"BookInfo", true, [](TStitch& t) { t.BookInfo = "line 1\nline 2"; }, [](const TStitch& t) { return t.BookInfo; }},
        {"PrintPosLeft", true, [](TStitch& t) { t.PrintPosLeft = -3; }, [&](const TStitch& t) { return num(t.PrintPosLeft); }},
        {"PrintPosTop", true, [](TStitch& t) { t.PrintPosTop = 7; }, [&](const TStitch& t) { return num(t.PrintPosTop); }},
        {"BagSize", true, [](TStitch& t) { t.BagSize = 500; }, [&](const TStitch& t) { return num(t.BagSize); }},
        {"LegendDistance", true, [](TStitch& t) { t.LegendDistance = 9; }, [&](const TStitch& t) { return num(t.LegendDistance); }},
        {"PaletteView", true, [](TStitch& t) { t.PaletteView = 3; }, [&](const TStitch& t) { return num(t.PaletteView); }},
        {"maxColors", false, [](TStitch& t) { t.maxColors = 7; }, [&](const TStitch& t) { return num(t.maxColors); }},
        {"AppDataPath", false, [](TStitch& t) { t.PathData = "/elsewhere/"; }, [](const TStitch& t) { return t.PathData; }},
        {"CharactersPath", false, [](TStitch& t) { t.CharactersPath = "/c/"; }, [](const TStitch& t) { return t.CharactersPath; }},
        {"PalettesPath", false, [](TStitch& t) { t.PalettesPath = "/p/"; }, [](const TStitch& t) { return t.PalettesPath; }},
        {"FontsPath", false, [](TStitch& t) { t.FontsPath = "/f/"; }, [](const TStitch& t) { return t.FontsPath; }},
        {"HelpPath", false, [](TStitch& t) { t.HelpPath = "/h/"; }, [](const TStitch& t) { return t.HelpPath; }},
        {"LanguagesPath", false, [](TStitch& t) { t.LanguagesPath = "/l/"; }, [](const TStitch& t) { return t.LanguagesPath; }},
        {"RhodesPath", false, [](TStitch& t) { t.RhodesPath = "/r/"; }, [](const TStitch& t) { return t.RhodesPath; }},
        {"InstallPath", false, [](TStitch& t) { t.InstallPath = "/i/"; }, [](const TStitch& t) { return t.InstallPath; }},
        {"JPEGWidth", false, [](TStitch& t) { t.print.JPEGWidth = 1; }, [&](const TStitch& t) { return num(t.print.JPEGWidth); }},
        {"JPEGHeight", false, [](TStitch& t) { t.print.JPEGHeight = 2; }, [&](const TStitch& t) { return num(t.print.JPEGHeight); }},
        {"JPEGGrid", false, [](TStitch& t) { t.print.JPEGGrid = 3; }, [&](const TStitch& t) { return num(t.print.JPEGGrid); }},
        {"JPEGQuality", false, [](TStitch& t) { t.print.JPEGQuality = 4; }, [&](const TStitch& t) { return num(t.print.JPEGQuality); }},
    };
    FirstRun run;
    TStitch original;
    original.ReadGeneralSettings(run.store);
    for (const Row& r : rows)
        r.change(run.stitch);
    run.stitch.WriteGeneralSettings(run.store);

    SettingsStore reopened(run.ini);
    TStitch again;
    again.ReadGeneralSettings(reopened);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const QString expected = r.written ? r.field(run.stitch) : r.field(original);
        EXPECT_NE(r.field(run.stitch), r.field(original)) << "the change must be visible";
        EXPECT_EQ(r.field(again), expected);
    }
}

TEST(GeneralSettings, RecentFilesKeepTheirOrder)
{
    auto files = [](int n) {
        QStringList out;
        for (int i = 0; i < n; ++i)
            out.append(QStringLiteral("/designs/file %1.qvxp").arg(char('a' + i)));
        return out;
    };
    for (int n : {0, 3, 12}) {
        SCOPED_TRACE(n);
        FirstRun run;
        run.stitch.RecentFiles = files(n);
        run.stitch.WriteGeneralSettings(run.store);

        SettingsStore reopened(run.ini);
        const QList<SettingsStore::NamedValue> stored = reopened.subkeyValues(QStringLiteral("LastFiles"));
        ASSERT_EQ(stored.size(), n);
        for (int i = 0; i < n; ++i)
            EXPECT_EQ(stored.at(i), SettingsStore::NamedValue(QString::number(i + 1), files(n).at(i)));
        TStitch again;
        again.ReadGeneralSettings(reopened);
        EXPECT_EQ(again.RecentFiles, files(n));
    }
}

TEST(GeneralSettings, AShrunkRecentListStaysShrunk)
{
    FirstRun run;
    run.stitch.RecentFiles = {"/a", "/b", "/c", "/d", "/e"};
    run.stitch.WriteGeneralSettings(run.store);
    run.stitch.RecentFiles = {"/e", "/a"};
    run.stitch.WriteGeneralSettings(run.store);

    SettingsStore reopened(run.ini);
    TStitch again;
    again.ReadGeneralSettings(reopened);
    EXPECT_EQ(again.RecentFiles, QStringList({"/e", "/a"}));
}

TEST(GeneralSettings, ReadingFailsWithoutKeyOrMaxColors)
{
    struct Case
    {
        const char* what;
        std::function<void(SettingsStore&)> fill;
        QString message;
    };
    const QList<Case> cases = {
        {"no key at all", [](SettingsStore&) {}, QStringLiteral("nicht richtig installiert")},
        {"only recent files", [](SettingsStore& s) { s.replaceSubkeyList("LastFiles", {"/a"}); },
         QStringLiteral("nicht richtig installiert")},
        {"no maxColors", [](SettingsStore& s) { s.writeString("SubTitle", "x"); }, QStringLiteral("maxColors")},
        {"maxColors not a number", [](SettingsStore& s) { s.writeString("MaxColors", "lots"); },
         QStringLiteral("maxColors")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsStore store(freshIni());
        c.fill(store);
        TStitch stitch;
        stitch.Language.insert(kNotInstalled, QStringLiteral("Software nicht richtig installiert."));
        try {
            stitch.ReadGeneralSettings(store);
            ADD_FAILURE() << "reading succeeded";
        } catch (const QuillError& e) {
            // The message is translated where it is shown.
            EXPECT_TRUE(e.translated(stitch).contains(c.message)) << e.translated(stitch).toStdString();
        }
    }
}

TEST(GeneralSettings, WritingReportsAStoreThatCannotBeWritten)
{
    const QString blocker = freshDir(QStringLiteral("blocked")) + QStringLiteral("/file");
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    SettingsStore store(blocker + QStringLiteral("/Quillmark.ini"));
    TStitch stitch;
    EXPECT_THROW(stitch.WriteGeneralSettings(store), QuillError);
}

TEST(GeneralSettings, UpdateCheckDueOnceItsDateHasPassed)
{
    const QDateTime now = QDateTime::currentDateTime();
    struct Case
    {
        const char* what;
        std::optional<QString> stored; // nothing: the value is absent
        bool checkForUpdates;
        bool due;
        bool rewritten; // the date becomes now + 24 hours
    };
    const QString past = now.addDays(-1).toString(Qt::ISODate);
    const QString future = now.addDays(3).toString(Qt::ISODate);
    const QList<Case> cases = {
        {"past, checking on", past, true, true, false},
        {"past, checking off", past, false, false, false},
        {"future, checking on", future, true, false, false},
        {"absent", std::nullopt, true, false, true},
        {"unreadable", QStringLiteral("someday"), true, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SettingsStore store(freshIni());
        store.writeInteger(QStringLiteral("maxColors"), 600);
        store.writeBool(QStringLiteral("CheckForUpdates"), c.checkForUpdates);
        if (c.stored)
            store.writeString(QStringLiteral("CheckForUpdatesDate"), *c.stored);
        TStitch stitch;
        stitch.ReadGeneralSettings(store);
        EXPECT_EQ(stitch.updateCheckDue, c.due);
        const std::optional<QDateTime> date = store.readDateTime(QStringLiteral("CheckForUpdatesDate"));
        ASSERT_TRUE(date);
        if (c.rewritten)
            EXPECT_LE(std::abs(date->secsTo(now.addSecs(24 * 3600))), 60);
        else
            EXPECT_EQ(store.readString(QStringLiteral("CheckForUpdatesDate")), c.stored);
    }
}

// ---------------------------------------------------------------------------------------------
// First start and data folders

TEST(DataPaths, InstallerValuesPointAtTheDataFolder)
{
    const QString dataDir = makeDataDir({});
    SettingsStore store(freshIni());
    writeInstallerValues(store, dataDir);
    ASSERT_TRUE(store.keyExists());

    const QString program = QCoreApplication::applicationDirPath() + u'/';
    const QList<std::pair<const char*, QString>> expected = {
        {"CharactersPath", dataDir + "/characters/"},
        {"PalettesPath", dataDir + "/palettes/"},
        {"FontsPath", dataDir + "/fonts/"},
        {"HelpPath", dataDir + "/help/"},
        {"LanguagesPath", dataDir + "/languages/"},
        {"RhodesPath", dataDir + "/rhodes/"},
        {"LibraryPath", dataDir + "/library"},
        {"DefaultColorTable", "DMC"},
        {"DefaultCharacterMap", "Quillmark Symbols"},
        {"DefaultLanguage", "english.lang"},
        {"InstallPath", program},
        {"maxColors", "600"},
    };
    for (const auto& [name, value] : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(store.readString(name), value);
    }
    for (const char* name : {"AppDataPath", "PicturesPath", "PatternsPath", "SavePath"}) {
        SCOPED_TRACE(name);
        const QString v = store.readString(name).value_or(QString());
        EXPECT_TRUE(v.startsWith(testsupport::tempRoot())) << v.toStdString();
        EXPECT_TRUE(v.endsWith(u'/')) << v.toStdString();
    }
    EXPECT_EQ(store.subkeyStrings(QStringLiteral("Languages")), QStringList{QStringLiteral("english")});
}

TEST(DataPaths, EveryShippedLanguageIsInstalled)
{
    const QString dataDir = makeDataDir({QStringLiteral("languages")});
    for (const char* name : {"francais.lang", "deutsch.lang", "english.lang", "notes.txt"}) {
        QFile f(dataDir + QStringLiteral("/languages/") + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    SettingsStore store(freshIni());
    writeInstallerValues(store, dataDir);
    EXPECT_EQ(store.subkeyStrings(QStringLiteral("Languages")),
              (QStringList{QStringLiteral("english"), QStringLiteral("deutsch"), QStringLiteral("francais")}));
}

TEST(DataPaths, InstallerValuesNeverReplaceAnExistingStore)
{
    SettingsStore store(freshIni());
    store.writeInteger(QStringLiteral("maxColors"), 100);
    writeInstallerValues(store, makeDataDir({}));
    EXPECT_EQ(store.valueNames(), QStringList{QStringLiteral("maxColors")});
    EXPECT_EQ(store.readInteger(QStringLiteral("maxColors")), 100);

    // Without a data folder nothing is written, so a later start can still set the store up.
    SettingsStore empty(freshIni());
    writeInstallerValues(empty, QString());
    EXPECT_FALSE(empty.keyExists());
}

TEST(DataPaths, CheckDataFoldersNeedsPalettesAndCharacters)
{
    struct Case
    {
        const char* what;
        QStringList present;
        bool dataDirExists;
        bool ok;
    };
    const QList<Case> cases = {
        {"all three", {"palettes", "characters", "fonts"}, true, true},
        // Without fonts only the symbol font cannot be installed, which start-up reports.
        {"no fonts", {"palettes", "characters"}, true, true},
        {"no palettes", {"characters", "fonts", "help"}, true, false},
        {"no characters", {"palettes", "fonts"}, true, false},
        {"no data folder", {}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString dataDir = makeDataDir(c.present);
        if (!c.dataDirExists) {
            QDir(dataDir).removeRecursively();
            dataDir += QStringLiteral("-missing");
        }
        SettingsStore store(freshIni());
        writeInstallerValues(store, dataDir);
        TStitch stitch;
        stitch.ReadGeneralSettings(store);
        stitch.Language.insert(kNotInstalled, QStringLiteral("Nicht installiert."));
        EXPECT_EQ(checkDataFolders(stitch), c.ok ? QString() : QStringLiteral("Nicht installiert."));
    }

    // An empty folder value is no folder (not the current folder).
    TStitch blank;
    const QString before = QDir::currentPath();
    QDir::setCurrent(makeDataDir({"palettes", "characters", "fonts"}));
    EXPECT_EQ(checkDataFolders(blank), kNotInstalled);
    QDir::setCurrent(before);
}

TEST(DataPaths, DataDirOverrideWinsOverTheSettings)
{
    FirstRun run;
    const QString dir = makeDataDir({"palettes", "characters", "fonts"});
    // The settings point at a folder that has since gone.
    QDir(run.dataDir).removeRecursively();
    ASSERT_FALSE(checkDataFolders(run.stitch).isEmpty());

    applyDataDirOverride(run.stitch, dir);
    const TStitch& s = run.stitch;
    const QList<std::pair<QString, QString>> expected = {
        {s.CharactersPath, dir + "/characters/"}, {s.PalettesPath, dir + "/palettes/"},
        {s.FontsPath, dir + "/fonts/"},           {s.HelpPath, dir + "/help/"},
        {s.LanguagesPath, dir + "/languages/"},   {s.RhodesPath, dir + "/rhodes/"},
        {s.libraryPath, dir + "/library"},
    };
    for (const auto& [actual, want] : expected)
        EXPECT_EQ(actual, want);
    EXPECT_EQ(checkDataFolders(s), QString());
}

TEST(DataPaths, ProgramsInTheBuildTreeFindTheSourceTreesData)
{
    if (!QDir(testsupport::shippedDataDir()).exists())
        GTEST_SKIP() << "no shipped data folder in this tree";
    EXPECT_EQ(findShippedDataDir(), QDir::cleanPath(testsupport::shippedDataDir()));
}
