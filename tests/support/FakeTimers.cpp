#include "support/FakeTimers.h"

#include "platform/LoopSchedule.h"

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

    double start(std::chrono::duration<double> interval, Tick tick) override
    {
        invalidate();
        m_tick = std::move(tick);
        m_schedule.start(m_clock.seconds(), interval.count());
        scheduleNext();
        return m_clock.seconds();
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
    void scheduleNext()
    {
        m_id = m_clock.schedule(ManualClock::Ms(m_schedule.nextDue() * 1000.0), [this] {
            m_id = 0;
            const double due = m_schedule.take(m_clock.seconds());
            scheduleNext();
            auto tick = m_tick;
            tick(due);
        });
    }

    ManualClock& m_clock;
    LoopSchedule m_schedule;
    Tick m_tick;
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
        // The first of equal deadlines is the earliest scheduled: the map is in id order.
        auto due = std::min_element(m_entries.begin(), m_entries.end(), [](const auto& a, const auto& b) {
            return a.second.deadline < b.second.deadline;
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
