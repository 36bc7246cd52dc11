#include "LoopbackServer.h"

#include <QHostAddress>
#include <QTcpSocket>

LoopbackServer::LoopbackServer(Mode mode, QObject* parent) : QObject(parent), m_mode(mode)
{
    m_server.listen(QHostAddress::LocalHost);
    connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::onNewConnection);
}

QUrl LoopbackServer::url(bool https) const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2/api/send")
                    .arg(https ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(m_server.serverPort()));
}

QUrl LoopbackServer::refusingUrl()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("http://127.0.0.1:%1/api/send").arg(port));
}

void LoopbackServer::onNewConnection()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        ++m_connections;
        socket->setParent(this);
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_pending.remove(socket);
            socket->deleteLater();
        });
        if (m_mode == Mode::notHttp) {
            socket->write("this is not the server you are looking for\r\n");
            socket->disconnectFromHost();
        }
    }
}

void LoopbackServer::onReadyRead(QTcpSocket* socket)
{
    QByteArray& buffer = m_pending[socket];
    buffer += socket->readAll();
    if (m_mode == Mode::notHttp)
        return;
    for (;;) {
        const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
        Request request;
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        request.method = requestLine.value(0);
        request.path = requestLine.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                       lines[i].mid(colon + 1).trimmed());
        }
        const qsizetype length = request.headers.value("content-length", "0").toLongLong();
        if (buffer.size() < headerEnd + 4 + length)
            return;
        request.body = buffer.mid(headerEnd + 4, length);
        buffer.remove(0, headerEnd + 4 + length);
        m_requests.append(request);
        if (m_mode == Mode::answer)
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 0\r\nSet-Cookie: visitor=4711; Path=/\r\n\r\n");
    }
}
