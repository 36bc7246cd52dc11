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

} // namespace

class TestIcons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The image has the requested size (a missing side follows the other, no size at all gives the
    // natural 24) and draws the named symbol in the colour asked for. Every icon, and every tool
    // of the catalogue has one, is drawn at 48 px.
    void drawsTheNamedSymbolInItsColour_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QSize>("requested");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QColor>("expected"); // invalid: a transparent image
        const QColor saffron(0xeb, 0xa3, 0x3d);
        const QSize px48(48, 48);
        const QStringList names = IconProvider::names();
        for (morvela::CalculatorTool tool : morvela::ToolCatalogue::allCases()) {
            const std::string_view symbol = morvela::ToolCatalogue::symbol(tool);
            QVERIFY2(names.contains(QString::fromUtf8(symbol.data(), qsizetype(symbol.size()))), symbol.data());
        }
        for (const QString& name : names)
            QTest::newRow(qPrintable(name)) << name << px48 << px48 << QColor(Qt::black);
        QTest::newRow("as Icon.qml asks") << "hand.tap?color=%23eba33d" << px48 << px48 << saffron;
        QTest::newRow("with alpha (#aarrggbb)")
            << "stop.fill?color=%2380eba33d" << px48 << px48 << QColor(0xeb, 0xa3, 0x3d, 0x80);
        QTest::newRow("both sides given")
            << "metronome" << QSize(30, 30) << QSize(30, 30) << QColor(Qt::black);
        QTest::newRow("height only") << "metronome" << QSize(-1, 20) << QSize(20, 20) << QColor(Qt::black);
        QTest::newRow("width only") << "metronome" << QSize(48, 0) << px48 << QColor(Qt::black);
        QTest::newRow("no size asked: natural 24")
            << "metronome" << QSize() << QSize(24, 24) << QColor(Qt::black);
        QTest::newRow("absurd size is capped")
            << "metronome" << QSize(100000, 100000) << QSize(1024, 1024) << QColor(Qt::black);
        QTest::newRow("no such symbol") << "no.such.symbol?color=%23eba33d" << px48 << px48 << QColor();
        QTest::newRow("empty") << "" << px48 << px48 << QColor();
        // Would reach hand.tap.svg if the name were used as a path.
        QTest::newRow("parent folder") << "../icons/hand.tap" << px48 << px48 << QColor();
    }
    void drawsTheNamedSymbolInItsColour()
    {
        QFETCH(QString, id);
        QFETCH(QSize, requested);
        QFETCH(QColor, expected);
        QSize natural;
        const QImage image = IconProvider().requestImage(id, &natural, requested);
        QTEST(image.size(), "size");
        const Ink ink = inkOf(image, expected.isValid() ? expected : QColor(Qt::black));
        QCOMPARE(ink.maxAlpha, expected.isValid() ? expected.alpha() : 0);
        if (expected.isValid()) {
            QCOMPARE(natural, QSize(24, 24));
            QCOMPARE(ink.wrongColour, 0);
            // A glyph, not a speck: at 48 px, a 1.8-unit stroke a few units long is over 60 pixels.
            QVERIFY2(ink.solid * 48 * 48 > 60 * image.width() * image.height(), qPrintable(QString::number(ink.solid)));
            // Each SVG draws on the shared 24 x 24 grid and stays inside it: from 48 px on, where
            // one pixel is at most half a grid unit, ink on the outermost ring means a clipped stroke.
            const QSvgRenderer renderer(IconProvider::svgPath(id.section(QLatin1Char('?'), 0, 0)));
            QCOMPARE(renderer.viewBoxF(), QRectF(0, 0, 24, 24));
            if (image.width() >= 48)
                QCOMPARE(ink.edge, 0);
        }
    }

    // Icon.qml asks for device pixels, draws in its colour, redraws when the colour changes, and
    // draws nothing for an unknown name; none of it prints anything.
    void iconItemDrawsCrispInItsColour()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        // On a white 2x window of its own (see main()), with a fresh engine and image cache.
        QQmlEngine engine;
        auto* provider = new RecordingIconProvider;
        engine.addImportPath(QStringLiteral("qrc:/"));
        engine.addImageProvider(QStringLiteral("icon"), provider);
        QQuickWindow window;
        window.setColor(Qt::white);
        window.resize(64, 64);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.effectiveDevicePixelRatio(), 2.0);
        QQmlComponent component(&engine);
        component.setData("import QtQuick\nimport Morvela\nIcon { name: \"stop.fill\"; color: \"#eba33d\"; size: 15 }",
                          QUrl(QStringLiteral("qrc:/tst_icons.qml")));
        const std::unique_ptr<QQuickItem> icon(qobject_cast<QQuickItem*>(component.create()));
        QVERIFY(icon);
        icon->setParentItem(window.contentItem());
        const auto grab = [&] {
            window.update();
            return window.grabWindow().convertToFormat(QImage::Format_RGB32);
        };
        QCOMPARE(icon->implicitWidth(), 15);
        QTRY_COMPARE(provider->requests().size(), 1);
        QCOMPARE(provider->requests().constFirst(), std::make_pair(QStringLiteral("stop.fill"), QSize(30, 30)));
        const QColor saffron(0xeb, 0xa3, 0x3d), blue(0x3d, 0x7a, 0xeb);
        // The filled square covers 14 of 24 units: about 17 device px a side at 2x.
        QTRY_VERIFY(inkOf(grab(), saffron).solid > 200);

        icon->setProperty("color", blue);
        QTRY_VERIFY(inkOf(grab(), blue).solid > 200);
        QCOMPARE(inkOf(grab(), saffron).solid, 0);

        icon->setProperty("name", QStringLiteral("no.such.symbol"));
        QTRY_COMPARE(provider->requests().constLast().first, QStringLiteral("no.such.symbol"));
        const QImage frame = grab();
        QTRY_COMPARE(inkOf(grab(), Qt::white).solid, frame.width() * frame.height());
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
