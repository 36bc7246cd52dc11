#include "tools/rhythm/Euclid.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace morvela;

namespace {

QString cycle(const std::vector<bool>& pattern)
{
    QString text;
    for (const bool hit : pattern)
        text.append(hit ? u'x' : u'.');
    return text;
}

constexpr qint64 lowest = std::numeric_limits<qint64>::min();
constexpr qint64 highest = std::numeric_limits<qint64>::max();

} // namespace

class TestEuclid : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pattern_data()
    {
        QTest::addColumn<qint64>("pulses");
        QTest::addColumn<qint64>("steps");
        QTest::addColumn<qint64>("rotation");
        QTest::addColumn<QString>("expected");
        QTest::newRow("E(3,8)") << 3LL << 8LL << 0LL << "x..x..x.";
        QTest::newRow("rotation 9 is rotation 1") << 3LL << 8LL << 9LL << ".x..x..x";
        QTest::newRow("rotation -1 is rotation 7") << 3LL << 8LL << -1LL << "..x..x.x";
        QTest::newRow("lowest rotation") << 3LL << 8LL << lowest << "x..x..x.";
        QTest::newRow("no pulses") << 0LL << 8LL << 0LL << "........";
        QTest::newRow("negative pulses") << -2LL << 5LL << 3LL << ".....";
        QTest::newRow("pulses beyond steps") << 9LL << 8LL << 0LL << "xxxxxxxx";
        QTest::newRow("E(1,16)") << 1LL << 16LL << 0LL << "x...............";
        QTest::newRow("E(4,16)") << 4LL << 16LL << 0LL << "x...x...x...x...";
        QTest::newRow("no steps") << 3LL << 0LL << 2LL << "";
        QTest::newRow("lowest steps") << highest << lowest << lowest << "";
    }
    void pattern()
    {
        QFETCH(qint64, pulses);
        QFETCH(qint64, steps);
        QFETCH(qint64, rotation);
        QFETCH(QString, expected);
        QCOMPARE(cycle(Euclid::pattern(pulses, steps, rotation)), expected);
    }

    // The remainder rule, not Bjorklund's (which gives E(5,8) as x.xx.xx.).
    void presets()
    {
        struct Row {
            const char* label;
            std::int64_t steps, pulses;
            const char* cycle;
        };
        const Row expected[] = {
            {"Tresillo \u00b7 E(3,8)", 8, 3, "x..x..x."},
            {"Cinquillo \u00b7 E(5,8)", 8, 5, "x.x.xx.x"},
            {"Bemb\u00e9 \u00b7 E(7,12)", 12, 7, "x.x.x.xx.x.x"},
            {"Bossa \u00b7 E(5,16)", 16, 5, "x...x..x..x..x.."},
            {"Aksak \u00b7 E(4,9)", 9, 4, "x..x.x.x."},
        };
        const auto& presets = Euclid::presets();
        QCOMPARE(presets.size(), std::size(expected));
        for (std::size_t i = 0; i < presets.size(); ++i) {
            QCOMPARE(QString::fromStdString(presets[i].label), QString::fromUtf8(expected[i].label));
            QCOMPARE(presets[i].steps, expected[i].steps);
            QCOMPARE(presets[i].pulses, expected[i].pulses);
            QCOMPARE(cycle(Euclid::pattern(presets[i].pulses, presets[i].steps, 0)),
                     QString::fromLatin1(expected[i].cycle));
        }
    }

    void stepMilliseconds_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<qint64>("note");
        QTest::addColumn<double>("expected");
        QTest::newRow("120, 1/16") << 120.0 << 16LL << 125.0;
        QTest::newRow("120, 1/8") << 120.0 << 8LL << 250.0;
        QTest::newRow("90, 1/16") << 90.0 << 16LL << 166.66666666666666;
        QTest::newRow("500 is held at 400") << 500.0 << 4LL << 150.0;
        QTest::newRow("exactly 20") << 20.0 << 16LL << 750.0;
        QTest::newRow("20.5 is not held") << 20.5 << 4LL << 2926.829268292683;
        QTest::newRow("not a number is the slowest") << std::nan("") << 8LL << 1500.0;
    }
    void stepMilliseconds()
    {
        QFETCH(double, bpm);
        QFETCH(qint64, note);
        QFETCH(double, expected);
        QCOMPARE(Euclid::stepMilliseconds(bpm, note), expected);
    }

    void clamp_data()
    {
        QTest::addColumn<qint64>("steps");
        QTest::addColumn<qint64>("pulses");
        QTest::addColumn<qint64>("rotation");
        QTest::addColumn<qint64>("clampedPulses");
        QTest::addColumn<qint64>("clampedRotation");
        QTest::newRow("8 to 4 steps cuts both") << 4LL << 6LL << 7LL << 4LL << 3LL;
        QTest::newRow("raising again raises nothing") << 16LL << 4LL << 3LL << 4LL << 3LL;
    }
    void clamp()
    {
        QFETCH(qint64, steps);
        QFETCH(qint64, pulses);
        QFETCH(qint64, rotation);
        QTEST(qint64(Euclid::clampedPulses(steps, pulses)), "clampedPulses");
        QTEST(qint64(Euclid::clampedRotation(steps, rotation)), "clampedRotation");
    }
};

QTEST_APPLESS_MAIN(TestEuclid)
#include "tst_euclid.moc"
