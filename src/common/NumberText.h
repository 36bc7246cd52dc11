#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvela {

// printf("%.<decimals>f") in the C locale, whatever locale the process runs in.
std::string formatFixed(double value, int decimals);

// A number typed by the user: commas count as decimal points, and the whole text must be
// what C's strtod accepts in the C locale (no leading white space, nothing after it).
// Infinite and NaN results are rejected.
std::optional<double> parseTypedNumber(std::string_view text);

} // namespace morvela
