#include "app/ShellController.h"
#include "app/Stats.h"
#include "app/ToolCatalogue.h"
#include "platform/Preferences.h"
#include "platform/StateFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace morvela;

namespace {

// A minimal HTTP/1.1 server on 127.0.0.1 that records every request as it arrived on the wire.
class LoopbackServer : public QObject {
public:
    enum class Mode {
        answer,  // 200 with an empty body and a Set-Cookie header
        silent,  // accepts and reads, never answers
        notHttp, // answers anything with a line of plain text and hangs up
    };
    struct Request {
        QByteArray method, path, body;
        QHash<QByteArray, QByteArray> headers; // names in lower case
    };

    explicit LoopbackServer(Mode mode = Mode::answer) : m_mode(mode)
    {
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, &LoopbackServer::onNewConnection);
    }
    // http://127.0.0.1:<port>/api/send (https:// when asked)
    static QUrl urlOn(quint16 port, bool https = false)
    {
        return QUrl(QStringLiteral("%1://127.0.0.1:%2/api/send").arg(https ? "https" : "http").arg(port));
    }
    QUrl url(bool https = false) const { return urlOn(m_server.serverPort(), https); }
    // A loopback URL on which nothing listens.
    static QUrl refusingUrl()
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        return urlOn(probe.serverPort());
    }
    int connections() const { return m_connections; }
    const QList<Request>& requests() const { return m_requests; }

