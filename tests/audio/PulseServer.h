#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

// A PulseAudio daemon of the test's own: runtime, config and home folders inside `directory`, a
// null sink "nullsink" (44,100 Hz stereo float; its monitor is "nullsink.monitor") and a socket
// that clients reach through PULSE_SERVER, so no session daemon is ever involved and nothing is
// written outside `directory`.
class PulseServer {
public:
    explicit PulseServer(const QString& directory);
    ~PulseServer();
    PulseServer(const PulseServer&) = delete;
    PulseServer& operator=(const PulseServer&) = delete;

    static bool isInstalled();

    // Starts the daemon and waits until it answers; tries a few times.
    bool start();
    // Stops it and waits until it has gone.
    void stop();

    // "unix:<socket>", for PULSE_SERVER.
    QString address() const;
    // How often so far a playback stream ran dry in the server: the machine did not let the
    // stream's data through in time.
    int underruns() const;
    // The environment for clients: this process's, with PULSE_SERVER and the private folders.
    QProcessEnvironment clientEnvironment() const;

private:
    bool startOnce();
    bool answers() const;

    QString m_directory;
    QProcess m_daemon;
};
