#include "support/QmlTestSetup.h"

#include "platform/StateFiles.h"

#include <QFile>
#include <QQmlEngine>
#include <QSettings>
#include <QWindow>
#include <QtQuickTest>
#include <QtTest>

// What the settings tests see as `StatsTest`: the preferences file as it is on disk.
class PreferencesFile : public QObject {
    Q_OBJECT

public:
    Q_INVOKABLE void remove() { QFile::remove(StateFiles::preferencesPath()); }
    // "absent", "true" or "false"
    Q_INVOKABLE QString storedOptOut() const
    {
        const QSettings stored(StateFiles::preferencesPath(), QSettings::IniFormat);
        const QVariant value = stored.value(QStringLiteral("statsOptOut"));
        return value.isValid() ? value.toString() : QStringLiteral("absent");
    }
};

// Key presses for a window other than the one a TestCase lives in.
class WindowKeys : public QObject {
    Q_OBJECT

public:
    Q_INVOKABLE void click(QWindow* window, int key, int modifiers = Qt::NoModifier)
    {
        QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    }
};

class SettingsTestSetup : public QmlTestSetup {
    Q_OBJECT

public Q_SLOTS:
    void qmlEngineAvailable(QQmlEngine* engine)
    {
        QmlTestSetup::qmlEngineAvailable(engine);
        qmlRegisterSingletonInstance("StatsTest", 1, 0, "PreferencesFile", &m_file);
        qmlRegisterSingletonInstance("StatsTest", 1, 0, "WindowKeys", &m_keys);
    }

private:
    PreferencesFile m_file;
    WindowKeys m_keys;
};

QUICK_TEST_MAIN_WITH_SETUP(tst_settingsview, SettingsTestSetup)
#include "tst_settingsview.moc"
