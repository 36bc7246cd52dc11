// Request to sound through a sound server: clicks played through the application's chord player
// on a private PulseAudio daemon (null sink), recorded off the sink's monitor and placed on the
// steady clock of their requests.
//   bench_latency [clicks (default 40)]
// Requests fall at every point of the output's callback period (they are 125 ms plus a varying
// fraction of a period apart), as a user's clicks do. Printed: the spread of request-to-sound
// times, its median against the goal, and how much of it is the wait for the next rendering (a
// one-off sound starts on the first frame the callback renders after it: half a period on
// average) and how much the hand-over and the server's buffering. The
// CPUs are kept awake meanwhile (see AwakeCpus): a virtual machine that wakes them slowly makes the
// stream run dry, and a dropout moves the clicks after it.
#include "AwakeCpus.h"
#include "PulseServer.h"
#include "RecordedOutput.h"
#include "audio/ChordPlayer.h"
#include "audio/SynthBuffers.h"
#include "audio/VoiceMixer.h"
#include "support/PrivateHome.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

using namespace morvela;
using namespace recorded;

int main(int argc, char* argv[])
{
    const PrivateHome home;
    QCoreApplication app(argc, argv);
    const int clicks = argc > 1 ? std::max(2, std::atoi(argv[1])) : 40;
    constexpr double kGoalMs = 15.0;

    if (!PulseServer::isInstalled()) {
        std::fprintf(stderr, "bench_latency: pulseaudio, parecord and pactl are needed\n");
        return 1;
    }
    QTemporaryDir directory;
    PulseServer server(directory.path());
    if (!server.start()) {
        std::fprintf(stderr, "bench_latency: the private PulseAudio daemon did not start\n");
        return 1;
    }
    qputenv("PULSE_SERVER", server.address().toLocal8Bit());

    const AwakeCpus awake;
    Recording recording(server.clientEnvironment());
    std::this_thread::sleep_for(std::chrono::milliseconds(2500)); // the sink plays ahead of a fresh recorder
    // A silent click opens the stream: a stream joining the null sink makes it rewind, and its
    // monitor may lose the stream's first milliseconds.
    ChordPlayer::shared().playTick(1760.0, 0.0f);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const int underrunsBefore = server.underruns();

    std::vector<double> requests;
    const double period = VoiceMixer::kPeriodFrames / kRate;
    auto due = std::chrono::steady_clock::now();
    for (int k = 0; k < clicks; ++k) {
        // 125 ms plus a step of 7/clicks of a period: the requests sweep the callback period.
        due +=
            std::chrono::microseconds(125000 + static_cast<long>(1e6 * period * (k * 7 % clicks) / clicks));
        std::this_thread::sleep_until(due);
        requests.push_back(FrameClock::now());
        ChordPlayer::shared().playTick(1760.0, 0.55f);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    recording.stop();

    const std::vector<std::vector<float>> sounds(requests.size(), makeTickBuffer(1760.0, 0.55f));
    const Placed placed = place(recording.left, sounds);
    const double start = origin(recording.reads, requests.front(), requests.back() + 0.2);
    if (placed.starts.size() != requests.size() || std::isnan(start)) {
        std::fprintf(stderr, "bench_latency: %zu of %zu clicks found in the recording\n",
                     placed.starts.size(), requests.size());
        return 1;
    }
    std::vector<double> latencies;
    for (std::size_t k = 0; k < requests.size(); ++k)
        latencies.push_back(1e3 * (start + placed.starts[k] / kRate - requests[k]));
    std::sort(latencies.begin(), latencies.end());
    const double median = latencies[latencies.size() / 2];
    const double wait = 1e3 * period / 2.0;

    std::printf("request to sound through a private PulseAudio daemon, %d clicks: median %.1f ms "
                "(%.1f to %.1f), ratio to the goal of %.0f ms %.2f\n",
                clicks, median, latencies.front(), latencies.back(), kGoalMs, median / kGoalMs);
    const int underruns = server.underruns() - underrunsBefore;
    std::printf(
        "  the wait for the next rendering %.1f ms on average (0 to one %.1f ms period), the hand-over "
        "and the server's buffering %.1f ms; underruns during the clicks: %d\n",
        wait, 1e3 * period, median - wait, underruns);
    // A dropout loses part of the stream, and the clicks after it are matched to the wrong requests.
    if (underruns > 0) {
        std::fprintf(stderr, "bench_latency: the stream ran dry during the clicks, so the figures above are "
                             "not the player's; run it again\n");
        return 2;
    }
    return 0;
}
