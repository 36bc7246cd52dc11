#include "PulseServer.h"
#include "audio/ChordPlayer.h"
#include "audio/FrameClock.h"
#include "audio/RtAudioOutput.h"
#include "audio/VoiceMixer.h"
#include "model/CalculatorState.h"
#include "tools/rhythm/EuclideanRhythmController.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <atomic>
#include <cstring>
#include <ctime>
#include <thread>
#include <unistd.h>

using namespace morvela;

namespace {

constexpr double kRate = 44100.0;
// The Rhythm loop at 130 BPM in sixteenths: a click every 115.4 ms, a loud one on each hit of
// E(3,8) and a soft one on each rest.
constexpr double kBpm = 130.0;
constexpr double kStep = 60.0 / kBpm / 4.0;
// The sink plays ahead of a fresh recorder for a while; the recording counts from then on.
constexpr double kRecorderSettle = 2.5;
// How long the loop plays without a server.
constexpr double kFaultWindow = 3.0;

double processCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs the event loop for `seconds`.
void run(double seconds)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(seconds * 1000.0), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// What this process writes to stderr while `body` runs.
template <typename Body> QByteArray stderrWhile(Body&& body)
{
    QTemporaryFile file;
    if (!file.open())
        qFatal("no temporary file");
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(file.handle(), STDERR_FILENO);
    body();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    file.seek(0);
    return file.readAll();
}

// A 5 ms timer on the UI thread: the longest gap between two of its beats is the longest the
// UI thread was held up.
class Heartbeat {
public:
    Heartbeat()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double now = FrameClock::now();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_last = FrameClock::now();
        m_longest = 0.0;
        m_timer.start(5);
    }
    // The longest gap since start(), up to now.
    double longest() const { return std::max(m_longest, FrameClock::now() - m_last); }

private:
    QTimer m_timer;
    double m_last = 0.0;
    double m_longest = 0.0;
};

// Passes the loop's clicks on to the application's player, noting when each was requested and
// how long the player took to take it.
class ClickLog final : public SoundOutput {
public:
    ClickLog() { Sound::setOutput(this); }
    ~ClickLog() override { Sound::setOutput(nullptr); }

    void playTriad(double, TriadQuality, Instant) override { QFAIL("the Rhythm loop plays clicks only"); }
    void playTone(double, Instant) override { QFAIL("the Rhythm loop plays clicks only"); }
    void playPartials(const std::vector<Partial>&, Instant) override
    {
        QFAIL("the Rhythm loop plays clicks only");
    }
    void playTick(double frequency, float gain, Instant at) override
    {
        const double before = FrameClock::now();
        ChordPlayer::shared().playTick(frequency, gain, at);
        const double after = FrameClock::now();
        requests.push_back(at.value_or(before));
        slowest = std::max(slowest, after - before);
    }
    std::size_t since(double instant) const
    {
        return static_cast<std::size_t>(
            requests.end() - std::lower_bound(requests.begin(), requests.end(), instant));
    }

    std::vector<double> requests;
    double slowest = 0.0;
};

// Records the null sink's monitor (left channel) with parecord on a thread of its own, each
// chunk with the instant it arrived, which ties recorded frames to request instants.
class Recorder {
public:
    explicit Recorder(const QProcessEnvironment& environment)
        : m_thread([this, environment] { record(environment); })
    {
    }
    ~Recorder() { stop(); }

    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    // The steady-clock instant of recorded frame 0: the tenth percentile of arrival - endFrame /
    // rate over the chunks that arrived after `from`, which leaves out the chunks that were read
    // late (and the recorder's unsettled start).
    double start(double from) const
    {
        std::vector<double> offsets;
        for (const auto& chunk : m_chunks)
            if (chunk.first >= from)
                offsets.push_back(chunk.first - static_cast<double>(chunk.second) / kRate);
        if (offsets.empty())
            return std::nan("");
        std::sort(offsets.begin(), offsets.end());
        return offsets[offsets.size() / 10];
    }
    const std::vector<float>& left() const { return m_left; }

private:
    void record(const QProcessEnvironment& environment)
    {
        QProcess parecord;
        parecord.setProcessEnvironment(environment);
        parecord.setStandardErrorFile(QProcess::nullDevice());
        parecord.start("parecord", {"--raw", "--format=float32le", "--channels=2", "--rate=44100",
                                    "--latency-msec=2", "--device=nullsink.monitor"});
        QByteArray pending;
        while (!m_stop && parecord.waitForStarted() && parecord.state() == QProcess::Running) {
            if (!parecord.waitForReadyRead(20))
                continue;
            const double arrival = FrameClock::now();
            pending += parecord.readAllStandardOutput();
            const qsizetype frames = pending.size() / qsizetype(2 * sizeof(float));
            for (qsizetype i = 0; i < frames; ++i) {
                float sample[2];
                std::memcpy(sample, pending.constData() + i * qsizetype(sizeof sample), sizeof sample);
                m_left.push_back(sample[0]);
            }
            pending.remove(0, frames * qsizetype(2 * sizeof(float)));
            if (frames > 0)
                m_chunks.emplace_back(arrival, m_left.size());
        }
        parecord.kill();
        parecord.waitForFinished();
    }

