#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QUrl>

class QTcpSocket;

// A minimal HTTP/1.1 server on 127.0.0.1 that records every request as it arrived on the wire.
class LoopbackServer : public QObject {
    Q_OBJECT

public:
    enum class Mode {
        answer,  // 200 with an empty body and a Set-Cookie header
        silent,  // accepts and reads, never answers
        notHttp, // answers anything with a line of plain text and hangs up
    };

    struct Request {
        QByteArray method;
        QByteArray path;
        QHash<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };

    explicit LoopbackServer(Mode mode = Mode::answer, QObject* parent = nullptr);

    // http://127.0.0.1:<port>/api/send (https:// when asked)
    QUrl url(bool https = false) const;
    // A loopback URL on which nothing listens.
    static QUrl refusingUrl();

    int connections() const { return m_connections; }
    const QList<Request>& requests() const { return m_requests; }

private:
    void onNewConnection();
    void onReadyRead(QTcpSocket* socket);

    Mode m_mode;
    QTcpServer m_server;
    int m_connections = 0;
    QList<Request> m_requests;
    QHash<QTcpSocket*, QByteArray> m_pending;
};
