#include "FakeAudioOutput.h"
#include "audio/ChordPlayer.h"
#include "audio/FrameClock.h"
#include "audio/RecordingSoundOutput.h"
#include "audio/VoiceMixer.h"
#include "support/FakeTimers.h"

#include <QtTest>

#include <malloc.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

using namespace morvela;
using namespace std::chrono_literals;

using Play = std::function<void(ChordPlayer&)>;
using Render = std::function<std::vector<float>()>;
Q_DECLARE_METATYPE(Play)
Q_DECLARE_METATYPE(Render)

namespace {

constexpr std::size_t kPeriod = 256;

// Runs the mixer's callback on the test thread, as the device would, from now on.
std::vector<float> renderLeft(VoiceMixer& mixer, std::size_t frames, bool* channelsDiffer = nullptr)
{
    std::vector<float> left;
    const double start = FrameClock::now();
    float buffer[2 * kPeriod];
    for (std::size_t done = 0; done < frames; done += kPeriod) {
        mixer.render(buffer, kPeriod, start + static_cast<double>(done) / 44100.0);
        for (std::size_t i = 0; i < kPeriod; ++i) {
            left.push_back(buffer[2 * i]);
            if (channelsDiffer && buffer[2 * i] != buffer[2 * i + 1])
                *channelsDiffer = true;
        }
    }
    return left;
}

// The mixer's callback on a thread of its own, several times faster than a device.
class RenderThread {
public:
    explicit RenderThread(VoiceMixer& mixer)
        : m_thread([this, &mixer] {
              float buffer[2 * kPeriod];
              while (m_running.load()) {
                  mixer.render(buffer, kPeriod, FrameClock::now());
                  std::this_thread::sleep_for(100us);
              }
          })
    {
    }
    ~RenderThread()
    {
        m_running = false;
        m_thread.join();
    }

private:
    std::atomic<bool> m_running{true};
    std::thread m_thread;
};

// Waits until every sound has played out and been freed.
bool drained(VoiceMixer& mixer)
{
    for (int wait = 0; wait < 2000 && mixer.buffersInUse() > 0; ++wait) {
        std::this_thread::sleep_for(1ms);
        mixer.collectFinished();
    }
    return mixer.buffersInUse() == 0;
}

} // namespace

class TestChordPlayer : public QObject {
    Q_OBJECT

    std::unique_ptr<ManualClock> m_clock;

private Q_SLOTS:
    void init()
    {
        m_clock = std::make_unique<ManualClock>();
        Services::setTimerFactory(m_clock.get());
    }
    void cleanup()
    {
        Services::setTimerFactory(nullptr);
        m_clock.reset();
    }

