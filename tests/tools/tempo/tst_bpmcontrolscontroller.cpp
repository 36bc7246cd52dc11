#include "tools/tempo/BPMControlsController.h"

#include <QtTest>

#include <memory>

using namespace std::chrono_literals;

namespace {

// A window that records the keys that reach it past any event filter.
class KeyWindow : public QQuickWindow {
public:
    QList<int> received;

protected:
    void keyPressEvent(QKeyEvent* event) override { received.append(event->key()); }
};

} // namespace

class TestBPMControlsController : public QObject {
    Q_OBJECT

    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<BPMControlsController> m_controls;
    morvela::TapTempo::TimePoint m_now{1h};

    // The controls as the screen makes them each time it is shown, on a hand-driven clock.
    void showControls()
    {
        m_controls = std::make_unique<BPMControlsController>();
        m_controls->setCalculator(m_state.get());
        m_controls->setClock([this] { return m_now; });
    }
    // Leaves the tap sequence one tap short of setting 120 BPM, with the tempo at 90.
    void tapOnceAt90()
    {
        m_state->setBpm(90);
        m_controls->tap();
        m_now += 500ms;
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
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("bpmWrites"); // a rejected text must not disturb the other tools
        QTest::newRow("accepted") << "128,5" << 128.5 << "128.50" << 1;
        QTest::newRow("same tempo, canonical text") << "0120.0" << 120.0 << "120" << 0;
        QTest::newRow("rejected") << "fast" << 120.0 << "120" << 0;
    }
    void commitText()
    {
        QFETCH(QString, typed);
        QFETCH(double, bpm);
        QFETCH(QString, text);
        QFETCH(int, bpmWrites);
        QSignalSpy writes(m_state.get(), &CalculatorState::bpmChanged);
        m_state->setBpmText(typed);
        m_controls->commitText();
        QCOMPARE(m_state->bpm(), bpm);
        QCOMPARE(m_state->bpmText(), text);
        QCOMPARE(writes.count(), bpmWrites);
    }

    void textFollowsTheTempoWhileShown()
    {
        m_state->setBpmText(QStringLiteral("13"));
        m_state->setBpm(128.5);
        QCOMPARE(m_state->bpmText(), QStringLiteral("128.50"));

        m_controls.reset();
        m_state->setBpm(90);
        QCOMPARE(m_state->bpmText(), QStringLiteral("128.50"));
    }

    // Each showing of the controls starts a new tap sequence.
    void tapSequenceEndsWithTheControls()
    {
        tapOnceAt90();
        showControls();
        m_controls->tap();
        QCOMPARE(m_state->bpm(), 90.0);
    }

    void stepLimitsFollowTheTempo_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<bool>("canStepUp");
        QTest::addColumn<bool>("canStepDown");
        QTest::newRow("at 400") << 400.0 << false << true;
        QTest::newRow("at 20") << 20.0 << true << false;
    }
    void stepLimitsFollowTheTempo()
    {
        QFETCH(double, bpm);
        QFETCH(bool, canStepUp);
        QFETCH(bool, canStepDown);
        QSignalSpy limits(m_controls.get(), &BPMControlsController::stepLimitsChanged);
        m_state->setBpm(bpm);
        QCOMPARE(limits.count(), 1);
        QCOMPARE(m_controls->canStepUp(), canStepUp);
        QCOMPARE(m_controls->canStepDown(), canStepDown);
    }

    // Keys other than Space reach the focused item: the screen test types into the field.
    void spaceKey_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("autoRepeat");
        QTest::addColumn<bool>("taps");
        QTest::addColumn<bool>("reachesWindow");
        QTest::newRow("space") << int(Qt::NoModifier) << false << true << false;
        QTest::newRow("held space") << int(Qt::NoModifier) << true << false << false;
        QTest::newRow("control space") << int(Qt::ControlModifier) << false << false << true;
    }
    void spaceKey()
    {
        QFETCH(int, modifiers);
        QFETCH(bool, autoRepeat);
        QFETCH(bool, taps);
        QFETCH(bool, reachesWindow);
        KeyWindow window;
        m_controls->setWindow(&window);
        tapOnceAt90();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::KeyboardModifiers(modifiers),
                        QStringLiteral(" "), autoRepeat);
        QCoreApplication::sendEvent(&window, &press);
        QCOMPARE(m_state->bpm(), taps ? 120.0 : 90.0);
        QCOMPARE(window.received.size(), reachesWindow ? 1 : 0);
    }

    // Space in another window (the settings window) is that window's own.
    void spaceKeyOnlyInItsWindow()
    {
        KeyWindow window;
        KeyWindow settings;
        m_controls->setWindow(&window);
        tapOnceAt90();
        QTest::keyClick(&settings, Qt::Key_Space);
        QCOMPARE(m_state->bpm(), 90.0);
        QCOMPARE(settings.received.size(), 1);
    }

    // The controls may outlive the state at shutdown, or be shown before they get one.
    void withoutStateNothingHappens()
    {
        KeyWindow window;
        m_controls->setWindow(&window);
        m_state.reset();
        QCOMPARE(m_controls->calculator(), nullptr);
        m_controls->commitText();
        m_controls->tap();
        m_controls->writeSlider(100);
        m_controls->step(1);
        QTest::keyClick(&window, Qt::Key_Space);
        QVERIFY(!m_controls->canStepUp());
        QVERIFY(!m_controls->canStepDown());
    }
};

QTEST_MAIN(TestBPMControlsController)
#include "tst_bpmcontrolscontroller.moc"
