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
    Point latest{instant, instant - static_cast<double>(frame) / m_rate, m_timeline};
    if (m_count > 0)
        followMove(latest);
    else
        ++m_timeline;
    latest.timeline = m_timeline;
    m_newest = (m_newest + 1) % kCapacity;
    m_points[m_newest] = latest;
    m_count = std::min(m_count + 1, kCapacity);
    while (m_count > 1 && point(m_count - 1).instant < instant - kSpan)
        --m_count;
    fit();
}

// Starts a new timeline when `latest` is well ahead of the line, or it and the callbacks just
// before it on this timeline are all well behind: those callbacks then belong to the new one.
void FrameClock::followMove(const Point& latest)
{
    // Nothing for that long: the output stalled (a server that is still starting, say). Its first
    // callbacks may have come at once to fill its queue; a line through them and this one would
    // take the stall for the output's rate.
    if (latest.instant - point(0).instant > kStalled) {
        ++m_timeline;
        return;
    }
    double least = residual(latest);
    if (least < -kMoved) {
        ++m_timeline;
        return;
    }
    if (m_count < kRecent - 1)
        return;
    for (std::size_t age = 0; age < kRecent - 1; ++age) {
        const Point& p = point(age);
        if (p.timeline != m_timeline)
            return;
        least = std::min(least, residual(p));
    }
    if (least <= kMoved)
        return;
    ++m_timeline;
    for (std::size_t age = 0; age < kRecent - 1; ++age)
        point(age).timeline = m_timeline;
}

void FrameClock::fit()
{
    // Seconds before the newest callback, offsets from its own: small numbers for the sums.
    const Point& newest = point(0);
    m_anchor = newest.instant;
    const auto t = [&](const Point& p) { return p.instant - newest.instant; };
    const auto o = [&](const Point& p) { return p.offset - newest.offset; };

    // Least squares with one slope for all the timelines in the span, each about its own mean.
    double sxx = 0.0, sxy = 0.0, span = 0.0;
    for (std::size_t end = m_count; end > 0;) {
        std::size_t begin = end; // ages [end - 1 ... begin] form one run, oldest first
        const std::uint32_t timeline = point(end - 1).timeline;
        while (begin > 0 && point(begin - 1).timeline == timeline)
            --begin;
        double meanT = 0.0, meanO = 0.0;
        for (std::size_t age = begin; age < end; ++age) {
            meanT += t(point(age));
            meanO += o(point(age));
        }
        const auto n = static_cast<double>(end - begin);
        meanT /= n;
        meanO /= n;
        for (std::size_t age = begin; age < end; ++age) {
            const double dt = t(point(age)) - meanT;
            sxx += dt * dt;
            sxy += dt * (o(point(age)) - meanO);
        }
        span += point(begin).instant - point(end - 1).instant;
        end = begin;
    }

    // Too short a span to tell the rates apart: the nominal rate, through the least late of the
    // recent callbacks. Otherwise the fitted slope, through the least late of this timeline.
    const bool fitted = span >= kShortestFit && sxx > 0.0;
    m_slope = fitted ? sxy / sxx : 0.0;
    double lowest = o(newest);
    for (std::size_t age = 1; age < (fitted ? m_count : std::min(m_count, kRecent)); ++age) {
        const Point& p = point(age);
        if (p.timeline != newest.timeline)
            break;
        lowest = std::min(lowest, o(p) - m_slope * t(p));
    }
    m_offset = newest.offset + lowest;
}

} // namespace morvela
