// The appearance as published by a desktop portal: a stand-in portal on a private session bus
// answers Settings.Read and raises SettingChanged, as GNOME's and KDE's portals do.
#include "platform/Appearance.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QProcess>
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
    uint colorScheme = 1;

public Q_SLOTS:
    // Read answers a variant holding the value's variant.
    QDBusVariant Read(const QString& group, const QString& key)
    {
        if (group == "org.freedesktop.appearance" && key == "color-scheme")
            return QDBusVariant(QVariant::fromValue(QDBusVariant(colorScheme)));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(QString())));
    }
};

} // namespace

class TestAppearancePortal : public QObject {
    Q_OBJECT

public:
    explicit TestAppearancePortal(QString address) : m_address(std::move(address)) {}

private Q_SLOTS:
    void initTestCase()
    {
        m_bus = QDBusConnection::connectToBus(m_address, QStringLiteral("portal"));
        QVERIFY(m_bus.isConnected());
        m_settings = new PortalSettings(&m_portal);
        QVERIFY(m_bus.registerObject(kPath, &m_portal));
        QVERIFY(m_bus.registerService(kService));
    }

    void readsTheSchemeAtStart()
    {
        // First use of the appearance: it asks the portal without waiting for the answer.
        Appearance& appearance = Appearance::instance();
        QTRY_VERIFY(appearance.dark());
    }

    void followsLiveChanges_data()
    {
        QTest::addColumn<uint>("scheme");
        QTest::addColumn<bool>("dark");
        QTest::newRow("no preference") << 0u << false;
        QTest::newRow("prefer dark") << 1u << true;
        QTest::newRow("prefer light") << 2u << false;
    }
    void followsLiveChanges()
    {
        QFETCH(uint, scheme);
        QFETCH(bool, dark);
        QDBusMessage changed = QDBusMessage::createSignal(
            kPath, QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("SettingChanged"));
        changed << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme")
                << QVariant::fromValue(QDBusVariant(scheme));
        QVERIFY(m_bus.send(changed));
        QTRY_COMPARE(Appearance::instance().dark(), dark);
    }

    void ignoresOtherSettings()
    {
        QTRY_VERIFY(!Appearance::instance().dark());
        QDBusMessage other = QDBusMessage::createSignal(
            kPath, QStringLiteral("org.freedesktop.portal.Settings"), QStringLiteral("SettingChanged"));
        other << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("accent-color")
              << QVariant::fromValue(QDBusVariant(1u));
        QSignalSpy darkChanged(&Appearance::instance(), &Appearance::darkChanged);
        QVERIFY(m_bus.send(other));
        QTest::qWait(100);
        QCOMPARE(darkChanged.count(), 0);
    }

private:
    QString m_address;
    QDBusConnection m_bus{QString()};
    QObject m_portal;
    PortalSettings* m_settings = nullptr;
};

int main(int argc, char* argv[])
{
    // A private bus, so that the session bus address is known before Qt first reads it.
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address=1"});
    if (!daemon.waitForStarted() || !daemon.waitForReadyRead(5000)) {
        std::fprintf(stderr, "could not start dbus-daemon\n");
        return 1;
    }
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());

    int result = 0;
    {
        QGuiApplication app(argc, argv);
        TestAppearancePortal test(address);
        result = QTest::qExec(&test, argc, argv);
    }
    daemon.terminate();
    daemon.waitForFinished();
    return result;
}

#include "tst_appearance_portal.moc"
