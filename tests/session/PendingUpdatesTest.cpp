// The start-up step that applies downloaded updates: only the manifest's entries, only into
// the data folders, each file checked again, nothing executed, the folder emptied afterwards;
// and the start-up itself reading the applied palette.
#include "../update/UpdateFixture.h"

#include "core/SettingsStore.h"
#include "session/PendingUpdates.h"
#include "session/Session.h"
#include "update/UpdateCatalogue.h"
#include "update/UpdateManifest.h"

using namespace updatetest;

namespace {

class PendingUpdates : public UpdateFixture
{
protected:
    // A downloaded file in the pending folder and its manifest entry.
    PendingUpdate stage(TUpdateType type, const QString& name, const QString& file, const QByteArray& bytes)
    {
        PendingUpdate u;
        u.item = item(type, name, file, QString());
        u.item.URL.clear();
        u.source = pendingUpdatesFolder(st) + QStringLiteral("1-") + file;
        u.destination = updateDestination(st, u.item);
        u.sha256 = sha256Hex(bytes);
        writeFile(u.source, bytes);
        return u;
    }

    void writeManifest(const QList<PendingUpdate>& updates)
    {
        writeFile(pendingManifestPath(st), manifestBytes(updates));
    }
};

TEST_F(PendingUpdates, TheManifestsEntriesGoIntoTheDataFolders)
{
    writeFile(st.PalettesPath + "Anchor.ctb", paletteBytes("Anchor old"));
    writeFile(installedVersionsPath(st), R"(<TVLVersion><ProgramRelease Major="4" Minor="0" Release="0"/>
<Helps><Help Language="deutsch" Major="5" Minor="0" Release="1"/></Helps><Palettes/></TVLVersion>)");
    const PendingUpdate palette = stage(utPalette, "Anchor", "Anchor.ctb", paletteBytes("Anchor"));
    const PendingUpdate help = stage(utHelp, "deutsch", "print.html", helpPageBytes("Drucken"));
    // A file in the folder that the manifest does not list is never copied.
    writeFile(pendingUpdatesFolder(st) + "2-Madeira.ctb", paletteBytes("Madeira"));
    writeFile(pendingUpdatesFolder(st) + "upgrade.bat", "rm -rf /\r\n");
    writeManifest({help, palette});

    const PendingUpdatesResult result = applyPendingUpdates(st);
    EXPECT_TRUE(result.refused.isEmpty()) << result.refused.join('\n').toStdString();
    EXPECT_EQ(result.applied.size(), 2);
    EXPECT_EQ(readFile(st.PalettesPath + "Anchor.ctb"), paletteBytes("Anchor"));
    EXPECT_EQ(readFile(st.HelpPath + "deutsch/print.html"), helpPageBytes("Drucken"));
    EXPECT_FALSE(QFileInfo::exists(st.PalettesPath + "Madeira.ctb"));
    EXPECT_EQ(QDir(st.PalettesPath).entryList(QDir::Files), QStringList{"Anchor.ctb"});
    // The downloads are gone, the versions recorded (the language's entry replaced).
    EXPECT_FALSE(QFileInfo::exists(pendingUpdatesFolder(st)));
    const InstalledVersions installed = readInstalledVersions(readFile(installedVersionsPath(st)), "v");
    // The program's version is the one of this build.
    EXPECT_EQ(versionText(installed.program), versionText(buildProgramVersion()));
    EXPECT_GE(installed.program.Major, 5);
    ASSERT_EQ(installed.helps.size(), 1);
    EXPECT_EQ(installed.helps[0].Name, "deutsch");
    ASSERT_EQ(installed.palettes.size(), 1);
    EXPECT_EQ(installed.palettes[0].Name, "Anchor");

    // Nothing pending: nothing happens.
    EXPECT_TRUE(applyPendingUpdates(st).applied.isEmpty());
}

TEST_F(PendingUpdates, EntriesThatWouldLeaveTheirFolderOrWereChangedAreRefused)
{
    const QString outside = m_dir + QStringLiteral("/outside.ctb");
    const struct
    {
        const char* what;
        std::function<void(PendingUpdate&)> spoil;
        const char* expected;
    } cases[] = {
        {"destination outside", [&](PendingUpdate& u) { u.destination = outside; }, "does not go into its data folder"},
        {"destination by ..", [&](PendingUpdate& u) { u.destination = st.PalettesPath + "../outside.ctb"; },
         "does not go into its data folder"},
        {"destination in a subfolder", [&](PendingUpdate& u) { u.destination = st.PalettesPath + "sub/A.ctb"; },
         "does not go into its data folder"},
        {"other extension", [&](PendingUpdate& u) { u.destination = st.PalettesPath + "A.sh"; },
         "does not go into its data folder"},
        {"source outside", [&](PendingUpdate& u) {
             writeFile(m_dir + "/elsewhere.ctb", paletteBytes("A"));
             u.source = m_dir + "/elsewhere.ctb";
         }, "not in the folder of downloaded updates"},
        {"source by ..", [&](PendingUpdate& u) {
             writeFile(m_dir + "/appdata/x.ctb", paletteBytes("A"));
             u.source = pendingUpdatesFolder(st) + "../x.ctb";
         }, "not in the folder of downloaded updates"},
        {"changed after download", [&](PendingUpdate& u) { writeFile(u.source, paletteBytes("B")); },
         "changed after its download"},
        {"no checksum", [&](PendingUpdate& u) { u.sha256.clear(); }, "changed after its download"},
        {"help language that climbs", [&](PendingUpdate& u) {
             u.item.updateType = utHelp;
             u.item.Name = "..";
             u.destination = st.HelpPath + "../x.html";
         }, "does not go into its data folder"},
    };
    for (const auto& c : cases) {
        PendingUpdate u = stage(utPalette, "A", "A.ctb", paletteBytes("A"));
        c.spoil(u);
        writeManifest({u});
        const PendingUpdatesResult result = applyPendingUpdates(st);
        EXPECT_TRUE(result.applied.isEmpty()) << c.what;
        ASSERT_EQ(result.refused.size(), 1) << c.what;
        EXPECT_TRUE(result.refused[0].contains(QString::fromLatin1(c.expected)))
            << c.what << ": " << result.refused[0].toStdString();
        EXPECT_FALSE(QFileInfo::exists(outside)) << c.what;
        EXPECT_FALSE(QFileInfo::exists(st.PalettesPath + "A.ctb")) << c.what;
        EXPECT_FALSE(QFileInfo::exists(pendingUpdatesFolder(st))) << c.what;
    }

    // A damaged manifest applies nothing and is removed with the downloads.
    stage(utPalette, "A", "A.ctb", paletteBytes("A"));
    writeFile(pendingManifestPath(st), "<TVLVersion><Palettes><Palette Major=");
    const PendingUpdatesResult result = applyPendingUpdates(st);
    EXPECT_TRUE(result.applied.isEmpty());
    ASSERT_EQ(result.refused.size(), 1);
    EXPECT_TRUE(result.refused[0].contains("updates.xml")) << result.refused[0].toStdString();
    EXPECT_FALSE(QFileInfo::exists(pendingUpdatesFolder(st)));
}

TEST_F(PendingUpdates, StartUpReadsTheAppliedPalette)
{
    // A data folder of the test's own, with the shipped character sets and one palette.
    const QString data = m_dir + QStringLiteral("/data");
    for (const char* sub : {"characters", "fonts", "languages", "rhodes", "help", "library"}) {
        QDir().mkpath(data + '/' + sub);
        const QString from = testsupport::shippedDataDir() + '/' + sub;
        for (const QString& f : QDir(from).entryList(QDir::Files))
            QFile::copy(from + '/' + f, data + '/' + sub + '/' + f);
    }
    writeFile(data + "/palettes/DMC.ctb", readFile(testsupport::shippedDataDir() + "/palettes/DMC.ctb"));
    const QString ini = m_dir + QStringLiteral("/session.ini");
    Session session({ini, data});
    session.initialise();
    EXPECT_EQ(session.stitch().ColorPalettes.keys(), QStringList{"DMC"});

    // The next start finds a downloaded palette waiting.
    session.settings().writeString(QStringLiteral("AppDataPath"), st.PathData);
    session.settings().sync();
    st.PalettesPath = data + "/palettes/";
    writeManifest({stage(utPalette, "Fresh", "Fresh.ctb", paletteBytes("Fresh"))});
    session.initialise();
    EXPECT_EQ(session.stitch().ColorPalettes.keys(), (QStringList{"DMC", "Fresh v2"}));
    EXPECT_FALSE(QFileInfo::exists(pendingUpdatesFolder(st)));
}

} // namespace
