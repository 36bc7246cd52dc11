// CPU time of the application's main window while the Rhythm loop plays through the sound
// server, and over 30 s of idling once the sound engine has paused, beside a bare Qt Quick window
// idling in a process of its own over the same 30 s:
//   bench_idle [idle seconds (default 30)] [playing seconds (default 10)]
// With pulseaudio installed it plays on a private daemon with a null sink (started here, so no
// session daemon is needed or touched); otherwise on whatever PULSE_SERVER / ALSA offers.
// Run it on the platform to be measured (xvfb-run -a, or QT_QPA_PLATFORM=offscreen).
#include "BenchSupport.h"
#include "PulseServer.h"
#include "support/PrivateHome.h"
#include "app/AppStartup.h"
#include "platform/SceneGraphBackend.h"
#include "audio/ChordPlayer.h"

#include <QGuiApplication>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

namespace {

using namespace bench;

// CPU milliseconds per thread name (utime + stime of /proc/self/task/*, in clock ticks).
std::map<std::string, double> threadCpuMs()
{
    std::map<std::string, double> result;
    const double tick = 1000.0 / static_cast<double>(sysconf(_SC_CLK_TCK));
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream statFile(task.path() / "stat");
        std::string stat((std::istreambuf_iterator<char>(statFile)), std::istreambuf_iterator<char>());
        const auto open = stat.find('(');
        const auto close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos)
            continue;
        // The UI thread is the one whose id is the process's; the others keep their names (the
        // audio callback's thread is unnamed and shares the program's).
        const std::string name = task.path().filename() == std::to_string(getpid())
                                     ? std::string("UI")
                                     : stat.substr(open + 1, close - open - 1);
        std::istringstream rest(stat.substr(close + 2));
        std::string field;
        double utime = 0.0;
        double stime = 0.0;
        for (int i = 3; i <= 15 && rest >> field; ++i) {
            if (i == 14)
                utime = std::atof(field.c_str());
            if (i == 15)
                stime = std::atof(field.c_str());
        }
        result[name] += (utime + stime) * tick;
    }
    return result;
}

void printThreads(const std::map<std::string, double>& before, const std::map<std::string, double>& after)
{
    std::printf("    by thread:");
    for (const auto& [name, ms] : after) {
        const auto found = before.find(name);
        const double used = ms - (found == before.end() ? 0.0 : found->second);
        if (used > 0.0)
            std::printf("  %s %.0f ms", name.c_str(), used);
    }
    std::printf("\n");
}

struct Share {
    double cpuMs;
    double percent;
};

// CPU time of the whole process over `seconds` of its event loop.
Share cpuOver(double seconds)
{
    const double cpuBefore = cpuSeconds();
    const auto wallBefore = std::chrono::steady_clock::now();
    run(seconds);
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallBefore;
    const double used = cpuSeconds() - cpuBefore;
    return {used * 1e3, 100.0 * used / wall.count()};
}

// The bare window: settles for a second, then prints its CPU time over `seconds`.
int bareChild(int argc, char* argv[], double seconds)
{
    QGuiApplication app(argc, argv);
    SceneGraphBackend::choose(); // the same scene graph as the application's
    QQmlApplicationEngine engine;
    engine.loadData(kBareWindow);
    if (engine.rootObjects().isEmpty())
        return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    run(1.0);
    const Share share = cpuOver(seconds);
    std::printf("%.3f %.4f\n", share.cpuMs, share.percent);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 3 && std::strcmp(argv[1], "--bare") == 0)
        return bareChild(argc, argv, std::atof(argv[2]));

    const double idleSeconds = argc > 1 ? std::atof(argv[1]) : 30.0;
    const double playSeconds = argc > 2 ? std::atof(argv[2]) : 10.0;

    const PrivateHome home; // nothing is sent or remembered

    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);

    std::unique_ptr<PulseServer> server;
    QString output = "the session's sound server or ALSA";
    if (PulseServer::isInstalled()) {
        server = std::make_unique<PulseServer>(home.path());
        if (!server->start()) {
            std::fprintf(stderr, "bench_idle: the private PulseAudio daemon did not start\n");
            return 1;
        }
        qputenv("PULSE_SERVER", server->address().toLocal8Bit());
        output = "a private PulseAudio daemon (null sink)";
    }

    QQmlApplicationEngine engine;
    AppStartup::configureEngine(engine);
    const auto [window, state, rhythm] = openRhythm(engine, "bench_idle");
    if (!rhythm)
        return 1;

    std::printf("platform %s, %s scene graph, playing on %s\n", qPrintable(QGuiApplication::platformName()),
                QQuickWindow::sceneGraphBackend() == QLatin1String("software") ? "software" : "hardware",
                qPrintable(output));
    const Share before = cpuOver(5.0);
    std::printf("before any sound        %8.1f ms CPU in 5 s   %6.2f %% of one core\n", before.cpuMs,
                before.percent);
    int frames = 0;
    QObject::connect(
        window, &QQuickWindow::frameSwapped, window, [&frames] { ++frames; }, Qt::DirectConnection);
    QMetaObject::invokeMethod(rhythm, "startPlayback");
    const int framesBefore = frames;
    const auto threadsBefore = threadCpuMs();
    const Share playing = cpuOver(playSeconds);
    const auto threadsAfter = threadCpuMs();
    std::printf("Rhythm loop playing     %8.1f ms CPU in %.0f s  %6.2f %% of one core   (goal < 5 %%; "
                "120 BPM, 1/16, E(3,8))\n",
                playing.cpuMs, playSeconds, playing.percent);
    printThreads(threadsBefore, threadsAfter);
    std::printf("    frames rendered: %d (%.1f a second; the loop steps %.1f times a second)\n",
                frames - framesBefore, (frames - framesBefore) / playSeconds, 120.0 / 60.0 * 4.0);
    QMetaObject::invokeMethod(rhythm, "stop");
    // The engine keeps its stream open for a while after the last sound, then pauses.
    run(std::chrono::duration<double>(ChordPlayer::kIdlePause).count() + 1.0);

    QProcess bare;
    bare.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    bare.start(QCoreApplication::applicationFilePath(), {"--bare", QString::number(idleSeconds)});
    bare.waitForReadyRead(30000); // "ready": it runs its own settle second while this one does too
    run(1.0);
    const Share idle = cpuOver(idleSeconds);
    bare.waitForFinished(static_cast<int>(idleSeconds * 1000) + 30000);
    const QList<QByteArray> figures = bare.readAllStandardOutput().split('\n').value(1).split(' ');
    const double bareMs = figures.value(0).toDouble();
    const double barePercent = figures.value(1).toDouble();
    std::printf("idle, engine paused     %8.1f ms CPU in %.0f s  %6.3f %% of one core   (goal 0)\n",
                idle.cpuMs, idleSeconds, idle.percent);
    std::printf(
        "bare Qt Quick window    %8.1f ms CPU in %.0f s  %6.3f %% of one core   (same %.0f s, own process)\n",
        bareMs, idleSeconds, barePercent, idleSeconds);
    std::printf("idle ratio application / bare: %s\n",
                bareMs > 0.0 ? qPrintable(QString::number(idle.cpuMs / bareMs, 'f', 2))
                             : "(bare used no CPU)");
    return 0;
}
