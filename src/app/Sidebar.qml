import QtQuick
import QtQuick.Layouts
import Morvela

// Brand, the seven tools, the tempo/pitch summary and the donation link.
Rectangle {
    id: sidebar
    required property ShellController shell
    required property CalculatorState calculatorState
    // Extra controls at the very foot, beside the donation link.
    default property alias footer: footerRow.data

    implicitWidth: 228
    color: MorvelaTheme.sidebarFill

    ColumnLayout {
        anchors.fill: parent
        anchors.topMargin: 24
        anchors.bottomMargin: 24
        anchors.leftMargin: 18
        anchors.rightMargin: 18
        spacing: 18

        Row {
            Layout.bottomMargin: 4
            spacing: 11

            Rectangle {
                width: 38
                height: 38
                radius: 8
                color: MorvelaTheme.cardFill
                border.width: 1
                border.color: Qt.rgba(1, 1, 1, 0.16)
                Text {
                    anchors.centerIn: parent
                    text: "🎼"
                    font.family: "Noto Color Emoji"
                    font.pixelSize: 20
                }
            }
            Column {
                anchors.verticalCenter: parent.verticalCenter
                spacing: 2
                Text {
                    text: "Morvela"
                    font.family: MorvelaTheme.roundedFamily
                    font.pixelSize: 18
                    font.weight: Font.DemiBold
                    color: MorvelaTheme.primaryText
                }
                Text {
                    text: "Calculator"
                    font.family: MorvelaTheme.roundedFamily
                    font.pixelSize: 12
                    font.weight: Font.Medium
                    color: MorvelaTheme.secondaryText
                }
            }
        }

        // A tab list: Up and Down move through the tools, Home and End go to the first and the
        // last, and moving there chooses the tool as a click does; it does not wrap.
        Column {
            id: toolList
            Layout.fillWidth: true
            spacing: 6
            Accessible.role: Accessible.PageTabList
            Accessible.name: "Tools"

            function moveTo(index) {
                if (index < 0 || index >= toolRows.count)
                    return
                const target = toolRows.itemAt(index) as SidebarToolRow
                if (target.activeFocus)
                    return
                target.forceActiveFocus(Qt.TabFocusReason)
                target.clicked()
            }

            Repeater {
                id: toolRows
                model: sidebar.shell.tools
                SidebarToolRow {
                    required property var modelData
                    required property int index
                    width: toolList.width
                    tool: modelData
                    shortcutText: "Ctrl+" + (index + 1)
                    isSelected: modelData.rawId === sidebar.shell.effectiveToolId
                    onClicked: sidebar.shell.select(modelData.rawId)
                    onMoveRequested: position => {
                        switch (position) {
                        case SidebarToolRow.Previous:
                            toolList.moveTo(index - 1)
                            break
                        case SidebarToolRow.Next:
                            toolList.moveTo(index + 1)
                            break
                        case SidebarToolRow.First:
                            toolList.moveTo(0)
                            break
                        case SidebarToolRow.Last:
                            toolList.moveTo(toolRows.count - 1)
                            break
                        }
                    }
                }
            }
        }

        Item {
            Layout.fillHeight: true
        }

        FormulaStrip {
            objectName: "summary"
            Layout.fillWidth: true
            text: sidebar.shell.summary(sidebar.calculatorState.a4, sidebar.calculatorState.bpm)
        }

        RowLayout {
            id: footerRow
            Layout.fillWidth: true
            Layout.topMargin: 2
            spacing: 8

            CoffeeLink {}
            Item {
                Layout.fillWidth: true
            }
        }
    }
}
