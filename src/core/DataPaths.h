#pragma once
// Where the shipped data lives and the first start: without an installer, the application
// writes the installer's settings itself, pointing the data folders at the shipped data.

#include <QString>

class SettingsStore;
class TStitch;

// The shipped data folder: "<program folder>/../share/quillmark/data" when it exists
// (installed), else "data" of the source tree (running from the build tree), else the data
// folder of the configured install prefix, else empty.
QString findShippedDataDir();

// When the settings key does not exist yet, writes the values an installer would write: the
// data folders under dataDir, the user's folders, the defaults and the installed languages.
// Does nothing when the key exists or dataDir is empty.
void writeInstallerValues(SettingsStore& store, const QString& dataDir);

// Empty when the palette and character-set folders exist; otherwise the (translated) message
// to show before the application ends.
QString checkDataFolders(const TStitch& stitch);

// Makes every data folder (characters, palettes, fonts, help, languages, Rhodes, library) the
// one under dir, whatever the settings say (the command line's --data DIR).
void applyDataDirOverride(TStitch& stitch, const QString& dir);
