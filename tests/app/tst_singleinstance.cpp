// One application per session: a launch finds the running one and hands over, or runs and answers
// the launches after it, also when a run before it left its socket file behind.
#include "app/SingleInstance.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class tst_SingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void launch_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("handedOver");
        QTest::newRow("nothing running") << "" << false;
        QTest::newRow("a file left behind") << "file" << false;
        QTest::newRow("an application running") << "running" << true;
        QTest::newRow("an application that has ended") << "ended" << false;
    }
    void launch()
    {
        QFETCH(QString, before);
        QFETCH(bool, handedOver);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("instance"));
        SingleInstance running(path);
        QSignalSpy asked(&running, &SingleInstance::activationRequested);
        if (before == QLatin1String("file")) {
            QFile left(path);
            QVERIFY(left.open(QIODevice::WriteOnly));
        } else if (before != QLatin1String("")) {
            QVERIFY(running.listen());
            if (before == QLatin1String("ended")) {
                SingleInstance ended(path);
                QVERIFY(ended.listen()); // takes the socket over; gone with it
            }
        }

        SingleInstance launched(path);
        QCOMPARE(launched.handOverToRunning(), handedOver);
        if (handedOver) {
            QVERIFY(asked.wait(5000));
            QCOMPARE(asked.count(), 1);
        } else {
            QVERIFY(launched.listen());
            SingleInstance next(path);
            QSignalSpy nextAsked(&launched, &SingleInstance::activationRequested);
            QVERIFY(next.handOverToRunning());
            QVERIFY(nextAsked.wait(5000));
        }
    }
};

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
