#include "tools/tempo/BPMControlsController.h"

#include "tools/tempo/Tempo.h"

#include <QKeyEvent>

using namespace morvela;

BPMControlsController::BPMControlsController(QObject* parent)
    : QObject(parent), m_clock([] { return std::chrono::steady_clock::now(); })
{
}

void BPMControlsController::setState(CalculatorState* state)
{
    if (state == m_state)
        return;
    if (m_state)
        disconnect(m_state, nullptr, this, nullptr);
    m_state = state;
    if (m_state)
        connect(m_state, &CalculatorState::bpmChanged, this, &BPMControlsController::onBpmChanged);
    Q_EMIT stateChanged();
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
    return m_state && Tempo::steppedBpm(m_state->bpm(), 1) != m_state->bpm();
}

bool BPMControlsController::canStepDown() const
{
    return m_state && Tempo::steppedBpm(m_state->bpm(), -1) != m_state->bpm();
}

void BPMControlsController::setClock(Clock clock)
{
    m_clock = std::move(clock);
}

void BPMControlsController::commitText()
{
    if (!m_state)
        return;
    const double committed = Tempo::commitBpmText(m_state->bpmText().toStdString(), m_state->bpm());
    if (committed != m_state->bpm())
        m_state->setBpm(committed); // which rewrites the text
    else
        syncTextFromValue();
}

void BPMControlsController::syncTextFromValue()
{
    if (m_state)
        m_state->setBpmText(QString::fromStdString(Tempo::bpmText(m_state->bpm())));
}

void BPMControlsController::tap()
{
    if (!m_state)
        return;
    if (const std::optional<double> tempo = m_tapTempo.tap(m_clock()))
        m_state->setBpm(*tempo);
}

void BPMControlsController::writeSlider(double value)
{
    if (m_state)
        m_state->setBpm(Tempo::sliderBpm(value));
}

void BPMControlsController::step(int steps)
{
    if (!m_state)
        return;
    const double stepped = Tempo::steppedBpm(m_state->bpm(), steps);
    if (stepped != m_state->bpm())
        m_state->setBpm(stepped);
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
    if (watched == m_window && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
            if (event->type() == QEvent::KeyPress && !key->isAutoRepeat())
                tap();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
