// A long session in the application's own window, offscreen: tool switches, every kind of sound
// through the real chord player and voice mixer (on a null device that renders the mixer in real
// time on a thread of its own, as the sound server's callback would), and every loop started and
// stopped. The resident memory must stay flat once warmed up, and nothing may reach stderr.
//
//   tst_soak [--full]
//
// --full runs 1,000 tool switches, 10,000 sounds of each kind and 500 starts of each loop; the
// default (what ctest runs) is a tenth of that.
#include "BenchSupport.h"
#include "app/AppStartup.h"
#include "audio/AudioOutput.h"
#include "audio/ChordPlayer.h"
#include "audio/FrameClock.h"
#include "audio/VoiceMixer.h"
#include "support/PrivateHome.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QTemporaryFile>
#include <QTimer>
#include <QtQml/QQmlExtensionPlugin>

#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <unistd.h>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

using namespace morvela;

namespace {

// The mixer's callback, driven by a thread every period of real time as a device would.
class NullDevice final : public AudioOutput {
public:
    explicit NullDevice(VoiceMixer& mixer) : m_mixer(mixer) {}

    bool start() override
    {
        if (!m_thread.joinable()) {
            m_thread = std::jthread([this](std::stop_token stop) { run(stop); });
            ++starts;
        }
        return true;
    }
    bool isRunning() const override { return m_thread.joinable(); }
    void pause() override { m_thread = {}; } // stops and joins the running thread

