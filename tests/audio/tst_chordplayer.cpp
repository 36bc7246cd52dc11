#include "audio/AudioOutput.h"
#include "audio/ChordPlayer.h"
#include "audio/FrameClock.h"
#include "audio/VoiceMixer.h"
#include "support/FakeTimers.h"

#include <QtTest>

using namespace morvela;
using namespace std::chrono_literals;

using Play = std::function<void(ChordPlayer&)>;
Q_DECLARE_METATYPE(Play)

namespace {

constexpr std::size_t kPeriod = VoiceMixer::kPeriodFrames;

// An output whose start succeeds or fails as the test says; it counts what it was asked.
struct FakeAudioOutput final : AudioOutput {
    bool start() override
    {
        ++starts;
        return running = startSucceeds;
    }
    bool isRunning() const override { return running; }
    void pause() override
    {
        ++pauses;
        running = false;
    }

    bool startSucceeds = true;
    bool running = false;
    int starts = 0;
    int pauses = 0;
};

// A player on a fake output, with its idle pause on a manual clock.
struct Rig {
    Rig() { Services::setTimerFactory(&clock); }
    ~Rig() { Services::setTimerFactory(nullptr); }

    ManualClock clock;
    FakeAudioOutput output;
    VoiceMixer mixer;
    ChordPlayer player{output, mixer};
};

// Runs the mixer's callback on the test thread, as the device would from now on; the left channel.
std::vector<float> renderLeft(VoiceMixer& mixer, std::size_t frames)
{
    std::vector<float> left;
    const double start = FrameClock::now();
    float buffer[2 * kPeriod];
    for (std::size_t done = 0; done < frames; done += kPeriod) {
        mixer.render(buffer, kPeriod, start + static_cast<double>(done) / 44100.0);
        for (std::size_t i = 0; i < kPeriod; ++i)
            left.push_back(buffer[2 * i]);
    }
    return left;
}

} // namespace

class TestChordPlayer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachSoundPlaysItsBuffer_data()
    {
        QTest::addColumn<Play>("play");
        QTest::addColumn<std::vector<float>>("expected");
        const auto notes = triadFrequencies(123.47, TriadQuality::diminished);
        QTest::newRow("triad") << Play([](ChordPlayer& p) { p.playTriad(123.47, TriadQuality::diminished); })
                               << makeBuffer({notes.begin(), notes.end()});
        QTest::newRow("tone") << Play([](ChordPlayer& p) { p.playTone(440.0); })
                              << makePartialsBuffer({{440.0, 1.0f}});
        const std::vector<Partial> sum{{110.0, 1.0f}, {220.0, 0.5f}, {330.0, 1.0f / 3.0f}};
        QTest::newRow("partials") << Play([=](ChordPlayer& p) { p.playPartials(sum); })
                                  << makePartialsBuffer(sum);
        QTest::newRow("click") << Play([](ChordPlayer& p) { p.playTick(1175.0, 0.16f); })
                               << makeTickBuffer(1175.0, 0.16f);
    }
    void eachSoundPlaysItsBuffer()
    {
        QFETCH(Play, play);
        QFETCH(std::vector<float>, expected);
        Rig r;
        play(r.player);
        QCOMPARE(r.output.starts, 1);
        const auto left = renderLeft(r.mixer, 80000);
        // Every buffer starts with a zero, then sounds.
        const auto firstSound = std::find_if(left.begin(), left.end(), [](float s) { return s != 0.0f; });
        QVERIFY(firstSound != left.end());
        const auto start = static_cast<std::size_t>(firstSound - left.begin()) - 1;
        // A one-off sound starts on the first frame of the next callback, not a start latency later.
        QCOMPARE(start, std::size_t(0));
        for (std::size_t i = 0; i < expected.size(); ++i)
            QCOMPARE(left[start + i], expected[i] * VoiceMixer::kVolume);
    }

    void voicesTakeTurnsAndTheSeventeenthCutsTheFirst()
    {
        Rig r;
        r.player.playTick(1760.0, 0.55f); // the only audible one
        for (int i = 1; i < 16; ++i) {
            QCOMPARE(r.player.nextVoice(), i);
            r.player.playTick(1760.0, 0.0f);
        }
        QCOMPARE(r.player.nextVoice(), 0);
        r.player.playTick(1760.0, 0.0f);
        QCOMPARE(r.player.nextVoice(), 1);
        QCOMPARE(r.output.starts, 1);

        const auto left = renderLeft(r.mixer, 1024);
        QVERIFY(std::all_of(left.begin(), left.end(), [](float s) { return s == 0.0f; }));
        r.mixer.collectFinished();
        QCOMPARE(r.mixer.buffersInUse(), std::size_t(16));
    }

    // The output pauses 10 s after the last sound. An empty partial list is no sound, and a start
    // that fails (the device went away) changes nothing: neither takes a voice nor arms the pause;
    // the next sound retries the start.
    void pausesTenSecondsAfterTheLastSound()
    {
        Rig r;
        r.player.playPartials({});
        QCOMPARE(r.output.starts, 0);
        QCOMPARE(r.clock.pendingCount(), 0);

        r.player.playTone(440.0);
        r.clock.advance(5000ms);
        r.player.playPartials({});
        QCOMPARE(r.player.nextVoice(), 1);
        QCOMPARE(r.mixer.buffersInUse(), std::size_t(1));
        r.clock.advance(5000ms);
        QCOMPARE(r.output.pauses, 1);
        QVERIFY(!r.output.running);

        r.output.startSucceeds = false;
        r.player.playTick(1760.0, 0.55f);
        QCOMPARE(r.output.starts, 2);
        QCOMPARE(r.player.nextVoice(), 1);
        QCOMPARE(r.clock.pendingCount(), 0);

        r.output.startSucceeds = true;
        r.player.playTick(1760.0, 0.55f);
        QCOMPARE(r.output.starts, 3);
        QCOMPARE(r.player.nextVoice(), 2);
        r.clock.advance(9900ms);
        r.player.playTick(1760.0, 0.55f); // postpones the pause to 10 s after itself
        r.clock.advance(9999ms);
        QCOMPARE(r.output.pauses, 1);
        r.clock.advance(1ms);
        QCOMPARE(r.output.pauses, 2);
    }

    // The stream runs but its callback has stalled: once the hand-over queue is full, a sound is
    // dropped without taking a voice or moving the idle pause.
    void soundTheMixerCannotTakeTakesNoVoice()
    {
        Rig r;
        for (int i = 0; i < 100; ++i)
            r.player.playTick(1760.0, 0.55f);
        const auto accepted = static_cast<int>(r.mixer.buffersInUse());
        QVERIFY(accepted > 16 && accepted < 100);
        r.clock.advance(5000ms);
        r.player.playTick(1760.0, 0.55f);
        QCOMPARE(r.player.nextVoice(), accepted % VoiceMixer::kVoices);
        r.clock.advance(5000ms);
        QCOMPARE(r.output.pauses, 1);
    }
};

QTEST_GUILESS_MAIN(TestChordPlayer)
#include "tst_chordplayer.moc"
