#include "DirectSynth.h"
#include "audio/SynthBuffers.h"

#include <QtTest>

#include <cmath>
#include <functional>

using namespace morvela;

using Render = std::function<std::vector<float>()>;
Q_DECLARE_METATYPE(Render)
Q_DECLARE_METATYPE(std::vector<morvela::Partial>)
Q_DECLARE_METATYPE(morvela::TriadQuality)

namespace {

std::vector<Partial> harmonics(double fundamental, int count)
{
    std::vector<Partial> list;
    for (int n = 1; n <= count; ++n)
        list.push_back({fundamental * n, 1.0f / static_cast<float>(n)});
    return list;
}

std::vector<double> triad(double root, TriadQuality quality)
{
    const auto notes = triadFrequencies(root, quality);
    return {notes.begin(), notes.end()};
}

float peak(const std::vector<float>& samples)
{
    float result = 0.0f;
    for (float s : samples)
        result = std::max(result, std::abs(s));
    return result;
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
        const qsizetype chord = kChordFrames;
        const qsizetype tone = kPartialsFrames;
        const qsizetype click = kTickFrames;

        for (auto [name, notes] : std::vector<std::pair<const char*, std::vector<double>>>{
                 {"chord: major triad on 220 Hz", triad(220.0, TriadQuality::major)},
                 {"chord: minor triad on 440 Hz", triad(440.0, TriadQuality::minor)},
                 {"chord: diminished triad on 123.47 Hz", triad(123.47, TriadQuality::diminished)},
                 {"chord: one note", {1000.0}},
                 {"chord: five notes", {110.0, 220.0, 330.0, 440.0, 550.0}},
                 {"chord: no notes", {}},
                 {"chord: above Nyquist folds back", {30000.0, 4186.0}},
                 {"chord: 0 Hz", {0.0}},
             })
            QTest::newRow(name) << Render([notes] { return makeBuffer(notes); })
                                << Render([notes] { return DirectSynth::chord(notes); }) << chord;

        for (auto [name, partials] : std::vector<std::pair<const char*, std::vector<Partial>>>{
                 {"tone: 440 Hz", {{440.0, 1.0f}}},
                 {"tone: sixteen harmonics of 110 Hz", harmonics(110.0, 16)},
                 {"tone: sixteen harmonics of 1 kHz, most above Nyquist", harmonics(1000.0, 16)},
                 {"tone: amplitudes summing to 0.5", {{440.0, 0.25f}, {660.0, 0.25f}}},
                 {"tone: negative amplitude", {{440.0, 2.0f}, {880.0, -0.5f}}},
                 {"tone: no partials", {}},
                 {"tone: 0 Hz", {{0.0, 1.0f}}},
             })
            QTest::newRow(name) << Render([partials] { return makePartialsBuffer(partials); })
                                << Render([partials] { return DirectSynth::partials(partials); }) << tone;

        for (auto [name, frequency, gain] : std::vector<std::tuple<const char*, double, float>>{
                 {"click: pulse 1760 Hz at 0.55", 1760.0, 0.55f},
                 {"click: rest 1175 Hz at 0.16", 1175.0, 0.16f},
                 {"click: 0 Hz", 0.0, 0.55f},
                 {"click: negative gain", 440.0, -1.0f},
             })
            QTest::newRow(name) << Render([=] { return makeTickBuffer(frequency, gain); })
                                << Render([=] { return DirectSynth::tick(frequency, gain); }) << click;
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
        float worst = 0.0f;
        std::size_t worstFrame = 0;
        for (std::size_t i = 0; i < samples.size(); ++i) {
            const float difference = std::abs(samples[i] - expected[i]);
            if (difference > worst) {
                worst = difference;
                worstFrame = i;
            }
        }
        if (worst >= 1e-6f)
            QFAIL(qPrintable(QStringLiteral("frame %1 differs by %2").arg(worstFrame).arg(worst)));
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

    void notesEnterOneAfterAnother()
    {
        const auto notes = triad(220.0, TriadQuality::major);
        const auto root = makeBuffer({notes[0]});
        const auto rootAndThird = makeBuffer({notes[0], notes[1]});
        const auto chord = makeBuffer(notes);
        // The second note is silent for frames 0 to 1,984 (t < 0.045 s), the third up to 0.09 s.
        for (std::size_t i = 0; i <= 1984; ++i)
            QCOMPARE(rootAndThird[i], root[i]);
        QVERIFY(rootAndThird[1985] != root[1985]);
        for (std::size_t i = 0; i <= 3969; ++i)
            QCOMPARE(chord[i], rootAndThird[i]);
        QVERIFY(chord[3970] != rootAndThird[3970]);
    }

    void toneLevel()
    {
        const float level = peak(makePartialsBuffer({{440.0, 1.0f}}));
        QVERIFY2(level > 0.53f && level < 0.55f, qPrintable(QString::number(level)));
    }

    void quietToneIsNotBoosted()
    {
        const auto full = makePartialsBuffer({{440.0, 1.0f}});
        const auto half = makePartialsBuffer({{440.0, 0.5f}});
        for (std::size_t i = 0; i < full.size(); ++i)
            QVERIFY(std::abs(half[i] - 0.5f * full[i]) < 1e-7f);
    }

    void gain_data()
    {
        QTest::addColumn<std::vector<Partial>>("partials");
        QTest::addColumn<float>("expected");
        QTest::newRow("one partial at 1") << std::vector<Partial>{{440.0, 1.0f}} << 0.55f;
        QTest::newRow("sum 0.5 is not boosted")
            << std::vector<Partial>{{440.0, 0.25f}, {660.0, 0.25f}} << 0.55f;
        QTest::newRow("sixteen harmonics at 1/n") << harmonics(110.0, 16) << 0.16269f;
        QTest::newRow("sum 2 is halved") << std::vector<Partial>{{440.0, 1.5f}, {660.0, 0.5f}} << 0.275f;
        QTest::newRow("signs are kept") << std::vector<Partial>{{440.0, 3.0f}, {660.0, -2.5f}} << 0.55f;
        QTest::newRow("negative sum") << std::vector<Partial>{{440.0, -3.0f}} << 0.55f;
        QTest::newRow("empty") << std::vector<Partial>{} << 0.55f;
    }
    void gain()
    {
        QFETCH(std::vector<Partial>, partials);
        QFETCH(float, expected);
        const float gain = partialsGain(partials);
        QVERIFY2(std::abs(gain - expected) < 1e-5f, qPrintable(QString::number(gain, 'f', 6)));
    }
};

QTEST_APPLESS_MAIN(TestSynthBuffers)
#include "tst_synthbuffers.moc"
