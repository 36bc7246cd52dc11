#include "audio/FrameClock.h"

#include <algorithm>
#include <chrono>

namespace morvela {

double FrameClock::now()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void FrameClock::observe(std::int64_t frame, double instant)
{
    if (m_count == 0)
        m_next = 0;
    m_recent[m_next] = instant - static_cast<double>(frame) / m_rate;
    m_next = (m_next + 1) % kWindow;
    m_count = std::min(m_count + 1, kWindow);
    m_offset = *std::min_element(m_recent.begin(), m_recent.begin() + static_cast<std::ptrdiff_t>(m_count));
}

} // namespace morvela