    void eachSoundPlaysItsBuffer_data()
    {
        QTest::addColumn<Play>("play");
        QTest::addColumn<Render>("expected");
        auto chord = [](double root, TriadQuality quality) {
            const auto notes = triadFrequencies(root, quality);
            return makeBuffer({notes.begin(), notes.end()});
        };
        QTest::newRow("major triad") << Play([](ChordPlayer& p) { p.playTriad(220.0, TriadQuality::major); })
                                     << Render([=] { return chord(220.0, TriadQuality::major); });
        QTest::newRow("minor triad") << Play([](ChordPlayer& p) { p.playTriad(440.0, TriadQuality::minor); })
                                     << Render([=] { return chord(440.0, TriadQuality::minor); });
        QTest::newRow("diminished triad")
            << Play([](ChordPlayer& p) { p.playTriad(123.47, TriadQuality::diminished); })
            << Render([=] { return chord(123.47, TriadQuality::diminished); });
        QTest::newRow("tone") << Play([](ChordPlayer& p) { p.playTone(440.0); }) << Render([] {
            return makePartialsBuffer({{440.0, 1.0f}});
        });
        const std::vector<Partial> sum{{110.0, 1.0f}, {220.0, 0.5f}, {330.0, 1.0f / 3.0f}};
        QTest::newRow("partials") << Play([=](ChordPlayer& p) { p.playPartials(sum); })
                                  << Render([=] { return makePartialsBuffer(sum); });
        QTest::newRow("pulse click") << Play([](ChordPlayer& p) { p.playTick(1760.0, 0.55f); })
                                     << Render([] { return makeTickBuffer(1760.0, 0.55f); });
        QTest::newRow("rest click") << Play([](ChordPlayer& p) { p.playTick(1175.0, 0.16f); })
                                    << Render([] { return makeTickBuffer(1175.0, 0.16f); });
    }
    void eachSoundPlaysItsBuffer()
    {
        QFETCH(Play, play);
        QFETCH(Render, expected);
        FakeAudioOutput output;
        VoiceMixer mixer;
        ChordPlayer player(output, mixer);
        play(player);
        QCOMPARE(output.starts, 1);
        bool channelsDiffer = false;
        const auto left = renderLeft(mixer, 80000, &channelsDiffer);
        QVERIFY(!channelsDiffer);
        const auto buffer = expected();
        // Every buffer starts with a zero, then sounds.
        const auto firstSound = std::find_if(left.begin(), left.end(), [](float s) { return s != 0.0f; });
        QVERIFY(firstSound != left.end());
        const auto start = static_cast<std::size_t>(firstSound - left.begin()) - 1;
        for (std::size_t i = 0; i < buffer.size(); ++i)
            QCOMPARE(left[start + i], buffer[i] * VoiceMixer::kVolume);
        for (std::size_t i = start + buffer.size(); i < left.size(); ++i)
            QCOMPARE(left[i], 0.0f);
    }

    void voicesTakeTurnsAndTheSeventeenthCutsTheFirst()
    {
        FakeAudioOutput output;
        VoiceMixer mixer;
        ChordPlayer player(output, mixer);
        player.playTick(1760.0, 0.55f); // the only audible one
        for (int i = 1; i < 16; ++i) {
            QCOMPARE(player.nextVoice(), i);
            player.playTick(1760.0, 0.0f);
        }
        QCOMPARE(player.nextVoice(), 0);
        player.playTick(1760.0, 0.0f);
        QCOMPARE(player.nextVoice(), 1);
        QCOMPARE(output.starts, 1);

        const auto left = renderLeft(mixer, 1024);
        QVERIFY(std::all_of(left.begin(), left.end(), [](float s) { return s == 0.0f; }));
        mixer.collectFinished();
        QCOMPARE(mixer.buffersInUse(), std::size_t(16));
    }

    void emptyPartialListTouchesNothing()
    {
        FakeAudioOutput output;
        VoiceMixer mixer;
        ChordPlayer player(output, mixer);
        player.playPartials({});
        QCOMPARE(output.starts, 0);
        QCOMPARE(player.nextVoice(), 0);
        QCOMPARE(m_clock->pendingCount(), 0);
        QCOMPARE(mixer.buffersInUse(), std::size_t(0));

        player.playTone(440.0);
        m_clock->advance(5000ms);
        player.playPartials({});
        QCOMPARE(player.nextVoice(), 1);
        QCOMPARE(mixer.buffersInUse(), std::size_t(1));
        // The idle pause still comes 10 s after the tone.
        m_clock->advance(5000ms);
        QCOMPARE(output.pauses, 1);
    }

    void failedStartDropsTheSoundAndChangesNothing()
    {
        FakeAudioOutput output;
        VoiceMixer mixer;
        ChordPlayer player(output, mixer);
        output.startSucceeds = false;
        player.playTone(440.0);
        QCOMPARE(output.starts, 1);
        QCOMPARE(player.nextVoice(), 0);
        QCOMPARE(m_clock->pendingCount(), 0);
        QCOMPARE(mixer.buffersInUse(), std::size_t(0));

        output.startSucceeds = true;
        player.playTone(440.0);
        QCOMPARE(output.starts, 2);
        QCOMPARE(player.nextVoice(), 1);
        QCOMPARE(m_clock->pendingCount(), 1);
        QCOMPARE(mixer.buffersInUse(), std::size_t(1));
    }

