#include "support/FakeTimers.h"
#include "support/RecordingSoundOutput.h"
#include "tools/rhythm/Euclid.h"
#include "tools/rhythm/EuclidWheelGeometry.h"
#include "tools/rhythm/EuclideanRhythmController.h"

#include <QtTest>

#include <memory>

using Kind = RecordingSoundOutput::Kind;

class TestEuclideanRhythmController : public QObject {
    Q_OBJECT

    ManualClock m_clock;
    std::unique_ptr<RecordingSoundOutput> m_sound;
    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<EuclideanRhythmController> m_rhythm;

    qint64 step() const { return m_state->euclidStep().isValid() ? m_state->euclidStep().toLongLong() : -1; }

    // The clicks since the last call, as (frequency, gain) pairs in order.
    QList<QPair<double, float>> takeClicks()
    {
        QList<QPair<double, float>> clicks;
        for (const auto& call : m_sound->calls) {
            if (call.kind == Kind::tick)
                clicks.append({call.frequency, call.gain});
        }
        m_sound->calls.clear();
        return clicks;
    }

private Q_SLOTS:
    void initTestCase() { Services::setTimerFactory(&m_clock); }
    void cleanupTestCase() { Services::setTimerFactory(nullptr); }

    void init()
    {
        // An odd start, so that due instants are proven relative to it.
        m_clock.advance(ManualClock::Ms(1234.5));
        m_sound = std::make_unique<RecordingSoundOutput>();
        m_state = std::make_unique<CalculatorState>();
        m_rhythm = std::make_unique<EuclideanRhythmController>();
        m_rhythm->setCalculator(m_state.get());
    }
    void cleanup()
    {
        m_rhythm.reset();
        m_state.reset();
        m_sound.reset();
    }

    // E(3,8), 1/16, 120 BPM: a loud click on 0, 3 and 6, a soft one on the others, step 0 at
    // once and tick k due exactly k × 125 ms after the start.
    void loopClicksOnTheGrid()
    {
        const double start = m_clock.seconds();
        m_rhythm->togglePlayback();
        QVERIFY(m_state->euclidPlaying());
        QCOMPARE(step(), 0LL);
        m_clock.advance(ManualClock::Ms(2000));
        QCOMPARE(m_sound->calls.size(), 17u);
        QVERIFY(!m_sound->calls[0].at.has_value());
        for (std::size_t k = 1; k < m_sound->calls.size(); ++k) {
            QVERIFY(m_sound->calls[k].at.has_value());
            QCOMPARE(*m_sound->calls[k].at, start + static_cast<double>(k) * 0.125);
        }
        for (std::size_t k = 0; k < m_sound->calls.size(); ++k) {
            const bool hit = k % 8 == 0 || k % 8 == 3 || k % 8 == 6;
            QCOMPARE(m_sound->calls[k].kind, Kind::tick);
            QCOMPARE(m_sound->calls[k].frequency, hit ? 1760.0 : 1175.0);
            QCOMPARE(m_sound->calls[k].gain, hit ? 0.55f : 0.16f);
        }
        QCOMPARE(step(), 0LL);
    }

    void noteChangeRestartsTheLoop()
    {
        m_rhythm->startPlayback();
        m_clock.advance(ManualClock::Ms(3 * 125 + 40));
        QCOMPARE(step(), 3LL);
        m_sound->calls.clear();
        const double restart = m_clock.seconds();
        m_rhythm->chooseNote(8);
        QCOMPARE(step(), 0LL);
        m_clock.advance(ManualClock::Ms(2 * 250));
        QCOMPARE(m_sound->calls.size(), 3u);
        QCOMPARE(m_sound->calls[0].frequency, 1760.0);
        QCOMPARE(*m_sound->calls[1].at, restart + 0.25);
        QCOMPARE(*m_sound->calls[2].at, restart + 0.5);
        QCOMPARE(m_clock.pendingCount(), 1);
    }

