#include "platform/SceneGraphBackend.h"

#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

// The scene graph follows where the X server draws OpenGL. The whole run is an X client of a
// private Xvfb, whose OpenGL is drawn on the CPU (GLX without DRI).
class TestSceneGraphBackend : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void softwareWhereNoGpuExtension_data()
    {
        QTest::addColumn<QStringList>("extensions");
        QTest::addColumn<bool>("software");
        QTest::newRow("Xvfb") << QStringList{"GLX", "Present", "XTEST", "RANDR"} << true;
        QTest::newRow("nothing at all") << QStringList{} << true;
        QTest::newRow("Mesa, DRI3") << QStringList{"GLX", "DRI3", "Present"} << false;
        QTest::newRow("older Mesa, DRI2") << QStringList{"GLX", "DRI2"} << false;
        QTest::newRow("NVIDIA") << QStringList{"GLX", "NV-GLX", "NV-CONTROL"} << false;
    }
    void softwareWhereNoGpuExtension()
    {
        QFETCH(QStringList, extensions);
        QFETCH(bool, software);
        QCOMPARE(SceneGraphBackend::rendersOpenGlInSoftware(extensions), software);
    }

    void userChoiceWins_data()
    {
        QTest::addColumn<QByteArray>("quickBackend");
        QTest::addColumn<QByteArray>("rhiBackend");
        QTest::addColumn<bool>("chosen");
        QTest::newRow("none") << QByteArray() << QByteArray() << false;
        QTest::newRow("blank") << QByteArray(" ") << QByteArray("") << false;
        QTest::newRow("QT_QUICK_BACKEND") << QByteArray("software") << QByteArray() << true;
        QTest::newRow("QSG_RHI_BACKEND") << QByteArray() << QByteArray("opengl") << true;
    }
    void userChoiceWins()
    {
        QFETCH(QByteArray, quickBackend);
        QFETCH(QByteArray, rhiBackend);
        QFETCH(bool, chosen);
        QCOMPARE(SceneGraphBackend::userChoseBackend(quickBackend, rhiBackend), chosen);
    }

    // Before anything is chosen: a backend in the environment is kept, then on this display the
    // software scene graph is taken, and a window really renders with it.
    void xvfbGetsTheSoftwareSceneGraph()
    {
        qputenv("QSG_RHI_BACKEND", "opengl");
        QVERIFY(!SceneGraphBackend::choose());
        QCOMPARE(QQuickWindow::sceneGraphBackend(), QString());
        qunsetenv("QSG_RHI_BACKEND");

        QVERIFY(SceneGraphBackend::choose());
        QQmlApplicationEngine engine;
        engine.loadData("import QtQuick\nWindow { width: 200; height: 100; visible: true;"
                        " Text { text: \"Tempo\" } }");
        auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_VERIFY(window->rendererInterface() != nullptr);
        QCOMPARE(window->rendererInterface()->graphicsApi(), QSGRendererInterface::Software);
    }
};

int main(int argc, char* argv[])
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) {
        std::fputs("Xvfb is not installed (scripts/install-deps installs it)\n", stderr);
        return 1;
    }
    QTemporaryDir directory;
    QProcess xvfb;
    // Xvfb writes the display number it took to the descriptor given, once it accepts clients.
    const QString displayFile = directory.path() + "/display";
    xvfb.setStandardOutputFile(displayFile);
    xvfb.start("Xvfb", {"-displayfd", "1", "-screen", "0", "640x480x24", "-nolisten", "tcp"});
    QByteArray display;
    for (int wait = 0; wait < 100 && display.isEmpty() && xvfb.waitForStarted(); ++wait) {
        QThread::msleep(50);
        QFile file(displayFile);
        if (file.open(QIODevice::ReadOnly))
            display = file.readAll().trimmed();
    }
    if (display.isEmpty()) {
        std::fputs("Xvfb did not start\n", stderr);
        return 1;
    }
    qputenv("DISPLAY", ":" + display);
    qputenv("QT_QPA_PLATFORM", "xcb");
    int status = 0;
    {
        QGuiApplication app(argc, argv);
        TestSceneGraphBackend test;
        status = QTest::qExec(&test, argc, argv);
    }
    xvfb.terminate();
    xvfb.waitForFinished(5000);
    return status;
}

#include "tst_scenegraphbackend.moc"
