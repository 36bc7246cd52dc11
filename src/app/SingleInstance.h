#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

// One main window per user session: a second launch hands over to the running application, which
// brings its window to the front, and ends. The two meet on a local socket in the user's runtime
// folder. Launches that race may both start; a socket left by a crashed run is replaced.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `socketPath` empty: "morvela-calculator.instance" in the user's runtime folder.
    explicit SingleInstance(QString socketPath = {}, QObject* parent = nullptr);

    // True when an application already answers on the socket and has been asked to show its
    // window; this launch should then end.
    bool handOverToRunning();
    // Answers later launches from now on (each one emits activationRequested); false when the
    // socket cannot be made, in which case this launch simply runs on its own.
    bool listen();

Q_SIGNALS:
    void activationRequested();

private:
    QString m_path;
    QLocalServer m_server;
};
