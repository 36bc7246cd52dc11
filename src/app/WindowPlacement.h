#pragma once

#include "platform/DelayedAction.h"
#include "platform/StateFiles.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QWindow>
#include <QtQml/qqmlregistration.h>

#include <memory>
#include <optional>

// Brings the main window back where it was and remembers where it goes. The plain (not
// maximised) geometry is written once it has settled, half a second after the last move or
// resize, and when the window closes: never once per move event. The maximised flag is
// written when it changes.
class WindowPlacement : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QWindow* window READ window WRITE setWindow NOTIFY windowChanged)

public:
    explicit WindowPlacement(QObject* parent = nullptr);
    ~WindowPlacement() override;

    QWindow* window() const { return m_window; }
    void setWindow(QWindow* window);

    // Gives the window its remembered size, and its remembered position when that is on a
    // present screen, then shows it (maximised when it was). Changes are followed from then on.
    Q_INVOKABLE void restoreAndShow();

    // Where a window remembered at `remembered` opens, given the screens' available areas
    // (the primary one first): where it was when a grip of its title area lies on one of them;
    // otherwise centred on the primary screen at the remembered size, shrunk to fit that
    // screen but never below `minimum`, its top left never off the screen.
    static QRect placed(const QRect& remembered, const QList<QRect>& screens, const QSize& minimum);

    // What restoreAndShow() gives a window of size `initial`, from what `store` holds: the
    // remembered size (never below `minimum`), the geometry placed() makes of it when a position
    // is remembered, and whether it opens maximised. Values that are missing, of another type
    // or outside the window system's coordinate range count as not remembered.
    struct Restored {
        QSize size;
        std::optional<QRect> geometry;
        bool maximized = false;
    };
    static Restored restored(const WindowState& store, const QSize& initial, const QSize& minimum,
                             const QList<QRect>& screens);

Q_SIGNALS:
    void windowChanged();

private:
    void geometryChanged();
    void stateChanged(Qt::WindowState state);
    void writeGeometry();

    QPointer<QWindow> m_window;
    WindowState m_store;
    std::unique_ptr<DelayedAction> m_settle;
    // The latest plain geometry not yet written.
    std::optional<QRect> m_pending;
    bool m_following = false;
};
