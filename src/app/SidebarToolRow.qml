import QtQuick
import QtQuick.Controls.Basic
import Morvela

// One tool in the sidebar: symbol, title and subtitle; the selected row sits on a card with
// a bar in the tool's tint at its leading edge. A page tab for assistive technology: Qt 6.4
// reports a control's own role whatever Accessible.role says, so the row is a TabButton.
TabButton {
    id: row
    // { rawId, title, subtitle, symbol, tint }
    required property var tool
    property bool isSelected: false
    // The key sequence that chooses this row from anywhere in the window, e.g. "Ctrl+3".
    property string shortcutText: ""
    readonly property color tint: MorvelaTheme.named(tool.tint)

    enum Position { Previous, Next, First, Last }
    // Up, Down, Home or End on the row: the list moves the focus, and the choice, there.
    signal moveRequested(int position)

    objectName: "toolRow-" + tool.rawId

    // The selection is the shell's; the row never toggles itself.
    checkable: false
    padding: 10
    focusPolicy: Qt.StrongFocus
    hoverEnabled: true

    ToolTip.visible: hovered
    ToolTip.delay: 700
    ToolTip.text: tool.title

    Accessible.role: Accessible.PageTab
    Accessible.name: tool.title
    Accessible.description: tool.subtitle
    Accessible.selected: isSelected
    Accessible.onPressAction: row.clicked()
    Keys.onReturnPressed: row.clicked()
    Keys.onEnterPressed: row.clicked()
    Keys.onUpPressed: row.moveRequested(SidebarToolRow.Previous)
    Keys.onDownPressed: row.moveRequested(SidebarToolRow.Next)
    Keys.onPressed: event => {
        if ((event.modifiers & ~Qt.KeypadModifier) !== Qt.NoModifier)
            return
        if (event.key === Qt.Key_Home)
            row.moveRequested(SidebarToolRow.First)
        else if (event.key === Qt.Key_End)
            row.moveRequested(SidebarToolRow.Last)
        else
            return
        event.accepted = true
    }

    // Chooses the tool exactly as a click does, also while a text field has the focus. With the
    // focus in the tool list, the focus moves to the chosen row, as Up and Down move it.
    Shortcut {
        sequence: row.shortcutText
        enabled: row.shortcutText !== ""
        context: Qt.WindowShortcut
        onActivated: {
            const focused = row.Window.activeFocusItem
            if (focused && String(focused.objectName).startsWith("toolRow-"))
                row.forceActiveFocus(Qt.ShortcutFocusReason)
            row.clicked()
        }
    }

    background: CardSurface {
        visible: row.isSelected || row.visualFocus
        opacity: row.isSelected ? 1 : 0.6
        border.color: row.visualFocus ? MorvelaTheme.saffron : MorvelaTheme.hairline

        Rectangle {
            visible: row.isSelected
            x: 0
            y: 8
            width: 3
            height: parent.height - 16
            radius: 1.5
            color: row.tint
        }
    }

    contentItem: Row {
        spacing: 11

        Item {
            width: 24
            height: 24
            anchors.verticalCenter: parent.verticalCenter
            Icon {
                anchors.centerIn: parent
                name: row.tool.symbol
                size: 15
                color: row.isSelected ? row.tint : MorvelaTheme.secondaryText
            }
        }
        Column {
            anchors.verticalCenter: parent.verticalCenter
            spacing: 2
            Text {
                text: row.tool.title
                font.pixelSize: 14
                font.weight: Font.DemiBold
                color: MorvelaTheme.primaryText
            }
            Text {
                text: row.tool.subtitle
                font.pixelSize: 11
                font.weight: Font.Medium
                color: MorvelaTheme.secondaryText
            }
        }
    }
}
