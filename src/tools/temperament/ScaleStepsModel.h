#pragma once

#include "tools/temperament/TetScale.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

#include <optional>
#include <vector>

// The rows of the Scale Steps table: steps 0 ... N with their figures as the table prints them
// ("523.25", no unit), and which row sounds. The model always has room for the largest scale
// (`poolSize` rows); rows past the octave are unused (`inScale` false) and the view hides them.
// A change of N or A4 thus only updates rows in place: no delegate is ever created or destroyed
// after the screen opens, so the table follows even a jump from 12 to 53 steps within a frame,
// and a value's copied feedback stays.
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
        InScaleRole,  // false on the unused rows past the octave
        LastRole,     // the octave, the table's last shown row
    };

    static const int poolSize;

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
