import QtQuick
import QtQuick.Controls.Basic
import Morvela

// A bordered button with a symbol and a label that opens a menu of `entries` (strings);
// choosing one emits chosen(index). Space, Return or the screen reader's press open it.
AbstractButton {
    id: button
    property string symbol
    property var entries: []
    property color tint: MorvelaTheme.saffron
    property string toolTipText
    signal chosen(int index)

    leftPadding: 10
    rightPadding: 10
    implicitWidth: implicitContentWidth + leftPadding + rightPadding
    implicitHeight: 28
    hoverEnabled: true
    onClicked: menu.open()
    Keys.onReturnPressed: menu.open()
    Keys.onEnterPressed: menu.open()

    ToolTip.visible: hovered && toolTipText.length > 0 && !menu.visible
    ToolTip.delay: 700
    ToolTip.text: toolTipText
    Accessible.role: Accessible.ButtonMenu
    Accessible.name: text
    Accessible.description: toolTipText
    Accessible.onPressAction: menu.open()

    background: Rectangle {
        radius: 6
        color: button.pressed || menu.visible ? Qt.alpha(button.tint, 0.2) : MorvelaTheme.cardFill
        border.width: button.visualFocus ? 2 : 1
        border.color: button.visualFocus ? button.tint : MorvelaTheme.hairline
    }
    contentItem: Row {
        spacing: 5
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            visible: button.symbol.length > 0
            name: button.symbol
            color: button.tint
            size: 12
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: button.text
            font.pixelSize: 12
            font.weight: Font.Medium
            color: MorvelaTheme.primaryText
        }
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            name: "chevron.down"
            color: MorvelaTheme.secondaryText
            size: 9
        }
    }

    ThemedMenu {
        id: menu
        objectName: "menu"
        y: button.height + 2

        Repeater {
            model: button.entries
            ThemedMenuItem {
                required property string modelData
                required property int index
                objectName: "entry" + index
                text: modelData
                onTriggered: button.chosen(index)
            }
        }
    }
}
