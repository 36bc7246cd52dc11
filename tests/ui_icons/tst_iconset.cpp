#include "app/ToolCatalogue.h"
#include "ui/icons/IconProvider.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

// The SVG files themselves: each one draws on the shared 24 x 24 grid, inside its box.
class TestIconSet : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void everyToolOfTheCatalogueHasAnIcon();
    void iconsAreWellFormed_data();
    void iconsAreWellFormed();
};

void TestIconSet::everyToolOfTheCatalogueHasAnIcon()
{
    const QStringList names = IconProvider::names();
    for (morvela::CalculatorTool tool : morvela::ToolCatalogue::allCases()) {
        const std::string_view symbol = morvela::ToolCatalogue::symbol(tool);
        const QString name = QString::fromUtf8(symbol.data(), qsizetype(symbol.size()));
        QVERIFY2(names.contains(name), qPrintable(name));
        QVERIFY2(!IconProvider::svgPath(name).isEmpty(), qPrintable(name));
    }
}

void TestIconSet::iconsAreWellFormed_data()
{
    QTest::addColumn<QString>("name");
    const QStringList names = IconProvider::names();
    QVERIFY(!names.isEmpty());
    for (const QString& name : names)
        QTest::newRow(qPrintable(name)) << name;
}

void TestIconSet::iconsAreWellFormed()
{
    QFETCH(QString, name);
    QSvgRenderer renderer(IconProvider::svgPath(name));
    QVERIFY(renderer.isValid());
    QCOMPARE(renderer.viewBoxF(), QRectF(0, 0, 24, 24));

    // At 48 px one pixel is half a grid unit: the outermost ring must stay empty, or a stroke was clipped.
    QImage image(48, 48, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, 48, 48));
    }
    int inked = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            const bool edge = x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1;
            if (edge)
                QVERIFY2(alpha == 0,
                         qPrintable(QStringLiteral("ink at the edge, pixel %1,%2").arg(x).arg(y)));
            if (alpha == 255)
                ++inked;
        }
    }
    // A glyph, not a speck: at least a 1.8-unit stroke a few units long.
    QVERIFY2(inked > 60, qPrintable(QString::number(inked)));
}

QTEST_MAIN(TestIconSet)
#include "tst_iconset.moc"
