#include "DataPaths.h"
#include "BuildConfig.h"

#include "SettingsStore.h"
#include "TStitch.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// Every folder value is used by appending a file name, so it ends with a separator.
QString asFolder(const QString& path)
{
    if (path.isEmpty())
        return {};
    QString p = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    if (!p.endsWith(u'/'))
        p += u'/';
    return p;
}

QString absoluteDir(const QString& dir) { return QDir::cleanPath(QFileInfo(dir).absoluteFilePath()); }

QString subFolder(const QString& dataDir, const QString& name)
{
    return absoluteDir(dataDir) + u'/' + name + u'/';
}

// The library folder is joined to names with a separator, so it has none at its end.
QString libraryFolder(const QString& dataDir) { return absoluteDir(dataDir) + QStringLiteral("/library"); }

bool folderExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

} // namespace

QString findShippedDataDir()
{
    // An installed program uses the data installed with it, also on the machine it was built
    // on, where the source tree's data (which may be newer or older) is still there.
    const QStringList candidates = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quillmark/data"),
        QStringLiteral(QUILLMARK_SOURCE_DATA_DIR),
        QStringLiteral(QUILLMARK_INSTALL_DATA_DIR),
    };
    for (const QString& dir : candidates)
        if (folderExists(dir))
            return absoluteDir(dir);
    return {};
}

void writeInstallerValues(SettingsStore& store, const QString& dataDir)
{
    // Without a data folder the paths would be relative to whatever folder the program was
    // started in, and stay wrong in the store for good: write nothing, so that a later start
    // that finds the data still sets them up.
    if (store.keyExists() || dataDir.isEmpty())
        return;

    const QString appData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!appData.isEmpty())
        QDir().mkpath(appData);
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

    store.writeInteger(QStringLiteral("maxColors"), 600);
    store.writeString(QStringLiteral("AppDataPath"), asFolder(appData));
    store.writeString(QStringLiteral("CharactersPath"), subFolder(dataDir, QStringLiteral("characters")));
    store.writeString(QStringLiteral("PalettesPath"), subFolder(dataDir, QStringLiteral("palettes")));
    store.writeString(QStringLiteral("FontsPath"), subFolder(dataDir, QStringLiteral("fonts")));
    store.writeString(QStringLiteral("HelpPath"), subFolder(dataDir, QStringLiteral("help")));
    store.writeString(QStringLiteral("LanguagesPath"), subFolder(dataDir, QStringLiteral("languages")));
    store.writeString(QStringLiteral("RhodesPath"), subFolder(dataDir, QStringLiteral("rhodes")));
    store.writeString(QStringLiteral("LibraryPath"), libraryFolder(dataDir));
    store.writeString(QStringLiteral("PicturesPath"), asFolder(pictures));
    store.writeString(QStringLiteral("PatternsPath"), asFolder(documents));
    store.writeString(QStringLiteral("SavePath"), asFolder(documents));
    store.writeString(QStringLiteral("DefaultColorTable"), QStringLiteral("DMC"));
    store.writeString(QStringLiteral("DefaultCharacterMap"), QStringLiteral("Quillmark Symbols"));
    store.writeString(QStringLiteral("DefaultLanguage"), QStringLiteral("english.lang"));
    store.writeString(QStringLiteral("InstallPath"), asFolder(QCoreApplication::applicationDirPath()));
    // Every shipped language is installed; "english" is there even when its file is missing.
    QStringList languages = {QStringLiteral("english")};
    const QDir languageDir(subFolder(dataDir, QStringLiteral("languages")));
    for (const QFileInfo& f : languageDir.entryInfoList({QStringLiteral("*.lang")}, QDir::Files, QDir::Name))
        if (!languages.contains(f.completeBaseName()))
            languages << f.completeBaseName();
    store.replaceSubkeyList(QStringLiteral("Languages"), languages);
    store.sync();
}

QString checkDataFolders(const TStitch& stitch)
{
    // The fonts folder is not needed to run: without it the symbol font is not installed,
    // which start-up reports and goes on.
    if (folderExists(stitch.PalettesPath) && folderExists(stitch.CharactersPath))
        return {};
    // The translation table's lookup without remembering the text (the state is read-only here).
    const QString text = QStringLiteral("Software was not installed properly. Please reinstall.");
    return stitch.Language.value(text, text);
}

void applyDataDirOverride(TStitch& stitch, const QString& dir)
{
    stitch.CharactersPath = subFolder(dir, QStringLiteral("characters"));
    stitch.PalettesPath = subFolder(dir, QStringLiteral("palettes"));
    stitch.FontsPath = subFolder(dir, QStringLiteral("fonts"));
    stitch.HelpPath = subFolder(dir, QStringLiteral("help"));
    stitch.LanguagesPath = subFolder(dir, QStringLiteral("languages"));
    stitch.RhodesPath = subFolder(dir, QStringLiteral("rhodes"));
    stitch.libraryPath = libraryFolder(dir);
}
