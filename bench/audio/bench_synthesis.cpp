// Milliseconds per buffer for the three sounds, each next to the same formula evaluated with
// std::sin and std::exp per sample in this run; the ratio is what the phasor synthesis gains.
#include "DirectSynth.h"
#include "audio/SynthBuffers.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace morvela;

namespace {

volatile float g_sink;

// Best of several rounds, so that a preemption does not count.
double millisecondsPerBuffer(const std::function<std::vector<float>()>& make, int buffersPerRound)
{
    double best = 1e300;
    for (int round = 0; round < 7; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < buffersPerRound; ++i)
            g_sink = make()[1000];
        const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count() / buffersPerRound);
    }
    return best;
}

void report(const char* name, const std::function<std::vector<float>()>& fast,
            const std::function<std::vector<float>()>& reference, int buffersPerRound, double target)
{
    const double fastMs = millisecondsPerBuffer(fast, buffersPerRound);
    const double referenceMs = millisecondsPerBuffer(reference, buffersPerRound);
    std::printf("%-30s %9.4f ms %9.4f ms %7.1fx", name, fastMs, referenceMs, referenceMs / fastMs);
    if (target > 0)
        std::printf("   (target >= %.0fx: %s)", target, referenceMs / fastMs >= target ? "met" : "MISSED");
    std::printf("\n");
}

} // namespace

int main()
{
    std::vector<Partial> harmonics;
    for (int n = 1; n <= 16; ++n)
        harmonics.push_back({110.0 * n, 1.0f / static_cast<float>(n)});
    const auto notes = triadFrequencies(220.0, TriadQuality::major);
    const std::vector<double> chord(notes.begin(), notes.end());

    std::printf("%-30s %12s %12s %8s\n", "buffer", "synthesis", "std::sin", "ratio");
    report(
        "tone, 16 harmonics (70,560)", [&] { return makePartialsBuffer(harmonics); },
        [&] { return DirectSynth::partials(harmonics); }, 5, 4.0);
    report(
        "tone, 1 partial (70,560)",
        [] {
            return makePartialsBuffer({{440.0, 1.0f}});
        },
        [] {
            return DirectSynth::partials({{440.0, 1.0f}});
        },
        10, 0);
    report(
        "chord, 3 notes (55,125)", [&] { return makeBuffer(chord); },
        [&] { return DirectSynth::chord(chord); }, 10, 0);
    report(
        "click (3,087)", [] { return makeTickBuffer(1760.0, 0.55f); },
        [] { return DirectSynth::tick(1760.0, 0.55f); }, 200, 0);
    return 0;
}
