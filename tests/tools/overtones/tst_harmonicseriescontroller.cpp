#include "tools/overtones/HarmonicSeriesController.h"

#include "support/FakeTimers.h"
#include "support/RecordingSoundOutput.h"

#include <QtTest>

#include <memory>

class TestHarmonicSeriesController : public QObject {
    Q_OBJECT

    std::unique_ptr<ManualClock> m_clock;
    std::unique_ptr<RecordingSoundOutput> m_sound;
    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<HarmonicSeriesController> m_controller;

    const std::vector<RecordingSoundOutput::Call>& calls() const { return m_sound->calls; }
    void tick() { m_clock->advance(ManualClock::Ms(220)); }
    QVariant step() const { return m_state->overtoneStep(); }

private Q_SLOTS:
    // Every test starts its own clock at 0, so that ticks fall where the test expects them.
    void init()
    {
        m_clock = std::make_unique<ManualClock>();
        Services::setTimerFactory(m_clock.get());
        m_sound = std::make_unique<RecordingSoundOutput>();
        m_state = std::make_unique<CalculatorState>();
        m_controller = std::make_unique<HarmonicSeriesController>();
        m_controller->setCalculator(m_state.get());
    }
    void cleanup()
    {
        m_controller.reset();
        m_sound.reset();
        Services::setTimerFactory(nullptr);
    }

    // Harmonic 1 at the start, 2 ... 16 on the ticks at their due instants, the end at 3.52 s; the
    // sweep plays every harmonic whatever is enabled.
    void sweep()
    {
        m_state->setOvertonesEnabled({4});
        m_controller->startSweep();
        QVERIFY(m_state->overtoneSweeping());
        for (int n = 1; n <= 16; ++n) {
            if (n > 1)
                tick();
            QCOMPARE(step(), QVariant(qint64(n)));
            QCOMPARE(calls().size(), std::size_t(n));
            QCOMPARE(calls().back().frequency, 55.0 * n);
            QCOMPARE(calls().back().at.value_or(-1.0), 0.22 * (n - 1));
        }
        tick();
        QCOMPARE(m_clock->seconds(), 3.52);
        QVERIFY(!m_state->overtoneSweeping());
        QVERIFY(!step().isValid());
        QCOMPARE(m_clock->pendingCount(), 0);
        QCOMPARE(calls().size(), std::size_t(16));
    }

    // The fundamental is read at every tick, and the sweep button never runs two sweeps.
    void noteChangeMidSweep()
    {
        m_controller->startSweep();
        tick();
        tick();
        m_controller->chooseOctave(2);
        m_controller->startSweep();
        tick();
        QCOMPARE(calls().back().frequency, 4 * 110.0);
        m_state->setA4(400.0);
        tick();
        QCOMPARE(calls().back().frequency, 5 * 100.0);
        QCOMPARE(calls().size(), std::size_t(5));
    }
};

QTEST_MAIN(TestHarmonicSeriesController)
#include "tst_harmonicseriescontroller.moc"
