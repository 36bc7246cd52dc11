#pragma once

#include "platform/DelayedAction.h"
#include "platform/LoopSchedule.h"
#include "platform/RepeatingTimer.h"

#include <QTimer>

class QtDelayedAction final : public DelayedAction {
public:
    QtDelayedAction();
    void arm(std::chrono::milliseconds delay, std::function<void()> action) override;
    void cancel() override;
    bool isPending() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_action;
};

class QtRepeatingTimer final : public RepeatingTimer {
public:
    QtRepeatingTimer();
    void start(std::chrono::duration<double> interval, Tick tick) override;
    void invalidate() override;
    bool isActive() const override { return m_timer.isActive(); }

private:
    void armForNext();

    // Single shot, re-armed for each due instant: a repeating QTimer counts whole milliseconds
    // from each timeout and drifts.
    QTimer m_timer;
    LoopSchedule m_schedule;
    Tick m_tick;
};
