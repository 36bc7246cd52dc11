#include "app/AppStartup.h"
#include "app/ShellController.h"
#include "app/WindowPlacement.h"
#include "platform/StateFiles.h"
#include "support/FakeTimers.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QScreen>
#include <QSettings>
#include <QtTest>

// The main window: its size, the remembered tool and where it is placed.
class TestMainWindow : public QObject {
    Q_OBJECT

    ManualClock m_clock;
    std::unique_ptr<QQmlApplicationEngine> m_engine;

    QQuickWindow* openMainWindow()
    {
        m_engine = std::make_unique<QQmlApplicationEngine>();
        AppStartup::configureEngine(*m_engine);
        m_engine->load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
        auto* window = qobject_cast<QQuickWindow*>(m_engine->rootObjects().value(0));
        return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }
    static QSettings stored() { return {StateFiles::windowStatePath(), QSettings::IniFormat}; }

private Q_SLOTS:
    void initTestCase() { Services::setTimerFactory(&m_clock); }
    void init() { QFile::remove(StateFiles::windowStatePath()); }
    void cleanup() { m_engine.reset(); }
    void cleanupTestCase() { Services::setTimerFactory(nullptr); }

    // The root window, with its minimum size and the remembered tool.
    void mainWindow()
    {
        stored().setValue("selectedCalculatorTool", "frequency");
        QQuickWindow* window = openMainWindow();
        QVERIFY(window);
        QCOMPARE(window->size(), QSize(960, 720));
        QCOMPARE(window->minimumSize(), QSize(900, 680));
        QCOMPARE(window->title(), QStringLiteral("Morvela Calculator"));
        QObject* content = QQmlProperty::read(window, "content").value<QObject*>();
        QObject* shell = QQmlProperty::read(content, "shell").value<QObject*>();
        QCOMPARE(QQmlProperty::read(shell, "effectiveToolId").toString(), QStringLiteral("frequency"));

        // Asking for less than the minimum gives the minimum.
        window->resize(400, 300);
        QTRY_COMPARE(window->size(), QSize(900, 680));

        // A maximised window is remembered as such; closing it does not undo that.
        window->showMaximized();
        QTRY_COMPARE(window->visibility(), QWindow::Maximized);
        window->close();
        QCOMPARE(stored().value("window/maximized").toBool(), true);
    }

    // The rest of storing and restoring the selection is tested through the sidebar (tst_contentview).
    void selectingTheSelectedToolStoresItAgain()
    {
        ShellController shell;
        shell.select(QStringLiteral("space"));
        stored().setValue("selectedCalculatorTool", "tempo");
        shell.select(QStringLiteral("space"));
        QCOMPARE(stored().value("selectedCalculatorTool").toString(), QStringLiteral("space"));
    }

    void placed_data()
    {
        QTest::addColumn<QRect>("remembered");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("expected");
        const QRect full(0, 0, 1920, 1080), right(1920, 0, 1920, 1080), centred(480, 180, 960, 720);
        const auto row = [](const char* tag, QRect remembered, QList<QRect> screens, QRect expected) {
            QTest::newRow(tag) << remembered << screens << expected;
        };
        row("on the second screen", {2000, 80, 960, 720}, {full, right}, {2000, 80, 960, 720});
        row("second screen unplugged", {2000, 80, 960, 720}, {full}, centred);
        row("title half off the left edge", {-700, 80, 960, 720}, {full}, {-700, 80, 960, 720});
        row("only a sliver on screen", {-900, 80, 960, 720}, {full}, centred);
        row("title above the screen", {100, -700, 960, 720}, {full}, centred);
        row("centred below a top panel", {5000, 0, 960, 720}, {{0, 28, 1920, 1052}}, {480, 194, 960, 720});
        row("larger than the screen", {5000, 0, 1600, 1000}, {{0, 0, 1280, 800}}, {0, 0, 1280, 800});
        row("screen below the minimum", {5000, 0, 960, 720}, {{0, 0, 800, 600}}, {0, 0, 900, 680});
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
        stored().setValue("window/x", remembered.x());
        stored().setValue("window/y", remembered.y());
        QQuickWindow* window = openMainWindow();
        QVERIFY(window);
        QCOMPARE(window->position() == remembered, kept);
        QVERIFY(window->screen()->availableGeometry().contains(window->position()));
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
        m_clock.advance(ManualClock::Ms(499));
        QCOMPARE(WindowState::writeCount(), before);
        m_clock.advance(ManualClock::Ms(1));
        QCOMPARE(WindowState::writeCount(), before + 1);
        QCOMPARE(QPoint(stored().value("window/x").toInt(), stored().value("window/y").toInt()),
                 QPoint(200, 100));

        window->resize(1010, 730);
        QCoreApplication::processEvents();
        window->close();
        QCOMPARE(WindowState::writeCount(), before + 2);
        QCOMPARE(QSize(stored().value("window/width").toInt(), stored().value("window/height").toInt()),
                 QSize(1010, 730));
    }
};

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);
    TestMainWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
