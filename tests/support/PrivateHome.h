#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// Points this process's XDG folders, and so those of the processes it starts, at a scratch folder
// of its own, with statistics switched off: a run by hand neither reads nor overwrites the user's
// own window state and preferences, and sends nothing. Make it before the application object.
class PrivateHome {
public:
    PrivateHome()
    {
        const QString root = m_directory.path();
        QDir(root).mkpath(QStringLiteral("config/morvela-calculator"));
        QDir(root).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(root + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile preferences(root + "/config/morvela-calculator/preferences.ini");
        if (preferences.open(QIODevice::WriteOnly))
            preferences.write("[General]\nstatsOptOut=true\n");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(root + "/config"));
        qputenv("XDG_STATE_HOME", QFile::encodeName(root + "/state"));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(root + "/cache"));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(root + "/runtime"));
    }

    QString path() const { return m_directory.path(); }

private:
    QTemporaryDir m_directory{QDir::tempPath() + "/morvela-scratch-XXXXXX"};
};
