#include "tools/space/ReverbDelay.h"

#include "common/NumberText.h"

#include <algorithm>
#include <cmath>

namespace morvela::ReverbDelay {

double bar(double bpm)
{
    const double clamped = bpm > minimumBpm ? std::min(bpm, maximumBpm) : minimumBpm;
    return 240000.0 / clamped;
}

const std::vector<ReverbPreset>& presets()
{
    static const std::vector<ReverbPreset> table{
        {"Tight Ambience", "drums, percussion", 0.25, 256},
        {"Small Room", "guitars, keys", 0.5, 128},
        {"Medium Room", "vocals, snare", 1, 64},
        {"Large Hall", "ballad vocals, pads", 2, 32},
        {"Epic Wash", "ambient, cinematic", 4, 16},
    };
    return table;
}

const std::vector<DelayPick>& delayPicks()
{
    static const std::vector<DelayPick> table{
        {"1/4", 0.25},      {"1/8D", 0.1875}, {"1/8", 0.125},    {"1/8T", 1.0 / 12.0},
        {"1/16D", 0.09375}, {"1/16", 0.0625}, {"1/32", 0.03125},
    };
    return table;
}

ReverbTimes presetTimes(const ReverbPreset& preset, double bpm)
{
    const double length = bar(bpm);
    const double preDelay = length / static_cast<double>(preset.preDivision);
    const double total = preset.totalBars * length;
    return {preDelay, total - preDelay, total};
}

std::int64_t preDivisionInUse(std::int64_t preDivision)
{
    return preDivision > 0 ? preDivision : defaultPreDivision;
}

ReverbTimes customTimes(double totalBars, std::int64_t preDivision, double bpm)
{
    const double length = bar(bpm);
    const double preDelay = length / static_cast<double>(preDivisionInUse(preDivision));
    const double total = length * totalBars;
    return {preDelay, std::max(total - preDelay, 0.0), total};
}

std::string lengthLabel(double totalBars)
{
    if (totalBars < 1)
        return totalBars == 0.25 ? "¼ bar" : "½ bar";
    return formatFixed(std::trunc(totalBars), 0) + (totalBars > 1 ? " bars" : " bar");
}

std::string subtitle(const ReverbPreset& preset)
{
    return preset.detail + " · " + lengthLabel(preset.totalBars) + " · pre 1/" +
           std::to_string(preset.preDivision);
}

} // namespace morvela::ReverbDelay
