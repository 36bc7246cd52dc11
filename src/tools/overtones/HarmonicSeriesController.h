#pragma once

#include "audio/SoundOutput.h"
#include "model/CalculatorState.h"
#include "platform/RepeatingTimer.h"
#include "tools/overtones/HarmonicBarModel.h"

#include <QObject>
#include <QPointer>
#include <QQuickItem>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

// The operations of the overtones screen: the fundamental chosen by note and octave, the
// enabled harmonics, their sound one by one or summed, and the sweep through all sixteen on the
// loop clock. The series is computed afresh from the shared state whenever it is shown or
// sounded, so a change of note, octave or A4 reaches the very next tone, also mid-sweep.
// The sweep belongs to the controller: when the screen goes, it stops.
class HarmonicSeriesController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(CalculatorState* calculator READ calculator WRITE setCalculator NOTIFY calculatorChanged)
    // The screen: once it is hidden or taken out of the window, the sweep stops.
    Q_PROPERTY(QObject* screen READ screen WRITE setScreen NOTIFY screenChanged)
    // Figures as printed, without units: "55.00", "165.0"; names like "C#4".
    Q_PROPERTY(QString fundamentalText READ fundamentalText NOTIFY seriesChanged)
    Q_PROPERTY(QString fundamentalName READ fundamentalName NOTIFY seriesChanged)
    Q_PROPERTY(QString thirdName READ thirdName NOTIFY seriesChanged)
    Q_PROPERTY(QString thirdText READ thirdText NOTIFY seriesChanged)
    Q_PROPERTY(QString fifthName READ fifthName NOTIFY seriesChanged)
    Q_PROPERTY(QString fifthText READ fifthText NOTIFY seriesChanged)
    Q_PROPERTY(QStringList noteNames READ noteNames CONSTANT)
    Q_PROPERTY(QStringList octaveNames READ octaveNames CONSTANT)
    // The pickers' current entries: "A", "Octave 1".
    Q_PROPERTY(QString noteName READ noteName NOTIFY seriesChanged)
    Q_PROPERTY(QString octaveName READ octaveName NOTIFY seriesChanged)
    Q_PROPERTY(bool canPlay READ canPlay NOTIFY canPlayChanged)
    Q_PROPERTY(HarmonicBarModel* bars READ bars CONSTANT)

public:
    static constexpr double sweepInterval = 0.22; // seconds per harmonic
    static constexpr qint64 lowestOctave = 0;
    static constexpr qint64 highestOctave = 4;

    explicit HarmonicSeriesController(QObject* parent = nullptr);
    ~HarmonicSeriesController() override;

    CalculatorState* calculator() const { return m_calculator; }
    void setCalculator(CalculatorState* calculator);
    QObject* screen() const { return m_screen; }
    void setScreen(QObject* screen);

    // f0 of the state's note, octave and A4, read anew on every call.
    double fundamental() const;
    std::vector<morvela::Harmonic> series() const;

    QString fundamentalText() const;
    QString fundamentalName() const;
    QString thirdName() const;
    QString thirdText() const;
    QString fifthName() const;
    QString fifthText() const;
    static QStringList noteNames();
    static QStringList octaveNames();
    QString noteName() const;
    QString octaveName() const;
    bool canPlay() const;
    HarmonicBarModel* bars() { return &m_bars; }

    Q_INVOKABLE void choosePitchClass(int pitchClass);
    Q_INVOKABLE void chooseOctave(int octave);
    Q_INVOKABLE void enableAll();
    Q_INVOKABLE void enableMajorTriad();
    // Switches harmonic n on or off, and sounds it either way.
    Q_INVOKABLE void toggleHarmonic(int number);
    // Sounds the enabled harmonics together, each at 1/n; nothing when none is enabled.
    Q_INVOKABLE void playChord();
    Q_INVOKABLE void startSweep();
    // One tick of the sweep: the next harmonic at `at`, or the end of the sweep after 16.
    void advanceSweep(SoundOutput::Instant at = {});
    Q_INVOKABLE void stopSweep();
    // The sweep button: Stop while sweeping, else Sweep.
    Q_INVOKABLE void toggleSweep();
    // The bar's copy entries: "385.00" and "G4".
    Q_INVOKABLE void copyFrequency(int number) const;
    Q_INVOKABLE void copyNoteName(int number) const;

Q_SIGNALS:
    void calculatorChanged();
    void screenChanged();
    void seriesChanged();
    void canPlayChanged();

private:
    qint64 pitchClass() const;
    qint64 octave() const;
    std::vector<std::int64_t> enabled() const;
    std::optional<morvela::Harmonic> harmonic(std::int64_t number) const;
    QString nameOf(std::int64_t number) const;
    QString frequencyOf(std::int64_t number, int decimals) const;
    void sound(double hz, SoundOutput::Instant at) const;
    void onSeriesChanged();
    void onScreenShownOrHidden();
    void refreshBars();

    QPointer<CalculatorState> m_calculator;
    QPointer<QQuickItem> m_screen;
    HarmonicBarModel m_bars;
    std::unique_ptr<RepeatingTimer> m_sweepTimer;
};
