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

QJsonObject bodyOf(const LoopbackServer::Request& request)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(request.body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    return document.object();
}

QString eventName(const LoopbackServer::Request& request)
{
    return bodyOf(request).value(QLatin1String("payload")).toObject().value(QLatin1String("name")).toString();
}

}  // namespace

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

    void optOutSendsNothing_data()
    {
        QTest::addColumn<bool>("throughToggle");
        QTest::newRow("stored in the preferences file") << false;
        QTest::newRow("switched off in the settings window") << true;
    }
    void optOutSendsNothing()
    {
        QFETCH(bool, throughToggle);
        if (throughToggle) {
            Preferences::instance().setShareStatistics(false);
        } else {
            QSettings settings(StateFiles::preferencesPath(), QSettings::IniFormat);
            settings.setValue(QStringLiteral("statsOptOut"), true);
        }
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
    }

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
        QStringList names;
        for (const LoopbackServer::Request& request : server.requests()) {
            QCOMPARE(request.method, QByteArray("POST"));
            QCOMPARE(request.path, QByteArray("/api/send"));
            QCOMPARE(request.headers.value("content-type"), QByteArray("application/json"));
            QCOMPARE(request.headers.value("user-agent"),
                     QByteArray("Mozilla/5.0 (Macintosh) MorvelaCalculator/2.4.1"));
            QVERIFY(!request.headers.contains("cookie"));
            QVERIFY2(!request.body.contains('\n') && !request.body.contains(": "), request.body.constData());

            const QJsonObject body = bodyOf(request);
            QCOMPARE(body.keys(), (QStringList{QStringLiteral("payload"), QStringLiteral("type")}));
            QCOMPARE(body.value(QLatin1String("type")).toString(), QStringLiteral("event"));
            const QJsonObject payload = body.value(QLatin1String("payload")).toObject();
            QCOMPARE(payload.size(), 7);
            for (auto it = payload.begin(); it != payload.end(); ++it)
                QVERIFY2(it.value().isString(), qPrintable(it.key()));
            QCOMPARE(payload.value(QLatin1String("website")).toString(),
                     QStringLiteral("7c41e0b2-9d3a-4f65-8e27-1b5a06c3d9f4"));
            QCOMPARE(payload.value(QLatin1String("hostname")).toString(), QStringLiteral("macos-app"));
            QCOMPARE(payload.value(QLatin1String("language")).toString(), expectedLanguage());
            QCOMPARE(payload.value(QLatin1String("screen")).toString(), QString());
            QCOMPARE(payload.value(QLatin1String("title")).toString(), QStringLiteral("macOS"));
            QCOMPARE(payload.value(QLatin1String("url")).toString(), QStringLiteral("/macos"));
            names.append(payload.value(QLatin1String("name")).toString());
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
        QTest::addColumn<QString>("version");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("no version") << false << QString()
                                    << QByteArray("Mozilla/5.0 (Macintosh) MorvelaCalculator/dev");
        QTest::newRow("version") << false << QStringLiteral("1.0.0")
                                 << QByteArray("Mozilla/5.0 (Macintosh) MorvelaCalculator/1.0.0");
        QTest::newRow("this build") << true << QString()
                                    << QByteArray(
                                           "Mozilla/5.0 (Macintosh) MorvelaCalculator/" PROJECT_VERSION_TEXT);
    }
    void userAgent()
    {
        QFETCH(bool, productBuild);
        QFETCH(QString, version);
        QFETCH(QByteArray, expected);
        LoopbackServer server;
        const auto stats = productBuild ? std::make_unique<Stats>(server.url())
                                        : std::make_unique<Stats>(server.url(), version);
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

    // The settings text promises no cookies; the server sets one with every answer.
    void keepsNoCookies()
    {
        LoopbackServer server;
        Stats stats(server.url(), QStringLiteral("1.0.0"));
        for (int i = 1; i <= 3; ++i) {
            stats.track(QStringLiteral("launch"));
            QTRY_COMPARE(server.requests().size(), i);
            QTRY_COMPARE(liveReplies(stats), 0);
        }
        for (const LoopbackServer::Request& request : server.requests())
            QVERIFY(!request.headers.contains("cookie"));
    }

    void unreachableServer_data()
    {
        QTest::addColumn<int>("kind");
        QTest::newRow("connection refused") << 0;
        QTest::newRow("server never answers") << 1;
        QTest::newRow("not an HTTP server") << 2;
        QTest::newRow("TLS handshake fails") << 3;
    }
    void unreachableServer()
    {
        QFETCH(int, kind);
        const auto mode = kind == 1 ? LoopbackServer::Mode::silent : LoopbackServer::Mode::notHttp;
        LoopbackServer server(mode);
        const QUrl target = kind == 0 ? LoopbackServer::refusingUrl() : server.url(kind == 3);
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

        if (kind == 1) {
            QTRY_VERIFY(server.requests().size() > 0);
            QTest::qWait(200);
        } else {
            QTRY_COMPARE(liveReplies(stats), 0);
        }
        const QStringList messages = takeMessages();
        QVERIFY2(messages.isEmpty(), qPrintable(messages.join(QLatin1Char('\n'))));
    }

    void silentServerIsGivenUpAfterTenSeconds()
    {
        LoopbackServer server(LoopbackServer::Mode::silent);
        Stats stats(server.url(), QStringLiteral("1.0.0"));
        for (int i = 0; i < 20; ++i)
            stats.track(QStringLiteral("launch"));
        QTRY_VERIFY(server.requests().size() > 0);
        QTest::qWait(6000);
        QCOMPARE(liveReplies(stats), 20);
        QTRY_COMPARE_WITH_TIMEOUT(liveReplies(stats), 0, 8000);
    }

    void thousandsOfEventsReleaseEveryReply_data()
    {
        QTest::addColumn<bool>("refused");
        QTest::addColumn<int>("bursts");
        // Loopback answers take a few milliseconds each, refusals almost nothing.
        QTest::newRow("answered") << false << 10;
        QTest::newRow("refused") << true << 50;
    }
    // Bursts of clicks over a long session: every reply object is released once its transfer ends.
    void thousandsOfEventsReleaseEveryReply()
    {
        QFETCH(bool, refused);
        QFETCH(int, bursts);
        constexpr int kClicksPerBurst = 100;
        LoopbackServer server;
        Stats stats(refused ? LoopbackServer::refusingUrl() : server.url(), QStringLiteral("1.0.0"));
        for (int burst = 0; burst < bursts; ++burst) {
            for (int i = 0; i < kClicksPerBurst; ++i)
                stats.track(QStringLiteral("tool-bpm"));
            QCOMPARE(liveReplies(stats), kClicksPerBurst);
            QTRY_COMPARE_WITH_TIMEOUT(liveReplies(stats), 0, 9000);
        }
        QCOMPARE(server.requests().size(), refused ? 0 : bursts * kClicksPerBurst);
    }
};

QTEST_MAIN(TestStats)
#include "tst_stats.moc"
