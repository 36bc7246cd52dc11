#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Euclidean rhythms: k hits spread as evenly as possible over a cycle of n steps, the length of
// one step at a tempo, the named presets and the rules that keep pulses and rotation within a
// step count.
namespace morvela::Euclid {

// Ranges of the rhythm controls.
inline constexpr std::int64_t minimumSteps = 1;
inline constexpr std::int64_t maximumSteps = 16;

// The cycle of `steps` entries (empty when steps < 1), true for a hit. Step i is a hit when
// (i × k) mod n < k, with k = pulses clamped to 0 ... n; so step 0 is a hit whenever k > 0.
// `rotation` (any integer, taken modulo n) moves every hit that many steps later.
std::vector<bool> pattern(std::int64_t pulses, std::int64_t steps, std::int64_t rotation);

// Length of one 1/note step in milliseconds, with the tempo held to 20 ... 400 BPM
// (and a tempo that is not a number taken as the slowest). note >= 1.
double stepMilliseconds(double bpm, std::int64_t note);

struct Preset {
    std::string label;
    std::int64_t steps, pulses;
};
// The named patterns, in menu order.
const std::vector<Preset>& presets();

// Pulses and rotation once the step count has become `steps`: cut down to the new range,
// never raised (a rotation past the last step is cut to it, not wrapped).
std::int64_t clampedPulses(std::int64_t steps, std::int64_t pulses);
std::int64_t clampedRotation(std::int64_t steps, std::int64_t rotation);

} // namespace morvela::Euclid
