#include "AwakeCpus.h"
#include "PulseServer.h"
#include "RecordedOutput.h"
#include "audio/ChordPlayer.h"
#include "audio/FrameClock.h"
#include "audio/SynthBuffers.h"
#include "audio/VoiceMixer.h"
#include "model/CalculatorState.h"
#include "tools/harmony/CircleOfFifthsController.h"
#include "tools/rhythm/EuclideanRhythmController.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <functional>
#include <numeric>
#include <thread>

using namespace morvela;

namespace {

using recorded::kRate;
using recorded::onsets;

// The sink plays ahead of a fresh recorder for a while; sounds wait until it has settled.
constexpr int kRecorderSettleMs = 2500;

// How closely a loop's sounds keep its period through the server, in seconds.
constexpr double kMeanBound = 0.00002;
constexpr double kSdBound = 0.00005;
// A measurement is taken up to this many times while the machine disturbs it (or a loop misses its bound).
constexpr int kAttempts = 5;

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

// What the monitor recorded of one attempt at a measurement.
struct Take {
    std::vector<float> left;
    std::vector<float> right;
    std::vector<recorded::Read> chunks;
    std::vector<double> requests; // instants at which the clicks were requested
    double slowestRequest = 0.0;  // longest a click request took to return, in seconds
    bool disturbed = false;       // the machine held the stream or a request up
};

// The recorded clicks of a loop: where each starts (its first frame, found from the threshold
// crossing less that of its own waveform) and whether it is the loud one.
struct Clicks {
    std::vector<double> starts;
    std::vector<bool> loud;
};

Clicks findClicks(const std::vector<float>& recorded)
{
    const float threshold = 0.05f;
    const auto rise = [&](double frequency, float gain) {
        auto click = makeTickBuffer(frequency, gain);
        for (float& s : click)
            s *= VoiceMixer::kVolume;
        return onsets(click, threshold, 0).front();
    };
    const double loudRise = rise(1760.0, 0.55f);
    const double softRise = rise(1175.0, 0.16f);
    Clicks clicks;
    for (double onset : onsets(recorded, threshold, 2000)) {
        const auto from = static_cast<std::size_t>(onset);
        float peak = 0.0f;
        for (std::size_t i = from; i < std::min(from + 400, recorded.size()); ++i)
            peak = std::max(peak, std::abs(recorded[i]));
        const bool loud = peak > 0.3f;
        clicks.starts.push_back(onset - (loud ? loudRise : softRise));
        clicks.loud.push_back(loud);
    }
    return clicks;
}

// Mean and standard deviation of the spacing of the clicks, in steady-clock seconds.
std::pair<double, double> spacing(const Take& take, const std::vector<double>& starts)
{
    const double rate = recorded::rate(take.chunks, take.requests.front(), take.requests.back() + 0.1);
    std::vector<double> gaps;
    for (std::size_t k = 1; k < starts.size(); ++k)
        gaps.push_back((starts[k] - starts[k - 1]) / rate);
    if (gaps.empty() || !(rate > 0.0))
        return {std::nan(""), std::nan("")};
    const double mean = std::accumulate(gaps.begin(), gaps.end(), 0.0) / gaps.size();
    double variance = 0.0;
    for (double d : gaps)
        variance += (d - mean) * (d - mean);
    return {mean, std::sqrt(variance / gaps.size())};
}

// Passes every sound on to the application's player, noting when each was asked for.
class CountingOutput final : public SoundOutput {
public:
    explicit CountingOutput(Take& take) : m_take(take) { Sound::setOutput(this); }
    ~CountingOutput() override { Sound::setOutput(nullptr); }

    void playTriad(double root, TriadQuality quality, Instant at) override
    {
        note(at, [&] { ChordPlayer::shared().playTriad(root, quality, at); });
        const auto notes = triadFrequencies(root, quality);
        triads.push_back(makeBuffer({notes.begin(), notes.end()}));
    }
    void playTone(double, Instant) override {}
    void playPartials(const std::vector<Partial>&, Instant) override {}
    void playTick(double frequency, float gain, Instant at) override
    {
        note(at, [&] { ChordPlayer::shared().playTick(frequency, gain, at); });
    }

