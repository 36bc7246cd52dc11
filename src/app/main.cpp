#include "app/AppStartup.h"
#include "app/SingleInstance.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QtQml/QQmlExtensionPlugin>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

int main(int argc, char* argv[])
{
    // --help, --version and usage errors are answered without a display.
    const AppStartup::CommandLine commandLine =
        AppStartup::parseCommandLine(AppStartup::arguments(argc, argv));
    if (commandLine.action != AppStartup::CommandLine::Action::run) {
        const bool error = commandLine.action == AppStartup::CommandLine::Action::error;
        std::fputs(commandLine.text.toLocal8Bit().constData(), error ? stderr : stdout);
        return commandLine.exitCode;
    }
    if (!AppStartup::displayAvailable(commandLine.platform)) {
        std::fprintf(stderr, "%s\n", AppStartup::noDisplayMessage().toLocal8Bit().constData());
        return 1;
    }
    AppStartup::installQuietFatalHandler();
    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);

    // A second launch brings the running application's window to the front instead.
    SingleInstance instance;
    if (instance.handOverToRunning())
        return 0;
    instance.listen();

    QQmlApplicationEngine engine;
    QObject::connect(&instance, &SingleInstance::activationRequested, &engine, [&engine] {
        const QList<QObject*> roots = engine.rootObjects();
        auto* window = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow*>(roots.first());
        if (!window)
            return;
        window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->requestActivate();
    });
    AppStartup::configureEngine(engine);
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
    return app.exec();
}
