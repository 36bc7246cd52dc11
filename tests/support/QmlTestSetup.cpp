#include "support/QmlTestSetup.h"

#include "app/AppStartup.h"
#include "platform/Appearance.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

void TestServices::setDark(bool dark)
{
    Appearance::instance().setColorScheme(dark ? 1 : 0);
}

void QmlTestSetup::applicationAvailable()
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        AppStartup::configureApplication(*app);
    Services::setClipboard(&m_services.clipboard);
    Services::setTimerFactory(&m_services.clock);
}

void QmlTestSetup::qmlEngineAvailable(QQmlEngine* engine)
{
    AppStartup::configureEngine(*engine);
    qmlRegisterSingletonInstance("MorvelaTest", 1, 0, "TestServices", &m_services);
}

void QmlTestSetup::cleanupTestCase()
{
    Services::setClipboard(nullptr);
    Services::setTimerFactory(nullptr);
}
