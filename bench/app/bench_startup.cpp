// Cold start to the first frame and resident memory, the application's main window against a
// bare Qt Quick window, side by side in one run:
//   bench_startup [runs per window (default 10)]
// Each run is a fresh process of this program (a child mode replaying main.cpp's start-up, or a
// bare QtQuick Window), timed from its launch until it reports its first frame swapped. Run it on
// the platform to be measured (xvfb-run -a, or QT_QPA_PLATFORM=offscreen); children inherit it.
// The application's child also reports where its time went (before main(), QGuiApplication,
// engine, QML load, first frame), and one more child visits all seven tools for the memory figure.
#include "BenchSupport.h"
#include "support/PrivateHome.h"
#include "app/AppStartup.h"
#include "platform/SceneGraphBackend.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QSslConfiguration>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

namespace {

using namespace bench;

double monotonicMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}
// The same with Qt Quick Controls (Basic style), as the application's window is built: how much of
// the difference is the controls library itself.
const char* const kControlsWindow = R"(
import QtQuick
import QtQuick.Controls.Basic
ApplicationWindow {
    width: 960
    height: 720
    visible: true
    color: "#f4f1ea"
    Button { anchors.centerIn: parent; text: "Controls window" }
}
)";

void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// A child: starts one window, prints "frame <ms>" (monotonic clock) at its first frame, its phases
// and resident memory, and exits.
// A child that times what sending the first statistics event adds wherever it happens: starting
// the TLS backend (OpenSSL and Qt's TLS plugins), which building its HTTPS request does. Nothing
// is sent.
int tlsChild(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const double before = monotonicMs();
    const bool supported = QSslSocket::supportsSsl();
    QSslConfiguration::defaultConfiguration();
    std::printf("tls %.3f %d\n", monotonicMs() - before, supported ? 1 : 0);
    return 0;
}

// Selects each tool in turn, 0.2 s apart, twice, timing each screen's creation (the Loader
// makes it inside select()): the second time its types are loaded already. The resident memory is
// taken 1 s after the first round. Every step runs from the top of the event loop, as a user's
// click does: a switch's deferred deletions (the screen it leaves) then happen before the next
// step, where inside a nested event loop they would wait and count as memory in use.
void visitTools(QObject* shell)
{
    static const std::vector<const char*> tools{"rhythm", "space",     "frequency", "temperament",
                                                "overtones", "harmony", "bpm"};
    static std::size_t step = 0;
    static const std::function<void()> next = [shell] {
        const std::size_t round = step / tools.size();
        const std::size_t index = step % tools.size();
        if (round == 2) {
            std::printf("\n");
            std::fflush(stdout);
            std::_Exit(0);
        }
        if (index == 0)
            std::printf("%screate%zu", round == 0 ? "" : "\n", round + 1);
        const double before = monotonicMs();
        QMetaObject::invokeMethod(shell, "select", Q_ARG(QString, QString::fromLatin1(tools[index])));
        std::printf(" %s %.1f", tools[index], monotonicMs() - before);
        if (++step != tools.size()) {
            QTimer::singleShot(200, next);
            return;
        }
        QTimer::singleShot(1000, [] {
            std::printf("\nvisited %.2f\n", residentMiB());
            next();
        });
    };
    next();
}

int child(int argc, char* argv[], const std::string& mode)
{
    if (mode == "tls")
        return tlsChild(argc, argv);
    const double entered = monotonicMs();
    QGuiApplication app(argc, argv);
    const bool isApp = mode.rfind("bare", 0) != 0 && mode != "controls";
    if (isApp)
        AppStartup::configureApplication(app);
    else if (mode != "bare-default")
        SceneGraphBackend::choose(); // the same scene graph as the application's
    const double appMade = monotonicMs();
    QQmlApplicationEngine engine;
    if (isApp)
        AppStartup::configureEngine(engine);
    const double engineMade = monotonicMs();
    if (isApp)
        engine.load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
    else
        engine.loadData(mode == "controls" ? kControlsWindow : kBareWindow);
    const double loaded = monotonicMs();
    if (engine.rootObjects().isEmpty())
        return 1;
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
    if (!window)
        return 1;
    bool framed = false;
    QObject::connect(
        window, &QQuickWindow::frameSwapped, &app,
        [&] {
            if (framed)
                return;
            framed = true;
            const double frame = monotonicMs();
            std::printf("frame %.3f\nphases main %.3f app %.3f engine %.3f load %.3f frame %.3f\n", frame,
                        entered, appMade - entered, engineMade - appMade, loaded - engineMade,
                        frame - loaded);
            std::printf("rss %.2f\n", residentMiB());
            std::printf("backend %s\n", QQuickWindow::sceneGraphBackend() == QLatin1String("software")
                                              ? "software"
                                              : "hardware");
            // Screens are made when their tool is selected: at the first frame only the
            // selected tool's controllers exist.
            QStringList controllers;
            for (QObject* object : window->findChildren<QObject*>())
                if (object->objectName().endsWith(QLatin1String("Controller")))
                    controllers.append(object->objectName());
            std::printf("controllers %lld %s\n", static_cast<long long>(controllers.size()),
                        qPrintable(controllers.join(QLatin1Char(','))));
            std::fflush(stdout);
            if (mode == "visit") {
                QObject* content = QQmlProperty::read(window, "content").value<QObject*>();
                visitTools(QQmlProperty::read(content, "shell").value<QObject*>());
                return;
            } else if (mode == "bare-settled" || mode == "app-settled") {
                settle(1400);
                std::printf("visited %.2f\n", residentMiB());
            }
            std::fflush(stdout);
            std::_Exit(0);
        },
        Qt::QueuedConnection);
    return app.exec();
}

