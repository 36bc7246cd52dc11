#include "tools/harmony/CircleOfFifths.h"
#include "tools/harmony/FifthsWheelGeometry.h"

#include "common/NumberText.h"

#include <QtTest>

#include <limits>

using namespace morvela;

namespace {

// A column of the current data row, where QFETCH's declaration does not fit.
template <typename T> T fetched(const char* column)
{
    return *static_cast<T*>(QTest::qData(column, qMetaTypeId<T>()));
}

template <typename Container> QStringList texts(const Container& items)
{
    QStringList list;
    for (const std::string& item : items)
        list.append(QString::fromStdString(item));
    return list;
}

QString hz(double frequency)
{
    return QString::fromStdString(formatFixed(frequency, 2));
}

QString segmentText(const std::optional<FifthsWheelGeometry::Segment>& segment)
{
    return segment ? QString::fromStdString(segment->id()) : QString();
}

} // namespace

// Runs under C.UTF-8 and de_DE.UTF-8 (the wheel's path data must keep its decimal points).
class TestCircleOfFifths : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keys_data()
    {
        QTest::addColumn<qint64>("index");
        QTest::addColumn<bool>("minor");
        QTest::addColumn<QString>("longName");
        QTest::addColumn<QStringList>("scale");
        QTest::addColumn<QStringList>("chords");
        QTest::addColumn<QStringList>("numerals");
        QTest::addColumn<QString>("signature");
        QTest::addColumn<QStringList>("signatureNotes");
        QTest::addColumn<QStringList>("related"); // relative, dominant, subdominant

        QTest::newRow("C major") << qint64(0) << false << "C major"
                                 << QStringList{"C", "D", "E", "F", "G", "A", "B"}
                                 << QStringList{"C", "Dm", "Em", "F", "G", "Am", "B°"}
                                 << QStringList{"I", "ii", "iii", "IV", "V", "vi", "vii°"} << "0"
                                 << QStringList{} << QStringList{"Am", "G", "F"};
        QTest::newRow("D♯ minor") << qint64(6) << true << "D♯ minor"
                                  << QStringList{"D♯", "E♯", "F♯", "G♯", "A♯", "B", "C♯"}
                                  << QStringList{"D♯m", "E♯°", "F♯", "G♯m", "A♯m", "B", "C♯"}
                                  << QStringList{"i", "ii°", "III", "iv", "v", "VI", "VII"} << "6♯"
                                  << QStringList{"F♯", "C♯", "G♯", "D♯", "A♯", "E♯"}
                                  << QStringList{"F♯", "B♭m", "G♯m"};
        QTest::newRow("D♭ major") << qint64(7) << false << "D♭ major"
                                  << QStringList{"D♭", "E♭", "F", "G♭", "A♭", "B♭", "C"}
                                  << QStringList{"D♭", "E♭m", "Fm", "G♭", "A♭", "B♭m", "C°"}
                                  << QStringList{"I", "ii", "iii", "IV", "V", "vi", "vii°"} << "5♭"
                                  << QStringList{"B♭", "E♭", "A♭", "D♭", "G♭"}
                                  << QStringList{"B♭m", "A♭", "F♯"};
        QTest::newRow("B♭ minor keeps its flat")
            << qint64(7) << true << "B♭ minor" << QStringList{"B♭", "C", "D♭", "E♭", "F", "G♭", "A♭"}
            << QStringList{"B♭m", "C°", "D♭", "E♭m", "Fm", "G♭", "A♭"}
            << QStringList{"i", "ii°", "III", "iv", "v", "VI", "VII"} << "5♭"
            << QStringList{"B♭", "E♭", "A♭", "D♭", "G♭"} << QStringList{"D♭", "Fm", "D♯m"};
        QTest::newRow("A minor") << qint64(0) << true << "A minor"
                                 << QStringList{"A", "B", "C", "D", "E", "F", "G"}
                                 << QStringList{"Am", "B°", "C", "Dm", "Em", "F", "G"}
                                 << QStringList{"i", "ii°", "III", "iv", "v", "VI", "VII"} << "0"
                                 << QStringList{} << QStringList{"C", "Em", "Dm"};
        QTest::newRow("F: dominant C across the top")
            << qint64(11) << false << "F major" << QStringList{"F", "G", "A", "B♭", "C", "D", "E"}
            << QStringList{"F", "Gm", "Am", "B♭", "C", "Dm", "E°"}
            << QStringList{"I", "ii", "iii", "IV", "V", "vi", "vii°"} << "1♭" << QStringList{"B♭"}
            << QStringList{"Dm", "C", "B♭"};
        QTest::newRow("index 23 wraps to F")
            << qint64(23) << false << "F major" << QStringList{"F", "G", "A", "B♭", "C", "D", "E"}
            << QStringList{"F", "Gm", "Am", "B♭", "C", "Dm", "E°"}
            << QStringList{"I", "ii", "iii", "IV", "V", "vi", "vii°"} << "1♭" << QStringList{"B♭"}
            << QStringList{"Dm", "C", "B♭"};
        QTest::newRow("index -1 wraps to F")
            << qint64(-1) << false << "F major" << QStringList{"F", "G", "A", "B♭", "C", "D", "E"}
            << QStringList{"F", "Gm", "Am", "B♭", "C", "Dm", "E°"}
            << QStringList{"I", "ii", "iii", "IV", "V", "vi", "vii°"} << "1♭" << QStringList{"B♭"}
            << QStringList{"Dm", "C", "B♭"};
    }
    void keys()
    {
        QFETCH(qint64, index);
        QFETCH(bool, minor);
        const KeySelection key{index, minor};
        const auto& slot = key.slot();
        QCOMPARE(QString::fromStdString(key.longName()), fetched<QString>("longName"));
        QCOMPARE(texts(key.scale()), fetched<QStringList>("scale"));
        QCOMPARE(texts(key.chords()), fetched<QStringList>("chords"));
        QCOMPARE(texts(key.romanNumerals()), fetched<QStringList>("numerals"));
        QCOMPARE(QString::fromStdString(CircleOfFifths::signatureText(slot.accidentals)),
                 fetched<QString>("signature"));
        QCOMPARE(texts(CircleOfFifths::signatureNotes(slot.accidentals)),
                 fetched<QStringList>("signatureNotes"));
        QCOMPARE((QStringList{QString::fromStdString(key.relative()), QString::fromStdString(key.dominant()),
                              QString::fromStdString(key.subdominant())}),
                 fetched<QStringList>("related"));
    }

    // The spelled table against the pitch each slot sounds: slot i's tonic is i fifths above C.
    void everySlotIsSpelledOnItsPitch()
    {
        const QStringList letters{"C", "D", "E", "F", "G", "A", "B"};
        const int naturalPitch[] = {0, 2, 4, 5, 7, 9, 11};
        for (std::int64_t i = 0; i < 12; ++i) {
            for (bool minor : {false, true}) {
                const KeySelection key{i, minor};
                const auto scale = key.scale();
                for (std::int64_t d = 0; d < 7; ++d) {
                    const QString note = QString::fromStdString(scale[static_cast<std::size_t>(d)]);
                    int pitch = naturalPitch[letters.indexOf(note.left(1))];
                    pitch += note.count(u'♯') - note.count(u'♭');
                    const double expected = 130.8127826502993 * std::exp2(((pitch % 12 + 12) % 12) / 12.0);
                    QVERIFY2(qAbs(key.triad(d, 440).rootHz - expected) < 1e-9,
                             qPrintable(QStringLiteral("%1 degree %2")
                                            .arg(QString::fromStdString(key.longName()))
                                            .arg(d)));
                }
            }
        }
    }

    void signatureExtremes_data()
    {
        QTest::addColumn<qint64>("accidentals");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("notes");
        QTest::newRow("eight sharps, seven notes") << qint64(8) << "8♯" << 7;
        QTest::newRow("most negative") << std::numeric_limits<qint64>::min() << "9223372036854775808♭" << 7;
    }
    void signatureExtremes()
    {
        QFETCH(qint64, accidentals);
        QCOMPARE(QString::fromStdString(CircleOfFifths::signatureText(accidentals)),
                 fetched<QString>("text"));
        QCOMPARE(int(CircleOfFifths::signatureNotes(accidentals).size()), fetched<int>("notes"));
    }

    void triads_data()
    {
        QTest::addColumn<qint64>("index");
        QTest::addColumn<bool>("minor");
        QTest::addColumn<qint64>("degree");
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("root");
        QTest::addColumn<int>("quality");
        const int major = int(TriadQuality::major), minor = int(TriadQuality::minor),
                  dim = int(TriadQuality::diminished);
        QTest::newRow("C major tonic") << qint64(0) << false << qint64(0) << 440.0 << "130.81" << major;
        QTest::newRow("G major V") << qint64(1) << false << qint64(4) << 440.0 << "146.83" << major;
        QTest::newRow("A minor tonic") << qint64(0) << true << qint64(0) << 440.0 << "220.00" << minor;
        QTest::newRow("A minor ii°") << qint64(0) << true << qint64(1) << 440.0 << "246.94" << dim;
        QTest::newRow("E minor tonic E3") << qint64(1) << true << qint64(0) << 440.0 << "164.81" << minor;
        QTest::newRow("E minor VII below the tonic")
            << qint64(1) << true << qint64(6) << 440.0 << "146.83" << major;
        QTest::newRow("B major IV on E3") << qint64(5) << false << qint64(3) << 440.0 << "164.81" << major;
        QTest::newRow("F♯ minor tonic") << qint64(3) << true << qint64(0) << 440.0 << "185.00" << minor;
        QTest::newRow("A minor at 432") << qint64(0) << true << qint64(0) << 432.0 << "216.00" << minor;
        QTest::newRow("degree 9 reads as vii°")
            << qint64(0) << false << qint64(9) << 440.0 << "246.94" << dim;
        QTest::newRow("degree -4 reads as I")
            << qint64(0) << false << qint64(-4) << 440.0 << "130.81" << major;
    }
    void triads()
    {
        QFETCH(qint64, index);
        QFETCH(bool, minor);
        QFETCH(qint64, degree);
        QFETCH(double, a4);
        const KeySelection::Triad triad = KeySelection{index, minor}.triad(degree, a4);
        QCOMPARE(hz(triad.rootHz), fetched<QString>("root"));
        QCOMPARE(int(triad.quality), fetched<int>("quality"));
    }

    void a4ScalesEveryRoot()
    {
        for (std::int64_t i = 0; i < 12; ++i)
            for (std::int64_t d = 0; d < 7; ++d) {
                const KeySelection key{i, i % 2 == 1};
                QCOMPARE(key.triad(d, 432).rootHz, key.triad(d, 440).rootHz * 432.0 / 440.0);
                QCOMPARE(key.triad(d, 432).quality, key.triad(d, 440).quality);
            }
    }

    void presets_data()
    {
        QTest::addColumn<bool>("minor");
        QTest::addColumn<QStringList>("presets");
        QTest::newRow("major") << false
                               << QStringList{"I–V–vi–IV: 0 4 5 3", "I–vi–IV–V: 0 5 3 4", "ii–V–I: 1 4 0",
                                              "I–IV–vi–V: 0 3 5 4"};
        QTest::newRow("minor") << true
                               << QStringList{"i–VI–III–VII: 0 5 2 6", "i–iv–v–i: 0 3 4 0",
                                              "i–VII–VI–v: 0 6 5 4", "ii°–v–i: 1 4 0"};
    }
    void presets()
    {
        QFETCH(bool, minor);
        QStringList presets;
        for (const auto& preset : progressionPresets(minor)) {
            QString text = QString::fromStdString(preset.name) + ":";
            for (std::int64_t degree : preset.degrees)
                text += QStringLiteral(" %1").arg(degree);
            presets.append(text);
        }
        QCOMPARE(presets, fetched<QStringList>("presets"));
    }

    // Points given in polar form (radius as a fraction of half the side, angle from the top,
    // clockwise) on a 430 × 430 wheel.
    void wheelPoints_data()
    {
        QTest::addColumn<double>("rho");
        QTest::addColumn<double>("fromTop");
        QTest::addColumn<QString>("hover");
        QTest::addColumn<QString>("click");
        QTest::newRow("centre") << 0.0 << 0.0 << ""
                                << "";
        QTest::newRow("ring gap") << 0.7075 << 0.0 << ""
                                  << "";
        QTest::newRow("beyond the outer ring") << 0.99 << 0.0 << ""
                                               << "";
        QTest::newRow("C, outer") << 0.85 << 0.0 << "maj-0"
                                  << "maj-0";
        QTest::newRow("F♯m, inner") << 0.6 << 90.0 << "min-3"
                                    << "min-3";
        QTest::newRow("F, left of the top") << 0.85 << -25.0 << "maj-11"
                                            << "maj-11";
        QTest::newRow("gap between C and G") << 0.85 << 14.5 << "maj-0"
                                             << "";
        QTest::newRow("gap between F and C") << 0.85 << -14.5 << "maj-0"
                                             << "";
        QTest::newRow("gap past the sector edge") << 0.85 << 15.5 << "maj-1"
                                                  << "";
        QTest::newRow("inside the drawn edge") << 0.85 << 13.5 << "maj-0"
                                               << "maj-0";
    }
    void wheelPoints()
    {
        QFETCH(double, rho);
        QFETCH(double, fromTop);
        const double radians = (fromTop - 90.0) * std::numbers::pi / 180.0;
        const double x = 215.0 + std::cos(radians) * rho * 215.0;
        const double y = 215.0 + std::sin(radians) * rho * 215.0;
        QCOMPARE(segmentText(FifthsWheelGeometry::segmentID(x, y, 430, 430)), fetched<QString>("hover"));
        QCOMPARE(segmentText(FifthsWheelGeometry::segmentHit(x, y, 430, 430)), fetched<QString>("click"));
    }

    void noWheelNoSegment() { QVERIFY(!FifthsWheelGeometry::segmentID(0, 0, 0, 0)); }

    void segmentOutline()
    {
        // Segment 3 (A) spans -13.6° … 13.6° round the positive x axis, clockwise on screen.
        QCOMPARE(
            QString::fromStdString(FifthsWheelGeometry::segmentPath(3, false, 200, 200)),
            "M 195.738 76.839 A 98.500 98.500 0 0 1 195.738 123.161 L 169.981 116.930 A 72.000 72.000 0 0 0 "
            "169.981 83.070 Z");
        const auto label = FifthsWheelGeometry::labelCentre(0, true, 200, 200);
        QCOMPARE(label.x, 100.0);
        QCOMPARE(label.y, 100.0 - 58.25);
    }
};

QTEST_MAIN(TestCircleOfFifths)
#include "tst_circleoffifths.moc"
