#include "tools/overtones/HarmonicSeriesController.h"

#include "common/NumberText.h"
#include "platform/Services.h"
#include "tools/pitch/NoteFrequency.h"

#include <algorithm>
#include <chrono>
#include <cmath>

using namespace morvela;

namespace {

std::optional<std::int64_t> stepOf(const QVariant& step)
{
    if (!step.isValid())
        return std::nullopt;
    return step.toLongLong();
}

} // namespace

HarmonicSeriesController::HarmonicSeriesController(QObject* parent) : QObject(parent) {}

HarmonicSeriesController::~HarmonicSeriesController()
{
    if (m_sweepTimer && m_sweepTimer->isActive())
        stopSweep();
}

void HarmonicSeriesController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    if (m_calculator) {
        if (m_sweepTimer && m_sweepTimer->isActive())
            stopSweep();
        disconnect(m_calculator, nullptr, this, nullptr);
    }
    m_calculator = calculator;
    if (m_calculator) {
        for (const auto signal : {&CalculatorState::overtonePitchClassChanged,
                                  &CalculatorState::overtoneOctaveChanged, &CalculatorState::a4Changed})
            connect(m_calculator, signal, this, &HarmonicSeriesController::onSeriesChanged);
        connect(m_calculator, &CalculatorState::overtonesEnabledChanged, this, [this] {
            refreshBars();
            Q_EMIT canPlayChanged();
        });
        connect(m_calculator, &CalculatorState::overtoneStepChanged, this,
                &HarmonicSeriesController::refreshBars);
    }
    Q_EMIT calculatorChanged();
    onSeriesChanged();
    Q_EMIT canPlayChanged();
}

// A Loader that drops a screen hides it and takes it out of the window at once but deletes it
// later, and by then the screen's own handlers no longer run: the sweep has to end here.
void HarmonicSeriesController::setScreen(QObject* object)
{
    auto* screen = qobject_cast<QQuickItem*>(object);
    if (screen == m_screen)
        return;
    if (m_screen)
        disconnect(m_screen, nullptr, this, nullptr);
    m_screen = screen;
    if (m_screen) {
        connect(m_screen, &QQuickItem::visibleChanged, this,
                &HarmonicSeriesController::onScreenShownOrHidden);
        connect(m_screen, &QQuickItem::parentChanged, this, &HarmonicSeriesController::onScreenShownOrHidden);
    }
    Q_EMIT screenChanged();
}

double HarmonicSeriesController::fundamental() const
{
    if (!m_calculator)
        return 0.0;
    return NoteFrequency::frequency(NoteFrequency::noteNumber(pitchClass(), octave()), m_calculator->a4());
}

std::vector<Harmonic> HarmonicSeriesController::series() const
{
    if (!m_calculator)
        return {};
    return harmonicSeries(fundamental(), m_calculator->a4(), harmonicCount);
}

QString HarmonicSeriesController::fundamentalText() const
{
    return QString::fromStdString(formatFixed(fundamental(), 2));
}

QString HarmonicSeriesController::fundamentalName() const
{
    return nameOf(1);
}

QString HarmonicSeriesController::thirdName() const
{
    return nameOf(3);
}

QString HarmonicSeriesController::thirdText() const
{
    return frequencyOf(3, 1);
}

QString HarmonicSeriesController::fifthName() const
{
    return nameOf(5);
}

QString HarmonicSeriesController::fifthText() const
{
    return frequencyOf(5, 1);
}

QStringList HarmonicSeriesController::noteNames()
{
    QStringList names;
    for (const std::string& name : NoteFrequency::names())
        names.append(QString::fromStdString(name));
    return names;
}

QStringList HarmonicSeriesController::octaveNames()
{
    QStringList names;
    for (qint64 octave = lowestOctave; octave <= highestOctave; ++octave)
        names.append(QStringLiteral("Octave %1").arg(octave));
    return names;
}

QString HarmonicSeriesController::noteName() const
{
    if (!m_calculator)
        return {};
    return QString::fromStdString(NoteFrequency::names()[static_cast<std::size_t>(pitchClass())]);
}

QString HarmonicSeriesController::octaveName() const
{
    if (!m_calculator)
        return {};
    return QStringLiteral("Octave %1").arg(octave());
}

bool HarmonicSeriesController::canPlay() const
{
    return !enabled().empty();
}

void HarmonicSeriesController::choosePitchClass(int pitchClass)
{
    if (m_calculator)
        m_calculator->setOvertonePitchClass(std::clamp(pitchClass, 0, 11));
}

void HarmonicSeriesController::chooseOctave(int octave)
{
    if (m_calculator)
        m_calculator->setOvertoneOctave(std::clamp<qint64>(octave, lowestOctave, highestOctave));
}

void HarmonicSeriesController::enableAll()
{
    if (m_calculator) {
        const std::vector<std::int64_t> all = HarmonicSelection::all();
        m_calculator->setOvertonesEnabled(QList<qint64>(all.begin(), all.end()));
    }
}

void HarmonicSeriesController::enableMajorTriad()
{
    if (m_calculator) {
        const std::vector<std::int64_t> triad = HarmonicSelection::majorTriad();
        m_calculator->setOvertonesEnabled(QList<qint64>(triad.begin(), triad.end()));
    }
}

