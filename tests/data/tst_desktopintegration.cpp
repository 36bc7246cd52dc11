#include "app/AppStartup.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

namespace {

QString dataFile(const QString& suffix)
{
    return QStringLiteral(MORVELA_DATA_DIR "/") + QStringLiteral(MORVELA_APP_ID) + suffix;
}

}  // namespace

class TestDesktopIntegration : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Docks and task bars match a window to its launcher by this name (the Wayland app id).
    void windowReportsTheDesktopFileName()
    {
        AppStartup::configureApplication(*qGuiApp);
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("app.morvela.Calculator"));
        QVERIFY(QFile::exists(dataFile(QStringLiteral(".desktop"))));
    }

    void iconIsSelfContained()
    {
        QFile file(dataFile(QStringLiteral(".svg")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray svg = file.readAll();
        QVERIFY(!svg.contains("href"));
        QVERIFY(!svg.contains("<image"));
        QVERIFY(!svg.contains("<text"));
    }

    void iconRenders_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("16") << 16;
        QTest::newRow("48") << 48;
        QTest::newRow("256") << 256;
    }
    void iconRenders()
    {
        QFETCH(int, size);
        QSvgRenderer renderer(dataFile(QStringLiteral(".svg")));
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBoxF().width(), renderer.viewBoxF().height());

        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        // A rounded tile: solid in the middle, clear in the corners.
        QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size - 1, size - 1)), 0);
    }
};

QTEST_MAIN(TestDesktopIntegration)
#include "tst_desktopintegration.moc"
