#pragma once
// A small HTTP/1.1 server on 127.0.0.1 for the update tests: each path answers with a fixed
// response, after a delay if asked, with or without its length. Requests are recorded. It
// runs in the test's event loop, so the code under test must return to it (QTest::qWaitFor).

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>

class LoopbackHttpServer : public QObject
{
    Q_OBJECT
public:
    struct Response
    {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "application/xml";
        // Milliseconds before the answer starts.
        int delayMs = 0;
        // Without the length the body ends when the connection closes.
        bool sendLength = true;
        // A redirect target (status 302 with this Location).
        QByteArray location;
    };

    explicit LoopbackHttpServer(QObject* parent = nullptr);

    // "http://127.0.0.1:<port>/"
    QString baseAddress() const;
    void setResponse(const QString& path, const Response& response) { m_responses.insert(path, response); }
    void setBody(const QString& path, const QByteArray& body, int status = 200);
    // The paths with their queries, in the order they were asked for.
    const QStringList& requests() const { return m_requests; }

private:
    void onConnection();

    QTcpServer m_server;
    QHash<QString, Response> m_responses;
    QStringList m_requests;
};
