#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morvela {

// One step of an equal division of the octave: step `index` of N above the reference, with
// the nearest twelve-tone note against A4 (not against the reference) and its deviation.
struct TetStep {
    std::int64_t index;
    double frequency, ratio, centsFromRoot;
    std::string nearestNote;
    double nearestCents;
};

// The divisions per octave and the reference frequency stay within these ranges.
inline constexpr std::int64_t tetDivisionsMinimum = 1;
inline constexpr std::int64_t tetDivisionsMaximum = 53;
inline constexpr double tetReferenceMinimum = 20.0;
inline constexpr double tetReferenceMaximum = 2000.0;

// Steps 0 ... N (N + 1 entries, the last one the octave). A count of divisions outside
// 1 ... 53 is taken as the nearest end of that range.
std::vector<TetStep> tetScale(double reference, std::int64_t divisions, double a4);

// A menu entry for a division of the octave, e.g. "31 — meantone-like".
struct TetPreset {
    std::string label;
    std::int64_t divisions;
};
const std::vector<TetPreset>& tetPresets();

// The reference as its field shows it: "440" when whole, else two decimals ("261.62" for
// 261.625: printf rounds the exact binary halfway value to even).
std::string referenceText(double reference);
// The reference once typed text is committed: the typed number (a comma counts as a decimal
// point) clamped to 20 ... 2000, or `reference` unchanged when the text is not a finite number.
double commitReferenceText(std::string_view text, double reference);
// One click of the reference stepper (+1 up, -1 down). The click moves the reference by what
// it would have moved the stored value within 20 ... 2000; that move is applied to the reference
// after the typed text is committed, so typing 300 and stepping up gives 301.
double steppedReference(std::string_view text, double reference, int steps);

} // namespace morvela
