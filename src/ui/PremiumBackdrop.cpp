#include "ui/PremiumBackdrop.h"

#include "ui/MorvelaTheme.h"

#include <QLinearGradient>
#include <QPainter>

PremiumBackdrop::PremiumBackdrop(QQuickItem* parent) : QQuickPaintedItem(parent)
{
    setAntialiasing(true);
    connect(&MorvelaTheme::instance(), &MorvelaTheme::appearanceChanged, this, [this] { update(); });
    connect(this, &QQuickItem::widthChanged, this, [this] { update(); });
    connect(this, &QQuickItem::heightChanged, this, [this] { update(); });
}

std::vector<QLineF> PremiumBackdrop::hairlines(qreal width, qreal height)
{
    std::vector<QLineF> lines;
    for (qreal x = -height; x < width; x += 92)
        lines.emplace_back(x, height, x + height, 0);
    return lines;
}

void PremiumBackdrop::paint(QPainter* painter)
{
    const MorvelaTheme& theme = MorvelaTheme::instance();
    const QRectF area = boundingRect();
    const bool dark = theme.dark();
    auto faded = [](QColor colour, qreal opacity) {
        colour.setAlphaF(opacity);
        return colour;
    };

    painter->fillRect(area, theme.windowBackground());

    QLinearGradient gradient(area.topLeft(), area.bottomRight());
    if (dark) {
        gradient.setColorAt(0.0, MorvelaTheme::graphite());
        gradient.setColorAt(0.5, faded(MorvelaTheme::spruce(), 0.62));
        gradient.setColorAt(1.0, theme.windowBackground());
    } else {
        gradient.setColorAt(0.0, theme.windowBackground());
        gradient.setColorAt(0.5, faded(MorvelaTheme::porcelain(), 0.84));
        gradient.setColorAt(1.0, faded(MorvelaTheme::teal(), 0.14));
    }
    painter->fillRect(area, gradient);

    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(
        QPen(dark ? faded(MorvelaTheme::saffron(), 0.055) : faded(MorvelaTheme::spruce(), 0.045), 1.0));
    const std::vector<QLineF> lines = hairlines(area.width(), area.height());
    painter->drawLines(lines.data(), static_cast<int>(lines.size()));
}
