#include "UpdateChecker.h"

#include "UpdateLog.h"
#include "UpdateNames.h"
#include "core/Product.h"
#include "core/QuillError.h"
#include "core/SafeSave.h"
#include "core/SettingsStore.h"
#include "core/TStitch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QUrlQuery>

Q_LOGGING_CATEGORY(lcUpdate, "quillmark.update")

const QString UpdateChecker::kServerSetting = QStringLiteral("UpdateServer");


UpdateChecker::UpdateChecker(TStitch& stitch, SettingsStore& store, QObject* parent)
    : QObject(parent), m_stitch(stitch), m_store(store), m_program(buildProgramVersion())
{
    m_manager = new QNetworkAccessManager(this);
    m_catalogueFetch = new HttpFetch(*m_manager, this);
    m_fileFetch = new HttpFetch(*m_manager, this);
    connect(m_catalogueFetch, &HttpFetch::finished, this, &UpdateChecker::catalogueFetched);
    connect(m_fileFetch, &HttpFetch::finished, this, &UpdateChecker::fileFetched);
    connect(m_fileFetch, &HttpFetch::progress, this, [this](qint64 received, qint64 total) {
        emit downloadProgress(m_next - 1, int(m_queue.size()), received, total);
    });
    m_catalogueLimits.maxBytes = kMaxCatalogueBytes;
    m_fileLimits.maxBytes = kMaxUpdateFileBytes;
    m_installed.program = m_program;
}

UpdateChecker::~UpdateChecker()
{
    // The fetches go before the network manager, so that no reply it deletes can report to a
    // checker that is half destroyed.
    delete m_catalogueFetch;
    delete m_fileFetch;
}

QString UpdateChecker::serverAddress() const
{
    return m_store.readString(kServerSetting).value_or(QString()).trimmed();
}

QUrl UpdateChecker::catalogueUrl() const
{
    QString base = serverAddress();
    if (base.isEmpty())
        return {};
    if (!base.endsWith(u'/'))
        base += u'/';
    return QUrl(base + QStringLiteral("DownloadInfo/UpdatesQmk.xml"));
}

