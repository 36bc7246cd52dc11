#include "tools/tempo/BPMControlsController.h"

#include "tools/tempo/Tempo.h"

#include <QKeyEvent>

using namespace morvela;

BPMControlsController::BPMControlsController(QObject* parent)
    : QObject(parent), m_clock([] { return std::chrono::steady_clock::now(); })
{
}

void BPMControlsController::setCalculator(CalculatorState* calculator)
{
    if (calculator == m_calculator)
        return;
    if (m_calculator)
        disconnect(m_calculator, nullptr, this, nullptr);
    m_calculator = calculator;
    if (m_calculator)
        connect(m_calculator, &CalculatorState::bpmChanged, this, &BPMControlsController::onBpmChanged);
    Q_EMIT calculatorChanged();
    Q_EMIT stepLimitsChanged();
}

void BPMControlsController::setWindow(QQuickWindow* window)
{
    if (window == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = window;
    if (m_window)
        m_window->installEventFilter(this);
    Q_EMIT windowChanged();
}

double BPMControlsController::minimum()
{
    return Tempo::controlMinimum;
}

double BPMControlsController::maximum()
{
    return Tempo::controlMaximum;
}

bool BPMControlsController::canStepUp() const
{
    return m_calculator && Tempo::steppedBpm(m_calculator->bpm(), 1) != m_calculator->bpm();
}

bool BPMControlsController::canStepDown() const
{
    return m_calculator && Tempo::steppedBpm(m_calculator->bpm(), -1) != m_calculator->bpm();
}

void BPMControlsController::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void BPMControlsController::commitText()
{
    if (!m_calculator)
        return;
    const double committed = Tempo::commitBpmText(m_calculator->bpmText().toStdString(), m_calculator->bpm());
    if (committed != m_calculator->bpm())
        m_calculator->setBpm(committed); // which rewrites the text
    else
        syncTextFromValue();
}

void BPMControlsController::syncTextFromValue()
{
    if (m_calculator)
        m_calculator->setBpmText(QString::fromStdString(Tempo::bpmText(m_calculator->bpm())));
}

void BPMControlsController::tap()
{
    if (!m_calculator)
        return;
    if (const std::optional<double> tempo = m_tapTempo.tap(m_clock()))
        m_calculator->setBpm(*tempo);
}

void BPMControlsController::writeSlider(double value)
{
    if (m_calculator)
        m_calculator->setBpm(Tempo::sliderBpm(value));
}

void BPMControlsController::step(int steps)
{
    if (!m_calculator)
        return;
    const double stepped = Tempo::steppedBpm(m_calculator->bpm(), steps);
    if (stepped != m_calculator->bpm())
        m_calculator->setBpm(stepped);
}

void BPMControlsController::onBpmChanged()
{
    syncTextFromValue();
    Q_EMIT stepLimitsChanged();
}

// Space taps before any item sees the key: a focused text field would otherwise take it as
// typing (it claims printable keys ahead of shortcuts) and a focused button as a click. A
// space is never part of a tempo, so the field loses nothing. Held down, the key taps once.
bool BPMControlsController::eventFilter(QObject* watched, QEvent* event)
{
    // The type first: the window filters its own destruction too, when m_window no longer
    // points to a whole QQuickWindow and must not be read.
    if ((event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease) && watched == m_window) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
                tap();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
