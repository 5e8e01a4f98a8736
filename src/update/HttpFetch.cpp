#include "HttpFetch.h"

#include <QHostAddress>
#include <QLoggingCategory>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace {

constexpr int kMaxRedirects = 5;

bool isLoopback(const QString& host)
{
    if (host.compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

} // namespace

QString refusedAddress(const QUrl& url)
{
    if (!url.isValid() || url.host().isEmpty())
        return QStringLiteral("The address %1 is not a valid web address.");
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("https"))
        return {};
    if (scheme == QLatin1String("http") && isLoopback(url.host()))
        return {};
    return QStringLiteral("The address %1 is refused: updates are fetched over HTTPS only.");
}

HttpFetch::HttpFetch(QNetworkAccessManager& manager, QObject* parent)
    : QObject(parent), m_manager(manager)
{
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, [this] {
        stop(FetchResult::TimedOut, QStringLiteral("The update server did not answer in time (%1)."));
    });
}

HttpFetch::~HttpFetch()
{
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
        m_reply->deleteLater();
    }
}

void HttpFetch::start(const QUrl& url, const Limits& limits)
{
    if (m_reply)
        cancel();
    m_url = url;
    m_limits = limits;
    m_body.clear();
    m_abortStatus = FetchResult::Ok;
    m_abortKey.clear();
    if (const QString refused = refusedAddress(url); !refused.isEmpty()) {
        FetchResult result;
        result.status = FetchResult::Refused;
        result.key = refused;
        result.arguments = {url.toString()};
        QTimer::singleShot(0, this, [this, result] { emit finished(result); });
        return;
    }
    QNetworkRequest request(url);
    // Redirects are followed only to addresses as safe as the first (never HTTPS to HTTP).
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setTransferTimeout(limits.timeoutMs);
    m_reply = m_manager.get(request);
    connect(m_reply, &QNetworkReply::metaDataChanged, this, &HttpFetch::onMetaData);
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpFetch::onReadyRead);
    connect(m_reply, &QNetworkReply::finished, this, &HttpFetch::onFinished);
    connect(m_reply, &QNetworkReply::redirected, this, [this](const QUrl& target) {
        // The redirect is checked as the first address was.
        if (!refusedAddress(target).isEmpty())
            stop(FetchResult::Refused,
                 QStringLiteral("The address %1 is refused: updates are fetched over HTTPS only."));
    });
    m_timer->start(limits.timeoutMs);
}

void HttpFetch::cancel()
{
    if (m_reply)
        stop(FetchResult::Canceled, QStringLiteral("The download was canceled (%1)."));
}

void HttpFetch::stop(FetchResult::Status status, const QString& key)
{
    if (!m_reply || m_abortStatus != FetchResult::Ok)
        return;
    m_abortStatus = status;
    m_abortKey = key;
    m_reply->abort(); // finished() follows, synchronously
}

void HttpFetch::onMetaData()
{
    if (!m_reply)
        return;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    if (length.isValid() && length.toLongLong() > m_limits.maxBytes)
        stop(FetchResult::TooLarge, QStringLiteral("The file at %1 is larger than %2 bytes."));
}

void HttpFetch::onReadyRead()
{
    if (!m_reply)
        return;
    const qint64 room = m_limits.maxBytes - m_body.size();
    // One byte more than the room tells whether the limit is passed.
    const QByteArray piece = m_reply->read(std::min<qint64>(m_reply->bytesAvailable(), room + 1));
    if (piece.size() > room) {
        stop(FetchResult::TooLarge, QStringLiteral("The file at %1 is larger than %2 bytes."));
        return;
    }
    m_body += piece;
    const QVariant length = m_reply->header(QNetworkRequest::ContentLengthHeader);
    emit progress(m_body.size(), length.isValid() ? length.toLongLong() : -1);
}

void HttpFetch::onFinished()
{
    QNetworkReply* reply = m_reply;
    if (!reply)
        return;
    m_timer->stop();
    if (m_abortStatus == FetchResult::Ok && reply->error() == QNetworkReply::NoError)
        onReadyRead(); // what is left
    m_reply = nullptr;
    reply->disconnect(this);
    reply->deleteLater();

    FetchResult result;
    result.arguments = {m_url.toString()};
    const int httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (m_abortStatus != FetchResult::Ok) {
        result.status = m_abortStatus;
        result.key = m_abortKey;
        if (m_abortStatus == FetchResult::TooLarge)
            result.arguments << QString::number(m_limits.maxBytes);
    } else if (reply->error() == QNetworkReply::OperationCanceledError) {
        // The transfer time-out of the request itself.
        result.status = FetchResult::TimedOut;
        result.key = QStringLiteral("The update server did not answer in time (%1).");
    } else if (httpStatus >= 400 || (reply->error() != QNetworkReply::NoError && httpStatus >= 300)) {
        result.status = FetchResult::HttpError;
        result.key = QStringLiteral("The update server answered %2 for %1.");
        result.arguments << QString::number(httpStatus);
    } else if (reply->error() != QNetworkReply::NoError) {
        result.status = FetchResult::NetworkError;
        result.key = QStringLiteral("The update server could not be reached (%1): %2");
        result.arguments << reply->errorString();
    } else {
        result.body = std::move(m_body);
    }
    m_body.clear();
    emit finished(result);
}
