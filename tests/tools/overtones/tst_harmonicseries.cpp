#include "tools/overtones/HarmonicSeries.h"

#include "common/NumberText.h"
#include "tools/pitch/NoteFrequency.h"

#include <QtTest>

#include <cmath>

using namespace morvela;

namespace {

double noteHz(std::int64_t pitchClass, std::int64_t octave, double a4)
{
    return NoteFrequency::frequency(NoteFrequency::noteNumber(pitchClass, octave), a4);
}

// "385.00 G4 -31.2 far": frequency, note, cents to one decimal, drift class.
QString row(const Harmonic& h)
{
    static const char* classes[] = {"in", "amber", "far"};
    return QStringLiteral("%1 %2 %3 %4")
        .arg(QString::fromStdString(formatFixed(h.frequency, 2)), QString::fromStdString(h.noteName),
             QString::fromStdString(formatFixed(h.cents, 1)), classes[static_cast<int>(driftClass(h.cents))]);
}

} // namespace

// Runs under C.UTF-8 and de_DE.UTF-8.
class TestHarmonicSeries : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void seriesOfA1()
    {
        QStringList rows;
        for (const Harmonic& h : harmonicSeries(noteHz(9, 1, 440.0), 440.0, harmonicCount))
            rows.append(QString::number(h.number) + ' ' + row(h));
        QCOMPARE(rows, (QStringList{"1 55.00 A1 0.0 in", "2 110.00 A2 0.0 in", "3 165.00 E3 2.0 in",
                                    "4 220.00 A3 0.0 in", "5 275.00 C#4 -13.7 amber", "6 330.00 E4 2.0 in",
                                    "7 385.00 G4 -31.2 far", "8 440.00 A4 0.0 in", "9 495.00 B4 3.9 in",
                                    "10 550.00 C#5 -13.7 amber", "11 605.00 D#5 -48.7 far",
                                    "12 660.00 E5 2.0 in", "13 715.00 F5 40.5 far", "14 770.00 G5 -31.2 far",
                                    "15 825.00 G#5 -11.7 amber", "16 880.00 A5 0.0 in"}));
    }

    void otherFundamentals_data()
    {
        QTest::addColumn<qint64>("pitchClass");
        QTest::addColumn<qint64>("octave");
        QTest::addColumn<double>("a4");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("expected");
        QTest::newRow("C4") << qint64(0) << qint64(4) << 440.0 << 1 << "261.63 C4 0.0 in";
        QTest::newRow("C4, 7×") << qint64(0) << qint64(4) << 440.0 << 7 << "1831.38 A#6 -31.2 far";
        QTest::newRow("lowest: C0 at 400") << qint64(0) << qint64(0) << 400.0 << 1 << "14.87 C0 0.0 in";
        QTest::newRow("highest: 16× B4 at 480")
            << qint64(11) << qint64(4) << 480.0 << 16 << "8620.51 B8 0.0 in";
        QTest::newRow("A1 at 432: frequencies move, cents stay")
            << qint64(9) << qint64(1) << 432.0 << 7 << "378.00 G4 -31.2 far";
    }
    void otherFundamentals()
    {
        QFETCH(qint64, pitchClass);
        QFETCH(qint64, octave);
        QFETCH(double, a4);
        QFETCH(int, n);
        QFETCH(QString, expected);
        const std::vector<Harmonic> series = harmonicSeries(noteHz(pitchClass, octave, a4), a4, 16);
        QCOMPARE(row(series.at(static_cast<std::size_t>(n - 1))), expected);
    }

    void driftClasses_data()
    {
        QTest::addColumn<double>("cents");
        QTest::addColumn<int>("expected"); // in tune, noticeable, far off
        QTest::newRow("just under 5") << -4.999 << 0;
        QTest::newRow("exactly 5 is amber") << 5.0 << 1;
        QTest::newRow("just under 20") << 19.999 << 1;
        QTest::newRow("exactly -20 is red") << -20.0 << 2;
    }
    void driftClasses()
    {
        QFETCH(double, cents);
        QFETCH(int, expected);
        QCOMPARE(static_cast<int>(driftClass(cents)), expected);
    }

    void noSeriesWithoutAFrequency()
    {
        QVERIFY(harmonicSeries(55.0, 440.0, 0).empty());
        QVERIFY(harmonicSeries(0.0, 440.0, 16).empty());
        QVERIFY(harmonicSeries(55.0, std::nan(""), 16).empty());
    }

    // The enabled harmonics are a set, whatever list the state happens to hold.
    void toggling_data()
    {
        QTest::addColumn<QList<qint64>>("before");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QList<qint64>>("after");
        QTest::newRow("off") << QList<qint64>{4, 5, 6} << qint64(5) << QList<qint64>{4, 6};
        QTest::newRow("on, in order") << QList<qint64>{6, 4} << qint64(5) << QList<qint64>{4, 5, 6};
        QTest::newRow("a repeated number goes at once")
            << QList<qint64>{7, 3, 7} << qint64(7) << QList<qint64>{3};
        QTest::newRow("repeats and strays are dropped")
            << QList<qint64>{2, 2, 0, 17} << qint64(9) << QList<qint64>{2, 9};
    }
    void toggling()
    {
        QFETCH(QList<qint64>, before);
        QFETCH(qint64, number);
        QFETCH(QList<qint64>, after);
        const std::vector<std::int64_t> toggled =
            HarmonicSelection::toggled({before.begin(), before.end()}, number);
        QCOMPARE(QList<qint64>(toggled.begin(), toggled.end()), after);
    }

    // One partial n × f0 at 1/n per enabled number, ascending, each once.
    void sum()
    {
        const std::vector<Partial> expected{{220.0, 1.0f / 4}, {275.0, 1.0f / 5}, {330.0, 1.0f / 6}};
        QVERIFY(harmonicSum(55.0, {6, 4, 5, 4}) == expected);
        QVERIFY(harmonicSum(55.0, HarmonicSelection::majorTriad()) == expected);
        QCOMPARE(harmonicSum(55.0, HarmonicSelection::all()).size(), std::size_t(16));
    }
};

QTEST_GUILESS_MAIN(TestHarmonicSeries)
#include "tst_harmonicseries.moc"
