#include "model/CalculatorState.h"

#include <QMetaProperty>
#include <QSignalSpy>
#include <QtTest>

class TestCalculatorState : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Every field, in declaration order, with its initial value; an absent optional step reads
    // as an invalid variant.
    void fieldsAndInitialValues()
    {
        QList<qint64> all;
        for (qint64 n = 1; n <= 16; ++n)
            all.append(n);
        const QList<std::pair<const char*, QVariant>> expected{
            {"bpm", 120.0},
            {"bpmText", QString("120")},
            {"a4", 440.0},
            {"a4Text", QString("440")},
            {"progression", QVariant::fromValue(QList<qint64>())},
            {"progressionPlaying", false},
            {"playingStep", QVariant()},
            {"customTotalBars", 1.0},
            {"customPreDivision", qint64(64)},
            {"overtonePitchClass", qint64(9)},
            {"overtoneOctave", qint64(1)},
            {"overtonesEnabled", QVariant::fromValue(all)},
            {"overtoneStep", QVariant()},
            {"overtoneSweeping", false},
            {"euclidSteps", qint64(8)},
            {"euclidPulses", qint64(3)},
            {"euclidRotation", qint64(0)},
            {"euclidNote", qint64(16)},
            {"euclidPlaying", false},
            {"euclidStep", QVariant()},
            {"tetDivisions", qint64(12)},
            {"tetReference", 440.0},
            {"tetReferenceText", QString("440")},
            {"tetPlaying", false},
            {"tetStep", QVariant()},
        };
        const QMetaObject& meta = CalculatorState::staticMetaObject;
        QCOMPARE(meta.propertyCount() - meta.propertyOffset(), int(expected.size()));
        CalculatorState state;
        for (int i = 0; i < expected.size(); ++i) {
            const auto& [name, value] = expected[i];
            const QMetaProperty property = meta.property(meta.propertyOffset() + i);
            QCOMPARE(property.name(), name);
            const QVariant actual = property.read(&state);
            QCOMPARE(actual.metaType(), value.metaType());
            QCOMPARE(actual, value);
        }
    }

    // Writing the value a field already holds still notifies: once on the field, once overall.
    void everyAssignmentNotifiesOnce()
    {
        CalculatorState state;
        const QMetaObject& meta = CalculatorState::staticMetaObject;
        QSignalSpy anything(&state, &CalculatorState::changed);
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
            const QMetaProperty property = meta.property(i);
            QVERIFY2(property.hasNotifySignal(), property.name());
            QSignalSpy field(&state, property.notifySignal());
            const int before = int(anything.count());
            QVERIFY(property.write(&state, property.read(&state)));
            QCOMPARE(field.count(), 1);
            QCOMPARE(int(anything.count()), before + 1);
        }
    }
};

QTEST_GUILESS_MAIN(TestCalculatorState)
#include "tst_calculatorstate.moc"
