#pragma once

#include "model/CalculatorState.h"
#include "tools/tempo/TapTempo.h"

#include <QObject>
#include <QPointer>
#include <QQuickWindow>
#include <QtQml/qqmlregistration.h>

#include <functional>

// The operations of the tempo controls: the typed tempo, the slider, the stepper and tap
// tempo (button and Space key), all writing `bpm` of the shared state. It lives exactly as long
// as the controls are shown, and so do its tap sequence and its text keeping: while it has a
// state, every change of `bpm`, by whatever writer, rewrites `bpmText`.
class BPMControlsController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(CalculatorState* calculator READ calculator WRITE setCalculator NOTIFY calculatorChanged)
    // The window in which the Space key taps, whichever item has the keyboard focus.
    Q_PROPERTY(QQuickWindow* window READ window WRITE setWindow NOTIFY windowChanged)
    // Range of the slider and the stepper.
    Q_PROPERTY(double minimum READ minimum CONSTANT)
    Q_PROPERTY(double maximum READ maximum CONSTANT)
    Q_PROPERTY(bool canStepUp READ canStepUp NOTIFY stepLimitsChanged)
    Q_PROPERTY(bool canStepDown READ canStepDown NOTIFY stepLimitsChanged)

public:
    using Clock = std::function<morvela::TapTempo::TimePoint()>;

    explicit BPMControlsController(QObject* parent = nullptr);

    CalculatorState* calculator() const { return m_calculator; }
    void setCalculator(CalculatorState* calculator);
    QQuickWindow* window() const { return m_window; }
    void setWindow(QQuickWindow* window);
    static double minimum();
    static double maximum();
    bool canStepUp() const;
    bool canStepDown() const;

    // Taps are timed on this clock: std::chrono::steady_clock unless a test drives it.
    void setClock(Clock clock);

    // Takes the typed text as the tempo, or reverts it; the text is rewritten either way.
    Q_INVOKABLE void commitText();
    Q_INVOKABLE void syncTextFromValue();
    Q_INVOKABLE void tap();
    Q_INVOKABLE void writeSlider(double value);
    // One click of the stepper: +1 up, -1 down.
    Q_INVOKABLE void step(int steps);

Q_SIGNALS:
    void calculatorChanged();
    void windowChanged();
    void stepLimitsChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onBpmChanged();

    QPointer<CalculatorState> m_calculator;
    QPointer<QQuickWindow> m_window;
    morvela::TapTempo m_tapTempo;
    Clock m_clock;
};
