#include "support/QmlTestSetup.h"
#include "tools/tempo/BPMControlsController.h"

#include <QQmlEngine>
#include <QtQuickTest>

// `import SpaceTest` / `TapClock`: a hand-driven clock for the tap tempo of the embedded
// tempo controls, so that taps land exactly where the test puts them.
class TapClock : public QObject {
    Q_OBJECT

public:
    Q_INVOKABLE void drive(BPMControlsController* controls)
    {
        controls->setClock([this] { return m_now; });
    }
    Q_INVOKABLE void advance(int milliseconds) { m_now += std::chrono::milliseconds(milliseconds); }

private:
    morvela::TapTempo::TimePoint m_now{std::chrono::hours(1)};
};

class SpaceScreenSetup : public QmlTestSetup {
    Q_OBJECT

public Q_SLOTS:
    // Found by name ahead of the base's slot, which it extends.
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        QmlTestSetup::qmlEngineAvailable(engine);
        qmlRegisterSingletonInstance("SpaceTest", 1, 0, "TapClock", &m_tapClock);
    }

private:
    TapClock m_tapClock;
};

QUICK_TEST_MAIN_WITH_SETUP(tst_space_screen, SpaceScreenSetup)
#include "tst_space_screen.moc"
