#pragma once

#include "model/CalculatorState.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

// The operations of the concert-pitch controls: the typed reference, the stepper, the slider and
// the reset button, all writing `a4` of the shared state. While it has a state, every change of
// `a4`, by whatever writer, rewrites `a4Text`; taking a state also rewrites it, so the field
// never shows a reference that changed while the controls were away.
class TuningControlsController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(CalculatorState* calculator READ calculator WRITE setCalculator NOTIFY calculatorChanged)
    // Range of the slider and the stepper (and of any committed text).
    Q_PROPERTY(double minimum READ minimum CONSTANT)
    Q_PROPERTY(double maximum READ maximum CONSTANT)
    Q_PROPERTY(bool canStepUp READ canStepUp NOTIFY stepLimitsChanged)
    Q_PROPERTY(bool canStepDown READ canStepDown NOTIFY stepLimitsChanged)

public:
    explicit TuningControlsController(QObject* parent = nullptr);

    CalculatorState* calculator() const { return m_calculator; }
    void setCalculator(CalculatorState* calculator);
    static double minimum();
    static double maximum();
    bool canStepUp() const;
    bool canStepDown() const;

    // Takes the typed text as the reference, or reverts it; the text is rewritten either way.
    Q_INVOKABLE void commitText();
    Q_INVOKABLE void syncTextFromValue();
    Q_INVOKABLE void writeSlider(double value);
    // One click of the stepper: +1 up, -1 down.
    Q_INVOKABLE void step(int steps);
    // Back to A4 = 440 Hz, whatever was typed.
    Q_INVOKABLE void reset();

Q_SIGNALS:
    void calculatorChanged();
    void stepLimitsChanged();

private:
    void onA4Changed();

    QPointer<CalculatorState> m_calculator;
};
