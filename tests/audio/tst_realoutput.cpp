#include "MonitorRecorder.h"
#include "PulseServer.h"
#include "audio/ChordPlayer.h"
#include "audio/FrameClock.h"
#include "audio/SynthBuffers.h"
#include "audio/VoiceMixer.h"

#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <iostream>
#include <numeric>
#include <thread>
#include <unistd.h>

using namespace morvela;

namespace {

constexpr double kRate = 44100.0;

// The sink plays ahead of a fresh recorder for a while; sounds wait until it has settled.
constexpr int kRecorderSettleMs = 2500;

// Interpolated frame positions where |signal| first rises through `threshold`, at least
// `gap` frames apart.
std::vector<double> onsets(const std::vector<float>& signal, float threshold, std::size_t gap)
{
    std::vector<double> result;
    for (std::size_t i = 1; i < signal.size(); ++i) {
        const float before = std::abs(signal[i - 1]);
        const float now = std::abs(signal[i]);
        if (before < threshold && now >= threshold) {
            result.push_back(static_cast<double>(i - 1) + (threshold - before) / (now - before));
            i += gap;
        }
    }
    return result;
}

// Frequency from the rising zero crossings in [from, to).
double frequency(const std::vector<float>& signal, std::size_t from, std::size_t to)
{
    std::vector<double> crossings;
    for (std::size_t i = from + 1; i < std::min(to, signal.size()); ++i)
        if (signal[i - 1] < 0.0f && signal[i] >= 0.0f)
            crossings.push_back(static_cast<double>(i - 1) + signal[i - 1] / (signal[i - 1] - signal[i]));
    if (crossings.size() < 2)
        return 0.0;
    return (static_cast<double>(crossings.size()) - 1.0) / ((crossings.back() - crossings.front()) / kRate);
}

float peak(const std::vector<float>& signal, std::size_t from = 0, std::size_t to = SIZE_MAX)
{
    float result = 0.0f;
    for (std::size_t i = from; i < std::min(to, signal.size()); ++i)
        result = std::max(result, std::abs(signal[i]));
    return result;
}

// The steady-clock instant of recorded frame 0. Each chunk arrives when the sink has played it,
// give or take scheduling: the tenth percentile of arrival - endFrame / rate over the chunks that
// arrived in [from, to] is the recording's timeline, free of late reads.
double recordingStart(const std::vector<MonitorRecorder::Chunk>& chunks, double from, double to)
{
    std::vector<double> offsets;
    for (const auto& chunk : chunks)
        if (chunk.arrival >= from && chunk.arrival <= to)
            offsets.push_back(chunk.arrival - static_cast<double>(chunk.endFrame) / kRate);
    if (offsets.empty())
        return std::nan("");
    std::sort(offsets.begin(), offsets.end());
    return offsets[offsets.size() / 10];
}

// Everything this process writes to stdout and stderr while it exists goes to a file.
class OutputCapture {
public:
    OutputCapture()
    {
        m_file.open();
        std::fflush(nullptr);
        std::cout.flush();
        std::cerr.flush();
        m_stdout = dup(STDOUT_FILENO);
        m_stderr = dup(STDERR_FILENO);
        dup2(m_file.handle(), STDOUT_FILENO);
        dup2(m_file.handle(), STDERR_FILENO);
    }
    // Restores stdout and stderr; returns what was written meanwhile.
    QByteArray finish()
    {
        std::fflush(nullptr);
        std::cout.flush();
        std::cerr.flush();
        dup2(m_stdout, STDOUT_FILENO);
        dup2(m_stderr, STDERR_FILENO);
        close(m_stdout);
        close(m_stderr);
        m_file.seek(0);
        return m_file.readAll();
    }

private:
    QTemporaryFile m_file;
    int m_stdout = -1;
    int m_stderr = -1;
};

double processSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void sleepMs(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

// What the monitor recorded of one attempt at a measurement.
struct Take {
    std::vector<float> left;
    std::vector<float> right;
    std::vector<MonitorRecorder::Chunk> chunks;
    std::vector<double> requests; // instants at which the clicks were requested
    double slowestRequest = 0.0;  // longest a click request took to return, in seconds
    bool disturbed = false;       // the machine held the stream or a request up
};

// The chord player as the application has it, on a PulseAudio daemon of the test's own.
//
// A measurement is repeated (up to three times) when the machine demonstrably disturbed it: the
// server reports that our stream ran dry, or the test thread was held up while requesting a
// click. A fault of the player shows in every attempt; the thresholds are never relaxed.
class TestRealOutput : public QObject {
    Q_OBJECT

    static constexpr int kAttempts = 3;

    QTemporaryDir m_directory{QDir::tempPath() + "/morvela-pulse-XXXXXX"};
    std::unique_ptr<PulseServer> m_server;

    // Records while `play` runs, after the recorder has settled, and for `tail` ms after.
    template <typename Play> Take record(Play&& play, int tail)
    {
        Take take;
        MonitorRecorder recorder(m_server->clientEnvironment());
        if (!recorder.start())
            return take;
        sleepMs(kRecorderSettleMs);
        const int underruns = m_server->underruns();
        play(take);
        sleepMs(tail);
        take.disturbed = take.disturbed || m_server->underruns() > underruns;
        recorder.stop();
        take.left = std::move(recorder.left);
        take.right = std::move(recorder.right);
        take.chunks = std::move(recorder.chunks);
        return take;
    }

    template <typename Play> Take recordUndisturbed(Play&& play, int tail)
    {
        Take take;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            take = record(play, tail);
            if (!take.disturbed)
                break;
            qInfo("attempt %d was disturbed by the machine (stream ran dry or request held up)", attempt);
        }
        return take;
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!PulseServer::isInstalled())
            QSKIP("pulseaudio, parecord and pactl are needed (scripts/install-deps installs them)");
        QVERIFY(m_directory.isValid());
        m_server = std::make_unique<PulseServer>(m_directory.path());
        QVERIFY2(m_server->start(), "the test's PulseAudio daemon did not start");
        qputenv("PULSE_SERVER", m_server->address().toLocal8Bit());
    }
    void cleanupTestCase() { m_server.reset(); }

