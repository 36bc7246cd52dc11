#pragma once

#include "platform/Services.h"

#include <chrono>
#include <functional>
#include <map>

// Timers on a manual clock: nothing fires until advance() moves the clock past a deadline.
// Install with Services::setTimerFactory(&clock); the clock must outlive the timers it made.
// Repeating timers are loop clocks on this clock: their ticks get their due instants in
// seconds of manual time (now() / 1000), exact to the fraction of a millisecond.
class ManualClock final : public TimerFactory {
public:
    using Ms = std::chrono::duration<double, std::milli>;

    std::unique_ptr<DelayedAction> makeDelayedAction() override;
    std::unique_ptr<RepeatingTimer> makeRepeatingTimer() override;

    Ms now() const { return m_now; }
    double seconds() const { return m_now.count() / 1000.0; }
    // Moves time forward, running every due action and tick in deadline order.
    void advance(Ms by);
    int pendingCount() const { return static_cast<int>(m_entries.size()); }

    // Used by the timers this clock made.
    int schedule(Ms deadline, std::function<void()> callback);
    void unschedule(int id);

private:
    struct Entry {
        Ms deadline;
        std::function<void()> callback;
    };
    Ms m_now{0};
    int m_nextId = 1;
    std::map<int, Entry> m_entries;
};
