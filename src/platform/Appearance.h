#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <QDBusMessage>

// Light or dark, as the desktop publishes it: the portal's org.freedesktop.appearance
// color-scheme (1 = dark; 0 and 2 = light), followed live. Without a portal the lightness
// of the application palette's window colour decides, also live.
class Appearance : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool dark READ dark NOTIFY darkChanged)

public:
    static Appearance* create(class QQmlEngine*, class QJSEngine*);
    static Appearance& instance();

    bool dark() const { return m_dark; }

    // A color-scheme value as the portal reports it; from then on the portal decides.
    void setColorScheme(uint scheme);

Q_SIGNALS:
    void darkChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

public Q_SLOTS:
    // The portal's Settings.SettingChanged signal (group, key, value).
    void onSettingChanged(const QDBusMessage& message);

private:
    Appearance();
    void setDark(bool dark);
    void readPalette();
    void askPortal();

    bool m_dark = false;
    bool m_portalAnswered = false;
};