    void toneHasItsPitchAndLevel()
    {
        const Take take = recordUndisturbed(
            [](Take&) {
                // A silent click starts the output first: when a stream joins the null sink, the
                // sink rewinds, and its monitor may then lose the stream's first milliseconds.
                ChordPlayer::shared().playTick(1760.0, 0.0f);
                sleepMs(300);
                ChordPlayer::shared().playTone(440.0);
            },
            2000);

        const auto found = onsets(take.left, 0.01f, 0);
        QVERIFY2(!found.empty(), "the tone was not recorded");
        const auto start = static_cast<std::size_t>(found.front());
        QVERIFY(start > 200);
        QCOMPARE(peak(take.left, 0, start - 200), 0.0f); // silent until then

        const double pitch = frequency(take.left, start + 2205, start + 44100);
        const float level = peak(take.left, start, start + 4410);
        const float expected = 0.9f * peak(makePartialsBuffer({{440.0, 1.0f}}));
        qInfo("tone: %.3f Hz, peak %.4f (%.4f in the buffer times 0.9)", pitch, level, expected);
        QVERIFY2(std::abs(pitch - 440.0) < 1.0, qPrintable(QString::number(pitch)));
        QVERIFY2(std::abs(level / (0.55f * 0.9f) - 1.0f) < 0.02f, qPrintable(QString::number(level)));
        QVERIFY2(std::abs(level - expected) < 0.002f, qPrintable(QString::number(level)));
        QVERIFY(take.left == take.right);

        // Sample for sample what the mixer made of it, so without a dropout: the recording is
        // silent (exactly 0) up to the buffer's second sample, the first that is not 0.
        const auto firstSound =
            std::find_if(take.left.begin(), take.left.end(), [](float s) { return s != 0.0f; });
        const auto origin = static_cast<std::size_t>(firstSound - take.left.begin()) - 1;
        const auto tone = makePartialsBuffer({{440.0, 1.0f}});
        QVERIFY(origin + tone.size() <= take.left.size());
        float worst = 0.0f;
        std::size_t worstFrame = 0;
        for (std::size_t i = 0; i < tone.size(); ++i) {
            const float difference = std::abs(take.left[origin + i] - tone[i] * VoiceMixer::kVolume);
            if (difference > worst) {
                worst = difference;
                worstFrame = i;
            }
        }
        QVERIFY2(worst < 1e-4f,
                 qPrintable(QStringLiteral("frame %1 of the tone differs by %2").arg(worstFrame).arg(worst)));
    }

