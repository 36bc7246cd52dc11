#include "audio/RenderPacing.h"
#include "audio/VoiceMixer.h"

#include <QtTest>

#include <malloc.h>

#include <random>
#include <thread>

using namespace morvela;

using Lateness = std::function<double(int)>;
Q_DECLARE_METATYPE(Lateness)

namespace {

constexpr double kRate = 44100.0;
constexpr std::size_t kPeriod = VoiceMixer::kPeriodFrames;
constexpr double kRender = 0.00005; // seconds the callback takes to render a period

std::vector<float> constant(float value, std::size_t frames)
{
    return std::vector<float>(frames, value);
}

// Plays the device: callbacks of 256 frames, callback k due at kStart + k periods (of a device
// running `ppm` fast) and arriving `lateness(k)` seconds after that; keeps the left channel of
// what was rendered.
class Device {
public:
    static constexpr double kStart = 5000.0;

    explicit Device(VoiceMixer& mixer, Lateness lateness = {}, double ppm = 0.0)
        : m_mixer(mixer), m_lateness(std::move(lateness)), m_speed(1.0 + ppm * 1e-6)
    {
    }

    static double dueTime(std::int64_t frame) { return kStart + static_cast<double>(frame) / kRate; }
    // Runs every callback that arrives up to `instant`.
    void runUntil(double instant)
    {
        while (arrival() <= instant)
            callback();
    }
    void runFrames(std::int64_t frames)
    {
        for (std::int64_t done = 0; done < frames; done += kPeriod)
            callback();
    }
    // First frame at or after `from` that is not silent; -1 if there is none.
    std::int64_t firstSound(std::int64_t from = 0) const
    {
        for (auto i = static_cast<std::size_t>(from); i < left.size(); ++i)
            if (std::abs(left[i]) > 1e-6f)
                return static_cast<std::int64_t>(i);
        return -1;
    }

    std::vector<float> left;
    bool channelsDiffer = false;

private:
    double arrival() const
    {
        return kStart + static_cast<double>(m_callbacks) * kPeriod / kRate / m_speed +
               (m_lateness ? m_lateness(m_callbacks) : 0.0);
    }
    void callback()
    {
        float buffer[2 * kPeriod];
        m_mixer.render(buffer, kPeriod, arrival());
        for (std::size_t i = 0; i < kPeriod; ++i) {
            left.push_back(buffer[2 * i]);
            channelsDiffer = channelsDiffer || buffer[2 * i] != buffer[2 * i + 1];
        }
        ++m_callbacks;
    }

    VoiceMixer& m_mixer;
    Lateness m_lateness;
    double m_speed;
    int m_callbacks = 0;
};

// Up to `most` seconds of lateness, the same for callback k on every run.
double jitter(int k, double most)
{
    std::mt19937 random(static_cast<unsigned>(k));
    return std::uniform_real_distribution<double>(0.0, most)(random);
}

// As a PulseAudio null sink (450 ppm fast) asks for callbacks: each a little later than the one
// before and every 13th a period early.
double sawtooth(int k)
{
    return (k % 13) * 0.000165 + jitter(k, 0.0001);
}

// The frame at which a sound requested at `instant` belongs, on a device that runs `ppm` fast
// and delivers `lost` seconds after its callbacks were due.
std::int64_t expectedStart(double instant, double lost = 0.0, double ppm = 0.0)
{
    return std::llround((instant + VoiceMixer::kStartLatency - Device::kStart - lost) * kRate *
                        (1.0 + ppm * 1e-6));
}

} // namespace

