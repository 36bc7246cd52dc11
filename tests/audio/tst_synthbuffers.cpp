#include "DirectSynth.h"
#include "audio/SynthBuffers.h"

#include <QtTest>

#include <functional>

using namespace morvela;

using Render = std::function<std::vector<float>()>;
Q_DECLARE_METATYPE(Render)
Q_DECLARE_METATYPE(morvela::TriadQuality)

namespace {

std::vector<Partial> harmonics(double fundamental, int count)
{
    std::vector<Partial> list;
    for (int n = 1; n <= count; ++n)
        list.push_back({fundamental * n, 1.0f / static_cast<float>(n)});
    return list;
}

} // namespace

class TestSynthBuffers : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void matchesFormula_data()
    {
        QTest::addColumn<Render>("fast");
        QTest::addColumn<Render>("direct");
        QTest::addColumn<qsizetype>("frames");
        const auto major = triadFrequencies(220.0, TriadQuality::major);
        for (auto [name, notes] : std::vector<std::pair<const char*, std::vector<double>>>{
                 {"chord: major triad on 220 Hz", {major.begin(), major.end()}},
                 {"chord: five notes", {110.0, 220.0, 330.0, 440.0, 550.0}},
                 {"chord: above Nyquist folds back", {30000.0, 4186.0}},
             })
            QTest::newRow(name) << Render([notes] { return makeBuffer(notes); })
                                << Render([notes] { return DirectSynth::chord(notes); })
                                << qsizetype(kChordFrames);
        for (auto [name, partials] : std::vector<std::pair<const char*, std::vector<Partial>>>{
                 {"tone: 440 Hz", {{440.0, 1.0f}}},
                 {"tone: sixteen harmonics of 110 Hz", harmonics(110.0, 16)},
                 {"tone: amplitudes summing to 0.5 are not boosted", {{440.0, 0.25f}, {660.0, 0.25f}}},
                 {"tone: negative amplitude", {{440.0, 2.0f}, {880.0, -0.5f}}},
             })
            QTest::newRow(name) << Render([partials] { return makePartialsBuffer(partials); })
                                << Render([partials] { return DirectSynth::partials(partials); })
                                << qsizetype(kPartialsFrames);
        for (auto [name, frequency, gain] : std::vector<std::tuple<const char*, double, float>>{
                 {"click: pulse 1760 Hz at 0.55", 1760.0, 0.55f},
                 {"click: rest 1175 Hz at 0.16", 1175.0, 0.16f},
             })
            QTest::newRow(name) << Render([=] { return makeTickBuffer(frequency, gain); })
                                << Render([=] { return DirectSynth::tick(frequency, gain); })
                                << qsizetype(kTickFrames);
    }
    void matchesFormula()
    {
        QFETCH(Render, fast);
        QFETCH(Render, direct);
        QFETCH(qsizetype, frames);
        const auto samples = fast();
        const auto expected = direct();
        QCOMPARE(qsizetype(samples.size()), frames);
        QCOMPARE(samples.front(), 0.0f);
        std::size_t worst = 0;
        for (std::size_t i = 1; i < samples.size(); ++i)
            if (std::abs(samples[i] - expected[i]) > std::abs(samples[worst] - expected[worst]))
                worst = i;
        QVERIFY2(
            std::abs(samples[worst] - expected[worst]) < 1e-6f,
            qPrintable(QString("frame %1: %2, not %3").arg(worst).arg(samples[worst]).arg(expected[worst])));
    }

    void triadNotes_data()
    {
        QTest::addColumn<TriadQuality>("quality");
        QTest::addColumn<double>("third");
        QTest::addColumn<double>("fifth");
        QTest::newRow("major") << TriadQuality::major << 277.1826 << 329.6276;
        QTest::newRow("minor") << TriadQuality::minor << 261.6256 << 329.6276;
        QTest::newRow("diminished") << TriadQuality::diminished << 261.6256 << 311.1270;
    }
    void triadNotes()
    {
        QFETCH(TriadQuality, quality);
        QFETCH(double, third);
        QFETCH(double, fifth);
        const auto notes = triadFrequencies(220.0, quality);
        QCOMPARE(notes[0], 220.0);
        QVERIFY2(std::abs(notes[1] - third) < 1e-4, qPrintable(QString::number(notes[1], 'f', 6)));
        QVERIFY2(std::abs(notes[2] - fifth) < 1e-4, qPrintable(QString::number(notes[2], 'f', 6)));
    }
};

QTEST_APPLESS_MAIN(TestSynthBuffers)
#include "tst_synthbuffers.moc"
