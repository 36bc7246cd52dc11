#pragma once

#include "platform/DelayedAction.h"
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
    void start(std::chrono::milliseconds interval, std::function<void()> tick) override;
    void invalidate() override;
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
    std::function<void()> m_tick;
};
