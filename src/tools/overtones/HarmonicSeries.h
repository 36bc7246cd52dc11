#pragma once

#include "audio/SynthBuffers.h"

#include <cstdint>
#include <string>
#include <vector>

namespace morvela {

// One harmonic of a fundamental f0: n × f0, the nearest equal-tempered note against A4 and the
// drift from that note in cents (-50 ... +50, positive = sharp).
struct Harmonic {
    std::int64_t number;
    double frequency;
    std::string noteName;
    double cents;
};

// Harmonics 1 ... count of `fundamental`, in ascending number. Empty when count < 1 or when the
// fundamental or a4 is not a positive, finite frequency.
std::vector<Harmonic> harmonicSeries(double fundamental, double a4, std::int64_t count);

// How far a drift lies off the equal-tempered grid. A boundary belongs to the higher class:
// 5 cents is already noticeable, 20 cents already far off.
enum class DriftClass { inTune, noticeable, farOff };
DriftClass driftClass(double cents);

// The series the overtones screen shows, sounds and sweeps.
inline constexpr std::int64_t harmonicCount = 16;

// 1/n: the amplitude of the n-th partial of a sawtooth, the height of bar n and the weight of
// partial n in the summed sound.
float relativeAmplitude(std::int64_t number);

// The enabled harmonics are a set of numbers 1 ... harmonicCount. These functions read any list
// as that set (out-of-range numbers and repeats are dropped) and return it in ascending order.
namespace HarmonicSelection {
std::vector<std::int64_t> all();
// 4, 5 and 6: the major triad two octaves above the fundamental.
std::vector<std::int64_t> majorTriad();
std::vector<std::int64_t> normalized(std::vector<std::int64_t> numbers);
bool contains(const std::vector<std::int64_t>& numbers, std::int64_t number);
// Removes `number` when the set holds it, else inserts it.
std::vector<std::int64_t> toggled(const std::vector<std::int64_t>& numbers, std::int64_t number);
} // namespace HarmonicSelection

// The sum of the enabled harmonics as one tone: a partial n × f0 at 1/n for each enabled n, in
// ascending n. Empty when nothing is enabled.
std::vector<Partial> harmonicSum(double fundamental, const std::vector<std::int64_t>& enabled);

// A drift as printf "%+.0f¢" shows it: "+2¢", "-31¢".
std::string driftText(double cents);

} // namespace morvela
