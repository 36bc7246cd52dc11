#pragma once

#include <QObject>
#include <QPointF>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

// Where the wheel draws a cycle of `count` steps in a width × height box: the step centres on a
// ring of radius min(width, height) / 2 − 36 round the box's centre, step 0 at the top and the
// others clockwise; the size of a step dot for the step count; and the closed outline through
// the hits in step order (empty with fewer than two hits, nothing to join).
class EuclidWheelGeometry : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(qreal width READ width WRITE setWidth NOTIFY geometryChanged)
    Q_PROPERTY(qreal height READ height WRITE setHeight NOTIFY geometryChanged)
    // The cycle, true for a hit.
    Q_PROPERTY(QVariantList pattern READ pattern WRITE setPattern NOTIFY patternChanged)
    Q_PROPERTY(int count READ count NOTIFY patternChanged)
    Q_PROPERTY(QPointF centre READ centre NOTIFY geometryChanged)
    Q_PROPERTY(qreal ringRadius READ ringRadius NOTIFY geometryChanged)
    Q_PROPERTY(qreal dotDiameter READ dotDiameter NOTIFY patternChanged)
    // Step centres (QPointF), one per step.
    Q_PROPERTY(QVariantList points READ points NOTIFY pointsChanged)
    // The hit outline: the hit centres in step order and the first again, or empty.
    Q_PROPERTY(QVariantList polygon READ polygon NOTIFY pointsChanged)

public:
    using QObject::QObject;

    qreal width() const { return m_width; }
    void setWidth(qreal width);
    qreal height() const { return m_height; }
    void setHeight(qreal height);
    QVariantList pattern() const { return m_pattern; }
    void setPattern(const QVariantList& pattern);
    int count() const { return static_cast<int>(m_pattern.size()); }
    QPointF centre() const { return {m_width / 2, m_height / 2}; }
    qreal ringRadius() const;
    qreal dotDiameter() const;
    QVariantList points() const;
    QVariantList polygon() const;

    QPointF stepCentre(int step) const;

Q_SIGNALS:
    void geometryChanged();
    void patternChanged();
    void pointsChanged();

private:
    qreal m_width = 0;
    qreal m_height = 0;
    QVariantList m_pattern;
};
