#include "app/AppStartup.h"
#include "app/ShellController.h"
#include "platform/StateFiles.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QSettings>
#include <QtTest>

namespace {

const QString kKey = QStringLiteral("selectedCalculatorTool");

QString storedId()
{
    return QSettings(StateFiles::windowStatePath(), QSettings::IniFormat).value(kKey).toString();
}

void store(const QString& id)
{
    QSettings settings(StateFiles::windowStatePath(), QSettings::IniFormat);
    settings.setValue(kKey, id);
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(StateFiles::windowStatePath()); }

    // The rest of storing and restoring the selection is tested through the sidebar (tst_contentview).
    void selectingTheSelectedToolStoresItAgain()
    {
        ShellController shell;
        shell.select(QStringLiteral("space"));
        store(QStringLiteral("tempo"));
        shell.select(QStringLiteral("space"));
        QCOMPARE(storedId(), QStringLiteral("space"));
    }

    // The root window, with its minimum size and the remembered tool.
    void mainWindow()
    {
        store(QStringLiteral("frequency"));
        QQmlApplicationEngine engine;
        AppStartup::configureEngine(engine);
        engine.load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
        QCOMPARE(engine.rootObjects().size(), 1);
        auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
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
        QCOMPARE(
            QSettings(StateFiles::windowStatePath(), QSettings::IniFormat).value("window/maximized").toBool(),
            true);
    }
};

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);
    TestShell test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_shell.moc"
