#include "tools/overtones/HarmonicSeries.h"

#include "common/NumberText.h"
#include "tools/pitch/NoteFrequency.h"

#include <algorithm>
#include <cmath>

namespace morvela {

namespace {

bool isFrequency(double hz)
{
    return std::isfinite(hz) && hz > 0.0;
}

} // namespace

std::vector<Harmonic> harmonicSeries(double fundamental, double a4, std::int64_t count)
{
    std::vector<Harmonic> series;
    if (count < 1 || !isFrequency(fundamental) || !isFrequency(a4))
        return series;
    series.reserve(static_cast<std::size_t>(count));
    for (std::int64_t n = 1; n <= count; ++n) {
        const double frequency = fundamental * static_cast<double>(n);
        NearestNote nearest = NoteFrequency::nearestNote(frequency, a4);
        series.push_back({n, frequency, std::move(nearest.name), nearest.cents});
    }
    return series;
}

DriftClass driftClass(double cents)
{
    const double drift = std::abs(cents);
    if (drift < 5.0)
        return DriftClass::inTune;
    if (drift < 20.0)
        return DriftClass::noticeable;
    return DriftClass::farOff;
}

float relativeAmplitude(std::int64_t number)
{
    return number >= 1 ? 1.0f / static_cast<float>(number) : 0.0f;
}

namespace HarmonicSelection {

std::vector<std::int64_t> all()
{
    std::vector<std::int64_t> numbers;
    for (std::int64_t n = 1; n <= harmonicCount; ++n)
        numbers.push_back(n);
    return numbers;
}

std::vector<std::int64_t> majorTriad()
{
    return {4, 5, 6};
}

std::vector<std::int64_t> normalized(std::vector<std::int64_t> numbers)
{
    std::erase_if(numbers, [](std::int64_t n) { return n < 1 || n > harmonicCount; });
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    return numbers;
}

bool contains(const std::vector<std::int64_t>& numbers, std::int64_t number)
{
    return std::find(numbers.begin(), numbers.end(), number) != numbers.end();
}

std::vector<std::int64_t> toggled(const std::vector<std::int64_t>& numbers, std::int64_t number)
{
    std::vector<std::int64_t> result = normalized(numbers);
    const auto at = std::lower_bound(result.begin(), result.end(), number);
    if (at != result.end() && *at == number)
        result.erase(at);
    else
        result.insert(at, number);
    return normalized(std::move(result));
}

} // namespace HarmonicSelection

std::vector<Partial> harmonicSum(double fundamental, const std::vector<std::int64_t>& enabled)
{
    std::vector<Partial> partials;
    for (const std::int64_t n : HarmonicSelection::normalized(enabled))
        partials.push_back({fundamental * static_cast<double>(n), relativeAmplitude(n)});
    return partials;
}

std::string driftText(double cents)
{
    std::string text = formatFixed(cents, 0);
    if (text.empty() || text.front() != '-')
        text.insert(text.begin(), '+');
    return text + "¢";
}

} // namespace morvela