    void clickTrainKeepsTheTimerSpacing()
    {
        const Take take = recordUndisturbed(
            [](Take& take) {
                ChordPlayer::shared().playTick(1760.0, 0.55f); // starts the output
                sleepMs(300);
                const auto first = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
                for (int k = 0; k < 32; ++k) {
                    std::this_thread::sleep_until(first + k * std::chrono::milliseconds(125));
                    const double requested = FrameClock::now();
                    ChordPlayer::shared().playTick(1760.0, 0.55f);
                    take.requests.push_back(requested);
                    take.slowestRequest = std::max(take.slowestRequest, FrameClock::now() - requested);
                }
                // Held up for longer than the start latency leaves for it, a click is late.
                take.disturbed = take.slowestRequest > VoiceMixer::kStartMargin;
            },
            500);
        const auto& requests = take.requests;
        QCOMPARE(requests.size(), std::size_t(32));

        const float threshold = 0.05f;
        auto found = onsets(take.left, threshold, 2000);
        QCOMPARE(found.size(), requests.size() + 1);
        found.erase(found.begin());
        // Where the threshold is crossed within a click, to find the click's first frame.
        const auto click = makeTickBuffer(1760.0, 0.55f);
        std::vector<float> played(click.size());
        std::transform(click.begin(), click.end(), played.begin(),
                       [](float s) { return s * VoiceMixer::kVolume; });
        const double rise = onsets(played, threshold, 0).front();

        std::vector<double> deviations;
        for (std::size_t k = 1; k < found.size(); ++k)
            deviations.push_back((found[k] - found[k - 1]) / kRate - (requests[k] - requests[k - 1]));
        const double mean = std::accumulate(deviations.begin(), deviations.end(), 0.0) / deviations.size();
        double variance = 0.0;
        double worst = 0.0;
        for (double d : deviations) {
            variance += (d - mean) * (d - mean);
            worst = std::max(worst, std::abs(d));
        }
        const double sd = std::sqrt(variance / deviations.size());

        const double recordedFrom = recordingStart(take.chunks, requests.front(), requests.back() + 0.2);
        std::vector<double> latencies;
        for (std::size_t k = 0; k < found.size(); ++k)
            latencies.push_back(recordedFrom + (found[k] - rise) / kRate - requests[k]);
        const auto [shortest, longest] = std::minmax_element(latencies.begin(), latencies.end());
        const double meanLatency =
            std::accumulate(latencies.begin(), latencies.end(), 0.0) / latencies.size();

        qInfo("clicks: interval deviation from the requests sd %.3f ms, worst %.3f ms; "
              "latency %.2f ms mean, %.2f to %.2f ms; slowest request %.3f ms",
              sd * 1e3, worst * 1e3, meanLatency * 1e3, *shortest * 1e3, *longest * 1e3,
              take.slowestRequest * 1e3);
        QVERIFY2(sd < 0.0005, qPrintable(QString::number(sd * 1e3)));
        QVERIFY2(worst < 0.0015, qPrintable(QString::number(worst * 1e3)));
        QVERIFY2(*longest < 0.030, qPrintable(QString::number(*longest * 1e3)));
        QVERIFY2(*shortest > 0.0, qPrintable(QString::number(*shortest * 1e3)));
    }

    void stoppedServerDropsSoundsSilently()
    {
        ChordPlayer::shared().playTick(1760.0, 0.0f); // the output runs when the server goes
        sleepMs(100);
        m_server->stop();
        // The stream fails; its callback must stop rather than fail over and over.
        const double cpuBefore = processSeconds();
        sleepMs(1000);
        const double cpuUsed = processSeconds() - cpuBefore;
        qInfo("CPU time in the second after the server stopped: %.1f ms", cpuUsed * 1e3);
        QVERIFY2(cpuUsed < 0.1, qPrintable(QString::number(cpuUsed)));

        std::vector<double> durations;
        OutputCapture capture;
        for (int i = 0; i < 10; ++i) {
            const double before = FrameClock::now();
            if (i % 3 == 0)
                ChordPlayer::shared().playTone(440.0);
            else if (i % 3 == 1)
                ChordPlayer::shared().playTriad(220.0, TriadQuality::major);
            else
                ChordPlayer::shared().playTick(1760.0, 0.55f);
            durations.push_back(FrameClock::now() - before);
            sleepMs(50);
        }
        const QByteArray printed = capture.finish();
        const double slowest = *std::max_element(durations.begin(), durations.end());
        qInfo("without a server, the slowest of 10 sounds returned after %.2f ms", slowest * 1e3);
        QVERIFY2(printed.isEmpty(), printed.constData());
        // Dropped at once: no wait for a connection timeout.
        QVERIFY2(slowest < 1.0, qPrintable(QString::number(slowest)));
    }

    void firstSoundAfterTheServerReturnsPlays()
    {
        QVERIFY2(m_server->start(), "the test's PulseAudio daemon did not restart");
        QByteArray printed;
        const Take take = record(
            [&](Take&) {
                OutputCapture capture;
                ChordPlayer::shared().playTone(440.0);
                sleepMs(2000);
                printed = capture.finish();
            },
            0);
        QVERIFY2(printed.isEmpty(), printed.constData());
        const auto found = onsets(take.left, 0.01f, 0);
        QVERIFY2(!found.empty(), "the tone was not recorded");
        const auto start = static_cast<std::size_t>(found.front());
        const float level = peak(take.left, start, start + 4410);
        QVERIFY2(std::abs(level / (0.55f * 0.9f) - 1.0f) < 0.02f, qPrintable(QString::number(level)));
    }
};

QTEST_GUILESS_MAIN(TestRealOutput)
#include "tst_realoutput.moc"
