#pragma once

#include "platform/Clipboard.h"
#include "platform/DelayedAction.h"
#include "platform/RepeatingTimer.h"

#include <memory>

// Makes the timers the application uses; tests install one that runs on a manual clock.
class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<DelayedAction> makeDelayedAction() = 0;
    virtual std::unique_ptr<RepeatingTimer> makeRepeatingTimer() = 0;
};

// The process-wide services of the UI thread. Components and controllers reach the platform
// only through these; tests replace them with doubles (nullptr restores the real one).
namespace Services {
Clipboard& clipboard();
TimerFactory& timers();
void setClipboard(Clipboard* clipboard);
void setTimerFactory(TimerFactory* factory);
} // namespace Services
