#include "PulseServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

PulseServer::PulseServer(const QString& directory) : m_directory(directory)
{
    m_daemon.setProcessChannelMode(QProcess::MergedChannels);
    m_daemon.setStandardOutputFile(directory + "/daemon.log", QIODevice::Append);
}

PulseServer::~PulseServer()
{
    stop();
}

bool PulseServer::isInstalled()
{
    return !QStandardPaths::findExecutable("pulseaudio").isEmpty() &&
           !QStandardPaths::findExecutable("parecord").isEmpty() &&
           !QStandardPaths::findExecutable("pactl").isEmpty();
}

bool PulseServer::start()
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (startOnce())
            return true;
        stop();
    }
    return false;
}

bool PulseServer::startOnce()
{
    for (const char* folder : {"home", "config", "state", "cache", "runtime"})
        QDir(m_directory).mkpath(folder);
    QFile::setPermissions(m_directory + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    m_daemon.setProcessEnvironment(clientEnvironment());
    m_daemon.start("pulseaudio",
                   {"-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no", "--system=no",
                    "--log-target=stderr", "--log-level=debug", "-L",
                    "module-null-sink sink_name=nullsink rate=44100 channels=2 format=float32le", "-L",
                    "module-native-protocol-unix auth-anonymous=1 socket=" + m_directory + "/native"});
    if (!m_daemon.waitForStarted(5000))
        return false;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        if (m_daemon.state() != QProcess::Running)
            return false;
        if (answers())
            return true;
        QThread::msleep(100);
    }
    return false;
}

bool PulseServer::answers() const
{
    QProcess pactl;
    pactl.setProcessEnvironment(clientEnvironment());
    pactl.setProcessChannelMode(QProcess::MergedChannels);
    pactl.start("pactl", {"list", "short", "sinks"});
    if (!pactl.waitForFinished(5000)) {
        pactl.kill();
        pactl.waitForFinished();
        return false;
    }
    return pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0 &&
           pactl.readAll().contains("nullsink");
}

void PulseServer::stop()
{
    if (m_daemon.state() == QProcess::NotRunning)
        return;
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(5000)) {
        m_daemon.kill();
        m_daemon.waitForFinished(5000);
    }
}

int PulseServer::underruns() const
{
    QFile log(m_directory + "/daemon.log");
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    return static_cast<int>(log.readAll().count("Implicit underrun of"));
}

QString PulseServer::address() const
{
    return "unix:" + m_directory + "/native";
}

QProcessEnvironment PulseServer::clientEnvironment() const
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
