#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QtTest>

// The installed program's command line, run as a user would run it: no platform forced, and
// only the displays each case names.
class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answersWithoutAWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("x11Display");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stdoutPattern");
        QTest::addColumn<QString>("stderrPattern");

        const QString usage = QStringLiteral("^Usage: morvela-calculator \\[options\\]\\n(.|\\n)*"
                                             "-h, --help (.|\\n)*-v, --version (.|\\n)*--platform <name> ");
        const QString version = QStringLiteral("^morvela-calculator " PROJECT_VERSION_TEXT "\\n$");
        const QString tryHelp =
            QStringLiteral("\\nTry 'morvela-calculator --help' for more information.\\n$");
        const QString none;

        QTest::newRow("--help") << QStringList{"--help"} << none << none << 0 << usage << "^$";
        QTest::newRow("-h") << QStringList{"-h"} << none << none << 0 << usage << "^$";
        QTest::newRow("--help beside Qt's -platform")
            << QStringList{"-platform", "xcb", "--help"} << none << none << 0 << usage << "^$";
        QTest::newRow("--version") << QStringList{"--version"} << none << none << 0 << version << "^$";
        QTest::newRow("-v") << QStringList{"-v"} << none << none << 0 << version << "^$";
        QTest::newRow("--version on an X display that is not there")
            << QStringList{"--version"} << none << ":9999" << 0 << version << "^$";

        QTest::newRow("--bogus") << QStringList{"--bogus"} << none << none << 2 << "^$"
                                 << "^morvela-calculator: unknown option '--bogus'" + tryHelp;
        QTest::newRow("-x") << QStringList{"-x"} << none << none << 2 << "^$"
                            << "^morvela-calculator: unknown option '-x'" + tryHelp;
        QTest::newRow("--bogus with --help") << QStringList{"--help", "--bogus"} << none << none << 2 << "^$"
                                             << "unknown option '--bogus'" + tryHelp;
        QTest::newRow("a file name") << QStringList{"song.txt"} << none << none << 2 << "^$"
                                     << "^morvela-calculator: unexpected argument 'song.txt'" + tryHelp;
        QTest::newRow("--platform without its value")
            << QStringList{"--platform"} << none << none << 2 << "^$"
            << "^morvela-calculator: missing value after '--platform'" + tryHelp;

        // Exactly one line, naming every display that was tried.
        QTest::newRow("no display") << QStringList{} << none << none << 1 << "^$"
                                    << "^morvela-calculator: no display found \\(neither WAYLAND_DISPLAY nor "
                                       "DISPLAY is set\\)[^\\n]*xvfb-run -a morvela-calculator\\n$";
        QTest::newRow("Wayland display not there")
            << QStringList{} << "morvela-test-no-such-socket" << none << 1 << "^$"
            << "^morvela-calculator: cannot open a window on the Wayland display "
               "\"morvela-test-no-such-socket\";[^\\n]*\\n$";
        QTest::newRow("X display not there") << QStringList{} << none << ":9999" << 1 << "^$"
                                             << "^morvela-calculator: cannot open a window on the X display "
                                                "\":9999\";[^\\n]*\\n$";
        QTest::newRow("neither display there")
            << QStringList{} << "morvela-test-no-such-socket"
            << ":9999" << 1 << "^$"
            << "^morvela-calculator: cannot open a window on the Wayland display "
               "\"morvela-test-no-such-socket\" or the X display \":9999\";[^\\n]*\\n$";
    }

    void answersWithoutAWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, x11Display);
        QFETCH(int, exitCode);
        QFETCH(QString, stdoutPattern);
        QFETCH(QString, stderrPattern);

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_SESSION_TYPE"})
            environment.remove(QString::fromLatin1(name));
        if (!waylandDisplay.isEmpty())
            environment.insert(QStringLiteral("WAYLAND_DISPLAY"), waylandDisplay);
        if (!x11Display.isEmpty())
            environment.insert(QStringLiteral("DISPLAY"), x11Display);

        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MORVELA_PROGRAM), arguments);
        QVERIFY2(program.waitForFinished(30'000), "the program did not exit");
        const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(program.readAllStandardError());
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QVERIFY2(QRegularExpression(stdoutPattern).match(out).hasMatch(), qPrintable("stdout: " + out));
        QVERIFY2(QRegularExpression(stderrPattern).match(err).hasMatch(), qPrintable("stderr: " + err));
        QCOMPARE(program.exitCode(), exitCode);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