    void fewerStepsWrapAtOnce()
    {
        m_state->setEuclidSteps(12);
        m_rhythm->startPlayback();
        m_clock.advance(ManualClock::Ms(9 * 125));
        QCOMPARE(step(), 9LL);
        for (int i = 0; i < 7; ++i)
            m_rhythm->stepSteps(-1);
        QCOMPARE(m_state->euclidSteps(), 5LL);
        m_sound->calls.clear();
        m_clock.advance(ManualClock::Ms(125));
        QCOMPARE(step(), 0LL);
        QCOMPARE(takeClicks(), (QList<QPair<double, float>>{{1760.0, 0.55f}}));
    }

    // Play waits for a hit, but a loop that lost its hits can still be stopped.
    void stopWithoutPulses()
    {
        m_state->setEuclidPulses(0);
        QVERIFY(!m_rhythm->canTogglePlayback());
        m_rhythm->togglePlayback();
        QVERIFY(!m_state->euclidPlaying());
        QVERIFY(m_sound->calls.empty());

        m_state->setEuclidPulses(3);
        m_rhythm->togglePlayback();
        for (int i = 0; i < 3; ++i)
            m_rhythm->stepPulses(-1);
        QVERIFY(m_rhythm->canTogglePlayback());
        m_sound->calls.clear();
        m_clock.advance(ManualClock::Ms(250));
        QCOMPARE(takeClicks(), (QList<QPair<double, float>>{{1175.0, 0.16f}, {1175.0, 0.16f}}));
        m_rhythm->togglePlayback();
        QVERIFY(!m_state->euclidPlaying());
        QVERIFY(!m_state->euclidStep().isValid());
        QVERIFY(!m_rhythm->canTogglePlayback());
        m_clock.advance(ManualClock::Ms(1000));
        QVERIFY(m_sound->calls.empty());
    }

    void leavingTheScreenStops()
    {
        m_rhythm->startPlayback();
        m_clock.advance(ManualClock::Ms(300));
        m_rhythm.reset();
        QVERIFY(!m_state->euclidPlaying());
        QVERIFY(!m_state->euclidStep().isValid());
        QCOMPARE(m_clock.pendingCount(), 0);
    }

    void stepsClampPulsesAndRotation()
    {
        m_state->setEuclidPulses(6);
        m_state->setEuclidRotation(7);
        for (int i = 0; i < 4; ++i)
            m_rhythm->stepSteps(-1);
        QCOMPARE(m_state->euclidPulses(), 4LL);
        QCOMPARE(m_state->euclidRotation(), 3LL);
        m_rhythm->stepSteps(1);
        QCOMPARE(m_state->euclidPulses(), 4LL);
        QCOMPARE(m_state->euclidRotation(), 3LL);
    }

    // Steps first, then pulses, then rotation 0; the note and a running loop are left alone.
    void presetWritesInOrder()
    {
        m_state->setEuclidRotation(5);
        m_state->setEuclidNote(8);
        m_rhythm->startPlayback();
        QStringList writes;
        connect(m_state.get(), &CalculatorState::euclidStepsChanged, m_state.get(),
                [&] { writes << "steps"; });
        connect(m_state.get(), &CalculatorState::euclidPulsesChanged, m_state.get(),
                [&] { writes << "pulses"; });
        connect(m_state.get(), &CalculatorState::euclidRotationChanged, m_state.get(),
                [&] { writes << "rotation"; });
        m_rhythm->applyPreset(2);
        QCOMPARE(writes.mid(0, 3), (QStringList{"steps", "pulses", "rotation"}));
        QCOMPARE(m_state->euclidSteps(), 12LL);
        QCOMPARE(m_state->euclidPulses(), 7LL);
        QCOMPARE(m_state->euclidRotation(), 0LL);
        QCOMPARE(m_state->euclidNote(), 8LL);
        QVERIFY(m_state->euclidPlaying());
        QCOMPARE(m_rhythm->patternSummary(), QStringLiteral("E(7,12): x.x.x.xx.x.x"));
    }

