#include "platform/Preferences.h"
#include "platform/StateFiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writePreferencesFile(const QByteArray& contents)
{
    QDir().mkpath(QFileInfo(StateFiles::preferencesPath()).absolutePath());
    QFile file(StateFiles::preferencesPath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

QByteArray preferencesFile()
{
    QFile file(StateFiles::preferencesPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestPreferences : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(StateFiles::preferencesPath()); }
    void cleanup() { QFile::remove(StateFiles::preferencesPath()); }

    void readsStoredOptOut_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<bool>("optOut");
        QTest::newRow("no file") << QByteArray() << false;
        QTest::newRow("other keys only") << QByteArray("[General]\ntheme=dark\n") << false;
        QTest::newRow("opted out") << QByteArray("[General]\nstatsOptOut=true\n") << true;
        QTest::newRow("opted in") << QByteArray("[General]\nstatsOptOut=false\n") << false;
    }
    void readsStoredOptOut()
    {
        QFETCH(QByteArray, contents);
        QFETCH(bool, optOut);
        if (!contents.isEmpty())
            writePreferencesFile(contents);
        QCOMPARE(Preferences::statsOptOut(), optOut);
        QCOMPARE(Preferences::instance().shareStatistics(), !optOut);
    }

    void toggleWritesTheInverse()
    {
        Preferences& preferences = Preferences::instance();
        QSignalSpy changed(&preferences, &Preferences::shareStatisticsChanged);

        preferences.setShareStatistics(false);
        QVERIFY2(preferencesFile().contains("statsOptOut=true"), preferencesFile().constData());
        QCOMPARE(changed.size(), 1);

        preferences.setShareStatistics(false);
        QCOMPARE(changed.size(), 1);

        preferences.setShareStatistics(true);
        QVERIFY2(preferencesFile().contains("statsOptOut=false"), preferencesFile().constData());
        QCOMPARE(changed.size(), 2);
        QVERIFY(preferences.shareStatistics());
    }

    // Another instance of the application may change the file while this one runs.
    void readsTheFileAfreshEveryTime()
    {
        writePreferencesFile("[General]\nstatsOptOut=false\n");
        QVERIFY(!Preferences::statsOptOut());
        writePreferencesFile("[General]\nstatsOptOut=true\n");
        QVERIFY(Preferences::statsOptOut());
        QFile::remove(StateFiles::preferencesPath());
        QVERIFY(!Preferences::statsOptOut());
    }

    // Opting out must hold for the rest of the run even when it cannot be stored.
    void optOutHoldsWhenTheFileCannotBeWritten()
    {
        QTemporaryDir config;
        QVERIFY(config.isValid());
        QFile blocker(config.filePath(QStringLiteral("morvela-calculator")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QByteArray previous = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));

        Preferences::instance().setShareStatistics(false);
        const bool optOut = Preferences::statsOptOut();
        const bool toggleOn = Preferences::instance().shareStatistics();
        const bool stored = QFile::exists(StateFiles::preferencesPath());

        qputenv("XDG_CONFIG_HOME", previous);
        // A choice that can be stored again replaces the remembered one.
        Preferences::instance().setShareStatistics(true);
        QVERIFY(!stored);
        QVERIFY(optOut);
        QVERIFY(!toggleOn);
        QVERIFY(!Preferences::statsOptOut());
        QVERIFY(preferencesFile().contains("statsOptOut=false"));
    }
};

QTEST_GUILESS_MAIN(TestPreferences)
#include "tst_preferences.moc"
