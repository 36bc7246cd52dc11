#include "platform/StateFiles.h"
#include "support/FakeTimers.h"
#include "support/RecordingSoundOutput.h"
#include "tools/harmony/CircleOfFifthsController.h"

#include "common/NumberText.h"

#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString hz(double frequency)
{
    return QString::fromStdString(morvela::formatFixed(frequency, 2));
}

void store(const QVariantMap& values)
{
    QSettings settings(StateFiles::windowStatePath(), QSettings::IniFormat);
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(it.key(), it.value());
    settings.sync();
}

// The segments that carry a tint other than the plain fill, e.g. "maj-0 Selected".
QStringList tinted(const CircleOfFifthsController& controller)
{
    static const char* const names[] = {"Selected", "Family", "Hovered", "Plain"};
    QStringList list;
    const QList<int> tints = controller.segmentTints();
    for (int i = 0; i < tints.size(); ++i) {
        if (tints[i] != CircleOfFifthsController::Plain)
            list.append(
                QStringLiteral("%1-%2 %3").arg(i < 12 ? "maj" : "min").arg(i % 12).arg(names[tints[i]]));
    }
    return list;
}

// A point in the middle of a segment's ring at `fromTop` degrees clockwise from the top, on a
// 430-point wheel.
QPointF onWheel(double rho, double fromTop)
{
    const double radians = qDegreesToRadians(fromTop - 90.0);
    return {215.0 + std::cos(radians) * rho * 215.0, 215.0 + std::sin(radians) * rho * 215.0};
}

} // namespace

class TestCircleOfFifthsController : public QObject {
    Q_OBJECT

    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<CircleOfFifthsController> m_controller;
    std::unique_ptr<RecordingSoundOutput> m_sound;
    std::unique_ptr<ManualClock> m_clock;

    // The chords sounded so far, as "root quality at", e.g. "196.00 major 1" ("-" when the
    // sound was not scheduled for an instant).
    QStringList sounded() const
    {
        static const char* const qualities[] = {"major", "minor", "diminished"};
        QStringList list;
        for (const auto& call : m_sound->calls)
            list.append(QStringLiteral("%1 %2 %3")
                            .arg(hz(call.frequency), qualities[int(call.quality)],
                                 call.at ? QString::number(*call.at) : QStringLiteral("-")));
        return list;
    }
    void playLoop(const QList<qint64>& degrees)
    {
        m_state->setProgression(degrees);
        m_controller->startPlayback();
    }
    void advanceSeconds(double seconds) { m_clock->advance(ManualClock::Ms(seconds * 1000.0)); }
    QString current() const
    {
        QStringList chips;
        for (const QVariant& chip : m_controller->loopChips())
            if (chip.toMap().value("current").toBool())
                chips.append(chip.toMap().value("chord").toString());
        return chips.join(',');
    }

    void showScreen()
    {
        m_controller = std::make_unique<CircleOfFifthsController>();
        m_controller->setCalculator(m_state.get());
    }
    QString selection() const
    {
        return QStringLiteral("%1 %2").arg(m_controller->selectedIndex()).arg(m_controller->minorSelected());
    }

private Q_SLOTS:
    void init()
    {
        m_controller.reset();
        m_clock = std::make_unique<ManualClock>();
        Services::setTimerFactory(m_clock.get());
        QFile::remove(StateFiles::windowStatePath());
        m_state = std::make_unique<CalculatorState>();
        m_sound.reset(); // before the next one installs itself
        m_sound = std::make_unique<RecordingSoundOutput>();
        showScreen();
    }

    // The timers of a playing loop belong to this test's clock.
    void cleanup() { m_controller.reset(); }
    void cleanupTestCase() { Services::setTimerFactory(nullptr); }

