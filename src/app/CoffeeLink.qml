import QtQuick
import QtQuick.Controls.Basic
import Morvela

// The donation link: opens the donation page in the default browser. A plain item rather than a
// button, so that a screen reader hears a link (Qt 6.4 reports a control's own role whatever
// Accessible.role says). Return, Enter, Space, a click and the screen reader's press open it.
Item {
    id: link
    readonly property url address: "https://ko-fi.com/morvela"
    readonly property bool hovering: hover.hovered
    signal clicked

    implicitWidth: content.implicitWidth
    implicitHeight: content.implicitHeight
    activeFocusOnTab: true

    ToolTip.visible: hovering
    ToolTip.delay: 700
    ToolTip.text: "Support Morvela Calculator"

    Accessible.role: Accessible.Link
    Accessible.name: "Buy me a coffee"
    Accessible.description: ToolTip.text
    Accessible.focusable: true
    Accessible.onPressAction: link.clicked()
    Keys.onReturnPressed: link.clicked()
    Keys.onEnterPressed: link.clicked()
    Keys.onSpacePressed: link.clicked()

    onClicked: Qt.openUrlExternally(address)

    HoverHandler {
        id: hover
        cursorShape: Qt.PointingHandCursor
    }
    TapHandler {
        onTapped: link.clicked()
    }

    // The focus ring: only the keyboard gives this item the focus.
    Rectangle {
        anchors.fill: parent
        color: "transparent"
        radius: 4
        border.width: link.activeFocus ? 2 : 0
        border.color: MorvelaTheme.saffron
    }

    Row {
        id: content
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
