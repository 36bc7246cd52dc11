#include "support/FakeTimers.h"

#include <algorithm>

namespace {

class ManualDelayedAction final : public DelayedAction {
public:
    explicit ManualDelayedAction(ManualClock& clock) : m_clock(clock) {}
    ~ManualDelayedAction() override { cancel(); }

    void arm(std::chrono::milliseconds delay, std::function<void()> action) override
    {
        cancel();
        m_id = m_clock.schedule(m_clock.now() + delay, [this, action = std::move(action)] {
            m_id = 0;
            action();
        });
    }
    void cancel() override
    {
        if (m_id)
            m_clock.unschedule(m_id);
        m_id = 0;
    }
    bool isPending() const override { return m_id != 0; }

private:
    ManualClock& m_clock;
    int m_id = 0;
};

class ManualRepeatingTimer final : public RepeatingTimer {
public:
    explicit ManualRepeatingTimer(ManualClock& clock) : m_clock(clock) {}
    ~ManualRepeatingTimer() override { invalidate(); }

    void start(std::chrono::milliseconds interval, std::function<void()> tick) override
    {
        invalidate();
        m_interval = interval;
        m_tick = std::move(tick);
        scheduleNext(m_clock.now() + interval);
    }
    void invalidate() override
    {
        if (m_id)
            m_clock.unschedule(m_id);
        m_id = 0;
        m_tick = nullptr;
    }
    bool isActive() const override { return m_id != 0; }

private:
    void scheduleNext(std::chrono::milliseconds deadline)
    {
        m_id = m_clock.schedule(deadline, [this, deadline] {
            m_id = 0;
            scheduleNext(deadline + m_interval);
            auto tick = m_tick;
            tick();
        });
    }

    ManualClock& m_clock;
    std::chrono::milliseconds m_interval{0};
    std::function<void()> m_tick;
    int m_id = 0;
};

} // namespace

std::unique_ptr<DelayedAction> ManualClock::makeDelayedAction()
{
    return std::make_unique<ManualDelayedAction>(*this);
}

std::unique_ptr<RepeatingTimer> ManualClock::makeRepeatingTimer()
{
    return std::make_unique<ManualRepeatingTimer>(*this);
}

int ManualClock::schedule(Ms deadline, std::function<void()> callback)
{
    const int id = m_nextId++;
    m_entries.emplace(id, Entry{deadline, std::move(callback)});
    return id;
}

void ManualClock::unschedule(int id)
{
    m_entries.erase(id);
}

void ManualClock::advance(Ms by)
{
    const Ms target = m_now + by;
    for (;;) {
        auto due = std::min_element(m_entries.begin(), m_entries.end(), [](const auto& a, const auto& b) {
            return a.second.deadline < b.second.deadline ||
                   (a.second.deadline == b.second.deadline && a.first < b.first);
        });
        if (due == m_entries.end() || due->second.deadline > target)
            break;
        m_now = due->second.deadline;
        auto callback = std::move(due->second.callback);
        m_entries.erase(due);
        callback();
    }
    m_now = target;
}