    std::atomic<bool> m_stop{false};
    std::vector<float> m_left;
    std::vector<std::pair<double, std::size_t>> m_chunks; // arrival, frames recorded by then
    std::thread m_thread;
};

// Frame positions where |signal| first rises through `threshold`, at least `gap` frames apart.
std::vector<std::size_t> onsets(const std::vector<float>& signal, float threshold, std::size_t gap)
{
    std::vector<std::size_t> result;
    for (std::size_t i = 1; i < signal.size(); ++i)
        if (std::abs(signal[i - 1]) < threshold && std::abs(signal[i]) >= threshold) {
            result.push_back(i);
            i += gap;
        }
    return result;
}

// When a playback stream first shows on the server (polled with pactl every 20 ms, up to
// `until`); 0 if none did.
double firstStreamSeen(const QProcessEnvironment& environment, double until)
{
    while (FrameClock::now() < until) {
        QProcess pactl;
        pactl.setProcessEnvironment(environment);
        pactl.start("pactl", {"list", "short", "sink-inputs"});
        const bool answered = pactl.waitForFinished(2000) && pactl.exitCode() == 0;
        const double at = FrameClock::now();
        if (answered && !pactl.readAllStandardOutput().trimmed().isEmpty())
            return at;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return 0.0;
}

// A clock the test moves by hand.
double g_now = 0.0;
double manualNow()
{
    return g_now;
}

enum class Fault { absent, terminated, killed };

} // namespace

Q_DECLARE_METATYPE(Fault)

// The Rhythm loop, on the application's player, while the sound server goes away and comes back,
// on a PulseAudio daemon of the test's own. Whatever the server does, the loop keeps stepping,
// quietly and without spinning, the UI thread is never held up for long, and once the server is
// back the clicks sound again.
class TestServerFaults : public QObject {
    Q_OBJECT

    QTemporaryDir m_directory{QDir::tempPath() + "/morvela-pulse-XXXXXX"};
    std::unique_ptr<PulseServer> m_server;

private Q_SLOTS:
    void initTestCase()
    {
        if (!PulseServer::isInstalled())
            QSKIP("pulseaudio, parecord and pactl are needed (scripts/install-deps installs them)");
        QVERIFY(m_directory.isValid());
        // No server runs yet: the first row starts the application without one.
        m_server = std::make_unique<PulseServer>(m_directory.path());
        qputenv("PULSE_SERVER", m_server->address().toLocal8Bit());
    }
    void cleanupTestCase() { m_server.reset(); }

    // Without a server, tries to open are spaced by delays that double up to the longest; a try
    // that is not due yet fails at once even though the server is back, a due one opens it.
    void failedOpensWaitGrowingDelaysBeforeTheNextTry()
    {
        m_server->stop();
        VoiceMixer mixer;
        RtAudioOutput output(mixer, &manualNow);
        g_now = 100.0;
        for (double delay : {0.0, 0.25, 0.5, 1.0}) {
            g_now += delay;
            QVERIFY(!output.start());
        }
        // The fourth failure waits the longest delay, not twice the one before.
        QCOMPARE(RtAudioOutput::kLongestRetryDelay, 1.0);
        QVERIFY2(m_server->start(), "the test's PulseAudio daemon did not start");
        g_now += 0.99;
        QVERIFY(!output.start());
        QVERIFY(!output.isRunning());
        g_now += 0.01;
        QVERIFY(output.start());
        QVERIFY(output.isRunning());

        // An open resets the delays: the first failure after it waits the first delay again.
        output.pause();
        m_server->stop();
        QVERIFY(!output.start());
        QVERIFY2(m_server->start(), "the test's PulseAudio daemon did not restart");
        g_now += RtAudioOutput::kFirstRetryDelay - 0.01;
        QVERIFY(!output.start());
        g_now += 0.01;
        QVERIFY(output.start());
        output.pause();
        m_server->stop();
    }

