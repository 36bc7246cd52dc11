// The main window: its size, where it is placed, and what it makes of the window-state and
// preference files as a crash, a bad disk or a careless hand may leave them. Whatever they hold,
// the app opens on its defaults; when it writes, it keeps what the file held (other keys, or the
// whole file as a copy beside it); and when a file cannot be read or its folder cannot be
// written, it keeps running on what it has in memory.
#include "app/AppStartup.h"
#include "app/Stats.h"
#include "app/WindowPlacement.h"
#include "platform/Preferences.h"
#include "platform/StateFiles.h"
#include "support/FakeTimers.h"
#include "tools/harmony/CircleOfFifthsController.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQmlProperty>
#include <QQuickWindow>
#include <QScreen>
#include <QSettings>
#include <QtTest>

#include <unistd.h>

namespace {

const QString kDefaults = QStringLiteral("bpm 960x720, key 0");
// After writeAsTheAppDoes().
const QString kWritten = QStringLiteral("rhythm 1000x700, key 0");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Values of every kind in the wrong place, for every key the app reads from either file.
QByteArray hostile(const QByteArray& value)
{
    QByteArray text = "[General]\n";
    for (const char* key : {"selectedCalculatorTool", "fifthsSelectedIndex", "fifthsMinorSelected", "statsOptOut"})
        text += key + QByteArray("=") + value + "\n";
    text += "\n[foreign]\nnote=keep me\n\n[window]\n";
    for (const char* key : {"x", "y", "width", "height", "maximized"})
        text += key + QByteArray("=") + value + "\n";
    return text;
}

// What the app made of the files at start: the tool and size of its main window (and whether it
// opened maximised), and the harmony tool's key.
QString describe(QQuickWindow* window)
{
    if (!window)
        return QStringLiteral("no window");
    QObject* content = QQmlProperty::read(window, "content").value<QObject*>();
    QObject* shell = QQmlProperty::read(content, "shell").value<QObject*>();
    const CircleOfFifthsController harmony;
    return QStringLiteral("%1 %2x%3%4, key %5%6")
        .arg(QQmlProperty::read(shell, "effectiveToolId").toString())
        .arg(window->width())
        .arg(window->height())
        .arg(window->windowStates() & Qt::WindowMaximized ? " maximised" : "")
        .arg(harmony.selectedIndex())
        .arg(harmony.minorSelected() ? " minor" : "");
}

QSettings stored()
{
    return {StateFiles::windowStatePath(), QSettings::IniFormat};
}

// What the running app writes: a tool choice, the window geometry, the statistics switch.
bool writeAsTheAppDoes()
{
    WindowState store;
    store.setValue(QStringLiteral("selectedCalculatorTool"), QStringLiteral("rhythm"));
    const bool saved = store.saved();
    store.setValues({{QStringLiteral("window/x"), 10}, {QStringLiteral("window/y"), 20},
                     {QStringLiteral("window/width"), 1000}, {QStringLiteral("window/height"), 700}});
    Preferences::instance().setShareStatistics(false);
    return saved && store.saved();
}

void removeEverything()
{
    for (const QString& path : {StateFiles::windowStatePath(), StateFiles::preferencesPath()}) {
        const QString folder = QFileInfo(path).absolutePath();
        QFile(folder).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::remove(folder);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
    }
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    ManualClock m_clock;
    // Whatever the preference file says, usage events go nowhere but to a closed loopback port.
    Stats m_nowhere{QUrl(QStringLiteral("http://127.0.0.1:1/events"))};
    std::unique_ptr<QQmlApplicationEngine> m_engine;

    // The whole app opens its main window over the files as they are.
    QQuickWindow* openMainWindow()
    {
        m_engine.reset();
        m_engine = std::make_unique<QQmlApplicationEngine>();
        AppStartup::configureEngine(*m_engine);
        m_engine->load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
        auto* window = qobject_cast<QQuickWindow*>(m_engine->rootObjects().value(0));
        return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
    }
    // Closed again before anything else happens.
    QString opened()
    {
        const QString description = describe(openMainWindow());
        m_engine.reset();
        return description;
    }

private Q_SLOTS:
    void initTestCase()
    {
        Services::setTimerFactory(&m_clock);
        Stats::setShared(&m_nowhere);
    }
    void init() { removeEverything(); }
    void cleanup()
    {
        m_engine.reset();
        removeEverything();
        // Values that could not be saved live on in memory for the rest of the run; one write
        // that reaches the disk settles them, before the next test starts from nothing again.
        QVERIFY(writeAsTheAppDoes());
        removeEverything();
        writeFile(StateFiles::preferencesPath(), "[General]\nstatsOptOut=true\n");
    }
    void cleanupTestCase()
    {
        Stats::setShared(nullptr);
        Services::setTimerFactory(nullptr);
    }

    // The root window, with its minimum size, and the remembered position where it is on a
    // screen. (The remembered tool and size: the state-file cases below.)
    void mainWindow_data()
    {
        QTest::addColumn<QPoint>("remembered");
        QTest::addColumn<bool>("kept");
        QTest::newRow("on screen") << QPoint(40, 30) << true;
        QTest::newRow("far off screen") << QPoint(20000, 20000) << false;
    }
    void mainWindow()
    {
        QFETCH(QPoint, remembered);
        stored().setValue("window/x", remembered.x());
        stored().setValue("window/y", remembered.y());
        QQuickWindow* window = openMainWindow();
        QVERIFY(window);
        QTEST(window->geometry() == QRect(remembered, QSize(960, 720)), "kept");
        QVERIFY(window->screen()->availableGeometry().contains(window->position()));
        QCOMPARE(window->minimumSize(), QSize(900, 680));
        QCOMPARE(window->title(), QStringLiteral("Morvela Calculator"));

        // Asking for less than the minimum gives the minimum.
        window->resize(400, 300);
        QTRY_COMPARE(window->size(), QSize(900, 680));

        // A maximised window is remembered as such; closing it does not undo that.
        window->showMaximized();
        QTRY_COMPARE(window->visibility(), QWindow::Maximized);
        window->close();
        QCOMPARE(stored().value("window/maximized").toBool(), true);
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

    void hostileContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        // Whether the ini reader takes the file as it is, so that writing over it loses nothing.
        QTest::addColumn<bool>("readsCleanly");
        // Words, a list, a quoted number, texts that start with "@" and hold control characters as
        // the writer writes them, a rectangle, integers beyond 64, 32 bits and the window system,
        // fractions, NaN, infinities.
        for (const char* value : {"seven", "1, 2, 3", "\"-12\"", "@@home", "@String(21\\0\\x39)",
                                  "@Rect(10 20 30 40)", "99999999999999999999999", "9223372036854775807",
                                  "2147483647", "-2147483648", "40000", "-1", "960.5", "1e3", "nan", "inf",
                                  "-inf", "1e999", ""})
            QTest::addRow("=%s", value) << hostile(value) << true;
        // Serialised variants, which the reader would decode: one of no known type, and a list that
        // claims four billion entries (the reader would reserve 137 GB for it), also quoted, spelt
        // with escapes and as the second item of a list. The files are moved aside.
        for (const char* value : {"@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x11\\0\\0)",
                                  "@Variant(\\0\\0\\0\\t\\xff\\xff\\xff\\xf0)",
                                  "\"@Variant(\\0\\0\\0\\t\\xff\\xff\\xff\\xf0)\"",
                                  "\\x10040Variant(\\0\\0\\0\\t\\xff\\xff\\xff\\xf0)",
                                  "\\100Variant(\\0\\0\\0\\t\\xff\\xff\\xff\\xf0)",
                                  "1, @Variant(\\0\\0\\0\\t\\xff\\xff\\xff\\xf0)"})
            QTest::addRow("=%s", value) << hostile(value) << false;
        QTest::newRow("empty file") << QByteArray() << true;
        QTest::newRow("binary bytes") << QByteArray("\x00\x01\xff\xfe[General]\nselectedCalculatorTool=\xc3\x28\n", 40)
                                      << false;
        QTest::newRow("invalid UTF-8 in a value") << hostile("\xc3\x28\x80") << false;
        // Written back as "@String(a\0@b)", which must read as it is.
        QTest::newRow("a NUL and an @ in a value") << hostile(QByteArray("a\0@b", 4)) << false;
        QTest::newRow("a line without an equals sign") << hostile("seven") + "this line is not a key\n" << false;
        QTest::newRow("an unclosed section") << "[General\n" + hostile("seven") << false;
        QTest::newRow("an unterminated quote") << hostile("\"960") << false;
    }

    // Written twice over files the app did not write. An earlier copy of an unreadable window
    // state lies beside it already: it is never written over.
    void hostileContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, readsCleanly);
        const QString statePath = StateFiles::windowStatePath();
        writeFile(statePath, content);
        writeFile(StateFiles::preferencesPath(), content);
        writeFile(statePath + QStringLiteral(".unreadable"), "an earlier copy");
        QCOMPARE(StateFiles::readsCleanly(statePath), readsCleanly);

