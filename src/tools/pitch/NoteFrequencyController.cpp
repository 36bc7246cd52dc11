#include "tools/pitch/NoteFrequencyController.h"

#include "common/NumberText.h"
#include "tools/pitch/NoteFrequency.h"

#include <algorithm>

using namespace morvela;

namespace {

// C4 lies nine semitones below A4: 2^(-9/12).
constexpr double c4PerA4 = 0.5946035575013605;
constexpr std::int64_t referenceOctave = 4;

QString oneDecimal(double value)
{
    return QString::fromStdString(formatFixed(value, 1));
}

} // namespace

NoteFrequencyController::NoteFrequencyController(QObject* parent) : QObject(parent) {}

void NoteFrequencyController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    if (m_calculator)
        disconnect(m_calculator, nullptr, this, nullptr);
    m_calculator = calculator;
    if (m_calculator)
        connect(m_calculator, &CalculatorState::a4Changed, this, &NoteFrequencyController::onA4Changed);
    Q_EMIT calculatorChanged();
    onA4Changed();
}

QString NoteFrequencyController::a4() const
{
    return oneDecimal(referenceA4());
}

QString NoteFrequencyController::c4() const
{
    return oneDecimal(referenceA4() * c4PerA4);
}

QString NoteFrequencyController::a3() const
{
    return oneDecimal(referenceA4() * 0.5);
}

QStringList NoteFrequencyController::octaves()
{
    QStringList titles;
    for (const std::int64_t octave : NoteFrequency::octaves())
        titles.append(QString::number(octave));
    return titles;
}

int NoteFrequencyController::referenceColumn()
{
    const auto& octaves = NoteFrequency::octaves();
    return static_cast<int>(std::find(octaves.begin(), octaves.end(), referenceOctave) - octaves.begin());
}

double NoteFrequencyController::referenceA4() const
{
    return m_calculator ? m_calculator->a4() : 440.0;
}

void NoteFrequencyController::onA4Changed()
{
    m_matrix.setA4(referenceA4());
    Q_EMIT valuesChanged();
}