    std::vector<std::vector<float>> triads; // what each chord played renders, in order

private:
    template <typename Play> void note(Instant at, Play&& play)
    {
        const double requested = at.value_or(FrameClock::now());
        play();
        m_take.requests.push_back(requested);
        // A tick's sound handed over after the frame it belongs to was rendered is late.
        if (at) {
            m_take.slowestRequest = std::max(m_take.slowestRequest, FrameClock::now() - requested);
            m_take.disturbed = m_take.slowestRequest > VoiceMixer::kStartMargin;
        }
    }

    Take& m_take;
};

void sleepMs(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// Runs the event loop, and with it the application's loop clock, until `count` sounds were asked for.
void runUntilRequested(const Take& take, std::size_t count)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (take.requests.size() >= count)
            loop.quit();
    });
    poll.start(1);
    loop.exec();
}

} // namespace

// The chord player as the application has it, on a PulseAudio daemon of the test's own.
//
// A measurement is repeated (up to five times) when the machine demonstrably disturbed
// it: the server reports that our stream ran dry, or the test thread was held up while requesting a click. A
// take's spacing is measured once more when it misses its bound, since a busy machine delays the audio
// callbacks the mixer's clock learns from. A fault of the player shows in every attempt; the thresholds are
// never relaxed. Every take runs with the CPUs kept awake (see AwakeCpus).
class TestRealOutput : public QObject {
    Q_OBJECT

    QTemporaryDir m_directory{QDir::tempPath() + "/morvela-pulse-XXXXXX"};
    std::unique_ptr<PulseServer> m_server;

