#include "ui/MorvelaTheme.h"

#include "platform/Appearance.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QQmlEngine>

namespace {
QColor rgba(float r, float g, float b, float a)
{
    return QColor::fromRgbF(r, g, b, a);
}
} // namespace

MorvelaTheme& MorvelaTheme::instance()
{
    static MorvelaTheme* theme = new MorvelaTheme;
    return *theme;
}

MorvelaTheme* MorvelaTheme::create(QQmlEngine*, QJSEngine*)
{
    QQmlEngine::setObjectOwnership(&instance(), QQmlEngine::CppOwnership);
    return &instance();
}

MorvelaTheme::MorvelaTheme()
{
    connect(&Appearance::instance(), &Appearance::darkChanged, this, &MorvelaTheme::appearanceChanged);
}

QColor MorvelaTheme::named(const QString& name) const
{
    static const QHash<QString, QColor> colours{
        {QStringLiteral("dusk"), dusk()},         {QStringLiteral("fern"), fern()},
        {QStringLiteral("lake"), lake()},         {QStringLiteral("teal"), teal()},
        {QStringLiteral("copper"), copper()},     {QStringLiteral("spruce"), spruce()},
        {QStringLiteral("lacquer"), lacquer()},   {QStringLiteral("saffron"), saffron()},
        {QStringLiteral("graphite"), graphite()}, {QStringLiteral("porcelain"), porcelain()},
    };
    return colours.value(name, QColor(Qt::transparent));
}

bool MorvelaTheme::dark() const
{
    return Appearance::instance().dark();
}

// The window and label colours of a classic desktop palette, light and dark.
QColor MorvelaTheme::windowBackground() const
{
    return dark() ? QColor(0x2a, 0x2a, 0x2c) : QColor(0xec, 0xec, 0xec);
}

QColor MorvelaTheme::primaryText() const
{
    return dark() ? rgba(1, 1, 1, 0.88f) : rgba(0, 0, 0, 0.86f);
}

QColor MorvelaTheme::secondaryText() const
{
    return dark() ? rgba(1, 1, 1, 0.56f) : rgba(0, 0, 0, 0.52f);
}

QColor MorvelaTheme::tertiaryText() const
{
    return dark() ? rgba(1, 1, 1, 0.32f) : rgba(0, 0, 0, 0.30f);
}

QColor MorvelaTheme::cardFill() const
{
    return dark() ? rgba(0.16f, 0.16f, 0.17f, 0.82f) : rgba(0.97f, 0.95f, 0.91f, 0.84f);
}

QColor MorvelaTheme::insetFill() const
{
    return dark() ? rgba(1, 1, 1, 0.045f) : rgba(1, 1, 1, 0.58f);
}

QColor MorvelaTheme::hairline() const
{
    return dark() ? rgba(1, 1, 1, 0.13f) : rgba(0, 0, 0, 0.08f);
}

QColor MorvelaTheme::sidebarFill() const
{
    return dark() ? rgba(0.12f, 0.12f, 0.13f, 0.92f) : rgba(0.93f, 0.91f, 0.86f, 0.86f);
}

QColor MorvelaTheme::divider() const
{
    return dark() ? rgba(1, 1, 1, 0.16f) : rgba(0, 0, 0, 0.14f);
}

QString MorvelaTheme::monoFamily() const
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

QString MorvelaTheme::roundedFamily() const
{
    // A rounded face where one is installed, else the application's own sans.
    const QStringList families = QFontDatabase::families();
    for (const char* rounded : {"Nunito", "Varela Round", "M PLUS Rounded 1c", "Quicksand"}) {
        if (families.contains(QLatin1String(rounded)))
            return QLatin1String(rounded);
    }
    return QGuiApplication::font().family();
}
