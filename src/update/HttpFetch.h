#pragma once
// One HTTP GET of the update check, with the limits every fetch from the update server has:
// only HTTPS (plain HTTP to this machine's loopback address is allowed, for a local server),
// redirects only to equally safe addresses, an overall time-out, and a size limit checked
// against the announced length and against every piece as it arrives. Runs in the event loop
// and never blocks it.

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>

class QNetworkAccessManager;

class QTimer;

// Why an address may not be fetched (translation key, with the address as %1), empty when
// it may: HTTPS, or HTTP to a loopback host.
QString refusedAddress(const QUrl& url);

struct FetchResult
{
    enum Status { Ok, Refused, NetworkError, HttpError, TimedOut, TooLarge, Canceled };
    Status status = Ok;
    QByteArray body;
    // The message for the user (translation key and arguments); empty when Ok.
    QString key;
    QStringList arguments;

    bool ok() const { return status == Ok; }
};

class HttpFetch : public QObject
{
    Q_OBJECT
public:
    struct Limits
    {
        qint64 maxBytes = 1 << 20;
        int timeoutMs = 30000;
    };

    HttpFetch(QNetworkAccessManager& manager, QObject* parent = nullptr);
    ~HttpFetch() override;

    // Starts the GET; finished() follows once, also for a refused address (after the call
    // returns). A running fetch is canceled first.
    void start(const QUrl& url, const Limits& limits);
    // Stops a running fetch; finished() reports Canceled.
    void cancel();
    bool isRunning() const { return m_reply != nullptr; }
    QUrl url() const { return m_url; }

signals:
    void progress(qint64 received, qint64 total);
    void finished(const FetchResult& result);

private:
    void onReadyRead();
    void onMetaData();
    void onFinished();
    void stop(FetchResult::Status status, const QString& key);

    QNetworkAccessManager& m_manager;
    QPointer<QNetworkReply> m_reply;
    QTimer* m_timer = nullptr;
    QUrl m_url;
    Limits m_limits;
    QByteArray m_body;
    // Why the reply was aborted (Ok while it runs on its own).
    FetchResult::Status m_abortStatus = FetchResult::Ok;
    QString m_abortKey;
};
