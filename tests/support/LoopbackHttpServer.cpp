#include "LoopbackHttpServer.h"

#include <QPointer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

LoopbackHttpServer::LoopbackHttpServer(QObject* parent) : QObject(parent)
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackHttpServer::onConnection);
}

QString LoopbackHttpServer::baseAddress() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_server.serverPort());
}

void LoopbackHttpServer::setBody(const QString& path, const QByteArray& body, int status)
{
    Response r;
    r.body = body;
    r.status = status;
    m_responses.insert(path, r);
}

void LoopbackHttpServer::onConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        auto* buffer = new QByteArray;
        connect(socket, &QTcpSocket::disconnected, socket, [socket, buffer] {
            delete buffer;
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, buffer] {
            buffer->append(socket->readAll());
            const qsizetype end = buffer->indexOf("\r\n\r\n");
            if (end < 0)
                return;
            const QList<QByteArray> first = buffer->left(buffer->indexOf("\r\n")).split(' ');
            buffer->clear();
            const QString target = QString::fromLatin1(first.value(1));
            m_requests << target;
            const QString path = QUrl(target).path();
            Response r;
            if (m_responses.contains(path))
                r = m_responses.value(path);
            else {
                r.status = 404;
                r.body = "not found";
            }
            QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + " Status\r\n";
            head += "Content-Type: " + r.contentType + "\r\n";
            if (!r.location.isEmpty())
                head += "Location: " + r.location + "\r\n";
            if (r.sendLength)
                head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
            head += "Connection: close\r\n\r\n";
            QPointer<QTcpSocket> guard(socket);
            QTimer::singleShot(r.delayMs, this, [guard, head, r] {
                if (!guard)
                    return;
                guard->write(head);
                guard->write(r.body);
                guard->disconnectFromHost();
            });
        });
    }
}
