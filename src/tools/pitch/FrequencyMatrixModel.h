#pragma once

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

// The rows of the Frequency Matrix: one per pitch class, C to B, each with its frequencies in
// octaves 0 to 8 against `a4` as the table prints them ("261.6"). A change of `a4` updates the
// rows in place, so the delegates (and a value's copied feedback) stay.
class FrequencyMatrixModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The pitch screen's controller owns the matrix.")

public:
    enum Role {
        NameRole = Qt::UserRole + 1, // "C", "C#", ...
        SharpRole,                   // a black key
        NotesRole,                   // the note labels of the row, "C0" ... "C8"
        FrequenciesRole,             // one per octave, "%.1f"
        ReferenceRole                // the row of A, whose octave-4 cell is the reference
    };

    explicit FrequencyMatrixModel(QObject* parent = nullptr);

    double a4() const { return m_a4; }
    void setA4(double a4);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    double m_a4 = 440.0;
};
