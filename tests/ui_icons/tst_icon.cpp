#include "ui/icons/IconProvider.h"

#include <QGuiApplication>
#include <QMutex>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QUrlQuery>
#include <QtQml/QQmlExtensionPlugin>
#include <QtTest>

#include <memory>

Q_IMPORT_QML_PLUGIN(MorvelaPlugin)

namespace {

// The real provider, noting what QML asks it for.
class RecordingIconProvider : public IconProvider {
  public:
    struct Request {
        QString name;
        QString color;
        QSize size;
    };

    QImage requestImage(const QString& id, QSize* size, const QSize& requestedSize) override
    {
        const qsizetype query = id.indexOf(QLatin1Char('?'));
        const QString color =
            QUrlQuery(id.mid(query + 1)).queryItemValue(QStringLiteral("color"), QUrl::FullyDecoded);
        {
            QMutexLocker lock(&m_mutex);
            m_requests.append({id.left(query), color, requestedSize});
        }
        return IconProvider::requestImage(id, size, requestedSize);
    }

    QList<Request> requests()
    {
        QMutexLocker lock(&m_mutex);
        return m_requests;
    }

  private:
    QMutex m_mutex;
    QList<Request> m_requests;
};

int countPixels(const QImage& image, QRgb rgb)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += (image.pixel(x, y) & 0xffffff) == (rgb & 0xffffff) ? 1 : 0;
    }
    return count;
}

} // namespace

// Icon.qml on a window at device pixel ratio 2 (set in main() below).
class TestIcon : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void init();
    void cleanup();
    void requestsDevicePixels_data();
    void requestsDevicePixels();
    void drawsInItsColourAndFollowsIt();
    void unknownNameDrawsNothingQuietly();
    void emptyNameAsksForNothing();

  private:
    QQuickItem* load(const QByteArray& qml);
    QImage grab();

    RecordingIconProvider* m_provider = nullptr;
    std::unique_ptr<QQmlEngine> m_engine;
    std::unique_ptr<QQuickWindow> m_window;
    std::unique_ptr<QQuickItem> m_item;
};

void TestIcon::init()
{
    m_engine = std::make_unique<QQmlEngine>();
    m_engine->addImportPath(QStringLiteral("qrc:/"));
    m_provider = new RecordingIconProvider;
    m_engine->addImageProvider(QStringLiteral("icon"), m_provider);
    m_window = std::make_unique<QQuickWindow>();
    m_window->setColor(Qt::white);
    m_window->resize(64, 64);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QCOMPARE(m_window->effectiveDevicePixelRatio(), 2.0);
}

void TestIcon::cleanup()
{
    m_item.reset();
    m_window.reset();
    m_engine.reset();
}

QQuickItem* TestIcon::load(const QByteArray& qml)
{
    QQmlComponent component(m_engine.get());
    component.setData("import QtQuick\nimport Morvela\n" + qml, QUrl(QStringLiteral("qrc:/tst_icon.qml")));
    m_item.reset(qobject_cast<QQuickItem*>(component.create()));
    if (!m_item)
        qWarning() << component.errors();
    else
        m_item->setParentItem(m_window->contentItem());
    return m_item.get();
}

QImage TestIcon::grab()
{
    m_window->update();
    return m_window->grabWindow().convertToFormat(QImage::Format_RGB32);
}

void TestIcon::requestsDevicePixels_data()
{
    QTest::addColumn<int>("size");
    QTest::newRow("sidebar 15") << 15;
    QTest::newRow("panel 22") << 22;
    QTest::newRow("toolbar 24") << 24;
}

void TestIcon::requestsDevicePixels()
{
    QFETCH(int, size);
    QQuickItem* icon = load("Icon { name: \"hand.tap\"; size: " + QByteArray::number(size) + " }");
    QVERIFY(icon);
    QCOMPARE(icon->implicitWidth(), size);
    QCOMPARE(icon->implicitHeight(), size);
    QTRY_COMPARE(m_provider->requests().size(), 1);
    const RecordingIconProvider::Request request = m_provider->requests().constFirst();
    QCOMPARE(request.name, QStringLiteral("hand.tap"));
    QCOMPARE(request.size, QSize(2 * size, 2 * size));
}

void TestIcon::drawsInItsColourAndFollowsIt()
{
    QQuickItem* icon = load("Icon { name: \"stop.fill\"; color: \"#eba33d\"; size: 24 }");
    QVERIFY(icon);
    QTRY_COMPARE(m_provider->requests().size(), 1);
    QCOMPARE(m_provider->requests().constLast().color, QStringLiteral("#eba33d"));
    // The filled square covers 14 of 24 units: (28 device px)^2 at 2x, minus rounded corners.
    QTRY_VERIFY(countPixels(grab(), qRgb(0xeb, 0xa3, 0x3d)) > 600);

    icon->setProperty("color", QColor(0x3d, 0x7a, 0xeb));
    QTRY_COMPARE(m_provider->requests().size(), 2);
    QCOMPARE(m_provider->requests().constLast().color, QStringLiteral("#3d7aeb"));
    QTRY_VERIFY(countPixels(grab(), qRgb(0x3d, 0x7a, 0xeb)) > 600);
    QCOMPARE(countPixels(grab(), qRgb(0xeb, 0xa3, 0x3d)), 0);
}

void TestIcon::unknownNameDrawsNothingQuietly()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    QQuickItem* icon = load("Icon { name: \"no.such.symbol\"; color: \"#eba33d\"; size: 24 }");
    QVERIFY(icon);
    QTRY_COMPARE(m_provider->requests().size(), 1);
    const QImage frame = grab();
    QCOMPARE(countPixels(frame, qRgb(255, 255, 255)), frame.width() * frame.height());
}

void TestIcon::emptyNameAsksForNothing()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    QVERIFY(load("Icon { size: 24 }"));
    QCOMPARE(countPixels(grab(), qRgb(255, 255, 255)), 128 * 128);
    QVERIFY(m_provider->requests().isEmpty());
}

int main(int argc, char** argv)
{
    // Every window of this test is a 2x (HiDPI) window.
    qputenv("QT_SCALE_FACTOR", "2");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    TestIcon test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_icon.moc"
