#include "audio/RtAudioOutput.h"

#include "audio/FrameClock.h"
#include "audio/VoiceMixer.h"

#include <alsa/asoundlib.h>
#include <pthread.h>
#include <rtaudio/RtAudio.h>
#include <sched.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr unsigned int kSampleRate = 44100;
constexpr unsigned int kPeriodFrames = morvela::VoiceMixer::kPeriodFrames;
constexpr unsigned int kQueuedPeriods = 4;

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Whether a PulseAudio server (or PipeWire's) accepts connections on its local socket: named by
// PULSE_SERVER ("unix:/path" or "/path"), else $XDG_RUNTIME_DIR/pulse/native. A connect to a
// local socket takes microseconds, where a failed open of a stream takes a millisecond and leaks
// memory inside RtAudio and libpulse. A server elsewhere (tcp:, a list) is not probed: false.
bool pulseServerAnswers()
{
    std::string path;
    if (const char* server = std::getenv("PULSE_SERVER")) {
        path = server;
        if (path.rfind("unix:", 0) == 0)
            path.erase(0, 5);
    } else if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
        path = std::string(runtime) + "/pulse/native";
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.front() != '/' || path.find(' ') != std::string::npos ||
        path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0)
        return false;
    const bool answered = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(socket);
    return answered;
}

// RtAudio's error callback carries no user data; the output whose RtAudio call (UI thread) or
// stream callback (audio thread) raised the error is the one current on that thread.
thread_local RtAudioOutput* t_current = nullptr;

class CurrentOutput {
public:
    explicit CurrentOutput(RtAudioOutput* output) : m_previous(t_current) { t_current = output; }
    ~CurrentOutput() { t_current = m_previous; }
    CurrentOutput(const CurrentOutput&) = delete;
    CurrentOutput& operator=(const CurrentOutput&) = delete;

private:
    RtAudioOutput* m_previous;
};

// The lowest real-time priority already puts a thread ahead of every normal one, which is what
// keeps the stream fed under load. Without the right to it, a thread stays as it is.
sched_param realTimeParameters()
{
    sched_param parameters{};
    parameters.sched_priority = sched_get_priority_min(SCHED_RR);
    return parameters;
}

void raiseThreadPriority()
{
    const sched_param parameters = realTimeParameters();
    pthread_setschedparam(pthread_self(), SCHED_RR, &parameters);
}

// Sleeps until `instant` on the steady clock (CLOCK_MONOTONIC, as FrameClock::now()).
void sleepUntil(double instant)
{
    timespec until{};
    double seconds = 0.0;
    until.tv_nsec = static_cast<long>(std::modf(instant, &seconds) * 1e9);
    until.tv_sec = static_cast<time_t>(seconds);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

// libpulse carries the stream's data on a thread of its own, named "threaded-ml", and the
// callback waits for it; at normal priority it starves when the machine is busy and the stream
// underruns (heard as dropouts; measured here with six busy loops on two cores). It gets the
// callback's priority.
void raiseSoundServerClientThreads()
{
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (!std::getline(comm, name) || name != "threaded-ml")
            continue;
        const sched_param parameters = realTimeParameters();
        sched_setscheduler(std::atoi(task.path().filename().c_str()), SCHED_RR, &parameters);
    }
}

} // namespace

struct RtAudioOutput::Callbacks {
    static int render(void* output, void*, unsigned int frames, double, RtAudioStreamStatus, void* user)
    {
        auto* self = static_cast<RtAudioOutput*>(user);
        t_current = self;
        auto* samples = static_cast<float*>(output);
        if (self->m_lost.load(std::memory_order_acquire)) {
            std::memset(samples, 0, sizeof(float) * 2 * frames);
            return 2; // abort: the thread then waits instead of failing again and again
        }
        thread_local bool prioritised = false;
        if (!prioritised) {
            raiseThreadPriority();
            prioritised = true;
        }
        // Timed sounds are placed by when the callback was entered, at the output's cadence; the
        // wait only lets a sound asked for meanwhile join this period.
        const double entered = morvela::FrameClock::now();
        const double delay = self->m_pacing.enter(entered, static_cast<double>(frames) / kSampleRate);
        if (delay > 0.0)
            sleepUntil(entered + delay);
        self->m_mixer.render(samples, frames, entered);
        self->m_pacing.leave(morvela::FrameClock::now());
        return 0;
    }

    static void error(RtAudioError::Type type, const std::string& text)
    {
        // An ALSA underrun is recovered by RtAudio itself; everything else means the device is gone.
        if (type == RtAudioError::WARNING && text.find("underrun") != std::string::npos)
            return;
        if (t_current)
            t_current->m_lost.store(true, std::memory_order_release);
    }
};

