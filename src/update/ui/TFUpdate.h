#pragma once
// The update window "Check for updates": a thin view over UpdateChecker. The list of offers
// grouped as program, help files and palettes; beside it the offered release's download page
// and the update page as links; the download of the ticked help pages and palettes with its
// progress; Close (Cancel while something runs) and Help.

#include "update/VersionInfo.h"

#include <QDialog>
#include <QUrl>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;
class TStitch;
class UpdateChecker;

class TFUpdate : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kHelpContext = 295;
    enum Group { groupProgram = 0, groupHelp = 1, groupPalettes = 2 };

    TFUpdate(TStitch& stitch, UpdateChecker& checker, QWidget* parent = nullptr);
    ~TFUpdate() override;

    // The user opened the window: showing it starts a check.
    bool vforceShow = false;

    // Captions, group headers and the side panel in the current language.
    void translateUi();
    // The checker's offers as the list's rows (ticked) and the side panel's links.
    void loadOffers();
    // The ticked help pages and palettes.
    QList<TVersionInfo> selectedUpdates() const;

    QTreeWidget* list() const { return m_list; }
    QTextBrowser* browser() const { return m_browser; }
    QLabel* statusLabel() const { return m_status; }
    QProgressBar* progressBar() const { return m_progress; }
    QPushButton* installButton() const { return m_install; }
    QPushButton* cancelButton() const { return m_cancel; }
    QPushButton* helpButton() const { return m_help; }
    QTreeWidgetItem* groupItem(Group group) const;

    // Replace the message box and the opening of a web address (tests); null restores them.
    void setMessageHandler(std::function<void(const QString&)> handler) { m_messageHandler = std::move(handler); }
    void setLinkHandler(std::function<void(const QUrl&)> handler) { m_linkHandler = std::move(handler); }

public slots:
    // "Install selected free updates": downloads the ticked help pages and palettes.
    void actInstallExecute();
    // Stops what runs and closes the window.
    void ActCancelExecute();
    void HelpClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormActivate();
    void checkFinished(bool ok, const QString& message);
    void downloadFinished(int code, const QString& message);
    void setStatus(const QString& key);
    void updateCommands();
    void showSidePanel();
    void openLink(const QUrl& url);
    void showMessage(const QString& text);

    TStitch& m_stitch;
    UpdateChecker& m_checker;
    QTreeWidget* m_list = nullptr;
    QTextBrowser* m_browser = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_install = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
    QString m_statusKey;
    // The window started the running check and shows its result.
    bool m_ownCheck = false;
    // A check ended with offers to show in the side panel.
    bool m_checked = false;
    std::function<void(const QString&)> m_messageHandler;
    std::function<void(const QUrl&)> m_linkHandler;
};
