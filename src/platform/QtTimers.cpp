#include "platform/QtTimers.h"

#include "audio/FrameClock.h"

#include <cmath>

QtDelayedAction::QtDelayedAction()
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // The action may re-arm this object, so it is moved out before it runs.
        auto action = std::move(m_action);
        m_action = nullptr;
        if (action)
            action();
    });
}

void QtDelayedAction::arm(std::chrono::milliseconds delay, std::function<void()> action)
{
    m_action = std::move(action);
    m_timer.start(delay);
}

void QtDelayedAction::cancel()
{
    m_timer.stop();
    m_action = nullptr;
}

QtRepeatingTimer::QtRepeatingTimer()
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        const double due = m_schedule.take(morvela::FrameClock::now());
        armForNext();
        // Keep the callable alive while it runs: it may invalidate or restart this timer.
        auto tick = m_tick;
        if (tick)
            tick(due);
    });
}

double QtRepeatingTimer::start(std::chrono::duration<double> interval, Tick tick)
{
    m_tick = std::move(tick);
    const double from = morvela::FrameClock::now() + kLead;
    m_schedule.start(from, interval.count());
    armForNext();
    return from;
}

void QtRepeatingTimer::armForNext()
{
    const double wait = m_schedule.nextDue() - kLead - morvela::FrameClock::now();
    m_timer.start(
        std::chrono::milliseconds(wait > 0.0 ? static_cast<long long>(std::ceil(wait * 1000.0)) : 0));
}

void QtRepeatingTimer::invalidate()
{
    m_timer.stop();
    m_tick = nullptr;
}
