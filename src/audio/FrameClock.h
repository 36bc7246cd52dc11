#pragma once

#include <array>
#include <cstdint>

namespace morvela {

// Which output frame the audio callback renders at which instant, learned from the callbacks
// themselves. Each callback gives an offset, instant - frame / rate. A callback never comes
// before the output needs its frames, only after (scheduling delay), so the clock takes the
// lowest offset of the last 32 callbacks (0.19 s at 256 frames). The window lets it follow a
// sound card that runs slower than the steady clock (at 100 ppm it is 19 µs behind) and move to
// the new timeline within 0.19 s after the output lost time (an underrun, a stalled server).
class FrameClock {
public:
    explicit FrameClock(double sampleRate) : m_rate(sampleRate) {}

    // Seconds on the steady clock: the time base of requests and callbacks.
    static double now();

    void reset() { m_count = 0; }
    // A callback is about to render `frame` at `instant`.
    void observe(std::int64_t frame, double instant);
    // The (fractional) frame rendered at `instant`; meaningful once a callback was observed.
    double frameAt(double instant) const { return (instant - m_offset) * m_rate; }

private:
    static constexpr std::size_t kWindow = 32;

    double m_rate;
    std::array<double, kWindow> m_recent{};
    std::size_t m_count = 0;
    std::size_t m_next = 0;
    double m_offset = 0.0;
};

} // namespace morvela