    void loopOutlivesTheServer_data()
    {
        QTest::addColumn<Fault>("fault");
        // First, so that the player has never had a stream (when the rows run in this order).
        QTest::newRow("no server at all") << Fault::absent;
        QTest::newRow("server terminated while playing") << Fault::terminated;
        QTest::newRow("server killed while playing") << Fault::killed;
    }
    void loopOutlivesTheServer()
    {
        QFETCH(Fault, fault);
        if (fault == Fault::absent)
            m_server->stop();
        else if (!m_server->isRunning())
            QVERIFY2(m_server->start(), "the test's PulseAudio daemon did not start");

        ClickLog clicks;
        Heartbeat heartbeat;
        CalculatorState calculator;
        calculator.setBpm(kBpm);
        calculator.setEuclidNote(16);
        calculator.setEuclidSteps(8);
        calculator.setEuclidPulses(3);
        EuclideanRhythmController rhythm;
        rhythm.setCalculator(&calculator);

        heartbeat.start();
        rhythm.startPlayback();
        if (fault != Fault::absent) {
            run(1.0); // playing on the server
            if (fault == Fault::killed)
                m_server->crash();
            else
                m_server->stop(); // waits for the daemon to exit: the test's own hold-up
            heartbeat.start();
        }

        // Without a server: the loop steps on, nothing is printed, the process idles.
        const double faultFrom = FrameClock::now();
        const double cpuBefore = processCpuSeconds();
        const QByteArray printed = stderrWhile([] { run(kFaultWindow); });
        const double cpuShare = (processCpuSeconds() - cpuBefore) / (FrameClock::now() - faultFrom);
        const std::size_t stepsWithout = clicks.since(faultFrom);
        const double blocked = heartbeat.longest();
        qInfo("without a server for %.1f s: %zu steps, CPU %.2f %% of one core, UI thread held up at most "
              "%.1f ms, slowest click %.2f ms",
              kFaultWindow, stepsWithout, cpuShare * 100.0, blocked * 1e3, clicks.slowest * 1e3);
        QVERIFY2(printed.isEmpty(), printed.constData());
        QVERIFY2(std::abs(static_cast<double>(stepsWithout) - kFaultWindow / kStep) <= 2.0,
                 qPrintable(QString::number(stepsWithout)));
        QVERIFY2(cpuShare < 0.05, qPrintable(QString::number(cpuShare * 100.0)));
        QVERIFY2(blocked < 0.050, qPrintable(QString::number(blocked * 1e3)));

        // The server comes back (starting it holds this thread up; that is the test's own doing).
        QVERIFY2(m_server->start(), "the test's PulseAudio daemon did not restart");
        const double back = FrameClock::now();
        heartbeat.start();
        std::atomic<double> reopened{0.0};
        std::thread watcher([&] { reopened = firstStreamSeen(m_server->clientEnvironment(), back + 5.0); });
        Recorder recorder(m_server->clientEnvironment());
        const double settled = FrameClock::now() + kRecorderSettle;
        clicks.slowest = 0.0;
        QByteArray printedAfter = stderrWhile([] { run(kRecorderSettle + 1.5); });
        const double lastRequest = FrameClock::now() - 0.1;
        rhythm.stop();
        run(0.3);
        const double blockedAfter = heartbeat.longest();
        recorder.stop();
        watcher.join();
        qInfo("with the server back: UI thread held up at most %.1f ms, slowest click %.2f ms",
              blockedAfter * 1e3, clicks.slowest * 1e3);
        QVERIFY2(printedAfter.isEmpty(), printedAfter.constData());
        QVERIFY2(blockedAfter < 0.050, qPrintable(QString::number(blockedAfter * 1e3)));
        // The player tries again within its longest retry delay, on the next click after that.
        const double reopenedAfter = reopened - back;
        qInfo("the player's stream was on the server again %.0f ms after it answered", reopenedAfter * 1e3);
        QVERIFY2(reopened > 0.0, "the player did not open a stream on the returned server");
        QVERIFY2(reopenedAfter < RtAudioOutput::kLongestRetryDelay + kStep + 0.2,
                 qPrintable(QString::number(reopenedAfter * 1e3)));

        // Every click requested once the recorder settled sounds, and nothing else does.
        const double recordedFrom = recorder.start(settled);
        QVERIFY2(std::isfinite(recordedFrom), "nothing was recorded");
        std::vector<double> expected;
        for (double at : clicks.requests)
            if (at >= settled && at <= lastRequest)
                expected.push_back(at);
        std::vector<double> heard;
        for (std::size_t frame : onsets(recorder.left(), 0.05f, 2000)) {
            const double at = recordedFrom + static_cast<double>(frame) / kRate;
            if (at >= settled - 0.02 && at <= lastRequest + 0.1)
                heard.push_back(at);
        }
        QVERIFY2(expected.size() >= 8, qPrintable(QString::number(expected.size())));
        std::vector<double> latencies;
        for (double at : expected) {
            const auto found = std::find_if(heard.begin(), heard.end(),
                                            [&](double h) { return h >= at - 0.005 && h <= at + 0.1; });
            QVERIFY2(found != heard.end(),
                     qPrintable(QStringLiteral("the click requested %1 s after the recorder settled was not "
                                               "heard")
                                    .arg(at - settled, 0, 'f', 3)));
            latencies.push_back(*found - at);
        }
        qInfo("after the server returned: %zu of %zu clicks heard (latency %.1f to %.1f ms), %zu sounds "
              "in all",
              latencies.size(), expected.size(), *std::min_element(latencies.begin(), latencies.end()) * 1e3,
              *std::max_element(latencies.begin(), latencies.end()) * 1e3, heard.size());
        // A click may straddle either end of the window; any more is a burst of held-back sounds.
        QVERIFY2(heard.size() <= expected.size() + 2, qPrintable(QString::number(heard.size())));
    }
};

QTEST_GUILESS_MAIN(TestServerFaults)
#include "tst_serverfaults.moc"
