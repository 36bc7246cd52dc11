#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace morvela {

// The seven tools in sidebar order.
enum class CalculatorTool { bpm, rhythm, space, frequency, temperament, overtones, harmony };

namespace ToolCatalogue {

const std::array<CalculatorTool, 7>& allCases();
std::string_view rawValue(CalculatorTool tool);
std::string_view title(CalculatorTool tool);
std::string_view subtitle(CalculatorTool tool);
// Name of the symbol shown for the tool (an icon of the application's icon set).
std::string_view symbol(CalculatorTool tool);
// Name of the theme colour that is the tool's accent.
std::string_view tint(CalculatorTool tool);

// Exact, case-sensitive match against the raw ids.
std::optional<CalculatorTool> toolFromRawValue(std::string_view rawValue);
// The tool a stored id shows: Tempo when the id names no tool.
CalculatorTool effectiveTool(std::string_view storedId);

// "%.0f" for whole numbers, "%.1f" otherwise.
std::string compact(double value);
// "A4 = 440 Hz\n120 BPM = 500 ms"
std::string sidebarSummary(double a4, double bpm);

} // namespace ToolCatalogue
} // namespace morvela
