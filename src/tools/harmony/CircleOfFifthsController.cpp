#include "tools/harmony/CircleOfFifthsController.h"

#include "tools/harmony/FifthsWheelGeometry.h"
#include "tools/pitch/NoteFrequency.h"

#include <QVariantMap>

using namespace morvela;

const QString CircleOfFifthsController::indexKey = QStringLiteral("fifthsSelectedIndex");
const QString CircleOfFifthsController::minorKey = QStringLiteral("fifthsMinorSelected");

namespace {

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

template <std::size_t N> QStringList qsList(const std::array<std::string, N>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list.append(qs(text));
    return list;
}

// A stored index: a whole number 0…11, whether the file gave it as a number or as text.
std::optional<std::int64_t> storedIndex(const QVariant& value)
{
    bool ok = value.typeId() != QMetaType::Bool;
    const qlonglong index = ok ? value.toLongLong(&ok) : 0;
    if (!ok || index < 0 || index > 11)
        return std::nullopt;
    return index;
}

// A stored flag: a boolean, or the text "true" or "false" the ini file holds it as. QVariant
// would read any other non-empty text as true.
std::optional<bool> storedFlag(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        if (value.toString() == QLatin1String("true"))
            return true;
        if (value.toString() == QLatin1String("false"))
            return false;
    }
    return std::nullopt;
}

} // namespace

CircleOfFifthsController::CircleOfFifthsController(QObject* parent) : QObject(parent)
{
    restoreSelection();
}

void CircleOfFifthsController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    m_calculator = calculator;
    Q_EMIT calculatorChanged();
}

// Anything but a valid pair (a hand-edited or corrupted file) opens C major.
void CircleOfFifthsController::restoreSelection()
{
    const std::optional<std::int64_t> index = storedIndex(m_windowState.value(indexKey, 0));
    const std::optional<bool> minor = storedFlag(m_windowState.value(minorKey, false));
    if (index && minor)
        m_selection = {*index, *minor};
}

QString CircleOfFifthsController::keyName() const
{
    return qs(m_selection.name());
}

QString CircleOfFifthsController::signature() const
{
    return qs(CircleOfFifths::signatureText(m_selection.slot().accidentals));
}

QString CircleOfFifthsController::relative() const
{
    return qs(m_selection.relative());
}

QString CircleOfFifthsController::dominant() const
{
    return qs(m_selection.dominant());
}

QString CircleOfFifthsController::subdominant() const
{
    return qs(m_selection.subdominant());
}

QString CircleOfFifthsController::longName() const
{
    return qs(m_selection.longName());
}

QString CircleOfFifthsController::signatureNotes() const
{
    QStringList notes;
    for (const std::string& note : CircleOfFifths::signatureNotes(m_selection.slot().accidentals))
        notes.append(qs(note));
    return notes.isEmpty() ? QStringLiteral("no accidentals") : notes.join(QStringLiteral("  "));
}

QStringList CircleOfFifthsController::scale() const
{
    return qsList(m_selection.scale());
}

QStringList CircleOfFifthsController::chords() const
{
    return qsList(m_selection.chords());
}

QStringList CircleOfFifthsController::numerals() const
{
    return qsList(m_selection.romanNumerals());
}

QVariantList CircleOfFifthsController::keySlots() const
{
    QVariantList list;
    for (std::int64_t i = 0; i < 12; ++i) {
        const KeySlot& slot = KeySelection{i, false}.slot();
        list.append(QVariantMap{
            {QStringLiteral("major"), qs(slot.major)},
            {QStringLiteral("minor"), qs(slot.minor)},
            {QStringLiteral("signature"), qs(CircleOfFifths::signatureText(slot.accidentals))},
            {QStringLiteral("majorName"), qs(KeySelection{i, false}.longName())},
            {QStringLiteral("minorName"), qs(KeySelection{i, true}.longName())},
        });
    }
    return list;
}

