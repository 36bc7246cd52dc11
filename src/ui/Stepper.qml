import QtQuick
import QtQuick.Controls.Basic
import Morvela

// Up and down in one rounded box, as a desktop stepper; holding a half repeats. The screen
// decides what a step does (stepped(+1 / -1)) and when a direction is at its end. Up and Down
// arrows step when it has keyboard focus, as a screen reader's Increase and Decrease do.
InsetSurface {
    id: stepper
    property color tint: MorvelaTheme.saffron
    property bool canStepUp: true
    property bool canStepDown: true
    // What a screen reader calls the stepper and its two halves.
    property string accessibleName
    property string upName: "Increase"
    property string downName: "Decrease"
    // The figure it steps and that figure's range, which a screen reader reads as the spin box's
    // value (Qt's value interface reads the properties value, minimumValue, maximumValue and
    // stepSize). They are read-only, so that an assistive tool setting the value cannot break the
    // bindings to current, lowest and highest.
    property real current
    property real lowest
    property real highest
    readonly property real value: current
    readonly property real minimumValue: lowest
    readonly property real maximumValue: highest
    readonly property real stepSize: 1
    signal stepped(int delta)

    implicitWidth: 20
    implicitHeight: 30
    activeFocusOnTab: true
    border.width: activeFocus ? 2 : 1
    border.color: activeFocus ? tint : MorvelaTheme.hairline
    Accessible.role: Accessible.SpinBox
    Accessible.name: accessibleName
    Accessible.focusable: true
    Accessible.onIncreaseAction: if (canStepUp) stepped(1)
    Accessible.onDecreaseAction: if (canStepDown) stepped(-1)
    Keys.onUpPressed: if (canStepUp) stepped(1)
    Keys.onDownPressed: if (canStepDown) stepped(-1)

    Column {
        anchors.fill: parent
        StepperHalf {
            objectName: "stepUp"
            up: true
            enabled: stepper.canStepUp
            Accessible.name: stepper.upName
            Accessible.onPressAction: stepper.stepped(1)
            onClicked: stepper.stepped(1)
        }
        Rectangle {
            width: parent.width
            height: 1
            color: MorvelaTheme.hairline
        }
        StepperHalf {
            objectName: "stepDown"
            up: false
            enabled: stepper.canStepDown
            Accessible.name: stepper.downName
            Accessible.onPressAction: stepper.stepped(-1)
            onClicked: stepper.stepped(-1)
        }
    }

    component StepperHalf: AbstractButton {
        id: half
        property bool up

        width: parent.width
        height: (parent.height - 1) / 2
        autoRepeat: true
        focusPolicy: Qt.NoFocus
        Accessible.role: Accessible.Button

        background: Rectangle {
            radius: 6
            color: half.pressed ? Qt.alpha(stepper.tint, 0.28) : "transparent"
        }
        contentItem: Item {
            Icon {
                anchors.centerIn: parent
                name: half.up ? "chevron.up" : "chevron.down"
                size: 11
                color: MorvelaTheme.primaryText
                opacity: half.enabled ? 1 : 0.35
            }
        }
    }
}
