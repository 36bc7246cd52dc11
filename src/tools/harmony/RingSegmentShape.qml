pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Shapes

// One annular sector of the fifths wheel, drawn from the outline its controller computes.
Shape {
    id: shape
    antialiasing: true
    property string outline
    property color fillColor
    property color strokeColor
    property real strokeWidth: 1

    ShapePath {
        fillColor: shape.fillColor
        strokeColor: shape.strokeColor
        strokeWidth: shape.strokeWidth
        joinStyle: ShapePath.RoundJoin

        PathSvg {
            path: shape.outline
        }
    }
}
