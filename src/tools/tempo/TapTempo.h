#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>

namespace morvela {

// Tempo from taps on a monotonic clock. A pause of more than 2.5 s starts a new sequence;
// the tempo is the average interval of the last nine taps, as a whole BPM within 20 ... 400.
class TapTempo {
public:
    using TimePoint = std::chrono::steady_clock::time_point;

    // Records a tap; gives the tempo once the sequence has two taps or more.
    std::optional<double> tap(TimePoint now);

    static constexpr std::chrono::milliseconds maximumGap{2500};
    static constexpr std::size_t averagedTaps = 9;

private:
    // Oldest first; only the taps the average still needs.
    std::deque<TimePoint> m_taps;
};

} // namespace morvela
