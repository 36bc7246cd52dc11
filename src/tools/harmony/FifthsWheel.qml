pragma ComponentBehavior: Bound

import QtQuick
import Morvela

// The circle of fifths: twelve major keys on the outer ring, their relative minors on the inner
// one, the selected key in the centre badge. Hover follows whole 30° sectors; a click selects
// only on a drawn segment. From the keyboard, Left and Right move a fifth down or up, Up and
// Down move to the major and the minor ring, and Return or Space selects the key.
FocusScope {
    id: wheel
    required property CircleOfFifthsController controller
    property color accent: MorvelaTheme.saffron

    // The segment the keyboard is on: 0…11 outer ring, 12…23 inner ring.
    property int focusedSegment: 0

    readonly property color outlineColor: MorvelaTheme.dark ? Qt.rgba(1, 1, 1, 0.13) : Qt.rgba(0, 0, 0, 0.08)
    readonly property color plainFill: MorvelaTheme.dark ? Qt.rgba(1, 1, 1, 0.045) : Qt.rgba(1, 1, 1, 0.58)

    implicitWidth: 430
    implicitHeight: 430
    activeFocusOnTab: true
    Accessible.role: Accessible.Grouping
    Accessible.name: "Key Wheel"

    // Tabbing in lands on the selected key.
    onActiveFocusChanged: {
        if (activeFocus)
            focusedSegment = controller.selectedIndex + (controller.minorSelected ? 12 : 0)
    }

    function moveFocus(ring, index) {
        focusedSegment = index + (ring ? 12 : 0)
    }
    Keys.onLeftPressed: moveFocus(focusedSegment >= 12, controller.stepIndex(focusedSegment, -1))
    Keys.onRightPressed: moveFocus(focusedSegment >= 12, controller.stepIndex(focusedSegment, 1))
    Keys.onUpPressed: moveFocus(false, controller.stepIndex(focusedSegment, 0))
    Keys.onDownPressed: moveFocus(true, controller.stepIndex(focusedSegment, 0))
    function chooseFocused() {
        controller.selectSegment(controller.stepIndex(focusedSegment, 0), focusedSegment >= 12)
    }
    Keys.onReturnPressed: chooseFocused()
    Keys.onEnterPressed: chooseFocused()
    Keys.onSpacePressed: chooseFocused()

    function tintColor(tint) {
        switch (tint) {
        case CircleOfFifthsController.Selected:
            return accent
        case CircleOfFifthsController.Family:
            return Qt.alpha(accent, 0.22)
        case CircleOfFifthsController.Hovered:
            return Qt.alpha(accent, 0.12)
        default:
            return plainFill
        }
    }

    Item {
        id: drawing
        anchors.fill: parent

        Repeater {
            id: segments
            model: 24

            RingSegmentShape {
                id: segment
                required property int index
                readonly property int slot: index % 12
                readonly property bool minorRing: index >= 12
                readonly property var key: wheel.controller.keySlots[slot]
                readonly property bool selected: slot === wheel.controller.selectedIndex
                                                 && minorRing === wheel.controller.minorSelected

                function choose() {
                    wheel.focusedSegment = index
                    wheel.controller.selectSegment(slot, minorRing)
                }

                objectName: (minorRing ? "min-" : "maj-") + slot
                anchors.fill: parent
                focus: wheel.focusedSegment === index
                outline: wheel.controller.segmentPath(slot, minorRing, wheel.width, wheel.height)
                fillColor: wheel.tintColor(wheel.controller.segmentTints[index])
                strokeColor: activeFocus ? wheel.accent : wheel.outlineColor
                strokeWidth: activeFocus ? 2 : 1

                Behavior on fillColor {
                    ColorAnimation {
                        duration: wheel.controller.tintDuration
                        easing.type: Easing.OutQuad
                    }
                }

                Accessible.role: Accessible.RadioButton
                Accessible.name: minorRing ? key.minorName : key.majorName
                Accessible.checkable: true
                Accessible.checked: selected
                Accessible.focusable: true
                Accessible.onPressAction: choose()
            }
        }
    }

    Repeater {
        model: 24

        Column {
            id: label
            required property int index
            readonly property int slot: index % 12
            readonly property bool minorRing: index >= 12
            readonly property var key: wheel.controller.keySlots[slot]
            readonly property bool selected: slot === wheel.controller.selectedIndex
                                             && minorRing === wheel.controller.minorSelected
            readonly property point centre: wheel.controller.labelCentre(slot, minorRing, wheel.width, wheel.height)

            x: centre.x - width / 2
            y: centre.y - height / 2
            spacing: 1

            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: label.minorRing ? label.key.minor : label.key.major
                font.family: MorvelaTheme.roundedFamily
                font.pixelSize: label.minorRing ? 13 : 17
                font.weight: Font.DemiBold
                color: label.selected ? MorvelaTheme.porcelain
                                      : label.minorRing ? MorvelaTheme.secondaryText : MorvelaTheme.primaryText
                Behavior on color {
                    ColorAnimation {
                        duration: 160
                        easing.type: Easing.OutQuad
                    }
                }
            }
            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                visible: !label.minorRing
                text: label.key.signature
                font.family: MorvelaTheme.monoFamily
                font.pixelSize: 10
                font.weight: Font.Medium
                color: label.selected ? Qt.alpha(MorvelaTheme.porcelain, 0.78) : MorvelaTheme.tertiaryText
            }
        }
    }

    MouseArea {
        objectName: "wheelPointer"
        anchors.fill: parent
        hoverEnabled: true
        onEntered: wheel.controller.hoverAt(mouseX, mouseY, width, height)
        onPositionChanged: mouse => wheel.controller.hoverAt(mouse.x, mouse.y, width, height)
        onExited: wheel.controller.hoverLeft()
        onClicked: mouse => wheel.controller.pressAt(mouse.x, mouse.y, width, height)
    }

    Rectangle {
        objectName: "badge"
        anchors.centerIn: parent
        width: 122
        height: 122
        radius: 61
        color: MorvelaTheme.dark ? Qt.rgba(0.16, 0.16, 0.17, 0.82) : Qt.rgba(0.97, 0.95, 0.91, 0.84)
        border.width: 1
        border.color: wheel.outlineColor

        Column {
            anchors.centerIn: parent
            width: parent.width - 16
            spacing: 3

            Text {
                objectName: "badgeKey"
                width: parent.width
                height: 38
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                text: wheel.controller.keyName
                font.family: MorvelaTheme.roundedFamily
                font.pixelSize: 30
                font.weight: Font.Bold
                color: MorvelaTheme.primaryText
                fontSizeMode: Text.HorizontalFit
                minimumPixelSize: 18
                Accessible.role: Accessible.StaticText
                Accessible.name: wheel.controller.longName
            }
            Text {
                objectName: "badgeMode"
                anchors.horizontalCenter: parent.horizontalCenter
                text: wheel.controller.minorSelected ? "minor" : "major"
                font.pixelSize: 11
                font.weight: Font.Medium
                color: MorvelaTheme.secondaryText
            }
            Text {
                objectName: "badgeSignature"
                anchors.horizontalCenter: parent.horizontalCenter
                text: wheel.controller.signature
                font.family: MorvelaTheme.monoFamily
                font.pixelSize: 12
                font.weight: Font.DemiBold
                color: wheel.accent
            }
        }
    }
}
