#include "tools/temperament/TetScale.h"

#include "common/NumberText.h"

#include <QtTest>

using namespace morvela;

namespace {

QString shown(double value, int decimals)
{
    return QString::fromStdString(formatFixed(value, decimals));
}

} // namespace

// Runs under C.UTF-8 and de_DE.UTF-8.
class TestTetScale : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void workedSteps_data()
    {
        QTest::addColumn<double>("reference");
        QTest::addColumn<qint64>("divisions");
        QTest::addColumn<int>("k");
        QTest::addColumn<QStringList>("figures"); // ratio, frequency, cents, nearest note and cents
        QTest::newRow("19, 1") << 440.0 << qint64(19) << 1
                               << QStringList{"1.037155", "456.3482", "63.1579", "A#4", "-36.84"};
        QTest::newRow("19, 2") << 440.0 << qint64(19) << 2
                               << QStringList{"1.075691", "473.3039", "126.3158", "A#4", "26.32"};
        QTest::newRow("5, 1") << 440.0 << qint64(5) << 1
                              << QStringList{"1.148698", "505.4273", "240.0000", "B4", "40.00"};
        QTest::newRow("5, 2") << 440.0 << qint64(5) << 2
                              << QStringList{"1.319508", "580.5835", "480.0000", "D5", "-20.00"};
        QTest::newRow("12 on 261.63, 1")
            << 261.63 << qint64(12) << 1 << QStringList{"1.059463", "277.1873", "100.0000", "C#4", "0.03"};
        QTest::newRow("53, 1") << 440.0 << qint64(53) << 1
                               << QStringList{"1.013164", "445.7922", "22.6415", "A4", "22.64"};
        QTest::newRow("1, octave") << 440.0 << qint64(1) << 1
                                   << QStringList{"2.000000", "880.0000", "1200.0000", "A5", "0.00"};
    }
    void workedSteps()
    {
        QFETCH(double, reference);
        QFETCH(qint64, divisions);
        QFETCH(int, k);
        QFETCH(QStringList, figures);
        const std::vector<TetStep> steps = tetScale(reference, divisions, 440.0);
        QCOMPARE(steps.size(), std::size_t(divisions + 1));
        const TetStep& step = steps[std::size_t(k)];
        QCOMPARE(step.index, qint64(k));
        QCOMPARE((QStringList{shown(step.ratio, 6), shown(step.frequency, 4), shown(step.centsFromRoot, 4),
                              QString::fromStdString(step.nearestNote), shown(step.nearestCents, 2)}),
                 figures);
        QCOMPARE(steps[0].frequency, reference);
    }

    // Counts outside 1 ... 53 are taken as the nearest end, not as an empty or runaway list.
    void divisionsOutOfRangeAreClamped()
    {
        for (const auto& [divisions, size] : {std::pair<qint64, int>{0, 2}, {-7, 2}, {54, 54}, {1000000, 54}})
            QCOMPARE(int(tetScale(440.0, divisions, 440.0).size()), size);
    }

    void twelveOnA4IsTheChromaticScale()
    {
        QStringList names;
        for (const TetStep& step : tetScale(440.0, 12, 440.0)) {
            names.append(QString::fromStdString(step.nearestNote));
            QCOMPARE(shown(step.nearestCents, 0), QStringLiteral("0"));
        }
        QCOMPARE(names, (QStringList{"A4", "A#4", "B4", "C5", "C#5", "D5", "D#5", "E5", "F5", "F#5", "G5",
                                     "G#5", "A5"}));
    }

    // Nearest notes are measured against A4, never against the reference.
    void a4MovesOnlyTheNearestNotes()
    {
        const std::vector<TetStep> at440 = tetScale(261.63, 19, 440.0);
        const std::vector<TetStep> at432 = tetScale(261.63, 19, 432.0);
        for (std::size_t k = 0; k < at440.size(); ++k) {
            QCOMPARE(at432[k].frequency, at440[k].frequency);
            QCOMPARE(at432[k].ratio, at440[k].ratio);
            QCOMPARE(at432[k].centsFromRoot, at440[k].centsFromRoot);
        }
        QCOMPARE(QString::fromStdString(at432[0].nearestNote) + shown(at432[0].nearestCents, 2),
                 QStringLiteral("C431.80"));
    }

    void presets()
    {
        QStringList entries;
        for (const TetPreset& preset : tetPresets())
            entries.append(QString::fromStdString(preset.label) + " = " + QString::number(preset.divisions));
        QCOMPARE(entries,
                 (QStringList{"12 — standard tuning = 12", "24 — quarter tones = 24",
                              "19 — near just thirds = 19", "31 — meantone-like = 31", "10 — decaphonic = 10",
                              "9 — experimental = 9", "7 — Thai-like = 7", "5 — near slendro = 5"}));
    }

    // Committing writes the reference and then rewrites the text from it, accepted or not.
    void commit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("reference");
        QTest::addColumn<QString>("text");
        QTest::newRow("comma and exponent") << "1,5e2" << 150.0 << "150";
        QTest::newRow("below 20") << "5" << 20.0 << "20";
        QTest::newRow("above 2000") << "99999" << 2000.0 << "2000";
        // printf rounds the exact binary halfway value 261.625 to even.
        QTest::newRow("halfway prints to even") << "261.625" << 261.625 << "261.62";
        QTest::newRow("letters") << "abc" << 330.5 << "330.50";
        QTest::newRow("leading space") << " 440" << 330.5 << "330.50";
    }
    void commit()
    {
        QFETCH(QString, typed);
        QFETCH(double, reference);
        QFETCH(QString, text);
        const double committed = commitReferenceText(typed.toStdString(), 330.5);
        QCOMPARE(committed, reference);
        QCOMPARE(QString::fromStdString(referenceText(committed)), text);
    }

    // The stepper commits typed text first, then adds its own step.
    void stepper_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("reference");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("stepped");
        QTest::newRow("typed 300, up") << "300" << 440.0 << 1 << 301.0;
        QTest::newRow("rejected text, down") << "abc" << 440.0 << -1 << 439.0;
        // Near the top a click moves the stored value by what is left (0.5), not by 1.
        QTest::newRow("half a step left") << "1500" << 1999.5 << 1 << 1500.5;
    }
    void stepper()
    {
        QFETCH(QString, typed);
        QFETCH(double, reference);
        QFETCH(int, steps);
        QFETCH(double, stepped);
        QCOMPARE(steppedReference(typed.toStdString(), reference, steps), stepped);
    }
};

QTEST_GUILESS_MAIN(TestTetScale)
#include "tst_tetscale.moc"
