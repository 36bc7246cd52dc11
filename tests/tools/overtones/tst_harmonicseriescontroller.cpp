#include "tools/overtones/HarmonicSeriesController.h"

#include "support/FakeTimers.h"
#include "support/RecordingClipboard.h"
#include "support/RecordingSoundOutput.h"

#include <QtTest>

#include <memory>

using Kind = RecordingSoundOutput::Kind;

class TestHarmonicSeriesController : public QObject {
    Q_OBJECT

    std::unique_ptr<ManualClock> m_clock;
    RecordingClipboard m_clipboard;
    std::unique_ptr<RecordingSoundOutput> m_sound;
    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<HarmonicSeriesController> m_controller;

    const std::vector<RecordingSoundOutput::Call>& calls() const { return m_sound->calls; }
    void tick() { m_clock->advance(ManualClock::Ms(220)); }
    QVariant step() const { return m_state->overtoneStep(); }
    QList<qint64> enabled() const { return m_state->overtonesEnabled(); }

private Q_SLOTS:
    void initTestCase() { Services::setClipboard(&m_clipboard); }
    void cleanupTestCase() { Services::setClipboard(nullptr); }
    // Every test starts its own clock at 0, so that ticks fall where the test expects them.
    void init()
    {
        m_clock = std::make_unique<ManualClock>();
        Services::setTimerFactory(m_clock.get());
        m_sound = std::make_unique<RecordingSoundOutput>();
        m_state = std::make_unique<CalculatorState>();
        m_controller = std::make_unique<HarmonicSeriesController>();
        m_controller->setCalculator(m_state.get());
        m_clipboard.writes.clear();
    }
    void cleanup()
    {
        m_controller.reset();
        m_state.reset();
        m_sound.reset();
        Services::setTimerFactory(nullptr);
        m_clock.reset();
    }

    void header()
    {
        QCOMPARE((QStringList{m_controller->fundamentalName(), m_controller->fundamentalText(),
                              m_controller->thirdName(), m_controller->thirdText(), m_controller->fifthName(),
                              m_controller->fifthText()}),
                 (QStringList{"A1", "55.00", "E3", "165.0", "C#4", "275.0"}));
        QSignalSpy changed(m_controller.get(), &HarmonicSeriesController::seriesChanged);
        m_controller->choosePitchClass(0);
        m_controller->chooseOctave(4);
        QCOMPARE(changed.count(), 2);
        QCOMPARE((QStringList{m_controller->fundamentalName(), m_controller->fundamentalText(),
                              m_controller->fifthName()}),
                 (QStringList{"C4", "261.63", "E6"}));
        m_state->setA4(432.0);
        QCOMPARE(changed.count(), 3);
        QCOMPARE(m_controller->fundamentalText(), QStringLiteral("256.87"));
    }

    void pickers()
    {
        QCOMPARE(m_controller->noteNames().size(), 12);
        QCOMPARE(m_controller->noteNames().at(1), QStringLiteral("C#"));
        QCOMPARE(m_controller->octaveNames(),
                 (QStringList{"Octave 0", "Octave 1", "Octave 2", "Octave 3", "Octave 4"}));
        m_controller->chooseOctave(7);
        m_controller->choosePitchClass(-2);
        QCOMPARE(m_state->overtoneOctave(), 4);
        QCOMPARE(m_state->overtonePitchClass(), 0);
    }

    // A bar switches its harmonic on or off and sounds it once either way, at once.
    void toggleHarmonic_data()
    {
        QTest::addColumn<QList<qint64>>("before");
        QTest::addColumn<int>("number");
        QTest::addColumn<QList<qint64>>("after");
        QTest::newRow("enabled bar goes off") << QList<qint64>{1, 7, 9} << 7 << QList<qint64>{1, 9};
        QTest::newRow("disabled bar comes on") << QList<qint64>{} << 7 << QList<qint64>{7};
        QTest::newRow("a repeated number goes off in one click")
            << QList<qint64>{7, 7} << 7 << QList<qint64>{};
    }
    void toggleHarmonic()
    {
        QFETCH(QList<qint64>, before);
        QFETCH(int, number);
        QFETCH(QList<qint64>, after);
        m_state->setOvertonesEnabled(before);
        m_controller->toggleHarmonic(number);
        QCOMPARE(enabled(), after);
        QCOMPARE(calls().size(), std::size_t(1));
        QCOMPARE(calls()[0].kind, Kind::tone);
        QCOMPARE(calls()[0].frequency, 385.0);
        QVERIFY(!calls()[0].at.has_value());
    }

