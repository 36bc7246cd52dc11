#include "tools/pitch/TuningControlsController.h"

#include <QtTest>

#include <memory>

// The screen test drives the controls through the view; this covers what it cannot see: writes
// that must not happen, writers other than the screen, and a missing state. Runs under C.UTF-8
// and de_DE.UTF-8.
class TestTuningControlsController : public QObject {
    Q_OBJECT

    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<TuningControlsController> m_controls;

    // The controls as the screen makes them each time it is shown.
    void showControls()
    {
        m_controls = std::make_unique<TuningControlsController>();
        m_controls->setCalculator(m_state.get());
    }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<CalculatorState>();
        showControls();
    }

    void commitText_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("a4");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("a4Writes"); // a rejected text must not disturb the other tools
        QTest::newRow("accepted") << "439,5" << 439.5 << "439.5" << 1;
        QTest::newRow("same reference, canonical text") << "0440.0" << 440.0 << "440" << 0;
        QTest::newRow("rejected") << "abc" << 440.0 << "440" << 0;
    }
    void commitText()
    {
        QFETCH(QString, typed);
        QSignalSpy writes(m_state.get(), &CalculatorState::a4Changed);
        m_state->setA4Text(typed);
        m_controls->commitText();
        QTEST(m_state->a4(), "a4");
        QTEST(m_state->a4Text(), "text");
        QTEST(int(writes.count()), "a4Writes");
    }

    // Another writer of the reference rewrites the field's text; controls shown after such a
    // change show the new reference, not the text they left behind.
    void textFollowsTheReference()
    {
        m_state->setA4Text(QStringLiteral("44"));
        m_state->setA4(441.5);
        QCOMPARE(m_state->a4Text(), QStringLiteral("441.5"));
        m_controls.reset();
        m_state->setA4(432);
        QCOMPARE(m_state->a4Text(), QStringLiteral("441.5"));
        showControls();
        QCOMPARE(m_state->a4Text(), QStringLiteral("432"));
    }

    // The controls may outlive the state at shutdown, or be shown before they get one.
    void withoutStateNothingHappens()
    {
        m_state.reset();
        QCOMPARE(m_controls->calculator(), nullptr);
        m_controls->commitText();
        m_controls->writeSlider(450);
        m_controls->step(1);
        m_controls->reset();
        QVERIFY(!m_controls->canStepUp());
        QVERIFY(!m_controls->canStepDown());
    }
};

QTEST_MAIN(TestTuningControlsController)
#include "tst_tuningcontrolscontroller.moc"
