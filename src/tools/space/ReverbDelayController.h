#pragma once

#include "model/CalculatorState.h"
#include "tools/space/ReverbDelay.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// What the Space screen shows for the shared tempo and custom reverb: every time as it is
// copied ("500.0", no unit). Lists are by position (presets and delay picks in table order), so
// the screen's values update in place and keep their copied feedback across a change.
class ReverbDelayController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(CalculatorState* calculator READ calculator WRITE setCalculator NOTIFY calculatorChanged)
    Q_PROPERTY(QString bar READ bar NOTIFY valuesChanged)
    Q_PROPERTY(QString beat READ beat NOTIFY valuesChanged)
    Q_PROPERTY(QString preSixtyFourth READ preSixtyFourth NOTIFY valuesChanged)

    Q_PROPERTY(QStringList presetNames READ presetNames CONSTANT)
    Q_PROPERTY(QStringList presetSubtitles READ presetSubtitles CONSTANT)
    Q_PROPERTY(QStringList presetPreDelays READ presetPreDelays NOTIFY valuesChanged)
    Q_PROPERTY(QStringList presetDecays READ presetDecays NOTIFY valuesChanged)
    Q_PROPERTY(QStringList presetTotals READ presetTotals NOTIFY valuesChanged)

    // The picker choices, [{ label, value }].
    Q_PROPERTY(QVariantList totalBarsOptions READ totalBarsOptions CONSTANT)
    Q_PROPERTY(QVariantList preDivisionOptions READ preDivisionOptions CONSTANT)
    // The pre-delay note the custom times use (the stored one, or the default for one that is
    // not positive), so the picker marks the note in effect. A QML number, like the options.
    Q_PROPERTY(double preDivisionInUse READ preDivisionInUse NOTIFY valuesChanged)
    Q_PROPERTY(QString customPreDelay READ customPreDelay NOTIFY valuesChanged)
    Q_PROPERTY(QString customDecay READ customDecay NOTIFY valuesChanged)
    Q_PROPERTY(QString customTotal READ customTotal NOTIFY valuesChanged)

    Q_PROPERTY(QStringList pickLabels READ pickLabels CONSTANT)
    Q_PROPERTY(QStringList pickTimes READ pickTimes NOTIFY valuesChanged)

public:
    explicit ReverbDelayController(QObject* parent = nullptr);

    CalculatorState* calculator() const { return m_calculator; }
    void setCalculator(CalculatorState* calculator);

    QString bar() const;
    QString beat() const;
    QString preSixtyFourth() const;

    static QStringList presetNames();
    static QStringList presetSubtitles();
    QStringList presetPreDelays() const;
    QStringList presetDecays() const;
    QStringList presetTotals() const;

    static QVariantList totalBarsOptions();
    static QVariantList preDivisionOptions();
    double preDivisionInUse() const;
    QString customPreDelay() const;
    QString customDecay() const;
    QString customTotal() const;

    static QStringList pickLabels();
    QStringList pickTimes() const;

    Q_INVOKABLE void chooseTotalBars(double totalBars);
    Q_INVOKABLE void choosePreDivision(qint64 preDivision);

Q_SIGNALS:
    void calculatorChanged();
    void valuesChanged();

private:
    double bpm() const;
    morvela::ReverbTimes customTimes() const;

    QPointer<CalculatorState> m_calculator;
};
