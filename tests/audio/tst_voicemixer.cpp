#include "audio/VoiceMixer.h"

#include <QtTest>

#include <atomic>
#include <cmath>
#include <random>
#include <thread>

using namespace morvela;

namespace {

constexpr double kRate = 44100.0;
constexpr std::size_t kPeriod = 256;

std::vector<float> constant(float value, std::size_t frames)
{
    return std::vector<float>(frames, value);
}

// Plays the device: callbacks of 256 frames, callback k due at start + k periods and arriving
// `lateness(k)` seconds after that; keeps what was rendered.
class Device {
public:
    explicit Device(VoiceMixer& mixer, std::function<double(int)> lateness = {})
        : m_mixer(mixer), m_lateness(std::move(lateness))
    {
    }

    static constexpr double kStart = 5000.0;
    static double dueTime(std::int64_t frame) { return kStart + static_cast<double>(frame) / kRate; }

    // Runs every callback that arrives up to `instant`.
    void runUntil(double instant)
    {
        while (arrival(m_callbacks) <= instant)
            callback();
    }
    void runFrames(std::int64_t frames)
    {
        for (std::int64_t done = 0; done < frames; done += kPeriod)
            callback();
    }
    double arrival(int callback) const
    {
        return dueTime(static_cast<std::int64_t>(callback) * kPeriod) +
               (m_lateness ? m_lateness(callback) : 0.0);
    }
    // First frame at or after `from` whose level differs from silence by more than `threshold`.
    std::int64_t firstSound(std::int64_t from = 0, float threshold = 1e-6f) const
    {
        for (auto i = static_cast<std::size_t>(from); i < left.size(); ++i)
            if (std::abs(left[i]) > threshold)
                return static_cast<std::int64_t>(i);
        return -1;
    }

    std::vector<float> left;
    bool channelsDiffer = false;

private:
    void callback()
    {
        float buffer[2 * kPeriod];
        m_mixer.render(buffer, kPeriod, arrival(m_callbacks));
        for (std::size_t i = 0; i < kPeriod; ++i) {
            left.push_back(buffer[2 * i]);
            channelsDiffer = channelsDiffer || buffer[2 * i] != buffer[2 * i + 1];
        }
        ++m_callbacks;
    }

    VoiceMixer& m_mixer;
    std::function<double(int)> m_lateness;
    int m_callbacks = 0;
};

// Where a sound requested at `instant` belongs on a device whose callbacks are due on time.
std::int64_t expectedStart(double instant, double timelineShift = 0.0)
{
    return std::llround((instant + VoiceMixer::kStartLatency - Device::kStart - timelineShift) * kRate);
}

std::function<double(int)> latenessPattern(const QString& name)
{
    if (name == "on time")
        return {};
    if (name == "late by up to 2 ms") {
        auto random = std::make_shared<std::mt19937>(7);
        auto values = std::make_shared<std::vector<double>>();
        return [random, values](int k) {
            while (values->size() <= static_cast<std::size_t>(k))
                values->push_back(std::uniform_real_distribution<double>(0.0, 0.002)(*random));
            return (*values)[static_cast<std::size_t>(k)];
        };
    }
    if (name == "in pairs")
        return [](int k) { return k % 2 == 0 ? kPeriod / kRate : 0.0; };
    // Four callbacks at once to fill the device's queue, then one per period.
    return [](int k) { return k < 4 ? (3 - k) * kPeriod / kRate : 0.0; };
}

} // namespace

