#include "tools/harmony/CircleOfFifthsController.h"

#include "common/NumberText.h"
#include "platform/Services.h"
#include "platform/StateFiles.h"
#include "tools/harmony/FifthsWheelGeometry.h"
#include "tools/pitch/NoteFrequency.h"

#include <QVariantMap>

#include <algorithm>
#include <cmath>

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

} // namespace

CircleOfFifthsController::CircleOfFifthsController(QObject* parent) : QObject(parent)
{
    restoreSelection();
    // The loop's chips name their chords in the selected key.
    connect(this, &CircleOfFifthsController::selectionChanged, this, &CircleOfFifthsController::loopChanged);
}

CircleOfFifthsController::~CircleOfFifthsController()
{
    stopPlayback();
}

void CircleOfFifthsController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    // The loop belongs to the state it was started on.
    stopPlayback();
    if (m_calculator)
        disconnect(m_calculator, nullptr, this, nullptr);
    m_calculator = calculator;
    if (m_calculator) {
        for (auto signal : {&CalculatorState::progressionChanged, &CalculatorState::progressionPlayingChanged,
                            &CalculatorState::playingStepChanged})
            connect(m_calculator, signal, this, &CircleOfFifthsController::loopChanged);
        connect(m_calculator, &CalculatorState::bpmChanged, this, &CircleOfFifthsController::tempoChanged);
    }
    Q_EMIT calculatorChanged();
    Q_EMIT loopChanged();
    Q_EMIT tempoChanged();
}

// Anything but a valid pair (a hand-edited or corrupted file) opens C major.
void CircleOfFifthsController::restoreSelection()
{
    const std::optional<qint64> index = StateFiles::storedInteger(m_windowState.value(indexKey, 0), 0, 11);
    const std::optional<bool> minor = StateFiles::storedFlag(m_windowState.value(minorKey, false));
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

namespace {

std::optional<qint64> step(const CalculatorState& state)
{
    const QVariant step = state.playingStep();
    return step.isValid() ? std::optional<qint64>(step.toLongLong()) : std::nullopt;
}

} // namespace

QVariantList CircleOfFifthsController::loopChips() const
{
    QVariantList chips;
    if (!m_calculator)
        return chips;
    const QList<qint64> loop = m_calculator->progression();
    const qsizetype current = currentStep();
    const auto names = m_selection.chords();
    const auto& numerals = m_selection.romanNumerals();
    for (qsizetype i = 0; i < loop.size(); ++i) {
        const std::size_t d = KeySelection::clampedDegree(loop[i]);
        const QString chord = qs(names[d]);
        const QString numeral = qs(numerals[d]);
        const bool isCurrent = current == i;
        chips.append(QVariantMap{
            {QStringLiteral("chord"), chord},
            {QStringLiteral("numeral"), numeral},
            {QStringLiteral("current"), isCurrent},
            {QStringLiteral("accessibleName"),
             QStringLiteral("Chord %1 of %2, %3, %4").arg(i + 1).arg(loop.size()).arg(chord, numeral) +
                 (isCurrent ? QStringLiteral(", playing") : QString())},
        });
    }
    return chips;
}

bool CircleOfFifthsController::playing() const
{
    return m_calculator && m_calculator->progressionPlaying();
}

int CircleOfFifthsController::currentStep() const
{
    if (!playing())
        return -1;
    const std::optional<qint64> current = step(*m_calculator);
    return current && *current >= 0 && *current < m_calculator->progression().size()
               ? static_cast<int>(*current)
               : -1;
}

QString CircleOfFifthsController::tempoLabel() const
{
    const double bpm = m_calculator ? m_calculator->bpm() : 0.0;
    // Truncated toward zero, as a whole number of beats per minute.
    const double whole = std::isfinite(bpm) ? std::trunc(std::clamp(bpm, -1e15, 1e15)) : 0.0;
    return qs(formatFixed(whole, 0)) + QStringLiteral(" BPM · 2 beats/chord");
}

QStringList CircleOfFifthsController::presetNames() const
{
    QStringList names;
    for (const ProgressionPreset& preset : progressionPresets(m_selection.isMinor))
        names.append(qs(preset.name));
    return names;
}

double CircleOfFifthsController::period(double bpm)
{
    if (!(bpm > 20.0))
        return 6.0;
    return 120.0 / std::min(bpm, 400.0);
}

void CircleOfFifthsController::removeStep(int position)
{
    if (!m_calculator)
        return;
    QList<qint64> loop = m_calculator->progression();
    if (position < 0 || position >= loop.size())
        return;
    loop.removeAt(position);
    m_calculator->setProgression(loop);
    // The playing position stays: the next tick continues from it.
    if (loop.isEmpty())
        stopPlayback();
}

void CircleOfFifthsController::startPlayback()
{
    if (!m_calculator || m_calculator->progression().isEmpty() || (m_playTimer && m_playTimer->isActive()))
        return;
    m_calculator->setProgressionPlaying(true);
    m_calculator->setPlayingStep(qint64{0});
    // The first chord sounds at the instant the clock counts from, so the first period is as
    // long as the others.
    if (!m_playTimer)
        m_playTimer = Services::timers().makeRepeatingTimer();
    const double start = m_playTimer->start(std::chrono::duration<double>(period(m_calculator->bpm())),
                                            [this](double dueAt) { advancePlayback(dueAt); });
    playDegree(static_cast<int>(m_calculator->progression().first()), start);
}

void CircleOfFifthsController::advancePlayback(SoundOutput::Instant at)
{
    if (!m_calculator)
        return;
    const QList<qint64> loop = m_calculator->progression();
    if (loop.isEmpty()) {
        stopPlayback();
        return;
    }
    const qint64 next = (step(*m_calculator).value_or(-1) + 1) % loop.size();
    m_calculator->setPlayingStep(next);
    playDegree(static_cast<int>(loop[next]), at);
}

// The timer object is kept for the next start: this may run inside its own tick.
void CircleOfFifthsController::stopPlayback()
{
    if (m_playTimer)
        m_playTimer->invalidate();
    if (m_calculator && (m_calculator->progressionPlaying() || m_calculator->playingStep().isValid())) {
        m_calculator->setProgressionPlaying(false);
        m_calculator->setPlayingStep({});
    }
}

void CircleOfFifthsController::toggle()
{
    if (playing())
        stopPlayback();
    else
        startPlayback();
}

void CircleOfFifthsController::clear()
{
    stopPlayback();
    if (m_calculator)
        m_calculator->setProgression({});
}

void CircleOfFifthsController::loadPreset(int index)
{
    const auto& presets = progressionPresets(m_selection.isMinor);
    if (!m_calculator || index < 0 || index >= static_cast<int>(presets.size()))
        return;
    const auto& degrees = presets[static_cast<std::size_t>(index)].degrees;
    m_calculator->setProgression(QList<qint64>(degrees.begin(), degrees.end()));
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
