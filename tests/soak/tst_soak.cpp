// A long session in the application's own window, offscreen: tool switches, every kind of sound
// through the real chord player and voice mixer (on a null device that renders the mixer in real
// time on a thread of its own, as the sound server's callback would), and every loop started and
// stopped. The resident memory must stay flat once warmed up, and nothing may reach stderr.
//
//   tst_soak [--full] [--scale <factor>]
//
// --full runs 1,000 tool switches, 10,000 sounds of each kind and 500 starts of each loop; the
// default (what ctest runs) is a tenth of that. --scale multiplies the full counts.
#include "app/AppStartup.h"
#include "audio/AudioOutput.h"
#include "audio/ChordPlayer.h"
#include "audio/FrameClock.h"
#include "audio/VoiceMixer.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QTemporaryFile>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

using namespace morvela;

namespace {

// The mixer's callback, driven by a thread every 256 frames of real time as a device would.
class NullDevice final : public AudioOutput {
public:
    explicit NullDevice(VoiceMixer& mixer) : m_mixer(mixer) {}
    ~NullDevice() override { pause(); }

    bool start() override
    {
        if (!m_thread.joinable()) {
            m_stop = false;
            m_thread = std::thread([this] { run(); });
            ++starts;
        }
        return true;
    }
    bool isRunning() const override { return m_thread.joinable(); }
    void pause() override
    {
        if (!m_thread.joinable())
            return;
        m_stop = true;
        m_thread.join();
    }

    int starts = 0;

private:
    void run()
    {
        constexpr std::size_t kPeriod = 256;
        const auto period = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(kPeriod / 44100.0));
        float buffer[2 * kPeriod];
        auto next = std::chrono::steady_clock::now();
        while (!m_stop) {
            m_mixer.render(buffer, kPeriod, FrameClock::now());
            next += period;
            std::this_thread::sleep_until(next);
        }
    }

    VoiceMixer& m_mixer;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Resident memory in MiB.
double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void run(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Lets the window catch up: pending events, deletions and (up to 50 ms for) one frame.
void settle(QQuickWindow* window)
{
    QEventLoop loop;
    QObject::connect(window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(50, &loop, &QEventLoop::quit);
    window->requestUpdate();
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// What a tool's screen can play: one sound (its kind, the k-th of its kind) and one loop.
struct Tool {
    QString id;
    const char* controller = nullptr; // objectName in the screen; nullptr: no sounds
    const char* kind = "";
    std::function<void(QObject*, int)> sound;
    const char* startLoop = "";
    const char* stopLoop = "";
    std::function<void(QObject*)> prepare = [](QObject*) {};
    int sounds = 0;
    int loops = 0;
};

std::vector<Tool> tools()
{
    const auto call = [](const char* method) {
        return [method](QObject* controller, int) { QMetaObject::invokeMethod(controller, method); };
    };
    std::vector<Tool> list;
    list.push_back({"bpm"});
    list.push_back({"rhythm", "rhythmController", "click",
                    [](QObject* c, int k) { QMetaObject::invokeMethod(c, "tick", Q_ARG(qint64, k % 8)); },
                    "startPlayback", "stop"});
    list.push_back({"space"});
    list.push_back({"frequency"});
    list.push_back({"temperament", "temperamentController", "tone",
                    [](QObject* c, int k) { QMetaObject::invokeMethod(c, "playStep", Q_ARG(int, k % 12)); },
                    "startPlayback", "stopPlayback"});
    list.push_back({"overtones", "overtonesController", "partials", call("playChord"), "startSweep", "stopSweep"});
    Tool harmony{"harmony", "circleOfFifthsController", "triad",
                 [](QObject* c, int k) {
                     if (k % 2)
                         QMetaObject::invokeMethod(c, "playDegree", Q_ARG(int, (k / 2) % 7));
                     else
                         QMetaObject::invokeMethod(c, "playTonic", Q_ARG(int, (k / 2) % 12), Q_ARG(bool, k % 4 == 0));
                 },
                 "startPlayback", "stopPlayback"};
    // The progression loop needs a progression.
    harmony.prepare = [](QObject* c) { QMetaObject::invokeMethod(c, "loadPreset", Q_ARG(int, 0)); };
    list.push_back(harmony);
    return list;
}

struct Counts {
    int switches = 100;
    int sounds = 1000;
    int loops = 50;
};

} // namespace

int main(int argc, char* argv[])
{
    Counts counts;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--full") == 0) {
            counts = {1000, 10000, 500};
        } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
            const double scale = std::atof(argv[++i]);
            counts = {std::max(28, static_cast<int>(1000 * scale)), std::max(1, static_cast<int>(10000 * scale)),
                      std::max(1, static_cast<int>(500 * scale))};
        } else {
            std::fprintf(stderr, "usage: tst_soak [--full] [--scale <factor>]\n");
            return 2;
        }
    }

