#pragma once

#include "audio/SoundOutput.h"
#include "model/CalculatorState.h"
#include "platform/RepeatingTimer.h"
#include "tools/rhythm/Euclid.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

#include <algorithm>
#include <memory>
#include <vector>

// The operations of the Rhythm screen: the three counters, the note value, the presets and the
// click loop, all on the shared state's euclid fields; and the texts the screen shows for them.
// The loop runs on the loop clock with one step length as its period, each click scheduled at
// its tick's due instant. It lives as long as the screen: its destruction stops the loop.
class EuclideanRhythmController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(CalculatorState* calculator READ calculator WRITE setCalculator NOTIFY calculatorChanged)

    // The current cycle, true for a hit, and its names: "E(3,8)" and "E(3,8): x..x..x.".
    Q_PROPERTY(QVariantList pattern READ pattern NOTIFY patternChanged)
    Q_PROPERTY(QString patternName READ patternName NOTIFY patternChanged)
    Q_PROPERTY(QString patternSummary READ patternSummary NOTIFY patternChanged)

    // Step length and cycle: "Step 1/16", "125.0 ms" (copies "125.0"), "1000 ms" (copies "1000"),
    // the wheel's "1/16 · 125.0 ms" and "120 BPM from the Tempo tab".
    // The note value of a step (4, 8 or 16), as the step-length picker shows it.
    Q_PROPERTY(int note READ shownNote NOTIFY timingChanged)
    Q_PROPERTY(QString stepLabel READ stepLabel NOTIFY timingChanged)
    Q_PROPERTY(QString stepText READ stepText NOTIFY timingChanged)
    Q_PROPERTY(QString stepCopy READ stepCopy NOTIFY timingChanged)
    Q_PROPERTY(QString cycleText READ cycleText NOTIFY timingChanged)
    Q_PROPERTY(QString cycleCopy READ cycleCopy NOTIFY timingChanged)
    Q_PROPERTY(QString wheelSubtitle READ wheelSubtitle NOTIFY timingChanged)
    Q_PROPERTY(QString tempoCaption READ tempoCaption NOTIFY timingChanged)

    // The counters, the ranges their steppers move in (which a screen reader reads), and whether
    // each can go up or down from where it is.
    Q_PROPERTY(int steps READ shownSteps NOTIFY countersChanged)
    Q_PROPERTY(int pulses READ shownPulses NOTIFY countersChanged)
    Q_PROPERTY(int rotation READ shownRotation NOTIFY countersChanged)
    Q_PROPERTY(int minimumSteps READ minimumSteps CONSTANT)
    Q_PROPERTY(int maximumSteps READ maximumSteps CONSTANT)
    Q_PROPERTY(int maximumRotation READ maximumRotation NOTIFY countersChanged)
    Q_PROPERTY(bool canIncreaseSteps READ canIncreaseSteps NOTIFY countersChanged)
    Q_PROPERTY(bool canDecreaseSteps READ canDecreaseSteps NOTIFY countersChanged)
    Q_PROPERTY(bool canIncreasePulses READ canIncreasePulses NOTIFY countersChanged)
    Q_PROPERTY(bool canDecreasePulses READ canDecreasePulses NOTIFY countersChanged)
    Q_PROPERTY(bool canIncreaseRotation READ canIncreaseRotation NOTIFY countersChanged)
    Q_PROPERTY(bool canDecreaseRotation READ canDecreaseRotation NOTIFY countersChanged)

    Q_PROPERTY(QStringList presetLabels READ presetLabels CONSTANT)

    Q_PROPERTY(bool playing READ playing NOTIFY playingChanged)
    // The step sounding now, -1 while stopped.
    Q_PROPERTY(int currentStep READ currentStep NOTIFY currentStepChanged)
    // Play and Stop both need a hit: at 0 pulses a running loop keeps stepping with soft clicks
    // until pulses are raised and Stop is pressed, or the screen goes away.
    Q_PROPERTY(bool canTogglePlayback READ canTogglePlayback NOTIFY playbackEnabledChanged)

public:
    explicit EuclideanRhythmController(QObject* parent = nullptr);
    ~EuclideanRhythmController() override;

    CalculatorState* calculator() const { return m_calculator; }
    void setCalculator(CalculatorState* calculator);

    QVariantList pattern() const;
    QString patternName() const;
    QString patternSummary() const;
    int shownNote() const { return static_cast<int>(note()); }
    QString stepLabel() const;
    QString stepText() const;
    QString stepCopy() const;
    QString cycleText() const;
    QString cycleCopy() const;
    QString wheelSubtitle() const;
    QString tempoCaption() const;
    int shownSteps() const { return static_cast<int>(steps()); }
    int shownPulses() const { return static_cast<int>(pulses()); }
    int shownRotation() const { return static_cast<int>(rotation()); }
    static int minimumSteps() { return static_cast<int>(morvela::Euclid::minimumSteps); }
    static int maximumSteps() { return static_cast<int>(morvela::Euclid::maximumSteps); }
    int maximumRotation() const { return static_cast<int>(std::max<qint64>(steps() - 1, 0)); }
    bool canIncreaseSteps() const { return steppedSteps(1) != steps(); }
    bool canDecreaseSteps() const { return steppedSteps(-1) != steps(); }
    bool canIncreasePulses() const { return steppedPulses(1) != pulses(); }
    bool canDecreasePulses() const { return steppedPulses(-1) != pulses(); }
    bool canIncreaseRotation() const { return steppedRotation(1) != rotation(); }
    bool canDecreaseRotation() const { return steppedRotation(-1) != rotation(); }
    static QStringList presetLabels();
    bool playing() const;
    int currentStep() const;
    bool canTogglePlayback() const;

    // One stepper click (+1 up, -1 down) on a counter. A change of steps cuts pulses and
    // rotation to the new range.
    Q_INVOKABLE void stepSteps(int delta);
    Q_INVOKABLE void stepPulses(int delta);
    Q_INVOKABLE void stepRotation(int delta);
    // 4, 8 or 16 (anything else is ignored); a running loop restarts at step 0 with the new length.
    Q_INVOKABLE void chooseNote(qint64 note);
    // Writes the preset's steps, then its pulses, then rotation 0; a running loop keeps running.
    Q_INVOKABLE void applyPreset(int index);

    // Sounds one step of the current cycle at once: loud and high on a hit, soft and low on a rest.
    Q_INVOKABLE void tick(qint64 step);
    Q_INVOKABLE void startPlayback();
    Q_INVOKABLE void stop();
    Q_INVOKABLE void togglePlayback();
    // One tick of the loop clock, due at `dueAt`: moves to the next step and sounds it then.
    void advancePlayback(double dueAt);

Q_SIGNALS:
    void calculatorChanged();
    void patternChanged();
    void timingChanged();
    void countersChanged();
    void playingChanged();
    void currentStepChanged();
    void playbackEnabledChanged();

private:
    qint64 steps() const;
    qint64 pulses() const;
    qint64 rotation() const;
    qint64 note() const;
    double stepMilliseconds() const;
    std::vector<bool> currentPattern() const;
    qint64 steppedSteps(int delta) const;
    qint64 steppedPulses(int delta) const;
    qint64 steppedRotation(int delta) const;
    void setSteps(qint64 value);
    void tick(qint64 step, SoundOutput::Instant at);
    void onPatternFieldChanged();

    QPointer<CalculatorState> m_calculator;
    // Made on the first start and kept: stopping (also from inside one of its ticks) only
    // invalidates it.
    std::unique_ptr<RepeatingTimer> m_playTimer;
};
