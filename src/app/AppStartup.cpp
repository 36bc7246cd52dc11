#include "app/AppStartup.h"

#include "platform/SceneGraphBackend.h"

#include "ui/icons/IconProvider.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickStyle>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace AppStartup {

namespace {

// The options QGuiApplication and its X11 plugin take off the command line themselves.
const char* const kQtValueOptions[] = {"platformpluginpath",
                                       "platformtheme",
                                       "plugin",
                                       "qwindowgeometry",
                                       "qwindowicon",
                                       "qwindowtitle",
                                       "geometry",
                                       "title",
                                       "icon",
                                       "session",
                                       "display",
                                       "name",
                                       "visual",
                                       "qmljsdebugger"};
const char* const kQtFlagOptions[] = {"reverse", "nograb", "dograb", "testability"};

QString programName(const QStringList& arguments)
{
    const QString invoked = arguments.isEmpty() ? QString() : QFileInfo(arguments.first()).fileName();
    return invoked.isEmpty() ? QStringLiteral("morvela-calculator") : invoked;
}

CommandLine usageError(const QString& program, const QString& problem)
{
    return {CommandLine::Action::error,
            QStringLiteral("%1: %2\nTry '%1 --help' for more information.\n").arg(program, problem),
            2,
            {}};
}

} // namespace

QStringList arguments(int argc, char* argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list.append(QString::fromLocal8Bit(argv[i]));
    return list;
}

CommandLine parseCommandLine(const QStringList& arguments)
{
    const QString program = programName(arguments);
    QCommandLineParser parser;
    // Qt's own options are written with one dash ("-platform xcb"), so single-dash words are names.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "A calculator for musicians: note lengths, rhythms, reverb and delay times, pitch, temperaments,\n"
        "overtones and harmony, in one window. It runs natively on Wayland and on X11, following the\n"
        "session; --platform picks one."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays the version and exits."));
    const QCommandLineOption platform(QStringLiteral("platform"),
                                      QStringLiteral("Window system: wayland or xcb (X11)."),
                                      QStringLiteral("name"));
    parser.addOptions({help, version, platform});
    for (const char* name : kQtValueOptions) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : kQtFlagOptions) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }

    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            const QString& name = unknown.first();
            return usageError(program,
                              QStringLiteral("unknown option '%1%2'")
                                  .arg(name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--"), name));
        }
        // Qt's sentence ("Missing value after '--platform'.") in the form of the line above.
        QString problem = parser.errorText();
        if (problem.endsWith(QLatin1Char('.')))
            problem.chop(1);
        if (!problem.isEmpty())
            problem[0] = problem[0].toLower();
        return usageError(program, problem);
    }
    if (parser.isSet(help)) {
        // Without an application object Qt writes a placeholder where the program's name goes.
        QString text = parser.helpText();
        text.replace(QLatin1String("<executable_name>"), program);
        return {CommandLine::Action::help, text, 0, {}};
    }
    if (parser.isSet(version))
        return {CommandLine::Action::version,
                QStringLiteral("%1 %2\n").arg(program, QStringLiteral(MORVELA_VERSION)),
                0,
                {}};
    if (!parser.positionalArguments().isEmpty())
        return usageError(
            program, QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    return {CommandLine::Action::run, {}, 0, parser.value(platform)};
}

bool displayAvailable(const QString& platform)
{
    QByteArray requested = platform.toLocal8Bit();
    if (requested.isEmpty())
        requested = qgetenv("QT_QPA_PLATFORM");
    if (!requested.isEmpty() && !requested.startsWith("xcb") && !requested.startsWith("wayland"))
        return true;
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

QString noDisplayMessage()
{
    return QStringLiteral(
        "morvela-calculator: no display found (neither WAYLAND_DISPLAY nor DISPLAY is set); "
        "run it in a Wayland or X11 desktop session, or on a machine without a screen "
        "under a virtual X server: xvfb-run -a morvela-calculator");
}

QString cannotOpenWindowMessage()
{
    QStringList tried;
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        tried.append(
            QStringLiteral("the Wayland display \"%1\"").arg(qEnvironmentVariable("WAYLAND_DISPLAY")));
    if (qEnvironmentVariableIsSet("DISPLAY"))
        tried.append(QStringLiteral("the X display \"%1\"").arg(qEnvironmentVariable("DISPLAY")));
    const QString where =
        tried.isEmpty() ? QStringLiteral("any display") : tried.join(QStringLiteral(" or "));
    return QStringLiteral("morvela-calculator: cannot open a window on %1; check that the desktop session is "
                          "running, or on a machine without a screen run it under a virtual X server: "
                          "xvfb-run -a morvela-calculator")
        .arg(where);
}

namespace {
// While the platform plugin starts, its own complaints are replaced by one line of ours.
bool g_starting = true;
QtMessageHandler g_previous = nullptr;

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};
// Messages of the start that are not the platform plugin's: passed on once the start succeeded.
QList<HeldMessage>& heldMessages()
{
    static QList<HeldMessage> held;
    return held;
}
} // namespace

void installQuietFatalHandler()
{
    g_previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type == QtFatalMsg && g_starting) {
                std::fprintf(stderr, "%s\n", cannotOpenWindowMessage().toLocal8Bit().constData());
                std::_Exit(1);
            }
            if (g_starting) {
                const QByteArray category(context.category ? context.category : "");
                if (!category.startsWith("qt.qpa"))
                    heldMessages().append({type, category, text});
                return;
            }
            if (g_previous)
                g_previous(type, context, text);
        });
}

void configureApplication(QGuiApplication& app)
{
    g_starting = false;
    for (const HeldMessage& message : std::exchange(heldMessages(), {})) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        if (g_previous)
            g_previous(message.type, context, message.text);
    }
    app.setApplicationName(QStringLiteral("Morvela Calculator"));
    app.setOrganizationName(QStringLiteral("Morvela"));
    app.setApplicationVersion(QStringLiteral(MORVELA_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVELA_APP_ID));
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    SceneGraphBackend::choose();
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
