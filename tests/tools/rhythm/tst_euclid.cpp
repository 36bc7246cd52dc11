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

// Clamping pulses and rotation to the steps is tst_euclideanrhythmcontroller's, through the stepper.
class TestEuclid : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void pattern_data()
    {
        QTest::addColumn<qint64>("pulses");
        QTest::addColumn<qint64>("steps");
        QTest::addColumn<qint64>("rotation");
        QTest::addColumn<QString>("expected");
        QTest::newRow("rotation 9 is rotation 1") << 3LL << 8LL << 9LL << ".x..x..x";
        QTest::newRow("rotation -1 is rotation 7") << 3LL << 8LL << -1LL << "..x..x.x";
        QTest::newRow("lowest rotation") << 3LL << 8LL << lowest << "x..x..x.";
        QTest::newRow("no pulses") << 0LL << 8LL << 0LL << "........";
        QTest::newRow("negative pulses") << -2LL << 5LL << 3LL << ".....";
        QTest::newRow("pulses beyond steps") << 9LL << 8LL << 0LL << "xxxxxxxx";
        QTest::newRow("E(1,16)") << 1LL << 16LL << 0LL << "x...............";
        QTest::newRow("no steps") << 3LL << 0LL << 2LL << "";
        QTest::newRow("lowest steps") << highest << lowest << lowest << "";
    }
    void pattern()
    {
        QFETCH(qint64, pulses);
        QFETCH(qint64, steps);
        QFETCH(qint64, rotation);
        QTEST(cycle(Euclid::pattern(pulses, steps, rotation)), "expected");
    }

    // The remainder rule, not Bjorklund's (which gives E(5,8) as x.xx.xx.); E(3,8) unrotated is
    // the first preset.
    void presets()
    {
        QStringList presets;
        for (const auto& preset : Euclid::presets())
            presets << QStringLiteral("%1 %2 %3 %4")
                           .arg(QString::fromStdString(preset.label))
                           .arg(preset.steps)
                           .arg(preset.pulses)
                           .arg(cycle(Euclid::pattern(preset.pulses, preset.steps, 0)));
        QCOMPARE(presets,
                 (QStringList{"Tresillo · E(3,8) 8 3 x..x..x.", "Cinquillo · E(5,8) 8 5 x.x.xx.x",
                              "Bembé · E(7,12) 12 7 x.x.x.xx.x.x", "Bossa · E(5,16) 16 5 x...x..x..x..x..",
                              "Aksak · E(4,9) 9 4 x..x.x.x."}));
    }

    void stepMilliseconds_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<qint64>("note");
        QTest::addColumn<double>("expected");
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
        QTEST(Euclid::stepMilliseconds(bpm, note), "expected");
    }
};

QTEST_APPLESS_MAIN(TestEuclid)
#include "tst_euclid.moc"
