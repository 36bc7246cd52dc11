#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <optional>

class QQmlEngine;
class QJSEngine;

// The user's preferences, an ini file at StateFiles::preferencesPath(). It holds one switch:
// "statsOptOut" (true = send no usage statistics; absent = false).
class Preferences : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // The settings window's toggle: the inverse of "statsOptOut".
    Q_PROPERTY(
        bool shareStatistics READ shareStatistics WRITE setShareStatistics NOTIFY shareStatisticsChanged)

public:
    static Preferences* create(QQmlEngine*, QJSEngine*);
    static Preferences& instance();

    // Read from the store on every call, so a change counts for the very next event.
    static bool statsOptOut();

    bool shareStatistics() const { return !statsOptOut(); }
    void setShareStatistics(bool share);

Q_SIGNALS:
    void shareStatisticsChanged();

private:
    Preferences() = default;

    // The user's last choice while it could not be stored: it still counts for this run.
    std::optional<bool> m_unsavedOptOut;
};
