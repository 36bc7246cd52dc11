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
    const QString path = StateFiles::preferencesPath();
    if (!StateFiles::readsSafely(path))
        return false;
    // A new QSettings re-reads the file when it changed since the last look.
    const QSettings settings(path, QSettings::IniFormat);
    return settings.value(kStatsOptOut, false).toBool();
}

void Preferences::setShareStatistics(bool share)
{
    const bool changed = share != shareStatistics();
    const QString path = StateFiles::preferencesPath();
    // A file that would lose something when written over is copied aside first; one that
    // cannot even be read is left alone, and the choice counts for this run only.
    bool saved = false;
    if (StateFiles::prepareToWrite(path)) {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(kStatsOptOut, !share);
        settings.sync();
        // A format error means the file was copied aside and then written anew.
        saved = settings.status() != QSettings::AccessError;
    }
    if (saved)
        m_unsavedOptOut.reset();
    else
        m_unsavedOptOut = !share;
    if (changed)
        Q_EMIT shareStatisticsChanged();
}
