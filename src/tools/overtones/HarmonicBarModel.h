#pragma once

#include "tools/overtones/HarmonicSeries.h"

#include <QAbstractListModel>
#include <QtQml/qqmlregistration.h>

#include <optional>
#include <vector>

// The bars of the overtone spectrum, one per harmonic, with their texts as the screen shows
// them. A new series, selection or sweep step updates the rows in place, so the bars (and the
// keyboard focus on one of them) stay.
class HarmonicBarModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The overtones screen's controller owns the bars.")

public:
    enum Role {
        NumberRole = Qt::UserRole + 1,
        NoteNameRole,
        FrequencyRole,  // "385.00", what the copy entry copies
        DriftRole,      // "-31¢"
        DriftClassRole, // 0 in tune, 1 noticeable, 2 far off
        BarHeightRole,
        ToolTipRole,
        AccessibleNameRole,
        OnRole,
        CurrentRole
    };

    explicit HarmonicBarModel(QObject* parent = nullptr);

    void update(std::vector<morvela::Harmonic> series, std::vector<std::int64_t> enabled,
                std::optional<std::int64_t> current);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // Bar n stands 200 / n points high, but never lower than 10.
    static double barHeight(std::int64_t number);
    // "7× = 385.0 Hz · G4 -31¢"
    static QString toolTip(const morvela::Harmonic& harmonic);
    // "7×, G4, 31 cents flat, on"
    static QString accessibleName(const morvela::Harmonic& harmonic, bool on);

private:
    std::vector<morvela::Harmonic> m_series;
    std::vector<std::int64_t> m_enabled;
    std::optional<std::int64_t> m_current;
};
