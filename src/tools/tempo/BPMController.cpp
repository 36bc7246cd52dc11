#include "tools/tempo/BPMController.h"

#include "common/NumberText.h"
#include "tools/tempo/Tempo.h"

using namespace morvela;

BPMController::BPMController(QObject* parent) : QObject(parent) {}

void BPMController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    if (m_calculator)
        disconnect(m_calculator, nullptr, this, nullptr);
    m_calculator = calculator;
    if (m_calculator)
        connect(m_calculator, &CalculatorState::bpmChanged, this, &BPMController::onBpmChanged);
    Q_EMIT calculatorChanged();
    onBpmChanged();
}

QString BPMController::quarter() const
{
    return QString::fromStdString(formatFixed(Tempo::quarter(bpm()), 2));
}

QString BPMController::dottedEighth() const
{
    return QString::fromStdString(formatFixed(Tempo::dottedEighth(bpm()), 2));
}

QString BPMController::sixteenthRate() const
{
    return QString::fromStdString(formatFixed(Tempo::sixteenthRate(bpm()), 2));
}

double BPMController::bpm() const
{
    return m_calculator ? m_calculator->bpm() : 0.0;
}

void BPMController::onBpmChanged()
{
    m_matrix.setBpm(bpm());
    Q_EMIT valuesChanged();
}
