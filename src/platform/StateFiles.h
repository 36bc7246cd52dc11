#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QtQml/qqmlregistration.h>

#include <memory>

// Where the application keeps what it remembers, following the XDG base directories.
namespace StateFiles {
// $XDG_STATE_HOME/morvela-calculator/window-state.ini (default ~/.local/state)
QString windowStatePath();
// $XDG_CONFIG_HOME/morvela-calculator/preferences.ini (default ~/.config)
QString preferencesPath();
} // namespace StateFiles

// The main window's restorable values (selected tool, key selection, geometry). Every write
// goes to disk at once, so a crash loses nothing; callers decide how often to write.
class WindowState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit WindowState(QObject* parent = nullptr);

    Q_INVOKABLE QVariant value(const QString& key, const QVariant& fallback = {}) const;
    Q_INVOKABLE void setValue(const QString& key, const QVariant& value);
    // Several values in one write.
    void setValues(const QVariantMap& values);

    // How many times this process has written the file.
    static int writeCount();

private:
    std::unique_ptr<QSettings> m_settings;
};
