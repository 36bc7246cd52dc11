#pragma once

#include "audio/SynthBuffers.h"

#include <optional>
#include <vector>

// What the screens ask of the sound engine. Each call renders one sound and plays it on the next
// of sixteen voices; nothing is reported back. ChordPlayer::shared() is the real one.
// `at` is the instant (FrameClock::now() time base) the sound belongs to: a loop passes its
// tick's due instant, and the sound starts at that instant plus the mixer's start latency, so the
// loop's sounds keep its spacing to the sample. Without it the sound starts as soon as possible.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    using Instant = std::optional<double>;

    virtual void playTriad(double rootHz, morvela::TriadQuality quality, Instant at = {}) = 0;
    virtual void playTone(double hz, Instant at = {}) = 0;
    virtual void playPartials(const std::vector<morvela::Partial>& partials, Instant at = {}) = 0;
    virtual void playTick(double frequency, float gain, Instant at = {}) = 0;
};

// The sound output the screens use: ChordPlayer::shared(), unless a test installed a double.
namespace Sound {
SoundOutput& output();
// nullptr restores ChordPlayer::shared().
void setOutput(SoundOutput* output);
} // namespace Sound
