#include "platform/QtTimers.h"

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
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        // Keep the callable alive while it runs: it may invalidate or restart this timer.
        auto tick = m_tick;
        if (tick)
            tick();
    });
}

void QtRepeatingTimer::start(std::chrono::milliseconds interval, std::function<void()> tick)
{
    m_tick = std::move(tick);
    m_timer.start(interval);
}

void QtRepeatingTimer::invalidate()
{
    m_timer.stop();
    m_tick = nullptr;
}
