#include "tools/rhythm/EuclideanRhythmController.h"

#include "common/NumberText.h"
#include "platform/Services.h"
#include "tools/rhythm/Euclid.h"

#include <algorithm>
#include <cmath>

using namespace morvela;

namespace {

// The click of a hit and of a rest.
constexpr double hitFrequency = 1760.0;
constexpr float hitGain = 0.55f;
constexpr double restFrequency = 1175.0;
constexpr float restGain = 0.16f;

// A stepper click: the value moved by `delta` into lo ... hi, or left as it is when that would
// not move it the way the click goes (a value already beyond the end it goes towards).
qint64 stepped(qint64 value, int delta, qint64 lo, qint64 hi)
{
    const qint64 moved = std::clamp(value + delta, lo, hi);
    return (delta > 0 ? moved > value : moved < value) ? moved : value;
}

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

} // namespace

EuclideanRhythmController::EuclideanRhythmController(QObject* parent) : QObject(parent) {}

EuclideanRhythmController::~EuclideanRhythmController()
{
    if (m_playTimer && m_playTimer->isActive())
        stop();
}

void EuclideanRhythmController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    if (m_calculator) {
        if (m_playTimer && m_playTimer->isActive())
            stop();
        disconnect(m_calculator, nullptr, this, nullptr);
    }
    m_calculator = calculator;
    if (m_calculator) {
        for (auto field : {&CalculatorState::euclidStepsChanged, &CalculatorState::euclidPulsesChanged,
                           &CalculatorState::euclidRotationChanged})
            connect(m_calculator, field, this, &EuclideanRhythmController::onPatternFieldChanged);
        for (auto field : {&CalculatorState::bpmChanged, &CalculatorState::euclidNoteChanged,
                           &CalculatorState::euclidStepsChanged})
            connect(m_calculator, field, this, &EuclideanRhythmController::timingChanged);
        connect(m_calculator, &CalculatorState::euclidPlayingChanged, this, [this] {
            Q_EMIT playingChanged();
            Q_EMIT playbackEnabledChanged();
        });
        connect(m_calculator, &CalculatorState::euclidStepChanged, this,
                &EuclideanRhythmController::currentStepChanged);
    }
    Q_EMIT calculatorChanged();
    onPatternFieldChanged();
    Q_EMIT timingChanged();
    Q_EMIT playingChanged();
    Q_EMIT currentStepChanged();
}

void EuclideanRhythmController::onPatternFieldChanged()
{
    Q_EMIT patternChanged();
    Q_EMIT countersChanged();
    Q_EMIT playbackEnabledChanged();
}

qint64 EuclideanRhythmController::steps() const
{
    return m_calculator ? m_calculator->euclidSteps() : 0;
}

qint64 EuclideanRhythmController::pulses() const
{
    return m_calculator ? m_calculator->euclidPulses() : 0;
}

qint64 EuclideanRhythmController::rotation() const
{
    return m_calculator ? m_calculator->euclidRotation() : 0;
}

qint64 EuclideanRhythmController::note() const
{
    return m_calculator ? m_calculator->euclidNote() : 16;
}

double EuclideanRhythmController::stepMilliseconds() const
{
    return Euclid::stepMilliseconds(m_calculator ? m_calculator->bpm() : 120.0, note());
}

std::vector<bool> EuclideanRhythmController::currentPattern() const
{
    return Euclid::pattern(pulses(), steps(), rotation());
}

QVariantList EuclideanRhythmController::pattern() const
{
    QVariantList list;
    for (const bool hit : currentPattern())
        list.append(hit);
    return list;
}

QString EuclideanRhythmController::patternName() const
{
    return QStringLiteral("E(%1,%2)").arg(pulses()).arg(steps());
}

QString EuclideanRhythmController::patternSummary() const
{
    QString cycle;
    for (const bool hit : currentPattern())
        cycle.append(hit ? u'x' : u'.');
    return patternName() + QStringLiteral(": ") + cycle;
}

QString EuclideanRhythmController::stepLabel() const
{
    return QStringLiteral("Step 1/%1").arg(note());
}

QString EuclideanRhythmController::stepText() const
{
    return stepCopy() + QStringLiteral(" ms");
}

QString EuclideanRhythmController::stepCopy() const
{
    return text(formatFixed(stepMilliseconds(), 1));
}

QString EuclideanRhythmController::cycleText() const
{
    return cycleCopy() + QStringLiteral(" ms");
}

QString EuclideanRhythmController::cycleCopy() const
{
    return text(formatFixed(stepMilliseconds() * static_cast<double>(steps()), 0));
}

QString EuclideanRhythmController::wheelSubtitle() const
{
    return QStringLiteral("1/%1 · ").arg(note()) + stepText();
}

QString EuclideanRhythmController::tempoCaption() const
{
    const double bpm = m_calculator ? m_calculator->bpm() : 0.0;
    const qint64 whole = std::isfinite(bpm) ? static_cast<qint64>(std::trunc(bpm)) : 0;
    return QStringLiteral("%1 BPM from the Tempo tab").arg(whole);
}