    int starts = 0;

private:
    void run(const std::stop_token& stop)
    {
        constexpr std::size_t kPeriod = VoiceMixer::kPeriodFrames;
        float buffer[2 * kPeriod];
        for (auto next = std::chrono::steady_clock::now(); !stop.stop_requested();) {
            m_mixer.render(buffer, kPeriod, FrameClock::now());
            next += std::chrono::nanoseconds(kPeriod * 1'000'000'000 / 44100);
            std::this_thread::sleep_until(next);
        }
    }

    VoiceMixer& m_mixer;
    std::jthread m_thread;
};

// Runs the event loop for `milliseconds`, or (with a window) until it has drawn one frame.
void run(int milliseconds, QQuickWindow* window = nullptr)
{
    QEventLoop loop;
    if (window) {
        QObject::connect(window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
        window->requestUpdate();
    }
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void invoke(QObject* object, const char* method, QGenericArgument a = {}, QGenericArgument b = {})
{
    QMetaObject::invokeMethod(object, method, a, b);
}

// What a tool's screen can play: one sound (the k-th of its kind) and one loop.
struct Tool {
    const char* id;
    const char* controller; // objectName in the screen; nullptr: no sounds
    std::function<void(QObject*, int)> sound;
    const char* startLoop;
    const char* stopLoop;
    std::function<void(QObject*)> prepare = [](QObject*) {};
    int sounds = 0;
    int loops = 0;
};

std::vector<Tool> tools()
{
    return {
        {"bpm", nullptr, {}, "", ""},
        {"rhythm", "rhythmController", [](QObject* c, int k) { invoke(c, "tick", Q_ARG(qint64, k % 8)); },
         "startPlayback", "stop"},
        {"space", nullptr, {}, "", ""},
        {"frequency", nullptr, {}, "", ""},
        {"temperament", "temperamentController",
         [](QObject* c, int k) { invoke(c, "playStep", Q_ARG(int, k % 12)); }, "startPlayback",
         "stopPlayback"},
        {"overtones", "overtonesController", [](QObject* c, int) { invoke(c, "playChord"); }, "startSweep",
         "stopSweep"},
        {"harmony", "circleOfFifthsController",
         [](QObject* c, int k) {
             if (k % 2)
                 invoke(c, "playDegree", Q_ARG(int, (k / 2) % 7));
             else
                 invoke(c, "playTonic", Q_ARG(int, (k / 2) % 12), Q_ARG(bool, k % 4 == 0));
         },
         "startPlayback", "stopPlayback",
         // The progression loop needs a progression.
         [](QObject* c) { invoke(c, "loadPreset", Q_ARG(int, 0)); }},
    };
}

} // namespace

int main(int argc, char* argv[])
{
    const bool full = argc > 1 && std::strcmp(argv[1], "--full") == 0;
    const int switches = full ? 1000 : 100;
    const int soundsEach = full ? 10000 : 1000;
    const int loopsEach = full ? 500 : 50;

    // Everything the process writes to stderr from here on goes to a file, read at the end.
    QTemporaryFile captured;
    if (!captured.open())
        return 2;
    std::fflush(stderr);
    const int realStderr = dup(STDERR_FILENO);
    dup2(captured.handle(), STDERR_FILENO);

    // Run by hand, the session must not touch the user's own state files or send statistics.
    const PrivateHome home;
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
    std::vector<std::pair<int, double>> samples; // switches done, MiB
    QStringList failures;
    // Memory is sampled after every round of all seven tools (the same screen shown each time);
    // the first tenth of the session, and at least two rounds, is the warm-up.
    const int warmUp = std::max(14, (switches / 10 + 6) / 7 * 7);
    double warmRss = 0.0;
    QElapsedTimer clock;
    clock.start();
    for (int s = 0; s < switches && failures.isEmpty(); ++s) {
        Tool& tool = list[static_cast<std::size_t>(s % 7)];
        invoke(shell, "select", Q_ARG(QString, tool.id));
        run(50, window);
        QObject* controller = tool.controller ? window->findChild<QObject*>(tool.controller) : nullptr;
        if (tool.controller && !controller)
            failures << QStringLiteral("the %1 screen has no %2").arg(tool.id, tool.controller);
        else if (controller)
            tool.prepare(controller);
        // This visit's share of the tool's sounds and loop starts.
        const int visit = s / 7 + 1;
        const int visits = (switches - s % 7 + 6) / 7;
        for (; controller && tool.sounds < soundsEach * visit / visits; ++tool.sounds) {
            tool.sound(controller, tool.sounds);
            // As fast as the mixer takes sounds up: a burst beyond its queue would be dropped.
            while (mixer.buffersInUse() > 40) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                mixer.collectFinished();
            }
            if (tool.sounds % 64 == 0)
                QCoreApplication::processEvents();
        }
        for (; controller && tool.loops < loopsEach * visit / visits; ++tool.loops) {
            invoke(controller, tool.startLoop);
            // Now and then the loop runs for a few of its steps.
            if (tool.loops % 50 == 0)
                run(300);
            else
                QCoreApplication::processEvents();
            invoke(controller, tool.stopLoop);
        }
        if ((s + 1) % 7 == 0) {
            engine->collectGarbage();
            run(50, window);
            samples.emplace_back(s + 1, bench::residentMiB());
            if (s + 1 == warmUp)
                warmRss = samples.back().second;
        }
    }
    double peakRss = 0.0;
    for (const auto& [done, rss] : samples)
        if (done > warmUp)
            peakRss = std::max(peakRss, rss);

    // The window goes while stderr is still captured: what its teardown prints counts too.
    engine.reset();
    Sound::setOutput(nullptr);
    std::fflush(stderr);
    dup2(realStderr, STDERR_FILENO);
    close(realStderr);
    captured.seek(0);
    const QByteArray printed = captured.readAll();

    std::printf("%d tool switches, %d sounds and %d loop starts of each kind in %.1f s; the null device "
                "started %d times\nresident memory (MiB) after switches:",
                switches, soundsEach, loopsEach, clock.elapsed() / 1000.0, device.starts);
    for (std::size_t i = 0; i < samples.size(); i += std::max<std::size_t>(1, samples.size() / 12))
        std::printf(" %d: %.1f", samples[i].first, samples[i].second);
    std::printf("\ngrowth after warm-up (%d switches, %.1f MiB): at most %.2f MiB (limit 5)\n", warmUp,
                warmRss, peakRss - warmRss);
    for (const Tool& tool : list)
        if (tool.controller && (tool.sounds != soundsEach || tool.loops != loopsEach))
            failures << QStringLiteral("%1 played %2 sounds and %3 loops")
                            .arg(tool.id)
                            .arg(tool.sounds)
                            .arg(tool.loops);
#ifdef __SANITIZE_ADDRESS__
    // AddressSanitizer holds freed memory back (its quarantine, up to 256 MiB) before using it
    // again, so resident memory grows whatever the program does; its leak check judges leaks here.
    std::printf("(growth not judged under AddressSanitizer)\n");
#else
    if (peakRss - warmRss >= 5.0)
        failures << QStringLiteral("resident memory grew by %1 MiB after warm-up").arg(peakRss - warmRss);
#endif
    if (!printed.isEmpty())
        failures << "printed on stderr:\n" + QString::fromLocal8Bit(printed.left(4000));
    for (const QString& failure : failures)
        std::printf("FAIL: %s\n", qPrintable(failure));
    return failures.isEmpty() ? 0 : 1;
}
