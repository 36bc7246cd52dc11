#include "tools/space/ReverbDelay.h"

#include "common/NumberText.h"

#include <QtTest>

#include <limits>

using namespace morvela;

namespace {

// Times are compared as the screen prints and copies them, where a locale fault would show.
QString shown(double milliseconds)
{
    return QString::fromStdString(formatFixed(milliseconds, 1));
}

QStringList shown(const ReverbTimes& times)
{
    return {shown(times.preDelay), shown(times.decay), shown(times.total)};
}

} // namespace

// Runs under C.UTF-8 and de_DE.UTF-8.
class TestReverbDelay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Bar, beat and a 64th of a bar.
    void header_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QStringList>("figures");
        const QStringList slowest{"12000.0", "3000.0", "187.5"};
        const QStringList fastest{"600.0", "150.0", "9.4"};
        QTest::newRow("120, a 64th halfway rounds to even")
            << 120.0 << QStringList{"2000.0", "500.0", "31.2"};
        QTest::newRow("10 as 20") << 10.0 << slowest;
        QTest::newRow("NaN as 20") << std::numeric_limits<double>::quiet_NaN() << slowest;
        QTest::newRow("500 as 400") << 500.0 << fastest;
        QTest::newRow("infinity as 400") << std::numeric_limits<double>::infinity() << fastest;
    }
    void header()
    {
        QFETCH(double, bpm);
        const double bar = ReverbDelay::bar(bpm);
        QTEST((QStringList{shown(bar), shown(bar * 0.25), shown(bar * 0.015625)}), "figures");
    }

    void presetTimes()
    {
        QStringList times;
        for (const auto& preset : ReverbDelay::presets())
            times.append(shown(ReverbDelay::presetTimes(preset, 120)).join(' '));
        QCOMPARE(times, (QStringList{"7.8 492.2 500.0", "15.6 984.4 1000.0", "31.2 1968.8 2000.0",
                                     "62.5 3937.5 4000.0", "125.0 7875.0 8000.0"}));
    }

    void delayPicks()
    {
        QStringList picks;
        for (const DelayPick& pick : ReverbDelay::delayPicks())
            picks.append(QString::fromStdString(pick.label) + " " +
                         shown(ReverbDelay::bar(120) * pick.barFraction));
        QCOMPARE(picks, (QStringList{"1/4 500.0", "1/8D 375.0", "1/8 250.0", "1/8T 166.7", "1/16D 187.5",
                                     "1/16 125.0", "1/32 62.5"}));
    }

    void customTimes_data()
    {
        QTest::addColumn<double>("totalBars");
        QTest::addColumn<qint64>("preDivision");
        QTest::addColumn<QStringList>("times");
        QTest::newRow("¼ bar, 1/16") << 0.25 << qint64(16) << QStringList{"125.0", "375.0", "500.0"};
        QTest::newRow("8 bars, 1/16") << 8.0 << qint64(16) << QStringList{"125.0", "15875.0", "16000.0"};
        QTest::newRow("total shorter than the pre-delay: decay 0")
            << 0.01 << qint64(16) << QStringList{"125.0", "0.0", "20.0"};
        // Only an edited state holds these; 1/64 stands in.
        QTest::newRow("note 0 as 1/64") << 1.0 << qint64(0) << QStringList{"31.2", "1968.8", "2000.0"};
        QTest::newRow("negative note as 1/64")
            << 2.0 << qint64(-16) << QStringList{"31.2", "3968.8", "4000.0"};
    }
    void customTimes()
    {
        QFETCH(double, totalBars);
        QFETCH(qint64, preDivision);
        QTEST(shown(ReverbDelay::customTimes(totalBars, preDivision, 120)), "times");
    }

    // Labels for lengths only an edited state holds.
    void lengthLabel()
    {
        QCOMPARE(QString::fromStdString(ReverbDelay::lengthLabel(0.75)), "½ bar");
        QCOMPARE(QString::fromStdString(ReverbDelay::lengthLabel(1.5)), "1 bars");
    }
};

QTEST_GUILESS_MAIN(TestReverbDelay)
#include "tst_reverbdelay.moc"
