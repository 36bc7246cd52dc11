#include "platform/StateFiles.h"
#include "support/RecordingSoundOutput.h"
#include "tools/harmony/CircleOfFifthsController.h"

#include "common/NumberText.h"

#include <QtTest>

#include <memory>

using Tint = CircleOfFifthsController::Tint;

namespace {

// A column of the current data row, where QFETCH's declaration does not fit.
template <typename T> T fetched(const char* column)
{
    return *static_cast<T*>(QTest::qData(column, qMetaTypeId<T>()));
}

QString hz(double frequency)
{
    return QString::fromStdString(morvela::formatFixed(frequency, 2));
}

void store(const QVariantMap& values)
{
    QSettings settings(StateFiles::windowStatePath(), QSettings::IniFormat);
    for (auto it = values.begin(); it != values.end(); ++it)
        settings.setValue(it.key(), it.value());
    settings.sync();
}

// The segments that carry a tint other than the plain fill, e.g. "maj-0 Selected".
QStringList tinted(const CircleOfFifthsController& controller)
{
    static const char* const names[] = {"Selected", "Family", "Hovered", "Plain"};
    QStringList list;
    const QList<int> tints = controller.segmentTints();
    for (int i = 0; i < tints.size(); ++i) {
        if (tints[i] != CircleOfFifthsController::Plain)
            list.append(
                QStringLiteral("%1-%2 %3").arg(i < 12 ? "maj" : "min").arg(i % 12).arg(names[tints[i]]));
    }
    return list;
}

// A point in the middle of a segment's ring at `fromTop` degrees clockwise from the top, on a
// 430-point wheel.
QPointF onWheel(double rho, double fromTop)
{
    const double radians = qDegreesToRadians(fromTop - 90.0);
    return {215.0 + std::cos(radians) * rho * 215.0, 215.0 + std::sin(radians) * rho * 215.0};
}

} // namespace

class TestCircleOfFifthsController : public QObject {
    Q_OBJECT

    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<CircleOfFifthsController> m_controller;
    std::unique_ptr<RecordingSoundOutput> m_sound;

    void showScreen()
    {
        m_controller = std::make_unique<CircleOfFifthsController>();
        m_controller->setCalculator(m_state.get());
    }
    QString selection() const
    {
        return QStringLiteral("%1 %2").arg(m_controller->selectedIndex()).arg(m_controller->minorSelected());
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(StateFiles::windowStatePath());
        m_state = std::make_unique<CalculatorState>();
        m_sound.reset(); // before the next one installs itself
        m_sound = std::make_unique<RecordingSoundOutput>();
        showScreen();
    }

    void freshWindowShowsCMajor()
    {
        QCOMPARE(selection(), "0 0");
        QCOMPARE(tinted(*m_controller),
                 (QStringList{"maj-0 Selected", "maj-1 Family", "maj-11 Family", "min-0 Family"}));
        QCOMPARE((QStringList{m_controller->keyName(), m_controller->signature(), m_controller->relative()}),
                 (QStringList{"C", "0", "Am"}));
        QCOMPARE(m_controller->signatureNotes(), "no accidentals");
    }

