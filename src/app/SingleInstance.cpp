#include "app/SingleInstance.h"

#include <QLocalSocket>
#include <QStandardPaths>

namespace {
// A local socket either answers at once or is not there: the wait only bounds a hung peer.
constexpr int kWaitMs = 250;
const QByteArray kActivate = QByteArrayLiteral("activate\n");
} // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), m_path(std::move(socketPath))
{
    if (m_path.isEmpty())
        m_path = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) +
                 QStringLiteral("/morvela-calculator.instance");
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* peer = m_server.nextPendingConnection()) {
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
                if (peer->readAll().contains(kActivate))
                    Q_EMIT activationRequested();
                peer->disconnectFromServer();
            });
        }
    });
}

bool SingleInstance::handOverToRunning()
{
    QLocalSocket socket;
    socket.connectToServer(m_path);
    if (!socket.waitForConnected(kWaitMs))
        return false;
    socket.write(kActivate);
    const bool sent = socket.waitForBytesWritten(kWaitMs);
    socket.disconnectFromServer();
    return sent;
}

bool SingleInstance::listen()
{
    // Nothing answered: a socket file still there was left by a run that ended without removing it.
    QLocalServer::removeServer(m_path);
    return m_server.listen(m_path);
}
