#include "tools/overtones/HarmonicSeries.h"

#include "common/NumberText.h"
#include "tools/pitch/NoteFrequency.h"

#include <QtTest>

#include <limits>

using namespace morvela;

Q_DECLARE_METATYPE(morvela::DriftClass)

namespace {

QString fixed(double value, int decimals)
{
    return QString::fromStdString(formatFixed(value, decimals));
}

double noteHz(std::int64_t pitchClass, std::int64_t octave, double a4)
{
    return NoteFrequency::frequency(NoteFrequency::noteNumber(pitchClass, octave), a4);
}

QList<qint64> list(const std::vector<std::int64_t>& numbers)
{
    return QList<qint64>(numbers.begin(), numbers.end());
}

} // namespace

// Runs under C.UTF-8 and de_DE.UTF-8.
class TestHarmonicSeries : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The series of A1 at 440 Hz, as the bars show it.
    void seriesOfA1_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("noteName");
        QTest::addColumn<QString>("cents"); // one decimal
        QTest::addColumn<QString>("drift"); // as the bar prints it
        QTest::addColumn<DriftClass>("expectedClass");
        const auto in = DriftClass::inTune;
        const auto amber = DriftClass::noticeable;
        const auto red = DriftClass::farOff;
        QTest::newRow("1") << 1 << "55.00"
                           << "A1"
                           << "0.0"
                           << "+0¢" << in;
        QTest::newRow("2") << 2 << "110.00"
                           << "A2"
                           << "0.0"
                           << "+0¢" << in;
        QTest::newRow("3") << 3 << "165.00"
                           << "E3"
                           << "2.0"
                           << "+2¢" << in;
        QTest::newRow("4") << 4 << "220.00"
                           << "A3"
                           << "0.0"
                           << "+0¢" << in;
        QTest::newRow("5") << 5 << "275.00"
                           << "C#4"
                           << "-13.7"
                           << "-14¢" << amber;
        QTest::newRow("6") << 6 << "330.00"
                           << "E4"
                           << "2.0"
                           << "+2¢" << in;
        QTest::newRow("7") << 7 << "385.00"
                           << "G4"
                           << "-31.2"
                           << "-31¢" << red;
        QTest::newRow("8") << 8 << "440.00"
                           << "A4"
                           << "0.0"
                           << "+0¢" << in;
        QTest::newRow("9") << 9 << "495.00"
                           << "B4"
                           << "3.9"
                           << "+4¢" << in;
        QTest::newRow("10") << 10 << "550.00"
                            << "C#5"
                            << "-13.7"
                            << "-14¢" << amber;
        QTest::newRow("11") << 11 << "605.00"
                            << "D#5"
                            << "-48.7"
                            << "-49¢" << red;
        QTest::newRow("12") << 12 << "660.00"
                            << "E5"
                            << "2.0"
                            << "+2¢" << in;
        QTest::newRow("13") << 13 << "715.00"
                            << "F5"
                            << "40.5"
                            << "+41¢" << red;
        QTest::newRow("14") << 14 << "770.00"
                            << "G5"
                            << "-31.2"
                            << "-31¢" << red;
        QTest::newRow("15") << 15 << "825.00"
                            << "G#5"
                            << "-11.7"
                            << "-12¢" << amber;
        QTest::newRow("16") << 16 << "880.00"
                            << "A5"
                            << "0.0"
                            << "+0¢" << in;
    }
    void seriesOfA1()
    {
        QFETCH(int, n);
        QFETCH(QString, frequency);
        QFETCH(QString, noteName);
        QFETCH(QString, cents);
        QFETCH(QString, drift);
        QFETCH(DriftClass, expectedClass);
        const std::vector<Harmonic> series = harmonicSeries(noteHz(9, 1, 440.0), 440.0, harmonicCount);
        QCOMPARE(series.size(), std::size_t(16));
        const Harmonic& harmonic = series[static_cast<std::size_t>(n - 1)];
        QCOMPARE(harmonic.number, std::int64_t(n));
        QCOMPARE(fixed(harmonic.frequency, 2), frequency);
        QCOMPARE(QString::fromStdString(harmonic.noteName), noteName);
        QCOMPARE(fixed(harmonic.cents, 1), cents);
        QCOMPARE(QString::fromStdString(driftText(harmonic.cents)), drift);
        QCOMPARE(driftClass(harmonic.cents), expectedClass);
    }

    // Fundamentals off A, and the extremes the pickers and the A4 range allow.
    void otherFundamentals_data()
    {
        QTest::addColumn<qint64>("pitchClass");
        QTest::addColumn<qint64>("octave");
        QTest::addColumn<double>("a4");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("frequency");
        QTest::addColumn<QString>("noteName");
        QTest::addColumn<QString>("cents");
        QTest::newRow("C4, 1×") << qint64(0) << qint64(4) << 440.0 << 1 << "261.63"
                                << "C4"
                                << "0.0";
        QTest::newRow("C4, 3×") << qint64(0) << qint64(4) << 440.0 << 3 << "784.88"
                                << "G5"
                                << "2.0";
        QTest::newRow("C4, 5×") << qint64(0) << qint64(4) << 440.0 << 5 << "1308.13"
                                << "E6"
                                << "-13.7";
        QTest::newRow("C4, 7×") << qint64(0) << qint64(4) << 440.0 << 7 << "1831.38"
                                << "A#6"
                                << "-31.2";
        QTest::newRow("lowest: C0 at 400") << qint64(0) << qint64(0) << 400.0 << 1 << "14.87"
                                           << "C0"
                                           << "0.0";
        QTest::newRow("highest: 16× B4 at 480") << qint64(11) << qint64(4) << 480.0 << 16 << "8620.51"
                                                << "B8"
                                                << "0.0";
    }
    void otherFundamentals()
    {
        QFETCH(qint64, pitchClass);
        QFETCH(qint64, octave);
        QFETCH(double, a4);
        QFETCH(int, n);
        QFETCH(QString, frequency);
        QFETCH(QString, noteName);
        QFETCH(QString, cents);
        const std::vector<Harmonic> series = harmonicSeries(noteHz(pitchClass, octave, a4), a4, 16);
        const Harmonic& harmonic = series.at(static_cast<std::size_t>(n - 1));
        QCOMPARE(fixed(harmonic.frequency, 2), frequency);
        QCOMPARE(QString::fromStdString(harmonic.noteName), noteName);
        QCOMPARE(fixed(harmonic.cents, 1), cents);
    }

    // A4 moves the fundamental and every harmonic with it; names and drifts stay.
    void a4MovesFrequenciesNotCents()
    {
        const std::vector<Harmonic> at440 = harmonicSeries(noteHz(2, 3, 440.0), 440.0, 16);
        const std::vector<Harmonic> at415 = harmonicSeries(noteHz(2, 3, 415.0), 415.0, 16);
        QCOMPARE(at415.size(), at440.size());
        for (std::size_t i = 0; i < at440.size(); ++i) {
            QVERIFY(qFuzzyCompare(at415[i].frequency / at440[i].frequency, 415.0 / 440.0));
            QCOMPARE(at415[i].noteName, at440[i].noteName);
            QVERIFY2(std::abs(at415[i].cents - at440[i].cents) < 1e-9, at440[i].noteName.c_str());
        }
    }

    void driftClasses_data()
    {
        QTest::addColumn<double>("cents");
        QTest::addColumn<DriftClass>("expected");
        QTest::newRow("0") << 0.0 << DriftClass::inTune;
        QTest::newRow("just under 5") << 4.999 << DriftClass::inTune;
        QTest::newRow("exactly 5 is amber") << 5.0 << DriftClass::noticeable;
        QTest::newRow("exactly -5 is amber") << -5.0 << DriftClass::noticeable;
        QTest::newRow("just under 20") << -19.999 << DriftClass::noticeable;
        QTest::newRow("exactly 20 is red") << 20.0 << DriftClass::farOff;
        QTest::newRow("exactly -20 is red") << -20.0 << DriftClass::farOff;
        QTest::newRow("50") << 50.0 << DriftClass::farOff;
    }
    void driftClasses()
    {
        QFETCH(double, cents);
        QFETCH(DriftClass, expected);
        QCOMPARE(driftClass(cents), expected);
    }

    // printf "%+.0f¢": the sign always, printf's own rounding.
    void driftTexts_data()
    {
        QTest::addColumn<double>("cents");
        QTest::addColumn<QString>("text");
        QTest::newRow("small flat keeps its sign") << -0.4 << "-0¢";
        QTest::newRow("half rounds to even") << 2.5 << "+2¢";
        QTest::newRow("-48.7") << -48.68 << "-49¢";
        QTest::newRow("+50") << 49.9 << "+50¢";
    }
    void driftTexts()
    {
        QFETCH(double, cents);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(driftText(cents)), text);
    }

    void invalidInputGivesNoSeries_data()
    {
        QTest::addColumn<double>("fundamental");
        QTest::addColumn<double>("a4");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<int>("size");
        QTest::newRow("count 1") << 55.0 << 440.0 << qint64(1) << 1;
        QTest::newRow("count 0") << 55.0 << 440.0 << qint64(0) << 0;
        QTest::newRow("negative count") << 55.0 << 440.0 << qint64(-3) << 0;
        QTest::newRow("zero fundamental") << 0.0 << 440.0 << qint64(16) << 0;
        QTest::newRow("NaN fundamental")
            << std::numeric_limits<double>::quiet_NaN() << 440.0 << qint64(16) << 0;
        QTest::newRow("zero a4") << 55.0 << 0.0 << qint64(16) << 0;
    }
    void invalidInputGivesNoSeries()
    {
        QFETCH(double, fundamental);
        QFETCH(double, a4);
        QFETCH(qint64, count);
        QFETCH(int, size);
        QCOMPARE(harmonicSeries(fundamental, a4, count).size(), static_cast<std::size_t>(size));
    }

    void selections()
    {
        QCOMPARE(list(HarmonicSelection::all()),
                 (QList<qint64>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16}));
        QCOMPARE(list(HarmonicSelection::majorTriad()), (QList<qint64>{4, 5, 6}));
    }

    // The enabled harmonics are a set, whatever list the state happens to hold.
    void toggling_data()
    {
        QTest::addColumn<QList<qint64>>("before");
        QTest::addColumn<qint64>("number");
        QTest::addColumn<QList<qint64>>("after");
        QTest::newRow("switch off") << QList<qint64>{4, 5, 6} << qint64(5) << QList<qint64>{4, 6};
        QTest::newRow("switch on, in order") << QList<qint64>{4, 6} << qint64(5) << QList<qint64>{4, 5, 6};
        QTest::newRow("on from empty") << QList<qint64>{} << qint64(16) << QList<qint64>{16};
        QTest::newRow("a repeated number goes at once")
            << QList<qint64>{7, 3, 7} << qint64(7) << QList<qint64>{3};
        QTest::newRow("repeats are not kept") << QList<qint64>{2, 2} << qint64(9) << QList<qint64>{2, 9};
        QTest::newRow("strays are dropped") << QList<qint64>{0, 1, 17} << qint64(2) << QList<qint64>{1, 2};
    }
    void toggling()
    {
        QFETCH(QList<qint64>, before);
        QFETCH(qint64, number);
        QFETCH(QList<qint64>, after);
        QCOMPARE(list(HarmonicSelection::toggled({before.begin(), before.end()}, number)), after);
    }

    void amplitudes()
    {
        QCOMPARE(relativeAmplitude(1), 1.0f);
        QCOMPARE(relativeAmplitude(5), 0.2f);
        QCOMPARE(relativeAmplitude(16), 0.0625f);
    }

    // One partial n × f0 at 1/n per enabled number, ascending, each once.
    void sum()
    {
        const std::vector<Partial> partials = harmonicSum(55.0, {6, 4, 5, 4});
        const std::vector<Partial> expected{{220.0, 1.0f / 4}, {275.0, 1.0f / 5}, {330.0, 1.0f / 6}};
        QVERIFY(partials == expected);
        QVERIFY(harmonicSum(55.0, {}).empty());
    }
};

QTEST_GUILESS_MAIN(TestHarmonicSeries)
#include "tst_harmonicseries.moc"
