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
    const Point latest{instant, instant - static_cast<double>(frame) / m_rate};
    if (m_count > 0 && timelineMoved(latest))
        m_count = 0;
    m_newest = (m_newest + 1) % kCapacity;
    m_points[m_newest] = latest;
    m_count = std::min(m_count + 1, kCapacity);
    while (m_count > 1 && point(m_count - 1).instant < instant - kSpan)
        --m_count;
    fit();
}

bool FrameClock::timelineMoved(const Point& latest) const
{
    double least = residual(latest);
    if (least < -kMoved)
        return true;
    if (m_count < kRecent - 1)
        return false;
    for (std::size_t age = 0; age < kRecent - 1; ++age)
        least = std::min(least, residual(point(age)));
    return least > kMoved;
}

void FrameClock::fit()
{
    const Point& newest = point(0);
    m_anchor = newest.instant;
    if (newest.instant - point(m_count - 1).instant < kShortestFit) {
        // Too short a span to tell the rates apart.
        m_slope = 0.0;
        m_offset = newest.offset;
        for (std::size_t age = 1; age < std::min(m_count, kRecent); ++age)
            m_offset = std::min(m_offset, point(age).offset);
        return;
    }
    // Least squares, in seconds before the newest callback and offsets from its own.
    const auto n = static_cast<double>(m_count);
    double meanT = 0.0, meanO = 0.0;
    for (std::size_t age = 0; age < m_count; ++age) {
        meanT += point(age).instant - newest.instant;
        meanO += point(age).offset - newest.offset;
    }
    meanT /= n;
    meanO /= n;
    double sxx = 0.0, sxy = 0.0;
    for (std::size_t age = 0; age < m_count; ++age) {
        const double t = point(age).instant - newest.instant - meanT;
        sxx += t * t;
        sxy += t * (point(age).offset - newest.offset - meanO);
    }
    m_slope = sxy / sxx;
    m_offset = newest.offset + meanO - m_slope * meanT;
    double lowest = residual(newest);
    for (std::size_t age = 1; age < m_count; ++age)
        lowest = std::min(lowest, residual(point(age)));
    m_offset += lowest;
}

} // namespace morvela
