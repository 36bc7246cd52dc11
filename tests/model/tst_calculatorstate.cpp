#include "model/CalculatorState.h"

#include <QMetaProperty>
#include <QSignalSpy>
#include <QtTest>

// The initial values are checked where the screens show them.
class TestCalculatorState : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Writing the value a field already holds still notifies: once on the field, once overall.
    void everyAssignmentNotifiesOnce()
    {
        CalculatorState state;
        const QMetaObject& meta = CalculatorState::staticMetaObject;
        QSignalSpy anything(&state, &CalculatorState::changed);
        QVERIFY(meta.propertyCount() > meta.propertyOffset());
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
