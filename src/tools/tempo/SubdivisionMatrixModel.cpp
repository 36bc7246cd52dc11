#include "tools/tempo/SubdivisionMatrixModel.h"

#include "common/NumberText.h"
#include "tools/tempo/NoteDivisions.h"
#include "tools/tempo/Tempo.h"

using namespace morvela;

namespace {

QString twoDecimals(double value)
{
    return QString::fromStdString(formatFixed(value, 2));
}

} // namespace

SubdivisionMatrixModel::SubdivisionMatrixModel(QObject* parent) : QAbstractListModel(parent) {}

void SubdivisionMatrixModel::setBpm(double bpm)
{
    m_bpm = bpm;
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0), index(rowCount() - 1),
                           {StraightRole, DottedRole, TripletRole, RateHzRole});
}

int SubdivisionMatrixModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(NoteDivisions::all().size());
}

QVariant SubdivisionMatrixModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    const std::int64_t n = NoteDivisions::all()[row].denominator;
    switch (role) {
    case NoteRole:
        return QStringLiteral("1/%1").arg(n);
    case StraightRole:
        return twoDecimals(Tempo::straight(m_bpm, n));
    case DottedRole:
        return twoDecimals(Tempo::dotted(m_bpm, n));
    case TripletRole:
        return twoDecimals(Tempo::triplet(m_bpm, n));
    case RateHzRole:
        return twoDecimals(Tempo::rateHz(m_bpm, n));
    case ReferenceRole:
        return row == NoteDivisions::referenceIndex;
    default:
        return {};
    }
}

QHash<int, QByteArray> SubdivisionMatrixModel::roleNames() const
{
    return {{NoteRole, "note"},       {StraightRole, "straight"}, {DottedRole, "dotted"},
            {TripletRole, "triplet"}, {RateHzRole, "rateHz"},     {ReferenceRole, "reference"}};
}
