#pragma once

#include "audio/AudioOutput.h"
#include "audio/RenderPacing.h"

#include <atomic>
#include <memory>
#include <thread>

class RtAudio;
namespace morvela {
class VoiceMixer;
}

// Plays the voice mixer through RtAudio: 44,100 Hz stereo float in periods of 256 frames with
// four periods queued (23.2 ms), on the PulseAudio API (which PipeWire serves too), else on ALSA's.
// The callback renders each period shortly before the output takes it (RenderPacing), not as soon
// as the one before has been handed over. Through a PulseAudio null sink that puts a one-off sound
// 13 to 15 ms after its request (medians of 40 clicks, idle or with the cores busy; 18 to 19 ms
// when rendering at once): the wait for the next rendering (up to a period) and some 11 ms of
// hand-over and the server's buffering. A loop's sound, placed by its instant, comes the mixer's
// 8 ms start latency after it, plus some 15.5 ms of buffering, as before the pacing.
// Less buffering ran dry more often: 256 × 3 in most takes; 128 × 4 with the cores busy; 192 × 4
// in 2 of 10 takes of 5 s with six busy loops on two cores, where 256 × 4 held in all 10 (paced as
// well); and on an idle virtual machine (its halted CPUs wake late) all of them more often.
//
// Nothing is ever written to stderr: RtAudio's warnings are off, ALSA's error handler is
// silenced, and the callback thread asks for real-time scheduling itself, because RtAudio
// announces the outcome of RTAUDIO_SCHEDULE_REALTIME on stderr.
//
// Device loss (sound server stopped, device gone): RtAudio's error callback raises a flag; the
// audio callback then aborts the stream instead of rendering (RtAudio would otherwise call it
// again at once, over and over), and the next start() closes the stream on the UI thread and
// opens a new one. pause() closes the stream as well, so a start() always finds out afresh
// whether there is a device to play on.
//
// Opening takes a live sound server 25 to 50 ms (more on a busy machine), too long to hold the UI
// thread up: start() opens on a thread of its own and returns true at once, and the output
// counts as running meanwhile, so the sounds asked for wait in the mixer and start with the
// stream. When that open fails, isRunning() turns false and the next start() tries again.
//
// Without a sound server every open fails (in about a millisecond: a refused connection, then no
// ALSA device). After a failed open, start() returns false at once for a while before it tries
// again, from kFirstRetryDelay doubling up to kLongestRetryDelay, so a loop that keeps asking
// does not keep probing; a successful open, and the loss of a running stream, start afresh.
// Meanwhile a PulseAudio server that was missing is watched for on its socket (a local connect,
// microseconds): once it answers, the next sound opens the stream without waiting.
class RtAudioOutput final : public AudioOutput {
public:
    static constexpr double kFirstRetryDelay = 0.25;
    static constexpr double kLongestRetryDelay = 1.0;

    // `clock`: seconds on a steady time base (FrameClock::now()), for the retry delays.
    explicit RtAudioOutput(morvela::VoiceMixer& mixer, double (*clock)() = nullptr);
    ~RtAudioOutput() override;
    RtAudioOutput(const RtAudioOutput&) = delete;
    RtAudioOutput& operator=(const RtAudioOutput&) = delete;

    bool start() override;
    bool isRunning() const override;
    void pause() override;

    // Waits until an open in progress has succeeded or failed.
    void finishOpening();

private:
    struct Callbacks;
    enum Opening { idle, inProgress, succeeded, failed };

    bool open();
    bool startStream();
    void close();
    // Takes up the outcome of a finished open; false while one is still in progress.
    bool settleOpening();
    void retryLater(double failedAt);

    morvela::VoiceMixer& m_mixer;
    double (*m_clock)();
    // Owned by the opening thread while m_opening is inProgress, by the UI thread otherwise.
    std::unique_ptr<RtAudio> m_audio;
    std::atomic<bool> m_lost{false};
    std::atomic<int> m_opening{idle};
    std::thread m_opener;
    double m_openedAt = 0.0;
    // After a failed open: no new try before m_retryAt; the delay that led to it (0: none).
    double m_retryAt = 0.0;
    double m_retryDelay = 0.0;
    // When the last open failed, the server's socket did not answer (written by the opening thread
    // before it publishes the outcome).
    bool m_serverWasMissing = false;
    // When the callback renders (audio thread; reset before a stream's callbacks start).
    morvela::RenderPacing m_pacing;
};
