#include "audio/SynthBuffers.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace morvela {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Frames are computed eight at a time: each lane follows every eighth frame with its own
// recurrence, so the lanes are independent of each other and the loop over them vectorises.
constexpr std::size_t kLanes = 8;

// Buffers are far shorter than 2^31 frames; a signed index converts to double in vector code.
double secondsOf(std::size_t frame)
{
    return static_cast<double>(static_cast<int>(frame)) / kAudioSampleRate;
}

// sin and cos of (t - onset) * angularFrequency for consecutive frames, by rotating a phasor
// per lane instead of calling sin per sample (about ten times faster). The lanes start from the
// directly computed phase; over a whole buffer the rotation drifts by about 1e-12.
struct PhasorLanes {
    PhasorLanes(std::size_t firstFrame, double onset, double angularFrequency)
    {
        for (std::size_t l = 0; l < kLanes; ++l) {
            const double phase = (secondsOf(firstFrame + l) - onset) * angularFrequency;
            cosine[l] = std::cos(phase);
            sine[l] = std::sin(phase);
        }
        const double turn = secondsOf(kLanes) * angularFrequency;
        turnCosine = std::cos(turn);
        turnSine = std::sin(turn);
    }
    void advance()
    {
        for (std::size_t l = 0; l < kLanes; ++l) {
            const double c = cosine[l] * turnCosine - sine[l] * turnSine;
            sine[l] = cosine[l] * turnSine + sine[l] * turnCosine;
            cosine[l] = c;
        }
    }

    double cosine[kLanes];
    double sine[kLanes];
    double turnCosine;
    double turnSine;
};

// e^(-rate * (t - onset)) for consecutive frames, by repeated multiplication.
struct DecayLanes {
    DecayLanes(std::size_t firstFrame, double onset, double rate)
    {
        for (std::size_t l = 0; l < kLanes; ++l)
            value[l] = std::exp(-rate * (secondsOf(firstFrame + l) - onset));
        factor = std::exp(-rate * secondsOf(kLanes));
    }
    void advance()
    {
        for (std::size_t l = 0; l < kLanes; ++l)
            value[l] *= factor;
    }

    double value[kLanes];
    double factor;
};

// Calls frame(lane, index) for every frame in [first, end), lane = (index - first) % kLanes,
// and advance() after each full round of lanes.
template <typename Frame, typename Advance>
void forEachFrame(std::size_t first, std::size_t end, Frame&& frame, Advance&& advance)
{
    std::size_t i = first;
    for (; i + kLanes <= end; i += kLanes) {
        for (std::size_t l = 0; l < kLanes; ++l)
            frame(l, i + l);
        advance();
    }
    for (std::size_t l = 0; i + l < end; ++l)
        frame(l, i + l);
}

// The first frame whose time is not before onset, decided exactly as the formula does.
std::size_t firstFrameFrom(double onset)
{
    auto frame = static_cast<std::size_t>(std::max(0.0, std::floor(onset * kAudioSampleRate)));
    while (frame > 0 && secondsOf(frame - 1) - onset >= 0.0)
        --frame;
    while (secondsOf(frame) - onset < 0.0)
        ++frame;
    return frame;
}

} // namespace

std::array<double, 3> triadFrequencies(double rootHz, TriadQuality quality)
{
    int third = 4;
    int fifth = 7;
    switch (quality) {
    case TriadQuality::major:
        break;
    case TriadQuality::minor:
        third = 3;
        break;
    case TriadQuality::diminished:
        third = 3;
        fifth = 6;
        break;
    }
    return {rootHz, rootHz * std::pow(2.0, third / 12.0), rootHz * std::pow(2.0, fifth / 12.0)};
}

std::vector<float> makeBuffer(const std::vector<double>& frequencies)
{
    std::vector<float> out(kChordFrames, 0.0f);
    for (std::size_t k = 0; k < frequencies.size(); ++k) {
        const double onset = 0.045 * static_cast<double>(k);
        const std::size_t first = firstFrameFrom(onset);
        if (first >= kChordFrames)
            continue;
        PhasorLanes wave(first, onset, frequencies[k] * kTwoPi);
        DecayLanes decay(first, onset, 2.9);
        forEachFrame(
            first, kChordFrames,
            [&](std::size_t l, std::size_t i) {
                const double t = secondsOf(i);
                const double attack = std::min((t - onset) / 0.006, 1.0);
                const double release = std::min((1.25 - t) / 0.08, 1.0);
                const double envelope = release * (decay.value[l] * attack);
                const double s = wave.sine[l];
                const double sin2x = 2.0 * s * wave.cosine[l];
                const double sin3x = s * (3.0 - 4.0 * s * s);
                const double w = sin3x * 0.1 + (s + sin2x * 0.32);
                out[i] += static_cast<float>(envelope * w) * 0.15f;
            },
            [&] {
                wave.advance();
                decay.advance();
            });
    }
    return out;
}

float partialsGain(const std::vector<Partial>& partials)
{
    float sum = 0.0f;
    for (const Partial& p : partials)
        sum += p.amplitude;
    const float norm = sum > 1.0f ? sum : 1.0f;
    return 0.55f / norm;
}

std::vector<float> makePartialsBuffer(const std::vector<Partial>& partials)
{
    std::vector<float> out(kPartialsFrames, 0.0f);
    // Partial by partial, so that every frame sums its partials in list order.
    for (const Partial& p : partials) {
        PhasorLanes wave(0, 0.0, p.frequency * kTwoPi);
        const float amplitude = p.amplitude;
        forEachFrame(
            0, kPartialsFrames,
            [&](std::size_t l, std::size_t i) { out[i] += amplitude * static_cast<float>(wave.sine[l]); },
            [&] { wave.advance(); });
    }
    const float gain = partialsGain(partials);
    DecayLanes decay(0, 0.0, 2.1);
    forEachFrame(
        0, kPartialsFrames,
        [&](std::size_t l, std::size_t i) {
            const double t = secondsOf(i);
            const double envelope = decay.value[l] * std::min(t / 0.008, 1.0);
            const double fade = (1.6 - t) / 0.1;
            const double faded = fade < 1.0 ? fade * envelope : envelope;
            out[i] = out[i] * (gain * static_cast<float>(faded));
        },
        [&] { decay.advance(); });
    return out;
}

std::vector<float> makeTickBuffer(double frequency, float gain)
{
    std::vector<float> out(kTickFrames);
    PhasorLanes wave(0, 0.0, frequency * kTwoPi);
    DecayLanes decay(0, 0.0, 55.0);
    forEachFrame(
        0, kTickFrames,
        [&](std::size_t l, std::size_t i) {
            const double t = secondsOf(i);
            const double attack = std::min(t / 0.0015, 1.0);
            const double release = std::min((0.07 - t) / 0.012, 1.0);
            const double envelope = decay.value[l] * attack * release;
            const double s = wave.sine[l];
            const double w = s + 2.0 * s * wave.cosine[l] * 0.35;
            out[i] = gain * static_cast<float>(envelope * w);
        },
        [&] {
            wave.advance();
            decay.advance();
        });
    return out;
}

} // namespace morvela
