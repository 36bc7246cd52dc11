#include "app/ToolCatalogue.h"

#include "common/NumberText.h"

#include <algorithm>
#include <cmath>

namespace morvela::ToolCatalogue {

namespace {

struct Entry {
    CalculatorTool tool;
    std::string_view rawValue, title, subtitle, symbol, tint;
};

constexpr std::array<Entry, 7> kEntries{{
    {CalculatorTool::bpm, "bpm", "Tempo", "BPM, ms, Hz", "metronome", "saffron"},
    {CalculatorTool::rhythm, "rhythm", "Rhythm", "Euclidean patterns", "circle.dotted", "fern"},
    {CalculatorTool::space, "space", "Space", "Reverb & delay times", "water.waves", "dusk"},
    {CalculatorTool::frequency, "frequency", "Pitch", "Notes, octaves, tuning", "pianokeys", "teal"},
    {CalculatorTool::temperament, "temperament", "Temperament", "N-TET experiments", "dial.medium", "lake"},
    {CalculatorTool::overtones, "overtones", "Overtones", "Harmonic series", "waveform.path", "copper"},
    {CalculatorTool::harmony, "harmony", "Harmony", "Circle of fifths", "smallcircle.filled.circle",
     "lacquer"},
}};

const Entry& entry(CalculatorTool tool)
{
    return kEntries[static_cast<size_t>(tool)];
}

} // namespace

const std::array<CalculatorTool, 7>& allCases()
{
    static const std::array<CalculatorTool, 7> cases = [] {
        std::array<CalculatorTool, 7> result{};
        std::transform(kEntries.begin(), kEntries.end(), result.begin(),
                       [](const Entry& e) { return e.tool; });
        return result;
    }();
    return cases;
}

std::string_view rawValue(CalculatorTool tool)
{
    return entry(tool).rawValue;
}
std::string_view title(CalculatorTool tool)
{
    return entry(tool).title;
}
std::string_view subtitle(CalculatorTool tool)
{
    return entry(tool).subtitle;
}
std::string_view symbol(CalculatorTool tool)
{
    return entry(tool).symbol;
}
std::string_view tint(CalculatorTool tool)
{
    return entry(tool).tint;
}

std::optional<CalculatorTool> toolFromRawValue(std::string_view raw)
{
    for (const Entry& e : kEntries) {
        if (e.rawValue == raw)
            return e.tool;
    }
    return std::nullopt;
}

CalculatorTool effectiveTool(std::string_view storedId)
{
    return toolFromRawValue(storedId).value_or(CalculatorTool::bpm);
}

std::string compact(double value)
{
    return formatFixed(value, value == std::round(value) ? 0 : 1);
}

std::string sidebarSummary(double a4, double bpm)
{
    return "A4 = " + compact(a4) + " Hz\n" + compact(bpm) +
           " BPM = " + compact(60000.0 / std::max(bpm, 1.0)) + " ms";
}

} // namespace morvela::ToolCatalogue
