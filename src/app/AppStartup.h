#pragma once

class QGuiApplication;
class QQmlEngine;

namespace AppStartup {

// True when a window system can be reached (or an offscreen/virtual platform was asked for).
bool displayAvailable();
// Turns Qt's fatal start-up failures (no display, no platform plugin) into one line and exit 1.
void installQuietFatalHandler();
// Names, desktop id, style and fonts shared by the app, the screenshot tool and the tests.
void configureApplication(QGuiApplication& app);
// Import path and image providers of the Morvela module.
void configureEngine(QQmlEngine& engine);

} // namespace AppStartup
