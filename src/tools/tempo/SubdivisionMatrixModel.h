#pragma once

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

// The rows of the Subdivision Matrix: one per note division, with its lengths at `bpm` as the
// table prints them ("500.00", no unit). A tempo change updates the rows in place, so the
// delegates (and a value's copied feedback) stay.
class SubdivisionMatrixModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The tempo screen's controller owns the matrix.")

public:
    enum Role {
        NoteRole = Qt::UserRole + 1,
        StraightRole,
        DottedRole,
        TripletRole,
        RateHzRole,
        ReferenceRole
    };

    explicit SubdivisionMatrixModel(QObject* parent = nullptr);

    double bpm() const { return m_bpm; }
    void setBpm(double bpm);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    double m_bpm = 0;
};
