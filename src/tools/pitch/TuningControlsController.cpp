#include "tools/pitch/TuningControlsController.h"

#include "tools/pitch/NoteFrequency.h"

using namespace morvela;

namespace {

constexpr double standardPitch = 440.0;

} // namespace

TuningControlsController::TuningControlsController(QObject* parent) : QObject(parent) {}

void TuningControlsController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    if (m_calculator)
        disconnect(m_calculator, nullptr, this, nullptr);
    m_calculator = calculator;
    if (m_calculator)
        connect(m_calculator, &CalculatorState::a4Changed, this, &TuningControlsController::onA4Changed);
    Q_EMIT calculatorChanged();
    onA4Changed();
}

double TuningControlsController::minimum()
{
    return NoteFrequency::a4Minimum;
}

double TuningControlsController::maximum()
{
    return NoteFrequency::a4Maximum;
}

bool TuningControlsController::canStepUp() const
{
    return m_calculator && NoteFrequency::steppedA4(m_calculator->a4(), 1) > m_calculator->a4();
}

bool TuningControlsController::canStepDown() const
{
    return m_calculator && NoteFrequency::steppedA4(m_calculator->a4(), -1) < m_calculator->a4();
}

void TuningControlsController::commitText()
{
    if (!m_calculator)
        return;
    const double committed =
        NoteFrequency::commitA4Text(m_calculator->a4Text().toStdString(), m_calculator->a4());
    if (committed != m_calculator->a4())
        m_calculator->setA4(committed); // which rewrites the text
    else
        syncTextFromValue();
}

void TuningControlsController::syncTextFromValue()
{
    if (m_calculator)
        m_calculator->setA4Text(QString::fromStdString(NoteFrequency::a4Text(m_calculator->a4())));
}

void TuningControlsController::writeSlider(double value)
{
    if (m_calculator)
        m_calculator->setA4(NoteFrequency::sliderA4(value));
}

void TuningControlsController::step(int steps)
{
    if (!m_calculator)
        return;
    const double stepped = NoteFrequency::steppedA4(m_calculator->a4(), steps);
    if (stepped != m_calculator->a4())
        m_calculator->setA4(stepped);
}

void TuningControlsController::reset()
{
    if (!m_calculator)
        return;
    m_calculator->setA4(standardPitch); // which rewrites the text, also when A4 was 440 already
}

void TuningControlsController::onA4Changed()
{
    syncTextFromValue();
    Q_EMIT stepLimitsChanged();
}
