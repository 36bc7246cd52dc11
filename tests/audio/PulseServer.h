#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <utility>

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
                if (pactl({"list", "short", "sinks"}).contains("nullsink"))
                    return true;
                QThread::msleep(100);
            }
            stop();
        }
        return false;
    }
    // Stops the daemon (SIGTERM) or, with `crash`, kills it as a crash would (its clients find
    // their connection cut without a word); waits until it has gone.
    void stop(bool crash = false)
    {
        if (m_daemon.state() == QProcess::NotRunning)
            return;
        crash ? m_daemon.kill() : m_daemon.terminate();
        if (!m_daemon.waitForFinished(5000)) {
            m_daemon.kill();
            m_daemon.waitForFinished(5000);
        }
    }
    bool isRunning() const { return m_daemon.state() != QProcess::NotRunning; }

    QString address() const { return "unix:" + m_directory + "/native"; }
    // How often so far a playback stream ran dry in the server.
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
        for (auto [name, folder] : {std::pair{"HOME", "home"},
                                    {"XDG_CONFIG_HOME", "config"},
                                    {"XDG_STATE_HOME", "state"},
                                    {"XDG_CACHE_HOME", "cache"},
                                    {"XDG_RUNTIME_DIR", "runtime"}})
            environment.insert(name, m_directory + "/" + folder);
        environment.insert("PULSE_SERVER", address());
        return environment;
    }
    // What `pactl <arguments>` printed; empty if it failed.
    QByteArray pactl(const QStringList& arguments) const
    {
        QProcess pactl; // killed on destruction if it hangs
        pactl.setProcessEnvironment(clientEnvironment());
        pactl.start("pactl", arguments);
        const bool ok = pactl.waitForFinished(5000) && pactl.exitStatus() == QProcess::NormalExit &&
                        pactl.exitCode() == 0;
        return ok ? pactl.readAllStandardOutput() : QByteArray();
    }

private:
    QString m_directory;
    QProcess m_daemon;
};
