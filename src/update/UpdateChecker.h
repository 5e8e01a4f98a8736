#pragma once
// The update check without its window: the server's address (the setting "UpdateServer",
// empty by default: then there is no check), the fetch and comparison of the server's list,
// the next due date of the monthly check, and the download of selected help pages and
// palettes into the pending-updates folder with the manifest that the next start applies.
// Everything runs in the event loop; nothing blocks it and nothing downloaded is executed.

#include "HttpFetch.h"
#include "UpdateCatalogue.h"
#include "UpdateManifest.h"

#include <QObject>
#include <QUrl>

class QNetworkAccessManager;
class SettingsStore;
class TStitch;

class UpdateChecker : public QObject
{
    Q_OBJECT
public:
    // The result of a download of selected updates.
    enum DownloadCode { DownloadOk = 0, DownloadCanceled = 1, DownloadError = 2 };

    UpdateChecker(TStitch& stitch, SettingsStore& store, QObject* parent = nullptr);
    ~UpdateChecker() override;

    // The settings value that holds the server's base address.
    static const QString kServerSetting;

    // The server's base address; empty when none is configured.
    QString serverAddress() const;
    bool isConfigured() const { return !serverAddress().isEmpty(); }
    // The list: "<base>DownloadInfo/UpdatesQmk.xml".
    QUrl catalogueUrl() const;
    // The update page of the installed version in the current language:
    // "<base>DownloadInfo/UpdatePurchaseQMK.php?Language=<language>&Program=QMK&Version=<version>".
    QUrl updatePageUrl() const;

    // The installed program (the version of this build unless set) and the installed help
    // pages and palettes (from "CurrentVersion.xml", read at each check).
    void setInstalledProgram(const TVersionInfo& program) { m_program = program; }
    const InstalledVersions& installed() const { return m_installed; }

    void setCatalogueLimits(const HttpFetch::Limits& limits) { m_catalogueLimits = limits; }
    void setFileLimits(const HttpFetch::Limits& limits) { m_fileLimits = limits; }

    // Starts a check; false (and no signal) when no server is configured or one is running.
    bool check();
    bool isChecking() const;
    // What the last successful check offers (empty after a failed one).
    const UpdateOffers& offers() const { return m_offers; }

    // Downloads the selected help pages and palettes (program items are skipped: a program
    // is installed by the package manager). False (and no signal) when nothing is to be
    // downloaded or something is running.
    bool download(const QList<TVersionInfo>& selected);
    bool isDownloading() const { return m_downloading; }
    // Stops a running check or download.
    void cancel();

    // The translated "no update server" message.
    QString notConfiguredMessage() const;

signals:
    // The check ended: ok, or the translated message of the failure.
    void checkFinished(bool ok, const QString& message);
    // Item `index` of `count` of a download is arriving.
    void downloadProgress(int index, int count, qint64 received, qint64 total);
    // The download ended with its code; `message` holds the translated reason of an error.
    void downloadFinished(int code, const QString& message);

private:
    void catalogueFetched(const FetchResult& result);
    void fetchNext();
    void fileFetched(const FetchResult& result);
    void finishDownload(int code, const QString& message);
    QString translated(const QString& key, const QStringList& arguments) const;
    void readInstalled();

    TStitch& m_stitch;
    SettingsStore& m_store;
    QNetworkAccessManager* m_manager = nullptr;
    HttpFetch* m_catalogueFetch = nullptr;
    HttpFetch* m_fileFetch = nullptr;
    TVersionInfo m_program;
    InstalledVersions m_installed;
    UpdateOffers m_offers;
    HttpFetch::Limits m_catalogueLimits;
    HttpFetch::Limits m_fileLimits;
    // The running download: the items, the next one, and the files staged so far.
    bool m_downloading = false;
    QList<TVersionInfo> m_queue;
    int m_next = 0;
    QList<PendingUpdate> m_staged;
};