    void toggleIgnoresStrayNumbers()
    {
        m_controller->toggleHarmonic(0);
        m_controller->toggleHarmonic(17);
        QCOMPARE(enabled().size(), 16);
        QVERIFY(calls().empty());
    }

    void majorTriadThenPlay()
    {
        m_controller->enableMajorTriad();
        QCOMPARE(enabled(), (QList<qint64>{4, 5, 6}));
        m_controller->playChord();
        QCOMPARE(calls().size(), std::size_t(1));
        QCOMPARE(calls()[0].kind, Kind::partials);
        const std::vector<morvela::Partial> expected{{220.0, 0.25f}, {275.0, 0.2f}, {330.0, 1.0f / 6.0f}};
        QVERIFY(calls()[0].partials == expected);
        m_controller->enableAll();
        QCOMPARE(enabled().size(), 16);
    }

    void nothingEnabledPlaysNothing()
    {
        QSignalSpy canPlay(m_controller.get(), &HarmonicSeriesController::canPlayChanged);
        QVERIFY(m_controller->canPlay());
        m_state->setOvertonesEnabled({});
        QCOMPARE(canPlay.count(), 1);
        QVERIFY(!m_controller->canPlay());
        m_controller->playChord();
        QVERIFY(calls().empty());
        m_state->setOvertonesEnabled({0, 40}); // no harmonic of the series
        QVERIFY(!m_controller->canPlay());
    }

    // Harmonic 1 at once, 2 ... 16 on the ticks at their due instants, the end at 3.52 s; the
    // sweep plays every harmonic whatever is enabled.
    void sweep()
    {
        m_state->setOvertonesEnabled({4});
        m_controller->startSweep();
        QVERIFY(m_state->overtoneSweeping());
        QCOMPARE(step(), QVariant(qint64(1)));
        QCOMPARE(calls().size(), std::size_t(1));
        QCOMPARE(calls()[0].frequency, 55.0);
        QVERIFY(!calls()[0].at.has_value());
        for (int n = 2; n <= 16; ++n) {
            tick();
            QCOMPARE(step(), QVariant(qint64(n)));
            QCOMPARE(calls().size(), std::size_t(n));
            QCOMPARE(calls().back().kind, Kind::tone);
            QCOMPARE(calls().back().frequency, 55.0 * n);
            QVERIFY(calls().back().at.has_value());
            QCOMPARE(*calls().back().at, 0.22 * (n - 1));
        }
        QCOMPARE(m_clock->seconds(), 3.30);
        tick();
        QVERIFY(!m_state->overtoneSweeping());
        QVERIFY(!step().isValid());
        QCOMPARE(calls().size(), std::size_t(16));
        m_clock->advance(ManualClock::Ms(2000));
        QCOMPARE(calls().size(), std::size_t(16));
        QCOMPARE(m_clock->pendingCount(), 0);
    }

    void octaveChangeMidSweep()
    {
        m_controller->startSweep();
        tick();
        tick(); // 3 × 55
        m_controller->chooseOctave(2);
        tick();
        QCOMPARE(calls().back().frequency, 4 * 110.0);
        m_state->setA4(400.0);
        tick();
        QCOMPARE(calls().back().frequency, 5 * 100.0);
    }

    void stopAndRestart()
    {
        m_controller->toggleSweep();
        tick();
        m_controller->toggleSweep();
        QVERIFY(!m_state->overtoneSweeping());
        QVERIFY(!step().isValid());
        m_clock->advance(ManualClock::Ms(1000));
        QCOMPARE(calls().size(), std::size_t(2));
        // A new sweep starts from harmonic 1 on a fresh grid.
        m_controller->toggleSweep();
        QCOMPARE(calls().back().frequency, 55.0);
        tick();
        QCOMPARE(calls().back().frequency, 110.0);
        QCOMPARE(*calls().back().at, m_clock->seconds());
    }

    // The sweep button starts a sweep only when none runs: never two timers.
    void startWhileSweepingKeepsOneSweep()
    {
        m_controller->startSweep();
        tick();
        m_controller->startSweep();
        QCOMPARE(calls().size(), std::size_t(2));
        tick();
        QCOMPARE(calls().size(), std::size_t(3));
        QCOMPARE(step(), QVariant(qint64(3)));
    }

