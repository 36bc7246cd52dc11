#include "tools/space/ReverbDelay.h"

#include "common/NumberText.h"

#include <QtTest>

#include <limits>

using namespace morvela;

namespace {

// Times are compared as the screen prints and copies them, which is also where a locale fault
// would show.
QString shown(double milliseconds)
{
    return QString::fromStdString(formatFixed(milliseconds, 1));
}

QStringList shown(const ReverbTimes& times)
{
    return {shown(times.preDelay), shown(times.decay), shown(times.total)};
}

QStringList presetRow(qsizetype index, double bpm)
{
    return shown(ReverbDelay::presetTimes(ReverbDelay::presets()[static_cast<std::size_t>(index)], bpm));
}

} // namespace

// Runs under C.UTF-8 and de_DE.UTF-8.
class TestReverbDelay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The header's Bar, Beat and Pre 1/64.
    void header_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QStringList>("figures");
        QTest::newRow("120, a 64th halfway rounds to even")
            << 120.0 << QStringList{"2000.0", "500.0", "31.2"};
        QTest::newRow("20") << 20.0 << QStringList{"12000.0", "3000.0", "187.5"};
        QTest::newRow("10 is held at 20") << 10.0 << QStringList{"12000.0", "3000.0", "187.5"};
        QTest::newRow("a typed 1 is held at 20") << 1.0 << QStringList{"12000.0", "3000.0", "187.5"};
        QTest::newRow("400") << 400.0 << QStringList{"600.0", "150.0", "9.4"};
        QTest::newRow("500 is held at 400") << 500.0 << QStringList{"600.0", "150.0", "9.4"};
        QTest::newRow("128.5") << 128.5 << QStringList{"1867.7", "466.9", "29.2"};
        QTest::newRow("NaN counts as the slowest")
            << std::numeric_limits<double>::quiet_NaN() << QStringList{"12000.0", "3000.0", "187.5"};
    }
    void header()
    {
        QFETCH(double, bpm);
        QFETCH(QStringList, figures);
        const double bar = ReverbDelay::bar(bpm);
        QCOMPARE((QStringList{shown(bar), shown(bar * 0.25), shown(bar * 0.015625)}), figures);
    }

    void presetTable()
    {
        QStringList rows;
        for (const ReverbPreset& p : ReverbDelay::presets())
            rows.append(QString::fromStdString(p.name + " | " + ReverbDelay::subtitle(p)));
        QCOMPARE(rows, (QStringList{"Tight Ambience | drums, percussion · ¼ bar · pre 1/256",
                                    "Small Room | guitars, keys · ½ bar · pre 1/128",
                                    "Medium Room | vocals, snare · 1 bar · pre 1/64",
                                    "Large Hall | ballad vocals, pads · 2 bars · pre 1/32",
                                    "Epic Wash | ambient, cinematic · 4 bars · pre 1/16"}));
    }

    // Pre-delay, decay and total of each preset.
    void presetTimes_data()
    {
        QTest::addColumn<qsizetype>("index");
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QStringList>("times");
        QTest::newRow("Tight Ambience") << qsizetype(0) << 120.0 << QStringList{"7.8", "492.2", "500.0"};
        QTest::newRow("Small Room") << qsizetype(1) << 120.0 << QStringList{"15.6", "984.4", "1000.0"};
        QTest::newRow("Medium Room") << qsizetype(2) << 120.0 << QStringList{"31.2", "1968.8", "2000.0"};
        QTest::newRow("Large Hall") << qsizetype(3) << 120.0 << QStringList{"62.5", "3937.5", "4000.0"};
        QTest::newRow("Epic Wash") << qsizetype(4) << 120.0 << QStringList{"125.0", "7875.0", "8000.0"};
        QTest::newRow("Epic Wash at 10")
            << qsizetype(4) << 10.0 << QStringList{"750.0", "47250.0", "48000.0"};
        QTest::newRow("Tight Ambience at 500")
            << qsizetype(0) << 500.0 << QStringList{"2.3", "147.7", "150.0"};
    }
    void presetTimes()
    {
        QFETCH(qsizetype, index);
        QFETCH(double, bpm);
        QFETCH(QStringList, times);
        QCOMPARE(presetRow(index, bpm), times);
    }

    // Beyond 20 ... 400 every figure is that of the nearest end.
    void tempoIsClamped_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<double>("end");
        QTest::newRow("10 as 20") << 10.0 << 20.0;
        QTest::newRow("0 as 20") << 0.0 << 20.0;
        QTest::newRow("-20 as 20") << -20.0 << 20.0;
        QTest::newRow("500 as 400") << 500.0 << 400.0;
        QTest::newRow("999 as 400") << 999.0 << 400.0;
        QTest::newRow("infinity as 400") << std::numeric_limits<double>::infinity() << 400.0;
    }
    void tempoIsClamped()
    {
        QFETCH(double, bpm);
        QFETCH(double, end);
        QCOMPARE(ReverbDelay::bar(bpm), ReverbDelay::bar(end));
        for (qsizetype i = 0; i < 5; ++i)
            QCOMPARE(presetRow(i, bpm), presetRow(i, end));
        const ReverbTimes custom = ReverbDelay::customTimes(2, 32, bpm);
        QCOMPARE(shown(custom), shown(ReverbDelay::customTimes(2, 32, end)));
    }

    void delayPicks_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QStringList>("times");
        QTest::newRow("120") << 120.0
                             << QStringList{"500.0", "375.0", "250.0", "166.7", "187.5", "125.0", "62.5"};
        QTest::newRow("90") << 90.0
                            << QStringList{"666.7", "500.0", "333.3", "222.2", "250.0", "166.7", "83.3"};
        QTest::newRow("10 as 20") << 10.0 << QStringList{"3000.0", "2250.0", "1500.0", "1000.0",
                                                         "1125.0", "750.0",  "375.0"};
    }
    void delayPicks()
    {
        QFETCH(double, bpm);
        QFETCH(QStringList, times);
        QStringList labels;
        QStringList shownTimes;
        for (const DelayPick& pick : ReverbDelay::delayPicks()) {
            labels.append(QString::fromStdString(pick.label));
            shownTimes.append(shown(ReverbDelay::bar(bpm) * pick.barFraction));
        }
        QCOMPARE(labels, (QStringList{"1/4", "1/8D", "1/8", "1/8T", "1/16D", "1/16", "1/32"}));
        QCOMPARE(shownTimes, times);
    }

    void customTimes_data()
    {
        QTest::addColumn<double>("totalBars");
        QTest::addColumn<qint64>("preDivision");
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QStringList>("times");
        QTest::newRow("¼ bar, 1/16") << 0.25 << qint64(16) << 120.0 << QStringList{"125.0", "375.0", "500.0"};
        QTest::newRow("¼ bar, 1/16 at 90")
            << 0.25 << qint64(16) << 90.0 << QStringList{"166.7", "500.0", "666.7"};
        QTest::newRow("8 bars, 1/16")
            << 8.0 << qint64(16) << 120.0 << QStringList{"125.0", "15875.0", "16000.0"};
        QTest::newRow("default 1 bar, 1/64")
            << 1.0 << qint64(64) << 120.0 << QStringList{"31.2", "1968.8", "2000.0"};
        QTest::newRow("total shorter than the pre-delay: decay 0")
            << 0.01 << qint64(16) << 120.0 << QStringList{"125.0", "0.0", "20.0"};
        QTest::newRow("no total: decay 0") << 0.0 << qint64(256) << 120.0 << QStringList{"7.8", "0.0", "0.0"};
        // Only an edited state holds these; the default note stands in.
        QTest::newRow("pre-delay note 0 as 1/64")
            << 1.0 << qint64(0) << 120.0 << QStringList{"31.2", "1968.8", "2000.0"};
        QTest::newRow("negative pre-delay note as 1/64")
            << 2.0 << qint64(-16) << 120.0 << QStringList{"31.2", "3968.8", "4000.0"};
    }
    void customTimes()
    {
        QFETCH(double, totalBars);
        QFETCH(qint64, preDivision);
        QFETCH(double, bpm);
        QFETCH(QStringList, times);
        QCOMPARE(shown(ReverbDelay::customTimes(totalBars, preDivision, bpm)), times);
    }

    void preDivisionInUse_data()
    {
        QTest::addColumn<qint64>("stored");
        QTest::addColumn<qint64>("used");
        QTest::newRow("1/256") << qint64(256) << qint64(256);
        QTest::newRow("1/16") << qint64(16) << qint64(16);
        QTest::newRow("1") << qint64(1) << qint64(1);
        QTest::newRow("0") << qint64(0) << qint64(64);
        QTest::newRow("lowest") << std::numeric_limits<qint64>::min() << qint64(64);
    }
    void preDivisionInUse()
    {
        QFETCH(qint64, stored);
        QFETCH(qint64, used);
        QCOMPARE(ReverbDelay::preDivisionInUse(stored), used);
    }

    void lengthLabel_data()
    {
        QTest::addColumn<double>("totalBars");
        QTest::addColumn<QString>("label");
        QTest::newRow("quarter") << 0.25 << "¼ bar";
        QTest::newRow("half") << 0.5 << "½ bar";
        QTest::newRow("any other fraction below 1 reads as half") << 0.75 << "½ bar";
        QTest::newRow("one") << 1.0 << "1 bar";
        QTest::newRow("a fraction above 1 is dropped") << 1.5 << "1 bars";
        QTest::newRow("two") << 2.0 << "2 bars";
        QTest::newRow("eight") << 8.0 << "8 bars";
        QTest::newRow("huge") << 1e20 << "100000000000000000000 bars";
    }
    void lengthLabel()
    {
        QFETCH(double, totalBars);
        QFETCH(QString, label);
        QCOMPARE(QString::fromStdString(ReverbDelay::lengthLabel(totalBars)), label);
    }
};

QTEST_GUILESS_MAIN(TestReverbDelay)
#include "tst_reverbdelay.moc"
