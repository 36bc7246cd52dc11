// The application's CPU time while the Rhythm loop plays (16 steps of 1/16, at 400 BPM by
// default: the busiest the loop gets, 26.7 clicks a second) and after Stop, as a share of one core:
//   bench_rhythm_loop [seconds per phase (default 10)] [BPM (default 400)]
// Run it on the platform to be measured (xvfb-run -a, or QT_QPA_PLATFORM=offscreen). It counts
// the whole process, the audio thread included, through the same window the application shows.
#include "BenchSupport.h"
#include "app/AppStartup.h"
#include "support/PrivateHome.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

namespace {

using namespace bench;

// CPU time over `seconds` of the event loop, as a percentage of one core.
double cpuShare(double seconds)
{
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    run(seconds);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
    return 100.0 * (cpuSeconds() - cpuBefore) / wall.count();
}

} // namespace

int main(int argc, char* argv[])
{
    const PrivateHome home; // the user's own state and preferences stay untouched
    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 10.0;
    const double bpm = argc > 2 ? std::atof(argv[2]) : 400.0;

    QQmlApplicationEngine engine;
    AppStartup::configureEngine(engine);
    const auto [window, state, rhythm] = openRhythm(engine, "bench_rhythm_loop");
    if (!rhythm)
        return 1;
    state->setProperty("bpm", bpm);
    state->setProperty("euclidSteps", 16);
    state->setProperty("euclidPulses", 5);

    std::printf("before play    %6.2f %% of one core\n", cpuShare(seconds));
    QMetaObject::invokeMethod(rhythm, "startPlayback");
    std::printf("playing        %6.2f %% of one core   (%s, %s, %.0f BPM; target < 5 %%)\n",
                cpuShare(seconds), qPrintable(QGuiApplication::platformName()),
                qPrintable(window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software
                               ? "software scene graph"
                               : "hardware scene graph"),
                bpm);
    QMetaObject::invokeMethod(rhythm, "stop");
    // The sound engine keeps its stream open for 10 s after the last sound, then pauses.
    std::printf("after Stop     %6.2f %% of one core   (sound engine still open)\n", cpuShare(10.5));
    std::printf("idle           %6.2f %% of one core   (target 0 %%)\n", cpuShare(seconds));
    return 0;
}
