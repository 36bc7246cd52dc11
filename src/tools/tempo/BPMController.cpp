#include "tools/tempo/BPMController.h"

#include "common/NumberText.h"
#include "tools/tempo/Tempo.h"

using namespace morvela;

BPMController::BPMController(QObject* parent) : QObject(parent) {}

void BPMController::setState(CalculatorState* state)
{
    if (state == m_state)
        return;
    if (m_state)
        disconnect(m_state, nullptr, this, nullptr);
    m_state = state;
    if (m_state)
        connect(m_state, &CalculatorState::bpmChanged, this, &BPMController::onBpmChanged);
    Q_EMIT stateChanged();
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
    return m_state ? m_state->bpm() : 0.0;
}

void BPMController::onBpmChanged()
{
    m_matrix.setBpm(bpm());
    Q_EMIT valuesChanged();
}
