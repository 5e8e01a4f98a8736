// The update check below its window: the version rules, the server's list and its limits,
// the check against a loopback server (good, malformed, slow, not configured, refused
// addresses), and the download of help pages and palettes into the pending-updates folder.
#include "UpdateFixture.h"

#include "core/QuillError.h"
#include "update/HttpFetch.h"
#include "update/UpdateCatalogue.h"
#include "update/UpdateManifest.h"
#include "update/UpdateNames.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTimer>

using namespace updatetest;

namespace {

const QString kList = QStringLiteral("/DownloadInfo/UpdatesQmk.xml");

TVersionInfo version(int major, int minor, int release)
{
    TVersionInfo v;
    v.Name = QStringLiteral("Quillmark");
    v.Major = major;
    v.Minor = minor;
    v.Release = release;
    return v;
}

QByteArray installers(const QList<TVersionInfo>& items)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<Updates>\n <Installers>\n";
    for (const TVersionInfo& v : items)
        xml += "  <Installer Major=\"" + QByteArray::number(v.Major) + "\" Minor=\""
            + QByteArray::number(v.Minor) + "\" Release=\"" + QByteArray::number(v.Release)
            + "\" URL=\"https://example.org/" + versionText(v).toLatin1() + "\" Filename=\"q.deb\"/>\n";
    return xml + " </Installers>\n</Updates>\n";
}

TEST(UpdateVersions, TheLastQualifyingInstallerOfTheSameMajorVersionIsOffered)
{
    const struct
    {
        TVersionInfo installed;
        QList<TVersionInfo> list;
        const char* offered; // empty: nothing
    } cases[] = {
        {version(5, 1, 3), {version(5, 2, 0), version(5, 1, 9)}, "5.1.9"},
        {version(5, 1, 3), {version(5, 1, 9), version(5, 2, 0)}, "5.2.0"},
        {version(5, 1, 3), {version(6, 0, 0), version(5, 1, 3)}, ""},
        {version(5, 1, 3), {version(5, 1, 4)}, "5.1.4"},
        {version(5, 1, 3), {version(5, 0, 9), version(4, 9, 9)}, ""},
        {version(5, 1, 3), {}, ""},
        // Nothing installed (0.0.0): only major version 0 could qualify, and it is never shown.
        {version(0, 0, 0), {version(0, 1, 0), version(5, 0, 0)}, ""},
    };
    for (const auto& c : cases) {
        const std::optional<TVersionInfo> candidate = programCandidate(c.installed, c.list);
        EXPECT_EQ(candidate ? versionText(*candidate) : QString(), QString::fromLatin1(c.offered))
            << versionText(c.installed).toStdString() << " offered " << c.offered;
    }
    EXPECT_EQ(versionText(7, 0, 12), "7.0.12");
}

TEST(UpdateCatalogueReader, ReadsInstallersHelpPagesAndPalettes)
{
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<List>
  <Installers>
    <A Major="5" Minor="2" Release="0" URL="https://example.org/get" Filename="q.deb"/>
  </Installers>
  <Helps>
    <Help Language="deutsch" Major="5" Minor="0" Release="2" URL="https://example.org/de/print.html" Filename="print.html"/>
  </Helps>
  <Palettes>
    <Palette Name="DMC" Major="2" Minor="0" Release="0" URL="https://example.org/DMC.ctb" Filename="DMC.ctb"/>
  </Palettes>
  <Other Major="x"/>
</List>)";
    const UpdateCatalogue c = readUpdateCatalogue(xml, QStringLiteral("list.xml"));
    ASSERT_EQ(c.installers.size(), 1);
    EXPECT_EQ(versionText(c.installers[0]), "5.2.0");
    EXPECT_EQ(c.installers[0].Name, "Quillmark");
    EXPECT_EQ(c.installers[0].URL, "https://example.org/get");
    ASSERT_EQ(c.helps.size(), 1);
    EXPECT_EQ(c.helps[0].Name, "deutsch");
    EXPECT_EQ(c.helps[0].updateType, utHelp);
    EXPECT_EQ(c.helps[0].Filename, "print.html");
    ASSERT_EQ(c.palettes.size(), 1);
    EXPECT_EQ(c.palettes[0].Name, "DMC");
    EXPECT_EQ(c.palettes[0].updateType, utPalette);

    // A list without any of the three offers nothing.
    const UpdateCatalogue empty = readUpdateCatalogue("<List/>", QStringLiteral("list.xml"));
    EXPECT_TRUE(empty.installers.isEmpty() && empty.helps.isEmpty() && empty.palettes.isEmpty());
}

