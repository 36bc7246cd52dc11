#include "support/FakeTimers.h"
#include "support/RecordingSoundOutput.h"
#include "tools/temperament/TemperamentController.h"
#include "ui/MorvelaTheme.h"

#include <QtTest>

#include <memory>

using Kind = RecordingSoundOutput::Kind;

class TestTemperamentController : public QObject {
    Q_OBJECT

    ManualClock m_clock;
    std::unique_ptr<RecordingSoundOutput> m_sound;
    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<TemperamentController> m_controller;

    void advance(double milliseconds) { m_clock.advance(ManualClock::Ms(milliseconds)); }
    QList<double> frequencies() const
    {
        QList<double> heard;
        for (const auto& call : m_sound->calls)
            heard.append(call.frequency);
        return heard;
    }
    QVariant cell(int row, int role) const
    {
        return m_controller->steps()->data(m_controller->steps()->index(row), role);
    }
    QList<int> soundingRows() const
    {
        QList<int> rows;
        for (int row = 0; row < m_controller->steps()->rowCount(); ++row)
            if (cell(row, ScaleStepsModel::SoundingRole).toBool())
                rows.append(row);
        return rows;
    }
    // A scale that started at 0 s has played up to step `k`.
    void playTo(int k)
    {
        m_controller->startPlayback();
        advance(300.0 * k);
        QCOMPARE(m_state->tetStep(), QVariant(qint64(k)));
    }

private Q_SLOTS:
    void initTestCase() { Services::setTimerFactory(&m_clock); }
    void cleanupTestCase() { Services::setTimerFactory(nullptr); }

    void init()
    {
        m_sound = std::make_unique<RecordingSoundOutput>();
        m_state = std::make_unique<CalculatorState>();
        m_controller = std::make_unique<TemperamentController>();
        m_controller->setCalculator(m_state.get());
        m_controller->setClock([this] { return m_clock.seconds(); });
        advance(10000 - m_clock.now().count()); // every test starts at 10 s
    }
    void cleanup()
    {
        m_controller.reset();
        QCOMPARE(m_clock.pendingCount(), 0);
        m_sound.reset();
    }

    // Thirteen tones on the loop's grid, the highlight with them, and the end at the 14th tick.
    void playsTheScaleOnTheGrid()
    {
        m_controller->startPlayback();
        QCOMPARE(m_state->tetPlaying(), true);
        for (int tick = 1; tick <= 12; ++tick) {
            QCOMPARE(soundingRows(), QList<int>{tick - 1});
            advance(300);
        }
        QCOMPARE(m_sound->calls.size(), 13u);
        for (int k = 0; k <= 12; ++k) {
            const auto& call = m_sound->calls[std::size_t(k)];
            QCOMPARE(call.kind, Kind::tone);
            QCOMPARE(call.frequency, 440.0 * std::exp2(k / 12.0));
            QVERIFY(call.at.has_value());
            QCOMPARE(*call.at, 10.0 + 0.3 * k);
        }
        QCOMPARE(m_state->tetPlaying(), true);
        advance(300);
        QCOMPARE(m_state->tetPlaying(), false);
        QCOMPARE(m_state->tetStep(), QVariant());
        QCOMPARE(soundingRows(), QList<int>{});
        QCOMPARE(m_sound->calls.size(), 13u);
        QCOMPARE(m_clock.pendingCount(), 0);
    }

    void oneDivisionPlaysTheReferenceAndItsOctave()
    {
        m_state->setTetDivisions(1);
        m_controller->startPlayback();
        advance(3000);
        QCOMPARE(frequencies(), (QList<double>{440.0, 880.0}));
        QCOMPARE(m_state->tetPlaying(), false);
    }

    void stopClearsTheHighlightAtOnce()
    {
        playTo(4);
        QCOMPARE(soundingRows(), QList<int>{4});
        m_controller->togglePlayback();
        QCOMPARE(m_state->tetPlaying(), false);
        QCOMPARE(m_state->tetStep(), QVariant());
        QCOMPARE(soundingRows(), QList<int>{});
        advance(3000);
        QCOMPARE(m_sound->calls.size(), 5u);
    }

