#pragma once

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The palette: ten named constant colours, and the text, surface and backdrop colours that
// follow the appearance (light or dark). Anything drawn reads these when it draws, so an
// appearance change reaches every surface at its next redraw.
class MorvelaTheme : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(QColor dusk READ dusk CONSTANT)
    Q_PROPERTY(QColor fern READ fern CONSTANT)
    Q_PROPERTY(QColor lake READ lake CONSTANT)
    Q_PROPERTY(QColor teal READ teal CONSTANT)
    Q_PROPERTY(QColor copper READ copper CONSTANT)
    Q_PROPERTY(QColor spruce READ spruce CONSTANT)
    Q_PROPERTY(QColor lacquer READ lacquer CONSTANT)
    Q_PROPERTY(QColor saffron READ saffron CONSTANT)
    Q_PROPERTY(QColor graphite READ graphite CONSTANT)
    Q_PROPERTY(QColor porcelain READ porcelain CONSTANT)

    Q_PROPERTY(bool dark READ dark NOTIFY appearanceChanged)
    Q_PROPERTY(QColor windowBackground READ windowBackground NOTIFY appearanceChanged)
    Q_PROPERTY(QColor primaryText READ primaryText NOTIFY appearanceChanged)
    Q_PROPERTY(QColor secondaryText READ secondaryText NOTIFY appearanceChanged)
    Q_PROPERTY(QColor tertiaryText READ tertiaryText NOTIFY appearanceChanged)
    Q_PROPERTY(QColor cardFill READ cardFill NOTIFY appearanceChanged)
    Q_PROPERTY(QColor insetFill READ insetFill NOTIFY appearanceChanged)
    Q_PROPERTY(QColor hairline READ hairline NOTIFY appearanceChanged)
    Q_PROPERTY(QColor sidebarFill READ sidebarFill NOTIFY appearanceChanged)
    Q_PROPERTY(QColor divider READ divider NOTIFY appearanceChanged)

    Q_PROPERTY(QString monoFamily READ monoFamily CONSTANT)
    Q_PROPERTY(QString roundedFamily READ roundedFamily CONSTANT)

public:
    static MorvelaTheme* create(class QQmlEngine*, class QJSEngine*);
    static MorvelaTheme& instance();

    static QColor dusk() { return QColor::fromRgbF(0.47f, 0.40f, 0.60f); }
    static QColor fern() { return QColor::fromRgbF(0.42f, 0.56f, 0.30f); }
    static QColor lake() { return QColor::fromRgbF(0.30f, 0.46f, 0.64f); }
    static QColor teal() { return QColor::fromRgbF(0.16f, 0.55f, 0.55f); }
    static QColor copper() { return QColor::fromRgbF(0.72f, 0.42f, 0.25f); }
    static QColor spruce() { return QColor::fromRgbF(0.12f, 0.31f, 0.28f); }
    static QColor lacquer() { return QColor::fromRgbF(0.68f, 0.14f, 0.13f); }
    static QColor saffron() { return QColor::fromRgbF(0.92f, 0.64f, 0.24f); }
    static QColor graphite() { return QColor::fromRgbF(0.12f, 0.12f, 0.14f); }
    static QColor porcelain() { return QColor::fromRgbF(0.95f, 0.92f, 0.86f); }

    // One of the ten colours by its name ("saffron"); transparent for any other name.
    Q_INVOKABLE QColor named(const QString& name) const;

    bool dark() const;
    QColor windowBackground() const;
    QColor primaryText() const;
    QColor secondaryText() const;
    QColor tertiaryText() const;
    QColor cardFill() const;
    QColor insetFill() const;
    QColor hairline() const;
    QColor sidebarFill() const;
    // A separator line; callers apply their own opacity on top.
    QColor divider() const;

    QString monoFamily() const;
    QString roundedFamily() const;

Q_SIGNALS:
    void appearanceChanged();

private:
    MorvelaTheme();
};