    // Toggling, selections and Play leave a running sweep alone.
    void barsDuringSweep()
    {
        m_controller->startSweep();
        tick();
        m_controller->toggleHarmonic(9);
        m_controller->enableMajorTriad();
        m_controller->playChord();
        QVERIFY(m_state->overtoneSweeping());
        QCOMPARE(step(), QVariant(qint64(2)));
        tick();
        QCOMPARE(calls().back().frequency, 165.0);
    }

    // The screen goes: the sweep ends and nothing more sounds.
    void leavingStopsTheSweep()
    {
        m_controller->startSweep();
        tick();
        m_controller.reset();
        QVERIFY(!m_state->overtoneSweeping());
        QVERIFY(!step().isValid());
        const std::size_t sounded = calls().size();
        m_clock->advance(ManualClock::Ms(1000));
        QCOMPARE(calls().size(), sounded);
    }

    void copyEntries_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("hz");
        QTest::addColumn<QString>("name");
        QTest::newRow("7×") << 7 << "385.00"
                            << "G4";
        QTest::newRow("11×") << 11 << "605.00"
                             << "D#5";
    }
    void copyEntries()
    {
        QFETCH(int, number);
        QFETCH(QString, hz);
        QFETCH(QString, name);
        m_controller->copyFrequency(number);
        m_controller->copyNoteName(number);
        QCOMPARE(m_clipboard.writes, (QStringList{hz, name}));
    }

    // What each bar shows, and that it follows the selection and the sweep in place.
    void bars()
    {
        HarmonicBarModel* bars = m_controller->bars();
        QCOMPARE(bars->rowCount(), 16);
        const QModelIndex seventh = bars->index(6);
        QCOMPARE(bars->data(seventh, HarmonicBarModel::FrequencyRole).toString(), QStringLiteral("385.00"));
        QCOMPARE(bars->data(seventh, HarmonicBarModel::DriftRole).toString(), QStringLiteral("-31¢"));
        QCOMPARE(bars->data(seventh, HarmonicBarModel::DriftClassRole).toInt(), 2);
        QCOMPARE(bars->data(seventh, HarmonicBarModel::ToolTipRole).toString(),
                 QStringLiteral("7× = 385.0 Hz · G4 -31¢"));
        QCOMPARE(bars->data(seventh, HarmonicBarModel::AccessibleNameRole).toString(),
                 QStringLiteral("7×, G4, 31 cents flat, on"));
        QSignalSpy reset(bars, &QAbstractItemModel::modelReset);
        m_controller->toggleHarmonic(7);
        m_controller->startSweep();
        QCOMPARE(bars->data(seventh, HarmonicBarModel::AccessibleNameRole).toString(),
                 QStringLiteral("7×, G4, 31 cents flat, off"));
        QVERIFY(!bars->data(seventh, HarmonicBarModel::OnRole).toBool());
        QVERIFY(bars->data(bars->index(0), HarmonicBarModel::CurrentRole).toBool());
        QVERIFY(!bars->data(seventh, HarmonicBarModel::CurrentRole).toBool());
        QCOMPARE(reset.count(), 0);
    }

    void barHeights_data()
    {
        QTest::addColumn<int>("number");
        QTest::addColumn<double>("height");
        QTest::newRow("1") << 1 << 200.0;
        QTest::newRow("2") << 2 << 100.0;
        QTest::newRow("16") << 16 << 12.5;
        QTest::newRow("never below 10") << 25 << 10.0;
    }
    void barHeights()
    {
        QFETCH(int, number);
        QFETCH(double, height);
        QCOMPARE(HarmonicBarModel::barHeight(number), height);
    }

    // Screen readers hear the drift as the bar prints it, rounded, in words.
    void driftInWords_data()
    {
        QTest::addColumn<double>("cents");
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("name");
        QTest::newRow("sharp") << 1.96 << true << "3×, E3, 2 cents sharp, on";
        QTest::newRow("one cent") << -0.6 << false << "3×, E3, 1 cent flat, off";
        QTest::newRow("rounds to nothing") << -0.4 << true << "3×, E3, 0 cents, on";
    }
    void driftInWords()
    {
        QFETCH(double, cents);
        QFETCH(bool, on);
        QFETCH(QString, name);
        QCOMPARE(HarmonicBarModel::accessibleName({3, 165.0, "E3", cents}, on), name);
    }
};

QTEST_MAIN(TestHarmonicSeriesController)
#include "tst_harmonicseriescontroller.moc"
