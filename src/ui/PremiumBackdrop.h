#pragma once

#include <QLineF>
#include <QQuickPaintedItem>
#include <QtQml/qqmlregistration.h>

#include <vector>

// The decoration behind the whole window: the window colour, a corner-to-corner gradient and
// a field of 45° hairlines 92 points apart, recomputed for every size.
class PremiumBackdrop : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT

public:
    explicit PremiumBackdrop(QQuickItem* parent = nullptr);
    void paint(QPainter* painter) override;

    // The hairlines of a w × h backdrop: from (x, h) to (x + h, 0) for x = −h, −h + 92, … < w.
    static std::vector<QLineF> hairlines(qreal width, qreal height);
};
