#pragma once

namespace morvela {

// When the audio callback renders its period.
//
// A blocking output (RtAudio on PulseAudio or ALSA) calls the callback as soon as the previous
// period has been handed over, and the hand-over waits until the server or device has room for a
// whole period, which it makes once a period. So what the callback renders at once sits waiting
// about one period (5.8 ms) before it is queued, and a one-off sound asked for meanwhile misses it.
// Rendering shortly before the room is due instead puts such a sound out that much sooner.
//
// The callback waits only while the output keeps that cadence: it was entered about a period after
// the one before, and the previous hand-over waited for room (longer than kBlocked) without
// waiting past it. The room is then due a period after the previous one came, which is when the
// callback was entered, and it renders kRoom before that. Waking late costs nothing but the gain,
// since the output still holds its other queued periods: that hand-over does not wait, and the
// callback after it renders at once and finds the cadence again. After a start (the queue filling
// without waiting), a stall, or with an output that takes several periods at a time, it renders
// at once.
struct RenderPacing {
    // For the wake-up (a real-time thread wakes within tens of microseconds; a virtual machine's
    // halted CPU later) and the rendering itself.
    static constexpr double kRoom = 0.001;
    // Longer than handing a period over takes when there is room for it (tens of microseconds).
    static constexpr double kBlocked = 0.0002;

    // Seconds to wait after entering the callback, given the time since the previous callback was
    // entered, how long the previous hand-over took (from its return to this entry), and the
    // period.
    static double delay(double sincePrevious, double handOver, double period)
    {
        const bool cadence = sincePrevious >= 0.5 * period && sincePrevious <= 1.5 * period;
        const bool waitedForRoom = handOver >= kBlocked && handOver <= 1.5 * period;
        if (!cadence || !waitedForRoom || period <= kRoom)
            return 0.0;
        return period - kRoom;
    }
};

} // namespace morvela
