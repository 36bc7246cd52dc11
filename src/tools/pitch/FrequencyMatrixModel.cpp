#include "tools/pitch/FrequencyMatrixModel.h"

#include "common/NumberText.h"
#include "tools/pitch/NoteFrequency.h"

#include <QStringList>

using namespace morvela;

namespace {

constexpr std::int64_t pitchClassOfA = 9;

} // namespace

FrequencyMatrixModel::FrequencyMatrixModel(QObject* parent) : QAbstractListModel(parent) {}

void FrequencyMatrixModel::setA4(double a4)
{
    m_a4 = a4;
    Q_EMIT dataChanged(index(0), index(rowCount() - 1), {FrequenciesRole});
}

int FrequencyMatrixModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(NoteFrequency::names().size());
}

QVariant FrequencyMatrixModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const std::int64_t pitchClass = index.row();
    const std::string& name = NoteFrequency::names()[static_cast<std::size_t>(pitchClass)];
    switch (role) {
    case NameRole:
        return QString::fromStdString(name);
    case SharpRole:
        return name.find('#') != std::string::npos;
    case NotesRole: {
        QStringList notes;
        for (const std::int64_t octave : NoteFrequency::octaves())
            notes.append(QString::fromStdString(name + std::to_string(octave)));
        return notes;
    }
    case FrequenciesRole: {
        QStringList frequencies;
        for (const std::int64_t octave : NoteFrequency::octaves()) {
            const double hz = NoteFrequency::frequency(NoteFrequency::noteNumber(pitchClass, octave), m_a4);
            frequencies.append(QString::fromStdString(formatFixed(hz, 1)));
        }
        return frequencies;
    }
    case ReferenceRole:
        return pitchClass == pitchClassOfA;
    default:
        return {};
    }
}

QHash<int, QByteArray> FrequencyMatrixModel::roleNames() const
{
    return {{NameRole, "name"},
            {SharpRole, "sharp"},
            {NotesRole, "notes"},
            {FrequenciesRole, "frequencies"},
            {ReferenceRole, "reference"}};
}
