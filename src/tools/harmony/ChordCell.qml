pragma ComponentBehavior: Bound

import QtQuick
import QtQuick.Controls.Basic
import Morvela

// A chord of the selected key: its name over its roman numeral. A click plays it and adds it
// to the progression (the owner decides); the context menu copies the name as plain text.
AbstractButton {
    id: cell
    property string chord
    property string numeral
    // The clipboard form of the name: "B♭m" copies as "Bbm".
    property string copyText
    property int chordSize: 13
    property color accent: MorvelaTheme.saffron
    readonly property alias menu: menu

    readonly property color plainFill: MorvelaTheme.dark ? Qt.rgba(1, 1, 1, 0.045) : Qt.rgba(1, 1, 1, 0.58)
    readonly property color outlineColor: MorvelaTheme.dark ? Qt.rgba(1, 1, 1, 0.13) : Qt.rgba(0, 0, 0, 0.08)

    implicitHeight: 44
    implicitWidth: 40
    hoverEnabled: true
    focusPolicy: Qt.StrongFocus

    ToolTip.visible: hovered && !menu.visible
    ToolTip.delay: 700
    ToolTip.text: "Play and add to progression · right-click to copy"

    Accessible.role: Accessible.Button
    Accessible.name: chord + ", " + numeral
    Accessible.description: ToolTip.text
    Accessible.onPressAction: cell.clicked()

    Keys.onReturnPressed: cell.clicked()
    Keys.onEnterPressed: cell.clicked()
    Keys.onMenuPressed: menu.popup(cell, 0, cell.height)

    CopyFeedback {
        id: feedback
        text: cell.copyText
    }

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: eventPoint => menu.popup(cell, eventPoint.position.x, eventPoint.position.y)
    }

    ThemedMenu {
        id: menu
        objectName: "copyMenu"
        ThemedMenuItem {
            objectName: "copyItem"
            text: "Copy " + cell.copyText
            onTriggered: feedback.copy()
        }
    }

    background: Rectangle {
        radius: 6
        color: cell.pressed ? Qt.alpha(cell.accent, 0.18) : cell.hovered ? Qt.alpha(cell.accent, 0.1) : cell.plainFill
        border.width: cell.visualFocus ? 2 : 1
        border.color: cell.visualFocus ? cell.accent : cell.outlineColor
    }

    contentItem: Column {
        topPadding: 6
        spacing: 2
        Text {
            width: cell.availableWidth
            height: cell.chordSize + 4
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            text: cell.chord
            font.family: MorvelaTheme.monoFamily
            font.pixelSize: cell.chordSize
            font.weight: Font.DemiBold
            color: MorvelaTheme.primaryText
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: Math.round(cell.chordSize * 0.7)
            maximumLineCount: 1
        }
        Text {
            width: cell.availableWidth
            horizontalAlignment: Text.AlignHCenter
            text: cell.numeral
            font.pixelSize: 10
            font.weight: Font.Medium
            color: MorvelaTheme.secondaryText
            elide: Text.ElideRight
        }
    }
}
