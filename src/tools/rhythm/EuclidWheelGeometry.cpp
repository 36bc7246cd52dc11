#include "tools/rhythm/EuclidWheelGeometry.h"

#include <QtMath>

#include <algorithm>

void EuclidWheelGeometry::setWidth(qreal width)
{
    if (width == m_width)
        return;
    m_width = width;
    Q_EMIT geometryChanged();
    Q_EMIT pointsChanged();
}

void EuclidWheelGeometry::setHeight(qreal height)
{
    if (height == m_height)
        return;
    m_height = height;
    Q_EMIT geometryChanged();
    Q_EMIT pointsChanged();
}

void EuclidWheelGeometry::setPattern(const QVariantList& pattern)
{
    // The pattern is handed over again on every write of a pattern field; an unchanged cycle
    // leaves the drawing alone.
    if (pattern == m_pattern)
        return;
    m_pattern = pattern;
    Q_EMIT patternChanged();
    Q_EMIT pointsChanged();
}

qreal EuclidWheelGeometry::ringRadius() const
{
    return std::min(m_width, m_height) * 0.5 - 36.0;
}

qreal EuclidWheelGeometry::dotDiameter() const
{
    const int n = count();
    return n <= 8 ? 34.0 : n <= 12 ? 30.0 : 26.0;
}

QPointF EuclidWheelGeometry::stepCentre(int step) const
{
    const qreal angle = qDegreesToRadians(static_cast<qreal>(step) / count() * 360.0 - 90.0);
    return centre() + ringRadius() * QPointF(std::cos(angle), std::sin(angle));
}

QVariantList EuclidWheelGeometry::points() const
{
    QVariantList list;
    for (int step = 0; step < count(); ++step)
        list.append(stepCentre(step));
    return list;
}

QVariantList EuclidWheelGeometry::polygon() const
{
    QVariantList outline;
    for (int step = 0; step < count(); ++step) {
        if (m_pattern[step].toBool())
            outline.append(stepCentre(step));
    }
    if (outline.size() < 2)
        return {};
    outline.append(outline.first());
    return outline;
}
