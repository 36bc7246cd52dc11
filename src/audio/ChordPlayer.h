#pragma once

#include "audio/SoundOutput.h"
#include "platform/DelayedAction.h"

#include <chrono>
#include <memory>

class AudioOutput;
namespace morvela {
class VoiceMixer;
}

// The application's one sound source: renders each requested sound on the UI thread and hands
// it to the next of the mixer's sixteen voices, round robin, so a sound is cut only when sixteen
// newer ones have started. The output starts with the first sound and pauses 10 s after the
// last. While the stream opens (on a thread of its own) sounds wait in the mixer; a failed start
// drops that sound and changes nothing else, and a later sound tries again once the output's
// retry delay has passed (see RtAudioOutput).
class ChordPlayer final : public SoundOutput {
public:
    static constexpr std::chrono::milliseconds kIdlePause{10000};

    // The application's player, on the sound server. Created on first use and never destroyed:
    // its audio thread may still run while the process exits.
    static ChordPlayer& shared();

    // A player on the given output and mixer (tests); both must outlive it. The output must
    // render from this mixer.
    ChordPlayer(AudioOutput& output, morvela::VoiceMixer& mixer);
    ~ChordPlayer() override;

    void playTriad(double rootHz, morvela::TriadQuality quality, Instant at = {}) override;
    void playTone(double hz, Instant at = {}) override;
    void playPartials(const std::vector<morvela::Partial>& partials, Instant at = {}) override;
    void playTick(double frequency, float gain, Instant at = {}) override;

    // The voice the next sound will use, 0 to 15.
    int nextVoice() const { return m_nextVoice; }

private:
    void schedule(std::vector<float> samples, Instant at);

    AudioOutput& m_output;
    morvela::VoiceMixer& m_mixer;
    int m_nextVoice = 0;
    std::unique_ptr<DelayedAction> m_idlePause;
};
