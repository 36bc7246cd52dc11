#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvela {

// The note value 1/denominator (4 is a quarter note).
struct NoteDivision {
    std::int64_t denominator;
};

namespace NoteDivisions {

// The rows of the tempo table, whole note down to 1/128.
const std::vector<NoteDivision>& all();

// Position of the quarter note in all(): the row the table marks as the reference.
inline constexpr std::size_t referenceIndex = 2;

} // namespace NoteDivisions
} // namespace morvela