class TestVoiceMixer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sumsVoicesAtVolumeIntoBothChannels()
    {
        VoiceMixer mixer;
        Device device(mixer);
        const double at = Device::dueTime(1000);
        device.runUntil(at);
        QVERIFY(mixer.play(0, constant(0.125f, 20000), at));
        QVERIFY(mixer.play(1, constant(0.25f, 20000), at));
        QVERIFY(mixer.play(15, constant(-0.0625f, 20000), at));
        device.runFrames(10000);
        const std::int64_t start = device.firstSound();
        QCOMPARE(start, expectedStart(at));
        QCOMPARE(device.left[start + 100], (0.125f + 0.25f - 0.0625f) * 0.9f);
        QCOMPARE(device.left[start - 1], 0.0f);
        QVERIFY(!device.channelsDiffer);
    }

    void startsAtRequestPlusLatency_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<double>("phase"); // of the request within a callback period
        for (const char* pattern : {"on time", "late by up to 2 ms", "in pairs", "queue filled at start"})
            for (double phase : {0.0, 0.3, 0.5, 0.99})
                QTest::addRow("%s, %.2f period", pattern, phase) << QString(pattern) << phase;
    }
    void startsAtRequestPlusLatency()
    {
        QFETCH(QString, pattern);
        QFETCH(double, phase);
        VoiceMixer mixer;
        Device device(mixer, latenessPattern(pattern));
        const double at = Device::dueTime((200 + phase) * kPeriod);
        device.runUntil(at);
        mixer.play(3, constant(1.0f, 1000), at);
        device.runFrames(4096);
        const std::int64_t error = device.firstSound() - expectedStart(at);
        // Callbacks up to 2 ms late make the clock err by a fraction of that, never beyond.
        QVERIFY2(std::abs(error) <= (pattern == "late by up to 2 ms" ? 20 : 1),
                 qPrintable(QString::number(error)));
    }

    void keepsTheSpacingOfTheRequests_data()
    {
        QTest::addColumn<QString>("pattern");
        for (const char* pattern : {"on time", "late by up to 2 ms", "in pairs", "queue filled at start"})
            QTest::newRow(pattern) << QString(pattern);
    }
    void keepsTheSpacingOfTheRequests()
    {
        QFETCH(QString, pattern);
        VoiceMixer mixer;
        Device device(mixer, latenessPattern(pattern));
        std::mt19937 random(11);
        std::vector<double> requests;
        for (int k = 0; k < 32; ++k)
            requests.push_back(Device::kStart + 0.05 + 0.125 * k +
                               std::uniform_real_distribution<double>(0.0, 0.003)(random));
        for (std::size_t k = 0; k < requests.size(); ++k) {
            device.runUntil(requests[k]);
            QVERIFY(mixer.play(static_cast<int>(k % VoiceMixer::kVoices), constant(1.0f, 100), requests[k]));
        }
        device.runFrames(20000);
        std::int64_t from = 0;
        std::vector<std::int64_t> starts;
        while ((from = device.firstSound(from)) >= 0) {
            starts.push_back(from);
            from += 100;
        }
        QCOMPARE(starts.size(), requests.size());
        std::int64_t worst = 0;
        for (std::size_t k = 1; k < starts.size(); ++k) {
            const std::int64_t wanted = std::llround((requests[k] - requests[k - 1]) * kRate);
            worst = std::max(worst, std::abs(starts[k] - starts[k - 1] - wanted));
        }
        // One frame of rounding; callbacks late by up to 2 ms may move the clock by a fraction
        // of that between two requests (starting at the next callback instead would err by up
        // to 256 frames).
        QVERIFY2(worst <= (pattern == "late by up to 2 ms" ? 22 : 1), qPrintable(QString::number(worst)));
    }

    void followsTheDeviceAfterLostTime()
    {
        // From callback 100 on, the device delivers 50 ms later than before, as after an underrun.
        VoiceMixer mixer;
        Device device(mixer, [](int k) { return k >= 100 ? 0.05 : 0.0; });
        const double at = Device::dueTime(200 * kPeriod) + 0.05;
        device.runUntil(at);
        mixer.play(0, constant(1.0f, 100), at);
        device.runFrames(4096);
        QCOMPARE(device.firstSound(), expectedStart(at, 0.05));
    }

    void lateSoundStartsAtOnce()
    {
        VoiceMixer mixer;
        Device device(mixer);
        device.runUntil(Device::dueTime(100 * kPeriod));
        // Requested 20 ms ago: its frame has long been rendered.
        mixer.play(0, constant(1.0f, 100), Device::dueTime(100 * kPeriod) - 0.02);
        device.runFrames(kPeriod);
        QCOMPARE(device.firstSound(), 101 * static_cast<std::int64_t>(kPeriod));
    }

    void newSoundStopsTheVoiceAtItsFirstFrame()
    {
        VoiceMixer mixer;
        Device device(mixer);
        const double first = Device::dueTime(50 * kPeriod);
        device.runUntil(first);
        mixer.play(4, constant(1.0f, 50000), first);
        const double second = first + 0.1;
        device.runUntil(second);
        mixer.play(4, constant(2.0f, 1000), second);
        mixer.play(5, constant(0.5f, 50000), second);
        device.runFrames(20000);
        const std::int64_t cut = expectedStart(second);
        QCOMPARE(device.left[cut - 1], 0.9f);
        QCOMPARE(device.left[cut], 2.5f * 0.9f);
        QCOMPARE(device.left[cut + 999], 2.5f * 0.9f);
        QCOMPARE(device.left[cut + 1000], 0.5f * 0.9f);
    }

    void releasesWhatIsDone()
    {
        VoiceMixer mixer;
        Device device(mixer);
        device.runUntil(Device::dueTime(0));
        mixer.play(0, constant(1.0f, 300), Device::kStart);
        mixer.play(1, constant(1.0f, 3000), Device::kStart);
        mixer.play(0, constant(1.0f, 30000), Device::kStart + 0.001); // cuts the first
        QCOMPARE(mixer.buffersInUse(), std::size_t(3));
        device.runFrames(1024);
        mixer.collectFinished();
        QCOMPARE(mixer.buffersInUse(), std::size_t(2)); // the first never started
        device.runFrames(4096);
        mixer.collectFinished();
        QCOMPARE(mixer.buffersInUse(), std::size_t(1));
        device.runFrames(30000);
        mixer.collectFinished();
        QCOMPARE(mixer.buffersInUse(), std::size_t(0));
    }

    void restartForgetsTheOldStream()
    {
        VoiceMixer mixer;
        Device device(mixer);
        device.runUntil(Device::kStart);
        mixer.play(0, constant(1.0f, 100000), Device::kStart);
        device.runFrames(4096);
        QVERIFY(device.firstSound() >= 0);
        mixer.play(1, constant(1.0f, 100000), Device::kStart + 0.1); // never rendered in that stream
        mixer.restart();
        Device next(mixer);
        next.runUntil(Device::kStart);
        next.runFrames(4096);
        QCOMPARE(next.firstSound(), std::int64_t(-1));
        mixer.collectFinished();
        QCOMPARE(mixer.buffersInUse(), std::size_t(0));

        mixer.play(2, constant(1.0f, 100), Device::kStart + 0.2);
        next.runFrames(20000);
        QCOMPARE(next.firstSound(), expectedStart(Device::kStart + 0.2));
    }

    void dropsSoundsWhileTheCallbackStalls()
    {
        VoiceMixer mixer;
        int accepted = 0;
        for (int i = 0; i < 100; ++i)
            accepted += mixer.play(i % VoiceMixer::kVoices, constant(1.0f, 10), Device::kStart) ? 1 : 0;
        QCOMPARE(accepted, 63);
        QCOMPARE(mixer.buffersInUse(), std::size_t(63));
        Device device(mixer);
        device.runFrames(2048);
        mixer.collectFinished();
        // Each voice kept its newest sound, which has played out.
        QCOMPARE(mixer.buffersInUse(), std::size_t(0));
        QVERIFY(mixer.play(0, constant(1.0f, 10), Device::kStart));
    }

    void frameClock_data()
    {
        QTest::addColumn<double>("drift"); // sound card rate / nominal - 1
        QTest::addColumn<double>("jitter");
        QTest::addColumn<double>("worstError");
        QTest::addColumn<double>("meanError");
        QTest::newRow("exact") << 0.0 << 0.0 << 1e-9 << 1e-9;
        QTest::newRow("card 100 ppm slow") << -100e-6 << 0.0 << 25e-6 << 25e-6;
        QTest::newRow("card 100 ppm fast") << 100e-6 << 0.0 << 1e-9 << 1e-9;
        // The lowest of 32 lateness values uniform in [0, 1 ms]: 30 µs on average.
        QTest::newRow("late by up to 1 ms") << 0.0 << 0.001 << 400e-6 << 50e-6;
        QTest::newRow("slow card, late by up to 1 ms") << -100e-6 << 0.001 << 400e-6 << 70e-6;
    }
    void frameClock()
    {
        QFETCH(double, drift);
        QFETCH(double, jitter);
        QFETCH(double, worstError);
        QFETCH(double, meanError);
        FrameClock clock(kRate);
        std::mt19937 random(3);
        double worst = 0.0;
        double total = 0.0;
        int count = 0;
        for (int k = 0; k < 20000; ++k) {
            const std::int64_t frame = static_cast<std::int64_t>(k) * kPeriod;
            const double due = 100.0 + static_cast<double>(frame) / (kRate * (1.0 + drift));
            clock.observe(frame, due + std::uniform_real_distribution<double>(0.0, jitter)(random));
            if (k >= 32) {
                const double error = std::abs(clock.frameAt(due) - static_cast<double>(frame)) / kRate;
                worst = std::max(worst, error);
                total += error;
                ++count;
            }
        }
        QVERIFY2(worst <= worstError, qPrintable(QString::number(worst * 1e6) + " µs"));
        QVERIFY2(total / count <= meanError, qPrintable(QString::number(total / count * 1e6) + " µs"));
    }

    void playsWhileTheCallbackRunsOnItsOwnThread()
    {
        VoiceMixer mixer;
        std::atomic<bool> running{true};
        std::atomic<bool> channelsDiffer{false};
        std::thread audio([&] {
            float buffer[2 * kPeriod];
            while (running.load()) {
                mixer.render(buffer, kPeriod, FrameClock::now());
                for (std::size_t i = 0; i < kPeriod; ++i)
                    if (buffer[2 * i] != buffer[2 * i + 1])
                        channelsDiffer = true;
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
        int accepted = 0;
        for (int i = 0; i < 3000; ++i) {
            accepted +=
                mixer.play(i % VoiceMixer::kVoices, constant(0.01f, 64 + i % 700), FrameClock::now()) ? 1 : 0;
            if (i % 50 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        for (int wait = 0; wait < 1000 && mixer.buffersInUse() > 0; ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            mixer.collectFinished();
        }
        running = false;
        audio.join();
        QCOMPARE(mixer.buffersInUse(), std::size_t(0));
        QVERIFY(accepted > 0);
        QVERIFY(!channelsDiffer);
    }
};

QTEST_APPLESS_MAIN(TestVoiceMixer)
#include "tst_voicemixer.moc"
