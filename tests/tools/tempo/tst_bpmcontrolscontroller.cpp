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

}  // namespace

class TestBPMControlsController : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CalculatorState> m_state;
    std::unique_ptr<BPMControlsController> m_controls;
    morvela::TapTempo::TimePoint m_now;

    void advance(std::chrono::milliseconds by) { m_now += by; }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<CalculatorState>();
        m_controls = std::make_unique<BPMControlsController>();
        m_controls->setState(m_state.get());
        m_now = morvela::TapTempo::TimePoint{1h};
        m_controls->setClock([this] { return m_now; });
    }
    void cleanup()
    {
        m_controls.reset();
        m_state.reset();
    }

    void commitText_data()
    {
        QTest::addColumn<double>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QString>("text");
        QTest::newRow("decimal comma") << 120.0 << "128,5" << 128.5 << "128.50";
        QTest::newRow("same tempo, canonical text") << 120.0 << "0120.0" << 120.0 << "120";
        QTest::newRow("clamped") << 120.0 << "5000" << 999.0 << "999";
        QTest::newRow("letters revert") << 120.0 << "abc" << 120.0 << "120";
        QTest::newRow("empty reverts to a fraction") << 128.5 << "" << 128.5 << "128.50";
    }
    void commitText()
    {
        QFETCH(double, before);
        QFETCH(QString, typed);
        QFETCH(double, bpm);
        QFETCH(QString, text);
        m_state->setBpm(before);
        m_state->setBpmText(typed);
        m_controls->commitText();
        QCOMPARE(m_state->bpm(), bpm);
        QCOMPARE(m_state->bpmText(), text);
    }

    // A rejected text leaves the tempo alone: the other tools see no change.
    void rejectedTextDoesNotWriteTheTempo()
    {
        QSignalSpy bpmWrites(m_state.get(), &CalculatorState::bpmChanged);
        m_state->setBpmText(QStringLiteral("fast"));
        m_controls->commitText();
        QCOMPARE(bpmWrites.count(), 0);
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

    void textFollowsOnlyTheCurrentState()
    {
        CalculatorState other;
        m_controls->setState(&other);
        m_state->setBpm(90);
        QCOMPARE(m_state->bpmText(), QStringLiteral("120"));
        other.setBpm(91.25);
        QCOMPARE(other.bpmText(), QStringLiteral("91.25"));
    }

    void tapSetsTheTempoFromTheSecondTap()
    {
        m_state->setBpm(90);
        m_controls->tap();
        QCOMPARE(m_state->bpm(), 90.0);
        QCOMPARE(m_state->bpmText(), QStringLiteral("90"));
        advance(500ms);
        m_controls->tap();
        QCOMPARE(m_state->bpm(), 120.0);
        QCOMPARE(m_state->bpmText(), QStringLiteral("120"));
    }

    // Each showing of the controls starts a new tap sequence.
    void tapSequenceEndsWithTheControls()
    {
        m_controls->tap();
        m_controls = std::make_unique<BPMControlsController>();
        m_controls->setState(m_state.get());
        m_controls->setClock([this] { return m_now; });
        m_state->setBpm(90);
        advance(500ms);
        m_controls->tap();
        QCOMPARE(m_state->bpm(), 90.0);
    }

    void sliderStoresWholeTempos()
    {
        m_controls->writeSlider(127.5);
        QCOMPARE(m_state->bpm(), 128.0);
        QCOMPARE(m_state->bpmText(), QStringLiteral("128"));
    }

    void stepper_data()
    {
        QTest::addColumn<double>("bpm");
        QTest::addColumn<bool>("canStepUp");
        QTest::addColumn<bool>("canStepDown");
        QTest::addColumn<double>("afterUp");
        QTest::newRow("inside") << 120.0 << true << true << 121.0;
        QTest::newRow("at 400") << 400.0 << false << true << 400.0;
        QTest::newRow("at 20") << 20.0 << true << false << 21.0;
        QTest::newRow("typed 999") << 999.0 << false << true << 999.0;
        QTest::newRow("typed 5") << 5.0 << true << false << 20.0;
    }
    void stepper()
    {
        QFETCH(double, bpm);
        QFETCH(bool, canStepUp);
        QFETCH(bool, canStepDown);
        QFETCH(double, afterUp);
        m_state->setBpm(bpm);
        QCOMPARE(m_controls->canStepUp(), canStepUp);
        QCOMPARE(m_controls->canStepDown(), canStepDown);
        m_controls->step(1);
        QCOMPARE(m_state->bpm(), afterUp);
    }

    void stepLimitsFollowTheTempo()
    {
        QSignalSpy limits(m_controls.get(), &BPMControlsController::stepLimitsChanged);
        m_state->setBpm(400);
        QCOMPARE(limits.count(), 1);
        QVERIFY(!m_controls->canStepUp());
    }

    void spaceKey_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("autoRepeat");
        QTest::addColumn<bool>("taps");
        QTest::addColumn<bool>("reachesWindow");
        QTest::newRow("space") << int(Qt::Key_Space) << int(Qt::NoModifier) << false << true << false;
        QTest::newRow("held space") << int(Qt::Key_Space) << int(Qt::NoModifier) << true << false << false;
        QTest::newRow("shift space") << int(Qt::Key_Space) << int(Qt::ShiftModifier) << false << false << true;
        QTest::newRow("control space") << int(Qt::Key_Space) << int(Qt::ControlModifier) << false << false << true;
        QTest::newRow("other key") << int(Qt::Key_T) << int(Qt::NoModifier) << false << false << true;
    }
    void spaceKey()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, autoRepeat);
        QFETCH(bool, taps);
        QFETCH(bool, reachesWindow);
        KeyWindow window;
        m_controls->setWindow(&window);
        m_state->setBpm(90);
        m_controls->tap();
        advance(500ms);

        const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("t");
        QKeyEvent press(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text, autoRepeat);
        QCoreApplication::sendEvent(&window, &press);
        QCOMPARE(m_state->bpm(), taps ? 120.0 : 90.0);
        QCOMPARE(window.received.size(), reachesWindow ? 1 : 0);
    }

    void spaceKeyOnlyInItsWindow()
    {
        KeyWindow window;
        KeyWindow settings;
        m_controls->setWindow(&window);
        m_state->setBpm(90);
        m_controls->tap();
        advance(500ms);

        QTest::keyClick(&settings, Qt::Key_Space);
        QCOMPARE(m_state->bpm(), 90.0);
        QCOMPARE(settings.received.size(), 1);

        m_controls->setWindow(&settings);
        QTest::keyClick(&window, Qt::Key_Space);
        QCOMPARE(m_state->bpm(), 90.0);
        QTest::keyClick(&settings, Qt::Key_Space);
        QCOMPARE(m_state->bpm(), 120.0);
    }

    // The controls may outlive the state at shutdown, or be shown before they get one.
    void withoutStateNothingHappens()
    {
        KeyWindow window;
        m_controls->setWindow(&window);
        m_state.reset();
        QCOMPARE(m_controls->state(), nullptr);
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
