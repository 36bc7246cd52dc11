#pragma once

#include "support/FakeTimers.h"
#include "support/RecordingClipboard.h"
#include "support/RecordingSoundOutput.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

class QQmlEngine;
class QQuickItem;
class QWindow;

// What a Qt Quick Test sees as `import MorvelaTest` / `TestServices`: the recorded clipboard,
// the recorded sounds, the manual clock that drives every DelayedAction and RepeatingTimer, and
// the appearance.
class TestServices : public QObject {
    Q_OBJECT

public:
    Q_INVOKABLE QString clipboardText() const { return clipboard.current(); }
    Q_INVOKABLE int clipboardWrites() const { return static_cast<int>(clipboard.writes.size()); }
    Q_INVOKABLE void clearClipboard() { clipboard.writes.clear(); }
    Q_INVOKABLE void advance(double milliseconds) { clock.advance(ManualClock::Ms(milliseconds)); }
    // Manual time in seconds: the time base of a loop's due instants.
    Q_INVOKABLE double seconds() const { return clock.seconds(); }
    Q_INVOKABLE int soundCount() const { return static_cast<int>(sound.calls.size()); }
    Q_INVOKABLE void clearSounds() { sound.calls.clear(); }
    // { kind: "triad" | "tone" | "partials" | "tick", frequency, quality ("major", "minor",
    //   "diminished"), gain, partials: [{ frequency, amplitude }], at (seconds, or undefined) }
    Q_INVOKABLE QVariantMap soundAt(int index) const;
    Q_INVOKABLE void setDark(bool dark);
    // What a screen reader gets for an item: { role: "heading" | "button" | ... (QAccessible::Role
    // as its enum key, lower-cased), name, description, checked, actions: ["Press", ...] }, and
    // value, minimum and maximum where it has a value; empty when the item has no interface.
    Q_INVOKABLE QVariantMap accessible(QObject* item) const;
    // Performs an action ("Press", "Increase", ...) as a screen reader does; false when the item
    // does not offer it.
    Q_INVOKABLE bool doAccessibleAction(QObject* item, const QString& action) const;
    // The item and every visual item below it, depth first, as a JavaScript array:
    // TestServices.items(view).find(item => item.text === "Copied" && item.visible)
    Q_INVOKABLE QVariantList items(QQuickItem* root) const;
    // Puts a tempo control's tap sequence (a BPMControlsController) on the manual clock, so that
    // advance() spaces the taps.
    Q_INVOKABLE void driveTapClock(QObject* controls);
    // The preferences file as it is on disk: its statsOptOut as "true" or "false", or "absent".
    Q_INVOKABLE QString storedOptOut() const;
    Q_INVOKABLE void removePreferences();
    // A key press for a window other than the one a TestCase lives in.
    Q_INVOKABLE void keyClick(QWindow* window, int key, int modifiers = Qt::NoModifier);
    // The web addresses the application asked the desktop to open, in order; none is opened.
    Q_INVOKABLE QStringList openedUrls() const { return m_openedUrls; }

public Q_SLOTS:
    // Takes the place of the browser for https addresses.
    void openUrl(const QUrl& url) { m_openedUrls.append(url.toString()); }

public:

    RecordingClipboard clipboard;
    ManualClock clock;
    RecordingSoundOutput sound;

private:
    QStringList m_openedUrls;
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
