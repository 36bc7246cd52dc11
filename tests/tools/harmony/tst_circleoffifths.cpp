#include "tools/harmony/CircleOfFifths.h"
#include "tools/harmony/FifthsWheelGeometry.h"

#include "common/NumberText.h"

#include <QtTest>

#include <limits>

using namespace morvela;

namespace {

template <typename Container> QStringList texts(const Container& items)
{
    QStringList list;
    for (const std::string& item : items)
        list.append(QString::fromStdString(item));
    return list;
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
    // Each key as one line: long name | scale | chords | numerals | signature | its notes |
    // relative, dominant, subdominant.
    void keys_data()
    {
        QTest::addColumn<qint64>("index");
        QTest::addColumn<bool>("minor");
        QTest::addColumn<QString>("key");
        QTest::newRow("C major")
            << qint64(0) << false
            << "C major | C D E F G A B | C Dm Em F G Am B° | I ii iii IV V vi vii° | 0 |  | "
               "Am G F";
        QTest::newRow("D♯ minor")
            << qint64(6) << true
            << "D♯ minor | D♯ E♯ F♯ G♯ A♯ B C♯ | D♯m E♯° F♯ G♯m A♯m B C♯ | i ii° III iv v VI "
               "VII | 6♯ | F♯ C♯ G♯ D♯ A♯ E♯ | F♯ B♭m G♯m";
        QTest::newRow("D♭ major")
            << qint64(7) << false
            << "D♭ major | D♭ E♭ F G♭ A♭ B♭ C | D♭ E♭m Fm G♭ A♭ B♭m C° | I ii iii IV V vi "
               "vii° | 5♭ | B♭ E♭ A♭ D♭ G♭ | B♭m A♭ F♯";
        QTest::newRow("B♭ minor keeps its flat") << qint64(7) << true
                                                 << "B♭ minor | B♭ C D♭ E♭ F G♭ A♭ | B♭m C° D♭ E♭m Fm G♭ A♭ "
                                                    "| i ii° III iv v VI VII | 5♭ | B♭ E♭ A♭ D♭ "
                                                    "G♭ | D♭ Fm D♯m";
        const QString f = "F major | F G A B♭ C D E | F Gm Am B♭ C Dm E° | I ii iii IV V vi vii° | 1♭ | B♭ | Dm C B♭";
        QTest::newRow("index -1 wraps to F") << qint64(-1) << false << f;
        QTest::newRow("index 23 wraps to F") << qint64(23) << false << f;
    }
    void keys()
    {
        QFETCH(qint64, index);
        QFETCH(bool, minor);
        const KeySelection key{index, minor};
        const std::int64_t accidentals = key.slot().accidentals;
        const QStringList parts{
            QString::fromStdString(key.longName()),
            texts(key.scale()).join(' '),
            texts(key.chords()).join(' '),
            texts(key.romanNumerals()).join(' '),
            QString::fromStdString(CircleOfFifths::signatureText(accidentals)),
            texts(CircleOfFifths::signatureNotes(accidentals)).join(' '),
            texts(std::array{key.relative(), key.dominant(), key.subdominant()}).join(' ')};
        QTEST(parts.join(" | "), "key");
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

    // Beyond the table: at most seven notes, and no overflow for the most negative count.
    void signatureExtremes()
    {
        QCOMPARE(CircleOfFifths::signatureNotes(8).size(), 7u);
        QCOMPARE(CircleOfFifths::signatureText(std::numeric_limits<std::int64_t>::min()),
                 "9223372036854775808♭");
        QCOMPARE(CircleOfFifths::signatureNotes(std::numeric_limits<std::int64_t>::min()).size(), 7u);
    }

    // Root and quality of a degree (roots at 440 are checked above): a diminished ii°, E minor's
    // VII below its tonic, the reference, and degrees out of range (9 as vii°, -4 as I).
    void triads()
    {
        static const char* const qualities[] = {"major", "minor", "diminished"};
        const auto triad = [](qint64 index, bool minor, qint64 degree, double a4) {
            const KeySelection::Triad t = KeySelection{index, minor}.triad(degree, a4);
            return QString::fromStdString(formatFixed(t.rootHz, 2)) + ' ' + qualities[int(t.quality)];
        };
        QCOMPARE((QStringList{triad(0, true, 1, 440), triad(1, true, 6, 440), triad(0, true, 0, 432),
                              triad(0, false, 9, 440), triad(0, false, -4, 440)}),
                 (QStringList{"246.94 diminished", "146.83 major", "216.00 minor", "246.94 diminished",
                              "130.81 major"}));
    }

    void presets()
    {
        QStringList presets;
        for (bool minor : {false, true})
            for (const auto& preset : progressionPresets(minor)) {
                presets.append(QString::fromStdString(preset.name) + ":");
                for (std::int64_t degree : preset.degrees)
                    presets.last() += QStringLiteral(" %1").arg(degree);
            }
        QCOMPARE(presets, (QStringList{"I–V–vi–IV: 0 4 5 3", "I–vi–IV–V: 0 5 3 4", "ii–V–I: 1 4 0",
                                       "I–IV–vi–V: 0 3 5 4", "i–VI–III–VII: 0 5 2 6", "i–iv–v–i: 0 3 4 0",
                                       "i–VII–VI–v: 0 6 5 4", "ii°–v–i: 1 4 0"}));
    }

    // Points given in polar form (radius as a fraction of half the side, angle from the top,
    // clockwise) on a 430 × 430 wheel.
    void wheelPoints_data()
    {
        QTest::addColumn<double>("rho");
        QTest::addColumn<double>("fromTop");
        QTest::addColumn<QString>("hover");
        QTest::addColumn<QString>("click");
        QTest::newRow("centre") << 0.0 << 0.0 << QString() << QString();
        QTest::newRow("ring gap") << 0.7075 << 0.0 << QString() << QString();
        QTest::newRow("beyond the outer ring") << 0.99 << 0.0 << QString() << QString();
        QTest::newRow("F♯m, inner") << 0.6 << 90.0 << QString("min-3") << QString("min-3");
        QTest::newRow("gap between C and G") << 0.85 << 14.5 << QString("maj-0") << QString();
        QTest::newRow("gap past the sector edge") << 0.85 << 15.5 << QString("maj-1") << QString();
        QTest::newRow("inside the drawn edge") << 0.85 << 13.5 << QString("maj-0") << QString("maj-0");
    }
    void wheelPoints()
    {
        QFETCH(double, rho);
        QFETCH(double, fromTop);
        const double radians = (fromTop - 90.0) * std::numbers::pi / 180.0;
        const double x = 215.0 + std::cos(radians) * rho * 215.0;
        const double y = 215.0 + std::sin(radians) * rho * 215.0;
        QTEST(segmentText(FifthsWheelGeometry::segmentID(x, y, 430, 430)), "hover");
        QTEST(segmentText(FifthsWheelGeometry::segmentHit(x, y, 430, 430)), "click");
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
