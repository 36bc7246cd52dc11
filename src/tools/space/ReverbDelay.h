#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvela {

// A reverb size: a pre-delay of one preDivision-th of a bar, and a total length in 4/4 bars.
struct ReverbPreset {
    std::string name, detail;
    double totalBars;
    std::int64_t preDivision;
};

// A delay note value ("D" dotted, "T" triplet) as a fraction of a 4/4 bar.
struct DelayPick {
    std::string label;
    double barFraction;
};

// Milliseconds; total = preDelay + decay.
struct ReverbTimes {
    double preDelay, decay, total;
};

// Reverb and delay times that sit on the beat of a tempo. All times are in milliseconds and
// derive from the length of one bar, which keeps the tempo within 20 ... 400.
namespace ReverbDelay {

inline constexpr double minimumBpm = 20.0;
inline constexpr double maximumBpm = 400.0;
// The pre-delay note the custom reverb starts with, and falls back to.
inline constexpr std::int64_t defaultPreDivision = 64;

// One 4/4 bar at `bpm` clamped to 20 ... 400 (NaN counts as the slowest).
double bar(double bpm);

// The five sizes, smallest first.
const std::vector<ReverbPreset>& presets();
// The seven delay notes, in the order the screen lists them (1/8T before 1/16D).
const std::vector<DelayPick>& delayPicks();

ReverbTimes presetTimes(const ReverbPreset& preset, double bpm);
// The decay never goes below 0. A pre-delay note that is not positive is taken as the default,
// so no time is infinite or negative.
ReverbTimes customTimes(double totalBars, std::int64_t preDivision, double bpm);
// The pre-delay note customTimes() uses for a stored one.
std::int64_t preDivisionInUse(std::int64_t preDivision);

// "¼ bar", "½ bar", "1 bar", "2 bars" ...
std::string lengthLabel(double totalBars);
// "drums, percussion · ¼ bar · pre 1/256"
std::string subtitle(const ReverbPreset& preset);

} // namespace ReverbDelay
} // namespace morvela
