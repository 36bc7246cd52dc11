#include "platform/Appearance.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>
#include <QQmlEngine>

namespace {

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kSettingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kAppearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString kColorScheme = QStringLiteral("color-scheme");

// Settings.Read wraps its answer in one variant more than the signal does.
QVariant unwrap(QVariant value)
{
    while (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

Appearance& Appearance::instance()
{
    static Appearance* appearance = new Appearance;
    return *appearance;
}

Appearance* Appearance::create(QQmlEngine*, QJSEngine*)
{
    QQmlEngine::setObjectOwnership(&instance(), QQmlEngine::CppOwnership);
    return &instance();
}

Appearance::Appearance()
{
    readPalette();
    if (qApp)
        qApp->installEventFilter(this);
    askPortal();
}

void Appearance::askPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // The whole message is taken: QtDBus does not match a QDBusVariant slot parameter to the
    // signal's variant argument reliably.
    bus.connect(kPortalService, kPortalPath, kSettingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QDBusMessage)));
    QDBusMessage read = QDBusMessage::createMethodCall(kPortalService, kPortalPath, kSettingsInterface,
                                                       QStringLiteral("Read"));
    read << kAppearanceGroup << kColorScheme;
    // Asked asynchronously so that start-up never waits for the portal.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        QDBusPendingReply<QVariant> reply = *call;
        if (!reply.isError()) {
            bool ok = false;
            const uint scheme = unwrap(reply.value()).toUInt(&ok);
            if (ok)
                setColorScheme(scheme);
        }
        call->deleteLater();
    });
}

void Appearance::onSettingChanged(const QDBusMessage& message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() != 3 || arguments[0].toString() != kAppearanceGroup ||
        arguments[1].toString() != kColorScheme)
        return;
    bool ok = false;
    const uint scheme = unwrap(arguments[2]).toUInt(&ok);
    if (ok)
        setColorScheme(scheme);
}

void Appearance::setColorScheme(uint scheme)
{
    m_portalAnswered = true;
    setDark(scheme == 1);
}

bool Appearance::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange && !m_portalAnswered)
        readPalette();
    return QObject::eventFilter(watched, event);
}

void Appearance::readPalette()
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return;
    setDark(QGuiApplication::palette().color(QPalette::Window).lightness() < 128);
}

void Appearance::setDark(bool dark)
{
    if (m_dark == dark)
        return;
    m_dark = dark;
    Q_EMIT darkChanged();
}
