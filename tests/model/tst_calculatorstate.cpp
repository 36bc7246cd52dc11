#include "model/CalculatorState.h"

#include <QMetaProperty>
#include <QSignalSpy>
#include <QtTest>

namespace {

QList<qint64> ints(std::initializer_list<qint64> values)
{
    return QList<qint64>(values);
}

} // namespace

class TestCalculatorState : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initialValues_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("expected");
        QList<qint64> all;
        for (qint64 n = 1; n <= 16; ++n)
            all.append(n);
        // In declaration order.
        QTest::newRow("bpm") << "bpm" << QVariant(120.0);
        QTest::newRow("bpmText") << "bpmText" << QVariant(QString("120"));
        QTest::newRow("a4") << "a4" << QVariant(440.0);
        QTest::newRow("a4Text") << "a4Text" << QVariant(QString("440"));
        QTest::newRow("progression") << "progression" << QVariant::fromValue(QList<qint64>());
        QTest::newRow("progressionPlaying") << "progressionPlaying" << QVariant(false);
        QTest::newRow("playingStep") << "playingStep" << QVariant();
        QTest::newRow("customTotalBars") << "customTotalBars" << QVariant(1.0);
        QTest::newRow("customPreDivision") << "customPreDivision" << QVariant(qint64(64));
        QTest::newRow("overtonePitchClass") << "overtonePitchClass" << QVariant(qint64(9));
        QTest::newRow("overtoneOctave") << "overtoneOctave" << QVariant(qint64(1));
        QTest::newRow("overtonesEnabled") << "overtonesEnabled" << QVariant::fromValue(all);
        QTest::newRow("overtoneStep") << "overtoneStep" << QVariant();
        QTest::newRow("overtoneSweeping") << "overtoneSweeping" << QVariant(false);
        QTest::newRow("euclidSteps") << "euclidSteps" << QVariant(qint64(8));
        QTest::newRow("euclidPulses") << "euclidPulses" << QVariant(qint64(3));
        QTest::newRow("euclidRotation") << "euclidRotation" << QVariant(qint64(0));
        QTest::newRow("euclidNote") << "euclidNote" << QVariant(qint64(16));
        QTest::newRow("euclidPlaying") << "euclidPlaying" << QVariant(false);
        QTest::newRow("euclidStep") << "euclidStep" << QVariant();
        QTest::newRow("tetDivisions") << "tetDivisions" << QVariant(qint64(12));
        QTest::newRow("tetReference") << "tetReference" << QVariant(440.0);
        QTest::newRow("tetReferenceText") << "tetReferenceText" << QVariant(QString("440"));
        QTest::newRow("tetPlaying") << "tetPlaying" << QVariant(false);
        QTest::newRow("tetStep") << "tetStep" << QVariant();
    }
    void initialValues()
    {
        QFETCH(QString, field);
        QFETCH(QVariant, expected);
        CalculatorState state;
        const QVariant actual = state.property(field.toLatin1());
        // An absent optional step reads as an invalid variant.
        QCOMPARE(actual.isValid(), expected.isValid());
        if (expected.isValid()) {
            QCOMPARE(actual.metaType(), expected.metaType());
            QCOMPARE(actual, expected);
        }
    }

    void fieldsInDeclarationOrder()
    {
        const QMetaObject& meta = CalculatorState::staticMetaObject;
        QStringList names;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i)
            names << QString::fromLatin1(meta.property(i).name());
        QCOMPARE(names, (QStringList{"bpm",
                                     "bpmText",
                                     "a4",
                                     "a4Text",
                                     "progression",
                                     "progressionPlaying",
                                     "playingStep",
                                     "customTotalBars",
                                     "customPreDivision",
                                     "overtonePitchClass",
                                     "overtoneOctave",
                                     "overtonesEnabled",
                                     "overtoneStep",
                                     "overtoneSweeping",
                                     "euclidSteps",
                                     "euclidPulses",
                                     "euclidRotation",
                                     "euclidNote",
                                     "euclidPlaying",
                                     "euclidStep",
                                     "tetDivisions",
                                     "tetReference",
                                     "tetReferenceText",
                                     "tetPlaying",
                                     "tetStep"}));
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

    void holdsWhatAWriterPutsIn()
    {
        CalculatorState state;
        state.setOvertonesEnabled({});
        state.setBpmText(QStringLiteral("12 0 bpm"));
        state.setBpm(-3.5);
        state.setProgression(ints({6, 0, 0, 3}));
        state.setPlayingStep(qint64(2));
        QVERIFY(state.overtonesEnabled().isEmpty());
        QCOMPARE(state.bpmText(), QStringLiteral("12 0 bpm"));
        QCOMPARE(state.bpm(), -3.5);
        QCOMPARE(state.progression(), ints({6, 0, 0, 3}));
        QCOMPARE(state.playingStep().toLongLong(), 2);
        state.setPlayingStep(QVariant());
        QVERIFY(!state.playingStep().isValid());
    }
};

QTEST_GUILESS_MAIN(TestCalculatorState)
#include "tst_calculatorstate.moc"
