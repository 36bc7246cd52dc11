#include "tools/tempo/NoteDivisions.h"
#include "tools/tempo/Tempo.h"

#include "common/NumberText.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace morvela;

namespace {

// Lengths are compared as the screen prints them, which is also where a locale fault would show.
QString shown(double value)
{
    return QString::fromStdString(formatFixed(value, 2));
}

}  // namespace

// Runs under C.UTF-8 and de_DE.UTF-8.
class TestTempo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void divisions()
    {
        QList<qint64> denominators;
        for (const NoteDivision& division : NoteDivisions::all())
            denominators.append(division.denominator);
        QCOMPARE(denominators, (QList<qint64>{1, 2, 4, 8, 16, 32, 64, 128}));
        QCOMPARE(NoteDivisions::all().at(NoteDivisions::referenceIndex).denominator, 4);
    }

    void noteLengths_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QString>("straight");
        QTest::addColumn<QString>("dotted");
        QTest::addColumn<QString>("triplet");
        QTest::addColumn<QString>("rateHz");
        QTest::newRow("120, whole") << 120.0 << qint64(1) << "2000.00" << "3000.00" << "1333.33" << "0.50";
        QTest::newRow("120, quarter") << 120.0 << qint64(4) << "500.00" << "750.00" << "333.33" << "2.00";
        QTest::newRow("120, 1/128 halfway rounds to even")
            << 120.0 << qint64(128) << "15.62" << "23.44" << "10.42" << "64.00";
        QTest::newRow("90, quarter") << 90.0 << qint64(4) << "666.67" << "1000.00" << "444.44" << "1.50";
        QTest::newRow("90, eighth") << 90.0 << qint64(8) << "333.33" << "500.00" << "222.22" << "3.00";
        QTest::newRow("fractional tempo") << 128.5 << qint64(16) << "116.73" << "175.10" << "77.82" << "8.57";
        QTest::newRow("typed maximum") << 999.0 << qint64(64) << "3.75" << "5.63" << "2.50" << "266.40";
        QTest::newRow("tempo 0 gives zeros") << 0.0 << qint64(4) << "0.00" << "0.00" << "0.00" << "0.00";
        QTest::newRow("negative tempo gives zeros")
            << -20.0 << qint64(4) << "0.00" << "0.00" << "0.00" << "0.00";
        QTest::newRow("NaN tempo gives zeros")
            << std::numeric_limits<double>::quiet_NaN() << qint64(4) << "0.00" << "0.00" << "0.00" << "0.00";
    }
    void noteLengths()
    {
        QFETCH(double, bpm);
        QFETCH(qint64, n);
        QFETCH(QString, straight);
        QFETCH(QString, dotted);
        QFETCH(QString, triplet);
        QFETCH(QString, rateHz);
        QCOMPARE(shown(Tempo::straight(bpm, n)), straight);
        QCOMPARE(shown(Tempo::dotted(bpm, n)), dotted);
        QCOMPARE(shown(Tempo::triplet(bpm, n)), triplet);
        QCOMPARE(shown(Tempo::rateHz(bpm, n)), rateHz);
    }

    void headline_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QString>("quarter");
        QTest::addColumn<QString>("dottedEighth");
        QTest::addColumn<QString>("sixteenthRate");
        QTest::newRow("120") << 120.0 << "500.00" << "375.00" << "8.00";
        QTest::newRow("90") << 90.0 << "666.67" << "500.00" << "6.00";
        QTest::newRow("0 gives zeros") << 0.0 << "0.00" << "0.00" << "0.00";
        QTest::newRow("negative gives zeros") << -1.0 << "0.00" << "0.00" << "0.00";
    }
    void headline()
    {
        QFETCH(double, bpm);
        QFETCH(QString, quarter);
        QFETCH(QString, dottedEighth);
        QFETCH(QString, sixteenthRate);
        QCOMPARE(shown(Tempo::quarter(bpm)), quarter);
        QCOMPARE(shown(Tempo::dottedEighth(bpm)), dottedEighth);
        QCOMPARE(shown(Tempo::sixteenthRate(bpm)), sixteenthRate);
    }

    void bpmText_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << 120.0 << "120";
        QTest::newRow("typed minimum") << 1.0 << "1";
        QTest::newRow("typed maximum") << 999.0 << "999";
        QTest::newRow("half") << 128.5 << "128.50";
        QTest::newRow("nearly whole is not whole") << 127.999 << "128.00";
        QTest::newRow("halfway rounds to even") << 100.125 << "100.12";
    }
    void bpmText()
    {
        QFETCH(double, bpm);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(Tempo::bpmText(bpm)), text);
    }

    // Committing writes the tempo and then rewrites the text from it, accepted or not.
    void commit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << "128" << 120.0 << 128.0 << "128";
        QTest::newRow("decimal comma") << "128,5" << 120.0 << 128.5 << "128.50";
        QTest::newRow("decimal point") << "128.5" << 120.0 << 128.5 << "128.50";
        QTest::newRow("exponent") << "1e2" << 120.0 << 100.0 << "100";
        QTest::newRow("hexadecimal float") << "0x1p7" << 120.0 << 128.0 << "128";
        QTest::newRow("beyond the slider") << "999" << 120.0 << 999.0 << "999";
        QTest::newRow("below the slider") << "5" << 120.0 << 5.0 << "5";
        QTest::newRow("above maximum") << "5000" << 120.0 << 999.0 << "999";
        QTest::newRow("zero") << "0" << 120.0 << 1.0 << "1";
        QTest::newRow("negative") << "-20" << 120.0 << 1.0 << "1";
        QTest::newRow("below 1") << "0,5" << 120.0 << 1.0 << "1";
        QTest::newRow("letters") << "fast" << 120.0 << 120.0 << "120";
        QTest::newRow("empty") << "" << 120.0 << 120.0 << "120";
        QTest::newRow("leading space") << " 128" << 120.0 << 120.0 << "120";
        QTest::newRow("trailing space") << "128 " << 120.0 << 120.0 << "120";
        QTest::newRow("unit after number") << "128bpm" << 120.0 << 120.0 << "120";
        QTest::newRow("two commas") << "1,2,3" << 120.0 << 120.0 << "120";
        QTest::newRow("infinity") << "inf" << 120.0 << 120.0 << "120";
        QTest::newRow("overflow") << "1e999" << 120.0 << 120.0 << "120";
        QTest::newRow("NaN") << "nan" << 120.0 << 120.0 << "120";
        QTest::newRow("rejected keeps a fraction") << "x" << 128.5 << 128.5 << "128.50";
    }
    void commit()
    {
        QFETCH(QString, typed);
        QFETCH(double, before);
        QFETCH(double, bpm);
        QFETCH(QString, text);
        const double committed = Tempo::commitBpmText(typed.toStdString(), before);
        QCOMPARE(committed, bpm);
        QCOMPARE(QString::fromStdString(Tempo::bpmText(committed)), text);
    }

    void slider_data()
    {
        QTest::addColumn<double>("written");
        QTest::addColumn<double>("stored");
        QTest::newRow("127.6") << 127.6 << 128.0;
        QTest::newRow("127.5 rounds away from zero") << 127.5 << 128.0;
        QTest::newRow("126.5 rounds away from zero") << 126.5 << 127.0;
        QTest::newRow("127.4") << 127.4 << 127.0;
        QTest::newRow("end of range") << 399.5 << 400.0;
    }
    void slider()
    {
        QFETCH(double, written);
        QFETCH(double, stored);
        QCOMPARE(Tempo::sliderBpm(written), stored);
    }

    void stepper_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("stepped");
        QTest::newRow("up") << 120.0 << 1 << 121.0;
        QTest::newRow("down") << 120.0 << -1 << 119.0;
        QTest::newRow("keeps a fraction") << 128.5 << 1 << 129.5;
        QTest::newRow("stops at 400") << 400.0 << 1 << 400.0;
        QTest::newRow("stops at 20") << 20.0 << -1 << 20.0;
        QTest::newRow("down from a typed 999") << 999.0 << -1 << 400.0;
        QTest::newRow("up from a typed 5") << 5.0 << 1 << 20.0;
        QTest::newRow("not up from a typed 999") << 999.0 << 1 << 999.0;
        QTest::newRow("not down from a typed 5") << 5.0 << -1 << 5.0;
        QTest::newRow("no step") << 120.0 << 0 << 120.0;
    }
    void stepper()
    {
        QFETCH(double, bpm);
        QFETCH(int, steps);
        QFETCH(double, stepped);
        QCOMPARE(Tempo::steppedBpm(bpm, steps), stepped);
    }
};

QTEST_GUILESS_MAIN(TestTempo)
#include "tst_tempo.moc"
