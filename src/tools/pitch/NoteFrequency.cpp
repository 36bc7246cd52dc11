#include "tools/pitch/NoteFrequency.h"

#include "common/NumberText.h"

#include <algorithm>
#include <cmath>

namespace morvela::NoteFrequency {

const std::array<std::string, 12>& names()
{
    static const std::array<std::string, 12> table{"C",  "C#", "D",  "D#", "E",  "F",
                                                   "F#", "G",  "G#", "A",  "A#", "B"};
    return table;
}

const std::array<std::int64_t, 9>& octaves()
{
    static const std::array<std::int64_t, 9> table{0, 1, 2, 3, 4, 5, 6, 7, 8};
    return table;
}

std::int64_t noteNumber(std::int64_t pitchClass, std::int64_t octave)
{
    return 12 * (octave + 1) + pitchClass;
}

double frequency(std::int64_t noteNumber, double a4)
{
    return a4 * std::exp2(static_cast<double>(noteNumber - 69) / 12.0);
}

NearestNote nearestNote(double frequency, double a4)
{
    const double m = 12.0 * std::log2(frequency / a4) + 69.0;
    const double r = std::round(m); // halves away from zero
    const auto rounded = static_cast<std::int64_t>(r);
    const std::int64_t pitchClass = ((rounded % 12) + 12) % 12;
    const std::int64_t octave = rounded / 12 - 1;
    return {names()[static_cast<std::size_t>(pitchClass)] + std::to_string(octave), (m - r) * 100.0};
}

std::string plainAccidentals(std::string_view name)
{
    auto replaceAll = [](std::string text, std::string_view from, std::string_view to) {
        for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
        return text;
    };
    return replaceAll(replaceAll(std::string(name), "♯", "#"), "♭", "b");
}

std::string a4Text(double a4)
{
    return formatFixed(a4, a4 == std::round(a4) ? 0 : 1);
}

double commitA4Text(std::string_view text, double a4)
{
    const std::optional<double> typed = parseTypedNumber(text);
    return typed ? std::clamp(*typed, a4Minimum, a4Maximum) : a4;
}

double sliderA4(double written)
{
    return std::round(written);
}

double steppedA4(double a4, int steps)
{
    return std::clamp(a4 + steps, a4Minimum, a4Maximum);
}

} // namespace morvela::NoteFrequency