QStringList EuclideanRhythmController::presetLabels()
{
    QStringList labels;
    for (const auto& preset : Euclid::presets())
        labels.append(text(preset.label));
    return labels;
}

bool EuclideanRhythmController::playing() const
{
    return m_calculator && m_calculator->euclidPlaying();
}

int EuclideanRhythmController::currentStep() const
{
    const QVariant step = m_calculator ? m_calculator->euclidStep() : QVariant();
    return step.isValid() ? static_cast<int>(step.toLongLong()) : -1;
}

bool EuclideanRhythmController::canTogglePlayback() const
{
    return pulses() > 0 && steps() >= Euclid::minimumSteps;
}

qint64 EuclideanRhythmController::steppedSteps(int delta) const
{
    return stepped(steps(), delta, Euclid::minimumSteps, Euclid::maximumSteps);
}

qint64 EuclideanRhythmController::steppedPulses(int delta) const
{
    return stepped(pulses(), delta, 0, steps());
}

qint64 EuclideanRhythmController::steppedRotation(int delta) const
{
    return stepped(rotation(), delta, 0, maximumRotation());
}

void EuclideanRhythmController::setSteps(qint64 value)
{
    m_calculator->setEuclidSteps(value);
    m_calculator->setEuclidPulses(Euclid::clampedPulses(value, m_calculator->euclidPulses()));
    m_calculator->setEuclidRotation(Euclid::clampedRotation(value, m_calculator->euclidRotation()));
}

void EuclideanRhythmController::stepSteps(int delta)
{
    if (m_calculator && steppedSteps(delta) != steps())
        setSteps(steppedSteps(delta));
}

void EuclideanRhythmController::stepPulses(int delta)
{
    if (m_calculator && steppedPulses(delta) != pulses())
        m_calculator->setEuclidPulses(steppedPulses(delta));
}

void EuclideanRhythmController::stepRotation(int delta)
{
    if (m_calculator && steppedRotation(delta) != rotation())
        m_calculator->setEuclidRotation(steppedRotation(delta));
}

void EuclideanRhythmController::chooseNote(qint64 value)
{
    if (!m_calculator || (value != 4 && value != 8 && value != 16) || value == note())
        return;
    m_calculator->setEuclidNote(value);
    if (playing()) {
        stop();
        startPlayback();
    }
}

void EuclideanRhythmController::applyPreset(int index)
{
    const auto& presets = Euclid::presets();
    if (!m_calculator || index < 0 || index >= static_cast<int>(presets.size()))
        return;
    const Euclid::Preset& preset = presets[static_cast<std::size_t>(index)];
    const bool newSteps = preset.steps != steps();
    m_calculator->setEuclidSteps(preset.steps);
    m_calculator->setEuclidPulses(preset.pulses);
    m_calculator->setEuclidRotation(0);
    if (newSteps)
        setSteps(preset.steps);
}

void EuclideanRhythmController::tick(qint64 step)
{
    tick(step, std::nullopt);
}

void EuclideanRhythmController::tick(qint64 step, SoundOutput::Instant at)
{
    const std::vector<bool> cycle = currentPattern();
    if (step < 0 || step >= static_cast<qint64>(cycle.size()))
        return;
    if (cycle[static_cast<std::size_t>(step)])
        Sound::output().playTick(hitFrequency, hitGain, at);
    else
        Sound::output().playTick(restFrequency, restGain, at);
}

void EuclideanRhythmController::startPlayback()
{
    if (!m_calculator || steps() < Euclid::minimumSteps || (m_playTimer && m_playTimer->isActive()))
        return;
    const double period = stepMilliseconds() / 1000.0;
    if (!(period > 0.0) || !std::isfinite(period))
        return;
    m_calculator->setEuclidPlaying(true);
    m_calculator->setEuclidStep(qint64(0));
    if (!m_playTimer)
        m_playTimer = Services::timers().makeRepeatingTimer();
    const double start = m_playTimer->start(std::chrono::duration<double>(period),
                                            [this](double dueAt) { advancePlayback(dueAt); });
    // Step 0 sounds at the instant the clock counts from, so the first interval is a period like
    // the others.
    tick(0, start);
}

void EuclideanRhythmController::advancePlayback(double dueAt)
{
    if (!m_calculator)
        return;
    const qint64 count = steps();
    if (count < Euclid::minimumSteps) {
        stop();
        return;
    }
    const QVariant current = m_calculator->euclidStep();
    const qint64 previous = current.isValid() ? current.toLongLong() : -1;
    const qint64 next = ((previous + 1) % count + count) % count;
    m_calculator->setEuclidStep(next);
    tick(next, dueAt);
}

void EuclideanRhythmController::stop()
{
    if (m_playTimer)
        m_playTimer->invalidate();
    if (!m_calculator)
        return;
    m_calculator->setEuclidPlaying(false);
    m_calculator->setEuclidStep(QVariant());
}

void EuclideanRhythmController::togglePlayback()
{
    if (!canTogglePlayback())
        return;
    if (playing())
        stop();
    else
        startPlayback();
}
