import QtQuick
import QtQuick.Layouts
import Morvela

// The top of every tool screen: eyebrow and title on the left, headline tiles on the right.
RowLayout {
    id: header
    property string eyebrow
    property string title
    property string symbol
    property color tint: MorvelaTheme.saffron
    // [{ label, value, tint, copy (optional) }], labels unique
    property var metrics: []

    spacing: 18

    ColumnLayout {
        Layout.alignment: Qt.AlignTop
        Layout.fillWidth: true
        Layout.minimumWidth: 120
        spacing: 10

        Row {
            spacing: 6
            Icon {
                anchors.verticalCenter: parent.verticalCenter
                name: header.symbol
                color: header.tint
                size: 13
            }
            Text {
                anchors.verticalCenter: parent.verticalCenter
                text: header.eyebrow.toUpperCase()
                font.pixelSize: 11
                font.weight: Font.DemiBold
                font.letterSpacing: 0.6
                color: MorvelaTheme.secondaryText
            }
        }
        Text {
            Layout.fillWidth: true
            text: header.title
            font.family: MorvelaTheme.roundedFamily
            font.pixelSize: 34
            font.weight: Font.DemiBold
            color: MorvelaTheme.primaryText
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 26
            elide: Text.ElideRight
            maximumLineCount: 1
            Accessible.role: Accessible.Heading
            Accessible.name: text
        }
    }

    Row {
        Layout.alignment: Qt.AlignVCenter
        Layout.leftMargin: 0
        spacing: 10
        visible: header.metrics.length > 0

        // By position, so that new values update the tiles in place and a tile's copied
        // feedback outlives a change of its value.
        Repeater {
            model: header.metrics.length
            MetricTile {
                required property int index
                metric: header.metrics[index]
            }
        }
    }
}
