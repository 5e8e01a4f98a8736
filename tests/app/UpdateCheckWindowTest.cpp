// The main window's update check: the monthly check waits for its timer and never holds up
// the start, runs once per run, fails quietly into the log, and shows the update window only
// when something is offered; "Check for updates ..." works whatever the monthly setting says.
#include "ModalScript.h"
#include "app/MainWindow.h"
#include "core/SettingsStore.h"
#include "support/LoopbackHttpServer.h"
#include "support/TestSupport.h"
#include "update/UpdateChecker.h"
#include "update/ui/TFUpdate.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {

using namespace apptest;

const QString kList = QStringLiteral("/DownloadInfo/UpdatesQmk.xml");

// The messages of the update log while a test runs.
QStringList g_log;
QtMessageHandler g_previous = nullptr;
void logHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (context.category && QByteArray(context.category) == "quillmark.update")
        g_log << message;
    else if (g_previous)
        g_previous(type, context, message);
}

class UpdateCheckWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        g_log.clear();
        g_previous = qInstallMessageHandler(logHandler);
        m_dir = testsupport::currentTestPath();
        QDir(m_dir).removeRecursively();
        QDir().mkpath(m_dir + "/appdata");
        m_ini = m_dir + "/settings.ini";
    }
    void TearDown() override
    {
        w.reset();
        qInstallMessageHandler(g_previous);
    }

    // The settings of an installed program whose monthly check is due (or not).
    void start(bool due, const QString& server)
    {
        {
            SettingsStore s(m_ini);
            s.writeInteger("maxColors", 600);
            s.writeString("AppDataPath", m_dir + "/appdata/");
            s.writeString("DefaultColorTable", "DMC");
            s.writeString("DefaultCharacterMap", "Quillmark Symbols");
            s.writeString(UpdateChecker::kServerSetting, server);
            s.writeBool("CheckForUpdates", true);
            s.writeDateTime("CheckForUpdatesDate", QDateTime::currentDateTime().addDays(due ? -2 : 2));
            s.sync();
        }
        QElapsedTimer clock;
        clock.start();
        w = std::make_unique<MainWindow>(Session::Options{m_ini, testsupport::shippedDataDir()});
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        m_startMs = clock.elapsed();
        TVersionInfo installed;
        installed.Name = "Quillmark";
        installed.Major = 5;
        installed.Minor = 1;
        installed.Release = 3;
        w->updateChecker()->setInstalledProgram(installed);
    }

    QDateTime dueDate() const { return *SettingsStore(m_ini).readDateTime("CheckForUpdatesDate"); }

    LoopbackHttpServer server;
    QString m_dir;
    QString m_ini;
    qint64 m_startMs = 0;
    std::unique_ptr<MainWindow> w;
};

