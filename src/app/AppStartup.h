#pragma once

#include <QString>
#include <QStringList>

class QGuiApplication;
class QQmlEngine;

namespace AppStartup {

// What the command line asks for, decided before any window system is touched.
struct CommandLine {
    enum class Action { run, help, version, error };
    Action action = Action::run;
    // Help or version text for standard output, or the error for standard error (ends in a newline).
    QString text;
    // Exit status for anything but run: 0 for help and version, 2 for a usage error.
    int exitCode = 0;
    // The window system asked for with --platform (empty: the session's).
    QString platform;
};

// The process arguments as Qt sees them (local 8-bit encoding).
QStringList arguments(int argc, char* argv[]);
// --help, --version and Qt's own window-system options (--platform and the like, passed on to
// QGuiApplication); anything else is a usage error.
CommandLine parseCommandLine(const QStringList& arguments);

// True when a window system can be reached (or an offscreen/virtual platform was asked for,
// in QT_QPA_PLATFORM or as the platform of the command line).
bool displayAvailable(const QString& platform = {});
// The one line printed when no display is set at all.
QString noDisplayMessage();
// The one line printed when the displays that are set cannot be opened.
QString cannotOpenWindowMessage();
// Turns Qt's fatal start-up failures (no display, no platform plugin) into one line and exit 1;
// other start-up messages are held back until configureApplication(), dropped on failure.
void installQuietFatalHandler();
// Names, desktop id, style and fonts shared by the app, the screenshot tool and the tests.
void configureApplication(QGuiApplication& app);
// Import path and image providers of the Morvela module.
void configureEngine(QQmlEngine& engine);

} // namespace AppStartup
