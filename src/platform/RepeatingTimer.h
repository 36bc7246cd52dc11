#pragma once

#include <chrono>
#include <functional>

// A repeating timer on the UI thread. The first tick comes one interval after start, then one
// every interval; no tick runs after invalidate(), also when called from inside a tick.
// Starting again replaces the interval and the tick.
class RepeatingTimer {
public:
    virtual ~RepeatingTimer() = default;
    virtual void start(std::chrono::milliseconds interval, std::function<void()> tick) = 0;
    virtual void invalidate() = 0;
    virtual bool isActive() const = 0;
};
