#include "app/ToolCatalogue.h"
#include "ui/icons/IconProvider.h"

#include <QGuiApplication>
#include <QMutex>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSvgRenderer>
#include <QtQml/QQmlExtensionPlugin>
#include <QtTest>

#include <memory>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

namespace {

struct Ink {
    int solid = 0;       // pixels at the expected colour and alpha
    int wrongColour = 0; // pixels at the expected alpha in another colour
    int maxAlpha = 0;
    int edge = 0; // inked pixels on the outermost ring
};

Ink inkOf(const QImage& premultiplied, const QColor& expected)
{
    const QImage image = premultiplied.convertToFormat(QImage::Format_ARGB32);
    // Premultiplied storage rounds channels at partial alpha.
    const int tolerance = expected.alpha() == 255 ? 0 : 2;
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            ink.maxAlpha = std::max(ink.maxAlpha, qAlpha(pixel));
            if (qAlpha(pixel) > 0 && (x == 0 || y == 0 || x == image.width() - 1 || y == image.height() - 1))
                ++ink.edge;
            if (qAlpha(pixel) != expected.alpha())
                continue;
            const bool same = std::abs(qRed(pixel) - expected.red()) <= tolerance &&
                              std::abs(qGreen(pixel) - expected.green()) <= tolerance &&
                              std::abs(qBlue(pixel) - expected.blue()) <= tolerance;
            ++(same ? ink.solid : ink.wrongColour);
        }
    }
    return ink;
}

int countPixels(const QImage& image, QRgb rgb)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xffffff) == (rgb & 0xffffff) ? 1 : 0;
    }
    return count;
}

// The real provider, noting what QML asks it for (on the scene graph's thread).
class RecordingIconProvider : public IconProvider {
public:
    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override
    {
        {
            const QMutexLocker lock(&m_mutex);
            m_requests.append({id.section(QLatin1Char('?'), 0, 0), requestedSize});
        }
        return IconProvider::requestImage(id, size, requestedSize);
    }
    QList<std::pair<QString, QSize>> requests()
    {
        const QMutexLocker lock(&m_mutex);
        return m_requests;
    }

private:
    QMutex m_mutex;
    QList<std::pair<QString, QSize>> m_requests;
};

// Icon.qml on a white window of its own (2x, see main()), with a fresh engine and image cache.
struct Scene {
    QQmlEngine engine;
    RecordingIconProvider* provider = new RecordingIconProvider;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> item;

    QQuickItem* load(const QByteArray& qml)
    {
        engine.addImportPath(QStringLiteral("qrc:/"));
        engine.addImageProvider(QStringLiteral("icon"), provider);
        window.setColor(Qt::white);
        window.resize(64, 64);
        window.show();
        if (!QTest::qWaitForWindowExposed(&window) || window.effectiveDevicePixelRatio() != 2.0)
            return nullptr;
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport Morvela\n" + qml,
                          QUrl(QStringLiteral("qrc:/tst_icons.qml")));
        item.reset(qobject_cast<QQuickItem*>(component.create()));
        if (item)
            item->setParentItem(window.contentItem());
        return item.get();
    }
    QImage grab()
    {
        window.update();
        return window.grabWindow().convertToFormat(QImage::Format_RGB32);
    }
};

} // namespace

