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

// The screen test drives the controls through the view; this covers the tap sequence's lifetime,
// the Space key's filter and a missing state.
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

    // Each showing of the controls starts a new tap sequence.
    void tapSequenceEndsWithTheControls()
    {
        tapOnceAt90();
        showControls();
        m_controls->tap();
        QCOMPARE(m_state->bpm(), 90.0);
    }

    // Space taps; keys other than Space reach the focused item (the screen test types into the
    // field), and Space in another window (the settings window) is that window's own.
    void spaceKey_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("autoRepeat");
        QTest::addColumn<bool>("otherWindow");
        QTest::addColumn<double>("bpm");
        QTest::addColumn<int>("received"); // by the window the key was sent to
        QTest::newRow("space") << int(Qt::NoModifier) << false << false << 120.0 << 0;
        QTest::newRow("held space") << int(Qt::NoModifier) << true << false << 90.0 << 0;
        QTest::newRow("control space") << int(Qt::ControlModifier) << false << false << 90.0 << 1;
        QTest::newRow("space in another window") << int(Qt::NoModifier) << false << true << 90.0 << 1;
    }
    void spaceKey()
    {
        QFETCH(int, modifiers);
        QFETCH(bool, autoRepeat);
        QFETCH(bool, otherWindow);
        KeyWindow window;
        KeyWindow settings;
        m_controls->setWindow(&window);
        tapOnceAt90();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::KeyboardModifiers(modifiers),
                        QStringLiteral(" "), autoRepeat);
        KeyWindow& target = otherWindow ? settings : window;
        QCoreApplication::sendEvent(&target, &press);
        QTEST(m_state->bpm(), "bpm");
        QTEST(int(target.received.size()), "received");
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
        QVERIFY(!m_controls->canStepUp() && !m_controls->canStepDown());
    }
};

QTEST_MAIN(TestBPMControlsController)
#include "tst_bpmcontrolscontroller.moc"
