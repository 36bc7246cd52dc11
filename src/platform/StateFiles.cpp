#include "platform/StateFiles.h"

#include <QDir>
#include <QStandardPaths>

namespace {

const QString kFolder = QStringLiteral("morvela-calculator");
int g_writeCount = 0;

QString xdgHome(const char* variable, const QString& fallbackBelowHome)
{
    const QString value = qEnvironmentVariable(variable);
    // The base-directory rules ignore relative paths.
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return value;
    return QDir::homePath() + QLatin1Char('/') + fallbackBelowHome;
}

} // namespace

namespace StateFiles {

QString windowStatePath()
{
    return xdgHome("XDG_STATE_HOME", QStringLiteral(".local/state")) + QLatin1Char('/') + kFolder +
           QStringLiteral("/window-state.ini");
}

QString preferencesPath()
{
    return xdgHome("XDG_CONFIG_HOME", QStringLiteral(".config")) + QLatin1Char('/') + kFolder +
           QStringLiteral("/preferences.ini");
}

} // namespace StateFiles

WindowState::WindowState(QObject* parent)
    : QObject(parent),
      m_settings(std::make_unique<QSettings>(StateFiles::windowStatePath(), QSettings::IniFormat))
{
}

QVariant WindowState::value(const QString& key, const QVariant& fallback) const
{
    return m_settings->value(key, fallback);
}

void WindowState::setValue(const QString& key, const QVariant& value)
{
    setValues({{key, value}});
}

void WindowState::setValues(const QVariantMap& values)
{
    for (auto it = values.begin(); it != values.end(); ++it)
        m_settings->setValue(it.key(), it.value());
    m_settings->sync();
    ++g_writeCount;
}

int WindowState::writeCount()
{
    return g_writeCount;
}
