#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <atomic>
#include <cstring>
#include <functional>
#include <vector>

// A PulseAudio daemon of the test's own: runtime, config and home folders inside `directory`, a
// null sink "nullsink" (44,100 Hz stereo float; its monitor is "nullsink.monitor") and a socket
// that clients reach through PULSE_SERVER, so no session daemon is ever involved and nothing is
// written outside `directory`.
class PulseServer {
public:
    explicit PulseServer(const QString& directory) : m_directory(directory)
    {
        m_daemon.setProcessChannelMode(QProcess::MergedChannels);
        m_daemon.setStandardOutputFile(directory + "/daemon.log", QIODevice::Append);
        m_daemon.setProcessEnvironment(clientEnvironment());
    }
    ~PulseServer() { stop(); }
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    static bool isInstalled()
    {
        for (const char* tool : {"pulseaudio", "parecord", "pactl"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                return false;
        return true;
    }

    // Starts the daemon and waits until it answers; tries three times.
    bool start()
    {
        for (int attempt = 0; attempt < 3; ++attempt) {
            for (const char* folder : {"home", "config", "state", "cache", "runtime"})
                QDir(m_directory).mkpath(folder);
            QFile::setPermissions(m_directory + "/runtime",
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            m_daemon.start(
                "pulseaudio",
                {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--system=no",
                 "--log-target=stderr", "--log-level=debug", "-L",
                 "module-null-sink sink_name=nullsink rate=44100 channels=2 format=float32le", "-L",
                 "module-native-protocol-unix auth-anonymous=1 socket=" + m_directory + "/native"});
            QElapsedTimer waited;
            waited.start();
            while (m_daemon.waitForStarted(5000) && m_daemon.state() == QProcess::Running &&
                   waited.elapsed() < 10000) {
                if (answers())
                    return true;
                QThread::msleep(100);
            }
            stop();
        }
        return false;
    }
    // Stops the daemon and waits until it has gone.
    void stop()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }

    // Kills the daemon outright (SIGKILL), as a crash would, and waits until it has gone: its
    // clients find their connection cut without a word. start() brings it back.
    void crash()
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
    bool isRunning() const { return m_daemon.state() != QProcess::NotRunning; }

    // "unix:<socket>", for PULSE_SERVER.
    QString address() const { return "unix:" + m_directory + "/native"; }
    // How often so far a playback stream ran dry in the server: the machine did not let the
    // stream's data through in time.
    int underruns() const
    {
        QFile log(m_directory + "/daemon.log");
        return log.open(QIODevice::ReadOnly) ? static_cast<int>(log.readAll().count("Implicit underrun of"))
                                             : 0;
    }
    // The environment for clients: this process's, with PULSE_SERVER and the private folders.
    QProcessEnvironment clientEnvironment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", m_directory + "/home");
        environment.insert("XDG_CONFIG_HOME", m_directory + "/config");
        environment.insert("XDG_STATE_HOME", m_directory + "/state");
        environment.insert("XDG_CACHE_HOME", m_directory + "/cache");
        environment.insert("XDG_RUNTIME_DIR", m_directory + "/runtime");
        environment.insert("PULSE_SERVER", address());
        return environment;
    }

private:
    bool answers() const
    {
        QProcess pactl; // killed on destruction if it hangs
        pactl.setProcessEnvironment(clientEnvironment());
        pactl.start("pactl", {"list", "short", "sinks"});
        return pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit &&
               pactl.exitCode() == 0 && pactl.readAll().contains("nullsink");
    }

    QString m_directory;
    QProcess m_daemon;
};

// Records a server's null sink monitor with parecord (raw float stereo, 2 ms fragments) until
// `stop` is set, handing each read to `take`: `now()` as it arrived, and its interleaved frames.
// Meant for a thread of its own, so that each read carries the instant it arrived: this ties the
// recording to the instants at which sounds were requested.
inline void recordMonitor(const QProcessEnvironment& environment, const std::atomic<bool>& stop,
                          double (*now)(), const std::function<void(double, const float*, std::size_t)>& take)
{
    QProcess parecord;
    parecord.setProcessEnvironment(environment);
    parecord.setStandardErrorFile(QProcess::nullDevice());
    parecord.start("parecord", {"--raw", "--format=float32le", "--channels=2", "--rate=44100",
                                "--latency-msec=2", "--device=nullsink.monitor"});
    QByteArray pending;
    std::vector<float> stereo;
    while (!stop && parecord.waitForStarted() && parecord.state() == QProcess::Running) {
        if (!parecord.waitForReadyRead(20))
            continue;
        const double arrival = now();
        pending += parecord.readAllStandardOutput();
        const auto frames = static_cast<std::size_t>(pending.size()) / (2 * sizeof(float));
        if (frames == 0)
            continue;
        stereo.resize(2 * frames);
        std::memcpy(stereo.data(), pending.constData(), 2 * frames * sizeof(float));
        pending.remove(0, static_cast<qsizetype>(2 * frames * sizeof(float)));
        take(arrival, stereo.data(), frames);
    }
    parecord.kill();
    parecord.waitForFinished();
}
