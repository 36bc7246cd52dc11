#include "ui/PremiumBackdrop.h"

#include <QtTest>

class TestBackdrop : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void hairlinesCoverEverySize_data()
    {
        QTest::addColumn<qreal>("width");
        QTest::addColumn<qreal>("height");
        QTest::newRow("default window") << 960.0 << 720.0;
        QTest::newRow("minimum window") << 900.0 << 680.0;
        QTest::newRow("wide") << 2560.0 << 700.0;
        QTest::newRow("tall") << 900.0 << 1600.0;
        QTest::newRow("exact multiple") << 920.0 << 92.0;
    }
    void hairlinesCoverEverySize()
    {
        QFETCH(qreal, width);
        QFETCH(qreal, height);
        const auto lines = PremiumBackdrop::hairlines(width, height);
        QVERIFY(!lines.empty());
        QCOMPARE(lines.front().p1(), QPointF(-height, height));
        for (size_t i = 0; i < lines.size(); ++i) {
            const QLineF& line = lines[i];
            // 45° rising to the right, from the bottom edge to the top edge.
            QCOMPARE(line.p1().y(), height);
            QCOMPARE(line.p2().y(), 0.0);
            QCOMPARE(line.dx(), height);
            if (i > 0)
                QCOMPARE(line.p1().x() - lines[i - 1].p1().x(), 92.0);
        }
        // The last line starts left of the right edge and the next would not.
        QVERIFY(lines.back().p1().x() < width);
        QVERIFY(lines.back().p1().x() + 92 >= width);
    }
};

QTEST_GUILESS_MAIN(TestBackdrop)
#include "tst_backdrop.moc"