void HarmonicSeriesController::toggleHarmonic(int number)
{
    if (!m_calculator || number < 1 || number > harmonicCount)
        return;
    const std::vector<std::int64_t> toggled = HarmonicSelection::toggled(enabled(), number);
    m_calculator->setOvertonesEnabled(QList<qint64>(toggled.begin(), toggled.end()));
    sound(fundamental() * number, {});
}

void HarmonicSeriesController::playChord()
{
    const double f0 = fundamental();
    const std::vector<Partial> partials = harmonicSum(f0, enabled());
    if (!partials.empty() && std::isfinite(f0) && f0 > 0.0)
        Sound::output().playPartials(partials);
}

void HarmonicSeriesController::startSweep()
{
    if (!m_calculator || (m_sweepTimer && m_sweepTimer->isActive()))
        return;
    m_calculator->setOvertoneSweeping(true);
    m_calculator->setOvertoneStep(qint64(1));
    if (!m_sweepTimer)
        m_sweepTimer = Services::timers().makeRepeatingTimer();
    const double start = m_sweepTimer->start(std::chrono::duration<double>(sweepInterval),
                                             [this](double dueAt) { advanceSweep(dueAt); });
    // The first harmonic sounds at the instant the clock counts from.
    sound(fundamental(), start);
}

void HarmonicSeriesController::advanceSweep(SoundOutput::Instant at)
{
    if (!m_calculator)
        return;
    const std::int64_t next = std::max<std::int64_t>(stepOf(m_calculator->overtoneStep()).value_or(0), 0) + 1;
    if (next > harmonicCount) {
        stopSweep();
        return;
    }
    m_calculator->setOvertoneStep(qint64(next));
    sound(fundamental() * static_cast<double>(next), at);
}

// The timer object is kept for the next sweep: this may run inside its own tick.
void HarmonicSeriesController::stopSweep()
{
    if (m_sweepTimer)
        m_sweepTimer->invalidate();
    if (m_calculator) {
        m_calculator->setOvertoneSweeping(false);
        m_calculator->setOvertoneStep(QVariant());
    }
}

void HarmonicSeriesController::toggleSweep()
{
    if (m_calculator && m_calculator->overtoneSweeping())
        stopSweep();
    else
        startSweep();
}

void HarmonicSeriesController::copyFrequency(int number) const
{
    if (const std::optional<Harmonic> found = harmonic(number))
        Services::clipboard().setText(QString::fromStdString(formatFixed(found->frequency, 2)));
}

void HarmonicSeriesController::copyNoteName(int number) const
{
    if (const std::optional<Harmonic> found = harmonic(number))
        Services::clipboard().setText(QString::fromStdString(found->noteName));
}

// The pickers keep note and octave in range; a stray value from elsewhere is read as the
// nearest one they offer.
qint64 HarmonicSeriesController::pitchClass() const
{
    return m_calculator ? std::clamp<qint64>(m_calculator->overtonePitchClass(), 0, 11) : 0;
}

qint64 HarmonicSeriesController::octave() const
{
    return m_calculator ? std::clamp(m_calculator->overtoneOctave(), lowestOctave, highestOctave)
                        : lowestOctave;
}

std::vector<std::int64_t> HarmonicSeriesController::enabled() const
{
    if (!m_calculator)
        return {};
    const QList<qint64> numbers = m_calculator->overtonesEnabled();
    return HarmonicSelection::normalized(std::vector<std::int64_t>(numbers.begin(), numbers.end()));
}

std::optional<Harmonic> HarmonicSeriesController::harmonic(std::int64_t number) const
{
    const std::vector<Harmonic> harmonics = series();
    if (number < 1 || number > static_cast<std::int64_t>(harmonics.size()))
        return std::nullopt;
    return harmonics[static_cast<std::size_t>(number - 1)];
}

QString HarmonicSeriesController::nameOf(std::int64_t number) const
{
    const std::optional<Harmonic> found = harmonic(number);
    return found ? QString::fromStdString(found->noteName) : QString();
}

QString HarmonicSeriesController::frequencyOf(std::int64_t number, int decimals) const
{
    const std::optional<Harmonic> found = harmonic(number);
    return found ? QString::fromStdString(formatFixed(found->frequency, decimals)) : QString();
}

// A one-off sound (a bar) starts as soon as possible; the sweep's tones start at their instants on
// the loop clock.
void HarmonicSeriesController::sound(double hz, SoundOutput::Instant at) const
{
    if (std::isfinite(hz) && hz > 0.0)
        Sound::output().playTone(hz, at);
}

void HarmonicSeriesController::onScreenShownOrHidden()
{
    if (m_screen && (!m_screen->isVisible() || !m_screen->parentItem()) && m_sweepTimer &&
        m_sweepTimer->isActive())
        stopSweep();
}

void HarmonicSeriesController::onSeriesChanged()
{
    refreshBars();
    Q_EMIT seriesChanged();
}

void HarmonicSeriesController::refreshBars()
{
    m_bars.update(series(), enabled(), m_calculator ? stepOf(m_calculator->overtoneStep()) : std::nullopt);
}
