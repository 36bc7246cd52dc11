#include "LoopbackServer.h"

#include "app/ShellController.h"
#include "app/Stats.h"
#include "app/ToolCatalogue.h"
#include "platform/Preferences.h"
#include "platform/StateFiles.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMutex>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QtTest>

using namespace morvela;

namespace {

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

// As another instance of the application would.
void writePreferencesFile(const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(StateFiles::preferencesPath()).absolutePath());
    QFile file(StateFiles::preferencesPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
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

// What QLocale::system().name() must report under the LC_ALL this test runs with.
QString expectedLanguage()
{
    const QString locale = qEnvironmentVariable("LC_ALL").section(QLatin1Char('.'), 0, 0);
    return locale.isEmpty() || locale == QLatin1String("POSIX") ? QStringLiteral("C") : locale;
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

    // Opting out must hold for the rest of the run even when it cannot be stored.
    void optOutHoldsWhenTheFileCannotBeWritten()
    {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        QFile blocker(config.filePath(QStringLiteral("morvela-calculator")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

        Preferences::instance().setShareStatistics(false);
        const bool optOut = Preferences::statsOptOut();
        const bool stored = QFile::exists(StateFiles::preferencesPath());

        qputenv("XDG_CONFIG_HOME", previous);
        // A choice that can be stored again replaces the remembered one.
        Preferences::instance().setShareStatistics(true);
        QVERIFY(!stored);
        QVERIFY(optOut);
        QVERIFY(!Preferences::statsOptOut());
    }

    // Opted out, nothing is even handed to the network; opting back in counts from the next
    // event on, whether chosen in this window or in the file by another instance of the
    // application (the file is read at every event). Also run under de_DE.UTF-8, for the
    // language member.
    void sendsLaunchAndEveryToolClick_data()
    {
        QTest::addColumn<bool>("otherInstance");
        QTest::newRow("toggled here") << false;
        QTest::newRow("written by another instance") << true;
    }
    void sendsLaunchAndEveryToolClick()
    {
        QFETCH(bool, otherInstance);
        const auto share = [&](bool on) {
            if (otherInstance)
                writePreferencesFile(on ? "[General]\nstatsOptOut=false\n" : "[General]\nstatsOptOut=true\n");
            else
                Preferences::instance().setShareStatistics(on);
        };
        QVERIFY(Preferences::instance().shareStatistics());
        LoopbackServer server;
        Stats stats(server.url(), QStringLiteral("2.4.1"));
        Stats::setShared(&stats);
        ShellController shell;

        share(false);
        shell.contentShown();
        for (const QString& id : rawIds())
            shell.select(id);
        QCOMPARE(liveReplies(stats), 0);

        share(true);
        QStringList expected{QStringLiteral("launch")};
        shell.contentShown();
        for (const QString& id : rawIds()) {
            shell.select(id);
            expected.append(QStringLiteral("tool-") + id);
        }
        // The tool that is already selected counts again.
        shell.select(QStringLiteral("overtones"));
        expected.append(QStringLiteral("tool-overtones"));

        QTRY_COMPARE_WITH_TIMEOUT(server.requests().size(), expected.size(), 10000);
        const QJsonObject fixedMembers{
            {QStringLiteral("website"), QStringLiteral("7c41e0b2-9d3a-4f65-8e27-1b5a06c3d9f4")},
            {QStringLiteral("hostname"), QStringLiteral("macos-app")},
            {QStringLiteral("language"), expectedLanguage()},
            {QStringLiteral("screen"), QStringLiteral("")},
            {QStringLiteral("title"), QStringLiteral("macOS")},
            {QStringLiteral("url"), QStringLiteral("/macos")},
        };
        QStringList names;
        for (const LoopbackServer::Request& request : server.requests()) {
            QCOMPARE(request.method, QByteArray("POST"));
            QCOMPARE(request.path, QByteArray("/api/send"));
            QCOMPARE(request.headers.value("content-type"), QByteArray("application/json"));
            QCOMPARE(request.headers.value("user-agent"),
                     QByteArray("Mozilla/5.0 (Macintosh) MorvelaCalculator/2.4.1"));
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
        QTRY_COMPARE(liveReplies(stats), 0);
    }

    // A build without a version says "dev".
    void userAgentNamesTheBuild()
    {
        LoopbackServer server;
        Stats product(server.url());
        Stats unversioned(server.url(), QString());
        product.track(QStringLiteral("launch"));
        QTRY_COMPARE(server.requests().size(), 1);
        unversioned.track(QStringLiteral("launch"));
        QTRY_COMPARE(server.requests().size(), 2);
        QCOMPARE(server.requests().at(0).headers.value("user-agent"),
                 QByteArray("Mozilla/5.0 (Macintosh) MorvelaCalculator/" PROJECT_VERSION_TEXT));
        QCOMPARE(server.requests().at(1).headers.value("user-agent"),
                 QByteArray("Mozilla/5.0 (Macintosh) MorvelaCalculator/dev"));
    }

    void unreachableServer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("connection refused") << "refused";
        QTest::newRow("server never answers") << "silent";
        QTest::newRow("TLS handshake fails") << "tls";
    }
    // Clicks behave as online and return at once; a silent server is given up after the
    // transfer timeout (shortened here from the product's 10 s).
    void unreachableServer()
    {
        QFETCH(QString, kind);
        LoopbackServer server(kind == "silent" ? LoopbackServer::Mode::silent
                                               : LoopbackServer::Mode::notHttp);
        const QUrl target = kind == "refused" ? LoopbackServer::refusingUrl() : server.url(kind == "tls");
        Stats stats(target, QStringLiteral("1.0.0"));
        const auto timeout = std::chrono::milliseconds(100);
        stats.setTransferTimeout(timeout);
        Stats::setShared(&stats);
        ShellController shell;
        QElapsedTimer elapsed;
        elapsed.start();

        for (const QString& id : rawIds()) {
            shell.select(id);
            QCOMPARE(shell.selectedToolId(), id);
        }
        // Every click came back before its transfer even started.
        QCOMPARE(liveReplies(stats), rawIds().size());
        QCOMPARE(server.connections(), 0);

        QTRY_COMPARE_WITH_TIMEOUT(liveReplies(stats), 0, 5000);
        if (kind == "silent") {
            QVERIFY(!server.requests().isEmpty());
            QVERIFY(elapsed.elapsed() >= timeout.count());
        }
    }

    // Bursts of clicks: every reply is released, and the cookie the server set with the first
    // burst is not sent back with the second (the settings text promises no cookies).
    void burstsReleaseEveryReplyAndKeepNoCookie()
    {
        LoopbackServer server;
        Stats stats(server.url(), QStringLiteral("1.0.0"));
        for (int burst = 0; burst < 2; ++burst) {
            for (int i = 0; i < 20; ++i)
                stats.track(QStringLiteral("tool-bpm"));
            QCOMPARE(liveReplies(stats), 20);
            QTRY_COMPARE_WITH_TIMEOUT(liveReplies(stats), 0, 9000);
        }
        QCOMPARE(server.requests().size(), 40);
        for (const LoopbackServer::Request& request : server.requests())
            QVERIFY(!request.headers.contains("cookie"));
    }
};

QTEST_MAIN(TestStats)
#include "tst_stats.moc"
