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

std::optional<int> storedInt(const WindowState& store, const QString& key)
{
    bool ok = false;
    const int value = store.value(key).toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
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

void WindowPlacement::restoreAndShow()
{
    if (!m_window)
        return;
    const QSize minimum = m_window->minimumSize();
    const QSize size = QSize(storedInt(m_store, kWidth).value_or(m_window->width()),
                             storedInt(m_store, kHeight).value_or(m_window->height()))
                           .expandedTo(minimum);
    const auto x = storedInt(m_store, kX);
    const auto y = storedInt(m_store, kY);
    if (x && y) {
        QList<QRect> screens;
        if (QScreen* primary = QGuiApplication::primaryScreen())
            screens.append(primary->availableGeometry());
        for (QScreen* screen : QGuiApplication::screens()) {
            if (screen != QGuiApplication::primaryScreen())
                screens.append(screen->availableGeometry());
        }
        m_window->setGeometry(placed(QRect(QPoint(*x, *y), size), screens, minimum));
    } else {
        m_window->resize(size);
    }
    if (m_store.value(kMaximized, false).toBool())
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