    void counterLimits_data()
    {
        QTest::addColumn<qint64>("steps");
        QTest::addColumn<qint64>("pulses");
        QTest::addColumn<qint64>("rotation");
        QTest::addColumn<QList<bool>>("can"); // steps, pulses, rotation: up, down each
        QTest::newRow("defaults") << 8LL << 3LL << 0LL << QList<bool>{true, true, true, true, true, false};
        QTest::newRow("top") << 16LL << 16LL << 15LL << QList<bool>{false, true, false, true, false, true};
        QTest::newRow("bottom") << 1LL << 0LL << 0LL << QList<bool>{true, false, true, false, false, false};
    }
    void counterLimits()
    {
        QFETCH(qint64, steps);
        QFETCH(qint64, pulses);
        QFETCH(qint64, rotation);
        m_state->setEuclidSteps(steps);
        m_state->setEuclidPulses(pulses);
        m_state->setEuclidRotation(rotation);
        QTEST((QList<bool>{m_rhythm->canIncreaseSteps(), m_rhythm->canDecreaseSteps(),
                           m_rhythm->canIncreasePulses(), m_rhythm->canDecreasePulses(),
                           m_rhythm->canIncreaseRotation(), m_rhythm->canDecreaseRotation()}),
              "can");
    }

    void texts()
    {
        QCOMPARE((QStringList{m_rhythm->patternName(), m_rhythm->stepLabel(), m_rhythm->stepText(),
                              m_rhythm->stepCopy(), m_rhythm->cycleText(), m_rhythm->cycleCopy(),
                              m_rhythm->wheelSubtitle(), m_rhythm->tempoCaption()}),
                 (QStringList{"E(3,8)", "Step 1/16", "125.0 ms", "125.0", "1000 ms", "1000",
                              QStringLiteral("1/16 · 125.0 ms"), "120 BPM from the Tempo tab"}));
        m_state->setBpm(90.9);
        m_rhythm->chooseNote(4);
        m_rhythm->chooseNote(5); // not a note value
        QCOMPARE((QStringList{m_rhythm->stepLabel(), m_rhythm->stepText(), m_rhythm->cycleText(),
                              m_rhythm->tempoCaption()}),
                 (QStringList{"Step 1/4", "660.1 ms", "5281 ms", "90 BPM from the Tempo tab"}));
        QVERIFY(m_sound->calls.empty());
    }

    void tickBeyondTheCycleIsSilent()
    {
        m_rhythm->tick(7);
        m_rhythm->tick(8);
        m_rhythm->tick(-1);
        QCOMPARE(takeClicks(), (QList<QPair<double, float>>{{1175.0, 0.16f}}));
    }

    void dotDiameter_data()
    {
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("diameter");
        for (const auto& [n, d] :
             {std::pair{1, 34.0}, {8, 34.0}, {9, 30.0}, {12, 30.0}, {13, 26.0}, {16, 26.0}})
            QTest::addRow("%d steps", n) << n << d;
    }
    void dotDiameter()
    {
        QFETCH(int, steps);
        EuclidWheelGeometry geometry;
        geometry.setPattern(QVariantList(steps, false));
        QTEST(geometry.dotDiameter(), "diameter");
    }

    // Step 0 at the top, a quarter of the cycle later at the right; the outline joins the hits.
    void wheelGeometry()
    {
        EuclidWheelGeometry geometry;
        geometry.setWidth(500);
        geometry.setHeight(430);
        const auto pattern = [](int pulses, int steps) {
            QVariantList list;
            for (const bool hit : morvela::Euclid::pattern(pulses, steps, 0))
                list.append(hit);
            return list;
        };
        geometry.setPattern(pattern(1, 16));
        QCOMPARE(geometry.ringRadius(), 179.0);
        QCOMPARE(geometry.points()[0].toPointF(), QPointF(250, 36));
        QCOMPARE(geometry.points()[4].toPointF(), QPointF(429, 215));
        QCOMPARE(geometry.points()[8].toPointF(), QPointF(250, 394));
        QVERIFY(geometry.polygon().isEmpty());

        geometry.setPattern(pattern(2, 16));
        QCOMPARE(geometry.polygon(), (QVariantList{QPointF(250, 36), QPointF(250, 394), QPointF(250, 36)}));

        geometry.setPattern(pattern(3, 8));
        QCOMPARE(geometry.polygon().size(), 4);
        QCOMPARE(geometry.polygon()[1], geometry.points()[3]);
    }
};

QTEST_GUILESS_MAIN(TestEuclideanRhythmController)
#include "tst_euclideanrhythmcontroller.moc"
