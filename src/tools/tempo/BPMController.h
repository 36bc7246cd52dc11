#pragma once

#include "model/CalculatorState.h"
#include "tools/tempo/SubdivisionMatrixModel.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QtQml/qqmlregistration.h>

// What the tempo screen shows for the current tempo: the three headline values and the
// Subdivision Matrix, numbers as printed ("500.00") without their units.
class BPMController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(CalculatorState* calculator READ calculator WRITE setCalculator NOTIFY calculatorChanged)
    Q_PROPERTY(QString quarter READ quarter NOTIFY valuesChanged)
    Q_PROPERTY(QString dottedEighth READ dottedEighth NOTIFY valuesChanged)
    Q_PROPERTY(QString sixteenthRate READ sixteenthRate NOTIFY valuesChanged)
    Q_PROPERTY(SubdivisionMatrixModel* matrix READ matrix CONSTANT)

public:
    explicit BPMController(QObject* parent = nullptr);

    CalculatorState* calculator() const { return m_calculator; }
    void setCalculator(CalculatorState* calculator);
    QString quarter() const;
    QString dottedEighth() const;
    QString sixteenthRate() const;
    SubdivisionMatrixModel* matrix() { return &m_matrix; }

Q_SIGNALS:
    void calculatorChanged();
    void valuesChanged();

private:
    double bpm() const;
    void onBpmChanged();

    QPointer<CalculatorState> m_calculator;
    SubdivisionMatrixModel m_matrix;
};
