#include "LoopbackServer.h"

#include "app/ShellController.h"
#include "app/Stats.h"
#include "app/ToolCatalogue.h"
#include "platform/Preferences.h"
#include "platform/StateFiles.h"

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

QString eventName(const LoopbackServer::Request& request)
{
    const QJsonObject body = QJsonDocument::fromJson(request.body).object();
    return body.value(QLatin1String("payload")).toObject().value(QLatin1String("name")).toString();
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

    // The file is read at every event: another instance of the application may change it.
    void optOutSendsNothing()
    {
        writePreferencesFile("[General]\nstatsOptOut=true\n");
        LoopbackServer server;
        Stats stats(server.url(), QStringLiteral("1.0.0"));
        Stats::setShared(&stats);

        ShellController shell;
        shell.contentShown();
        for (const QString& id : rawIds())
            shell.select(id);
        QCOMPARE(liveReplies(stats), 0);
        QTest::qWait(300);
        QCOMPARE(server.connections(), 0);

        writePreferencesFile("[General]\nstatsOptOut=false\n");
        shell.select(QStringLiteral("bpm"));
        QTRY_COMPARE(server.requests().size(), 1);
        QCOMPARE(eventName(server.requests().constFirst()), QStringLiteral("tool-bpm"));
    }

    // Also run under de_DE.UTF-8, for the language member.
    void sendsLaunchAndEveryToolClick()
    {
        QVERIFY(Preferences::instance().shareStatistics());
        LoopbackServer server;
        Stats stats(server.url(), QStringLiteral("2.4.1"));
        Stats::setShared(&stats);

        ShellController shell;
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

    void userAgent_data()
    {
        QTest::addColumn<bool>("productBuild");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no version") << false << QByteArray("Mozilla/5.0 (Macintosh) MorvelaCalculator/dev");
        QTest::newRow("this build") << true
                                    << QByteArray(
                                           "Mozilla/5.0 (Macintosh) MorvelaCalculator/" PROJECT_VERSION_TEXT);
    }
    void userAgent()
    {
        QFETCH(bool, productBuild);
        QFETCH(QByteArray, expected);
        LoopbackServer server;
        const auto stats = productBuild ? std::make_unique<Stats>(server.url())
                                        : std::make_unique<Stats>(server.url(), QString());
        stats->track(QStringLiteral("launch"));
        QTRY_COMPARE(server.requests().size(), 1);
        QCOMPARE(server.requests().constFirst().headers.value("user-agent"), expected);
    }

    void toggleCountsForTheNextEvent()
    {
        LoopbackServer server;
        Stats stats(server.url(), QStringLiteral("1.0.0"));
        Stats::setShared(&stats);
        ShellController shell;

        shell.select(QStringLiteral("bpm"));
        QTRY_COMPARE(server.requests().size(), 1);

        Preferences::instance().setShareStatistics(false);
        shell.select(QStringLiteral("rhythm"));
        QCOMPARE(liveReplies(stats), 0);

        Preferences::instance().setShareStatistics(true);
        shell.select(QStringLiteral("space"));
        QTRY_COMPARE(server.requests().size(), 2);
        QCOMPARE(eventName(server.requests().at(1)), QStringLiteral("tool-space"));
        QTest::qWait(200);
        QCOMPARE(server.requests().size(), 2);
    }

    void unreachableServer_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("connection refused") << "refused";
        QTest::newRow("server never answers") << "silent";
        QTest::newRow("TLS handshake fails") << "tls";
    }
    // Clicks behave as online and return at once; a silent server is given up after the 10 s timeout.
    void unreachableServer()
    {
        QFETCH(QString, kind);
        LoopbackServer server(kind == "silent" ? LoopbackServer::Mode::silent
                                               : LoopbackServer::Mode::notHttp);
        const QUrl target = kind == "refused" ? LoopbackServer::refusingUrl() : server.url(kind == "tls");
        Stats stats(target, QStringLiteral("1.0.0"));
        Stats::setShared(&stats);
        ShellController shell;

        for (const QString& id : rawIds()) {
            shell.select(id);
            QCOMPARE(shell.selectedToolId(), id);
        }
        // Every click came back before its transfer even started.
        QCOMPARE(liveReplies(stats), rawIds().size());
        QCOMPARE(server.connections(), 0);

        if (kind == "silent") {
            QTRY_VERIFY(server.requests().size() > 0);
            QTest::qWait(6000);
            QCOMPARE(liveReplies(stats), rawIds().size());
        }
        QTRY_COMPARE_WITH_TIMEOUT(liveReplies(stats), 0, 12000);
    }

    // Bursts of clicks over a long session: every reply is released, and no cookie the server
    // sets is ever sent back (the settings text promises none).
    void thousandsOfEventsReleaseEveryReplyAndKeepNoCookie()
    {
        LoopbackServer server;
        Stats stats(server.url(), QStringLiteral("1.0.0"));
        for (int burst = 0; burst < 10; ++burst) {
            for (int i = 0; i < 100; ++i)
                stats.track(QStringLiteral("tool-bpm"));
            QCOMPARE(liveReplies(stats), 100);
            QTRY_COMPARE_WITH_TIMEOUT(liveReplies(stats), 0, 9000);
        }
        QCOMPARE(server.requests().size(), 1000);
        for (const LoopbackServer::Request& request : server.requests())
            QVERIFY(!request.headers.contains("cookie"));
    }
};

QTEST_MAIN(TestStats)
#include "tst_stats.moc"
