#pragma once

#include <QObject>
#include <QSettings>
#include <QString>
#include <QVariant>
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
// goes to disk at once, so a crash loses nothing.
class WindowState : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    explicit WindowState(QObject* parent = nullptr);

    Q_INVOKABLE QVariant value(const QString& key, const QVariant& fallback = {}) const;
    Q_INVOKABLE void setValue(const QString& key, const QVariant& value);

private:
    std::unique_ptr<QSettings> m_settings;
};
