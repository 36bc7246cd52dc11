#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvela {

// The nearest equal-tempered note of a frequency: its label (e.g. "C#4") and how far the
// frequency lies from it, -50 ... +50 cents, positive when sharp.
struct NearestNote {
    std::string name;
    double cents;
};

// The shared pitch arithmetic: note names, octaves, MIDI note numbers (C4 = 60, A4 = 69) and
// equal-tempered frequencies against the A4 reference.
namespace NoteFrequency {

// "C", "C#", ... "B": pitch classes 0 to 11, black keys as sharps with an ASCII "#".
const std::array<std::string, 12>& names();
// 0 ... 8, the octaves of the frequency chart.
const std::array<std::int64_t, 9>& octaves();

// The A4 reference stays within this range whichever way it is set.
inline constexpr double a4Minimum = 400.0;
inline constexpr double a4Maximum = 480.0;

std::int64_t noteNumber(std::int64_t pitchClass, std::int64_t octave);
double frequency(std::int64_t noteNumber, double a4);
// For a positive, finite frequency and a4. Halves round away from zero; the octave changes at C.
NearestNote nearestNote(double frequency, double a4);
// "♯" becomes "#", then "♭" becomes "b": the clipboard form of a spelled name.
std::string plainAccidentals(std::string_view name);

// The reference as its field shows it: "440" when whole, else one decimal ("439.5").
std::string a4Text(double a4);
// The reference once typed text is committed: the typed number (a comma counts as a decimal
// point) clamped to 400 ... 480, or `a4` unchanged when the text is not a finite number.
double commitA4Text(std::string_view text, double a4);
// What the slider stores for a written position: whole numbers only, halves away from zero.
double sliderA4(double written);
// The reference after `steps` stepper clicks (negative steps go down), kept within 400 ... 480.
// A step keeps any fraction (439.5 steps up to 440.5) until it meets an end.
double steppedA4(double a4, int steps);

} // namespace NoteFrequency
} // namespace morvela
