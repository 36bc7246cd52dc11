#include "platform/Services.h"

#include "platform/QtTimers.h"

namespace {

class QtTimerFactory final : public TimerFactory {
public:
    std::unique_ptr<DelayedAction> makeDelayedAction() override
    {
        return std::make_unique<QtDelayedAction>();
    }
    std::unique_ptr<RepeatingTimer> makeRepeatingTimer() override
    {
        return std::make_unique<QtRepeatingTimer>();
    }
};

Clipboard* g_clipboard = nullptr;
TimerFactory* g_timers = nullptr;

} // namespace

namespace Services {

Clipboard& clipboard()
{
    static QtClipboard real;
    return g_clipboard ? *g_clipboard : real;
}

TimerFactory& timers()
{
    static QtTimerFactory real;
    return g_timers ? *g_timers : real;
}

void setClipboard(Clipboard* clipboard)
{
    g_clipboard = clipboard;
}

void setTimerFactory(TimerFactory* factory)
{
    g_timers = factory;
}

} // namespace Services
