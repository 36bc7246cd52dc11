#pragma once

#include <cmath>
#include <cstdint>

// The arithmetic of the loop clock (see RepeatingTimer): tick k is due at start + k × interval,
// computed from the start each time, so rounding never accumulates. Times are seconds.
class LoopSchedule {
public:
    void start(double now, double interval)
    {
        m_start = now;
        m_interval = interval > 0.0 ? interval : 0.001;
        m_next = 1;
    }

    double nextDue() const { return m_start + static_cast<double>(m_next) * m_interval; }

    // The timer woke at `now` for the next tick: returns that tick's due instant and moves on.
    // When `now` is a whole interval or more past it, the ticks missed on the way are skipped
    // and the latest one that is due runs instead.
    double take(double now)
    {
        const double behind = std::floor((now - nextDue()) / m_interval);
        if (behind >= 1.0)
            m_next += static_cast<std::int64_t>(behind);
        return m_start + static_cast<double>(m_next++) * m_interval;
    }

private:
    double m_start = 0.0;
    double m_interval = 1.0;
    std::int64_t m_next = 1;
};