QUrl UpdateChecker::updatePageUrl() const
{
    QString base = serverAddress();
    if (base.isEmpty())
        return {};
    if (!base.endsWith(u'/'))
        base += u'/';
    QString language = QFileInfo(m_stitch.DefaultLanguage).completeBaseName();
    if (language.isEmpty())
        language = QStringLiteral("english");
    QUrl url(base + QStringLiteral("DownloadInfo/UpdatePurchaseQMK.php"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("Language"), language);
    query.addQueryItem(QStringLiteral("Program"), QStringLiteral("QMK"));
    query.addQueryItem(QStringLiteral("Version"), versionText(m_program));
    url.setQuery(query);
    return url;
}

QString UpdateChecker::notConfiguredMessage() const
{
    return translated(QStringLiteral("No update server is configured: the setting \"%1\" in %2 is empty."),
                      {kServerSetting, QDir::toNativeSeparators(m_store.fileName())});
}

QString UpdateChecker::translated(const QString& key, const QStringList& arguments) const
{
    return QuillError(key, arguments).translated(m_stitch);
}

bool UpdateChecker::isChecking() const
{
    return m_catalogueFetch->isRunning();
}

void UpdateChecker::readInstalled()
{
    m_installed = InstalledVersions();
    const QString path = installedVersionsPath(m_stitch);
    QFile file(path);
    if (!path.isEmpty() && file.exists()) {
        try {
            if (!file.open(QIODevice::ReadOnly))
                throw QuillError(QStringLiteral("Cannot read the update file %1: %2"),
                                 {QDir::toNativeSeparators(path), file.errorString()});
            m_installed = readInstalledVersions(file.read(kMaxCatalogueBytes + 1), path);
        } catch (const QuillError& e) {
            // What is installed is then unknown: every help page and palette is offered.
            qCWarning(lcUpdate).noquote() << e.message();
        }
    }
    // The program's version is the one of this build; the package manager installs it.
    m_installed.program = m_program;
}

bool UpdateChecker::check()
{
    if (!isConfigured() || isChecking() || m_downloading)
        return false;
    m_offers = UpdateOffers();
    readInstalled();
    const QUrl url = catalogueUrl();
    qCInfo(lcUpdate).noquote() << "checking" << url.toString();
    // A server on this machine is reached directly, never through a proxy.
    if (refusedAddress(url).isEmpty() && url.scheme() == QLatin1String("http"))
        m_manager->setProxy(QNetworkProxy::NoProxy);
    else
        m_manager->setProxy(QNetworkProxy::DefaultProxy);
    m_catalogueFetch->start(url, m_catalogueLimits);
    return true;
}

void UpdateChecker::catalogueFetched(const FetchResult& result)
{
    if (!result.ok()) {
        qCWarning(lcUpdate).noquote() << QuillError::fill(result.key, result.arguments);
        emit checkFinished(false, translated(result.key, result.arguments));
        return;
    }
    try {
        const UpdateCatalogue catalogue = readUpdateCatalogue(result.body, catalogueUrl().toString());
        m_offers = compareVersions(m_installed, catalogue);
    } catch (const QuillError& e) {
        qCWarning(lcUpdate).noquote() << e.message();
        emit checkFinished(false, e.translated(m_stitch));
        return;
    }
    for (const auto& [key, arguments] : m_offers.refused)
        qCWarning(lcUpdate).noquote() << QuillError::fill(key, arguments);
    // The list was read: the monthly check is due again in a month (the same day and time,
    // or the last day of a shorter month).
    m_store.writeDateTime(QStringLiteral("CheckForUpdatesDate"), QDateTime::currentDateTime().addMonths(1));
    if (!m_store.sync())
        qCWarning(lcUpdate).noquote() << m_store.errorText();
    emit checkFinished(true, QString());
}

bool UpdateChecker::download(const QList<TVersionInfo>& selected)
{
    if (m_downloading || isChecking())
        return false;
    m_queue.clear();
    for (const TVersionInfo& item : selected)
        if (item.updateType != utProgram)
            m_queue << item;
    if (m_queue.isEmpty())
        return false;
    m_downloading = true;
    m_next = 0;
    m_staged.clear();
    // The queue starts from the event loop, so that every result arrives as a signal.
    QMetaObject::invokeMethod(this, &UpdateChecker::fetchNext, Qt::QueuedConnection);
    return true;
}

void UpdateChecker::fetchNext()
{
    if (!m_downloading)
        return;
    const QString folder = pendingUpdatesFolder(m_stitch);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        finishDownload(DownloadError, translated(QStringLiteral("The folder for downloaded updates %1 cannot be made."),
                                                 {QDir::toNativeSeparators(folder)}));
        return;
    }
    if (m_next >= m_queue.size()) {
        // Every file is here and checked: the manifest lists them with the ones still waiting
        // from an earlier download (a later download of the same file replaces it).
        QList<PendingUpdate> all;
        const QString manifest = pendingManifestPath(m_stitch);
        QFile old(manifest);
        if (old.exists() && old.open(QIODevice::ReadOnly)) {
            try {
                all = readManifest(old.read(1 << 20), manifest);
            } catch (const QuillError& e) {
                qCWarning(lcUpdate).noquote() << e.message();
            }
        }
        for (const PendingUpdate& u : m_staged) {
            all.erase(std::remove_if(all.begin(), all.end(), [&](const PendingUpdate& p) {
                          return p.destination == u.destination;
                      }), all.end());
            all << u;
        }
        try {
            writeFileSafely(manifest, manifestBytes(all), QStringLiteral("update manifest"));
        } catch (const QuillError& e) {
            finishDownload(DownloadError, e.translated(m_stitch));
            return;
        }
        finishDownload(DownloadOk, QString());
        return;
    }
    const TVersionInfo& item = m_queue.at(m_next++);
    if (updateDestination(m_stitch, item).isEmpty()) {
        finishDownload(DownloadError,
                       translated(QStringLiteral("The update \"%1\" was refused: its file name \"%2\" is not a plain name of its folder."),
                                  {item.Name, item.Filename}));
        return;
    }
    qCInfo(lcUpdate).noquote() << "downloading" << item.URL;
    emit downloadProgress(m_next - 1, int(m_queue.size()), 0, -1);
    m_fileFetch->start(QUrl(item.URL), m_fileLimits);
}

void UpdateChecker::fileFetched(const FetchResult& result)
{
    if (!m_downloading)
        return;
    if (result.status == FetchResult::Canceled) {
        finishDownload(DownloadCanceled, QString());
        return;
    }
    if (!result.ok()) {
        finishDownload(DownloadError, translated(result.key, result.arguments));
        return;
    }
    TVersionInfo item = m_queue.at(m_next - 1);
    // The download's own name in the folder: its place in the queue and the plain file name.
    const QString staged = pendingUpdatesFolder(m_stitch) + QStringLiteral("%1-%2-%3")
        .arg(QDateTime::currentMSecsSinceEpoch()).arg(m_next).arg(item.Filename);
    try {
        writeFileSafely(staged, result.body, QStringLiteral("downloaded update"));
        checkUpdateFile(staged, item);
    } catch (const QuillError& e) {
        QFile::remove(staged);
        finishDownload(DownloadError, e.translated(m_stitch));
        return;
    }
    PendingUpdate u;
    u.destination = updateDestination(m_stitch, item);
    u.source = staged;
    u.sha256 = sha256Hex(result.body);
    item.Filename = QFileInfo(u.destination).fileName();
    u.item = item;
    m_staged << u;
    fetchNext();
}

void UpdateChecker::finishDownload(int code, const QString& message)
{
    if (code != DownloadOk)
        for (const PendingUpdate& u : m_staged)
            QFile::remove(u.source);
    if (code == DownloadError)
        qCWarning(lcUpdate).noquote() << message;
    m_staged.clear();
    m_queue.clear();
    m_downloading = false;
    emit downloadFinished(code, message);
}

void UpdateChecker::cancel()
{
    if (isChecking())
        m_catalogueFetch->cancel();
    if (m_downloading) {
        if (m_fileFetch->isRunning())
            m_fileFetch->cancel(); // fileFetched finishes as canceled
        else
            finishDownload(DownloadCanceled, QString());
    }
}
