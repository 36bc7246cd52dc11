#include "tools/tempo/NoteDivisions.h"
#include "tools/tempo/TapTempo.h"
#include "tools/tempo/Tempo.h"

#include "common/NumberText.h"

#include <QtTest>

#include <limits>

using namespace morvela;
using namespace std::chrono_literals;

namespace {

// Lengths are compared as the screen prints them, which is also where a locale fault would show.
QString shown(double value)
{
    return QString::fromStdString(formatFixed(value, 2));
}

} // namespace

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
    }

    void noteLengths_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QStringList>("lengths"); // straight, dotted, triplet, Hz
        QTest::newRow("120, whole") << 120.0 << qint64(1)
                                    << QStringList{"2000.00", "3000.00", "1333.33", "0.50"};
        QTest::newRow("120, 1/128 halfway rounds to even")
            << 120.0 << qint64(128) << QStringList{"15.62", "23.44", "10.42", "64.00"};
        QTest::newRow("90, eighth") << 90.0 << qint64(8) << QStringList{"333.33", "500.00", "222.22", "3.00"};
        const QStringList zeros{"0.00", "0.00", "0.00", "0.00"};
        QTest::newRow("tempo 0 gives zeros") << 0.0 << qint64(4) << zeros;
        QTest::newRow("negative tempo gives zeros") << -20.0 << qint64(4) << zeros;
        QTest::newRow("NaN tempo gives zeros")
            << std::numeric_limits<double>::quiet_NaN() << qint64(4) << zeros;
    }
    void noteLengths()
    {
        QFETCH(double, bpm);
        QFETCH(qint64, n);
        QFETCH(QStringList, lengths);
        QCOMPARE((QStringList{shown(Tempo::straight(bpm, n)), shown(Tempo::dotted(bpm, n)),
                              shown(Tempo::triplet(bpm, n)), shown(Tempo::rateHz(bpm, n))}),
                 lengths);
    }

    void headline_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QStringList>("values"); // quarter, dotted eighth, sixteenth rate
        QTest::newRow("120") << 120.0 << QStringList{"500.00", "375.00", "8.00"};
        QTest::newRow("90") << 90.0 << QStringList{"666.67", "500.00", "6.00"};
        QTest::newRow("0 gives zeros") << 0.0 << QStringList{"0.00", "0.00", "0.00"};
    }
    void headline()
    {
        QFETCH(double, bpm);
        QFETCH(QStringList, values);
        QCOMPARE((QStringList{shown(Tempo::quarter(bpm)), shown(Tempo::dottedEighth(bpm)),
                              shown(Tempo::sixteenthRate(bpm))}),
                 values);
    }

    // Committing writes the tempo and then rewrites the text from it, accepted or not.
    void commit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QString>("text");
        QTest::newRow("decimal comma") << "128,5" << 120.0 << 128.5 << "128.50";
        QTest::newRow("exponent") << "1e2" << 120.0 << 100.0 << "100";
        QTest::newRow("nearly whole is shown with decimals") << "127.999" << 120.0 << 127.999 << "128.00";
        QTest::newRow("beyond the slider") << "999" << 120.0 << 999.0 << "999";
        QTest::newRow("above maximum") << "5000" << 120.0 << 999.0 << "999";
        QTest::newRow("zero") << "0" << 120.0 << 1.0 << "1";
        QTest::newRow("negative") << "-20" << 120.0 << 1.0 << "1";
        QTest::newRow("letters") << "fast" << 120.0 << 120.0 << "120";
        QTest::newRow("empty") << "" << 120.0 << 120.0 << "120";
        QTest::newRow("leading space") << " 128" << 120.0 << 120.0 << "120";
        QTest::newRow("trailing space") << "128 " << 120.0 << 120.0 << "120";
        QTest::newRow("two commas") << "1,2,3" << 120.0 << 120.0 << "120";
        QTest::newRow("infinity") << "inf" << 120.0 << 120.0 << "120";
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
        QTest::newRow("126.5 rounds away from zero, not to even") << 126.5 << 127.0;
        QTest::newRow("127.4") << 127.4 << 127.0;
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
    }
    void stepper()
    {
        QFETCH(double, bpm);
        QFETCH(int, steps);
        QFETCH(double, stepped);
        QCOMPARE(Tempo::steppedBpm(bpm, steps), stepped);
    }

    void tapSequence_data()
    {
        QTest::addColumn<QList<qint64>>("tapsMs");
        QTest::addColumn<QList<double>>("tempos"); // after each tap, 0 for none
        QTest::newRow("half seconds") << QList<qint64>{0, 500, 1000} << QList<double>{0, 120, 120};
        QTest::newRow("quarter seconds") << QList<qint64>{0, 250, 500} << QList<double>{0, 240, 240};
        QTest::newRow("too fast clamps to 400") << QList<qint64>{0, 100, 200} << QList<double>{0, 400, 400};
        QTest::newRow("same instant clamps to 400") << QList<qint64>{0, 0} << QList<double>{0, 400};
        QTest::newRow("halfway rounds away from zero") << QList<qint64>{0, 192} << QList<double>{0, 313};
        QTest::newRow("exactly 2.5 s continues") << QList<qint64>{0, 2500} << QList<double>{0, 24};
        QTest::newRow("just over 2.5 s restarts") << QList<qint64>{0, 2501, 3001} << QList<double>{0, 0, 120};
        QTest::newRow("4 s apart never sets a tempo")
            << QList<qint64>{0, 4000, 8000, 12000} << QList<double>{0, 0, 0, 0};
        QTest::newRow("a pause starts over")
            << QList<qint64>{0, 500, 1000, 4000, 4250} << QList<double>{0, 120, 120, 0, 240};
        // A late second tap counts until the tenth tap pushes it out of the last nine.
        QTest::newRow("only the last nine taps count")
            << QList<qint64>{0, 800, 1300, 1800, 2300, 2800, 3300, 3800, 4300, 4800, 5300, 5800}
            << QList<double>{0, 75, 92, 100, 104, 107, 109, 111, 112, 120, 120, 120};
    }
    void tapSequence()
    {
        QFETCH(QList<qint64>, tapsMs);
        QFETCH(QList<double>, tempos);
        TapTempo tapTempo;
        const TapTempo::TimePoint start{1h};
        for (qsizetype i = 0; i < tapsMs.size(); ++i)
            QCOMPARE(tapTempo.tap(start + std::chrono::milliseconds(tapsMs[i])).value_or(0.0), tempos[i]);
    }
};

QTEST_GUILESS_MAIN(TestTempo)
#include "tst_tempo.moc"
