#include "ui/icons/IconProvider.h"

#include <QImage>
#include <QtTest>

namespace {

struct Ink {
    int opaque = 0;      // pixels at the colour's full alpha
    int wrongColour = 0; // opaque pixels of any other colour
    int maxAlpha = 0;
};

Ink inkOf(const QImage& premultiplied, const QColor& expected)
{
    const QImage image = premultiplied.convertToFormat(QImage::Format_ARGB32);
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            ink.maxAlpha = std::max(ink.maxAlpha, qAlpha(pixel));
            if (qAlpha(pixel) != expected.alpha())
                continue;
            ++ink.opaque;
            // Premultiplied storage rounds channels at partial alpha.
            const int tolerance = expected.alpha() == 255 ? 0 : 2;
            if (std::abs(qRed(pixel) - expected.red()) > tolerance ||
                std::abs(qGreen(pixel) - expected.green()) > tolerance ||
                std::abs(qBlue(pixel) - expected.blue()) > tolerance)
                ++ink.wrongColour;
        }
    }
    return ink;
}

} // namespace

class TestIconProvider : public QObject {
    Q_OBJECT

  private Q_SLOTS:
    void imageHasTheRequestedSize_data();
    void imageHasTheRequestedSize();
    void imageIsTinted_data();
    void imageIsTinted();
    void unknownNameGivesATransparentImage_data();
    void unknownNameGivesATransparentImage();

  private:
    IconProvider m_provider;
};

void TestIconProvider::imageHasTheRequestedSize_data()
{
    QTest::addColumn<QSize>("requested");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("15 pt at 1x") << QSize(15, 15) << QSize(15, 15);
    QTest::newRow("15 pt at 2x") << QSize(30, 30) << QSize(30, 30);
    QTest::newRow("width only") << QSize(48, 0) << QSize(48, 48);
    QTest::newRow("height only") << QSize(-1, 20) << QSize(20, 20);
    QTest::newRow("no size asked: natural 24") << QSize() << QSize(24, 24);
    QTest::newRow("absurd size is capped") << QSize(100000, 100000) << QSize(1024, 1024);
}

void TestIconProvider::imageHasTheRequestedSize()
{
    QFETCH(QSize, requested);
    QFETCH(QSize, expected);
    QSize natural;
    const QImage image = m_provider.requestImage(QStringLiteral("metronome"), &natural, requested);
    QCOMPARE(image.size(), expected);
    QCOMPARE(natural, QSize(24, 24));
    QVERIFY(inkOf(image, Qt::black).opaque > 0);
}

void TestIconProvider::imageIsTinted_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QColor>("expected");
    const QColor saffron(0xeb, 0xa3, 0x3d);
    QTest::newRow("percent-encoded #") << "hand.tap?color=%23eba33d" << saffron;
    QTest::newRow("literal #") << "hand.tap?color=#eba33d" << saffron;
    QTest::newRow("bare hex") << "hand.tap?color=EBA33D" << saffron;
    QTest::newRow("colour name") << "play.fill?color=teal" << QColor(Qt::darkCyan);
    QTest::newRow("with alpha (#aarrggbb)")
        << "stop.fill?color=%2380eba33d" << QColor(0xeb, 0xa3, 0x3d, 0x80);
    QTest::newRow("no colour: black") << "tuningfork" << QColor(Qt::black);
    QTest::newRow("unreadable colour: black") << "tuningfork?color=%23zz" << QColor(Qt::black);
}

void TestIconProvider::imageIsTinted()
{
    QFETCH(QString, id);
    QFETCH(QColor, expected);
    const QImage image = m_provider.requestImage(id, nullptr, QSize(48, 48));
    const Ink ink = inkOf(image, expected);
    QVERIFY2(ink.opaque > 50, qPrintable(QString::number(ink.opaque)));
    QCOMPARE(ink.wrongColour, 0);
    QCOMPARE(ink.maxAlpha, expected.alpha());
}

void TestIconProvider::unknownNameGivesATransparentImage_data()
{
    QTest::addColumn<QString>("id");
    QTest::newRow("no such symbol") << "no.such.symbol?color=%23eba33d";
    QTest::newRow("empty") << "";
    QTest::newRow("only a query") << "?color=%23eba33d";
    QTest::newRow("a symbol's prefix") << "hand";
    QTest::newRow("upper case") << "HAND.TAP";
    QTest::newRow("parent folder") << "../icons/hand.tap";
    QTest::newRow("other resource") << "../../app/Main.qml";
    QTest::newRow("absolute resource path") << ":/Morvela/ui/icons/hand.tap";
    QTest::newRow("doubled dot") << "hand..tap";
    QTest::newRow("trailing dot") << "hand.tap.";
}

void TestIconProvider::unknownNameGivesATransparentImage()
{
    QFETCH(QString, id);
    QSize natural;
    const QImage image = m_provider.requestImage(id, &natural, QSize(30, 30));
    QCOMPARE(image.size(), QSize(30, 30));
    QCOMPARE(inkOf(image, Qt::black).maxAlpha, 0);
}

QTEST_MAIN(TestIconProvider)
#include "tst_iconprovider.moc"
