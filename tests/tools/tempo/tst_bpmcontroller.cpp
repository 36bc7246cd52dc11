#include "tools/tempo/BPMController.h"

#include <QtTest>

namespace {

QStringList row(SubdivisionMatrixModel* matrix, int index)
{
    QStringList cells;
    for (int role : {SubdivisionMatrixModel::NoteRole, SubdivisionMatrixModel::StraightRole,
                     SubdivisionMatrixModel::DottedRole, SubdivisionMatrixModel::TripletRole,
                     SubdivisionMatrixModel::RateHzRole})
        cells.append(matrix->index(index).data(role).toString());
    return cells;
}

}  // namespace

// Runs under C.UTF-8 and de_DE.UTF-8: every figure has a decimal point.
class TestBPMController : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void figures_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QStringList>("headline");  // quarter, dotted eighth, sixteenth rate
        QTest::addColumn<int>("rowIndex");
        QTest::addColumn<QStringList>("cells");  // note, straight, dotted, triplet, Hz
        QTest::newRow("120, whole") << 120.0 << QStringList{"500.00", "375.00", "8.00"} << 0
                                    << QStringList{"1/1", "2000.00", "3000.00", "1333.33", "0.50"};
        QTest::newRow("120, 1/128") << 120.0 << QStringList{"500.00", "375.00", "8.00"} << 7
                                    << QStringList{"1/128", "15.62", "23.44", "10.42", "64.00"};
        QTest::newRow("90, eighth") << 90.0 << QStringList{"666.67", "500.00", "6.00"} << 3
                                    << QStringList{"1/8", "333.33", "500.00", "222.22", "3.00"};
    }
    void figures()
    {
        QFETCH(double, bpm);
        QFETCH(QStringList, headline);
        QFETCH(int, rowIndex);
        QFETCH(QStringList, cells);
        CalculatorState state;
        state.setBpm(bpm);
        BPMController screen;
        screen.setState(&state);
        QCOMPARE((QStringList{screen.quarter(), screen.dottedEighth(), screen.sixteenthRate()}), headline);
        QCOMPARE(row(screen.matrix(), rowIndex), cells);
    }

    void quarterNoteIsTheOnlyReference()
    {
        BPMController screen;
        SubdivisionMatrixModel* matrix = screen.matrix();
        QCOMPARE(matrix->rowCount(), 8);
        for (int i = 0; i < matrix->rowCount(); ++i)
            QCOMPARE(matrix->index(i).data(SubdivisionMatrixModel::ReferenceRole).toBool(), i == 2);
    }

    // The rows are updated, not rebuilt, so a value's "Copied" feedback outlives a tempo change.
    void tempoChangeUpdatesInPlace()
    {
        CalculatorState state;
        BPMController screen;
        screen.setState(&state);
        QSignalSpy values(&screen, &BPMController::valuesChanged);
        QSignalSpy changed(screen.matrix(), &QAbstractItemModel::dataChanged);
        QSignalSpy reset(screen.matrix(), &QAbstractItemModel::modelReset);
        QSignalSpy removed(screen.matrix(), &QAbstractItemModel::rowsRemoved);

        state.setBpm(90);

        QCOMPARE(values.count(), 1);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.first().at(0).toModelIndex().row(), 0);
        QCOMPARE(changed.first().at(1).toModelIndex().row(), 7);
        QCOMPARE(reset.count() + removed.count(), 0);
        QCOMPARE(screen.quarter(), QStringLiteral("666.67"));
        QCOMPARE(row(screen.matrix(), 2).at(1), QStringLiteral("666.67"));
    }

    void followsOnlyTheCurrentState()
    {
        CalculatorState first;
        CalculatorState second;
        second.setBpm(90);
        BPMController screen;
        screen.setState(&first);
        screen.setState(&second);
        QCOMPARE(screen.quarter(), QStringLiteral("666.67"));
        first.setBpm(60);
        QCOMPARE(screen.quarter(), QStringLiteral("666.67"));
    }
};

QTEST_GUILESS_MAIN(TestBPMController)
#include "tst_bpmcontroller.moc"
