#pragma once

#include "tools/temperament/TetScale.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

#include <optional>
#include <vector>

// The rows of the Scale Steps table: steps 0 ... N with their figures as the table prints them
// ("523.25", no unit), and which row sounds. A new scale updates the rows in place, adding or
// removing only the rows beyond the shorter of the two, so that a change of N or A4 rebuilds
// no more delegates than it must and a value's copied feedback stays.
class ScaleStepsModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The temperament screen's controller owns the steps.")

public:
    enum Role {
        LabelRole = Qt::UserRole + 1, // the index, "octave" on the last row
        EndRole,                      // the reference or its octave
        FrequencyRole,
        RatioRole,     // four decimals, as shown
        RatioCopyRole, // five decimals, as copied
        CentsRole,
        NearestNoteRole,
        NearestCentsRole,  // "+0¢"
        NearestSpokenRole, // "C5 +0 cents"
        DeviationTintRole,
        SoundingRole,
        SpokenRole,   // the whole row as one line for a screen reader
        PlayHelpRole, // "Play 523.25 Hz"
    };

    explicit ScaleStepsModel(QObject* parent = nullptr);

    void setSteps(std::vector<morvela::TetStep> steps);
    const std::vector<morvela::TetStep>& steps() const { return m_steps; }
    void setSounding(std::optional<int> row);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

private:
    std::vector<morvela::TetStep> m_steps;
    std::optional<int> m_sounding;
};
