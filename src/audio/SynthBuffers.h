#pragma once

#include <array>
#include <cstddef>
#include <vector>

namespace morvela {

enum class TriadQuality { major, minor, diminished };

// One sine of an additive tone.
struct Partial {
    double frequency; // Hz
    float amplitude;  // linear
    bool operator==(const Partial&) const = default;
};

inline constexpr double kAudioSampleRate = 44100.0;
inline constexpr std::size_t kChordFrames = 55125;    // 1.25 s
inline constexpr std::size_t kPartialsFrames = 70560; // 1.6 s
inline constexpr std::size_t kTickFrames = 3087;      // 70 ms

// Root, third and fifth, in that order.
std::array<double, 3> triadFrequencies(double rootHz, TriadQuality quality);

// A strummed chord: each note enters 45 ms after the one before, rises over 6 ms, decays as
// e^(-2.9 t) and weighs 0.15; the last 80 ms fade all notes together. Mono, kChordFrames long.
std::vector<float> makeBuffer(const std::vector<double>& frequencies);

// The gain of an additive tone: 0.55, divided by the sum of the amplitudes when that exceeds 1.
float partialsGain(const std::vector<Partial>& partials);

// An additive tone: the partials start together, rise over 8 ms, decay as e^(-2.1 t) and fade
// over the last 100 ms, scaled by partialsGain(). Mono, kPartialsFrames long.
std::vector<float> makePartialsBuffer(const std::vector<Partial>& partials);

// A click: sin x + 0.35 sin 2x with a 1.5 ms rise, e^(-55 t) decay and a 12 ms fade, times the
// gain. Mono, kTickFrames long.
std::vector<float> makeTickBuffer(double frequency, float gain);

} // namespace morvela