    // A new N stops the scale and, only if it was playing, starts it again from step 0.
    void newDivisions_data()
    {
        QTest::addColumn<bool>("playing");
        QTest::addColumn<bool>("preset"); // else the stepper
        QTest::addColumn<qint64>("divisions");
        QTest::newRow("preset 31 while playing") << true << true << qint64(31);
        QTest::newRow("stepper while playing") << true << false << qint64(13);
        QTest::newRow("preset 31 while idle") << false << true << qint64(31);
        QTest::newRow("stepper while idle") << false << false << qint64(13);
    }
    void newDivisions()
    {
        QFETCH(bool, playing);
        QFETCH(bool, preset);
        QFETCH(qint64, divisions);
        if (playing)
            playTo(5);
        m_sound->calls.clear();
        if (preset)
            m_controller->choosePreset(3);
        else
            m_controller->stepDivisions(1);
        QCOMPARE(m_state->tetDivisions(), divisions);
        QCOMPARE(m_controller->steps()->rowCount(), int(divisions + 1));
        QCOMPARE(m_state->tetPlaying(), playing);
        if (!playing) {
            advance(1000);
            QCOMPARE(m_sound->calls.size(), 0u);
            return;
        }
        QCOMPARE(m_state->tetStep(), QVariant(qint64(0)));
        advance(300.0 * double(divisions + 1));
        QCOMPARE(m_sound->calls.size(), std::size_t(divisions + 1));
        QCOMPARE(*m_sound->calls[1].at - *m_sound->calls[0].at, 0.3);
        QCOMPARE(m_sound->calls.back().frequency, 880.0);
        QCOMPARE(m_state->tetPlaying(), false);
    }

    // The next tick sounds the new pitch; the scale goes on where it was.
    void referenceChangeMidPlay()
    {
        playTo(2);
        m_state->setTetReferenceText(QStringLiteral("300"));
        m_controller->commitReferenceText();
        m_state->setA4(432); // moves no step's frequency
        QCOMPARE(m_state->tetStep(), QVariant(qint64(2)));
        advance(300);
        QCOMPARE(m_sound->calls.back().frequency, 300.0 * std::exp2(3 / 12.0));
        QCOMPARE(m_state->tetStep(), QVariant(qint64(3)));
    }

