#include "support/QmlTestSetup.h"

#include "app/AppStartup.h"
#include "platform/Appearance.h"
#include "platform/StateFiles.h"
#include "tools/tempo/BPMControlsController.h"

#include <QAccessible>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMetaEnum>
#include <QQmlEngine>
#include <QQuickItem>
#include <QSettings>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

void TestServices::setDark(bool dark)
{
    Appearance::instance().setColorScheme(dark ? 1 : 0);
}

void TestServices::driveTapClock(QObject* controls)
{
    if (auto* bpmControls = qobject_cast<BPMControlsController*>(controls))
        bpmControls->setClock([this] {
            using TimePoint = morvela::TapTempo::TimePoint;
            return TimePoint(std::chrono::hours(1)) +
                   std::chrono::duration_cast<TimePoint::duration>(clock.now());
        });
}

QString TestServices::storedOptOut() const
{
    const QVariant value = QSettings(StateFiles::preferencesPath(), QSettings::IniFormat).value("statsOptOut");
    return value.isValid() ? value.toString() : QStringLiteral("absent");
}

void TestServices::removePreferences()
{
    QFile::remove(StateFiles::preferencesPath());
}

void TestServices::keyClick(QWindow* window, int key, int modifiers)
{
    QTest::keyClick(window, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
}

QVariantMap TestServices::soundAt(int index) const
{
    if (index < 0 || index >= soundCount())
        return {};
    const auto& call = sound.calls[static_cast<std::size_t>(index)];
    static const char* const kinds[] = {"triad", "tone", "partials", "tick"};
    static const char* const qualities[] = {"major", "minor", "diminished"};
    QVariantList partials;
    for (const auto& partial : call.partials)
        partials.append(QVariantMap{{"frequency", partial.frequency}, {"amplitude", partial.amplitude}});
    QVariantMap result{{"kind", kinds[static_cast<int>(call.kind)]},
                       {"frequency", call.frequency},
                       {"quality", qualities[static_cast<int>(call.quality)]},
                       {"gain", call.gain},
                       {"partials", partials}};
    if (call.at)
        result.insert("at", *call.at);
    return result;
}

QVariantMap TestServices::accessible(QObject* item) const
{
    QAccessibleInterface* face = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    if (!face)
        return {};
    const QMetaEnum roles = QMetaEnum::fromType<QAccessible::Role>();
    QVariantMap result{{"role", QString::fromLatin1(roles.valueToKey(face->role())).toLower()},
                       {"name", face->text(QAccessible::Name)},
                       {"description", face->text(QAccessible::Description)},
                       {"checked", bool(face->state().checked)},
                       {"actions", face->actionInterface() ? face->actionInterface()->actionNames()
                                                           : QStringList()}};
    if (QAccessibleValueInterface* value = face->valueInterface()) {
        result.insert("value", value->currentValue());
        result.insert("minimum", value->minimumValue());
        result.insert("maximum", value->maximumValue());
    }
    return result;
}

bool TestServices::doAccessibleAction(QObject* item, const QString& action) const
{
    QAccessibleInterface* face = item ? QAccessible::queryAccessibleInterface(item) : nullptr;
    QAccessibleActionInterface* actions = face ? face->actionInterface() : nullptr;
    if (!actions || !actions->actionNames().contains(action))
        return false;
    actions->doAction(action);
    return true;
}

QVariantList TestServices::items(QQuickItem* root) const
{
    QVariantList found;
    if (!root)
        return found;
    found.append(QVariant::fromValue<QObject*>(root));
    for (QQuickItem* child : root->childItems())
        found.append(items(child));
    return found;
}

void QmlTestSetup::applicationAvailable()
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        AppStartup::configureApplication(*app);
    Services::setClipboard(&m_services.clipboard);
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &m_services, "openUrl");
    Services::setTimerFactory(&m_services.clock);
}

void QmlTestSetup::qmlEngineAvailable(QQmlEngine* engine)
{
    AppStartup::configureEngine(*engine);
    qmlRegisterSingletonInstance("MorvelaTest", 1, 0, "TestServices", &m_services);
    qmlRegisterType(QUrl::fromLocalFile(QStringLiteral(MORVELA_TEST_SUPPORT_DIR "/ScreenTestCase.qml")),
                    "MorvelaTest", 1, 0, "ScreenTestCase");
}

void QmlTestSetup::cleanupTestCase()
{
    Services::setClipboard(nullptr);
    Services::setTimerFactory(nullptr);
}
