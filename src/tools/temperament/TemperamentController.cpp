#include "tools/temperament/TemperamentController.h"

#include "common/NumberText.h"
#include "platform/Services.h"

#include <algorithm>
#include <cmath>

using namespace morvela;

TemperamentController::TemperamentController(QObject* parent) : QObject(parent) {}

TemperamentController::~TemperamentController()
{
    leave();
}

void TemperamentController::leave()
{
    commitReferenceText();
    stopPlayback();
}

void TemperamentController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    if (m_calculator) {
        disconnect(m_calculator, nullptr, this, nullptr);
        stopPlayback();
    }
    m_calculator = calculator;
    if (m_calculator) {
        for (auto changed : {&CalculatorState::tetDivisionsChanged, &CalculatorState::tetReferenceChanged,
                             &CalculatorState::a4Changed})
            connect(m_calculator, changed, this, &TemperamentController::rebuild);
        connect(m_calculator, &CalculatorState::tetStepChanged, this, &TemperamentController::onStepChanged);
    }
    Q_EMIT calculatorChanged();
    rebuild();
    onStepChanged();
}

std::int64_t TemperamentController::divisionCount() const
{
    return m_calculator ? std::clamp<std::int64_t>(m_calculator->tetDivisions(), tetDivisionsMinimum,
                                                   tetDivisionsMaximum)
                        : tetDivisionsMinimum;
}

QString TemperamentController::stepCents() const
{
    return m_calculator
               ? QString::fromStdString(formatFixed(1200.0 / static_cast<double>(divisionCount()), 1))
               : QString();
}

QString TemperamentController::stepRatio() const
{
    return m_calculator
               ? QString::fromStdString(formatFixed(std::exp2(1.0 / static_cast<double>(divisionCount())), 5))
               : QString();
}

bool TemperamentController::canStepReferenceUp() const
{
    return m_calculator && m_calculator->tetReference() < tetReferenceMaximum;
}

bool TemperamentController::canStepReferenceDown() const
{
    return m_calculator && m_calculator->tetReference() > tetReferenceMinimum;
}

bool TemperamentController::canStepDivisionsUp() const
{
    return m_calculator && divisionCount() < tetDivisionsMaximum;
}

bool TemperamentController::canStepDivisionsDown() const
{
    return m_calculator && divisionCount() > tetDivisionsMinimum;
}

QStringList TemperamentController::presetLabels()
{
    QStringList labels;
    for (const TetPreset& preset : tetPresets())
        labels.append(QString::fromStdString(preset.label));
    return labels;
}

void TemperamentController::commitReferenceText()
{
    if (!m_calculator)
        return;
    const double committed = morvela::commitReferenceText(m_calculator->tetReferenceText().toStdString(),
                                                          m_calculator->tetReference());
    if (committed != m_calculator->tetReference())
        m_calculator->setTetReference(committed);
    syncReferenceText();
}

void TemperamentController::syncReferenceText()
{
    if (m_calculator)
        m_calculator->setTetReferenceText(
            QString::fromStdString(referenceText(m_calculator->tetReference())));
}

void TemperamentController::stepReference(int steps)
{
    if (!m_calculator)
        return;
    const double stepped =
        steppedReference(m_calculator->tetReferenceText().toStdString(), m_calculator->tetReference(), steps);
    if (stepped != m_calculator->tetReference())
        m_calculator->setTetReference(stepped);
    syncReferenceText();
}

void TemperamentController::stepDivisions(int steps)
{
    if (m_calculator)
        setDivisions(
            std::clamp<std::int64_t>(divisionCount() + steps, tetDivisionsMinimum, tetDivisionsMaximum));
}

void TemperamentController::choosePreset(int index)
{
    const std::vector<TetPreset>& presets = tetPresets();
    if (index >= 0 && static_cast<std::size_t>(index) < presets.size())
        setDivisions(presets[static_cast<std::size_t>(index)].divisions);
}

void TemperamentController::setDivisions(std::int64_t divisions)
{
    if (!m_calculator)
        return;
    const bool wasPlaying = m_calculator->tetPlaying();
    stopPlayback();
    m_calculator->setTetDivisions(divisions);
    if (wasPlaying)
        startPlayback();
}

void TemperamentController::togglePlayback()
{
    if (m_calculator && m_calculator->tetPlaying())
        stopPlayback();
    else
        startPlayback();
}

void TemperamentController::startPlayback()
{
    if (!m_calculator || m_playTimer)
        return;
    m_calculator->setTetPlaying(true);
    m_calculator->setTetStep(qint64(0));
    // Step 0 sounds at the instant the clock counts from, so the first interval is as exact as
    // the others.
    m_playTimer = Services::timers().makeRepeatingTimer();
    const double start = m_playTimer->start(std::chrono::duration<double>(stepSeconds),
                                            [this](double dueAt) { advancePlayback(dueAt); });
    sound(0, start);
}

void TemperamentController::advancePlayback(double dueAt)
{
    if (!m_calculator)
        return;
    const QVariant current = m_calculator->tetStep();
    const qint64 next = (current.isValid() ? current.toLongLong() : 0) + 1;
    if (next <= divisionCount()) {
        m_calculator->setTetStep(next);
        sound(static_cast<int>(next), dueAt);
    } else {
        stopPlayback();
    }
}

void TemperamentController::stopPlayback()
{
    if (m_playTimer) {
        m_playTimer->invalidate();
        m_playTimer.reset();
    }
    if (m_calculator) {
        m_calculator->setTetPlaying(false);
        m_calculator->setTetStep({});
    }
}

void TemperamentController::playStep(int index)
{
    sound(index, {});
}

void TemperamentController::sound(int index, SoundOutput::Instant at)
{
    if (!m_calculator || index < 0)
        return;
    // Recomputed here, so that a tick after a change of the reference or A4 sounds the new pitch.
    const std::vector<TetStep> steps =
        tetScale(m_calculator->tetReference(), m_calculator->tetDivisions(), m_calculator->a4());
    if (static_cast<std::size_t>(index) < steps.size())
        Sound::output().playTone(steps[static_cast<std::size_t>(index)].frequency, at);
}

void TemperamentController::rebuild()
{
    if (m_calculator)
        m_steps.setSteps(
            tetScale(m_calculator->tetReference(), m_calculator->tetDivisions(), m_calculator->a4()));
    else
        m_steps.setSteps({});
    onStepChanged();
    Q_EMIT valuesChanged();
}

void TemperamentController::onStepChanged()
{
    const QVariant step = m_calculator ? m_calculator->tetStep() : QVariant();
    m_steps.setSounding(step.isValid() ? std::optional<int>(step.toInt()) : std::nullopt);
}
