#include "app/AppStartup.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QtQml/QQmlExtensionPlugin>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

int main(int argc, char* argv[])
{
    if (!AppStartup::displayAvailable()) {
        std::fprintf(stderr,
                     "morvela-calculator: no display found (DISPLAY and WAYLAND_DISPLAY are unset); on a "
                     "machine without a screen run it on a virtual X server: xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    AppStartup::installQuietFatalHandler();
    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);

    QQmlApplicationEngine engine;
    AppStartup::configureEngine(engine);
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
    return app.exec();
}
