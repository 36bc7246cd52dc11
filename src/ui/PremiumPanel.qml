import QtQuick
import QtQuick.Layouts
import Morvela

// A titled group on the card surface; its children form the body below the title row.
CardSurface {
    id: panel
    property string title
    property string symbol
    property color tint: MorvelaTheme.saffron
    default property alias content: body.data

    implicitWidth: column.implicitWidth + 32
    implicitHeight: column.implicitHeight + 32

    ColumnLayout {
        id: column
        x: 16
        y: 16
        width: panel.width - 32
        spacing: 14

        RowLayout {
            spacing: 9
            Item {
                implicitWidth: 22
                implicitHeight: 22
                Icon {
                    anchors.centerIn: parent
                    name: panel.symbol
                    color: panel.tint
                    size: 14
                }
            }
            Text {
                Layout.fillWidth: true
                text: panel.title
                font.pixelSize: 13
                font.weight: Font.DemiBold
                color: MorvelaTheme.primaryText
                Accessible.role: Accessible.Heading
            Accessible.name: text
            }
        }

        ColumnLayout {
            id: body
            Layout.fillWidth: true
            spacing: 0
        }
    }
}
