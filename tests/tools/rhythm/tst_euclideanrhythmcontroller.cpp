#include "support/FakeTimers.h"
#include "support/RecordingSoundOutput.h"
#include "tools/rhythm/Euclid.h"
#include "tools/rhythm/EuclidWheelGeometry.h"
#include "tools/rhythm/EuclideanRhythmController.h"

#include <QtTest>

#include <memory>

// The loop on a hand-driven clock (the screen test covers the note-value restart and leaving the
// screen), the writes of the counters and presets, and the wheel's geometry.
class TestEuclideanRhythmController : public QObject {
    Q_OBJECT

    using Clicks = QList<QPair<double, float>>;
    ManualClock m_clock;
    std::unique_ptr<RecordingSoundOutput> m_sound;
    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<EuclideanRhythmController> m_rhythm;

    qint64 step() const { return m_state->euclidStep().isValid() ? m_state->euclidStep().toLongLong() : -1; }
    void advance(double milliseconds) { m_clock.advance(ManualClock::Ms(milliseconds)); }
    // The clicks since the last call, as (frequency, gain).
    Clicks takeClicks()
    {
        Clicks clicks;
        for (const auto& call : m_sound->calls)
            clicks.append({call.frequency, call.gain});
        m_sound->calls.clear();
        return clicks;
    }

private Q_SLOTS:
    void initTestCase() { Services::setTimerFactory(&m_clock); }
    void cleanupTestCase() { Services::setTimerFactory(nullptr); }
    void init()
    {
        advance(1234.5); // an odd start, so that due instants are proven relative to it
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

    // E(3,8), 1/16, 130 BPM: step 0 at the start, tick k due k × 115.3846… ms after it (not
    // rounded to the millisecond); loud high clicks on 0, 3 and 6, soft low ones on the rest.
    void loopClicksOnTheGrid()
    {
        m_state->setBpm(130);
        const double start = m_clock.seconds();
        m_rhythm->togglePlayback();
        advance(1850);
        QCOMPARE(m_sound->calls.size(), 17u);
        for (std::size_t k = 0; k < m_sound->calls.size(); ++k) {
            const auto& call = m_sound->calls[k];
            QCOMPARE(call.at.value_or(-1.0), start + static_cast<double>(k) * 0.11538461538461539);
            const bool hit = k % 8 == 0 || k % 8 == 3 || k % 8 == 6;
            QCOMPARE(call.kind, RecordingSoundOutput::Kind::tick);
            QCOMPARE(call.frequency, hit ? 1760.0 : 1175.0);
            QCOMPARE(call.gain, hit ? 0.55f : 0.16f);
        }
        QCOMPARE(step(), 0LL);
        QVERIFY(m_state->euclidPlaying());
    }

    void fewerStepsWrapAtOnce()
    {
        m_state->setEuclidSteps(12);
        m_rhythm->startPlayback();
        advance(9 * 125);
        QCOMPARE(step(), 9LL);
        for (int i = 0; i < 7; ++i)
            m_rhythm->stepSteps(-1);
        QCOMPARE(m_state->euclidSteps(), 5LL);
        m_sound->calls.clear();
        advance(125);
        QCOMPARE(step(), 0LL);
        QCOMPARE(takeClicks(), (Clicks{{1760.0, 0.55f}}));
    }

    // Play and Stop wait for a hit: a loop that lost its hits keeps clicking softly until pulses
    // are raised again and Stop is pressed.
    void togglingWaitsForPulses()
    {
        m_state->setEuclidPulses(0);
        m_rhythm->togglePlayback();
        QVERIFY(!m_state->euclidPlaying());
        m_state->setEuclidPulses(2);
        m_rhythm->togglePlayback();
        m_rhythm->stepPulses(-1);
        m_rhythm->stepPulses(-1);
        QVERIFY(!m_rhythm->canTogglePlayback());
        m_rhythm->togglePlayback();
        QVERIFY(m_state->euclidPlaying());
        advance(250);
        QCOMPARE(takeClicks(), (Clicks{{1760.0, 0.55f}, {1175.0, 0.16f}, {1175.0, 0.16f}}));
        m_rhythm->stepPulses(1);
        QVERIFY(m_rhythm->canTogglePlayback());
        m_rhythm->togglePlayback();
        QVERIFY(!m_state->euclidPlaying());
        QVERIFY(!m_state->euclidStep().isValid());
        advance(1000);
        QVERIFY(m_sound->calls.empty());
    }

    // Fewer steps cut pulses and rotation; more steps do not raise them again.
    void stepsClampPulsesAndRotation()
    {
        m_state->setEuclidPulses(6);
        m_state->setEuclidRotation(7);
        for (int i = 0; i < 4; ++i)
            m_rhythm->stepSteps(-1);
        QCOMPARE(m_state->euclidPulses(), 4LL);
        QCOMPARE(m_state->euclidRotation(), 3LL);
        QVERIFY(!m_rhythm->canIncreasePulses());
        QVERIFY(!m_rhythm->canIncreaseRotation());
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
        const auto record = [&](auto signal, const char* name) {
            connect(m_state.get(), signal, m_state.get(), [&writes, name] { writes << name; });
        };
        record(&CalculatorState::euclidStepsChanged, "steps");
        record(&CalculatorState::euclidPulsesChanged, "pulses");
        record(&CalculatorState::euclidRotationChanged, "rotation");
        m_rhythm->applyPreset(2);
        QCOMPARE(writes.mid(0, 3), (QStringList{"steps", "pulses", "rotation"}));
        QCOMPARE(m_rhythm->patternSummary(), QStringLiteral("E(7,12): x.x.x.xx.x.x"));
        QCOMPARE(m_state->euclidRotation(), 0LL);
        QCOMPARE(m_state->euclidNote(), 8LL);
        QVERIFY(m_state->euclidPlaying());
    }

    // Step 0 at the top, the others clockwise; the outline joins the hits, or is absent.
    void wheelGeometry()
    {
        EuclidWheelGeometry geometry;
        geometry.setWidth(500);
        geometry.setHeight(430);
        const auto use = [&geometry](int pulses, int steps) {
            QVariantList list;
            for (const bool hit : morvela::Euclid::pattern(pulses, steps, 0))
                list.append(hit);
            geometry.setPattern(list);
        };
        use(1, 16);
        QCOMPARE(geometry.ringRadius(), 179.0);
        QCOMPARE(geometry.points()[0].toPointF(), QPointF(250, 36));
        QCOMPARE(geometry.points()[4].toPointF(), QPointF(429, 215));
        QVERIFY(geometry.polygon().isEmpty());
        use(2, 16);
        QCOMPARE(geometry.polygon(), (QVariantList{QPointF(250, 36), QPointF(250, 394), QPointF(250, 36)}));
        use(3, 8);
        QCOMPARE(geometry.polygon().size(), 4);
        QCOMPARE(geometry.polygon()[1], geometry.points()[3]);

        QList<qreal> diameters;
        for (const int steps : {1, 8, 9, 12, 13, 16}) {
            use(0, steps);
            diameters.append(geometry.dotDiameter());
        }
        QCOMPARE(diameters, (QList<qreal>{34, 34, 30, 30, 26, 26}));
    }
};

QTEST_GUILESS_MAIN(TestEuclideanRhythmController)
#include "tst_euclideanrhythmcontroller.moc"
