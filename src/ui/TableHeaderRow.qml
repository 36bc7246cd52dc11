import QtQuick
import Morvela

// The header of a striped table: column titles, the first left-aligned, the others right-aligned.
// Columns share the width equally unless `firstColumnWidth` fixes the first one. Followed by a
// TableDivider in the table.
Item {
    id: header
    property var labels: []
    property real firstColumnWidth: -1
    property int fontPixelSize: 14
    property color textColor: MorvelaTheme.primaryText
    readonly property real cellWidth: labels.length > 0
                                      ? (firstColumnWidth >= 0 ? (row.width - firstColumnWidth) / Math.max(1, labels.length - 1)
                                                               : row.width / labels.length)
                                      : 0

    implicitHeight: row.implicitHeight + 22

    Row {
        id: row
        x: 10
        y: 11
        width: header.width - 20

        Repeater {
            model: header.labels
            Text {
                required property string modelData
                required property int index
                width: index === 0 && header.firstColumnWidth >= 0 ? header.firstColumnWidth : header.cellWidth
                text: modelData
                horizontalAlignment: index === 0 ? Text.AlignLeft : Text.AlignRight
                font.pixelSize: header.fontPixelSize
                font.weight: Font.DemiBold
                color: header.textColor
                Accessible.role: Accessible.ColumnHeader
                Accessible.name: text
            }
        }
    }
}
