#include "platform/Preferences.h"

#include "platform/StateFiles.h"

#include <QQmlEngine>
#include <QSettings>

namespace {
const QString kStatsOptOut = QStringLiteral("statsOptOut");
} // namespace

Preferences& Preferences::instance()
{
    static Preferences* preferences = new Preferences;
    return *preferences;
}

Preferences* Preferences::create(QQmlEngine*, QJSEngine*)
{
    QQmlEngine::setObjectOwnership(&instance(), QQmlEngine::CppOwnership);
    return &instance();
}

bool Preferences::statsOptOut()
{
    if (const std::optional<bool> unsaved = instance().m_unsavedOptOut)
        return *unsaved;
    // A new QSettings re-reads the file when it changed since the last look.
    const QSettings settings(StateFiles::preferencesPath(), QSettings::IniFormat);
    return settings.value(kStatsOptOut, false).toBool();
}

void Preferences::setShareStatistics(bool share)
{
    const bool changed = share != shareStatistics();
    QSettings settings(StateFiles::preferencesPath(), QSettings::IniFormat);
    settings.setValue(kStatsOptOut, !share);
    settings.sync();
    if (settings.status() == QSettings::NoError)
        m_unsavedOptOut.reset();
    else
        m_unsavedOptOut = !share;
    if (changed)
        Q_EMIT shareStatisticsChanged();
}
