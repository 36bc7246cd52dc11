#pragma once

#include "audio/SoundOutput.h"
#include "model/CalculatorState.h"
#include "platform/RepeatingTimer.h"
#include "tools/temperament/ScaleStepsModel.h"
#include "tools/temperament/TetScale.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <memory>

// The operations of the temperament screen: the reference and divisions inputs, auditioning a
// step, and playing the scale upwards one step every 0.3 s on the loop clock. It lives exactly
// as long as the screen is shown; when it goes (or is destroyed), it commits the typed reference
// and stops the scale. Figures are numbers as printed ("100.0"), without units.
class TemperamentController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(CalculatorState* calculator READ calculator WRITE setCalculator NOTIFY calculatorChanged)
    // N, within 1 ... 53 whatever the state holds.
    Q_PROPERTY(int divisions READ shownDivisions NOTIFY valuesChanged)
    Q_PROPERTY(QString stepCents READ stepCents NOTIFY valuesChanged)
    Q_PROPERTY(QString stepRatio READ stepRatio NOTIFY valuesChanged)
    Q_PROPERTY(bool canStepReferenceUp READ canStepReferenceUp NOTIFY valuesChanged)
    Q_PROPERTY(bool canStepReferenceDown READ canStepReferenceDown NOTIFY valuesChanged)
    Q_PROPERTY(bool canStepDivisionsUp READ canStepDivisionsUp NOTIFY valuesChanged)
    Q_PROPERTY(bool canStepDivisionsDown READ canStepDivisionsDown NOTIFY valuesChanged)
    Q_PROPERTY(QStringList presetLabels READ presetLabels CONSTANT)
    Q_PROPERTY(ScaleStepsModel* steps READ steps CONSTANT)
    // The ranges of N and of the reference: what a screen reader reads of the two steppers.
    Q_PROPERTY(int divisionsMinimum READ divisionsMinimum CONSTANT)
    Q_PROPERTY(int divisionsMaximum READ divisionsMaximum CONSTANT)
    Q_PROPERTY(double referenceMinimum READ referenceMinimum CONSTANT)
    Q_PROPERTY(double referenceMaximum READ referenceMaximum CONSTANT)

public:
    static constexpr double stepSeconds = 0.3;

    explicit TemperamentController(QObject* parent = nullptr);
    ~TemperamentController() override;

    CalculatorState* calculator() const { return m_calculator; }
    void setCalculator(CalculatorState* calculator);
    QString stepCents() const;
    QString stepRatio() const;
    bool canStepReferenceUp() const;
    bool canStepReferenceDown() const;
    bool canStepDivisionsUp() const;
    bool canStepDivisionsDown() const;
    static QStringList presetLabels();
    ScaleStepsModel* steps() { return &m_steps; }
    int shownDivisions() const { return static_cast<int>(divisionCount()); }
    static int divisionsMinimum() { return static_cast<int>(morvela::tetDivisionsMinimum); }
    static int divisionsMaximum() { return static_cast<int>(morvela::tetDivisionsMaximum); }
    static double referenceMinimum() { return morvela::tetReferenceMinimum; }
    static double referenceMaximum() { return morvela::tetReferenceMaximum; }

    // Takes the typed text as the reference, or reverts it; the text is rewritten either way.
    Q_INVOKABLE void commitReferenceText();
    Q_INVOKABLE void syncReferenceText();
    // One click of a stepper: +1 up, -1 down.
    Q_INVOKABLE void stepReference(int steps);
    Q_INVOKABLE void stepDivisions(int steps);
    // A preset by its place in presetLabels.
    Q_INVOKABLE void choosePreset(int index);
    // The play button: stops a playing scale, else starts it.
    Q_INVOKABLE void togglePlayback();
    Q_INVOKABLE void startPlayback();
    Q_INVOKABLE void stopPlayback();
    // The screen goes away: the typed reference is committed, then the scale stops.
    Q_INVOKABLE void leave();
    // Sounds one step at once; an index outside the scale is ignored.
    Q_INVOKABLE void playStep(int index);
    // One tick of the loop, due at `dueAt`: the next step, or the end after the octave.
    void advancePlayback(double dueAt);

Q_SIGNALS:
    void calculatorChanged();
    void valuesChanged();

private:
    // Stops a playing scale, sets N and starts again from step 0 if it was playing.
    void setDivisions(std::int64_t divisions);
    // N as the scale uses it: within 1 ... 53 whatever the state holds.
    std::int64_t divisionCount() const;
    void sound(int index, SoundOutput::Instant at);
    void rebuild();
    void onStepChanged();

    QPointer<CalculatorState> m_calculator;
    ScaleStepsModel m_steps;
    std::unique_ptr<RepeatingTimer> m_playTimer;
};
