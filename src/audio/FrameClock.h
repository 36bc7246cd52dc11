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
// The line's slope is how far the output runs off the steady clock (a PulseAudio null sink runs
// 450 ppm fast). It is fitted by least squares to the last 16 s of callbacks, and the line is
// then lowered onto the least late callback. Fitted over seconds, the line barely moves from one
// callback to the next, so sounds requested on a grid land on it to the frame, a second apart as
// well as 100 ms; a minimum over a short window instead jumps by the callbacks' jitter (0.1 ms and
// more). Until half a second of callbacks has been seen, the clock takes the lowest offset of the
// last 32 at the nominal rate.
//
// The timeline moves when the output loses time (an underrun, a stalled server: the recent 32
// callbacks all arrive 3 ms or more behind the line, or one arrives over a quarter of a second
// after the one before) or gains it (one arrives 3 ms or more ahead).
// The rate does not change then: the callbacks before keep serving the slope, each run of them
// about its own mean, and only those after the move place the line.
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
        std::uint32_t timeline;
    };
    static constexpr std::size_t kCapacity = 4096; // 24 s of 256-frame callbacks: more than kSpan
    static constexpr std::size_t kRecent = 32;
    static constexpr double kSpan = 16.0;
    static constexpr double kShortestFit = 0.5;
    static constexpr double kMoved = 0.003;
    static constexpr double kStalled = 0.25;

    Point& point(std::size_t age) { return m_points[(m_newest + kCapacity - age) % kCapacity]; }
    const Point& point(std::size_t age) const { return m_points[(m_newest + kCapacity - age) % kCapacity]; }
    double offsetAt(double instant) const { return m_offset + m_slope * (instant - m_anchor); }
    double residual(const Point& p) const { return p.offset - offsetAt(p.instant); }
    void followMove(const Point& latest);
    void fit();

    double m_rate;
    std::array<Point, kCapacity> m_points{};
    std::size_t m_newest = 0;
    std::size_t m_count = 0;
    std::uint32_t m_timeline = 0;
    double m_anchor = 0.0; // the line: offset m_offset at m_anchor, changing by m_slope per second
    double m_offset = 0.0;
    double m_slope = 0.0;
};

} // namespace morvela
