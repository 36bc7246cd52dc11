#include "tools/pitch/NoteFrequency.h"

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
class TestNoteFrequency : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void tables()
    {
        QStringList names;
        for (const std::string& name : NoteFrequency::names())
            names.append(QString::fromStdString(name));
        QCOMPARE(names, (QStringList{"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"}));
        QList<qint64> octaves(NoteFrequency::octaves().begin(), NoteFrequency::octaves().end());
        QCOMPARE(octaves, (QList<qint64>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    }

    void frequency_data()
    {
        QTest::addColumn<qint64>("pitchClass");
        QTest::addColumn<qint64>("octave");
        QTest::addColumn<double>("a4");
        QTest::addColumn<qint64>("noteNumber");
        QTest::addColumn<QString>("hz"); // "%.4f"
        QTest::newRow("A4 is the reference") << qint64(9) << qint64(4) << 440.0 << qint64(69) << "440.0000";
        QTest::newRow("middle C") << qint64(0) << qint64(4) << 440.0 << qint64(60) << "261.6256";
        QTest::newRow("B3 just below the octave change")
            << qint64(11) << qint64(3) << 440.0 << qint64(59) << "246.9417";
        QTest::newRow("C0, lowest of the chart")
            << qint64(0) << qint64(0) << 440.0 << qint64(12) << "16.3516";
        QTest::newRow("B8, highest of the chart")
            << qint64(11) << qint64(8) << 440.0 << qint64(119) << "7902.1328";
        QTest::newRow("A3 at 432") << qint64(9) << qint64(3) << 432.0 << qint64(57) << "216.0000";
        QTest::newRow("C4 at 432") << qint64(0) << qint64(4) << 432.0 << qint64(60) << "256.8687";
    }
    void frequency()
    {
        QFETCH(qint64, pitchClass);
        QFETCH(qint64, octave);
        QFETCH(double, a4);
        QFETCH(qint64, noteNumber);
        QFETCH(QString, hz);
        QCOMPARE(NoteFrequency::noteNumber(pitchClass, octave), noteNumber);
        QCOMPARE(shown(NoteFrequency::frequency(noteNumber, a4), 4), hz);
    }

    void nearestNote_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cents"); // "%.2f"
        QTest::newRow("440 is A4") << 440.0 << 440.0 << "A4"
                                   << "0.00";
        QTest::newRow("C4") << 261.6256 << 440.0 << "C4"
                            << "0.00";
        QTest::newRow("7th harmonic of A1") << 385.0 << 440.0 << "G4"
                                            << "-31.17";
        QTest::newRow("5th harmonic of A1") << 275.0 << 440.0 << "C#4"
                                            << "-13.69";
        QTest::newRow("3rd harmonic of A1") << 165.0 << 440.0 << "E3"
                                            << "1.96";
        QTest::newRow("20 Hz") << 20.0 << 440.0 << "D#0"
                               << "48.68";
        QTest::newRow("2000 Hz") << 2000.0 << 440.0 << "B6"
                                 << "21.31";
        QTest::newRow("the reference is A4 at 432") << 432.0 << 432.0 << "A4"
                                                    << "0.00";
        QTest::newRow("the reference is A4 at 480") << 480.0 << 480.0 << "A4"
                                                    << "0.00";
        QTest::newRow("the label follows the reference") << 440.0 << 432.0 << "A4"
                                                         << "31.77";
        QTest::newRow("just above the A4/A#4 midpoint") << 452.90 << 440.0 << "A#4"
                                                        << "-49.97";
        QTest::newRow("just below the A4/A#4 midpoint") << 452.89 << 440.0 << "A4"
                                                        << "49.99";
        QTest::newRow("B3") << 246.94 << 440.0 << "B3"
                            << "-0.01";
        QTest::newRow("C4 changes the octave") << 261.63 << 440.0 << "C4"
                                               << "0.03";
        QTest::newRow("just above the B3/C4 midpoint") << 254.18 << 440.0 << "C4"
                                                       << "-49.98";
        QTest::newRow("just below the B3/C4 midpoint") << 254.17 << 440.0 << "B3"
                                                       << "49.95";
    }
    void nearestNote()
    {
        QFETCH(double, hz);
        QFETCH(double, a4);
        QFETCH(QString, name);
        QFETCH(QString, cents);
        const NearestNote nearest = NoteFrequency::nearestNote(hz, a4);
        QCOMPARE(QString::fromStdString(nearest.name), name);
        QCOMPARE(shown(nearest.cents, 2), cents);
    }

    // Cents are kept at full precision: the screens round them only when they print them.
    void centsAreNotRounded()
    {
        QCOMPARE(shown(NoteFrequency::nearestNote(20.0, 440.0).cents, 6), QStringLiteral("48.682058"));
    }

    void plainAccidentals_data()
    {
        QTest::addColumn<QString>("spelled");
        QTest::addColumn<QString>("plain");
        QTest::newRow("sharp") << "F♯m"
                               << "F#m";
        QTest::newRow("flat") << "B♭"
                              << "Bb";
        QTest::newRow("natural") << "C"
                                 << "C";
        QTest::newRow("several of both") << "C♯ E♭ G♯ B♭"
                                         << "C# Eb G# Bb";
        QTest::newRow("double sharp") << "F♯♯"
                                      << "F##";
    }
    void plainAccidentals()
    {
        QFETCH(QString, spelled);
        QFETCH(QString, plain);
        QCOMPARE(QString::fromStdString(NoteFrequency::plainAccidentals(spelled.toStdString())), plain);
    }

    // Committing writes the reference and then rewrites the text from it, accepted or not.
    void commit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("text");
        QTest::newRow("whole") << "432" << 440.0 << 432.0 << "432";
        QTest::newRow("decimal comma") << "439,5" << 440.0 << 439.5 << "439.5";
        QTest::newRow("decimal point") << "442.25" << 440.0 << 442.25 << "442.2";
        QTest::newRow("nearly whole shows a decimal") << "441.999" << 440.0 << 441.999 << "442.0";
        QTest::newRow("exponent") << "4.4e2" << 432.0 << 440.0 << "440";
        QTest::newRow("above 480") << "500" << 440.0 << 480.0 << "480";
        QTest::newRow("below 400") << "100" << 440.0 << 400.0 << "400";
        QTest::newRow("negative") << "-440" << 440.0 << 400.0 << "400";
        QTest::newRow("letters") << "abc" << 440.0 << 440.0 << "440";
        QTest::newRow("letters keep a fraction") << "abc" << 439.5 << 439.5 << "439.5";
        QTest::newRow("empty") << "" << 432.0 << 432.0 << "432";
        QTest::newRow("leading space") << " 432" << 440.0 << 440.0 << "440";
        QTest::newRow("trailing unit") << "432Hz" << 440.0 << 440.0 << "440";
        QTest::newRow("two commas") << "4,3,2" << 440.0 << 440.0 << "440";
        QTest::newRow("infinity") << "inf" << 440.0 << 440.0 << "440";
        QTest::newRow("NaN") << "nan" << 440.0 << 440.0 << "440";
    }
    void commit()
    {
        QFETCH(QString, typed);
        QFETCH(double, before);
        QFETCH(double, a4);
        QFETCH(QString, text);
        const double committed = NoteFrequency::commitA4Text(typed.toStdString(), before);
        QCOMPARE(committed, a4);
        QCOMPARE(QString::fromStdString(NoteFrequency::a4Text(committed)), text);
    }

    void slider_data()
    {
        QTest::addColumn<double>("written");
        QTest::addColumn<double>("stored");
        QTest::newRow("441.6") << 441.6 << 442.0;
        QTest::newRow("441.4") << 441.4 << 441.0;
        QTest::newRow("440.5 rounds away from zero, not to even") << 440.5 << 441.0;
    }
    void slider()
    {
        QFETCH(double, written);
        QFETCH(double, stored);
        QCOMPARE(NoteFrequency::sliderA4(written), stored);
    }

    void stepper_data()
    {
        QTest::addColumn<double>("a4");
        QTest::addColumn<int>("steps");
        QTest::addColumn<double>("stepped");
        QTest::newRow("up") << 440.0 << 1 << 441.0;
        QTest::newRow("down") << 440.0 << -1 << 439.0;
        QTest::newRow("keeps a fraction") << 439.5 << 1 << 440.5;
        QTest::newRow("stops at 480") << 480.0 << 1 << 480.0;
        QTest::newRow("stops at 400") << 400.0 << -1 << 400.0;
        QTest::newRow("a fraction meets the top") << 479.5 << 1 << 480.0;
        QTest::newRow("a fraction meets the bottom") << 400.5 << -1 << 400.0;
    }
    void stepper()
    {
        QFETCH(double, a4);
        QFETCH(int, steps);
        QFETCH(double, stepped);
        QCOMPARE(NoteFrequency::steppedA4(a4, steps), stepped);
    }
};

QTEST_GUILESS_MAIN(TestNoteFrequency)
#include "tst_notefrequency.moc"
