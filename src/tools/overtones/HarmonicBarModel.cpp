#include "tools/overtones/HarmonicBarModel.h"

#include "common/NumberText.h"

#include <algorithm>

using namespace morvela;

namespace {

QString text(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

// The drift in words, from the rounded figure the bar shows: "31 cents flat", "1 cent sharp".
QString driftWords(double cents)
{
    const QString shown = text(driftText(cents)).chopped(1); // "-31"
    const QString magnitude = shown.mid(1);
    if (magnitude == QLatin1String("0"))
        return QStringLiteral("0 cents");
    const QString unit = magnitude == QLatin1String("1") ? QStringLiteral("cent") : QStringLiteral("cents");
    const QString side = shown.startsWith(u'-') ? QStringLiteral("flat") : QStringLiteral("sharp");
    return magnitude + u' ' + unit + u' ' + side;
}

} // namespace

HarmonicBarModel::HarmonicBarModel(QObject* parent) : QAbstractListModel(parent) {}

void HarmonicBarModel::update(std::vector<Harmonic> series, std::vector<std::int64_t> enabled,
                              std::optional<std::int64_t> current)
{
    const bool reshaped = series.size() != m_series.size();
    if (reshaped)
        beginResetModel();
    m_series = std::move(series);
    m_enabled = std::move(enabled);
    m_current = current;
    if (reshaped)
        endResetModel();
    else if (!m_series.empty())
        Q_EMIT dataChanged(index(0), index(rowCount() - 1));
}

int HarmonicBarModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_series.size());
}

QVariant HarmonicBarModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Harmonic& harmonic = m_series[static_cast<std::size_t>(index.row())];
    const bool on = HarmonicSelection::contains(m_enabled, harmonic.number);
    switch (role) {
    case NumberRole:
        return static_cast<int>(harmonic.number);
    case NoteNameRole:
        return text(harmonic.noteName);
    case FrequencyRole:
        return text(formatFixed(harmonic.frequency, 2));
    case DriftRole:
        return text(driftText(harmonic.cents));
    case DriftClassRole:
        return static_cast<int>(driftClass(harmonic.cents));
    case BarHeightRole:
        return barHeight(harmonic.number);
    case ToolTipRole:
        return toolTip(harmonic);
    case AccessibleNameRole:
        return accessibleName(harmonic, on);
    case OnRole:
        return on;
    case CurrentRole:
        return m_current == harmonic.number;
    default:
        return {};
    }
}

QHash<int, QByteArray> HarmonicBarModel::roleNames() const
{
    return {{NumberRole, "number"},         {NoteNameRole, "noteName"},
            {FrequencyRole, "frequency"},   {DriftRole, "drift"},
            {DriftClassRole, "driftClass"}, {BarHeightRole, "barHeight"},
            {ToolTipRole, "toolTip"},       {AccessibleNameRole, "accessibleName"},
            {OnRole, "isEnabled"},          {CurrentRole, "isCurrent"}};
}

double HarmonicBarModel::barHeight(std::int64_t number)
{
    return number >= 1 ? std::max(200.0 / static_cast<double>(number), 10.0) : 10.0;
}

QString HarmonicBarModel::toolTip(const Harmonic& harmonic)
{
    return QStringLiteral("%1× = %2 Hz · %3 %4")
        .arg(harmonic.number)
        .arg(text(formatFixed(harmonic.frequency, 1)), text(harmonic.noteName),
             text(driftText(harmonic.cents)));
}

QString HarmonicBarModel::accessibleName(const Harmonic& harmonic, bool on)
{
    return QStringLiteral("%1×, %2, %3, %4")
        .arg(harmonic.number)
        .arg(text(harmonic.noteName), driftWords(harmonic.cents),
             on ? QStringLiteral("on") : QStringLiteral("off"));
}
