#pragma once

#include "model/CalculatorState.h"
#include "tools/pitch/FrequencyMatrixModel.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

// What the pitch screen shows for the current A4 reference: the three headline frequencies and
// the Frequency Matrix, numbers as printed ("261.6") without their units.
class NoteFrequencyController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(CalculatorState* calculator READ calculator WRITE setCalculator NOTIFY calculatorChanged)
    Q_PROPERTY(QString a4 READ a4 NOTIFY valuesChanged)
    Q_PROPERTY(QString c4 READ c4 NOTIFY valuesChanged)
    Q_PROPERTY(QString a3 READ a3 NOTIFY valuesChanged)
    // The column titles: the octave numbers "0" ... "8".
    Q_PROPERTY(QStringList octaves READ octaves CONSTANT)
    // The column of octave 4, where middle C and the reference A4 sit.
    Q_PROPERTY(int referenceColumn READ referenceColumn CONSTANT)
    Q_PROPERTY(FrequencyMatrixModel* matrix READ matrix CONSTANT)

public:
    explicit NoteFrequencyController(QObject* parent = nullptr);

    CalculatorState* calculator() const { return m_calculator; }
    void setCalculator(CalculatorState* calculator);
    QString a4() const;
    QString c4() const;
    QString a3() const;
    static QStringList octaves();
    static int referenceColumn();
    FrequencyMatrixModel* matrix() { return &m_matrix; }

Q_SIGNALS:
    void calculatorChanged();
    void valuesChanged();

private:
    double referenceA4() const;
    void onA4Changed();

    QPointer<CalculatorState> m_calculator;
    FrequencyMatrixModel m_matrix;
};
