#pragma once

#include "audio/SynthBuffers.h"

#include <vector>

// What the screens ask of the sound engine. Each call renders one sound and plays it at once on
// the next of sixteen voices; nothing is reported back. ChordPlayer::shared() is the real one.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void playTriad(double rootHz, morvela::TriadQuality quality) = 0;
    virtual void playTone(double hz) = 0;
    virtual void playPartials(const std::vector<morvela::Partial>& partials) = 0;
    virtual void playTick(double frequency, float gain) = 0;
};

// The sound output the screens use: ChordPlayer::shared(), unless a test installed a double.
namespace Sound {
SoundOutput& output();
// nullptr restores ChordPlayer::shared().
void setOutput(SoundOutput* output);
} // namespace Sound
