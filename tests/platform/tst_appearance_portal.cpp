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
