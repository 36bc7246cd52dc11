#include "app/WindowPlacement.h"

#include "platform/Services.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <chrono>

namespace {

constexpr std::chrono::milliseconds kSettleDelay{500};
// The part of the window that must lie on a screen for a remembered position to be used:
// the top strip where the title bar is grabbed, at least this wide and half this tall.
constexpr int kTitleHeight = 32;
constexpr int kGripWidth = 160;

const QString kX = QStringLiteral("window/x");
const QString kY = QStringLiteral("window/y");
const QString kWidth = QStringLiteral("window/width");
const QString kHeight = QStringLiteral("window/height");
const QString kMaximized = QStringLiteral("window/maximized");

// Window system coordinates are 16-bit; anything outside is not a geometry this application
// wrote (and would overflow QRect's arithmetic further on).
constexpr int kCoordinateLimit = 32767;

std::optional<int> storedInt(const WindowState& store, const QString& key, int minimum)
{
    const auto value = StateFiles::storedInteger(store.value(key), minimum, kCoordinateLimit);
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

bool titleOnScreen(const QRect& window, const QRect& screen)
{
    const QRect grip = QRect(window.x(), window.y(), window.width(), kTitleHeight) & screen;
    return grip.height() >= kTitleHeight / 2 && grip.width() >= std::min(kGripWidth, window.width());
}

} // namespace

WindowPlacement::WindowPlacement(QObject* parent)
    : QObject(parent), m_settle(Services::timers().makeDelayedAction())
{
}

WindowPlacement::~WindowPlacement()
{
    // Quitting destroys the window without closing it first.
    writeGeometry();
}

void WindowPlacement::setWindow(QWindow* window)
{
    if (window == m_window)
        return;
    if (m_window)
        disconnect(m_window, nullptr, this, nullptr);
    m_window = window;
    if (window) {
        connect(window, &QWindow::xChanged, this, &WindowPlacement::geometryChanged);
        connect(window, &QWindow::yChanged, this, &WindowPlacement::geometryChanged);
        connect(window, &QWindow::widthChanged, this, &WindowPlacement::geometryChanged);
        connect(window, &QWindow::heightChanged, this, &WindowPlacement::geometryChanged);
        connect(window, &QWindow::windowStateChanged, this, &WindowPlacement::stateChanged);
        connect(window, &QWindow::visibleChanged, this, [this](bool visible) {
            if (!visible)
                writeGeometry();
        });
    }
    Q_EMIT windowChanged();
}

QRect WindowPlacement::placed(const QRect& remembered, const QList<QRect>& screens, const QSize& minimum)
{
    if (screens.isEmpty() || std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
            return titleOnScreen(remembered, screen);
        }))
        return remembered;
    const QRect& primary = screens.first();
    const QSize size = remembered.size().boundedTo(primary.size()).expandedTo(minimum);
    const int x = primary.x() + (primary.width() - size.width()) / 2;
    const int y = primary.y() + (primary.height() - size.height()) / 2;
    return QRect(QPoint(std::max(x, primary.x()), std::max(y, primary.y())), size);
}

WindowPlacement::Restored WindowPlacement::restored(const WindowState& store, const QSize& initial,
                                                   const QSize& minimum, const QList<QRect>& screens)
{
    Restored result;
    result.size = QSize(storedInt(store, kWidth, 1).value_or(initial.width()),
                        storedInt(store, kHeight, 1).value_or(initial.height()))
                      .expandedTo(minimum);
    const auto x = storedInt(store, kX, -kCoordinateLimit);
    const auto y = storedInt(store, kY, -kCoordinateLimit);
    if (x && y)
        result.geometry = placed(QRect(QPoint(*x, *y), result.size), screens, minimum);
    result.maximized = StateFiles::storedFlag(store.value(kMaximized)).value_or(false);
    return result;
}

void WindowPlacement::restoreAndShow()
{
    if (!m_window)
        return;
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        screens.append(primary->availableGeometry());
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != QGuiApplication::primaryScreen())
            screens.append(screen->availableGeometry());
    }
    const Restored restored = WindowPlacement::restored(m_store, m_window->size(), m_window->minimumSize(), screens);
    if (restored.geometry)
        m_window->setGeometry(*restored.geometry);
    else
        m_window->resize(restored.size);
    if (restored.maximized)
        m_window->showMaximized();
    else
        m_window->show();
    m_following = true;
}

void WindowPlacement::geometryChanged()
{
    // Only a plain window's geometry is remembered, not a maximised one's.
    if (!m_following || !m_window || m_window->windowState() != Qt::WindowNoState)
        return;
    m_pending = m_window->geometry();
    m_settle->arm(kSettleDelay, [this] { writeGeometry(); });
}

void WindowPlacement::stateChanged(Qt::WindowState state)
{
    // Closing (hiding) leaves the window state alone; a minimised or full-screen window says
    // nothing about how it should come back.
    if (m_following && state != Qt::WindowMinimized && state != Qt::WindowFullScreen)
        m_store.setValue(kMaximized, state == Qt::WindowMaximized);
}

void WindowPlacement::writeGeometry()
{
    m_settle->cancel();
    if (!m_pending)
        return;
    const QRect geometry = *m_pending;
    m_pending.reset();
    m_store.setValues(
        {{kX, geometry.x()}, {kY, geometry.y()}, {kWidth, geometry.width()}, {kHeight, geometry.height()}});
}
