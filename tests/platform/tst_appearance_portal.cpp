// The appearance as published by a desktop portal: a stand-in portal on a private session bus
// (the test runs under dbus-run-session) answers Settings.Read and raises SettingChanged, as
// GNOME's and KDE's portals do.
#include "platform/Appearance.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");

class PortalSettings : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    explicit PortalSettings(QObject* parent) : QDBusAbstractAdaptor(parent) {}

public Q_SLOTS:
    // Read answers a variant holding the value's variant: at start, the scheme is dark.
    QDBusVariant Read(const QString& group, const QString& key)
    {
        if (group == "org.freedesktop.appearance" && key == "color-scheme")
            return QDBusVariant(QVariant::fromValue(QDBusVariant(1u)));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
    }
};

} // namespace

class TestAppearancePortal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
        QVERIFY(m_bus.isConnected());
        new PortalSettings(&m_portal);
        QVERIFY(m_bus.registerObject(kPath, &m_portal));
        QVERIFY(m_bus.registerService(kService));
        // First use of the appearance: it asks the portal without waiting for the answer, which
        // says dark.
        QTRY_VERIFY(Appearance::instance().dark());
    }

    // Every row changes the appearance from the one before, except another setting, which moves
    // nothing.
    void followsLiveChanges_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<uint>("value");
        QTest::addColumn<bool>("dark");
        QTest::newRow("no preference") << "color-scheme" << 0u << false;
        QTest::newRow("prefer dark") << "color-scheme" << 1u << true;
        QTest::newRow("prefer light") << "color-scheme" << 2u << false;
        QTest::newRow("accent colour") << "accent-color" << 1u << false;
        QTest::newRow("prefer dark again") << "color-scheme" << 1u << true;
        QTest::newRow("unknown value") << "color-scheme" << 7u << false;
    }
    void followsLiveChanges()
    {
        QFETCH(QString, key);
        QFETCH(uint, value);
        QFETCH(bool, dark);
        QDBusMessage changed = QDBusMessage::createSignal(
            kPath, QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("SettingChanged"));
        changed << QStringLiteral("org.freedesktop.appearance") << key
                << QVariant::fromValue(QDBusVariant(value));
        QSignalSpy darkChanged(&Appearance::instance(), &Appearance::darkChanged);
        QVERIFY(m_bus.send(changed));
        if (key != "color-scheme")
            QTest::qWait(100); // time to be (wrongly) taken up
        QTRY_COMPARE(Appearance::instance().dark(), dark);
        QCOMPARE(darkChanged.count(), key == "color-scheme" ? 1 : 0);
    }

private:
    QDBusConnection m_bus{QString()};
    QObject m_portal;
};

QTEST_MAIN(TestAppearancePortal)
#include "tst_appearance_portal.moc"