    // A fresh window tints C major's family; the pointer tints only a segment outside it.
    void tints_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("minorRing");
        QTest::addColumn<QPointF>("pointer");
        QTest::addColumn<QStringList>("tinted");
        QTest::newRow("fresh: C major, pointer on its dominant")
            << 0 << false << onWheel(0.85, 30)
            << QStringList{"maj-0 Selected", "maj-1 Family", "maj-11 Family", "min-0 Family"};
        QTest::newRow("F♯ minor, pointer on its relative")
            << 3 << true << onWheel(0.85, 90)
            << QStringList{"maj-3 Family", "min-2 Family", "min-3 Selected", "min-4 Family"};
        QTest::newRow("F tints C across the top, pointer on E")
            << 11 << false << onWheel(0.85, 120)
            << QStringList{"maj-0 Family", "maj-4 Hovered", "maj-10 Family", "maj-11 Selected",
                           "min-11 Family"};
    }
    void tints()
    {
        QFETCH(int, index);
        QFETCH(bool, minorRing);
        QFETCH(QPointF, pointer);
        if (index != 0)
            m_controller->select(index, minorRing);
        m_controller->hoverAt(pointer.x(), pointer.y(), 430, 430);
        QTEST(tinted(*m_controller), "tinted");
    }

    void storedSelection_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QString>("selection");
        const QString index = "fifthsSelectedIndex", minor = "fifthsMinorSelected";
        QTest::newRow("written by hand") << QVariantMap{{index, "11"}, {minor, "true"}} << "11 1";
        QTest::newRow("index 99") << QVariantMap{{index, 99}, {minor, true}} << "0 0";
        QTest::newRow("index abc") << QVariantMap{{index, "abc"}, {minor, true}} << "0 0";
        QTest::newRow("flag not a boolean") << QVariantMap{{index, 4}, {minor, "yes"}} << "0 0";
    }
    void storedSelection()
    {
        QFETCH(QVariantMap, stored);
        store(stored);
        showScreen();
        QTEST(selection(), "selection");
        m_controller->selectSegment(9, true); // survives a restart
        showScreen();
        QCOMPARE(selection(), "9 1");
    }

    // The tempo is read at start only; a key chosen mid-loop (its chord sounds at once) plays
    // from the next chord on, at the current reference.
    void playbackKeepsTheBeatAndFollowsTheKey()
    {
        playLoop({0, 4, 5, 3});
        m_state->setBpm(60);
        advanceSeconds(2);
        m_controller->selectSegment(0, true);
        m_state->setA4(432);
        advanceSeconds(2);
        QCOMPARE(sounded(), (QStringList{"130.81 major 0", "196.00 major 1", "220.00 minor 2",
                                         "220.00 minor -", "144.16 minor 3", "216.00 minor 4"}));
        QCOMPARE(m_state->playingStep(), QVariant(qint64(0)));
    }

    void addingNeverRestartsTheLoop()
    {
        playLoop({0});
        advanceSeconds(0.5);
        m_controller->addDegree(4);
        advanceSeconds(0.5);
        QCOMPARE(sounded(), (QStringList{"130.81 major 0", "196.00 major -", "196.00 major 1"}));
    }

    void removingThePlayingChip()
    {
        playLoop({0, 4, 5, 3});
        advanceSeconds(3);
        QCOMPARE(current(), "F");
        m_controller->removeStep(3);
        QCOMPARE(current(), QString());
        QVERIFY(m_controller->playing());
        advanceSeconds(1);
        QCOMPARE(m_state->playingStep(), QVariant(qint64(1)));
        QCOMPARE(sounded().last(), "196.00 major 4");
        m_controller->removeStep(7); // a stale position changes nothing
        QCOMPARE(m_state->progression().size(), 3);
    }

    // Removing the last chip, clearing, a tick that finds the loop emptied by another writer,
    // and leaving the screen all stop the loop for good.
    void stopping_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("remove the only chip") << 0;
        QTest::newRow("clear") << 1;
        QTest::newRow("loop emptied elsewhere") << 2;
        QTest::newRow("screen left") << 3;
        QTest::newRow("toggle") << 4;
    }
    void stopping()
    {
        QFETCH(int, how);
        playLoop({2});
        const std::size_t sounds = m_sound->calls.size();
        const std::function<void()> stops[] = {
            [&] { m_controller->removeStep(0); }, [&] { m_controller->clear(); },
            [&] {
                m_state->setProgression({});
                advanceSeconds(1);
            },
            [&] { m_controller.reset(); }, [&] { m_controller->toggle(); }};
        stops[how]();
        QVERIFY(!m_state->progressionPlaying());
        QVERIFY(!m_state->playingStep().isValid());
        QCOMPARE(m_clock->pendingCount(), 0);
        advanceSeconds(10);
        QCOMPARE(m_sound->calls.size(), sounds);
        QCOMPARE(m_state->progression().isEmpty(), how != 4 && how != 3);
    }

    void presets_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("playing: continues at (3 + 1) mod 3") << true << QStringList{"196.00 major 4"};
        QTest::newRow("stopped: silent") << false << QStringList{};
    }
    void presets()
    {
        QFETCH(bool, playing);
        playLoop({0, 4, 5, 3});
        advanceSeconds(3);
        if (!playing)
            m_controller->stopPlayback();
        m_sound->calls.clear();
        QCOMPARE(m_controller->presetNames().at(2), "ii–V–I");
        m_controller->loadPreset(2);
        QCOMPARE(m_state->progression(), (QList<qint64>{1, 4, 0}));
        QVERIFY(m_sound->calls.empty());
        advanceSeconds(1);
        QTEST(sounded(), "after");
        QCOMPARE(m_state->progressionPlaying(), playing);
    }

    void tempo_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<double>("period");
        QTest::addColumn<QString>("label");
        QTest::newRow("99.9") << 99.9 << 120.0 / 99.9 << "99 BPM · 2 beats/chord";
        QTest::newRow("15") << 15.0 << 6.0 << "15 BPM · 2 beats/chord";
        QTest::newRow("1000") << 1000.0 << 0.3 << "1000 BPM · 2 beats/chord";
        QTest::newRow("not a number") << qQNaN() << 6.0 << "0 BPM · 2 beats/chord";
    }
    void tempo()
    {
        QFETCH(double, bpm);
        m_state->setBpm(bpm);
        QTEST(m_controller->tempoLabel(), "label");
        QTEST(CircleOfFifthsController::period(bpm), "period");
    }
};

QTEST_MAIN(TestCircleOfFifthsController)
#include "tst_circleoffifthscontroller.moc"