TEST_F(UpdateCheckWindow, ADueCheckWaitsForItsTimerAndFailsQuietly)
{
    LoopbackHttpServer::Response slow;
    slow.body = "<Updates/>";
    slow.delayMs = 5000;
    server.setResponse(kList, slow);
    start(true, server.baseAddress());
    // The start asked the server nothing; the check waits 20 seconds for its timer.
    EXPECT_TRUE(server.requests().isEmpty());
    ASSERT_TRUE(w->updateTimer()->isActive());
    EXPECT_EQ(w->updateTimer()->interval(), 20000);
    const QDateTime due = dueDate();

    HttpFetch::Limits limits;
    limits.timeoutMs = 300;
    limits.maxBytes = kMaxCatalogueBytes;
    w->updateChecker()->setCatalogueLimits(limits);
    ModalScript script; // any modal window would be recorded as unexpected
    QElapsedTimer clock;
    clock.start();
    w->TimerCheckForUpdatesTimer();
    EXPECT_LT(clock.elapsed(), 200); // the tick does not wait for the server
    EXPECT_FALSE(w->updateTimer()->isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->updateChecker()->isChecking(); }, 5000));
    QTest::qWait(50);
    EXPECT_EQ(script.unexpected, 0) << script.titles.join(", ").toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(w->updateDialog()->isHidden());
    EXPECT_TRUE(g_log.join('\n').contains("did not answer in time")) << g_log.join('\n').toStdString();
    EXPECT_EQ(dueDate(), due); // the next start tries again
    EXPECT_EQ(server.requests().size(), 1);

    // Once per run: a second tick asks nothing.
    w->TimerCheckForUpdatesTimer();
    QTest::qWait(50);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(UpdateCheckWindow, ABackgroundCheckShowsTheWindowOnlyWithAnOffer)
{
    server.setBody(kList, "<U><Installers><I Major=\"5\" Minor=\"1\" Release=\"3\"/></Installers></U>");
    start(true, server.baseAddress());
    w->TimerCheckForUpdatesTimer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 1 && !w->updateChecker()->isChecking(); }, 5000));
    QTest::qWait(50);
    EXPECT_TRUE(w->updateDialog()->isHidden());
    EXPECT_GT(dueDate(), QDateTime::currentDateTime().addDays(27)); // moved on by a month

    // The next run finds a newer release: the window shows it.
    w.reset();
    server.setBody(kList, "<U><Installers><I Major=\"5\" Minor=\"2\" Release=\"0\" URL=\"https://example.org/d\"/></Installers></U>");
    start(true, server.baseAddress());
    w->TimerCheckForUpdatesTimer();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->updateDialog()->isVisible(); }, 5000));
    QTreeWidgetItem* program = w->updateDialog()->groupItem(TFUpdate::groupProgram);
    ASSERT_EQ(program->childCount(), 1);
    EXPECT_EQ(program->child(0)->text(1), "5.2.0");
    w->updateDialog()->cancelButton()->click();
}

TEST_F(UpdateCheckWindow, NotDueNoTimerAndATickWhileTheWindowIsOpenIsSkipped)
{
    server.setBody(kList, "<U/>");
    start(false, server.baseAddress());
    EXPECT_FALSE(w->updateTimer()->isActive());
    EXPECT_LT(m_startMs, 20000);

    // The user opens the window; the monthly tick comes meanwhile and is skipped.
    QAction* command = w->action("MenuCheckUpdates");
    ASSERT_NE(command, nullptr);
    EXPECT_TRUE(command->isEnabled());
    bool ticked = false;
    ModalScript script({[&](QWidget* d) {
        EXPECT_EQ(d, w->updateDialog());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !w->updateChecker()->isChecking() && server.requests().size() == 1; }, 5000));
        w->TimerCheckForUpdatesTimer();
        ticked = true;
        QTest::qWait(50);
        EXPECT_EQ(w->updateDialog()->statusLabel()->text(), "Search closed");
        w->updateDialog()->cancelButton()->click();
    }});
    command->trigger();
    EXPECT_TRUE(script.done());
    EXPECT_TRUE(ticked);
    EXPECT_EQ(server.requests().size(), 1);
}

TEST_F(UpdateCheckWindow, WithoutAServerTheCommandSaysSo)
{
    start(true, QString());
    w->TimerCheckForUpdatesTimer(); // nothing to ask, nothing shown
    // The window opens and its check says at once that there is no server; the message box
    // may be seen before the window or after it.
    QStringList texts;
    const ModalScript::Step answer = [&](QWidget* d) {
        if (auto* box = qobject_cast<QMessageBox*>(d)) {
            texts << box->text();
            box->close();
            return;
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !texts.isEmpty(); }, 5000));
        d->close();
    };
    ModalScript script({answer, answer});
    w->action("MenuCheckUpdates")->trigger();
    EXPECT_TRUE(script.done());
    ASSERT_EQ(texts.size(), 1);
    EXPECT_TRUE(texts[0].contains("No update server is configured")) << texts[0].toStdString();
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace
