#pragma once

#include "platform/Services.h"

#include <chrono>
#include <functional>
#include <map>

// Timers on a manual clock: nothing fires until advance() moves the clock past a deadline.
// Install with Services::setTimerFactory(&clock); the clock must outlive the timers it made.
class ManualClock final : public TimerFactory {
public:
    using Ms = std::chrono::milliseconds;

    std::unique_ptr<DelayedAction> makeDelayedAction() override;
    std::unique_ptr<RepeatingTimer> makeRepeatingTimer() override;

    Ms now() const { return m_now; }
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
