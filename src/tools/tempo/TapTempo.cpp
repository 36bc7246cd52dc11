#include "tools/tempo/TapTempo.h"

#include "tools/tempo/Tempo.h"

#include <algorithm>
#include <cmath>

namespace morvela {

std::optional<double> TapTempo::tap(TimePoint now)
{
    if (!m_taps.empty() && now - m_taps.back() > maximumGap)
        m_taps.clear();
    m_taps.push_back(now);
    if (m_taps.size() > averagedTaps)
        m_taps.pop_front();
    if (m_taps.size() < 2)
        return std::nullopt;

    // The sum of the intervals between consecutive taps is the span from first to last;
    // taking it in whole clock ticks keeps it exact.
    const std::chrono::duration<double> span = m_taps.back() - m_taps.front();
    const double average = span.count() / static_cast<double>(m_taps.size() - 1);
    return std::clamp(std::round(60.0 / average), Tempo::controlMinimum, Tempo::controlMaximum);
}

} // namespace morvela
