#include "tools/tempo/TapTempo.h"
#include "tools/tempo/Tempo.h"

#include "common/NumberText.h"

#include <QtTest>

#include <limits>

using namespace morvela;
using namespace std::chrono_literals;

// Lengths are compared as the screen prints them, which is also where a locale fault would show.
static QString shown(double value)
{
    return QString::fromStdString(formatFixed(value, 2));
}

// Runs under C.UTF-8 and de_DE.UTF-8.
class TestTempo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The screen test shows the whole note at 120.
    void noteLengths_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<qint64>("n");
        QTest::addColumn<QStringList>("lengths"); // straight, dotted, triplet, Hz
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
        QTEST((QStringList{shown(Tempo::straight(bpm, n)), shown(Tempo::dotted(bpm, n)),
                           shown(Tempo::triplet(bpm, n)), shown(Tempo::rateHz(bpm, n))}),
              "lengths");
        // The header's figures are the matrix's quarter, dotted eighth and sixteenth rate.
        QCOMPARE((QStringList{shown(Tempo::quarter(bpm)), shown(Tempo::dottedEighth(bpm)),
                              shown(Tempo::sixteenthRate(bpm))}),
                 (QStringList{shown(Tempo::straight(bpm, 4)), shown(Tempo::dotted(bpm, 8)),
                              shown(Tempo::rateHz(bpm, 16))}));
    }

    // Committing writes the tempo and then rewrites the text from it, accepted or not. Texts that
    // do not parse are tst_numbertext's; the screen test types a decimal comma and letters.
    void commit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QString>("text");
        QTest::newRow("nearly whole is shown with decimals") << "127.999" << 120.0 << 127.999 << "128.00";
        QTest::newRow("above maximum") << "5000" << 120.0 << 999.0 << "999";
        QTest::newRow("zero") << "0" << 120.0 << 1.0 << "1";
        QTest::newRow("negative") << "-20" << 120.0 << 1.0 << "1";
        QTest::newRow("rejected keeps a fraction") << "x" << 128.5 << 128.5 << "128.50";
    }
    void commit()
    {
        QFETCH(QString, typed);
        QFETCH(double, before);
        const double committed = Tempo::commitBpmText(typed.toStdString(), before);
        QTEST(committed, "bpm");
        QTEST(QString::fromStdString(Tempo::bpmText(committed)), "text");
    }

    // What the slider stores when it writes `bpm`, and what the stepper gives from `bpm`.
    void controls_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<double>("slider");
        QTest::addColumn<double>("up");
        QTest::addColumn<double>("down");
        QTest::newRow("halves round away from zero, not to even") << 126.5 << 127.0 << 127.5 << 125.5;
        QTest::newRow("127.4") << 127.4 << 127.0 << 128.4 << 126.4;
        QTest::newRow("at 400") << 400.0 << 400.0 << 400.0 << 399.0;
        QTest::newRow("at 20") << 20.0 << 20.0 << 21.0 << 20.0;
        QTest::newRow("typed 999: down to 400, never up") << 999.0 << 999.0 << 999.0 << 400.0;
        QTest::newRow("typed 5: up to 20, never down") << 5.0 << 5.0 << 20.0 << 5.0;
    }
    void controls()
    {
        QFETCH(double, bpm);
        QTEST(Tempo::sliderBpm(bpm), "slider");
        QTEST(Tempo::steppedBpm(bpm, 1), "up");
        QTEST(Tempo::steppedBpm(bpm, -1), "down");
    }

    void tapSequence_data()
    {
        QTest::addColumn<QList<qint64>>("tapsMs");
        QTest::addColumn<QList<double>>("tempos"); // after each tap, 0 for none
        QTest::newRow("too fast (the same instant) clamps to 400") << QList<qint64>{0, 0} << QList<double>{0, 400};
        QTest::newRow("halfway rounds away from zero") << QList<qint64>{0, 192} << QList<double>{0, 313};
        QTest::newRow("exactly 2.5 s continues") << QList<qint64>{0, 2500} << QList<double>{0, 24};
        QTest::newRow("just over 2.5 s restarts") << QList<qint64>{0, 2501, 3001} << QList<double>{0, 0, 120};
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
