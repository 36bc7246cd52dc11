#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

// One observable field: a property with its own NOTIFY signal. Every assignment notifies,
// also when the value is unchanged, and also raises the object-wide changed().
// Optional integers ("no current step") are QVariants that are either invalid or hold a qint64.
#define MORVELA_STATE_FIELD(Type, name, setter, initial)                                                     \
    Q_PROPERTY(Type name READ name WRITE setter NOTIFY name##Changed)                                        \
public:                                                                                                      \
    Type name() const                                                                                        \
    {                                                                                                        \
        return m_##name;                                                                                     \
    }                                                                                                        \
    void setter(const Type& value)                                                                           \
    {                                                                                                        \
        m_##name = value;                                                                                    \
        Q_EMIT name##Changed();                                                                              \
        Q_EMIT changed();                                                                                    \
    }                                                                                                        \
    Q_SIGNAL void name##Changed();                                                                           \
                                                                                                             \
private:                                                                                                     \
    Type m_##name = initial;

// The one shared model of all tool settings. A plain store: no validation and no derived
// values; the screens that own a field keep it in range and in step with its text.
class CalculatorState : public QObject {
    Q_OBJECT
    QML_ELEMENT

    MORVELA_STATE_FIELD(double, bpm, setBpm, 120.0)
    MORVELA_STATE_FIELD(QString, bpmText, setBpmText, QStringLiteral("120"))
    MORVELA_STATE_FIELD(double, a4, setA4, 440.0)
    MORVELA_STATE_FIELD(QString, a4Text, setA4Text, QStringLiteral("440"))
    MORVELA_STATE_FIELD(QList<qint64>, progression, setProgression, {})
    MORVELA_STATE_FIELD(bool, progressionPlaying, setProgressionPlaying, false)
    MORVELA_STATE_FIELD(QVariant, playingStep, setPlayingStep, {})
    MORVELA_STATE_FIELD(double, customTotalBars, setCustomTotalBars, 1.0)
    MORVELA_STATE_FIELD(qint64, customPreDivision, setCustomPreDivision, 64)
    MORVELA_STATE_FIELD(qint64, overtonePitchClass, setOvertonePitchClass, 9)
    MORVELA_STATE_FIELD(qint64, overtoneOctave, setOvertoneOctave, 1)
    MORVELA_STATE_FIELD(QList<qint64>, overtonesEnabled, setOvertonesEnabled, allHarmonics())
    MORVELA_STATE_FIELD(QVariant, overtoneStep, setOvertoneStep, {})
    MORVELA_STATE_FIELD(bool, overtoneSweeping, setOvertoneSweeping, false)
    MORVELA_STATE_FIELD(qint64, euclidSteps, setEuclidSteps, 8)
    MORVELA_STATE_FIELD(qint64, euclidPulses, setEuclidPulses, 3)
    MORVELA_STATE_FIELD(qint64, euclidRotation, setEuclidRotation, 0)
    MORVELA_STATE_FIELD(qint64, euclidNote, setEuclidNote, 16)
    MORVELA_STATE_FIELD(bool, euclidPlaying, setEuclidPlaying, false)
    MORVELA_STATE_FIELD(QVariant, euclidStep, setEuclidStep, {})
    MORVELA_STATE_FIELD(qint64, tetDivisions, setTetDivisions, 12)
    MORVELA_STATE_FIELD(double, tetReference, setTetReference, 440.0)
    MORVELA_STATE_FIELD(QString, tetReferenceText, setTetReferenceText, QStringLiteral("440"))
    MORVELA_STATE_FIELD(bool, tetPlaying, setTetPlaying, false)
    MORVELA_STATE_FIELD(QVariant, tetStep, setTetStep, {})

public:
    explicit CalculatorState(QObject* parent = nullptr);

Q_SIGNALS:
    // Something in the state changed (which field is not said).
    void changed();

private:
    // The enabled-overtones set starts with the harmonics 1, 2, ..., 16 in that order.
    static QList<qint64> allHarmonics();
};

#undef MORVELA_STATE_FIELD
