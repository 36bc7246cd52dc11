#include "tools/temperament/TetScale.h"

#include "common/NumberText.h"

#include <QtTest>

using namespace morvela;

namespace {

QString shown(double value, int decimals)
{
    return QString::fromStdString(formatFixed(value, decimals));
}

// A step as its figures print: ratio, frequency, cents from the root, nearest note and cents.
QStringList row(const TetStep& step)
{
    return {shown(step.ratio, 6), shown(step.frequency, 4), shown(step.centsFromRoot, 4),
            QString::fromStdString(step.nearestNote), shown(step.nearestCents, 2)};
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
        QTest::addColumn<QStringList>("figures");
        QTest::newRow("19, step 1") << 440.0 << qint64(19) << 1
                                    << QStringList{"1.037155", "456.3482", "63.1579", "A#4", "-36.84"};
        QTest::newRow("19, step 2") << 440.0 << qint64(19) << 2
                                    << QStringList{"1.075691", "473.3039", "126.3158", "A#4", "26.32"};
        QTest::newRow("5, step 1") << 440.0 << qint64(5) << 1
                                   << QStringList{"1.148698", "505.4273", "240.0000", "B4", "40.00"};
        QTest::newRow("5, step 2") << 440.0 << qint64(5) << 2
                                   << QStringList{"1.319508", "580.5835", "480.0000", "D5", "-20.00"};
        QTest::newRow("12 on 261.63, step 1")
            << 261.63 << qint64(12) << 1 << QStringList{"1.059463", "277.1873", "100.0000", "C#4", "0.03"};
        QTest::newRow("53, step 1") << 440.0 << qint64(53) << 1
                                    << QStringList{"1.013164", "445.7922", "22.6415", "A4", "22.64"};
        QTest::newRow("1, the octave")
            << 440.0 << qint64(1) << 1 << QStringList{"2.000000", "880.0000", "1200.0000", "A5", "0.00"};
        QTest::newRow("31, the octave")
            << 300.0 << qint64(31) << 31 << QStringList{"2.000000", "600.0000", "1200.0000", "D5", "36.95"};
    }
    void workedSteps()
    {
        QFETCH(double, reference);
        QFETCH(qint64, divisions);
        QFETCH(int, k);
        QFETCH(QStringList, figures);
        const std::vector<TetStep> steps = tetScale(reference, divisions, 440.0);
        QCOMPARE(steps.size(), std::size_t(divisions + 1));
        QCOMPARE(steps[std::size_t(k)].index, qint64(k));
        QCOMPARE(row(steps[std::size_t(k)]), figures);
        QCOMPARE(row(steps.front()).mid(0, 3), (QStringList{"1.000000", shown(reference, 4), "0.0000"}));
    }

    // Out-of-range counts are taken as the nearest end instead of an empty or runaway list.
    void divisionsOutOfRangeAreClamped_data()
    {
        QTest::addColumn<qint64>("divisions");
        QTest::addColumn<int>("steps");
        QTest::newRow("0") << qint64(0) << 2;
        QTest::newRow("-7") << qint64(-7) << 2;
        QTest::newRow("54") << qint64(54) << 54;
        QTest::newRow("1000000") << qint64(1000000) << 54;
    }
    void divisionsOutOfRangeAreClamped()
    {
        QFETCH(qint64, divisions);
        QFETCH(int, steps);
        const std::vector<TetStep> scale = tetScale(440.0, divisions, 440.0);
        QCOMPARE(int(scale.size()), steps);
        QCOMPARE(scale.back().ratio, 2.0);
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
        QCOMPARE(shown(at440[0].nearestCents, 2), QStringLiteral("0.03"));
        QCOMPARE(QString::fromStdString(at432[0].nearestNote), QStringLiteral("C4"));
        QCOMPARE(shown(at432[0].nearestCents, 2), QStringLiteral("31.80"));
    }

    void presets()
    {
        QStringList labels;
        QList<qint64> divisions;
        for (const TetPreset& preset : tetPresets()) {
            labels.append(QString::fromStdString(preset.label));
            divisions.append(preset.divisions);
        }
        QCOMPARE(labels, (QStringList{"12 — standard tuning", "24 — quarter tones", "19 — near just thirds",
                                      "31 — meantone-like", "10 — decaphonic", "9 — experimental",
                                      "7 — Thai-like", "5 — near slendro"}));
        QCOMPARE(divisions, (QList<qint64>{12, 24, 19, 31, 10, 9, 7, 5}));
    }

    // Committing writes the reference and then rewrites the text from it, accepted or not.
    void commit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("reference");
        QTest::addColumn<QString>("text");
        QTest::newRow("comma and exponent") << "1,5e2" << 440.0 << 150.0 << "150";
        QTest::newRow("below 20") << "5" << 440.0 << 20.0 << "20";
        QTest::newRow("above 2000") << "99999" << 440.0 << 2000.0 << "2000";
        QTest::newRow("two decimals") << "261,63" << 440.0 << 261.63 << "261.63";
        // printf rounds the exact binary halfway value 261.625 to even.
        QTest::newRow("halfway prints to even") << "261.625" << 440.0 << 261.625 << "261.62";
        QTest::newRow("letters") << "abc" << 440.0 << 440.0 << "440";
        QTest::newRow("leading space") << " 440" << 300.0 << 300.0 << "300";
        QTest::newRow("trailing space") << "440 " << 300.0 << 300.0 << "300";
        QTest::newRow("empty") << "" << 300.0 << 300.0 << "300";
        QTest::newRow("infinity") << "inf" << 300.0 << 300.0 << "300";
        QTest::newRow("rejected keeps a fraction") << "x" << 261.63 << 261.63 << "261.63";
    }
    void commit()
    {
        QFETCH(QString, typed);
        QFETCH(double, before);
        QFETCH(double, reference);
        QFETCH(QString, text);
        const double committed = commitReferenceText(typed.toStdString(), before);
        QCOMPARE(committed, reference);
        QCOMPARE(QString::fromStdString(referenceText(committed)), text);
    }

    // The stepper applies typed text first, then its own step.
    void stepper_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("reference");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("stepped");
        QTest::newRow("typed 300, up") << "300" << 440.0 << 1 << 301.0;
        QTest::newRow("typed 300, down") << "300" << 440.0 << -1 << 299.0;
        QTest::newRow("rejected text, up") << "abc" << 440.0 << 1 << 441.0;
        QTest::newRow("keeps a fraction") << "261.63" << 261.63 << 1 << 262.63;
        QTest::newRow("typed beyond the top, down") << "5000" << 440.0 << -1 << 1999.0;
        QTest::newRow("stops at 20") << "20.5" << 20.5 << -1 << 20.0;
        // Near the top the click moves the stored value by what is left (0.5), not by 1.
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
