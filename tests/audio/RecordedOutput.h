#pragma once

#include "PulseServer.h"
#include "audio/FrameClock.h"
#include "audio/VoiceMixer.h"

#include <QProcessEnvironment>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

// What a sound server made of the mixer's output, recorded off its null sink's monitor and tied
// to the steady clock of the requests: shared by the real-output test and the latency benchmark.
namespace recorded {

using morvela::FrameClock;
using morvela::VoiceMixer;

constexpr double kRate = 44100.0;

// Interpolated frame positions where |signal| first rises through `threshold`, at least `gap`
// frames apart.
inline std::vector<double> onsets(const std::vector<float>& signal, float threshold, std::size_t gap)
{
    std::vector<double> result;
    for (std::size_t i = 1; i < signal.size(); ++i) {
        const float before = std::abs(signal[i - 1]);
        const float now = std::abs(signal[i]);
        if (before < threshold && now >= threshold) {
            result.push_back(static_cast<double>(i - 1) + (threshold - before) / (now - before));
            i += gap;
        }
    }
    return result;
}

// One read off the monitor: when it arrived, and how many frames had been recorded with it.
struct Read {
    double arrival;
    std::size_t endFrame;
    double offset() const { return arrival - static_cast<double>(endFrame) / kRate; }
};

// The steady-clock instant of frame 0. Each read arrives when the sink has played it, give or take
// scheduling: the tenth percentile of arrival - endFrame / rate over the reads that arrived in
// [from, to] is the recording's timeline, free of late reads.
inline double origin(const std::vector<Read>& reads, double from, double to)
{
    std::vector<double> offsets;
    for (const auto& read : reads)
        if (read.arrival >= from && read.arrival <= to)
            offsets.push_back(read.offset());
    if (offsets.empty())
        return std::nan("");
    std::sort(offsets.begin(), offsets.end());
    return offsets[offsets.size() / 10];
}

// Recorded frames per second of the steady clock over [from, to]. The server's clock may run a few
// hundred ppm off the nominal rate (seen here: +450 ppm); sounds placed on the steady clock are
// then spaced by that much more or less in recorded frames. The least delayed read in the first and
// in the last half second of the span give the rate.
inline double rate(const std::vector<Read>& reads, double from, double to)
{
    const auto leastDelayed = [&](double begin, double end) {
        const Read* best = nullptr;
        for (const auto& read : reads)
            if (read.arrival >= begin && read.arrival <= end && (!best || read.offset() < best->offset()))
                best = &read;
        return best;
    };
    const Read* first = leastDelayed(from, from + 0.5);
    const Read* last = leastDelayed(to - 0.5, to);
    if (!first || !last || last->arrival - first->arrival < 1.0)
        return std::nan("");
    return static_cast<double>(last->endFrame - first->endFrame) / (last->arrival - first->arrival);
}

// Records the monitor into `left`, `right` and `reads` on a thread of its own, from construction
// until stop(). Read it after stop().
class Recording {
public:
    explicit Recording(const QProcessEnvironment& environment)
        : m_thread([this, environment] {
              recordMonitor(environment, m_stop, &FrameClock::now,
                            [this](double arrival, const float* stereo, std::size_t frames) {
                                for (std::size_t i = 0; i < frames; ++i) {
                                    left.push_back(stereo[2 * i]);
                                    right.push_back(stereo[2 * i + 1]);
                                }
                                reads.push_back({arrival, left.size()});
                            });
          })
    {
    }
    ~Recording() { stop(); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    std::vector<float> left;
    std::vector<float> right;
    std::vector<Read> reads;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread; // last: starts once the rest is in place
};

// Where each of `sounds` starts in the recording (in frames), and the most that is left of the
// recording once they are taken away there. Sounds may overlap, but the mixer only sums and
// scales: the first starts where the recording leaves silence, and each next one where what
// remains, once the sounds found before it are taken away, does.
struct Placed {
    std::vector<double> starts;
    float rest = 0.0f;
};
inline Placed place(const std::vector<float>& recorded, const std::vector<std::vector<float>>& sounds)
{
    constexpr float threshold = 1e-3f;
    const auto firstAbove = [&](const std::vector<float>& signal, std::size_t from, float scale) {
        while (from < signal.size() && std::abs(signal[from] * scale) < threshold)
            ++from;
        return from;
    };
    std::vector<float> rest = recorded;
    Placed placed;
    std::size_t from = 0;
    for (const auto& sound : sounds) {
        const std::size_t rise = firstAbove(sound, 0, VoiceMixer::kVolume);
        const std::size_t found = firstAbove(rest, from, 1.0f);
        if (found >= rest.size() || found < rise)
            break;
        const std::size_t start = found - rise;
        for (std::size_t i = 0; i < sound.size() && start + i < rest.size(); ++i)
            rest[start + i] -= sound[i] * VoiceMixer::kVolume;
        placed.starts.push_back(static_cast<double>(start));
        from = start + 1;
    }
    for (float r : rest)
        placed.rest = std::max(placed.rest, std::abs(r));
    return placed;
}

} // namespace recorded