        QCOMPARE(opened(), kDefaults);
        QVERIFY(writeAsTheAppDoes());
        QVERIFY(writeAsTheAppDoes());
        QCOMPARE(opened(), kWritten);
        QVERIFY(Preferences::statsOptOut());
        for (const QString& path : {statePath, StateFiles::preferencesPath()}) {
            const QString copy = path + (path == statePath ? QStringLiteral(".unreadable-2") : QStringLiteral(".unreadable"));
            if (readsCleanly) {
                // Written over in place: the keys the app does not own are still there.
                QVERIFY(!QFile::exists(copy));
                if (!content.isEmpty())
                    QCOMPARE(QSettings(path, QSettings::IniFormat).value(QStringLiteral("foreign/note")).toString(),
                             QStringLiteral("keep me"));
            } else {
                // The file as it was, byte for byte, beside the rewritten one, once.
                QCOMPARE(readFile(copy), content);
                QVERIFY(StateFiles::readsCleanly(path));
            }
        }
        QCOMPARE(readFile(statePath + QStringLiteral(".unreadable")), QByteArray("an earlier copy"));
        QVERIFY(!QFile::exists(statePath + QStringLiteral(".unreadable-3")));
    }

    // Something in the way of each file or of its folder. The superuser reads and writes
    // whatever the permissions; the other rows cover those cases there.
    void blocked_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("openedAs");
        QTest::newRow("no read permission") << "mode 000" << kDefaults;
        QTest::newRow("a folder in the file's place") << "folder" << kDefaults;
        QTest::newRow("read-only folder") << "read-only" << QStringLiteral("space 960x720, key 0");
        QTest::newRow("a file in the folder's place") << "file" << kDefaults;
    }

    // The app opens, writing fails and leaves the thing in the way as it was, and what was
    // written counts for this run. A choice that can be stored again replaces the remembered one.
    void blocked()
    {
        QFETCH(QString, kind);
        if (geteuid() == 0 && (kind == "mode 000" || kind == "read-only"))
            QSKIP("running as root, which reads and writes whatever the permissions");
        const QByteArray content = "[General]\nselectedCalculatorTool=space\n";
        const QStringList paths = {StateFiles::windowStatePath(), StateFiles::preferencesPath()};
        QStringList blockers;
        for (const QString& path : paths) {
            const QString folder = QFileInfo(path).absolutePath();
            blockers << (kind == "file" ? folder : kind == "folder" ? path + QStringLiteral("/inside") : path);
            if (kind == "file")
                QVERIFY(QDir(folder).removeRecursively());
            writeFile(blockers.last(), content);
            if (kind == "mode 000")
                QVERIFY(QFile(path).setPermissions({}));
            if (kind == "read-only")
                QVERIFY(QFile(folder).setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        }

        QTEST(opened(), "openedAs");
        QVERIFY(!writeAsTheAppDoes());
        QCOMPARE(opened(), kWritten);
        QVERIFY(Preferences::statsOptOut());
        for (qsizetype i = 0; i < paths.size(); ++i) {
            QVERIFY(!QFile::exists(paths[i] + QStringLiteral(".unreadable")));
            QFile(blockers[i]).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(readFile(blockers[i]), content);
        }

        removeEverything();
        Preferences::instance().setShareStatistics(true);
        QVERIFY(!Preferences::statsOptOut());
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
