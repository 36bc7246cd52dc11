#include "platform/SceneGraphBackend.h"

#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTest>

// The scene graph follows where the X server draws OpenGL. The whole run is an X client of a
// private Xvfb (the test runs under xvfb-run), whose OpenGL is drawn on the CPU (GLX without DRI).
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

QTEST_MAIN(TestSceneGraphBackend)
#include "tst_scenegraphbackend.moc"
