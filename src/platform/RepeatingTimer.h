#pragma once

#include <chrono>
#include <functional>

// The loop clock: a repeating timer on the UI thread whose ticks are due at start + k × interval
// (k = 1, 2, …) on the steady clock, with the interval kept in (fractional) seconds. A tick that
// runs late does not move the ones after it; ticks missed by more than a whole interval (the UI
// thread was held up) are skipped, so a loop stays on its grid instead of catching up in a burst.
// Each tick is handed its due instant in seconds on the FrameClock time base (it may run a moment
// before it); a loop passes it to the sound call so that its sounds are spaced exactly, however
// late the tick ran.
// No tick runs after invalidate(), also when called from inside a tick. Starting again replaces
// the interval and the tick and starts counting from now (or a moment later, see QtRepeatingTimer).
// start() returns that instant, the one tick k's due instant counts from: a loop passes it to the
// sound it plays as it starts, so that the first interval is as exact as the others.
class RepeatingTimer {
public:
    using Tick = std::function<void(double dueAt)>;

    virtual ~RepeatingTimer() = default;
    virtual double start(std::chrono::duration<double> interval, Tick tick) = 0;
    virtual void invalidate() = 0;
    virtual bool isActive() const = 0;
};
