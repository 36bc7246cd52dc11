import QtQuick
import QtQuick.Controls.Basic
import Morvela

// A slider with the filled part of its track in the screen's tint. Arrow keys move one step, as a
// screen reader's Increase and Decrease do; a drag is continuous, so the screen rounds what it
// stores (onMoved, which all three emit).
Slider {
    id: slider
    property color tint: MorvelaTheme.saffron

    stepSize: 1
    // A screen reader reads a slider's range from these names, not from `from` and `to`.
    readonly property real minimumValue: from
    readonly property real maximumValue: to
    Accessible.onIncreaseAction: {
        increase()
        moved()
    }
    Accessible.onDecreaseAction: {
        decrease()
        moved()
    }

    background: Item {
        x: slider.leftPadding
        y: slider.topPadding + (slider.availableHeight - height) / 2
        implicitWidth: 200
        implicitHeight: 4
        width: slider.availableWidth
        height: 4

        Rectangle {
            anchors.fill: parent
            radius: 2
            color: MorvelaTheme.divider
        }
        Rectangle {
            width: slider.visualPosition * parent.width
            height: parent.height
            radius: 2
            color: slider.tint
        }
    }
    handle: Rectangle {
        x: slider.leftPadding + slider.visualPosition * (slider.availableWidth - width)
        y: slider.topPadding + (slider.availableHeight - height) / 2
        implicitWidth: 18
        implicitHeight: 18
        radius: 9
        color: slider.pressed ? Qt.darker("white", 1.06) : "white"
        border.width: slider.visualFocus ? 2 : 1
        border.color: slider.visualFocus ? slider.tint : Qt.rgba(0, 0, 0, 0.18)
    }
}
