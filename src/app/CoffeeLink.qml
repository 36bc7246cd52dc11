import QtQuick
import QtQuick.Controls.Basic
import Morvela

// The donation link: opens the donation page in the default browser.
AbstractButton {
    id: link
    readonly property url address: "https://ko-fi.com/morvela"
    readonly property bool hovering: hovered

    padding: 0
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus

    ToolTip.visible: hovered
    ToolTip.delay: 700
    ToolTip.text: "Support Morvela Calculator"

    Accessible.role: Accessible.Link
    Accessible.name: "Buy me a coffee"
    Accessible.description: ToolTip.text
    Accessible.onPressAction: link.clicked()
    Keys.onReturnPressed: link.clicked()

    onClicked: Qt.openUrlExternally(address)

    HoverHandler {
        cursorShape: Qt.PointingHandCursor
    }

    background: Rectangle {
        color: "transparent"
        radius: 4
        border.width: link.visualFocus ? 2 : 0
        border.color: MorvelaTheme.saffron
    }

    contentItem: Row {
        spacing: 7
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: "☕"
            font.family: "Noto Color Emoji"
            font.pixelSize: 13
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: "Buy me a coffee"
            font.pixelSize: 12
            font.weight: Font.Medium
            color: link.hovering ? MorvelaTheme.primaryText : MorvelaTheme.secondaryText
            Behavior on color {
                ColorAnimation {
                    duration: 150
                    easing.type: Easing.OutCubic
                }
            }
        }
    }
}
