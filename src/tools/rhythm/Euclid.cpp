#include "tools/rhythm/Euclid.h"

#include <algorithm>

namespace morvela::Euclid {

std::vector<bool> pattern(std::int64_t pulses, std::int64_t steps, std::int64_t rotation)
{
    if (steps < 1)
        return {};
    const auto n = static_cast<std::uint64_t>(steps);
    const auto k = static_cast<std::uint64_t>(std::clamp<std::int64_t>(pulses, 0, steps));

    // (i × k) mod n, kept as a running remainder so that no product can overflow.
    std::vector<bool> base(n);
    std::uint64_t remainder = 0;
    for (std::uint64_t i = 0; i < n; ++i) {
        base[i] = remainder < k;
        remainder += k;
        if (remainder >= n)
            remainder -= n;
    }

    std::int64_t shift = rotation % steps;
    if (shift < 0)
        shift += steps;
    if (shift == 0)
        return base;
    std::vector<bool> rotated(n);
    const auto r = static_cast<std::uint64_t>(shift);
    for (std::uint64_t j = 0; j < n; ++j)
        rotated[j] = base[(j + n - r) % n];
    return rotated;
}

double stepMilliseconds(double bpm, std::int64_t note)
{
    const double beat = bpm > 20.0 ? 60000.0 / std::min(bpm, 400.0) : 3000.0;
    return beat * (4.0 / static_cast<double>(note));
}

const std::vector<Preset>& presets()
{
    static const std::vector<Preset> list{
        {"Tresillo · E(3,8)", 8, 3}, {"Cinquillo · E(5,8)", 8, 5}, {"Bembé · E(7,12)", 12, 7},
        {"Bossa · E(5,16)", 16, 5},  {"Aksak · E(4,9)", 9, 4},
    };
    return list;
}

std::int64_t clampedPulses(std::int64_t steps, std::int64_t pulses)
{
    return std::min(steps, pulses);
}

std::int64_t clampedRotation(std::int64_t steps, std::int64_t rotation)
{
    return std::min(std::max<std::int64_t>(steps - 1, 0), rotation);
}

} // namespace morvela::Euclid
