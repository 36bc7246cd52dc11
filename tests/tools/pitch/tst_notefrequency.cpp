#include "tools/pitch/NoteFrequency.h"

#include "common/NumberText.h"

#include <QtTest>

using namespace morvela;

static QString shown(double value, int decimals)
{
    return QString::fromStdString(formatFixed(value, decimals));
}

// Runs under C.UTF-8 and de_DE.UTF-8.
class TestNoteFrequency : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // "note number, frequency" for pitch class, octave and reference.
    void frequency()
    {
        const auto note = [](qint64 pitchClass, qint64 octave, double a4) {
            const qint64 n = NoteFrequency::noteNumber(pitchClass, octave);
            return QStringLiteral("%1 %2").arg(n).arg(shown(NoteFrequency::frequency(n, a4), 4));
        };
        QCOMPARE((QStringList{note(0, 4, 440), note(0, 0, 440), note(11, 8, 440), note(9, 3, 432)}),
                 (QStringList{"60 261.6256", "12 16.3516", "119 7902.1328", "57 216.0000"}));
    }

    // Cents are compared as printed with 2 decimals; "0.00" also rules out "-0.00".
    void nearestNote_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("cents");
        QTest::newRow("440 is A4") << 440.0 << 440.0 << QString("A4") << 0.0;
        QTest::newRow("the label follows the reference") << 440.0 << 432.0 << QString("A4") << 31.77;
        QTest::newRow("20 Hz") << 20.0 << 440.0 << QString("D#0") << 48.68;
        QTest::newRow("2000 Hz") << 2000.0 << 440.0 << QString("B6") << 21.31;
        QTest::newRow("just above the A4/A#4 midpoint") << 452.90 << 440.0 << QString("A#4") << -49.97;
        QTest::newRow("just below the A4/A#4 midpoint") << 452.89 << 440.0 << QString("A4") << 49.99;
        QTest::newRow("C4 changes the octave") << 261.63 << 440.0 << QString("C4") << 0.03;
        QTest::newRow("just below the B3/C4 midpoint") << 254.17 << 440.0 << QString("B3") << 49.95;
    }
    void nearestNote()
    {
        QFETCH(double, hz);
        QFETCH(double, a4);
        QFETCH(double, cents);
        const NearestNote nearest = NoteFrequency::nearestNote(hz, a4);
        QTEST(QString::fromStdString(nearest.name), "name");
        QCOMPARE(shown(nearest.cents, 2), shown(cents, 2));
    }

    // The screens round cents only when they print them.
    void centsAreNotRounded()
    {
        QCOMPARE(shown(NoteFrequency::nearestNote(20.0, 440.0).cents, 6), "48.682058");
    }

    void plainAccidentals()
    {
        QCOMPARE(QString::fromStdString(NoteFrequency::plainAccidentals("C F♯m C♯ E♭ F♯♯ B♭")),
                 "C F#m C# Eb F## Bb");
    }

    // Committing writes the reference, then rewrites the text from it, accepted or not. Texts that do
    // not parse are tst_numbertext's; the screen test covers a decimal comma.
    void commit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("text");
        QTest::newRow("nearly whole shows a decimal") << "441.999" << 440.0 << 441.999 << "442.0";
        QTest::newRow("above 480") << "500" << 440.0 << 480.0 << "480";
        QTest::newRow("below 400") << "100" << 440.0 << 400.0 << "400";
        QTest::newRow("letters keep a fraction") << "abc" << 439.5 << 439.5 << "439.5";
        QTest::newRow("empty") << "" << 432.0 << 432.0 << "432";
    }
    void commit()
    {
        QFETCH(QString, typed);
        QFETCH(double, before);
        const double committed = NoteFrequency::commitA4Text(typed.toStdString(), before);
        QTEST(committed, "a4");
        QTEST(QString::fromStdString(NoteFrequency::a4Text(committed)), "text");
    }

    void controls_data()
    {
        QTest::addColumn<double>("a4");
        QTest::addColumn<double>("slider"); // what the slider stores when it writes `a4`
        QTest::addColumn<double>("up");
        QTest::addColumn<double>("down");
        QTest::newRow("halves round away from zero, not to even") << 440.5 << 441.0 << 441.5 << 439.5;
        QTest::newRow("at 480") << 480.0 << 480.0 << 480.0 << 479.0;
        QTest::newRow("a fraction meets the top") << 479.5 << 480.0 << 480.0 << 478.5;
        QTest::newRow("at 400") << 400.0 << 400.0 << 401.0 << 400.0;
    }
    void controls()
    {
        QFETCH(double, a4);
        QTEST(NoteFrequency::sliderA4(a4), "slider");
        QTEST(NoteFrequency::steppedA4(a4, 1), "up");
        QTEST(NoteFrequency::steppedA4(a4, -1), "down");
    }
};

QTEST_GUILESS_MAIN(TestNoteFrequency)
#include "tst_notefrequency.moc"
