// The window-state and preference files as a crash, a bad disk or a careless hand may leave
// them. Whatever they hold, the app opens on its defaults; when it writes, it keeps what the
// file held (other keys, or the whole file as a copy beside it); and when a file cannot be read
// or its folder cannot be written, it keeps running on what it has in memory.
#include "app/AppStartup.h"
#include "app/ShellController.h"
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
#include <QQuickWindow>
#include <QSettings>
#include <QtTest>

#include <unistd.h>

namespace {

const QString kForeignKey = QStringLiteral("foreign/note");
const QString kToolKey = QStringLiteral("selectedCalculatorTool");

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

QString folderOf(const QString& path)
{
    return QFileInfo(path).absolutePath();
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

} // namespace

class TestHostileStateFiles : public QObject {
    Q_OBJECT

    ManualClock m_clock;
    // Whatever the preference file says, usage events go nowhere but to a closed loopback port.
    Stats m_nowhere{QUrl(QStringLiteral("http://127.0.0.1:1/events"))};

    struct Opened {
        QString toolId;
        int keyIndex = -1;
        bool minorKey = true;
        QSize windowSize;
        bool maximized = true;
    };

    // What the app's controllers make of the files at start.
    static Opened open()
    {
        Opened opened;
        opened.toolId = ShellController().effectiveToolId();
        const CircleOfFifthsController harmony;
        opened.keyIndex = harmony.selectedIndex();
        opened.minorKey = harmony.minorSelected();
        QWindow window;
        window.setMinimumSize(QSize(900, 680));
        window.resize(960, 720);
        WindowPlacement placement;
        placement.setWindow(&window);
        placement.restoreAndShow();
        opened.windowSize = window.size();
        opened.maximized = window.windowState() == Qt::WindowMaximized;
        placement.setWindow(nullptr);
        return opened;
    }

    static void verifyDefaults(const Opened& opened)
    {
        QCOMPARE(opened.toolId, QStringLiteral("bpm"));
        QCOMPARE(opened.keyIndex, 0);
        QCOMPARE(opened.minorKey, false);
        QCOMPARE(opened.windowSize, QSize(960, 720));
        QCOMPARE(opened.maximized, false);
    }

    // The whole app opens its main window over the files as they are.
    static void verifyMainWindowOpens()
    {
        QQmlApplicationEngine engine;
        AppStartup::configureEngine(engine);
        engine.load(QUrl(QStringLiteral("qrc:/Morvela/app/Main.qml")));
        auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().value(0));
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QVERIFY(window->width() >= 900 && window->width() <= 32767);
        QVERIFY(window->height() >= 680 && window->height() <= 32767);
    }

    // What the running app writes: a tool choice, the window geometry, the statistics switch.
    static bool writeAsTheAppDoes()
    {
        WindowState store;
        store.setValue(kToolKey, QStringLiteral("rhythm"));
        const bool saved = store.saved();
        store.setValues({{QStringLiteral("window/x"), 10}, {QStringLiteral("window/y"), 20},
                         {QStringLiteral("window/width"), 1000}, {QStringLiteral("window/height"), 700}});
        Preferences::instance().setShareStatistics(false);
        return saved && store.saved();
    }

    static void removeEverything()
    {
        for (const QString& path : {StateFiles::windowStatePath(), StateFiles::preferencesPath()}) {
            const QString folder = folderOf(path);
            QFile(folder).setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            if (QFileInfo(folder).isFile())
                QFile::remove(folder);
            QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
            QDir(path).removeRecursively();
            QDir(folder).removeRecursively();
            QDir().mkpath(folder);
        }
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
        removeEverything();
        // Values that could not be saved live on in memory for the rest of the run; one write
        // that reaches the disk settles them, before the next row starts from nothing again.
        QVERIFY(writeAsTheAppDoes());
        Preferences::instance().setShareStatistics(false);
        removeEverything();
        writeFile(StateFiles::preferencesPath(), "[General]\nstatsOptOut=true\n");
    }
    void cleanupTestCase()
    {
        Stats::setShared(nullptr);
        Services::setTimerFactory(nullptr);
    }