    // Everything the process writes to stderr from here on goes to a file, read at the end.
    QTemporaryFile captured;
    if (!captured.open())
        return 2;
    std::fflush(stderr);
    const int realStderr = dup(STDERR_FILENO);
    dup2(captured.handle(), STDERR_FILENO);

    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);

    VoiceMixer mixer;
    NullDevice device(mixer);
    ChordPlayer player(device, mixer);
    Sound::setOutput(&player);

    auto engine = std::make_unique<QQmlApplicationEngine>();
    AppStartup::configureEngine(*engine);
    engine->load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
    if (engine->rootObjects().isEmpty()) {
        std::printf("FAIL: the main window did not load\n");
        return 1;
    }
    auto* window = qobject_cast<QQuickWindow*>(engine->rootObjects().first());
    window->show();
    QObject* content = QQmlProperty::read(window, "content").value<QObject*>();
    QObject* shell = QQmlProperty::read(content, "shell").value<QObject*>();

    auto list = tools();
    int visits[7] = {};
    for (int s = 0; s < counts.switches; ++s)
        ++visits[s % 7];
    int seen[7] = {};
    std::vector<std::pair<int, double>> samples; // switches done, MiB
    int soundsPlayed = 0;
    int loopsStarted = 0;
    QString failure;
    // Memory is sampled after every round of all seven tools (the same screen shown each time);
    // the first tenth of the session, and at least two rounds, is the warm-up.
    const int warmUp = std::max(14, (counts.switches / 10 + 6) / 7 * 7);
    double warmRss = 0.0;
    QElapsedTimer clock;
    clock.start();

    for (int s = 0; s < counts.switches && failure.isEmpty(); ++s) {
        const int t = s % 7;
        Tool& tool = list[static_cast<std::size_t>(t)];
        QMetaObject::invokeMethod(shell, "select", Q_ARG(QString, tool.id));
        settle(window);
        const int visit = seen[t]++;
        if (tool.controller) {
            QObject* controller = window->findChild<QObject*>(QLatin1String(tool.controller));
            if (!controller) {
                failure = QStringLiteral("the %1 screen has no %2").arg(tool.id, tool.controller);
                break;
            }
            tool.prepare(controller);
            // This visit's share of the tool's sounds and loop starts.
            const int soundsDue = static_cast<int>(static_cast<long long>(counts.sounds) * (visit + 1) / visits[t]);
            const int loopsDue = static_cast<int>(static_cast<long long>(counts.loops) * (visit + 1) / visits[t]);
            for (; tool.sounds < soundsDue; ++tool.sounds) {
                tool.sound(controller, tool.sounds);
                ++soundsPlayed;
                // As fast as the mixer takes sounds up: a burst beyond its queue would be dropped.
                while (mixer.buffersInUse() > 40) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                    mixer.collectFinished();
                }
                if (tool.sounds % 64 == 0)
                    QCoreApplication::processEvents();
            }
            for (; tool.loops < loopsDue; ++tool.loops) {
                QMetaObject::invokeMethod(controller, tool.startLoop);
                // Now and then the loop runs for a few of its steps.
                if (tool.loops % 50 == 0)
                    run(300);
                else
                    QCoreApplication::processEvents();
                QMetaObject::invokeMethod(controller, tool.stopLoop);
                ++loopsStarted;
            }
        }
        if ((s + 1) % 7 == 0) {
            engine->collectGarbage();
            settle(window);
            samples.emplace_back(s + 1, residentMiB());
            if (s + 1 == warmUp)
                warmRss = samples.back().second;
        }
    }
    const double seconds = clock.elapsed() / 1000.0;
    const double finalRss = samples.empty() ? 0.0 : samples.back().second;
    double peakRss = 0.0;
    for (const auto& sample : samples)
        if (sample.first > warmUp)
            peakRss = std::max(peakRss, sample.second);
    const int deviceStarts = device.starts;

    // The window goes while stderr is still captured: what its teardown prints counts too.
    engine.reset();
    Sound::setOutput(nullptr);
    std::fflush(stderr);
    dup2(realStderr, STDERR_FILENO);
    close(realStderr);
    captured.seek(0);
    const QByteArray printed = captured.readAll();

    std::printf("%d tool switches, %d sounds (%d of each kind), %d loop starts (%d of each loop) in %.1f s; "
                "the null device started %d times\n",
                counts.switches, soundsPlayed, counts.sounds, loopsStarted, counts.loops, seconds, deviceStarts);
    std::printf("resident memory (MiB) after switches:");
    for (std::size_t i = 0; i < samples.size(); i += std::max<std::size_t>(1, samples.size() / 12))
        std::printf(" %d: %.1f", samples[i].first, samples[i].second);
    if (!samples.empty())
        std::printf(" %d: %.1f", samples.back().first, samples.back().second);
    std::printf("\n");
    std::printf("growth after warm-up (%d switches, %.1f MiB): %.2f MiB at the end, %.2f MiB at the highest "
                "(limit 5)\n",
                warmUp, warmRss, finalRss - warmRss, peakRss - warmRss);
    bool ok = failure.isEmpty();
    if (!ok)
        std::printf("FAIL: %s\n", qPrintable(failure));
    for (const Tool& tool : list)
        if (tool.controller && (tool.sounds != counts.sounds || tool.loops != counts.loops)) {
            std::printf("FAIL: %s played %d sounds and %d loops\n", qPrintable(tool.id), tool.sounds, tool.loops);
            ok = false;
        }
    if (peakRss - warmRss >= 5.0) {
        std::printf("FAIL: resident memory grew by %.2f MiB after warm-up\n", peakRss - warmRss);
        ok = false;
    }
    if (!printed.isEmpty()) {
        std::printf("FAIL: printed on stderr:\n%s\n", printed.left(4000).constData());
        ok = false;
    }
    return ok ? 0 : 1;
}
