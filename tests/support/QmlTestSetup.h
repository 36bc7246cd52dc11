#pragma once

#include "support/FakeTimers.h"
#include "support/RecordingClipboard.h"

#include <QObject>
#include <QString>

class QQmlEngine;

// What a Qt Quick Test sees as `import MorvelaTest` / `TestServices`: the recorded clipboard,
// the manual clock that drives every DelayedAction and RepeatingTimer, and the appearance.
class TestServices : public QObject {
    Q_OBJECT

public:
    Q_INVOKABLE QString clipboardText() const { return clipboard.current(); }
    Q_INVOKABLE int clipboardWrites() const { return static_cast<int>(clipboard.writes.size()); }
    Q_INVOKABLE void clearClipboard() { clipboard.writes.clear(); }
    Q_INVOKABLE void advance(int milliseconds) { clock.advance(std::chrono::milliseconds(milliseconds)); }
    Q_INVOKABLE void setDark(bool dark);

    RecordingClipboard clipboard;
    ManualClock clock;
};

// Setup object for QUICK_TEST_MAIN_WITH_SETUP: the Morvela module, its image providers and
// the test doubles above in place of the platform services.
class QmlTestSetup : public QObject {
    Q_OBJECT

public Q_SLOTS:
    void applicationAvailable();
    void qmlEngineAvailable(QQmlEngine* engine);
    void cleanupTestCase();

private:
    TestServices m_services;
};