    void hostileContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        // Whether the ini reader takes the file as it is, so that writing over it loses nothing.
        QTest::addColumn<bool>("readsCleanly");
        QTest::newRow("words for numbers and flags") << hostile("seven") << true;
        QTest::newRow("a list") << hostile("1, 2, 3") << true;
        QTest::newRow("a rectangle") << hostile("@Rect(10 20 30 40)") << true;
        QTest::newRow("a serialised variant of no known type")
            << hostile("@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x11\\0\\0)") << true;
        QTest::newRow("a quoted number") << hostile("\"-12\"") << true;
        QTest::newRow("huge") << hostile("99999999999999999999999") << true;
        QTest::newRow("largest 64-bit") << hostile("9223372036854775807") << true;
        QTest::newRow("largest 32-bit") << hostile("2147483647") << true;
        QTest::newRow("smallest 32-bit") << hostile("-2147483648") << true;
        QTest::newRow("beyond the window system") << hostile("40000") << true;
        QTest::newRow("negative") << hostile("-1") << true;
        QTest::newRow("fraction") << hostile("960.5") << true;
        QTest::newRow("exponent") << hostile("1e3") << true;
        QTest::newRow("NaN") << hostile("nan") << true;
        QTest::newRow("inf") << hostile("inf") << true;
        QTest::newRow("-inf") << hostile("-inf") << true;
        QTest::newRow("overflowing exponent") << hostile("1e999") << true;
        QTest::newRow("empty values") << hostile("") << true;
        QTest::newRow("empty file") << QByteArray() << true;
        QTest::newRow("binary bytes") << QByteArray("\x00\x01\xff\xfe[General]\nselectedCalculatorTool=\xc3\x28\n", 40)
                                      << false;
        QTest::newRow("invalid UTF-8 in a value") << hostile("\xc3\x28\x80") << false;
        QTest::newRow("a line without an equals sign") << hostile("seven") + "this line is not a key\n" << false;
        QTest::newRow("an unclosed section") << "[General\n" + hostile("seven") << false;
        QTest::newRow("an unterminated quote") << hostile("\"960") << false;
    }

    void hostileContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(bool, readsCleanly);
        const QString statePath = StateFiles::windowStatePath();
        const QString preferencesPath = StateFiles::preferencesPath();
        writeFile(statePath, content);
        writeFile(preferencesPath, content);
        QCOMPARE(StateFiles::readsCleanly(statePath), readsCleanly);

        verifyDefaults(open());
        verifyMainWindowOpens();

        QVERIFY(writeAsTheAppDoes());
        QCOMPARE(WindowState().value(kToolKey).toString(), QStringLiteral("rhythm"));
        QVERIFY(Preferences::statsOptOut());
        for (const QString& path : {statePath, preferencesPath}) {
            if (readsCleanly) {
                // Written over in place: the keys the app does not own are still there.
                QVERIFY(!QFile::exists(path + QStringLiteral(".unreadable")));
                if (!content.isEmpty())
                    QCOMPARE(QSettings(path, QSettings::IniFormat).value(kForeignKey).toString(),
                             QStringLiteral("keep me"));
            } else {
                // The file as it was, byte for byte, beside the rewritten one, once.
                QCOMPARE(readFile(path + QStringLiteral(".unreadable")), content);
                QVERIFY(StateFiles::readsCleanly(path));
            }
        }
        QVERIFY(writeAsTheAppDoes());
        QVERIFY(!QFile::exists(statePath + QStringLiteral(".unreadable-2")));
        verifyMainWindowOpens();
    }

    // An earlier copy is never written over.
    void secondUnreadableFileGetsACopyOfItsOwn()
    {
        const QString path = StateFiles::windowStatePath();
        writeFile(path + QStringLiteral(".unreadable"), "the first one");
        writeFile(path, "the second one\n");
        QVERIFY(writeAsTheAppDoes());
        QCOMPARE(readFile(path + QStringLiteral(".unreadable")), QByteArray("the first one"));
        QCOMPARE(readFile(path + QStringLiteral(".unreadable-2")), QByteArray("the second one\n"));
    }

    void unreadableFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("no read permission") << QStringLiteral("mode 000");
        QTest::newRow("a folder in its place") << QStringLiteral("folder");
    }

    void unreadableFile()
    {
        QFETCH(QString, kind);
        const QByteArray content = "[General]\nselectedCalculatorTool=space\nstatsOptOut=true\n";
        const QList<QString> paths = {StateFiles::windowStatePath(), StateFiles::preferencesPath()};
        for (const QString& path : paths) {
            if (kind == QLatin1String("folder")) {
                QVERIFY(QDir().mkpath(path));
                writeFile(path + QStringLiteral("/inside"), content);
            } else {
                // The superuser reads any file whatever its mode; the folder row covers this case
                // there, as nobody can read a folder as a file.
                if (geteuid() == 0)
                    QSKIP("running as root, which reads a file whatever its permissions");
                writeFile(path, content);
                QVERIFY(QFile(path).setPermissions({}));
            }
        }

        verifyDefaults(open());
        verifyMainWindowOpens();

        // Writing leaves the unreadable thing alone; the values count for this run.
        QVERIFY(!writeAsTheAppDoes());
        QCOMPARE(WindowState().value(kToolKey).toString(), QStringLiteral("rhythm"));
        QCOMPARE(Preferences::instance().shareStatistics(), false);
        for (const QString& path : paths) {
            QVERIFY(!QFile::exists(path + QStringLiteral(".unreadable")));
            if (kind == QLatin1String("folder")) {
                QVERIFY(QFileInfo(path).isDir());
                QCOMPARE(readFile(path + QStringLiteral("/inside")), content);
            } else {
                QVERIFY(QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner));
                QCOMPARE(readFile(path), content);
            }
        }
    }

    void unwritableFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("read-only folder") << QStringLiteral("read-only");
        QTest::newRow("a file in the folder's place") << QStringLiteral("file");
    }

    void unwritableFolder()
    {
        QFETCH(QString, kind);
        const QByteArray content = "[General]\nselectedCalculatorTool=space\n";
        const QList<QString> paths = {StateFiles::windowStatePath(), StateFiles::preferencesPath()};
        for (const QString& path : paths) {
            const QString folder = folderOf(path);
            if (kind == QLatin1String("file")) {
                QVERIFY(QDir(folder).removeRecursively());
                writeFile(folder, content);
            } else {
                // The superuser writes into any folder whatever its mode; the other row covers
                // this case there, as nobody can create a file inside a file.
                if (geteuid() == 0)
                    QSKIP("running as root, which writes whatever the folder's permissions");
                writeFile(path, content);
                QVERIFY(QFile(folder).setPermissions(QFile::ReadOwner | QFile::ExeOwner));
            }
        }

        const Opened opened = open();
        QCOMPARE(opened.toolId, kind == QLatin1String("file") ? QStringLiteral("bpm") : QStringLiteral("space"));
        verifyMainWindowOpens();

        QVERIFY(!writeAsTheAppDoes());
        QCOMPARE(WindowState().value(kToolKey).toString(), QStringLiteral("rhythm"));
        QCOMPARE(WindowState().value(QStringLiteral("window/width")).toInt(), 1000);
        QCOMPARE(Preferences::instance().shareStatistics(), false);
        for (const QString& path : paths) {
            const QString folder = folderOf(path);
            if (kind == QLatin1String("file"))
                QCOMPARE(readFile(folder), content);
            else
                QCOMPARE(readFile(path), content);
        }
    }
};

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    AppStartup::configureApplication(app);
    TestHostileStateFiles test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_hostilestatefiles.moc"