// First match wins: the selected key, its two neighbours in its own ring and its relative on
// the other ring (exactly four family segments), then the hovered one.
QList<int> CircleOfFifthsController::segmentTints() const
{
    QList<int> tints;
    const std::int64_t s = m_selection.index;
    for (bool minorRing : {false, true}) {
        for (std::int64_t i = 0; i < 12; ++i) {
            const std::int64_t distance = std::min((i - s + 12) % 12, (s - i + 12) % 12);
            const bool sameRing = minorRing == m_selection.isMinor;
            if (i == s && sameRing)
                tints.append(Selected);
            else if ((distance == 1 && sameRing) || i == s)
                tints.append(Family);
            else if (m_hoveredSegment == qs(FifthsWheelGeometry::Segment{i, minorRing}.id()))
                tints.append(Hovered);
            else
                tints.append(Plain);
        }
    }
    return tints;
}

void CircleOfFifthsController::select(int index, bool minor)
{
    m_selection = {CircleOfFifths::wrappedIndex(index), minor};
    m_windowState.setValue(indexKey, static_cast<int>(m_selection.index));
    m_windowState.setValue(minorKey, m_selection.isMinor);
    m_tintDuration = selectionAnimationMs;
    Q_EMIT selectionChanged();
    Q_EMIT segmentTintsChanged();
}

void CircleOfFifthsController::selectSegment(int index, bool minorRing)
{
    select(index, minorRing);
    playTonic(index, minorRing);
}

void CircleOfFifthsController::playTonic(int index, bool minor)
{
    const KeySelection::Triad triad = KeySelection{index, minor}.triad(0, a4());
    Sound::output().playTriad(triad.rootHz, triad.quality);
}

void CircleOfFifthsController::playDegree(int degree)
{
    playDegree(degree, {});
}

void CircleOfFifthsController::playDegree(int degree, SoundOutput::Instant at)
{
    const KeySelection::Triad triad = m_selection.triad(degree, a4());
    Sound::output().playTriad(triad.rootHz, triad.quality, at);
}

void CircleOfFifthsController::addDegree(int degree)
{
    if (!m_calculator)
        return;
    const auto d = static_cast<qint64>(KeySelection::clampedDegree(degree));
    m_calculator->setProgression(m_calculator->progression() << d);
    playDegree(degree);
}

void CircleOfFifthsController::hoverAt(double x, double y, double width, double height)
{
    const auto segment = FifthsWheelGeometry::segmentID(x, y, width, height);
    setHoveredSegment(segment ? qs(segment->id()) : QString());
}

void CircleOfFifthsController::hoverLeft()
{
    setHoveredSegment({});
}

bool CircleOfFifthsController::pressAt(double x, double y, double width, double height)
{
    const auto segment = FifthsWheelGeometry::segmentHit(x, y, width, height);
    if (segment)
        selectSegment(static_cast<int>(segment->index), segment->minorRing);
    return segment.has_value();
}

QString CircleOfFifthsController::segmentPath(int index, bool minorRing, double width, double height)
{
    return qs(FifthsWheelGeometry::segmentPath(index, minorRing, width, height));
}

QPointF CircleOfFifthsController::labelCentre(int index, bool minorRing, double width, double height)
{
    const FifthsWheelGeometry::Point centre =
        FifthsWheelGeometry::labelCentre(index, minorRing, width, height);
    return {centre.x, centre.y};
}

int CircleOfFifthsController::stepIndex(int index, int steps)
{
    return static_cast<int>(CircleOfFifths::wrappedIndex(std::int64_t{index} + steps));
}

QString CircleOfFifthsController::plainText(const QString& name)
{
    return qs(NoteFrequency::plainAccidentals(name.toStdString()));
}

double CircleOfFifthsController::a4() const
{
    return m_calculator ? m_calculator->a4() : 440.0;
}

void CircleOfFifthsController::setHoveredSegment(const QString& id)
{
    if (id == m_hoveredSegment)
        return;
    m_hoveredSegment = id;
    m_tintDuration = hoverAnimationMs;
    Q_EMIT hoveredSegmentChanged();
    Q_EMIT segmentTintsChanged();
}
