#include "tools/temperament/ScaleStepsModel.h"

#include "common/NumberText.h"
#include "ui/MorvelaTheme.h"

#include <cmath>

using namespace morvela;

namespace {

QString fixed(double value, int decimals)
{
    return QString::fromStdString(formatFixed(value, decimals));
}

// "%+.0f¢": printf's sign, so a deviation just below zero reads "-0¢".
QString signedCents(double cents)
{
    const QString whole = fixed(cents, 0);
    return (whole.startsWith(u'-') ? whole : QStringLiteral("+") + whole) + QStringLiteral("¢");
}

QString nearestSpoken(const TetStep& step)
{
    QString cents = signedCents(step.nearestCents);
    cents.chop(1);
    return QString::fromStdString(step.nearestNote) + u' ' + cents + QStringLiteral(" cents");
}

// In tune below 5 ¢, noticeable below 20 ¢, far off from there on.
QColor deviationTint(double cents)
{
    const double off = std::abs(cents);
    return off < 5.0 ? MorvelaTheme::fern() : off < 20.0 ? MorvelaTheme::saffron() : MorvelaTheme::lacquer();
}

} // namespace

const int ScaleStepsModel::poolSize = static_cast<int>(tetDivisionsMaximum) + 1;

ScaleStepsModel::ScaleStepsModel(QObject* parent) : QAbstractListModel(parent) {}

void ScaleStepsModel::setSteps(std::vector<TetStep> steps)
{
    if (steps.size() > static_cast<std::size_t>(poolSize))
        steps.resize(static_cast<std::size_t>(poolSize));
    const int changed = static_cast<int>(std::max(m_steps.size(), steps.size()));
    m_steps = std::move(steps);
    if (changed > 0)
        Q_EMIT dataChanged(index(0), index(changed - 1));
}

void ScaleStepsModel::setSounding(std::optional<int> row)
{
    if (row == m_sounding)
        return;
    const std::optional<int> previous = std::exchange(m_sounding, row);
    for (const std::optional<int>& changed : {previous, row}) {
        if (changed && *changed >= 0 && *changed < rowCount())
            Q_EMIT dataChanged(index(*changed), index(*changed), {SoundingRole});
    }
}

int ScaleStepsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : poolSize;
}

QVariant ScaleStepsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int count = static_cast<int>(m_steps.size());
    if (index.row() >= count) {
        if (role == InScaleRole || role == EndRole || role == LastRole || role == SoundingRole)
            return false;
        return role == DeviationTintRole ? QVariant(QColor()) : QVariant(QString());
    }
    const TetStep& step = m_steps[static_cast<std::size_t>(index.row())];
    const bool octave = index.row() == count - 1 && index.row() > 0;
    switch (role) {
    case LabelRole:
        return octave ? QStringLiteral("octave") : QString::number(step.index);
    case EndRole:
        return index.row() == 0 || octave;
    case FrequencyRole:
        return fixed(step.frequency, 2);
    case RatioRole:
        return fixed(step.ratio, 4);
    case RatioCopyRole:
        return fixed(step.ratio, 5);
    case CentsRole:
        return fixed(step.centsFromRoot, 1);
    case NearestNoteRole:
        return QString::fromStdString(step.nearestNote);
    case NearestCentsRole:
        return signedCents(step.nearestCents);
    case DeviationTintRole:
        return deviationTint(step.nearestCents);
    case SoundingRole:
        return m_sounding == index.row();
    case NearestSpokenRole:
        return nearestSpoken(step);
    case SpokenRole:
        return QStringLiteral("%1, %2 Hz, ratio %3, %4 cents, %5")
            .arg(octave ? QStringLiteral("Octave") : QStringLiteral("Step %1").arg(step.index),
                 fixed(step.frequency, 2), fixed(step.ratio, 4), fixed(step.centsFromRoot, 1),
                 nearestSpoken(step));
    case PlayHelpRole:
        return QStringLiteral("Play %1 Hz").arg(fixed(step.frequency, 2));
    case InScaleRole:
        return true;
    case LastRole:
        return index.row() == count - 1;
    default:
        return {};
    }
}

QHash<int, QByteArray> ScaleStepsModel::roleNames() const
{
    return {{LabelRole, "label"},
            {EndRole, "end"},
            {FrequencyRole, "frequency"},
            {RatioRole, "ratio"},
            {RatioCopyRole, "ratioCopy"},
            {CentsRole, "cents"},
            {NearestNoteRole, "nearestNote"},
            {NearestCentsRole, "nearestCents"},
            {NearestSpokenRole, "nearestSpoken"},
            {DeviationTintRole, "deviationTint"},
            {SoundingRole, "sounding"},
            {SpokenRole, "spoken"},
            {PlayHelpRole, "playHelp"},
            {InScaleRole, "inScale"},
            {LastRole, "last"}};
}
