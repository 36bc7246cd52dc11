#include "platform/StateFiles.h"
#include "support/FakeTimers.h"
#include "support/RecordingSoundOutput.h"
#include "tools/harmony/CircleOfFifthsController.h"

#include "common/NumberText.h"

#include <QtTest>

#include <memory>

using Tint = CircleOfFifthsController::Tint;

namespace {

// A column of the current data row, where QFETCH's declaration does not fit.
template <typename T> T fetched(const char* column)
{
    return *static_cast<T*>(QTest::qData(column, qMetaTypeId<T>()));
}

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

    void freshWindowShowsCMajor()
    {
        QCOMPARE(selection(), "0 0");
        QCOMPARE(tinted(*m_controller),
                 (QStringList{"maj-0 Selected", "maj-1 Family", "maj-11 Family", "min-0 Family"}));
        QCOMPARE((QStringList{m_controller->keyName(), m_controller->signature(), m_controller->relative()}),
                 (QStringList{"C", "0", "Am"}));
        QCOMPARE(m_controller->signatureNotes(), "no accidentals");
    }

    void selectingASegment_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("minorRing");
        QTest::addColumn<QStringList>("tinted");
        QTest::addColumn<QString>("root");
        QTest::addColumn<int>("quality");
        QTest::newRow("F♯ minor") << 3 << true
                                  << QStringList{"maj-3 Family", "min-2 Family", "min-3 Selected",
                                                 "min-4 Family"}
                                  << "185.00" << int(morvela::TriadQuality::minor);
        QTest::newRow("F tints C across the top")
            << 11 << false << QStringList{"maj-0 Family", "maj-10 Family", "maj-11 Selected", "min-11 Family"}
            << "174.61" << int(morvela::TriadQuality::major);
    }
    void selectingASegment()
    {
        QFETCH(int, index);
        QFETCH(bool, minorRing);
        m_controller->selectSegment(index, minorRing);
        QCOMPARE(tinted(*m_controller), fetched<QStringList>("tinted"));
        QCOMPARE(m_sound->calls.size(), 1u);
        QCOMPARE(hz(m_sound->calls[0].frequency), fetched<QString>("root"));
        QCOMPARE(int(m_sound->calls[0].quality), fetched<int>("quality"));
        QVERIFY(!m_sound->calls[0].at);
    }

    void signatureNotesAreSpaced()
    {
        m_controller->select(3, true);
        QCOMPARE(m_controller->longName(), "F♯ minor");
        QCOMPARE(m_controller->signatureNotes(), "F♯  C♯  G♯");
    }

    // Hover tints only segments outside the key family; the gap hovers but does not select.
    void pointer_data()
    {
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<QString>("hovered");
        QTest::addColumn<QStringList>("tinted");
        QTest::addColumn<QString>("afterPress");
        const QStringList cMajor{"maj-0 Selected", "maj-1 Family", "maj-11 Family", "min-0 Family"};
        QTest::newRow("over E") << onWheel(0.85, 120) << "maj-4"
                                << QStringList{cMajor[0], cMajor[1], "maj-4 Hovered", cMajor[2], cMajor[3]}
                                << "4 0";
        QTest::newRow("over a family segment") << onWheel(0.6, 0) << "min-0" << cMajor << "0 1";
        QTest::newRow("gap between E and B")
            << onWheel(0.85, 134.5) << "maj-4"
            << QStringList{cMajor[0], cMajor[1], "maj-4 Hovered", cMajor[2], cMajor[3]} << "0 0";
        QTest::newRow("ring gap") << onWheel(0.7075, 120) << "" << cMajor << "0 0";
    }
    void pointer()
    {
        QFETCH(QPointF, at);
        QFETCH(QString, hovered);
        QFETCH(QString, afterPress);
        m_controller->hoverAt(at.x(), at.y(), 430, 430);
        QCOMPARE(m_controller->hoveredSegment(), hovered);
        QCOMPARE(tinted(*m_controller), fetched<QStringList>("tinted"));
        QCOMPARE(m_controller->tintDuration(), hovered.isEmpty() ? 160 : 120);
        const bool selects = afterPress != "0 0";
        QCOMPARE(m_controller->pressAt(at.x(), at.y(), 430, 430), selects);
        QCOMPARE(selection(), afterPress);
        QCOMPARE(int(m_sound->calls.size()), selects ? 1 : 0);
        QCOMPARE(m_controller->tintDuration(), selects || hovered.isEmpty() ? 160 : 120);
        m_controller->hoverLeft();
        QCOMPARE(m_controller->hoveredSegment(), QString());
    }

    void selectionSurvivesARestart()
    {
        m_controller->selectSegment(9, true);
        showScreen();
        QCOMPARE(selection(), "9 1");
        QCOMPARE(m_controller->keyName(), "Cm");
        m_controller->select(2, false);
        showScreen();
        QCOMPARE(selection(), "2 0");
    }

    void storedSelection_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QString>("selection");
        QTest::newRow("written by hand")
            << QVariantMap{{"fifthsSelectedIndex", "11"}, {"fifthsMinorSelected", "true"}} << "11 1";
        QTest::newRow("index 99") << QVariantMap{{"fifthsSelectedIndex", 99}, {"fifthsMinorSelected", true}}
                                  << "0 0";
        QTest::newRow("index -1") << QVariantMap{{"fifthsSelectedIndex", -1}} << "0 0";
        QTest::newRow("index abc") << QVariantMap{{"fifthsSelectedIndex", "abc"},
                                                  {"fifthsMinorSelected", true}}
                                   << "0 0";
        QTest::newRow("flag not a boolean")
            << QVariantMap{{"fifthsSelectedIndex", 4}, {"fifthsMinorSelected", "yes"}} << "0 0";
        QTest::newRow("flag a list") << QVariantMap{{"fifthsSelectedIndex", 4},
                                                    {"fifthsMinorSelected", QStringList{"a", "b"}}}
                                     << "0 0";
    }
    void storedSelection()
    {
        store(fetched<QVariantMap>("stored"));
        showScreen();
        QCOMPARE(selection(), fetched<QString>("selection"));
    }

    void chordTapAppendsAndSounds()
    {
        for (int i = 0; i < 3; ++i)
            m_controller->addDegree(3);
        QCOMPARE(m_state->progression(), (QList<qint64>{3, 3, 3}));
        QCOMPARE(m_sound->calls.size(), 3u);
        QCOMPARE(hz(m_sound->calls[2].frequency), "174.61");
        QCOMPARE(m_sound->calls[2].quality, morvela::TriadQuality::major);
    }

    void playbackKeepsTheBeat()
    {
        playLoop({0, 4, 5, 3});
        advanceSeconds(4);
        QCOMPARE(sounded(), (QStringList{"130.81 major -", "196.00 major 1", "220.00 minor 2",
                                         "174.61 major 3", "130.81 major 4"}));
        QCOMPARE(m_state->playingStep(), QVariant(qint64(0)));
    }

    void loopFollowsTheKeyFromTheNextChord()
    {
        playLoop({0, 4, 5, 3});
        m_controller->selectSegment(0, true);
        m_state->setA4(432);
        advanceSeconds(4);
        QCOMPARE(sounded().mid(2),
                 (QStringList{"161.82 minor 1", "171.44 major 2", "144.16 minor 3", "216.00 minor 4"}));
    }

    void addingNeverRestartsTheLoop()
    {
        playLoop({0});
        advanceSeconds(0.5);
        m_controller->addDegree(4);
        advanceSeconds(0.5);
        QCOMPARE(sounded(), (QStringList{"130.81 major -", "196.00 major -", "196.00 major 1"}));
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
        switch (how) {
        case 0:
            m_controller->removeStep(0);
            break;
        case 1:
            m_controller->clear();
            break;
        case 2:
            m_state->setProgression({});
            advanceSeconds(1);
            break;
        case 3:
            m_controller.reset();
            break;
        case 4:
            m_controller->toggle();
            break;
        }
        QVERIFY(!m_state->progressionPlaying());
        QVERIFY(!m_state->playingStep().isValid());
        QCOMPARE(m_clock->pendingCount(), 0);
        advanceSeconds(10);
        QCOMPARE(m_sound->calls.size(), sounds);
        QCOMPARE(m_state->progression().isEmpty(), how != 4 && how != 3);
    }

    void startWithAnEmptyLoopDoesNothing()
    {
        m_controller->toggle();
        QVERIFY(!m_state->progressionPlaying());
        QCOMPARE(m_clock->pendingCount(), 0);
        QVERIFY(m_sound->calls.empty());
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
        QCOMPARE(sounded(), fetched<QStringList>("after"));
        QCOMPARE(m_state->progressionPlaying(), playing);
    }

    void tempo_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<double>("period");
        QTest::addColumn<QString>("label");
        QTest::newRow("99.9") << 99.9 << 120.0 / 99.9 << "99 BPM · 2 beats/chord";
        QTest::newRow("120.7") << 120.7 << 120.0 / 120.7 << "120 BPM · 2 beats/chord";
        QTest::newRow("20") << 20.0 << 6.0 << "20 BPM · 2 beats/chord";
        QTest::newRow("15") << 15.0 << 6.0 << "15 BPM · 2 beats/chord";
        QTest::newRow("1000") << 1000.0 << 0.3 << "1000 BPM · 2 beats/chord";
        QTest::newRow("not a number") << qQNaN() << 6.0 << "0 BPM · 2 beats/chord";
    }
    void tempo()
    {
        QFETCH(double, bpm);
        QFETCH(double, period);
        m_state->setBpm(bpm);
        QCOMPARE(m_controller->tempoLabel(), fetched<QString>("label"));
        playLoop({0, 1});
        m_state->setBpm(60); // read only at start
        advanceSeconds(period * 0.999);
        QCOMPARE(m_sound->calls.size(), 1u);
        advanceSeconds(period * 0.002);
        QCOMPARE(m_sound->calls.size(), 2u);
        QCOMPARE(*m_sound->calls[1].at, period);
    }

    void loopChipsReadAsTheyShow()
    {
        playLoop({0, 4, 5, 3});
        advanceSeconds(1);
        QStringList names;
        for (const QVariant& chip : m_controller->loopChips())
            names.append(chip.toMap().value("accessibleName").toString());
        QCOMPARE(names, (QStringList{"Chord 1 of 4, C, I", "Chord 2 of 4, G, V, playing",
                                     "Chord 3 of 4, Am, vi", "Chord 4 of 4, F, IV"}));
    }

    void copiesPlainText()
    {
        QCOMPARE(CircleOfFifthsController::plainText("B♭m"), "Bbm");
        QCOMPARE(CircleOfFifthsController::plainText("D♯  E♯"), "D#  E#");
    }
};

QTEST_MAIN(TestCircleOfFifthsController)
#include "tst_circleoffifthscontroller.moc"
