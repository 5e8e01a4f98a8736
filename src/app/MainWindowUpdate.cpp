// The update check of the main window: the "Check for updates ..." command and the monthly
// check in the background.
#include "MainWindow.h"

#include "update/UpdateChecker.h"
#include "update/UpdateLog.h"
#include "update/ui/TFUpdate.h"

#include <QAction>
#include <QTimer>

namespace {

// The background check waits until the window has been up for a while.
constexpr int kUpdateTimerInterval = 20000;

} // namespace

void MainWindow::createUpdateCheck()
{
    m_updateChecker = new UpdateChecker(stitch(), session().settings(), this);
    connect(m_updateChecker, &UpdateChecker::checkFinished, this,
            [this](bool ok) { backgroundCheckFinished(ok); });
    m_updateTimer = new QTimer(this);
    m_updateTimer->setObjectName(QStringLiteral("TimerCheckForUpdates"));
    m_updateTimer->setInterval(kUpdateTimerInterval);
    m_updateTimer->setSingleShot(true);
    connect(m_updateTimer, &QTimer::timeout, this, &MainWindow::TimerCheckForUpdatesTimer);
    connect(action(QStringLiteral("MenuCheckUpdates")), &QAction::triggered, this,
            &MainWindow::MenuCheckForUpdatesClick);
    // The due date was read with the settings; the start itself never waits for the server.
    if (stitch().updateCheckDue)
        m_updateTimer->start();
}

TFUpdate* MainWindow::updateDialog()
{
    if (!m_updateDialog)
        m_updateDialog = new TFUpdate(stitch(), *m_updateChecker, this);
    return m_updateDialog;
}

void MainWindow::MenuCheckForUpdatesClick()
{
    TFUpdate* dialog = updateDialog();
    dialog->vforceShow = true;
    dialog->exec();
}

void MainWindow::TimerCheckForUpdatesTimer()
{
    if (m_backgroundCheckRan)
        return;
    m_updateTimer->stop();
    m_backgroundCheckRan = true;
    // The user is looking already.
    if (m_updateDialog && m_updateDialog->isVisible())
        return;
    if (!m_updateChecker->isConfigured()) {
        qCInfo(lcUpdate) << "no update server is configured; the monthly check is skipped";
        return;
    }
    m_backgroundCheckRunning = m_updateChecker->check();
}

void MainWindow::backgroundCheckFinished(bool ok)
{
    if (!m_backgroundCheckRunning)
        return;
    m_backgroundCheckRunning = false;
    // A failure was logged by the checker; the due date stays, so the next start tries again.
    if (!ok || m_updateChecker->offers().isEmpty())
        return;
    TFUpdate* dialog = updateDialog();
    if (dialog->isVisible())
        return;
    dialog->vforceShow = false;
    dialog->loadOffers();
    dialog->open();
}