TEST(UpdateCatalogueReader, RefusesMalformedListsNamingTheFile)
{
    QByteArray many = "<L><Installers>";
    for (int i = 0; i <= kMaxCatalogueItems; ++i)
        many += "<I Major=\"5\" Minor=\"0\" Release=\"0\"/>";
    many += "</Installers></L>";
    QByteArray deep;
    for (int i = 0; i < 40; ++i)
        deep += "<a>";
    for (int i = 0; i < 40; ++i)
        deep += "</a>";
    const struct
    {
        const char* what;
        QByteArray bytes;
        const char* expected; // part of the message
    } cases[] = {
        {"not XML", "this is no list", "not valid XML"},
        {"empty", "", "not valid XML"},
        {"unclosed", "<L><Installers>", "not valid XML"},
        {"letters in a version", R"(<L><Installers><I Major="5" Minor="one" Release="0"/></Installers></L>)",
         "\"Minor\" is not a whole number"},
        {"negative version", R"(<L><Installers><I Major="-5" Minor="0" Release="0"/></Installers></L>)",
         "\"Major\" is not a whole number"},
        {"version beyond 32 bits", R"(<L><Installers><I Major="4294967296" Minor="0" Release="0"/></Installers></L>)",
         "\"Major\" is not a whole number"},
        {"missing release", R"(<L><Installers><I Major="5" Minor="0"/></Installers></L>)",
         "\"Release\" is missing"},
        {"palette without address", R"(<L><Palettes><P Name="DMC" Major="1" Minor="0" Release="0" Filename="DMC.ctb"/></Palettes></L>)",
         "\"URL\" is missing"},
        {"help without language", R"(<L><Helps><H Major="1" Minor="0" Release="0" URL="https://x.org/a.html" Filename="a.html"/></Helps></L>)",
         "\"Language\" is missing"},
        {"document type", "<!DOCTYPE L [<!ENTITY a \"aaaa\">]><L>&a;</L>", "document type definition"},
        {"too many items", many, "more than 500 items"},
        {"too deep", deep, "deeper than"},
        {"too large", QByteArray(kMaxCatalogueBytes + 1, ' '), "larger than"},
    };
    for (const auto& c : cases) {
        try {
            readUpdateCatalogue(c.bytes, QStringLiteral("https://updates.example.org/list.xml"));
            ADD_FAILURE() << c.what << ": accepted";
        } catch (const QuillError& e) {
            EXPECT_TRUE(e.message().contains("https://updates.example.org/list.xml")) << c.what;
            EXPECT_TRUE(e.message().contains(QString::fromLatin1(c.expected)))
                << c.what << ": " << e.message().toStdString();
        }
    }
}

TEST(UpdateNames, OnlyPlainNamesOfTheTargetFolderAreAccepted)
{
    const struct
    {
        const char* name;
        TUpdateType type;
        bool accepted;
    } cases[] = {
        {"DMC.ctb", utPalette, true},
        {"Anchor 2 (new).ctb", utPalette, true},
        {"Für Kinder.ctb", utPalette, true},
        {"print.html", utHelp, true},
        {"page.htm", utHelp, true},
        {"../DMC.ctb", utPalette, false},
        {"..\\DMC.ctb", utPalette, false},
        {"sub/DMC.ctb", utPalette, false},
        {"/etc/passwd", utPalette, false},
        {"C:DMC.ctb", utPalette, false},
        {".hidden.ctb", utPalette, false},
        {"DMC.ctb ", utPalette, false},
        {"a..ctb", utPalette, false},
        {".ctb", utPalette, false},
        {"DMC.ctb\nx.ctb", utPalette, false},
        {"DMC.exe", utPalette, false},
        {"print.html", utPalette, false},
        {"DMC.ctb", utHelp, false},
        {"upgrade.bat", utHelp, false},
        {"quillmark.deb", utProgram, false},
        {"", utPalette, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPlainUpdateFileName(QString::fromUtf8(c.name), c.type), c.accepted) << c.name;
    for (const char* language : {"deutsch", "pt_BR", "zh-Hans"})
        EXPECT_TRUE(isPlainLanguageName(QString::fromLatin1(language))) << language;
    for (const char* language : {"", "..", "../x", "a/b", "de utsch"})
        EXPECT_FALSE(isPlainLanguageName(QString::fromLatin1(language))) << language;

    EXPECT_EQ(fileInFolder(QStringLiteral("/data/palettes/"), QStringLiteral("DMC.ctb")), "/data/palettes/DMC.ctb");
    EXPECT_EQ(fileInFolder(QStringLiteral("/data/palettes/"), QStringLiteral("../DMC.ctb")), QString());
    EXPECT_EQ(fileInFolder(QStringLiteral("/data/palettes/"), QStringLiteral("a/DMC.ctb")), QString());
    EXPECT_EQ(fileInFolder(QString(), QStringLiteral("DMC.ctb")), QString());
}

TEST(UpdateFetch, OnlyHttpsOrTheLoopbackAddressIsFetched)
{
    for (const char* url : {"https://updates.example.org/", "http://127.0.0.1:8080/a", "http://localhost/a",
                            "http://[::1]/a"})
        EXPECT_TRUE(refusedAddress(QUrl(QString::fromLatin1(url))).isEmpty()) << url;
    for (const char* url : {"http://updates.example.org/", "ftp://example.org/a", "file:///etc/passwd",
                            "http://127.0.0.1.example.org/", "not an address", ""})
        EXPECT_FALSE(refusedAddress(QUrl(QString::fromLatin1(url))).isEmpty()) << url;
}

// --- the check against the loopback server ---

using UpdateCheck = UpdateFixture;

TEST_F(UpdateCheck, AGoodListOffersTheProgramHelpPagesAndPalettesAndMovesTheDueDate)
{
    // Installed: the German help 5.0.1 and the DMC palette 2.0.0.
    writeFile(installedVersionsPath(st), R"(<TVLVersion><ProgramRelease Major="1" Minor="0" Release="0"/>
<Helps><Help Language="deutsch" Major="5" Minor="0" Release="1"/></Helps>
<Palettes><Palette Name="DMC" Major="2" Minor="0" Release="0"/></Palettes></TVLVersion>)");
    server.setBody(kList, R"(<?xml version="1.0"?>
<Updates>
  <Installers>
    <I Major="5" Minor="2" Release="0" URL="https://example.org/5.2.0" Filename="q.deb"/>
    <I Major="5" Minor="1" Release="9" URL="https://example.org/5.1.9" Filename="q.deb"/>
    <I Major="6" Minor="0" Release="0" URL="https://example.org/6.0.0" Filename="q.deb"/>
  </Installers>
  <Helps>
    <H Language="deutsch" Major="5" Minor="0" Release="1" URL="https://example.org/de/a.html" Filename="a.html"/>
    <H Language="deutsch" Major="5" Minor="0" Release="2" URL="https://example.org/de/b.html" Filename="b.html"/>
    <H Language="francais" Major="5" Minor="0" Release="0" URL="https://example.org/fr/b.html" Filename="b.html"/>
  </Helps>
  <Palettes>
    <P Name="DMC" Major="2" Minor="0" Release="0" URL="https://example.org/DMC.ctb" Filename="DMC.ctb"/>
    <P Name="Anchor" Major="1" Minor="0" Release="0" URL="https://example.org/A1.ctb" Filename="Anchor.ctb"/>
    <P Name="Anchor" Major="1" Minor="2" Release="0" URL="https://example.org/A2.ctb" Filename="Anchor.ctb"/>
    <P Name="Evil" Major="1" Minor="0" Release="0" URL="https://example.org/e.ctb" Filename="../../evil.ctb"/>
  </Palettes>
</Updates>)");
    store->writeDateTime(QStringLiteral("CheckForUpdatesDate"), QDateTime::currentDateTime().addDays(-3));
    QString message;
    ASSERT_TRUE(runCheck(&message)) << message.toStdString();
    EXPECT_EQ(server.requests(), QStringList{kList});

    const UpdateOffers& offers = checker->offers();
    ASSERT_TRUE(offers.program.has_value());
    EXPECT_EQ(versionText(offers.program->item), "5.1.9"); // the last qualifying entry
    EXPECT_EQ(offers.program->item.URL, "https://example.org/5.1.9");
    EXPECT_EQ(versionText(*offers.program->installed), "5.1.3");
    ASSERT_EQ(offers.helps.size(), 2);
    EXPECT_EQ(offers.helps[0].item.Filename, "b.html");
    EXPECT_EQ(versionText(*offers.helps[0].installed), "5.0.1");
    EXPECT_EQ(offers.helps[1].item.Name, "francais");
    EXPECT_FALSE(offers.helps[1].installed.has_value());
    ASSERT_EQ(offers.palettes.size(), 1);
    EXPECT_EQ(offers.palettes[0].item.Name, "Anchor");
    EXPECT_EQ(versionText(offers.palettes[0].item), "1.2.0"); // the latest of the name
    // The hostile file name is refused, not offered.
    ASSERT_EQ(offers.refused.size(), 1);
    EXPECT_TRUE(offers.refused[0].second.contains("../../evil.ctb"));

    // The monthly check is due again in a month.
    const QDateTime due = *store->readDateTime(QStringLiteral("CheckForUpdatesDate"));
    EXPECT_GT(due, QDateTime::currentDateTime().addDays(27));
    EXPECT_LT(due, QDateTime::currentDateTime().addDays(32));
}

TEST_F(UpdateCheck, AFailedCheckLeavesTheDueDateAndOffersNothing)
{
    const QDateTime due = QDateTime::currentDateTime().addDays(-3);
    const struct
    {
        const char* what;
        LoopbackHttpServer::Response response;
        const char* expected;
    } cases[] = {
        {"malformed list", {200, "<Updates><Installers><I Major=\"5\"", "application/xml", 0, true, {}}, "not valid XML"},
        {"bad version", {200, "<U><Installers><I Major=\"5\" Minor=\"2b\" Release=\"0\"/></Installers></U>", "application/xml", 0, true, {}},
         "not a whole number"},
        {"server error", {500, "broken", "text/plain", 0, true, {}}, "answered 500"},
        {"missing list", {404, "gone", "text/plain", 0, true, {}}, "answered 404"},
        {"slow server", {200, installers({version(5, 2, 0)}), "application/xml", 3000, true, {}}, "did not answer in time"},
        {"oversize list", {200, QByteArray(kMaxCatalogueBytes + 10, 'x'), "application/xml", 0, true, {}}, "larger than"},
        {"oversize list without its length", {200, QByteArray(kMaxCatalogueBytes + 10, 'x'), "application/xml", 0, false, {}},
         "larger than"},
        {"redirect to plain HTTP elsewhere", {302, "", "text/plain", 0, true, "http://updates.example.org/list.xml"},
         "HTTPS only"},
    };
    HttpFetch::Limits limits;
    limits.maxBytes = kMaxCatalogueBytes;
    limits.timeoutMs = 400;
    checker->setCatalogueLimits(limits);
    for (const auto& c : cases) {
        store->writeDateTime(QStringLiteral("CheckForUpdatesDate"), due);
        server.setResponse(kList, c.response);
        QElapsedTimer clock;
        clock.start();
        QString message;
        EXPECT_FALSE(runCheck(&message)) << c.what;
        EXPECT_TRUE(message.contains(QString::fromLatin1(c.expected))) << c.what << ": " << message.toStdString();
        EXPECT_TRUE(checker->offers().isEmpty()) << c.what;
        EXPECT_EQ(store->readDateTime(QStringLiteral("CheckForUpdatesDate"))->toSecsSinceEpoch(), due.toSecsSinceEpoch())
            << c.what;
        EXPECT_LT(clock.elapsed(), 2500) << c.what;
    }
}

TEST_F(UpdateCheck, NoServerNoCheck)
{
    store->writeString(UpdateChecker::kServerSetting, QString());
    EXPECT_FALSE(checker->isConfigured());
    EXPECT_FALSE(checker->check());
    EXPECT_TRUE(checker->notConfiguredMessage().contains("No update server is configured"));
    EXPECT_TRUE(server.requests().isEmpty());

    // A server that is not reached over HTTPS is refused without a request.
    store->writeString(UpdateChecker::kServerSetting, QStringLiteral("http://updates.example.org"));
    QString message;
    EXPECT_FALSE(runCheck(&message));
    EXPECT_TRUE(message.contains("HTTPS only")) << message.toStdString();
}

TEST_F(UpdateCheck, TheUpdatePageNamesLanguageProgramAndVersion)
{
    st.DefaultLanguage = QStringLiteral("deutsch.lang");
    store->writeString(UpdateChecker::kServerSetting, QStringLiteral("https://updates.example.org/q"));
    EXPECT_EQ(checker->catalogueUrl().toString(), "https://updates.example.org/q/DownloadInfo/UpdatesQmk.xml");
    EXPECT_EQ(checker->updatePageUrl().toString(),
              "https://updates.example.org/q/DownloadInfo/UpdatePurchaseQMK.php?Language=deutsch&Program=QMK&Version=5.1.3");
}

// --- downloads ---

TEST_F(UpdateCheck, DownloadedFilesWaitInThePendingFolderWithTheManifest)
{
    server.setBody(QStringLiteral("/files/Anchor.ctb"), paletteBytes("Anchor"));
    server.setBody(QStringLiteral("/files/print.html"), helpPageBytes("Drucken"));
    const TVersionInfo palette = item(utPalette, QStringLiteral("Anchor"), QStringLiteral("Anchor.ctb"),
                                      QStringLiteral("files/Anchor.ctb"), 1, 2, 0);
    const TVersionInfo help = item(utHelp, QStringLiteral("deutsch"), QStringLiteral("print.html"),
                                   QStringLiteral("files/print.html"));
    int progressCalls = 0;
    QObject::connect(checker.get(), &UpdateChecker::downloadProgress, [&] { ++progressCalls; });
    QString message;
    ASSERT_EQ(runDownload({version(5, 2, 0), palette, help}, &message), UpdateChecker::DownloadOk)
        << message.toStdString();
    EXPECT_GT(progressCalls, 0);
    // The program entry is not downloaded.
    EXPECT_EQ(server.requests(), (QStringList{"/files/Anchor.ctb", "/files/print.html"}));

    const QList<PendingUpdate> pending = readManifest(readFile(pendingManifestPath(st)), QStringLiteral("m"));
    ASSERT_EQ(pending.size(), 2);
    // Help entries come first in the manifest.
    EXPECT_EQ(pending[0].item.Name, "deutsch");
    EXPECT_EQ(pending[0].destination, QDir::cleanPath(st.HelpPath + "deutsch/print.html"));
    EXPECT_EQ(pending[1].item.Name, "Anchor");
    EXPECT_EQ(versionText(pending[1].item), "1.2.0");
    EXPECT_EQ(pending[1].destination, QDir::cleanPath(st.PalettesPath + "Anchor.ctb"));
    EXPECT_EQ(readFile(pending[1].source), paletteBytes("Anchor"));
    EXPECT_EQ(pending[1].sha256, sha256Hex(paletteBytes("Anchor")));
    EXPECT_TRUE(QFileInfo(pending[1].source).absolutePath() + '/' == pendingUpdatesFolder(st));
    // Nothing is in the data folders yet.
    EXPECT_FALSE(QFileInfo::exists(st.PalettesPath + "Anchor.ctb"));

    // A second download of the same file replaces its entry; the others stay.
    server.setBody(QStringLiteral("/files/Anchor.ctb"), paletteBytes("Anchor"));
    ASSERT_EQ(runDownload({palette}), UpdateChecker::DownloadOk);
    const QList<PendingUpdate> again = readManifest(readFile(pendingManifestPath(st)), QStringLiteral("m"));
    ASSERT_EQ(again.size(), 2);
    EXPECT_EQ(again[0], pending[0]);
    EXPECT_NE(again[1].source, pending[1].source);
}

TEST_F(UpdateCheck, ABadDownloadStagesNothing)
{
    const QByteArray big(kMaxUpdateFileBytes + 1, 'x');
    const struct
    {
        const char* what;
        LoopbackHttpServer::Response response;
        TUpdateType type;
        const char* file;
        const char* expected;
    } cases[] = {
        {"oversize", {200, big, "text/plain", 0, true, {}}, utPalette, "A.ctb", "larger than"},
        {"oversize without its length", {200, big, "text/plain", 0, false, {}}, utPalette, "A.ctb", "larger than"},
        {"not a palette", {200, "\"Snow\", B5200, white, 255, 255, 93\r\n", "text/plain", 0, true, {}}, utPalette, "A.ctb",
         "A.ctb"},
        {"empty palette", {200, ";$NEmpty\r\n", "text/plain", 0, true, {}}, utPalette, "A.ctb", "no colours"},
        {"help page that is no HTML", {200, "#!/bin/sh\nrm -rf ~\n", "text/plain", 0, true, {}}, utHelp, "a.html",
         "not an HTML document"},
        {"help page that is no UTF-8", {200, "<html>\xff\xfe</html>", "text/html", 0, true, {}}, utHelp, "a.html",
         "not UTF-8"},
        {"hostile file name", {200, paletteBytes("A"), "text/plain", 0, true, {}}, utPalette, "../../A.ctb",
         "not a plain name"},
        {"server error", {503, "busy", "text/plain", 0, true, {}}, utPalette, "A.ctb", "answered 503"},
    };
    for (const auto& c : cases) {
        server.setResponse(QStringLiteral("/f"), c.response);
        const TVersionInfo v = item(c.type, c.type == utHelp ? QStringLiteral("deutsch") : QStringLiteral("A"),
                                    QString::fromLatin1(c.file), QStringLiteral("f"));
        QString message;
        EXPECT_EQ(runDownload({v}, &message), UpdateChecker::DownloadError) << c.what;
        EXPECT_TRUE(message.contains(QString::fromLatin1(c.expected))) << c.what << ": " << message.toStdString();
        EXPECT_FALSE(QFileInfo::exists(pendingManifestPath(st))) << c.what;
        const QStringList staged = QDir(pendingUpdatesFolder(st)).entryList(QDir::Files);
        EXPECT_TRUE(staged.isEmpty()) << c.what << ": " << staged.join(' ').toStdString();
    }
}

TEST_F(UpdateCheck, ACanceledDownloadStagesNothing)
{
    server.setBody(QStringLiteral("/files/A.ctb"), paletteBytes("A"));
    LoopbackHttpServer::Response slow;
    slow.body = paletteBytes("B");
    slow.delayMs = 5000;
    server.setResponse(QStringLiteral("/files/B.ctb"), slow);
    bool done = false;
    int code = -1;
    QObject::connect(checker.get(), &UpdateChecker::downloadFinished, [&](int c) { done = true; code = c; });
    QObject::connect(checker.get(), &UpdateChecker::downloadProgress, [&](int index) {
        if (index == 1)
            QTimer::singleShot(50, checker.get(), [&] { checker->cancel(); });
    });
    ASSERT_TRUE(checker->download({item(utPalette, "A", "A.ctb", "files/A.ctb"),
                                   item(utPalette, "B", "B.ctb", "files/B.ctb")}));
    EXPECT_TRUE(checker->isDownloading());
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, 4000));
    EXPECT_EQ(code, UpdateChecker::DownloadCanceled);
    EXPECT_FALSE(checker->isDownloading());
    EXPECT_FALSE(QFileInfo::exists(pendingManifestPath(st)));
    EXPECT_TRUE(QDir(pendingUpdatesFolder(st)).entryList(QDir::Files).isEmpty());
}

TEST_F(UpdateCheck, ACheckerClosedWhileItWaitsReportsNothing)
{
    // The window closes while the server still has to answer (the application ends).
    LoopbackHttpServer::Response slow;
    slow.body = installers({version(5, 2, 0)});
    slow.delayMs = 300;
    server.setResponse(kList, slow);
    int reports = 0;
    QObject::connect(checker.get(), &UpdateChecker::checkFinished, [&] { ++reports; });
    ASSERT_TRUE(checker->check());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !server.requests().isEmpty(); }, 5000));
    checker.reset();
    QTest::qWait(500);
    EXPECT_EQ(reports, 0);
}

} // namespace