    void failedRestartKeepsTheVoiceAndTheIdlePause()
    {
        FakeAudioOutput output;
        VoiceMixer mixer;
        ChordPlayer player(output, mixer);
        player.playTick(1760.0, 0.55f);
        m_clock->advance(4000ms);
        output.running = false; // the device went away
        output.startSucceeds = false;
        player.playTick(1760.0, 0.55f);
        QCOMPARE(output.starts, 2);
        QCOMPARE(player.nextVoice(), 1);
        QCOMPARE(mixer.buffersInUse(), std::size_t(1));
        m_clock->advance(5999ms);
        QCOMPARE(m_clock->pendingCount(), 1);
        m_clock->advance(1ms);
        QCOMPARE(m_clock->pendingCount(), 0);
        QCOMPARE(output.pauses, 0); // not running, so nothing to pause

        output.startSucceeds = true;
        player.playTick(1760.0, 0.55f);
        QCOMPARE(output.starts, 3);
        QCOMPARE(player.nextVoice(), 2);
    }

    void pausesTenSecondsAfterTheLastSound_data()
    {
        QTest::addColumn<QList<int>>("soundsAt"); // ms
        QTest::addColumn<int>("pauseAt");
        QTest::newRow("one sound") << QList<int>{0} << 10000;
        QTest::newRow("a sound at 9.9 s postpones the pause") << QList<int>{0, 9900} << 19900;
        QTest::newRow("a burst") << QList<int>{0, 1, 2, 3, 500} << 10500;
    }
    void pausesTenSecondsAfterTheLastSound()
    {
        QFETCH(QList<int>, soundsAt);
        QFETCH(int, pauseAt);
        FakeAudioOutput output;
        VoiceMixer mixer;
        ChordPlayer player(output, mixer);
        for (int at : soundsAt) {
            m_clock->advance(std::chrono::milliseconds(at) - m_clock->now());
            player.playTick(1760.0, 0.55f);
            QVERIFY(output.running);
        }
        m_clock->advance(std::chrono::milliseconds(pauseAt - 1) - m_clock->now());
        QVERIFY(output.running);
        QCOMPARE(output.pauses, 0);
        m_clock->advance(1ms);
        QVERIFY(!output.running);
        QCOMPARE(output.pauses, 1);

        player.playTick(1760.0, 0.55f);
        QCOMPARE(output.starts, 2);
        QVERIFY(output.running);
    }

    void tenThousandSoundsLeaveMemoryFlat()
    {
        FakeAudioOutput output;
        VoiceMixer mixer;
        ChordPlayer player(output, mixer);
        RenderThread audio(mixer);
        auto playSounds = [&](int count) {
            for (int i = 0; i < count; ++i) {
                if (i % 100 == 0)
                    player.playTone(440.0);
                else if (i % 100 == 50)
                    player.playTriad(220.0, TriadQuality::minor);
                else
                    player.playTick(1760.0, 0.55f);
                if (i % 20 == 0)
                    std::this_thread::sleep_for(200us);
            }
        };
        playSounds(1000);
        QVERIFY(drained(mixer));
        const auto before = mallinfo2().uordblks;
        playSounds(9000);
        QVERIFY(drained(mixer));
        const auto after = mallinfo2().uordblks;
        qInfo("heap in use after 1,000 sounds: %zu bytes, after 10,000: %zu bytes", before, after);
        // One leaked click alone would be 12 KB; 9,000 of them 110 MB.
        QVERIFY(after < before + 64 * 1024);
    }

    void screensReachTheInstalledOutput()
    {
        {
            RecordingSoundOutput sound;
            QCOMPARE(&Sound::output(), &sound);
            Sound::output().playTone(440.0);
            Sound::output().playTick(1760.0, 0.55f);
            QCOMPARE(sound.calls.size(), std::size_t(2));
            QCOMPARE(sound.calls[0].kind, RecordingSoundOutput::Kind::tone);
            QCOMPARE(sound.calls[1].gain, 0.55f);
        }
        QCOMPARE(&Sound::output(), static_cast<SoundOutput*>(&ChordPlayer::shared()));
    }
};

QTEST_GUILESS_MAIN(TestChordPlayer)
#include "tst_chordplayer.moc"
