#include "app/AppStartup.h"

#include "ui/icons/IconProvider.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickStyle>

#include <cstdio>
#include <cstdlib>

namespace AppStartup {

bool displayAvailable()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
        return true;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

namespace {
// While the platform plugin starts, its own complaints are replaced by one line of ours.
bool g_starting = true;
} // namespace

void installQuietFatalHandler()
{
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context,
                                         const QString& text) {
        if (type == QtFatalMsg && g_starting) {
            const QByteArray display = qgetenv("DISPLAY");
            std::fprintf(stderr,
                         "morvela-calculator: cannot open a window on display \"%s\"; on a machine without a "
                         "screen run it under a virtual X server: xvfb-run -a morvela-calculator\n",
                         display.constData());
            std::_Exit(1);
        }
        if (g_starting && context.category && QByteArray(context.category).startsWith("qt.qpa"))
            return;
        if (previous)
            previous(type, context, text);
    });
}

void configureApplication(QGuiApplication& app)
{
    g_starting = false;
    app.setApplicationName(QStringLiteral("Morvela Calculator"));
    app.setOrganizationName(QStringLiteral("Morvela"));
    app.setApplicationVersion(QStringLiteral(MORVELA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVELA_APP_ID));
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    if (QFontDatabase::families().contains(QStringLiteral("Inter"))) {
        QFont font(QStringLiteral("Inter"));
        font.setPointSizeF(app.font().pointSizeF());
        app.setFont(font);
    }
}

void configureEngine(QQmlEngine& engine)
{
    engine.addImportPath(QStringLiteral("qrc:/"));
    registerIconProvider(engine);
}

} // namespace AppStartup