private:
    void onNewConnection()
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
    void onReadyRead(QTcpSocket* socket)
    {
        QByteArray& buffer = m_pending[socket];
        buffer += socket->readAll();
        for (qsizetype headerEnd; m_mode != Mode::notHttp && (headerEnd = buffer.indexOf("\r\n\r\n")) >= 0;) {
            const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
            Request request;
            const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
            request.method = requestLine.value(0);
            request.path = requestLine.value(1);
            for (const QByteArray& line : lines.mid(1)) {
                if (const qsizetype colon = line.indexOf(':'); colon > 0)
                    request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
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

    Mode m_mode;
    QTcpServer m_server;
    int m_connections = 0;
    QList<Request> m_requests;
    QHash<QTcpSocket*, QByteArray> m_pending;
};

QMutex g_messagesLock;
QStringList g_messages;

void recordMessage(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    const QMutexLocker lock(&g_messagesLock);
    g_messages.append(
        QStringLiteral("%1: %2").arg(QString::fromUtf8(context.category ? context.category : ""), text));
}

QStringList takeMessages()
{
    const QMutexLocker lock(&g_messagesLock);
    return std::exchange(g_messages, {});
}

qsizetype liveReplies(const Stats& stats)
{
    return stats.findChildren<QNetworkReply*>().size();
}

QStringList rawIds()
{
    QStringList ids;
    for (CalculatorTool tool : ToolCatalogue::allCases())
        ids.append(QString::fromUtf8(ToolCatalogue::rawValue(tool).data()));
    return ids;
}

} // namespace

// Every test also checks that nothing was printed.
class TestStats : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qInstallMessageHandler(recordMessage); }

    void init()
    {
        QFile::remove(StateFiles::preferencesPath());
        takeMessages();
    }

    void cleanup()
    {
        Stats::setShared(nullptr);
        QFile::remove(StateFiles::preferencesPath());
        const QStringList messages = takeMessages();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
    }

    // Opted out, nothing is even handed to the network; opting back in counts from the next
    // event on, whether chosen in this window or in the file by another instance of the
    // application (the file is read at every event). Whether the server answers or not, clicks
    // behave as online and return before their transfer starts, and every reply is released:
    // a silent server's after the transfer timeout (shortened here from the product's 10 s).
    // Also run under de_DE.UTF-8, for the language member.
    void sendsLaunchAndEveryToolClick_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("otherInstance");
        QTest::addColumn<QString>("version"); // null: the constructor's default, this build's
        QTest::addColumn<QByteArray>("agent");
        const QByteArray thisBuild("MorvelaCalculator/" PROJECT_VERSION_TEXT);
        QTest::newRow("toggled here, this build") << "answers" << false << QString() << thisBuild;
        // A build without a version says "dev".
        QTest::newRow("written by another instance, unversioned")
            << "answers" << true << QStringLiteral("") << QByteArray("MorvelaCalculator/dev");
        QTest::newRow("connection refused") << "refused" << false << QString() << thisBuild;
        QTest::newRow("server never answers") << "silent" << true << QString() << thisBuild;
        QTest::newRow("TLS handshake fails") << "tls" << false << QString() << thisBuild;
    }
    void sendsLaunchAndEveryToolClick()
    {
        QFETCH(QString, server);
        QFETCH(bool, otherInstance);
        QFETCH(QString, version);
        QFETCH(QByteArray, agent);
        const auto share = [&](bool on) {
            if (!otherInstance)
                return Preferences::instance().setShareStatistics(on);
            QFile file(StateFiles::preferencesPath());
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(on ? "[General]\nstatsOptOut=false\n" : "[General]\nstatsOptOut=true\n");
        };
        QVERIFY(Preferences::instance().shareStatistics());
        LoopbackServer loopback(server == "answers"  ? LoopbackServer::Mode::answer
                                : server == "silent" ? LoopbackServer::Mode::silent
                                                     : LoopbackServer::Mode::notHttp);
        const QUrl target = server == "refused" ? LoopbackServer::refusingUrl() : loopback.url(server == "tls");
        const auto sender = version.isNull() ? std::make_unique<Stats>(target) : std::make_unique<Stats>(target, version);
        Stats& stats = *sender;
        const auto timeout = std::chrono::milliseconds(100);
        if (server != "answers")
            stats.setTransferTimeout(timeout);
        Stats::setShared(&stats);
        ShellController shell;
        QElapsedTimer elapsed;
        elapsed.start();

        share(false);
        shell.contentShown();
        for (const QString& id : rawIds())
            shell.select(id);
        QCOMPARE(liveReplies(stats), 0);

        share(true);
        QStringList expected{QStringLiteral("launch")};
        const QStringList clicks = rawIds() << QStringLiteral("harmony");
        shell.contentShown();
        // Twice over, the second time once every reply to the first has come back: the cookie
        // the server set is not sent back (the settings text promises no cookies). The tool
        // that is already selected counts again.
        for (int round = 0; round < 2; ++round) {
            for (const QString& id : clicks) {
                shell.select(id);
                QCOMPARE(shell.selectedToolId(), id);
                expected.append(QStringLiteral("tool-") + id);
            }
            if (round == 0) {
                QCOMPARE(liveReplies(stats), expected.size());
                QCOMPARE(loopback.connections(), 0);
            }
            QTRY_COMPARE_WITH_TIMEOUT(liveReplies(stats), 0, 10000);
        }
        if (server == "silent") {
            QVERIFY(!loopback.requests().isEmpty());
            QVERIFY(elapsed.elapsed() >= timeout.count());
        }
        if (server != "answers")
            return;
        QCOMPARE(loopback.requests().size(), expected.size());
        const QString locale = qEnvironmentVariable("LC_ALL").section(QLatin1Char('.'), 0, 0);
        const QJsonObject fixedMembers{
            {QStringLiteral("website"), QStringLiteral("7c41e0b2-9d3a-4f65-8e27-1b5a06c3d9f4")},
            {QStringLiteral("hostname"), QStringLiteral("macos-app")},
            // What QLocale::system().name() reports under the LC_ALL this test runs with.
            {QStringLiteral("language"), locale.isEmpty() || locale == "POSIX" ? QStringLiteral("C") : locale},
            {QStringLiteral("screen"), QStringLiteral("")},
            {QStringLiteral("title"), QStringLiteral("macOS")},
            {QStringLiteral("url"), QStringLiteral("/macos")},
        };
        QStringList names;
        for (const LoopbackServer::Request& request : loopback.requests()) {
            QCOMPARE(request.method, QByteArray("POST"));
            QCOMPARE(request.path, QByteArray("/api/send"));
            QCOMPARE(request.headers.value("content-type"), QByteArray("application/json"));
            QCOMPARE(request.headers.value("user-agent"), "Mozilla/5.0 (Macintosh) " + agent);
            QVERIFY(!request.headers.contains("cookie"));
            QVERIFY2(!request.body.contains('\n') && !request.body.contains(": "), request.body.constData());

            QJsonObject body = QJsonDocument::fromJson(request.body).object();
            QJsonObject payload = body.take(QLatin1String("payload")).toObject();
            QCOMPARE(body, (QJsonObject{{QStringLiteral("type"), QStringLiteral("event")}}));
            names.append(payload.take(QLatin1String("name")).toString());
            QCOMPARE(payload, fixedMembers);
        }
        // Parallel connections may deliver the events in another order.
        names.sort();
        expected.sort();
        QCOMPARE(names, expected);
    }
};

QTEST_MAIN(TestStats)
#include "tst_stats.moc"
