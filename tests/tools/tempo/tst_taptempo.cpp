#include "tools/tempo/TapTempo.h"

#include <QtTest>

using namespace morvela;
using namespace std::chrono_literals;

namespace {

// The tempo after a tap as the table writes it: 0 for none (a tapped tempo is at least 20).
int written(std::optional<double> tempo)
{
    return tempo ? qRound(*tempo) : 0;
}

}  // namespace

class TestTapTempo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sequence_data()
    {
        QTest::addColumn<QList<qint64>>("tapsMs");
        QTest::addColumn<QList<int>>("tempos");  // after each tap
        QTest::newRow("half seconds") << QList<qint64>{0, 500, 1000} << QList<int>{0, 120, 120};
        QTest::newRow("quarter seconds") << QList<qint64>{0, 250, 500} << QList<int>{0, 240, 240};
        QTest::newRow("too fast clamps to 400") << QList<qint64>{0, 100, 200} << QList<int>{0, 400, 400};
        QTest::newRow("same instant clamps to 400") << QList<qint64>{0, 0} << QList<int>{0, 400};
        QTest::newRow("halfway rounds away from zero") << QList<qint64>{0, 192} << QList<int>{0, 313};
        QTest::newRow("halfway rounds away from zero, slow") << QList<qint64>{0, 960} << QList<int>{0, 63};
        QTest::newRow("exactly 2.5 s continues") << QList<qint64>{0, 2500} << QList<int>{0, 24};
        QTest::newRow("just over 2.5 s restarts") << QList<qint64>{0, 2501, 3001} << QList<int>{0, 0, 120};
        QTest::newRow("4 s apart never sets a tempo")
            << QList<qint64>{0, 4000, 8000, 12000} << QList<int>{0, 0, 0, 0};
        QTest::newRow("a pause starts over")
            << QList<qint64>{0, 500, 1000, 4000, 4250} << QList<int>{0, 120, 120, 0, 240};
        // A late second tap counts until the tenth tap pushes it out of the last nine.
        QTest::newRow("only the last nine taps count")
            << QList<qint64>{0, 800, 1300, 1800, 2300, 2800, 3300, 3800, 4300, 4800, 5300, 5800}
            << QList<int>{0, 75, 92, 100, 104, 107, 109, 111, 112, 120, 120, 120};
        QTest::newRow("slowing down follows within nine taps")
            << QList<qint64>{0, 250, 500, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 4500}
            << QList<int>{0, 240, 240, 180, 160, 150, 144, 140, 137, 128, 120};
    }
    void sequence()
    {
        QFETCH(QList<qint64>, tapsMs);
        QFETCH(QList<int>, tempos);
        TapTempo tapTempo;
        const TapTempo::TimePoint start{1h};
        for (qsizetype i = 0; i < tapsMs.size(); ++i)
            QCOMPARE(written(tapTempo.tap(start + std::chrono::milliseconds(tapsMs[i]))), tempos[i]);
    }

    void resetStartsANewSequence()
    {
        TapTempo tapTempo;
        const TapTempo::TimePoint start{1h};
        tapTempo.tap(start);
        tapTempo.tap(start + 250ms);
        tapTempo.reset();
        QVERIFY(!tapTempo.tap(start + 500ms));
        QCOMPARE(written(tapTempo.tap(start + 1000ms)), 120);
    }
};

QTEST_GUILESS_MAIN(TestTapTempo)
#include "tst_taptempo.moc"
