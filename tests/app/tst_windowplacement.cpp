#include "app/AppStartup.h"
#include "app/WindowPlacement.h"
#include "platform/StateFiles.h"
#include "support/FakeTimers.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

class TestWindowPlacement : public QObject {
    Q_OBJECT

    ManualClock m_clock;
    std::unique_ptr<QQmlApplicationEngine> m_engine;

    QQuickWindow* openMainWindow()
    {
        m_engine = std::make_unique<QQmlApplicationEngine>();
        AppStartup::configureEngine(*m_engine);
        m_engine->load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
        auto* window = qobject_cast<QQuickWindow*>(m_engine->rootObjects().value(0));
        if (window && !QTest::qWaitForWindowExposed(window))
            return nullptr;
        return window;
    }

    static QVariant stored(const QString& key)
    {
        return QSettings(StateFiles::windowStatePath(), QSettings::IniFormat).value(key);
    }

private Q_SLOTS:
    void initTestCase() { Services::setTimerFactory(&m_clock); }
    void init() { QFile::remove(StateFiles::windowStatePath()); }
    void cleanup() { m_engine.reset(); }
    void cleanupTestCase() { Services::setTimerFactory(nullptr); }

    void placed_data()
    {
        QTest::addColumn<QRect>("remembered");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("expected");
        const QRect full(0, 0, 1920, 1080);
        const QRect right(1920, 0, 1920, 1080);
        QTest::newRow("on the primary screen")
            << QRect(100, 80, 960, 720) << QList{full} << QRect(100, 80, 960, 720);
        QTest::newRow("on the second screen")
            << QRect(2000, 80, 960, 720) << QList{full, right} << QRect(2000, 80, 960, 720);
        QTest::newRow("title half off the left edge")
            << QRect(-700, 80, 960, 720) << QList{full} << QRect(-700, 80, 960, 720);
        QTest::newRow("only a sliver on screen")
            << QRect(-900, 80, 960, 720) << QList{full} << QRect(480, 180, 960, 720);
        QTest::newRow("title above the screen")
            << QRect(100, -700, 960, 720) << QList{full} << QRect(480, 180, 960, 720);
        QTest::newRow("second screen unplugged")
            << QRect(2000, 80, 960, 720) << QList{full} << QRect(480, 180, 960, 720);
        QTest::newRow("centred below a top panel")
            << QRect(5000, 5000, 960, 720) << QList{QRect(0, 28, 1920, 1052)} << QRect(480, 194, 960, 720);
        QTest::newRow("larger than the screen")
            << QRect(5000, 5000, 1600, 1000) << QList{QRect(0, 0, 1280, 800)} << QRect(0, 0, 1280, 800);
        QTest::newRow("screen below the minimum")
            << QRect(5000, 5000, 960, 720) << QList{QRect(0, 0, 800, 600)} << QRect(0, 0, 900, 680);
    }
    void placed()
    {
        QFETCH(QRect, remembered);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, expected);
        QCOMPARE(WindowPlacement::placed(remembered, screens, QSize(900, 680)), expected);
    }

    void rememberedPositionOnlyWhenOnScreen_data()
    {
        QTest::addColumn<QPoint>("remembered");
        QTest::addColumn<bool>("kept");
        QTest::newRow("on screen") << QPoint(40, 30) << true;
        QTest::newRow("far off screen") << QPoint(20000, 20000) << false;
    }
    void rememberedPositionOnlyWhenOnScreen()
    {
        QFETCH(QPoint, remembered);
        QFETCH(bool, kept);
        {
            QSettings settings(StateFiles::windowStatePath(), QSettings::IniFormat);
            settings.setValue("window/x", remembered.x());
            settings.setValue("window/y", remembered.y());
            settings.setValue("window/width", 1000);
            settings.setValue("window/height", 700);
        }
        QQuickWindow* window = openMainWindow();
        QVERIFY(window);
        const QRect screen = window->screen()->availableGeometry();
        QCOMPARE(window->position() == remembered, kept);
        QVERIFY(screen.contains(window->position()));
        if (kept)
            QCOMPARE(window->size(), QSize(1000, 700));
    }

    // A drag is hundreds of moves; the geometry is written once it has settled, and at close.
    void geometryIsWrittenOnceSettledAndAtClose()
    {
        QQuickWindow* window = openMainWindow();
        QVERIFY(window);
        const int before = WindowState::writeCount();
        for (int i = 1; i <= 200; ++i) {
            m_clock.advance(ManualClock::Ms(16));
            window->setPosition(i, i / 2);
            QCoreApplication::processEvents();
        }
        QCOMPARE(window->position(), QPoint(200, 100));
        QCOMPARE(WindowState::writeCount(), before);
        m_clock.advance(ManualClock::Ms(499));
        QCOMPARE(WindowState::writeCount(), before);
        m_clock.advance(ManualClock::Ms(1));
        QCOMPARE(WindowState::writeCount(), before + 1);
        QCOMPARE(stored("window/x").toInt(), 200);
        QCOMPARE(stored("window/y").toInt(), 100);

        window->resize(1010, 730);
        QCoreApplication::processEvents();
        window->close();
        QCOMPARE(WindowState::writeCount(), before + 2);
        QCOMPARE(stored("window/width").toInt(), 1010);
        QCOMPARE(stored("window/height").toInt(), 730);
        m_engine.reset();
        QCOMPARE(WindowState::writeCount(), before + 2);
    }

    void ctrlQQuits()
    {
        QQuickWindow* window = openMainWindow();
        QVERIFY(window);
        // The engine would end the application; the test only listens.
        QObject::disconnect(m_engine.get(), &QQmlEngine::quit, nullptr, nullptr);
        QSignalSpy quit(m_engine.get(), &QQmlEngine::quit);
        QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(quit.count(), 1);
    }
};

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);
    TestWindowPlacement test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowplacement.moc"
