// Renders the main window offscreen for each tool in light and dark appearance:
//   morvela-screenshots <output folder> [WIDTHxHEIGHT] [tool ids...]
// at the size given (900x680 is the smallest the window allows), else at the remembered one.
// A tool id may carry state to set first, written into the file name too:
//   temperament:tetDivisions=53  ->  temperament-tetDivisions53-light.png
#include "app/AppStartup.h"
#include "platform/Appearance.h"

#include <QDir>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <cstdio>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

namespace {

void settle(int milliseconds = 150)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: morvela-screenshots <output folder> [tool ids...]\n");
        return 2;
    }
    const QDir out(args.first());
    QDir().mkpath(out.path());
    QStringList tools = args.mid(1);
    const QRegularExpression sizePattern(QStringLiteral("^(\\d+)x(\\d+)$"));
    const QRegularExpressionMatch size = tools.isEmpty() ? QRegularExpressionMatch() : sizePattern.match(tools.first());
    if (size.hasMatch())
        tools.removeFirst();
    if (tools.isEmpty())
        tools = {"bpm", "rhythm", "space", "frequency", "temperament", "overtones", "harmony"};

    QQmlApplicationEngine engine;
    AppStartup::configureEngine(engine);
    engine.load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
    if (size.hasMatch())
        window->resize(size.captured(1).toInt(), size.captured(2).toInt());
    QObject* content = QQmlProperty::read(window, "content").value<QObject*>();
    QObject* shell = QQmlProperty::read(content, "shell").value<QObject*>();
    QObject* state = QQmlProperty::read(content, "calculatorState").value<QObject*>();

    int written = 0;
    for (const bool dark : {false, true}) {
        Appearance::instance().setColorScheme(dark ? 1 : 0);
        for (const QString& shot : tools) {
            const QString tool = shot.section(u':', 0, 0);
            QString name = tool;
            QVariantMap before;
            for (const QString& assignment : shot.section(u':', 1).split(u',', Qt::SkipEmptyParts)) {
                const QString key = assignment.section(u'=', 0, 0);
                const QString value = assignment.section(u'=', 1);
                before.insert(key, state->property(key.toUtf8().constData()));
                state->setProperty(key.toUtf8().constData(), value);
                name += u'-' + key + value;
            }
            QMetaObject::invokeMethod(shell, "select", Q_ARG(QString, tool));
            settle();
            const QString file = out.filePath(QStringLiteral("%1-%2.png").arg(name, dark ? "dark" : "light"));
            if (window->grabWindow().save(file)) {
                std::printf("%s\n", qPrintable(file));
                ++written;
            }
            for (auto it = before.cbegin(); it != before.cend(); ++it)
                state->setProperty(it.key().toUtf8().constData(), it.value());
        }
    }
    // The settings window, in both appearances.
    QObject* settingsButton = window->findChild<QObject*>(QStringLiteral("settingsButton"));
    if (settingsButton && QMetaObject::invokeMethod(settingsButton, "openSettings")) {
        auto* settings = QQmlProperty::read(settingsButton, "settingsWindow").value<QQuickWindow*>();
        for (const bool dark : {false, true}) {
            Appearance::instance().setColorScheme(dark ? 1 : 0);
            settle();
            const QString file = out.filePath(QStringLiteral("settings-%1.png").arg(dark ? "dark" : "light"));
            if (settings && settings->grabWindow().save(file)) {
                std::printf("%s\n", qPrintable(file));
                ++written;
            }
        }
    }
    return written == 2 * tools.size() + 2 ? 0 : 1;
}