RtAudioOutput::RtAudioOutput(morvela::VoiceMixer& mixer, double (*clock)())
    : m_mixer(mixer), m_clock(clock ? clock : &morvela::FrameClock::now)
{
    snd_lib_error_set_handler(ignoreAlsaError);
}

RtAudioOutput::~RtAudioOutput()
{
    finishOpening();
    close();
}

bool RtAudioOutput::start()
{
    if (!settleOpening())
        return true; // still opening: the sound waits in the mixer
    if (m_lost.load(std::memory_order_acquire)) {
        // The stream was there and went: the next try is now.
        close();
        m_retryDelay = 0.0;
    }
    const double now = m_clock();
    if (m_audio) {
        if (startStream())
            return true;
        close();
        m_serverWasMissing = !pulseServerAnswers();
        retryLater(now);
        return false;
    }
    // Waiting for the next try, unless the server that was missing when the open failed answers
    // again: then the sound that asks now plays.
    if (m_retryDelay > 0.0 && now < m_retryAt && !(m_serverWasMissing && pulseServerAnswers()))
        return false;
    m_openedAt = now;
    m_opening.store(inProgress, std::memory_order_release);
    m_opener = std::thread([this] {
        const bool opened = open() && startStream();
        if (!opened) {
            close();
            // What the failed open reported is no loss of a stream.
            m_lost.store(false, std::memory_order_release);
            m_serverWasMissing = !pulseServerAnswers();
        }
        m_opening.store(opened ? succeeded : failed, std::memory_order_release);
    });
    return true;
}

bool RtAudioOutput::startStream()
{
    CurrentOutput current(this);
    try {
        if (!m_audio->isStreamRunning())
            m_audio->startStream();
    } catch (const RtAudioError&) {
        return false;
    }
    return !m_lost.load(std::memory_order_acquire) && m_audio->isStreamRunning();
}

bool RtAudioOutput::settleOpening()
{
    const int opening = m_opening.load(std::memory_order_acquire);
    if (opening == inProgress)
        return false;
    if (m_opener.joinable())
        m_opener.join();
    if (opening == failed)
        retryLater(m_openedAt);
    else if (opening == succeeded)
        m_retryDelay = 0.0;
    m_opening.store(idle, std::memory_order_relaxed);
    return true;
}

void RtAudioOutput::finishOpening()
{
    if (m_opener.joinable())
        m_opener.join();
    settleOpening();
}

void RtAudioOutput::retryLater(double failedAt)
{
    m_retryDelay = m_retryDelay > 0.0 ? std::min(2.0 * m_retryDelay, kLongestRetryDelay) : kFirstRetryDelay;
    m_retryAt = failedAt + m_retryDelay;
}

bool RtAudioOutput::isRunning() const
{
    switch (m_opening.load(std::memory_order_acquire)) {
    case inProgress:
        return true;
    case failed:
        return false;
    default:
        return m_audio && !m_lost.load(std::memory_order_acquire) && m_audio->isStreamRunning();
    }
}

void RtAudioOutput::pause()
{
    finishOpening();
    close();
}

bool RtAudioOutput::open()
{
    std::vector<RtAudio::Api> compiled;
    RtAudio::getCompiledApi(compiled);
    for (RtAudio::Api api : {RtAudio::LINUX_PULSE, RtAudio::LINUX_ALSA}) {
        if (std::find(compiled.begin(), compiled.end(), api) == compiled.end())
            continue;
        CurrentOutput current(this);
        m_lost.store(false, std::memory_order_release);
        try {
            auto audio = std::make_unique<RtAudio>(api);
            audio->showWarnings(false);
            if (audio->getDeviceCount() == 0)
                continue;
            RtAudio::StreamParameters parameters;
            parameters.deviceId = audio->getDefaultOutputDevice();
            parameters.nChannels = 2;
            RtAudio::StreamOptions options;
            options.numberOfBuffers = kQueuedPeriods;
            options.streamName = "Morvela Calculator";
            unsigned int frames = kPeriodFrames;
            m_pacing.reset();
            audio->openStream(&parameters, nullptr, RTAUDIO_FLOAT32, kSampleRate, &frames, &Callbacks::render,
                              this, &options, &Callbacks::error);
            if (!audio->isStreamOpen())
                continue;
            m_audio = std::move(audio);
            raiseSoundServerClientThreads();
            return true;
        } catch (const RtAudioError&) {
            continue;
        }
    }
    return false;
}

void RtAudioOutput::close()
{
    if (!m_audio)
        return;
    CurrentOutput current(this);
    try {
        if (m_audio->isStreamRunning())
            m_audio->abortStream();
        if (m_audio->isStreamOpen())
            m_audio->closeStream();
    } catch (const RtAudioError&) {
        // Closing a stream whose server has gone may fail; the stream is dropped all the same.
    }
    m_audio.reset();
    m_lost.store(false, std::memory_order_release);
}
