import QtQuick
import QtQuick.Layouts
import Morvela

// One row of a striped table: its children laid out in `cells` (a Row the width of the table
// less 10 points on each side), a faint stripe when `striped`, and a divider below unless `last`.
ColumnLayout {
    id: stripedRow
    property bool striped: false
    property bool last: false
    // Space above and below the cells.
    property real verticalPadding: 10
    readonly property alias cells: cells
    default property alias content: cells.data

    Layout.fillWidth: true
    spacing: 0

    Item {
        Layout.fillWidth: true
        implicitHeight: cells.implicitHeight + 2 * stripedRow.verticalPadding

        Rectangle {
            objectName: "stripe"
            anchors.fill: parent
            visible: stripedRow.striped
            color: MorvelaTheme.primaryText
            opacity: 0.028
        }

        Row {
            id: cells
            x: 10
            y: stripedRow.verticalPadding
            width: parent.width - 20
        }
    }

    TableDivider {
        visible: !stripedRow.last
    }
}
