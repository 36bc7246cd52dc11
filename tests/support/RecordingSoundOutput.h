#pragma once

#include "audio/SoundOutput.h"

#include <vector>

// Records every sound the code under test asks for, oldest first, instead of playing it.
// It installs itself as Sound::output() while it exists:
//
//     RecordingSoundOutput sound;
//     controller.tap();
//     QCOMPARE(sound.calls.size(), 1u);
//     QCOMPARE(sound.calls[0].kind, RecordingSoundOutput::Kind::tick);
class RecordingSoundOutput final : public SoundOutput {
public:
    enum class Kind { triad, tone, partials, tick };
    struct Call {
        Kind kind;
        double frequency = 0.0; // the root, tone or click frequency
        morvela::TriadQuality quality = morvela::TriadQuality::major;
        std::vector<morvela::Partial> partials;
        float gain = 0.0f;
        Instant at; // the instant a loop scheduled it for; none for a one-off sound
    };

    RecordingSoundOutput() { Sound::setOutput(this); }
    ~RecordingSoundOutput() override { Sound::setOutput(nullptr); }
    RecordingSoundOutput(const RecordingSoundOutput&) = delete;
    RecordingSoundOutput& operator=(const RecordingSoundOutput&) = delete;

    void playTriad(double rootHz, morvela::TriadQuality quality, Instant at = {}) override
    {
        calls.push_back({Kind::triad, rootHz, quality, {}, 0.0f, at});
    }
    void playTone(double hz, Instant at = {}) override
    {
        calls.push_back({Kind::tone, hz, {}, {}, 0.0f, at});
    }
    void playPartials(const std::vector<morvela::Partial>& partials, Instant at = {}) override
    {
        calls.push_back({Kind::partials, 0.0, {}, partials, 0.0f, at});
    }
    void playTick(double frequency, float gain, Instant at = {}) override
    {
        calls.push_back({Kind::tick, frequency, {}, {}, gain, at});
    }

    std::vector<Call> calls;
};
