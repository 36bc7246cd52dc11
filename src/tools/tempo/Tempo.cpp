#include "tools/tempo/Tempo.h"

#include "common/NumberText.h"

#include <algorithm>
#include <cmath>

namespace morvela::Tempo {

namespace {

// The double nearest 2/3, as the triplet factor.
constexpr double tripletFactor = 0.6666666666666666;

// Length of a quarter note; 0 for a tempo that is not positive (also NaN).
double beat(double bpm)
{
    return bpm > 0 ? 60000.0 / bpm : 0.0;
}

} // namespace

double straight(double bpm, std::int64_t n)
{
    return beat(bpm) * (4.0 / static_cast<double>(n));
}

double dotted(double bpm, std::int64_t n)
{
    return straight(bpm, n) * 1.5;
}

double triplet(double bpm, std::int64_t n)
{
    return straight(bpm, n) * tripletFactor;
}

double rateHz(double bpm, std::int64_t n)
{
    const double length = straight(bpm, n);
    return length > 0 ? 1000.0 / length : 0.0;
}

double quarter(double bpm)
{
    return beat(bpm);
}

double dottedEighth(double bpm)
{
    return beat(bpm) * 0.5 * 1.5;
}

double sixteenthRate(double bpm)
{
    const double sixteenth = beat(bpm) * 0.25;
    return sixteenth > 0 ? 1000.0 / sixteenth : 0.0;
}

std::string bpmText(double bpm)
{
    return formatFixed(bpm, bpm == std::round(bpm) ? 0 : 2);
}

double commitBpmText(std::string_view text, double bpm)
{
    const std::optional<double> typed = parseTypedNumber(text);
    return typed ? std::clamp(*typed, typedMinimum, typedMaximum) : bpm;
}

double sliderBpm(double written)
{
    return std::round(written);
}

double steppedBpm(double bpm, int steps)
{
    const double stepped = std::clamp(bpm + steps, controlMinimum, controlMaximum);
    const bool forward = steps > 0 ? stepped > bpm : stepped < bpm;
    return forward ? stepped : bpm;
}

} // namespace morvela::Tempo
