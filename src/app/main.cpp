#include "app/AppStartup.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
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

    QQmlApplicationEngine engine;
    AppStartup::configureEngine(engine);
    QObject::connect(
        &engine, &QQmlApplicationEngine::objectCreationFailed, &app, [] { QCoreApplication::exit(1); },
        Qt::QueuedConnection);
    engine.load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
    return app.exec();
}
