#include "app/ToolCatalogue.h"

#include <QtTest>

using namespace morvela;
using namespace morvela::ToolCatalogue;

namespace {
QString qs(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
} // namespace

class TestToolCatalogue : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each tool in sidebar order as "raw id | title | subtitle | symbol | tint".
    void catalogue()
    {
        QStringList rows;
        for (const CalculatorTool tool : allCases()) {
            rows.append(QStringList{qs(rawValue(tool)), qs(title(tool)), qs(subtitle(tool)), qs(symbol(tool)),
                                    qs(tint(tool))}
                            .join(" | "));
            QCOMPARE(toolFromRawValue(rawValue(tool)), std::optional(tool));
        }
        QCOMPARE(rows,
                 (QStringList{"bpm | Tempo | BPM, ms, Hz | metronome | saffron",
                              "rhythm | Rhythm | Euclidean patterns | circle.dotted | fern",
                              "space | Space | Reverb & delay times | water.waves | dusk",
                              "frequency | Pitch | Notes, octaves, tuning | pianokeys | teal",
                              "temperament | Temperament | N-TET experiments | dial.medium | lake",
                              "overtones | Overtones | Harmonic series | waveform.path | copper",
                              "harmony | Harmony | Circle of fifths | smallcircle.filled.circle | lacquer"}));
    }

    void summary_data()
    {
        QTest::addColumn<double>("a4");
        QTest::addColumn<double>("bpm");
        QTest::addColumn<QString>("expected");
        QTest::newRow("initial") << 440.0 << 120.0 << "A4 = 440 Hz\n120 BPM = 500 ms";
        QTest::newRow("fractional A4") << 442.5 << 120.0 << "A4 = 442.5 Hz\n120 BPM = 500 ms";
        QTest::newRow("128 BPM") << 440.0 << 128.0 << "A4 = 440 Hz\n128 BPM = 468.8 ms";
        QTest::newRow("90 BPM") << 440.0 << 90.0 << "A4 = 440 Hz\n90 BPM = 666.7 ms";
        QTest::newRow("fractional tempo") << 440.0 << 128.5 << "A4 = 440 Hz\n128.5 BPM = 466.9 ms";
        QTest::newRow("tempo below 1 divides by 1") << 440.0 << 0.5 << "A4 = 440 Hz\n0.5 BPM = 60000 ms";
    }
    void summary()
    {
        QFETCH(double, a4);
        QFETCH(double, bpm);
        QTEST(QString::fromStdString(sidebarSummary(a4, bpm)), "expected");
    }
};

QTEST_GUILESS_MAIN(TestToolCatalogue)
#include "tst_toolcatalogue.moc"
