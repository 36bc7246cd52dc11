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
};

QTEST_GUILESS_MAIN(TestToolCatalogue)
#include "tst_toolcatalogue.moc"
