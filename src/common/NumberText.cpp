#include "common/NumberText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

#include <locale.h>
#include <stdlib.h>

namespace morvela {

std::string formatFixed(double value, int decimals)
{
    decimals = std::clamp(decimals, 0, 17);
    // Large enough for any double in fixed notation (309 integer digits) plus 17 decimals.
    std::array<char, 400> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed,
                                decimals);
    if (result.ec != std::errc{})
        return {};
    return std::string(buffer.data(), result.ptr);
}

namespace {

bool isCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// strtod follows LC_NUMERIC, which Qt sets from the user's environment; strtod_l with a
// private C locale gives the C grammar (sign, decimals, exponent, hexadecimal floats)
// regardless of it.
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

} // namespace

std::optional<double> parseTypedNumber(std::string_view text)
{
    if (text.empty() || isCSpace(text.front()) || text.front() == '\0')
        return std::nullopt;

    std::string number(text);
    std::replace(number.begin(), number.end(), ',', '.');

    const char* begin = number.c_str();
    char* end = nullptr;
    const double value = strtod_l(begin, &end, cLocale());
    // An embedded NUL also stops the conversion short of the whole text.
    if (end != begin + number.size() || end == begin)
        return std::nullopt;
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace morvela
