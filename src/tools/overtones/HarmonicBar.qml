import QtQuick
import QtQuick.Controls.Basic
import Morvela

// One bar of the overtone spectrum, standing on the strip's baseline: the bar (its height is
// the harmonic's amplitude), then its number, nearest note and drift. A click, Space or Return
// switches the harmonic on or off; the right button, the Menu key or Shift+F10 open the copy
// menu; Left and Right move to the neighbouring bars.
AbstractButton {
    id: bar
    // One row of HarmonicBarModel.
    required property int number
    required property string noteName
    required property string frequency
    required property string drift
    required property int driftClass
    required property real barHeight
    required property string toolTip
    required property string accessibleName
    required property bool isEnabled
    required property bool isCurrent
    property color accent: MorvelaTheme.copper

    signal tapped
    signal copyFrequency
    signal copyNoteName
    signal moveFocus(int delta)

    readonly property color driftColor: driftClass === 0 ? MorvelaTheme.fern
                                         : driftClass === 1 ? MorvelaTheme.saffron : MorvelaTheme.lacquer

    function openMenu(x, y) {
        menu.popup(x, y)
    }

    // A toggle for screen readers: the button's own checked state is what they hear. It always
    // shows the state's selection: the button flips it by itself on a release (also of the
    // right button, which opens the menu), and that flip is taken back at once.
    checkable: true
    checked: isEnabled
    onCheckedChanged: {
        if (checked !== isEnabled)
            checked = Qt.binding(() => bar.isEnabled)
    }
    padding: 0
    focusPolicy: Qt.StrongFocus
    hoverEnabled: true
    onClicked: tapped()
    Keys.onReturnPressed: tapped()
    Keys.onEnterPressed: tapped()
    Keys.onMenuPressed: openMenu(0, column.y)
    Keys.onLeftPressed: moveFocus(-1)
    Keys.onRightPressed: moveFocus(1)
    Keys.onPressed: event => {
        if (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier)) {
            openMenu(0, column.y)
            event.accepted = true
        }
    }

    ToolTip.visible: hovered && !menu.visible
    ToolTip.delay: 700
    ToolTip.text: toolTip

    Accessible.name: accessibleName
    Accessible.description: toolTip
    Accessible.onPressAction: tapped()
    Accessible.onToggleAction: tapped()

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: point => bar.openMenu(point.position.x, point.position.y)
    }

    // The focus ring stands in the gap between the bars, so that the bar keeps its full width.
    leftInset: -3
    rightInset: -3
    background: Rectangle {
        radius: 5
        color: "transparent"
        border.width: bar.visualFocus ? 2 : 0
        border.color: bar.accent
    }

    Item {
        anchors.fill: parent

        Rectangle {
            objectName: "bar"
            width: parent.width
            height: bar.barHeight
            anchors.bottom: column.top
            anchors.bottomMargin: 6
            radius: 3
            color: bar.isEnabled ? Qt.alpha(bar.accent, bar.isCurrent ? 1.0 : 0.82)
                                 : Qt.alpha("white", MorvelaTheme.dark ? 0.045 : 0.58)
            border.width: bar.isCurrent ? 2 : 1
            border.color: bar.isCurrent ? MorvelaTheme.saffron
                                        : MorvelaTheme.dark ? Qt.alpha("white", 0.13) : Qt.alpha("black", 0.08)
        }

        Column {
            id: column
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 4
            width: parent.width
            spacing: 2

            Text {
                objectName: "number"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: bar.number
                font.family: MorvelaTheme.monoFamily
                font.pixelSize: 11
                font.weight: Font.Bold
                color: bar.isEnabled ? MorvelaTheme.primaryText : MorvelaTheme.secondaryText
            }
            Text {
                objectName: "noteName"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: bar.noteName
                font.pixelSize: 10
                font.weight: Font.DemiBold
                color: MorvelaTheme.secondaryText
            }
            Text {
                objectName: "drift"
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: bar.drift
                font.pixelSize: 9
                font.weight: Font.DemiBold
                color: bar.driftColor
            }
        }
    }

    ThemedMenu {
        id: menu
        objectName: "copyMenu"

        ThemedMenuItem {
            objectName: "copyFrequency"
            text: "Copy " + bar.frequency + " Hz"
            onTriggered: bar.copyFrequency()
        }
        ThemedMenuItem {
            objectName: "copyNoteName"
            text: "Copy " + bar.noteName
            onTriggered: bar.copyNoteName()
        }
    }
}
