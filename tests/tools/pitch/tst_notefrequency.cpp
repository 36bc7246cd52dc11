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
        QTest::addColumn<QString>("hz");
        QTest::newRow("middle C") << qint64(0) << qint64(4) << 440.0 << qint64(60) << "261.6256";
        QTest::newRow("B3 below the octave change")
            << qint64(11) << qint64(3) << 440.0 << qint64(59) << "246.9417";
        QTest::newRow("C0") << qint64(0) << qint64(0) << 440.0 << qint64(12) << "16.3516";
        QTest::newRow("B8") << qint64(11) << qint64(8) << 440.0 << qint64(119) << "7902.1328";
        QTest::newRow("A3 at 432") << qint64(9) << qint64(3) << 432.0 << qint64(57) << "216.0000";
    }
    void frequency()
    {
        QFETCH(qint64, pitchClass);
        QFETCH(qint64, octave);
        QFETCH(double, a4);
        QFETCH(qint64, noteNumber);
        QCOMPARE(NoteFrequency::noteNumber(pitchClass, octave), noteNumber);
        QTEST(shown(NoteFrequency::frequency(noteNumber, a4), 4), "hz");
    }

    void nearestNote_data()
    {
        QTest::addColumn<double>("hz");
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cents");
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
        QTest::newRow("just below the B3/C4 midpoint") << 254.17 << 440.0 << "B3"
                                                       << "49.95";
    }
    void nearestNote()
    {
        QFETCH(double, hz);
        QFETCH(double, a4);
        const NearestNote nearest = NoteFrequency::nearestNote(hz, a4);
        QTEST(QString::fromStdString(nearest.name), "name");
        QTEST(shown(nearest.cents, 2), "cents");
    }

    // Cents are kept at full precision: the screens round them only when they print them.
    void centsAreNotRounded()
    {
        QCOMPARE(shown(NoteFrequency::nearestNote(20.0, 440.0).cents, 6), "48.682058");
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
        QTest::newRow("several of both") << "C♯ E♭ F♯♯"
                                         << "C# Eb F##";
    }
    void plainAccidentals()
    {
        QFETCH(QString, spelled);
        QTEST(QString::fromStdString(NoteFrequency::plainAccidentals(spelled.toStdString())), "plain");
    }

    // Committing writes the reference and then rewrites the text from it, accepted or not.
    void commit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("before");
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("text");
        QTest::newRow("decimal comma") << "439,5" << 440.0 << 439.5 << "439.5";
        QTest::newRow("nearly whole shows a decimal") << "441.999" << 440.0 << 441.999 << "442.0";
        QTest::newRow("above 480") << "500" << 440.0 << 480.0 << "480";
        QTest::newRow("below 400") << "100" << 440.0 << 400.0 << "400";
        QTest::newRow("letters keep a fraction") << "abc" << 439.5 << 439.5 << "439.5";
        QTest::newRow("empty") << "" << 432.0 << 432.0 << "432";
        QTest::newRow("leading space") << " 432" << 440.0 << 440.0 << "440";
        QTest::newRow("trailing unit") << "432Hz" << 440.0 << 440.0 << "440";
        QTest::newRow("infinity") << "inf" << 440.0 << 440.0 << "440";
        QTest::newRow("NaN") << "nan" << 440.0 << 440.0 << "440";
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
        QTest::newRow("440") << 440.0 << 440.0 << 441.0 << 439.0;
        QTest::newRow("a fraction") << 439.5 << 440.0 << 440.5 << 438.5;
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