class TestVoiceMixer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sumsVoicesAndANewSoundCutsItsVoice()
    {
        VoiceMixer mixer;
        Device device(mixer);
        const double first = Device::dueTime(50 * kPeriod);
        device.runUntil(first);
        QVERIFY(mixer.play(4, constant(1.0f, 50000), first));
        const double second = first + 0.1;
        device.runUntil(second);
        QVERIFY(mixer.play(4, constant(2.0f, 1000), second));
        QVERIFY(mixer.play(15, constant(-0.5f, 50000), second));
        device.runFrames(20000);

        const std::int64_t cut = expectedStart(second);
        QCOMPARE(device.left[cut - 1], 0.9f);
        QCOMPARE(device.left[cut], 1.5f * 0.9f);
        QCOMPARE(device.left[cut + 999], 1.5f * 0.9f);
        QCOMPARE(device.left[cut + 1000], -0.5f * 0.9f);
        QVERIFY(!device.channelsDiffer);
    }

    // Clicks 125 ms apart, each requested at a random point of a callback period, start at the
    // frame that their request instant plus the start latency falls on, however the callbacks
    // arrive: so they keep the spacing of the requests. (Starting each at the next callback
    // instead would err by up to 256 frames.)
    void startsAtRequestPlusLatency_data()
    {
        QTest::addColumn<Lateness>("lateness");
        QTest::addColumn<double>("from");   // first request, seconds after the first callback was due
        QTest::addColumn<double>("lost");   // how much later than due the device delivers by then
        QTest::addColumn<int>("tolerance"); // frames
        QTest::addColumn<double>("ppm");    // how much faster than nominal the device runs
        QTest::addColumn<double>("late");   // how long after its instant each sound is handed over
        QTest::newRow("on time") << Lateness() << 0.05 << 0.0 << 0 << 0.0 << 0.0;
        // Its frame long rendered, a sound starts at once: on the next callback's first frame.
        QTest::newRow("handed over 20 ms late") << Lateness() << 0.05 << 0.0 << 0 << 0.0 << 0.02;
        // The clock keeps the least lateness of its recent callbacks, a fraction of the most.
        QTest::newRow("late by up to 2 ms")
            << Lateness([](int k) { return jitter(k, 0.002); }) << 0.25 << 0.0 << 20 << 0.0 << 0.0;
        // Once it has seconds of callbacks, the clock knows the device's rate and timeline to the
        // frame, however the callbacks jitter.
        QTest::newRow("fast, sawtooth") << Lateness(sawtooth) << 4.0 << 0.0 << 1 << 450.0 << 0.0;
        // The same device losing 50 ms at 4 s (callback 690): the rate it learnt still holds.
        QTest::newRow("fast, sawtooth, time lost")
            << Lateness([](int k) { return sawtooth(k) + (k >= 690 ? 0.05 : 0.0); }) << 4.3 << 0.05 << 1
            << 450.0 << 0.0;
        QTest::newRow("in pairs") << Lateness([](int k) { return k % 2 == 0 ? kPeriod / kRate : 0.0; })
                                  << 0.05 << 0.0 << 0 << 0.0 << 0.0;
        // Four callbacks at once to fill the device's queue, then one per period.
        QTest::newRow("queue filled at start")
            << Lateness([](int k) { return k < 4 ? (3 - k) * kPeriod / kRate : 0.0; }) << 0.05 << 0.0 << 0
            << 0.0 << 0.0;
        // The queue filled, then nothing for 1.9 s (a server still starting), then one per period.
        QTest::newRow("stalled after filling the queue")
            << Lateness([](int k) { return k < 4 ? (3 - k) * kPeriod / kRate : 1.9; }) << 2.0 << 1.9 << 0
            << 0.0 << 0.0;
        // From callback 100 (0.58 s) on, 50 ms later than before, as after an underrun.
        QTest::newRow("time lost") << Lateness([](int k) { return k >= 100 ? 0.05 : 0.0; }) << 1.0 << 0.05
                                   << 0 << 0.0 << 0.0;
    }
    void startsAtRequestPlusLatency()
    {
        QFETCH(Lateness, lateness);
        QFETCH(double, from);
        QFETCH(double, lost);
        QFETCH(int, tolerance);
        QFETCH(double, ppm);
        QFETCH(double, late);
        VoiceMixer mixer;
        Device device(mixer, lateness, ppm);
        std::mt19937 random(11);
        std::vector<std::pair<double, std::int64_t>> requests; // instant, frames rendered by then
        for (int k = 0; k < 32; ++k) {
            const double phase = std::uniform_real_distribution<double>(0.0, kPeriod / kRate)(random);
            const double request = Device::kStart + from + 0.125 * k + phase;
            device.runUntil(request + late);
            requests.emplace_back(request, static_cast<std::int64_t>(device.left.size()));
            QVERIFY(mixer.play(k % VoiceMixer::kVoices, constant(1.0f, 100), request));
        }
        device.runFrames(20000);
        std::int64_t start = -100;
        for (const auto [request, rendered] : requests) {
            start = device.firstSound(start + 100);
            const std::int64_t error = start - std::max(rendered, expectedStart(request, lost, ppm));
            QVERIFY2(std::abs(error) <= tolerance, qPrintable(QString::number(error)));
        }
    }

    // A blocking output with four periods queued: the callback is entered when the previous
    // period has been handed over, and a hand-over waits for room, which the server makes `gap(j)`
    // after the last (for one period, or `perRoom` at once), and then takes `handOver` seconds.
    // Paced by RenderPacing, the callback must render most periods within 2 ms before their room,
    // and the server must never have a period later than unpaced by more than that callback's
    // wake-up came late, plus `allowed`: its queue would run that much lower than it does unpaced.
    void pacedRenderingKeepsTheQueueFull_data()
    {
        QTest::addColumn<Lateness>("gap");      // seconds between the server's rooms
        QTest::addColumn<int>("perRoom");       // periods each room takes
        QTest::addColumn<double>("handOver");   // seconds a hand-over takes once there is room
        QTest::addColumn<Lateness>("wakeLate"); // how late callback k wakes from its wait
        QTest::addColumn<double>("allowed");    // seconds
        QTest::addColumn<double>("mostFresh");  // share of periods rendered within 2 ms of room
        constexpr double p = kPeriod / kRate;
        const Lateness steady = [=](int) { return p; };
        // Every 17th period is rendered at once (RenderPacing::kLongestRun).
        QTest::newRow("steady") << steady << 1 << 0.00003 << Lateness() << 0.0 << 0.93;
        // As a PulseAudio null sink does it: 11 rooms 5.95 ms apart, then one after 4 ms, which the
        // callback waiting for 4.8 ms misses by 0.8 ms, and a little more to render and hand over.
        QTest::newRow("null sink's rhythm") << Lateness([](int j) { return j % 12 == 11 ? 0.004 : 0.00595; })
                                            << 1 << 0.00003 << Lateness() << 0.0009 << 0.8;
        QTest::newRow("every 10th wake 3 ms late")
            << steady << 1 << 0.00003 << Lateness([](int k) { return k % 10 == 0 ? 0.003 : 0.0; }) << 0.0
            << 0.75;
        // Wake-ups as late as the room leave no gain; a period rendered late must not make the
        // callbacks after it later and later, whether its hand-over looks like a wait or not.
        QTest::newRow("every wake 1 ms late, hand-over 0.05 ms")
            << steady << 1 << 0.00005 << Lateness([](int) { return 0.001; }) << 0.0 << 0.0;
        QTest::newRow("every wake 0.8 ms late, hand-over 0.25 ms")
            << steady << 1 << 0.00025 << Lateness([](int) { return 0.0008; }) << 0.0 << 0.0;
        // Wake-ups a little late, each followed by a hand-over slow enough to look like a wait, add
        // 0.05 ms a period while paced; every run of paced periods ends, so never more than 1 ms.
        QTest::newRow("every wake 0.4 ms late, hand-over 0.6 ms")
            << steady << 1 << 0.0006 << Lateness([](int) { return 0.0004; }) << 0.001 << 0.0;
        // A room 4 ms late, then two at once, every 100 periods: no pacing from the bunched one.
        QTest::newRow("a room late, then two at once") << Lateness([=](int j) {
            return j % 100 == 50 ? p + 0.004 : j % 100 == 51 ? p - 0.004 : p;
        }) << 1 << 0.00003 << Lateness() << 0.0 << 0.9;
        // Rooms for two periods at once: no cadence of one period, so no waiting at all.
        QTest::newRow("two periods at a time")
            << Lateness([=](int) { return 2 * p; }) << 2 << 0.00003 << Lateness() << 0.0 << 0.0;
    }
    void pacedRenderingKeepsTheQueueFull()
    {
        QFETCH(Lateness, gap);
        QFETCH(int, perRoom);
        QFETCH(double, handOver);
        QFETCH(Lateness, wakeLate);
        QFETCH(double, allowed);
        QFETCH(double, mostFresh);
        constexpr double p = kPeriod / kRate;
        constexpr int kQueued = 4;
        constexpr int kPeriods = 3000;
        std::vector<double> room(kPeriods); // when period n can be handed over
        for (int n = 0, j = 0; n < kPeriods; ++j) {
            const double at = n < kQueued ? 0.0 : room[n - 1] + gap(j);
            for (int i = 0; i < (n < kQueued ? kQueued : perRoom) && n < kPeriods; ++i)
                room[n++] = at;
        }
        RenderPacing pacing;
        double entered = 0.0, enteredUnpaced = 0.0;
        int fresh = 0, paced = 0;
        double worst = -1.0;
        for (int n = 0; n < kPeriods; ++n) {
            const double delay = pacing.enter(entered, p);
            const double late = delay > 0.0 && wakeLate ? wakeLate(n) : 0.0;
            paced += delay > 0.0;
            const double rendered = entered + delay + late;
            const double ready = rendered + kRender;
            pacing.leave(ready);
            // When the server has the period, paced and unpaced.
            const double queued = std::max(ready, room[n]) + handOver;
            const double queuedUnpaced = std::max(enteredUnpaced + kRender, room[n]) + handOver;
            worst = std::max(worst, queued - queuedUnpaced - late);
            fresh += room[n] - rendered >= 0.0 && room[n] - rendered < 0.002;
            entered = queued;
            enteredUnpaced = queuedUnpaced;
        }
        QVERIFY2(worst <= allowed + 1e-9,
                 qPrintable(QString::number(worst * 1e3) + " ms later than unpaced"));
        QVERIFY2(fresh >= mostFresh * kPeriods, qPrintable(QString::number(fresh)));
        if (perRoom > 1)
            QCOMPARE(paced, 0);
    }

    void restartForgetsTheOldStream()
    {
        VoiceMixer mixer;
        Device old(mixer);
        old.runUntil(Device::kStart);
        mixer.play(0, constant(1.0f, 100000), Device::kStart);
        old.runFrames(4096);
        QVERIFY(old.firstSound() >= 0);
        mixer.play(1, constant(1.0f, 100000), Device::kStart + 0.1); // not due before the restart
        mixer.restart();
        Device next(mixer); // a new stream: frame 0 again
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

    // Sounds handed over while the callback runs on a thread of its own (the case ThreadSanitizer
    // watches) are all freed once played: 10,000 of them leave the heap as it was.
    void tenThousandSoundsWhileTheCallbackRunsLeaveMemoryFlat()
    {
        VoiceMixer mixer;
        std::jthread audio([&](std::stop_token stop) {
            float buffer[2 * kPeriod];
            while (!stop.stop_requested()) {
                mixer.render(buffer, kPeriod, FrameClock::now());
                std::this_thread::sleep_for(std::chrono::microseconds(200));
            }
        });
        auto playAll = [&](int count) {
            int accepted = 0;
            for (int i = 0; i < count; ++i) {
                const auto frames = static_cast<std::size_t>(64 + (i * 37) % 3087);
                accepted +=
                    mixer.play(i % VoiceMixer::kVoices, constant(0.01f, frames), FrameClock::now()) ? 1 : 0;
                if (i % 50 == 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            for (int wait = 0; wait < 1000 && mixer.buffersInUse() > 0; ++wait) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                mixer.collectFinished();
            }
            return accepted > 0 && mixer.buffersInUse() == 0;
        };
        QVERIFY(playAll(1000));
        const auto before = mallinfo2().uordblks;
        QVERIFY(playAll(9000));
        const auto after = mallinfo2().uordblks;
        qInfo("heap in use after 1,000 sounds: %zu bytes, after 10,000: %zu bytes", before, after);
        // One leaked sound alone would be 256 bytes or more; 9,000 of them 2 MB or more.
        QVERIFY(after < before + 64 * 1024);
    }
};

QTEST_APPLESS_MAIN(TestVoiceMixer)
#include "tst_voicemixer.moc"
