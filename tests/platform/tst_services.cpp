#include "platform/Appearance.h"
#include "platform/Clipboard.h"
#include "platform/QtTimers.h"
#include "platform/Services.h"
#include "support/FakeTimers.h"
#include "support/RecordingClipboard.h"
#include "ui/CopyFeedback.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QtTest>

using namespace std::chrono_literals;

// The Qt implementations run on the real event loop with short intervals; the behaviour that
// builds on them (copy feedback) runs on the manual clock.
class TestServices : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copyingTwiceLeavesTheSecondText()
    {
        QtClipboard clipboard;
        clipboard.setText(QStringLiteral("500.00"));
        clipboard.setText(QStringLiteral("375.00"));
        QCOMPARE(QGuiApplication::clipboard()->text(QClipboard::Clipboard), QStringLiteral("375.00"));
    }

    void timerInvalidatedInItsOwnTickTicksNoMore()
    {
        QtRepeatingTimer timer;
        int ticks = 0;
        timer.start(5ms, [&] {
            ++ticks;
            timer.invalidate();
        });
        QTest::qWait(80);
        QCOMPARE(ticks, 1);
        QVERIFY(!timer.isActive());
    }

    void timerTicksEveryInterval()
    {
        QtRepeatingTimer timer;
        QElapsedTimer clock;
        QList<qint64> at;
        clock.start();
        timer.start(20ms, [&] { at << clock.elapsed(); });
        QTRY_VERIFY_WITH_TIMEOUT(at.size() >= 3, 2000);
        timer.invalidate();
        // The first tick comes one interval after the start, not at once.
        QVERIFY(at.first() >= 19);
    }

    void armingAfterCancelRunsOnceAtTheNewDeadline()
    {
        QtDelayedAction action;
        int runs = 0;
        QElapsedTimer clock;
        qint64 ranAt = -1;
        action.arm(20ms, [&] { ++runs; });
        action.cancel();
        clock.start();
        action.arm(60ms, [&] {
            ++runs;
            ranAt = clock.elapsed();
        });
        QTest::qWait(200);
        QCOMPARE(runs, 1);
        QVERIFY(ranAt >= 59);
        // Cancelling after it ran does nothing.
        action.cancel();
        QVERIFY(!action.isPending());
    }

    void actionMayRearmItself()
    {
        QtDelayedAction action;
        int runs = 0;
        std::function<void()> again = [&] {
            if (++runs < 3)
                action.arm(5ms, again);
        };
        action.arm(5ms, again);
        QTRY_COMPARE(runs, 3);
        QTest::qWait(30);
        QCOMPARE(runs, 3);
    }

    // A second click 0.5 s after the first keeps "Copied" until 0.8 s after the second.
    void copyFeedbackRestartsOnEveryClick()
    {
        ManualClock clock;
        RecordingClipboard clipboard;
        Services::setTimerFactory(&clock);
        Services::setClipboard(&clipboard);
        {
            CopyFeedback feedback;
            feedback.setText(QStringLiteral("500.00"));
            feedback.copy();
            QVERIFY(feedback.copied());
            clock.advance(500ms);
            feedback.copy();
            clock.advance(799ms);
            QVERIFY(feedback.copied());
            clock.advance(1ms);
            QVERIFY(!feedback.copied());
            QCOMPARE(clipboard.writes, QStringList({"500.00", "500.00"}));
        }
        // A destroyed value leaves nothing pending behind.
        QCOMPARE(clock.pendingCount(), 0);
        Services::setTimerFactory(nullptr);
        Services::setClipboard(nullptr);
    }

    void appearanceFollowsTheColorScheme_data()
    {
        QTest::addColumn<uint>("scheme");
        QTest::addColumn<bool>("dark");
        QTest::newRow("no preference") << 0u << false;
        QTest::newRow("prefer dark") << 1u << true;
        QTest::newRow("prefer light") << 2u << false;
        QTest::newRow("unknown value") << 7u << false;
    }
    void appearanceFollowsTheColorScheme()
    {
        QFETCH(uint, scheme);
        QFETCH(bool, dark);
        Appearance& appearance = Appearance::instance();
        appearance.setColorScheme(dark ? 0 : 1);
        QSignalSpy changed(&appearance, &Appearance::darkChanged);
        appearance.setColorScheme(scheme);
        QCOMPARE(appearance.dark(), dark);
        QCOMPARE(changed.count(), 1);
    }
};

QTEST_MAIN(TestServices)
#include "tst_services.moc"