    void selectingASegment_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("minorRing");
        QTest::addColumn<QStringList>("tinted");
        QTest::addColumn<QString>("root");
        QTest::addColumn<int>("quality");
        QTest::newRow("F♯ minor") << 3 << true
                                  << QStringList{"maj-3 Family", "min-2 Family", "min-3 Selected",
                                                 "min-4 Family"}
                                  << "185.00" << int(morvela::TriadQuality::minor);
        QTest::newRow("F tints C across the top")
            << 11 << false << QStringList{"maj-0 Family", "maj-10 Family", "maj-11 Selected", "min-11 Family"}
            << "174.61" << int(morvela::TriadQuality::major);
    }
    void selectingASegment()
    {
        QFETCH(int, index);
        QFETCH(bool, minorRing);
        m_controller->selectSegment(index, minorRing);
        QCOMPARE(tinted(*m_controller), fetched<QStringList>("tinted"));
        QCOMPARE(m_sound->calls.size(), 1u);
        QCOMPARE(hz(m_sound->calls[0].frequency), fetched<QString>("root"));
        QCOMPARE(int(m_sound->calls[0].quality), fetched<int>("quality"));
        QVERIFY(!m_sound->calls[0].at);
    }

    void signatureNotesAreSpaced()
    {
        m_controller->select(3, true);
        QCOMPARE(m_controller->longName(), "F♯ minor");
        QCOMPARE(m_controller->signatureNotes(), "F♯  C♯  G♯");
    }

    // Hover tints only segments outside the key family; the gap hovers but does not select.
    void pointer_data()
    {
        QTest::addColumn<QPointF>("at");
        QTest::addColumn<QString>("hovered");
        QTest::addColumn<QStringList>("tinted");
        QTest::addColumn<QString>("afterPress");
        const QStringList cMajor{"maj-0 Selected", "maj-1 Family", "maj-11 Family", "min-0 Family"};
        QTest::newRow("over E") << onWheel(0.85, 120) << "maj-4"
                                << QStringList{cMajor[0], cMajor[1], "maj-4 Hovered", cMajor[2], cMajor[3]}
                                << "4 0";
        QTest::newRow("over a family segment") << onWheel(0.6, 0) << "min-0" << cMajor << "0 1";
        QTest::newRow("gap between E and B")
            << onWheel(0.85, 134.5) << "maj-4"
            << QStringList{cMajor[0], cMajor[1], "maj-4 Hovered", cMajor[2], cMajor[3]} << "0 0";
        QTest::newRow("ring gap") << onWheel(0.7075, 120) << "" << cMajor << "0 0";
    }
    void pointer()
    {
        QFETCH(QPointF, at);
        QFETCH(QString, hovered);
        QFETCH(QString, afterPress);
        m_controller->hoverAt(at.x(), at.y(), 430, 430);
        QCOMPARE(m_controller->hoveredSegment(), hovered);
        QCOMPARE(tinted(*m_controller), fetched<QStringList>("tinted"));
        QCOMPARE(m_controller->tintDuration(), hovered.isEmpty() ? 160 : 120);
        const bool selects = afterPress != "0 0";
        QCOMPARE(m_controller->pressAt(at.x(), at.y(), 430, 430), selects);
        QCOMPARE(selection(), afterPress);
        QCOMPARE(int(m_sound->calls.size()), selects ? 1 : 0);
        QCOMPARE(m_controller->tintDuration(), selects || hovered.isEmpty() ? 160 : 120);
        m_controller->hoverLeft();
        QCOMPARE(m_controller->hoveredSegment(), QString());
    }

    void selectionSurvivesARestart()
    {
        m_controller->selectSegment(9, true);
        showScreen();
        QCOMPARE(selection(), "9 1");
        QCOMPARE(m_controller->keyName(), "Cm");
        m_controller->select(2, false);
        showScreen();
        QCOMPARE(selection(), "2 0");
    }

    void storedSelection_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QString>("selection");
        QTest::newRow("written by hand")
            << QVariantMap{{"fifthsSelectedIndex", "11"}, {"fifthsMinorSelected", "true"}} << "11 1";
        QTest::newRow("index 99") << QVariantMap{{"fifthsSelectedIndex", 99}, {"fifthsMinorSelected", true}}
                                  << "0 0";
        QTest::newRow("index -1") << QVariantMap{{"fifthsSelectedIndex", -1}} << "0 0";
        QTest::newRow("index abc") << QVariantMap{{"fifthsSelectedIndex", "abc"},
                                                  {"fifthsMinorSelected", true}}
                                   << "0 0";
        QTest::newRow("flag not a boolean")
            << QVariantMap{{"fifthsSelectedIndex", 4}, {"fifthsMinorSelected", "yes"}} << "0 0";
        QTest::newRow("flag a list") << QVariantMap{{"fifthsSelectedIndex", 4},
                                                    {"fifthsMinorSelected", QStringList{"a", "b"}}}
                                     << "0 0";
    }
    void storedSelection()
    {
        store(fetched<QVariantMap>("stored"));
        showScreen();
        QCOMPARE(selection(), fetched<QString>("selection"));
    }

    void chordTapAppendsAndSounds()
    {
        for (int i = 0; i < 3; ++i)
            m_controller->addDegree(3);
        QCOMPARE(m_state->progression(), (QList<qint64>{3, 3, 3}));
        QCOMPARE(m_sound->calls.size(), 3u);
        QCOMPARE(hz(m_sound->calls[2].frequency), "174.61");
        QCOMPARE(m_sound->calls[2].quality, morvela::TriadQuality::major);
    }

    void copiesPlainText()
    {
        QCOMPARE(CircleOfFifthsController::plainText("B♭m"), "Bbm");
        QCOMPARE(CircleOfFifthsController::plainText("D♯  E♯"), "D#  E#");
    }
};

QTEST_MAIN(TestCircleOfFifthsController)
#include "tst_circleoffifthscontroller.moc"
