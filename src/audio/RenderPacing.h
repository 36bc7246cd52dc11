#pragma once

namespace morvela {

// When the audio callback renders its period.
//
// A blocking output (RtAudio on PulseAudio or ALSA) calls the callback as soon as the previous
// period has been handed over, and the hand-over waits until the server or device has room for
// it, which it makes about once a period. So what the callback renders at once sits waiting about
// a period (5.8 ms) before it is queued, and a one-off sound asked for meanwhile misses it.
// Rendering shortly before the room is due puts such a sound out that much sooner.
//
// The callback is entered when the room for the previous period came, if that hand-over waited
// for it; the next room is then due a period later, and the callback waits until kRoom before
// that. It waits only on that evidence:
//  - it was entered about a period after the one before, and the previous hand-over waited (took
//    longer than kBlocked, and not past 1.5 periods): not while a starting queue fills, after a
//    stall, or with an output that takes several periods at a time;
//  - the previous callback, waiting included, was done kRoom / 2 before its room was due: a
//    late wake-up may have missed the room, and then this entry is late too;
//  - it is not the kLongestRun + 1st in a row: rendering at once then waits for the room again,
//    which sets the entry back on the output's cadence, so an entry late by a slow hand-over
//    (one that took longer than kBlocked without waiting) cannot make the next ones later and
//    later, nor can the output's clock drifting from the steady one.
// So a period is handed over at worst a little late, once in a while, while the output still
// holds its other queued periods (17 ms).
class RenderPacing {
public:
    // For the wake-up (a real-time thread wakes within a tenth of a millisecond here) and the
    // rendering itself.
    static constexpr double kRoom = 0.001;
    // Longer than a hand-over takes when there is room for it (tens of microseconds).
    static constexpr double kBlocked = 0.0002;
    static constexpr int kLongestRun = 16;

    // A stream starts: its first callback renders at once (no hand-over came a period before it).
    void reset() { *this = RenderPacing(); }
    // The callback is entered at `now` (seconds) to render `period` seconds of sound: how long
    // it waits before rendering.
    double enter(double now, double period)
    {
        const double previous = m_left - m_entered; // the previous callback, waiting included
        const double handOver = now - m_left;
        const bool cadence = previous + handOver >= 0.5 * period && previous + handOver <= 1.5 * period;
        const bool waited = handOver >= kBlocked && handOver <= 1.5 * period;
        const bool onTime = previous <= period - kRoom / 2;
        const bool paced = cadence && waited && onTime && m_run < kLongestRun && period > kRoom;
        m_run = paced ? m_run + 1 : 0;
        m_entered = now;
        return paced ? period - kRoom : 0.0;
    }
    // The callback returns at `now` to hand its period over.
    void leave(double now) { m_left = now; }

private:
    double m_entered = 0.0;
    double m_left = 0.0;
    int m_run = 0;
};

} // namespace morvela
