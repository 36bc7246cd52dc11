#include "MonitorRecorder.h"

#include "audio/FrameClock.h"

#include <QByteArray>
#include <QStringList>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

MonitorRecorder::MonitorRecorder(const QProcessEnvironment& environment) : m_environment(environment) {}

MonitorRecorder::~MonitorRecorder()
{
    stop();
}

bool MonitorRecorder::start()
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);

    const QList<QByteArray> arguments{"parecord",
                                      "--raw",
                                      "--format=float32le",
                                      "--channels=2",
                                      "--rate=44100",
                                      "--latency-msec=2",
                                      "--device=nullsink.monitor"};
    std::vector<char*> argv;
    for (const QByteArray& argument : arguments)
        argv.push_back(const_cast<char*>(argument.constData()));
    argv.push_back(nullptr);
    QList<QByteArray> variables;
    for (const QString& variable : m_environment.toStringList())
        variables.append(variable.toLocal8Bit());
    std::vector<char*> envp;
    for (const QByteArray& variable : variables)
        envp.push_back(const_cast<char*>(variable.constData()));
    envp.push_back(nullptr);

    const int spawned = posix_spawnp(&m_pid, "parecord", &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        m_pid = -1;
        return false;
    }
    m_pipe = pipeEnds[0];
    left.clear();
    right.clear();
    chunks.clear();
    m_reader = std::thread([this] { read(); });
    return true;
}

void MonitorRecorder::read()
{
    std::vector<char> pending;
    char buffer[8192];
    for (;;) {
        const ssize_t count = ::read(m_pipe, buffer, sizeof buffer);
        if (count <= 0)
            break;
        const double arrival = morvela::FrameClock::now();
        pending.insert(pending.end(), buffer, buffer + count);
        const std::size_t frames = pending.size() / (2 * sizeof(float));
        for (std::size_t i = 0; i < frames; ++i) {
            float sample[2];
            std::memcpy(sample, pending.data() + i * sizeof sample, sizeof sample);
            left.push_back(sample[0]);
            right.push_back(sample[1]);
        }
        pending.erase(pending.begin(),
                      pending.begin() + static_cast<std::ptrdiff_t>(frames * 2 * sizeof(float)));
        if (frames > 0)
            chunks.push_back({arrival, left.size()});
    }
}

void MonitorRecorder::stop()
{
    if (m_pid <= 0)
        return;
    kill(m_pid, SIGINT);
    int status = 0;
    for (int wait = 0; wait < 300 && waitpid(m_pid, &status, WNOHANG) == 0; ++wait)
        usleep(10000);
    if (waitpid(m_pid, &status, WNOHANG) == 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, &status, 0);
    }
    m_pid = -1;
    if (m_reader.joinable())
        m_reader.join();
    close(m_pipe);
    m_pipe = -1;
}
