#include "common/NumberText.h"

#include <QtTest>

#include <cmath>

using namespace morvela;

// Runs under LC_ALL=C and LC_ALL=de_DE.UTF-8; QCoreApplication has applied that locale to
// the C library before the first test function, as it does in the application.
class TestNumberText : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The German run is only worth something if the C library really uses a decimal comma.
    void initTestCase()
    {
        if (qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("de_DE"))) {
            char text[16];
            std::snprintf(text, sizeof text, "%.1f", 1.5);
            QCOMPARE(QByteArray(text), QByteArray("1,5"));
        }
    }

    void formatFixed_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("expected");
        QTest::newRow("halfway to even, 1 decimal") << 31.25 << 1 << "31.2";
        QTest::newRow("halfway to even, 2 decimals") << 15.625 << 2 << "15.62";
        QTest::newRow("binary just below half") << 2.675 << 2 << "2.67";
        QTest::newRow("rounds up") << 23.4375 << 2 << "23.44";
        QTest::newRow("no decimals") << 120.0 << 0 << "120";
        QTest::newRow("no decimals, 2.5") << 2.5 << 0 << "2";
        QTest::newRow("point, not comma") << 1333.3333333333333 << 2 << "1333.33";
        QTest::newRow("negative") << -1.5 << 1 << "-1.5";
        QTest::newRow("negative zero") << -0.0 << 0 << "-0";
        QTest::newRow("large") << 1e20 << 0 << "100000000000000000000";
    }
    void formatFixed()
    {
        QFETCH(double, value);
        QFETCH(int, decimals);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(morvela::formatFixed(value, decimals)), expected);
    }

    void parseAccepted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("integer") << "128" << 128.0;
        QTest::newRow("comma") << "128,5" << 128.5;
        QTest::newRow("point") << "128.5" << 128.5;
        QTest::newRow("exponent") << "1e2" << 100.0;
        QTest::newRow("comma and exponent") << "1,5e2" << 150.0;
        QTest::newRow("hexadecimal float") << "0x1.8p1" << 3.0;
        QTest::newRow("hexadecimal integer") << "0x10" << 16.0;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("minus sign") << "-20" << -20.0;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("trailing point") << "5." << 5.0;
        QTest::newRow("underflow is zero") << "1e-400" << 0.0;
    }
    void parseAccepted()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        const auto parsed = parseTypedNumber(text.toStdString());
        QVERIFY(parsed.has_value());
        QCOMPARE(*parsed, expected);
    }

    void parseRejected_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray("");
        QTest::newRow("leading space") << QByteArray(" 5");
        QTest::newRow("leading tab") << QByteArray("\t5");
        QTest::newRow("trailing space") << QByteArray("5 ");
        QTest::newRow("two commas") << QByteArray("1,2,3");
        QTest::newRow("letters") << QByteArray("abc");
        QTest::newRow("unit after number") << QByteArray("120bpm");
        QTest::newRow("infinity") << QByteArray("inf");
        QTest::newRow("infinity spelled out") << QByteArray("-Infinity");
        QTest::newRow("nan") << QByteArray("nan");
        QTest::newRow("overflowing exponent") << QByteArray("1e999");
        QTest::newRow("sign only") << QByteArray("-");
        QTest::newRow("bare hex prefix") << QByteArray("0x");
        QTest::newRow("embedded NUL") << QByteArray("5\0"
                                                    "1",
                                                    3);
        QTest::newRow("leading NUL") << QByteArray("\0"
                                                   "5",
                                                   2);
    }
    void parseRejected()
    {
        QFETCH(QByteArray, text);
        QVERIFY(!parseTypedNumber(std::string_view(text.constData(), size_t(text.size()))).has_value());
    }
};

QTEST_GUILESS_MAIN(TestNumberText)
#include "tst_numbertext.moc"
