#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Note lengths for a tempo, and the rules by which each input channel sets the tempo.
// Lengths are in milliseconds; every function gives 0 rather than a division by zero
// when the tempo is not positive.
namespace morvela::Tempo {

// Typed text may set any tempo in 1 ... 999; the slider, the stepper and tapping keep
// to 20 ... 400.
inline constexpr double typedMinimum = 1.0;
inline constexpr double typedMaximum = 999.0;
inline constexpr double controlMinimum = 20.0;
inline constexpr double controlMaximum = 400.0;

// Length of one 1/n note (n >= 1), plain, dotted and as a triplet.
double straight(double bpm, std::int64_t n);
double dotted(double bpm, std::int64_t n);
double triplet(double bpm, std::int64_t n);
// How many 1/n notes fall in one second.
double rateHz(double bpm, std::int64_t n);

// The three headline values of the tempo screen.
double quarter(double bpm);
double dottedEighth(double bpm);
double sixteenthRate(double bpm);

// The tempo as its text field shows it: "120" for a whole number, "128.50" otherwise.
std::string bpmText(double bpm);

// The tempo once typed text is committed: the typed number (a comma counts as a decimal
// point) clamped to 1 ... 999, or `bpm` unchanged when the text is not a finite number.
double commitBpmText(std::string_view text, double bpm);

// What the slider stores for a written position: whole tempos only, halves away from zero.
double sliderBpm(double written);

// The tempo after `steps` stepper clicks (negative steps go down), kept within 20 ... 400.
// A click never moves against its direction: a typed tempo beyond the end it goes towards
// stays as it is (so 999 does not step up to 400, but does step down to it).
double steppedBpm(double bpm, int steps);

} // namespace morvela::Tempo
