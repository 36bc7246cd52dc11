#include "audio/FrameClock.h"
#include "platform/Clipboard.h"
#include "platform/LoopSchedule.h"
#include "platform/QtTimers.h"
#include "platform/Services.h"
#include "support/FakeTimers.h"
#include "support/RecordingClipboard.h"
#include "ui/CopyFeedback.h"

#include <QClipboard>
#include <QGuiApplication>
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

    // Real ticks carry their due instants: exact multiples of a fractional interval from the
    // instant start() returns; they run at most the lead early. A
    // tick may stop its own timer (here the fourth), an action re-arm itself; arming after a
    // cancel runs once, at the new deadline, and cancelling after it ran does nothing.
    void qtTimers()
    {
        QtRepeatingTimer timer;
        QtDelayedAction action;
        QtDelayedAction later;
        const double interval = 0.0153846;
        QList<double> due;
        QList<double> woke;
        int runs = 0;
        int laterRuns = 0;
        double ranAt = -1;
        const double start = morvela::FrameClock::now();
        const double from = timer.start(std::chrono::duration<double>(interval), [&](double at) {
            due << at;
            woke << morvela::FrameClock::now();
            if (due.size() == 4)
                timer.invalidate();
        });
        std::function<void()> again = [&] {
            if (++runs < 3)
                action.arm(5ms, again);
        };
        action.arm(5ms, again);
        later.arm(20ms, [&] { ++laterRuns; });
        later.cancel();
        later.arm(100ms, [&] {
            ++laterRuns;
            ranAt = morvela::FrameClock::now() - start;
        });
        QTRY_COMPARE(runs, 3);
        QTRY_COMPARE(due.size(), 4);
        // The first to run must be the second arming, not the cancelled one.
        QTRY_COMPARE(laterRuns, 1);
        QVERIFY(ranAt >= 0.099);
        later.cancel();
        QVERIFY(!later.isPending());
        QVERIFY(!timer.isActive());
        QCOMPARE(due.size(), 4);
        QCOMPARE(runs, 3);
        // The clock counts from the instant start() returned, the lead after it was called.
        QVERIFY(from >= start + QtRepeatingTimer::kLead && from - start < QtRepeatingTimer::kLead + 0.005);
        for (int i = 0; i < due.size(); ++i) {
            const double k = std::round((due[i] - from) / interval);
            QVERIFY(k >= i + 1);
            QVERIFY(std::abs(due[i] - (from + k * interval)) < 1e-9);
            QVERIFY(woke[i] >= due[i] - QtRepeatingTimer::kLead - 0.0005);
        }
    }

    // The schedule every loop clock (the manual one too) keeps: tick k at start + k × interval
    // whenever the timer wakes, missed ticks skipped once a whole interval has gone by.
    void loopScheduleKeepsTheGrid_data()
    {
        QTest::addColumn<QList<double>>("wakes"); // seconds after a start at 100 s
        QTest::addColumn<QList<double>>("due");   // the due instants handed out, after 100 s
        const double i = 0.1153846;
        QTest::newRow("on time") << QList<double>{i, 2 * i, 3 * i} << QList<double>{i, 2 * i, 3 * i};
        QTest::newRow("late, not moved")
            << QList<double>{i + 0.05, 2 * i + 0.09, 3 * i} << QList<double>{i, 2 * i, 3 * i};
        QTest::newRow("early wake") << QList<double>{i - 0.001, 2 * i} << QList<double>{i, 2 * i};
        QTest::newRow("held up, skips")
            << QList<double>{i, 3.5 * i, 4 * i + 0.01} << QList<double>{i, 3 * i, 4 * i};
        // 130 BPM in sixteenths: computed from the start, ten minutes on the grid has not drifted.
        QTest::newRow("ten minutes in") << QList<double>{i, 5200 * i + 0.01} << QList<double>{i, 5200 * i};
    }
    void loopScheduleKeepsTheGrid()
    {
        QFETCH(QList<double>, wakes);
        QFETCH(QList<double>, due);
        LoopSchedule schedule;
        schedule.start(100.0, 0.1153846);
        for (int k = 0; k < wakes.size(); ++k)
            QCOMPARE(schedule.take(100.0 + wakes[k]) - 100.0, due[k]);
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
};

QTEST_MAIN(TestServices)
#include "tst_services.moc"
