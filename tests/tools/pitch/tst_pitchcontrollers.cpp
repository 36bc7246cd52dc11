#include "tools/pitch/NoteFrequencyController.h"
#include "tools/pitch/TuningControlsController.h"

#include <QtTest>

#include <memory>

// Runs under C.UTF-8 and de_DE.UTF-8: every figure keeps its decimal point.
class TestPitchControllers : public QObject {
    Q_OBJECT

    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<TuningControlsController> m_controls;

    // The controls as the screen makes them each time it is shown.
    void showControls()
    {
        m_controls = std::make_unique<TuningControlsController>();
        m_controls->setCalculator(m_state.get());
    }

    static QString cell(FrequencyMatrixModel* matrix, int row, int column)
    {
        return matrix->index(row).data(FrequencyMatrixModel::FrequenciesRole).toStringList().value(column);
    }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<CalculatorState>();
        showControls();
    }

    void commitText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("a4Writes"); // a rejected text must not disturb the other tools
        QTest::newRow("accepted") << "439,5" << 439.5 << "439.5" << 1;
        QTest::newRow("clamped") << "500" << 480.0 << "480" << 1;
        QTest::newRow("same reference, canonical text") << "0440.0" << 440.0 << "440" << 0;
        QTest::newRow("rejected") << "abc" << 440.0 << "440" << 0;
    }
    void commitText()
    {
        QFETCH(QString, typed);
        QFETCH(double, a4);
        QFETCH(QString, text);
        QFETCH(int, a4Writes);
        QSignalSpy writes(m_state.get(), &CalculatorState::a4Changed);
        m_state->setA4Text(typed);
        m_controls->commitText();
        QCOMPARE(m_state->a4(), a4);
        QCOMPARE(m_state->a4Text(), text);
        QCOMPARE(writes.count(), a4Writes);
    }

    // Another tool, or anything else, writing the reference rewrites the field's text; a screen
    // shown after such a change shows the new reference, not the text it left behind.
    void textFollowsTheReference()
    {
        m_state->setA4Text(QStringLiteral("44"));
        m_state->setA4(441.5);
        QCOMPARE(m_state->a4Text(), QStringLiteral("441.5"));
        m_controls.reset();
        m_state->setA4(432);
        QCOMPARE(m_state->a4Text(), QStringLiteral("441.5"));
        showControls();
        QCOMPARE(m_state->a4Text(), QStringLiteral("432"));
    }

    void reset_data()
    {
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("text");
        QTest::newRow("committed 432") << 432.0 << "432";
        QTest::newRow("a fraction, half typed over") << 439.5 << "47";
        QTest::newRow("440 with rejected text pending") << 440.0 << "abc";
        QTest::newRow("at the top") << 480.0 << "480";
    }
    void reset()
    {
        QFETCH(double, a4);
        QFETCH(QString, text);
        m_state->setA4(a4);
        m_state->setA4Text(text);
        m_controls->reset();
        QCOMPARE(m_state->a4(), 440.0);
        QCOMPARE(m_state->a4Text(), QStringLiteral("440"));
    }

    void stepping_data()
    {
        QTest::addColumn<double>("a4");
        QTest::addColumn<bool>("canStepUp");
        QTest::addColumn<bool>("canStepDown");
        QTest::addColumn<double>("up");
        QTest::addColumn<QString>("upText");
        QTest::newRow("440") << 440.0 << true << true << 441.0 << "441";
        QTest::newRow("a fraction") << 439.5 << true << true << 440.5 << "440.5";
        QTest::newRow("at 480") << 480.0 << false << true << 480.0 << "480";
        QTest::newRow("at 400") << 400.0 << true << false << 401.0 << "401";
    }
    void stepping()
    {
        QFETCH(double, a4);
        QFETCH(bool, canStepUp);
        QFETCH(bool, canStepDown);
        QSignalSpy limits(m_controls.get(), &TuningControlsController::stepLimitsChanged);
        m_state->setA4(a4);
        QCOMPARE(limits.count(), 1);
        QCOMPARE(m_controls->canStepUp(), canStepUp);
        QCOMPARE(m_controls->canStepDown(), canStepDown);
        m_controls->step(1);
        QTEST(m_state->a4(), "up");
        QTEST(m_state->a4Text(), "upText");
    }

    void sliderStoresWholeNumbers()
    {
        m_controls->writeSlider(452.5);
        QCOMPARE(m_state->a4(), 453.0);
        QCOMPARE(m_state->a4Text(), QStringLiteral("453"));
    }

    // The controls may outlive the state at shutdown, or be shown before they get one.
    void withoutStateNothingHappens()
    {
        m_state.reset();
        QCOMPARE(m_controls->calculator(), nullptr);
        m_controls->commitText();
        m_controls->writeSlider(450);
        m_controls->step(1);
        m_controls->reset();
        QVERIFY(!m_controls->canStepUp());
        QVERIFY(!m_controls->canStepDown());
    }

    void headline_data()
    {
        QTest::addColumn<double>("a4");
        QTest::addColumn<QStringList>("values"); // A4, C4, A3
        QTest::newRow("440") << 440.0 << QStringList{"440.0", "261.6", "220.0"};
        QTest::newRow("432") << 432.0 << QStringList{"432.0", "256.9", "216.0"};
        QTest::newRow("439.5") << 439.5 << QStringList{"439.5", "261.3", "219.8"};
        QTest::newRow("480") << 480.0 << QStringList{"480.0", "285.4", "240.0"};
    }
    void headline()
    {
        QFETCH(double, a4);
        QFETCH(QStringList, values);
        NoteFrequencyController pitch;
        pitch.setCalculator(m_state.get());
        QSignalSpy changes(&pitch, &NoteFrequencyController::valuesChanged);
        m_state->setA4(a4);
        QCOMPARE(changes.count(), 1);
        QCOMPARE((QStringList{pitch.a4(), pitch.c4(), pitch.a3()}), values);
    }

    void matrix_data()
    {
        QTest::addColumn<double>("a4");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("hz");
        QTest::newRow("C0") << 440.0 << 0 << 0 << "16.4";
        QTest::newRow("C4") << 440.0 << 0 << 4 << "261.6";
        QTest::newRow("A4") << 440.0 << 9 << 4 << "440.0";
        QTest::newRow("B8") << 440.0 << 11 << 8 << "7902.1";
        QTest::newRow("A4 at 432") << 432.0 << 9 << 4 << "432.0";
        QTest::newRow("C0 at 400") << 400.0 << 0 << 0 << "14.9";
        QTest::newRow("B8 at 480") << 480.0 << 11 << 8 << "8620.5";
    }
    void matrix()
    {
        QFETCH(double, a4);
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, hz);
        NoteFrequencyController pitch;
        pitch.setCalculator(m_state.get());
        QSignalSpy updates(pitch.matrix(), &QAbstractItemModel::dataChanged);
        m_state->setA4(a4);
        QCOMPARE(updates.count(), 1);
        QCOMPARE(cell(pitch.matrix(), row, column), hz);
    }

    // 12 rows of 9 in the order of the table, each cell named by its note, the sharps marked
    // and only A carrying the reference.
    void matrixShape()
    {
        NoteFrequencyController pitch;
        pitch.setCalculator(m_state.get());
        FrequencyMatrixModel* matrix = pitch.matrix();
        QCOMPARE(pitch.octaves(), (QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8"}));
        QCOMPARE(pitch.referenceColumn(), 4);
        QCOMPARE(matrix->rowCount(), 12);
        QStringList sharps;
        QStringList references;
        for (int row = 0; row < matrix->rowCount(); ++row) {
            const QModelIndex index = matrix->index(row);
            QCOMPARE(index.data(FrequencyMatrixModel::FrequenciesRole).toStringList().size(), 9);
            const QString name = index.data(FrequencyMatrixModel::NameRole).toString();
            if (index.data(FrequencyMatrixModel::SharpRole).toBool())
                sharps.append(name);
            if (index.data(FrequencyMatrixModel::ReferenceRole).toBool())
                references.append(name);
        }
        QCOMPARE(sharps, (QStringList{"C#", "D#", "F#", "G#", "A#"}));
        QCOMPARE(references, QStringList{"A"});
        QCOMPARE(matrix->index(1).data(FrequencyMatrixModel::NotesRole).toStringList(),
                 (QStringList{"C#0", "C#1", "C#2", "C#3", "C#4", "C#5", "C#6", "C#7", "C#8"}));
    }
};

QTEST_MAIN(TestPitchControllers)
#include "tst_pitchcontrollers.moc"
