#include "app/AppStartup.h"

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

namespace {

QString dataFile(const char* suffix)
{
    return QStringLiteral(MORVELA_DATA_DIR "/" MORVELA_APP_ID) + QLatin1String(suffix);
}

} // namespace

class TestDesktopIntegration : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Docks and task bars match a window to its launcher by this name (the Wayland app id).
    void windowReportsTheDesktopFileName()
    {
        AppStartup::configureApplication(*qGuiApp);
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("app.morvela.Calculator"));
        QVERIFY(QFile::exists(dataFile(".desktop")));
    }

    // Installed alone into the icon theme: nothing it refers to comes along.
    void iconIsASelfContainedSquareTile()
    {
        QFile file(dataFile(".svg"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray svg = file.readAll();
        QVERIFY(!svg.contains("href"));
        QVERIFY(!svg.contains("<image"));
        QVERIFY(!svg.contains("<text"));

        QSvgRenderer renderer(svg);
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBoxF().width(), renderer.viewBoxF().height());
        QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        // A rounded tile: solid in the middle, clear in the corners.
        QCOMPARE(qAlpha(image.pixel(24, 24)), 255);
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(47, 47)), 0);
    }
};

QTEST_MAIN(TestDesktopIntegration)
#include "tst_desktopintegration.moc"
