#pragma once

#include "audio/SynthBuffers.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

// The three buffers written literally from their formulas, with std::sin and std::exp per sample
// and the same float/double split: the yardstick of the synthesis tests and benchmark.
namespace DirectSynth {

inline std::vector<float> chord(const std::vector<double>& frequencies)
{
    std::vector<float> out(morvela::kChordFrames);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / 44100.0;
        float sum = 0.0f;
        for (std::size_t k = 0; k < frequencies.size(); ++k) {
            const double tau = t - 0.045 * static_cast<double>(k);
            if (tau < 0.0)
                continue;
            const double attack = std::min(tau / 0.006, 1.0);
            const double release = std::min((1.25 - t) / 0.08, 1.0);
            const double envelope = release * (std::exp(-2.9 * tau) * attack);
            const double x = tau * (frequencies[k] * 2.0 * std::numbers::pi);
            const double wave = std::sin(3.0 * x) * 0.1 + (std::sin(x) + std::sin(2.0 * x) * 0.32);
            sum += static_cast<float>(envelope * wave) * 0.15f;
        }
        out[i] = sum;
    }
    return out;
}

inline std::vector<float> partials(const std::vector<morvela::Partial>& partials)
{
    float total = 0.0f;
    for (const auto& p : partials)
        total += p.amplitude;
    const float gain = 0.55f / (total > 1.0f ? total : 1.0f);
    std::vector<float> out(morvela::kPartialsFrames);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / 44100.0;
        double envelope = std::exp(-2.1 * t) * std::min(t / 0.008, 1.0);
        const double fade = (1.6 - t) / 0.1;
        if (fade < 1.0)
            envelope = fade * envelope;
        float sum = 0.0f;
        for (const auto& p : partials)
            sum += p.amplitude * static_cast<float>(std::sin(t * (p.frequency * 2.0 * std::numbers::pi)));
        out[i] = sum * (gain * static_cast<float>(envelope));
    }
    return out;
}

inline std::vector<float> tick(double frequency, float gain)
{
    std::vector<float> out(morvela::kTickFrames);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / 44100.0;
        const double attack = std::min(t / 0.0015, 1.0);
        const double release = std::min((0.07 - t) / 0.012, 1.0);
        const double envelope = std::exp(-55.0 * t) * attack * release;
        const double x = t * (frequency * 2.0 * std::numbers::pi);
        const double wave = std::sin(x) + std::sin(2.0 * x) * 0.35;
        out[i] = gain * static_cast<float>(envelope * wave);
    }
    return out;
}

} // namespace DirectSynth
