#include "model/CalculatorState.h"

CalculatorState::CalculatorState(QObject* parent) : QObject(parent) {}

QList<qint64> CalculatorState::allHarmonics()
{
    QList<qint64> harmonics;
    for (qint64 n = 1; n <= 16; ++n)
        harmonics.append(n);
    return harmonics;
}
