#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QtTest>

// The installed program's command line, run as a user would run it: no platform forced, and
// only the displays each case names.
class TestCommandLine : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What the program prints goes to standard output when it succeeds and to standard error
    // when it fails; the other stream stays empty.
    void answersWithoutAWindow_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("waylandDisplay");
        QTest::addColumn<QString>("x11Display");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("pattern");

        const QString usage = QStringLiteral("^Usage: morvela-calculator \\[options\\]\\n(.|\\n)*"
                                             "-h, --help (.|\\n)*-v, --version (.|\\n)*--platform <name> ");
        const QString version = QStringLiteral("^morvela-calculator " PROJECT_VERSION_TEXT "\\n$");
        const QString tryHelp = QStringLiteral("\\nTry 'morvela-calculator --help' for more information.\\n$");
        const QString none, noSocket = QStringLiteral("morvela-test-no-such-socket");
        const QString wayland = QStringLiteral("^morvela-calculator: cannot open a window on the Wayland display "
                                               "\"morvela-test-no-such-socket\"");
        const auto row = [&](const char* tag, QStringList arguments, int exitCode, QString pattern,
                             QString waylandDisplay = {}, QString x11Display = {}) {
            QTest::newRow(tag) << arguments << waylandDisplay << x11Display << exitCode << pattern;
        };

        row("--help", {"--help"}, 0, usage);
        row("-h", {"-h"}, 0, usage);
        row("--help beside Qt's -platform", {"-platform", "xcb", "--help"}, 0, usage);
        row("--version", {"--version"}, 0, version);
        row("-v", {"-v"}, 0, version);
        row("--version on an X display that is not there", {"--version"}, 0, version, none, ":9999");
        row("--bogus", {"--bogus"}, 2, "^morvela-calculator: unknown option '--bogus'" + tryHelp);
        row("-x", {"-x"}, 2, "^morvela-calculator: unknown option '-x'" + tryHelp);
        row("--bogus with --help", {"--help", "--bogus"}, 2, "unknown option '--bogus'" + tryHelp);
        row("a file name", {"song.txt"}, 2, "^morvela-calculator: unexpected argument 'song.txt'" + tryHelp);
        row("--platform without its value", {"--platform"}, 2,
            "^morvela-calculator: missing value after '--platform'" + tryHelp);

        // Exactly one line, naming every display that was tried.
        row("no display", {}, 1,
            "^morvela-calculator: no display found \\(neither WAYLAND_DISPLAY nor DISPLAY is set\\)"
            "[^\\n]*xvfb-run -a morvela-calculator\\n$");
        row("Wayland display not there", {}, 1, wayland + ";[^\\n]*\\n$", noSocket);
        row("X display not there", {}, 1,
            "^morvela-calculator: cannot open a window on the X display \":9999\";[^\\n]*\\n$", none, ":9999");
        row("neither display there", {}, 1, wayland + " or the X display \":9999\";[^\\n]*\\n$", noSocket, ":9999");
    }

    void answersWithoutAWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, waylandDisplay);
        QFETCH(QString, x11Display);
        QFETCH(int, exitCode);
        QFETCH(QString, pattern);

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
        QVERIFY2(QRegularExpression(pattern).match(exitCode == 0 ? out : err).hasMatch(),
                 qPrintable("stdout: " + out + "\nstderr: " + err));
        QCOMPARE(exitCode == 0 ? err : out, QString());
        QCOMPARE(program.exitCode(), exitCode);
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