    // Records while `play` runs, after the recorder has settled, and for `tail` ms after; again
    // while the take was disturbed or is not `good`.
    template <typename Play>
    Take record(Play&& play, int tail, const std::function<bool(const Take&)>& good = {})
    {
        Take take;
        for (int attempt = 1; attempt <= kAttempts; ++attempt) {
            take = Take();
            const AwakeCpus awake;
            recorded::Recording recording(m_server->clientEnvironment());
            sleepMs(kRecorderSettleMs);
            const int underruns = m_server->underruns();
            play(take);
            sleepMs(tail);
            const int ranDry = m_server->underruns() - underruns;
            take.disturbed = take.disturbed || ranDry > 0;
            recording.stop();
            take.left = std::move(recording.left);
            take.right = std::move(recording.right);
            take.chunks = std::move(recording.reads);
            if (take.disturbed)
                qInfo("attempt %d was disturbed by the machine: the stream ran dry %d times, "
                      "the slowest request took %.2f ms",
                      attempt, ranDry, take.slowestRequest * 1e3);
            else if (good && !good(take))
                qInfo("attempt %d missed its bound", attempt);
            else
                break;
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
        const Take take = record(
            [](Take&) {
                // A silent click starts the output first: when a stream joins the null sink, the
                // sink rewinds, and its monitor may then lose the stream's first milliseconds.
                ChordPlayer::shared().playTick(1760.0, 0.0f);
                sleepMs(300);
                ChordPlayer::shared().playTone(440.0);
            },
            2000);
        const auto& left = take.left;
        const auto found = onsets(left, 0.01f, 0);
        QVERIFY2(!found.empty(), "the tone was not recorded");
        const auto start = static_cast<std::size_t>(found.front());
        const double pitch = frequency(left, start + 2205, start + 44100);
        QVERIFY(start + 4410 <= left.size());
        const float level =
            std::abs(*std::max_element(left.begin() + start, left.begin() + start + 4410,
                                       [](float a, float b) { return std::abs(a) < std::abs(b); }));
        qInfo("tone: %.3f Hz, peak %.4f", pitch, level);
        QVERIFY2(std::abs(pitch - 440.0) < 1.0, qPrintable(QString::number(pitch)));
        QVERIFY2(std::abs(level / (0.55f * 0.9f) - 1.0f) < 0.02f, qPrintable(QString::number(level)));
        QVERIFY(left == take.right);

        // Sample for sample what the mixer made of it, so without a dropout: the recording is
        // silent (exactly 0) up to the buffer's second sample, the first that is not 0.
        const auto origin =
            static_cast<std::size_t>(
                std::find_if(left.begin(), left.end(), [](float s) { return s != 0.0f; }) - left.begin()) -
            1;
        const auto tone = makePartialsBuffer({{440.0, 1.0f}});
        QVERIFY(origin + tone.size() <= left.size());
        float worst = 0.0f;
        for (std::size_t i = 0; i < tone.size(); ++i)
            worst = std::max(worst, std::abs(left[origin + i] - tone[i] * VoiceMixer::kVolume));
        QVERIFY2(worst < 1e-4f, qPrintable(QString::number(worst)));
    }

    void clickTrainKeepsTheTimerSpacing()
    {
        // Where the threshold is crossed within a click, to find the click's first frame.
        const float threshold = 0.05f;
        auto click = makeTickBuffer(1760.0, 0.55f);
        for (float& s : click)
            s *= VoiceMixer::kVolume;
        const double rise = onsets(click, threshold, 0).front();
        struct Spacing {
            std::size_t found = 0; // clicks recorded after the one that started the output
            double sd = 0.0, worst = 0.0, shortest = 0.0, longest = 0.0;
        };
        // How the recorded clicks' intervals deviate from those of their requests, and how long
        // after its request each sounded.
        const auto measure = [&](const Take& take) {
            const auto& requests = take.requests;
            auto found = onsets(take.left, threshold, 2000);
            Spacing result;
            result.found = found.empty() ? 0 : found.size() - 1;
            if (result.found != requests.size())
                return result;
            found.erase(found.begin());
            const double recordedFrom =
                recorded::origin(take.chunks, requests.front(), requests.back() + 0.2);
            std::vector<double> latencies;
            std::vector<double> deviations;
            for (std::size_t k = 0; k < found.size(); ++k) {
                latencies.push_back(recordedFrom + (found[k] - rise) / kRate - requests[k]);
                if (k > 0)
                    deviations.push_back((found[k] - found[k - 1]) / kRate - (requests[k] - requests[k - 1]));
            }
            const double mean =
                std::accumulate(deviations.begin(), deviations.end(), 0.0) / deviations.size();
            double variance = 0.0;
            for (double d : deviations) {
                variance += (d - mean) * (d - mean);
                result.worst = std::max(result.worst, std::abs(d));
            }
            result.sd = std::sqrt(variance / deviations.size());
            const auto [shortest, longest] = std::minmax_element(latencies.begin(), latencies.end());
            result.shortest = *shortest;
            result.longest = *longest;
            qInfo("clicks: interval deviation from the requests sd %.3f ms, worst %.3f ms; latency %.2f to "
                  "%.2f ms; slowest request %.3f ms",
                  result.sd * 1e3, result.worst * 1e3, result.shortest * 1e3, result.longest * 1e3,
                  take.slowestRequest * 1e3);
            return result;
        };
        const Take take = record(
            [](Take& take) {
                ChordPlayer::shared().playTick(1760.0, 0.55f); // starts the output
                sleepMs(300);
                const auto first = std::chrono::steady_clock::now() + std::chrono::milliseconds(50);
                for (int k = 0; k < 32; ++k) {
                    std::this_thread::sleep_until(first + k * std::chrono::milliseconds(125));
                    const double requested = FrameClock::now();
                    ChordPlayer::shared().playTick(1760.0, 0.55f, requested);
                    take.requests.push_back(requested);
                    take.slowestRequest = std::max(take.slowestRequest, FrameClock::now() - requested);
                }
                // Held up for longer than the start latency leaves for it, a click is late.
                take.disturbed = take.slowestRequest > VoiceMixer::kStartMargin;
            },
            500,
            [&](const Take& take) {
                const Spacing spacing = measure(take);
                return spacing.found == take.requests.size() && spacing.sd < 0.0005 && spacing.worst < 0.0015;
            });
        const Spacing spacing = measure(take);
        QCOMPARE(spacing.found, take.requests.size());
        QVERIFY2(spacing.sd < 0.0005, qPrintable(QString::number(spacing.sd * 1e3)));
        QVERIFY2(spacing.worst < 0.0015, qPrintable(QString::number(spacing.worst * 1e3)));
        // A sound before its request: the recording's timeline is wrong, and so would be the above.
        QVERIFY2(spacing.shortest > 0.0, qPrintable(QString::number(spacing.shortest * 1e3)));
    }

    // The Rhythm tool's loop at 130 BPM in sixteenths (115.3846 ms a step), E(3,8): 32 steps on
    // the loop clock after the first, each click carrying its tick's due instant, keep the beat,
    // loud and soft in the pattern's order (a plain millisecond timer scatters them by 0.4 to 0.8 ms).
    void rhythmLoopLandsOnTheBeat()
    {
        constexpr std::size_t kClicks = 33;
        const double interval = 60.0 / 130.0 / 4.0;
        // The first step sounds at the instant the loop starts from, the rest on the loop clock.
        const auto measure = [&](const Take& take) { return spacing(take, findClicks(take.left).starts); };
        const Take take = record(
            [&](Take& take) {
                ChordPlayer::shared().playTick(1760.0, 0.0f); // starts the output, silently
                sleepMs(300);
                CountingOutput output(take);
                CalculatorState calculator;
                calculator.setBpm(130.0);
                EuclideanRhythmController rhythm;
                rhythm.setCalculator(&calculator);
                rhythm.startPlayback();
                runUntilRequested(take, kClicks);
                rhythm.stop();
            },
            500,
            [&](const Take& take) {
                const auto [mean, sd] = measure(take);
                qInfo("take: mean %.4f ms, sd %.4f ms", mean * 1e3, sd * 1e3);
                return std::abs(mean - interval) < kMeanBound && sd < kSdBound;
            });
        const Clicks clicks = findClicks(take.left);
        QCOMPARE(clicks.starts.size(), take.requests.size());
        for (std::size_t k = 0; k < clicks.loud.size(); ++k)
            QVERIFY2(clicks.loud[k] == (k % 8 == 0 || k % 8 == 3 || k % 8 == 6),
                     qPrintable(QString::number(k)));
        const auto [mean, sd] = measure(take);
        QVERIFY2(std::abs(mean - interval) < kMeanBound, qPrintable(QString::number(mean * 1e3, 'f', 4)));
        QVERIFY2(sd < kSdBound, qPrintable(QString::number(sd * 1e3, 'f', 4)));
    }

    // The Harmony tool's progression at 120 BPM (a chord every second, I-V-vi-IV): the first
    // chord at the instant the loop starts from, then seven on the loop clock, each at its tick's
    // due instant.
    // The mean is checked to 0.05 ms: over the take's 10 s, the recording's rate (from when its
    // chunks arrive) is known to some 20 ppm, which at 1 s is 0.02 ms.
    void progressionLandsOnTheBeat()
    {
        constexpr std::size_t kChords = 8;
        std::vector<std::vector<float>> triads;
        const auto measure = [&](const Take& take) {
            return spacing(take, recorded::place(take.left, triads).starts);
        };
        const auto onTheBeat = [&](const Take& take) {
            const auto [mean, sd] = measure(take);
            qInfo("take: mean %.4f ms, sd %.4f ms", mean * 1e3, sd * 1e3);
            return std::abs(mean - 1.0) < 0.00005 && sd < kSdBound;
        };
        const Take take = record(
            [&](Take& take) {
                ChordPlayer::shared().playTick(1760.0, 0.0f); // starts the output, silently
                sleepMs(300);
                CountingOutput output(take);
                CalculatorState calculator;
                calculator.setBpm(120.0);
                calculator.setProgression({0, 4, 5, 3});
                CircleOfFifthsController harmony;
                harmony.setCalculator(&calculator);
                harmony.startPlayback();
                runUntilRequested(take, kChords);
                harmony.stopPlayback();
                triads = output.triads;
            },
            1500, onTheBeat);
        QCOMPARE(recorded::place(take.left, triads).starts.size(), kChords);
        const auto [mean, sd] = measure(take);
        qInfo("chords every %.4f ms, sd %.4f ms", mean * 1e3, sd * 1e3);
        QVERIFY2(std::abs(mean - 1.0) < 0.00005, qPrintable(QString::number(mean * 1e3, 'f', 4)));
        QVERIFY2(sd < kSdBound, qPrintable(QString::number(sd * 1e3, 'f', 4)));
    }
};

QTEST_GUILESS_MAIN(TestRealOutput)
#include "tst_realoutput.moc"