struct Result {
    double startMs = 0.0;
    double rss = 0.0;
    double visited = 0.0;
    double phases[5] = {}; // before main, QGuiApplication, engine, load, first frame
    QString backend;       // the scene graph: software or hardware
    QString controllers;   // the screen controllers that exist at the first frame
    QString creation;      // ms to create each screen, first and second time
};

// Launches a child and times it from launch to its first frame.
bool launch(const QString& program, const QString& mode, Result& result)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const double launched = monotonicMs();
    process.start(program, {"--child", mode});
    if (!process.waitForFinished(60000))
        return false;
    const QList<QByteArray> lines = process.readAllStandardOutput().split('\n');
    bool framed = false;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> words = line.split(' ');
        if (words.value(0) == "frame") {
            result.startMs = words.value(1).toDouble() - launched;
            framed = true;
        } else if (words.value(0) == "rss") {
            result.rss = words.value(1).toDouble();
        } else if (words.value(0) == "tls") {
            result.startMs = words.value(1).toDouble();
            framed = true;
        } else if (words.value(0) == "backend") {
            result.backend = QString::fromUtf8(words.value(1));
        } else if (words.value(0) == "controllers") {
            result.controllers = QString::fromUtf8(words.value(2));
        } else if (words.value(0).startsWith("create")) {
            result.creation += QString::fromUtf8(line) + QLatin1Char('\n');
        } else if (words.value(0) == "visited") {
            result.visited = words.value(1).toDouble();
        } else if (words.value(0) == "phases" && words.size() >= 11) {
            result.phases[0] = words.value(2).toDouble() - launched;
            for (int i = 1; i < 5; ++i)
                result.phases[i] = words.value(2 + 2 * i).toDouble();
        }
    }
    return framed;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return child(argc, argv, argv[2]);

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const QString program = QCoreApplication::applicationFilePath();
    // The children keep to folders of their own, statistics off: nothing is sent or remembered.
    const PrivateHome home;

    std::vector<double> bare, full, controls, bareDefault, phases[5], barePhases[5];
    QString backend, defaultBackend;
    QString controllers;
    // A first run of each warms the file cache; it is not counted.
    Result warm;
    launch(program, "bare", warm);
    launch(program, "app", warm);
    for (int run = 0; run < runs; ++run) {
        Result b, a;
        if (!launch(program, "bare", b) || !launch(program, "app", a)) {
            std::fprintf(stderr, "bench_startup: a child did not show its first frame\n");
            return 1;
        }
        Result c, d;
        if (launch(program, "controls", c))
            controls.push_back(c.startMs);
        if (launch(program, "bare-default", d))
            bareDefault.push_back(d.startMs);
        backend = a.backend;
        defaultBackend = d.backend;
        bare.push_back(b.startMs);
        full.push_back(a.startMs);
        for (int i = 0; i < 5; ++i) {
            phases[i].push_back(a.phases[i]);
            barePhases[i].push_back(b.phases[i]);
        }
        controllers = a.controllers;
    }
    Result bareSettled, appSettled, visited;
    launch(program, "bare-settled", bareSettled);
    launch(program, "app-settled", appSettled);
    launch(program, "visit", visited);

    std::vector<double> tls;
    for (int run = 0; run < 5; ++run) {
        Result t;
        if (launch(program, "tls", t))
            tls.push_back(t.startMs);
    }
    const double bareMs = median(bare);
    const double appMs = median(full);
    std::printf("platform: %s\n", qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM", "(default)")));
    std::printf(
        "cold start to first frame (median of %d), %s scene graph: bare Qt Quick window %.1f ms, application "
        "%.1f ms, ratio %.2f (goal <= 1.30)\n",
        runs, qPrintable(backend), bareMs, appMs, appMs / bareMs);
    std::printf("  against a bare Qt Quick window on Qt's default scene graph (%s): %.1f ms, ratio %.2f\n",
                qPrintable(defaultBackend), median(bareDefault), appMs / median(bareDefault));
    std::printf("  application's time: before main() %.1f ms, QGuiApplication %.1f ms, engine %.1f ms, "
                "QML load %.1f ms, to first frame %.1f ms\n",
                median(phases[0]), median(phases[1]), median(phases[2]), median(phases[3]),
                median(phases[4]));
    std::printf("  bare window's time:  before main() %.1f ms, QGuiApplication %.1f ms, engine %.1f ms, "
                "QML load %.1f ms, to first frame %.1f ms\n",
                median(barePhases[0]), median(barePhases[1]), median(barePhases[2]), median(barePhases[3]),
                median(barePhases[4]));
    std::printf("  screen controllers at the first frame: %s\n", qPrintable(controllers));
    std::printf(
        "  for comparison, a bare Controls (Basic) window: %.1f ms, %.2f of the bare Qt Quick window\n",
        median(controls), median(controls) / bareMs);
    std::printf(
        "  starting the TLS backend (with statistics on, the launch event's HTTPS request does it, "
        "after the first frame; these runs have them off): %.1f ms\n",
        median(tls));
    std::printf("  screens, ms to create (first time / again):\n%s", qPrintable(visited.creation));
    std::printf("resident memory: bare window %.1f MiB (1.5 s after its first frame), application %.1f MiB "
                "(same), after visiting all seven tools (1 s after) %.1f MiB: bare + %.1f MiB (goal <= bare + "
                "40), ratio %.2f\n",
                bareSettled.visited, appSettled.visited, visited.visited, visited.visited - bareSettled.visited,
                visited.visited / bareSettled.visited);
    return 0;
}
