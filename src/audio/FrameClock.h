#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace morvela {

// Which output frame the audio callback renders at which instant, learned from the callbacks
// themselves. Each callback gives an offset, instant - frame / rate. A callback never comes
// before the output needs its frames, only after (scheduling delay, or a server that asks for
// several periods at once), so the offsets lie on or above a line: the output's timeline.
//
// The clock fits that line to the last 4 s of callbacks. Its slope follows a sound card or
// server that runs off the steady clock (a null sink here runs 450 ppm fast), and the fit is
// then lowered onto the least late callback of the span. Fitted over seconds, the line barely
// moves from one callback to the next, so sounds requested on a grid land on it to the frame;
// a minimum over a short window instead jumps by the callbacks' jitter (0.1 ms and more).
// Until half a second of callbacks has been seen, the clock takes the lowest offset of the
// last 32 at the nominal rate. When the timeline moves (an underrun, a stalled server: the
// recent callbacks all arrive 3 ms or more off the line, or one arrives that much ahead of
// it) the clock forgets the callbacks before and learns anew, within 32 callbacks.
class FrameClock {
public:
    explicit FrameClock(double sampleRate) : m_rate(sampleRate) {}

    // Seconds on the steady clock: the time base of requests and callbacks.
    static double now();

    void reset() { m_count = 0; }
    // A callback is about to render `frame` at `instant`.
    void observe(std::int64_t frame, double instant);
    // The (fractional) frame rendered at `instant`; meaningful once a callback was observed.
    double frameAt(double instant) const { return (instant - offsetAt(instant)) * m_rate; }

private:
    struct Point {
        double instant;
        double offset;
    };
    static constexpr std::size_t kCapacity = 1024; // 6 s of 256-frame callbacks
    static constexpr std::size_t kRecent = 32;
    static constexpr double kSpan = 4.0;
    static constexpr double kShortestFit = 0.5;
    static constexpr double kMoved = 0.003;

    const Point& point(std::size_t age) const { return m_points[(m_newest + kCapacity - age) % kCapacity]; }
    double offsetAt(double instant) const { return m_offset + m_slope * (instant - m_anchor); }
    double residual(const Point& p) const { return p.offset - offsetAt(p.instant); }
    bool timelineMoved(const Point& latest) const;
    void fit();

    double m_rate;
    std::array<Point, kCapacity> m_points{};
    std::size_t m_newest = 0;
    std::size_t m_count = 0;
    double m_anchor = 0.0; // the line: offset m_offset at m_anchor, changing by m_slope per second
    double m_offset = 0.0;
    double m_slope = 0.0;
};

} // namespace morvela
