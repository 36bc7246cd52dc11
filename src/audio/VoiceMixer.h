#pragma once

#include "audio/FrameClock.h"
#include "audio/SpscQueue.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace morvela {

// Sixteen voices summed at volume 0.9 into both channels of a 44,100 Hz interleaved stereo
// stream.
//
// The UI thread gives a voice a sound with play(); the audio callback takes it up in render().
// Sounds reach the callback through one lock-free queue and come back through another once
// their voice is done with them, so the callback never locks, allocates or frees: the UI thread
// frees them in collectFinished(), which play() also calls.
//
// Timing: a sound with a request instant starts at the output frame that the callback renders at
// that instant plus kStartLatency (see FrameClock for how instants map to frames). Sounds requested
// by a timer therefore keep the timer's spacing to the sample, wherever their requests fall within
// a callback period. A sound that arrives too late for that frame starts at once, and so does a
// sound without an instant (a one-off): on the first frame of the next callback, up to a period
// after its request instead of always kStartLatency.
class VoiceMixer {
public:
    static constexpr int kVoices = 16;
    static constexpr float kVolume = 0.9f;
    // The callback period the output asks for: 256 frames, 5.8 ms.
    static constexpr unsigned int kPeriodFrames = 256;
    // Start latency: one callback period, so the callback that renders the first frame of a sound
    // has not run yet when the sound is handed over, plus 2.2 ms for its synthesis and hand-over:
    // 8 ms. A device that insists on a longer period adds the difference.
    static constexpr double kStartMargin = 0.0022;
    static constexpr double kStartLatency = kPeriodFrames / 44100.0 + kStartMargin;

    VoiceMixer();
    ~VoiceMixer();
    VoiceMixer(const VoiceMixer&) = delete;
    VoiceMixer& operator=(const VoiceMixer&) = delete;

    // --- UI thread ---
    // Queues samples (mono) on a voice, requested at `requestedAt` (FrameClock::now() time base),
    // or to start as soon as possible without it. When the sound starts, the voice drops whatever
    // it was still playing. Returns false, dropping the sound, when the callback is not taking
    // sounds up.
    bool play(int voice, std::vector<float> samples, std::optional<double> requestedAt);
    // The output starts a new stream: from its first callback on, the voices forget what they
    // held and the frame clock starts over.
    void restart();
    // Frees the sounds the callback is done with.
    void collectFinished();
    // Sounds handed to play() and not yet freed.
    std::size_t buffersInUse() const { return m_inUse; }

    // --- audio thread ---
    // Fills `frames` stereo frames; `now` is FrameClock::now() at the start of the callback.
    void render(float* interleavedStereo, std::size_t frames, double now);

private:
    struct Sound {
        std::vector<float> samples;
        std::optional<double> requestedAt;
        int voice;
        std::uint32_t generation;
    };
    struct Voice {
        Sound* playing = nullptr;
        std::size_t position = 0;
        Sound* next = nullptr;
    };
    static constexpr std::size_t kChunk = 512;

    void beginTimeline(std::uint32_t generation);
    void mixChunk(std::size_t frames);
    void mixVoice(Voice& voice, std::size_t frames);
    void addPlaying(Voice& voice, std::size_t from, std::size_t to);
    std::int64_t startFrame(const Sound& sound) const;
    void release(Sound* sound);

    SpscQueue<Sound*, 64> m_incoming;
    // Every sound in use passes through here once; play() keeps no more in use than fit.
    SpscQueue<Sound*, 256> m_finished;
    std::atomic<std::uint32_t> m_generation{0};

    // UI thread only.
    std::size_t m_inUse = 0;
    std::uint32_t m_playGeneration = 0;

    // Audio thread only.
    std::array<Voice, kVoices> m_voices{};
    FrameClock m_clock;
    std::int64_t m_frame = 0;
    std::uint32_t m_renderGeneration = 0;
    double m_startLatency = kStartLatency;
    std::array<float, kChunk> m_mix{};
};

} // namespace morvela
