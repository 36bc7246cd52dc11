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
    // How long before its due instant a tick is woken, in seconds. A sound the tick schedules for
    // that instant is synthesised on this thread (a chord takes 0.6 ms here, several times that on
    // a slow machine or under a sanitizer) and must reach the mixer before the frame it starts on
    // is rendered, at most the mixer's start margin after the instant, even when the thread wakes
    // late. Ticks only ever run early by this much: the sounds keep their due instants. The clock
    // counts from this much after start(), so the sound a loop plays as it starts, at the instant
    // start() returns, has the same time for its synthesis.
    static constexpr double kLead = 0.005;

    QtRepeatingTimer();
    double start(std::chrono::duration<double> interval, Tick tick) override;
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
