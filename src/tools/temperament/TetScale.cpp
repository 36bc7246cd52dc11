#include "tools/temperament/TetScale.h"

#include "common/NumberText.h"
#include "tools/pitch/NoteFrequency.h"

#include <algorithm>
#include <cmath>

namespace morvela {

std::vector<TetStep> tetScale(double reference, std::int64_t divisions, double a4)
{
    const std::int64_t n = std::clamp(divisions, tetDivisionsMinimum, tetDivisionsMaximum);
    const auto real = static_cast<double>(n);
    std::vector<TetStep> steps;
    steps.reserve(static_cast<std::size_t>(n + 1));
    for (std::int64_t k = 0; k <= n; ++k) {
        const double ratio = std::exp2(static_cast<double>(k) / real);
        const double frequency = reference * ratio;
        NearestNote nearest = NoteFrequency::nearestNote(frequency, a4);
        steps.push_back({k, frequency, ratio, static_cast<double>(k) * 1200.0 / real, std::move(nearest.name),
                         nearest.cents});
    }
    return steps;
}

const std::vector<TetPreset>& tetPresets()
{
    static const std::vector<TetPreset> presets{{"12 — standard tuning", 12},  {"24 — quarter tones", 24},
                                                {"19 — near just thirds", 19}, {"31 — meantone-like", 31},
                                                {"10 — decaphonic", 10},       {"9 — experimental", 9},
                                                {"7 — Thai-like", 7},          {"5 — near slendro", 5}};
    return presets;
}

std::string referenceText(double reference)
{
    return formatFixed(reference, reference == std::round(reference) ? 0 : 2);
}

double commitReferenceText(std::string_view text, double reference)
{
    const std::optional<double> typed = parseTypedNumber(text);
    return typed ? std::clamp(*typed, tetReferenceMinimum, tetReferenceMaximum) : reference;
}

double steppedReference(std::string_view text, double reference, int steps)
{
    const double delta = std::clamp(reference + steps, tetReferenceMinimum, tetReferenceMaximum) - reference;
    return std::clamp(commitReferenceText(text, reference) + delta, tetReferenceMinimum, tetReferenceMaximum);
}

} // namespace morvela
