#pragma once

// What the application's benchmarks share: the process's CPU time and resident memory, a wait
// on the event loop, the application's main window on the Rhythm tool, and the bare Qt Quick
// window they measure the application against.
#include <QEventLoop>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QTimer>

#include <cstdio>

#include <fstream>

#include <sys/resource.h>
#include <unistd.h>

namespace bench {

// User and system CPU time of the whole process (every thread), in seconds.
inline double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Resident memory in MiB.
inline double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// Runs the event loop for `seconds`.
inline void run(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
}

// The application's main window, loaded in `engine` and settled on the Rhythm tool: its window,
// its state and the Rhythm screen's controller; all null when the window or screen did not load.
struct RhythmWindow {
    QQuickWindow* window = nullptr;
    QObject* state = nullptr;
    QObject* rhythm = nullptr;
};

inline RhythmWindow openRhythm(QQmlApplicationEngine& engine, const char* program)
{
    engine.load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
    if (!window)
        return {};
    QObject* content = QQmlProperty::read(window, "content").value<QObject*>();
    QObject* shell = QQmlProperty::read(content, "shell").value<QObject*>();
    QMetaObject::invokeMethod(shell, "select", Q_ARG(QString, QStringLiteral("rhythm")));
    run(1.0);
    auto* rhythm = window->findChild<QObject*>(QStringLiteral("rhythmController"));
    if (!rhythm) {
        std::fprintf(stderr, "%s: the Rhythm screen did not load\n", program);
        return {};
    }
    return {window, QQmlProperty::read(content, "calculatorState").value<QObject*>(), rhythm};
}

inline const char* const kBareWindow = R"(
import QtQuick
Window {
    width: 960
    height: 720
    visible: true
    color: "#f4f1ea"
    Text { anchors.centerIn: parent; text: "Bare window"; font.pixelSize: 24 }
}
)";

} // namespace bench
