import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Shapes
import Morvela

// The pattern wheel: a ring of step dots round a guide circle, step 0 at the top and the cycle
// clockwise, the hits filled and joined into a polygon, the sounding step ringed in saffron,
// and a badge in the middle. Each dot is a button a screen reader can press ("Step 4, hit")
// that sounds its step; from the keyboard, Tab enters the wheel, the arrows walk round it and
// Space or Return presses the dot. While the loop plays only the ring and the two dots it
// leaves and reaches change.
FocusScope {
    id: wheel
    property var pattern: []
    // The step sounding now, -1 for none.
    property int currentStep: -1
    property color accent: MorvelaTheme.fern
    property string title
    property string subtitle
    // What a screen reader reads for the whole wheel, e.g. "E(3,8): x..x..x.".
    property string accessibleName
    property int focusedStep: 0
    signal stepPressed(int step)

    readonly property alias geometry: geometry
    readonly property int stepCount: geometry.count
    readonly property color guideColor: MorvelaTheme.dark ? Qt.rgba(1, 1, 1, 0.13) : Qt.rgba(0, 0, 0, 0.08)

    implicitWidth: 430
    implicitHeight: 430
    activeFocusOnTab: true
    Accessible.role: Accessible.Grouping
    Accessible.name: accessibleName
    onStepCountChanged: {
        if (focusedStep >= stepCount)
            focusedStep = 0
    }

    EuclidWheelGeometry {
        id: geometry
        width: wheel.width
        height: wheel.height
        pattern: wheel.pattern
    }

    Rectangle {
        objectName: "guideCircle"
        x: geometry.centre.x - geometry.ringRadius
        y: geometry.centre.y - geometry.ringRadius
        width: 2 * geometry.ringRadius
        height: width
        radius: width / 2
        color: "transparent"
        border.width: 1
        border.color: wheel.guideColor
    }

    Shape {
        id: hitPolygon
        objectName: "hitPolygon"
        anchors.fill: parent
        visible: geometry.polygon.length > 0
        // Smooth edges on a hardware scene graph. The software one paints shapes smoothly by
        // itself, and its layers keep the first outline drawn.
        layer.enabled: visible && GraphicsInfo.api !== GraphicsInfo.Software
        layer.samples: 4

        ShapePath {
            fillColor: Qt.alpha(wheel.accent, 0.07)
            strokeColor: Qt.alpha(wheel.accent, 0.45)
            strokeWidth: 1.5
            joinStyle: ShapePath.RoundJoin
            PathPolyline {
                path: geometry.polygon
            }
        }
    }

    Repeater {
        id: dots
        model: geometry.count

        AbstractButton {
            id: dot
            required property int index
            readonly property bool hit: wheel.pattern[index] === true
            readonly property bool current: index === wheel.currentStep
            readonly property point centre: index < geometry.points.length ? geometry.points[index] : geometry.centre

            objectName: "dot" + index
            x: centre.x - width / 2
            y: centre.y - height / 2
            width: geometry.dotDiameter
            height: width
            scale: current && hit ? 1.12 : 1
            focus: index === wheel.focusedStep
            focusPolicy: Qt.NoFocus
            onClicked: wheel.stepPressed(index)
            Keys.onReturnPressed: wheel.stepPressed(index)
            Keys.onEnterPressed: wheel.stepPressed(index)
            Keys.onRightPressed: wheel.focusedStep = (index + 1) % geometry.count
            Keys.onDownPressed: wheel.focusedStep = (index + 1) % geometry.count
            Keys.onLeftPressed: wheel.focusedStep = (index + geometry.count - 1) % geometry.count
            Keys.onUpPressed: wheel.focusedStep = (index + geometry.count - 1) % geometry.count

            Accessible.role: Accessible.Button
            Accessible.name: "Step " + (index + 1) + (hit ? ", hit" : ", rest")
            Accessible.description: current ? "Sounding now" : ""
            Accessible.selectable: true
            Accessible.selected: current
            Accessible.onPressAction: wheel.stepPressed(index)

            background: Rectangle {
                radius: width / 2
                color: dot.hit ? wheel.accent
                               : MorvelaTheme.dark ? Qt.rgba(1, 1, 1, 0.045) : Qt.rgba(1, 1, 1, 0.58)
                border.width: dot.activeFocus ? 2 : 1
                border.color: dot.activeFocus ? MorvelaTheme.primaryText : wheel.guideColor
            }
            contentItem: Item {}
        }
    }

    // One ring that moves to the sounding step, 5 points outside its dot.
    Rectangle {
        id: ring
        objectName: "currentRing"
        readonly property bool shown: wheel.currentStep >= 0 && wheel.currentStep < geometry.count
        readonly property point centre: shown ? geometry.points[wheel.currentStep] : geometry.centre

        visible: shown
        x: centre.x - width / 2
        y: centre.y - height / 2
        width: geometry.dotDiameter + 2 * 5 + 3
        height: width
        radius: width / 2
        color: "transparent"
        border.width: 3
        border.color: MorvelaTheme.saffron
    }

    Rectangle {
        objectName: "badge"
        x: geometry.centre.x - width / 2
        y: geometry.centre.y - height / 2
        width: 132
        height: 132
        radius: 66
        color: MorvelaTheme.dark ? Qt.rgba(0.16, 0.16, 0.17, 0.82) : Qt.rgba(0.97, 0.95, 0.91, 0.84)
        border.width: 1
        border.color: wheel.guideColor

        Column {
            anchors.centerIn: parent
            spacing: 3

            Text {
                objectName: "badgeTitle"
                anchors.horizontalCenter: parent.horizontalCenter
                text: wheel.title
                font.family: MorvelaTheme.roundedFamily
                font.pixelSize: 26
                font.weight: Font.Bold
                color: MorvelaTheme.primaryText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
            Text {
                objectName: "badgeSubtitle"
                anchors.horizontalCenter: parent.horizontalCenter
                text: wheel.subtitle
                font.family: MorvelaTheme.monoFamily
                font.pixelSize: 11
                font.weight: Font.DemiBold
                color: MorvelaTheme.secondaryText
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }
        }
    }
}