    void clickedStepSoundsOnce_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QList<double>>("heard");
        QTest::newRow("the reference") << 0 << QList<double>{440.0};
        QTest::newRow("the octave") << 12 << QList<double>{880.0};
        QTest::newRow("beyond the octave") << 13 << QList<double>{};
        QTest::newRow("negative") << -1 << QList<double>{};
    }
    void clickedStepSoundsOnce()
    {
        QFETCH(int, index);
        QFETCH(QList<double>, heard);
        m_controller->playStep(index);
        QCOMPARE(frequencies(), heard);
        if (!heard.isEmpty())
            QVERIFY(!m_sound->calls[0].at.has_value()); // at once, not on a grid
        QCOMPARE(m_state->tetPlaying(), false);
    }

    // Leaving the screen commits what was typed and stops the scale for good.
    void leavingCommitsAndStops()
    {
        playTo(3);
        m_state->setTetReferenceText(QStringLiteral("261,5"));
        m_controller.reset();
        QCOMPARE(m_state->tetReference(), 261.5);
        QCOMPARE(m_state->tetReferenceText(), QStringLiteral("261.50"));
        QCOMPARE(m_state->tetPlaying(), false);
        QCOMPARE(m_state->tetStep(), QVariant());
        advance(3000);
        QCOMPARE(m_sound->calls.size(), 4u);
    }

    void stepperReference()
    {
        m_state->setTetReferenceText(QStringLiteral("300"));
        m_controller->stepReference(1);
        QCOMPARE(m_state->tetReference(), 301.0);
        QCOMPARE(m_state->tetReferenceText(), QStringLiteral("301"));
        m_state->setTetReference(2000);
        QVERIFY(!m_controller->canStepReferenceUp());
        QVERIFY(m_controller->canStepReferenceDown());
    }

    void header_data()
    {
        QTest::addColumn<qint64>("divisions");
        QTest::addColumn<QStringList>("values"); // N, step in cents, step ratio
        QTest::addColumn<bool>("canStepUp");
        QTest::addColumn<bool>("canStepDown");
        QTest::newRow("12") << qint64(12) << QStringList{"12", "100.0", "1.05946"} << true << true;
        QTest::newRow("53") << qint64(53) << QStringList{"53", "22.6", "1.01316"} << false << true;
        QTest::newRow("1") << qint64(1) << QStringList{"1", "1200.0", "2.00000"} << true << false;
    }
    void header()
    {
        QFETCH(qint64, divisions);
        QFETCH(QStringList, values);
        QFETCH(bool, canStepUp);
        QFETCH(bool, canStepDown);
        m_state->setTetDivisions(divisions);
        QCOMPARE(
            (QStringList{m_controller->divisions(), m_controller->stepCents(), m_controller->stepRatio()}),
            values);
        QCOMPARE(m_controller->canStepDivisionsUp(), canStepUp);
        QCOMPARE(m_controller->canStepDivisionsDown(), canStepDown);
    }

    // Rows as the table prints them: N = 19 on 440, step 1, and its octave.
    void rows_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("step 1") << 1
                                << QStringList{"1",
                                               "false",
                                               "456.35",
                                               "1.0372",
                                               "1.03716",
                                               "63.2",
                                               "A#4",
                                               "-37¢",
                                               "Step 1, 456.35 Hz, ratio 1.0372, 63.2 cents, A#4 -37 cents",
                                               "Play 456.35 Hz"};
        QTest::newRow("octave") << 19
                                << QStringList{"octave",
                                               "true",
                                               "880.00",
                                               "2.0000",
                                               "2.00000",
                                               "1200.0",
                                               "A5",
                                               "+0¢",
                                               "Octave, 880.00 Hz, ratio 2.0000, 1200.0 cents, A5 +0 cents",
                                               "Play 880.00 Hz"};
    }
    void rows()
    {
        QFETCH(int, row);
        QFETCH(QStringList, shown);
        m_state->setTetDivisions(19);
        QStringList actual;
        for (int role :
             {ScaleStepsModel::LabelRole, ScaleStepsModel::EndRole, ScaleStepsModel::FrequencyRole,
              ScaleStepsModel::RatioRole, ScaleStepsModel::RatioCopyRole, ScaleStepsModel::CentsRole,
              ScaleStepsModel::NearestNoteRole, ScaleStepsModel::NearestCentsRole,
              ScaleStepsModel::SpokenRole, ScaleStepsModel::PlayHelpRole})
            actual.append(cell(row, role).toString());
        QCOMPARE(actual, shown);
    }

    // Fern below 5 ¢, saffron from 5 up to 20 ¢, lacquer from 20 ¢ on, either side of the note.
    void deviationTint_data()
    {
        QTest::addColumn<double>("reference"); // A4 stays 440
        QTest::addColumn<QColor>("tint");
        QTest::newRow("+2 ¢") << 440.5 << MorvelaTheme::fern();
        QTest::newRow("+4.7 ¢") << 441.2 << MorvelaTheme::fern();
        QTest::newRow("+5.1 ¢") << 441.3 << MorvelaTheme::saffron();
        QTest::newRow("+19.6 ¢") << 445.0 << MorvelaTheme::saffron();
        QTest::newRow("+20.3 ¢") << 445.2 << MorvelaTheme::lacquer();
        QTest::newRow("-5.1 ¢") << 440.0 * 440.0 / 441.3 << MorvelaTheme::saffron();
        QTest::newRow("-20.3 ¢") << 440.0 * 440.0 / 445.2 << MorvelaTheme::lacquer();
    }
    void deviationTint()
    {
        QFETCH(double, reference);
        QFETCH(QColor, tint);
        m_state->setTetReference(reference);
        QCOMPARE(cell(0, ScaleStepsModel::DeviationTintRole).value<QColor>(), tint);
    }

    // The rows already shown stay (and keep their copied feedback); only the difference is
    // added or removed.
    void newNKeepsTheCommonRows()
    {
        QSignalSpy inserted(m_controller->steps(), &QAbstractItemModel::rowsInserted);
        QSignalSpy removed(m_controller->steps(), &QAbstractItemModel::rowsRemoved);
        QSignalSpy reset(m_controller->steps(), &QAbstractItemModel::modelReset);
        m_state->setTetDivisions(31);
        m_state->setTetDivisions(5);
        m_state->setA4(432);
        QCOMPARE(inserted.count(), 1);
        QCOMPARE(inserted[0].mid(1), (QVariantList{13, 31}));
        QCOMPARE(removed.count(), 1);
        QCOMPARE(removed[0].mid(1), (QVariantList{6, 31}));
        QCOMPARE(reset.count(), 0);
        QCOMPARE(cell(5, ScaleStepsModel::LabelRole).toString(), QStringLiteral("octave"));
    }
};

QTEST_MAIN(TestTemperamentController)
#include "tst_temperamentcontroller.moc"