class TestIcons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyToolOfTheCatalogueHasAnIcon()
    {
        for (morvela::CalculatorTool tool : morvela::ToolCatalogue::allCases()) {
            const std::string_view symbol = morvela::ToolCatalogue::symbol(tool);
            const QString name = QString::fromUtf8(symbol.data(), qsizetype(symbol.size()));
            QVERIFY2(!IconProvider::svgPath(name).isEmpty(), qPrintable(name));
        }
    }

    void iconsAreWellFormed_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList names = IconProvider::names();
        QVERIFY(!names.isEmpty());
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << name;
    }
    // Each SVG draws on the shared 24 x 24 grid and stays inside it.
    void iconsAreWellFormed()
    {
        QFETCH(QString, name);
        const QSvgRenderer renderer(IconProvider::svgPath(name));
        QVERIFY(renderer.isValid());
        QCOMPARE(renderer.viewBoxF(), QRectF(0, 0, 24, 24));
        // At 48 px one pixel is half a grid unit: ink on the outermost ring means a clipped stroke.
        const Ink ink = inkOf(IconProvider().requestImage(name, nullptr, QSize(48, 48)), Qt::black);
        QCOMPARE(ink.edge, 0);
        // A glyph, not a speck: at least a 1.8-unit stroke a few units long.
        QVERIFY2(ink.solid > 60, qPrintable(QString::number(ink.solid)));
    }

    void imageHasTheRequestedSize_data()
    {
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("both given") << QSize(30, 30) << QSize(30, 30);
        QTest::newRow("width only") << QSize(48, 0) << QSize(48, 48);
        QTest::newRow("height only") << QSize(-1, 20) << QSize(20, 20);
        QTest::newRow("no size asked: natural 24") << QSize() << QSize(24, 24);
        QTest::newRow("absurd size is capped") << QSize(100000, 100000) << QSize(1024, 1024);
    }
    void imageHasTheRequestedSize()
    {
        QFETCH(QSize, requested);
        QFETCH(QSize, expected);
        QSize natural;
        const QImage image = IconProvider().requestImage(QStringLiteral("metronome"), &natural, requested);
        QCOMPARE(image.size(), expected);
        QCOMPARE(natural, QSize(24, 24));
        QVERIFY(inkOf(image, Qt::black).solid > 0);
    }

    void drawsTheNamedSymbolInItsColour_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QColor>("expected"); // invalid: a transparent image
        const QColor saffron(0xeb, 0xa3, 0x3d);
        QTest::newRow("as Icon.qml asks") << "hand.tap?color=%23eba33d" << saffron;
        QTest::newRow("with alpha (#aarrggbb)")
            << "stop.fill?color=%2380eba33d" << QColor(0xeb, 0xa3, 0x3d, 0x80);
        QTest::newRow("no colour: black") << "tuningfork" << QColor(Qt::black);
        QTest::newRow("no such symbol") << "no.such.symbol?color=%23eba33d" << QColor();
        QTest::newRow("empty") << "" << QColor();
        // Would reach hand.tap.svg if the name were used as a path.
        QTest::newRow("parent folder") << "../icons/hand.tap" << QColor();
    }
    void drawsTheNamedSymbolInItsColour()
    {
        QFETCH(QString, id);
        QFETCH(QColor, expected);
        const QImage image = IconProvider().requestImage(id, nullptr, QSize(48, 48));
        QCOMPARE(image.size(), QSize(48, 48));
        const Ink ink = inkOf(image, expected.isValid() ? expected : QColor(Qt::black));
        QCOMPARE(ink.maxAlpha, expected.isValid() ? expected.alpha() : 0);
        if (expected.isValid()) {
            QVERIFY2(ink.solid > 50, qPrintable(QString::number(ink.solid)));
            QCOMPARE(ink.wrongColour, 0);
        }
    }

    // Icon.qml asks for device pixels, draws in its colour and redraws when the colour changes.
    void iconItemDrawsCrispInItsColour()
    {
        Scene scene;
        QQuickItem* icon = scene.load("Icon { name: \"stop.fill\"; color: \"#eba33d\"; size: 15 }");
        QVERIFY(icon);
        QCOMPARE(icon->implicitWidth(), 15);
        QTRY_COMPARE(scene.provider->requests().size(), 1);
        QCOMPARE(scene.provider->requests().constFirst(),
                 std::make_pair(QStringLiteral("stop.fill"), QSize(30, 30)));
        // The filled square covers 14 of 24 units: about 17 device px a side at 2x.
        QTRY_VERIFY(countPixels(scene.grab(), qRgb(0xeb, 0xa3, 0x3d)) > 200);

        icon->setProperty("color", QColor(0x3d, 0x7a, 0xeb));
        QTRY_VERIFY(countPixels(scene.grab(), qRgb(0x3d, 0x7a, 0xeb)) > 200);
        QCOMPARE(countPixels(scene.grab(), qRgb(0xeb, 0xa3, 0x3d)), 0);
    }

    // An unknown name draws nothing and prints nothing.
    void iconItemWithAnUnknownNameIsQuiet()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        Scene scene;
        QVERIFY(scene.load("Icon { name: \"no.such.symbol\"; color: \"#eba33d\"; size: 24 }"));
        QTRY_COMPARE(scene.provider->requests().size(), 1);
        const QImage frame = scene.grab();
        QCOMPARE(countPixels(frame, qRgb(255, 255, 255)), frame.width() * frame.height());
    }
};

int main(int argc, char** argv)
{
    // Every window of this test is a 2x (HiDPI) window.
    qputenv("QT_SCALE_FACTOR", "2");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    TestIcons test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_icons.moc"
