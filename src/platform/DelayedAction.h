#pragma once

#include <chrono>
#include <functional>

// A cancellable one-shot action on the UI thread. Arming replaces any pending action; the
// action runs once, not before the delay has passed, unless cancelled first. Cancelling
// after it ran does nothing.
class DelayedAction {
public:
    virtual ~DelayedAction() = default;
    virtual void arm(std::chrono::milliseconds delay, std::function<void()> action) = 0;
    virtual void cancel() = 0;
    virtual bool isPending() const = 0;
};
